// The whole build of the built-in scenario, from the two sources to the packed files.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "build/fasi.h"
#include "build/nomi_file.h"
#include "prove/cartella.h"

TEST(Scenario, LaBuildCompletaNonRegistraErroriELasciaISeiFile) {
  cartella_prova dir;
  Form1 f;
  nomina_scenario(f, dir.percorso);
  esegui_build(f);

  EXPECT_EQ(f.codice_errore, 0) << "at " << f.posizione_errore << " m";
  for (const errore_registrato& e : f.errori)
    ADD_FAILURE() << "error " << e.codice << " at " << e.posizione << " m, " << e.file << " line " << e.riga;
  EXPECT_EQ(f.errore_imballaggio, 0);

  // The compiler deletes both sources once read: the three documents and the
  // three packed files are all that stays.
  EXPECT_FALSE(std::filesystem::exists(file_linea_sorgente(f)));
  EXPECT_FALSE(std::filesystem::exists(file_treno_sorgente(f)));
  const std::set<std::filesystem::path> attesi = {file_note(f),           file_rallentamenti(f),
                                                  file_scheda_treno(f),     file_linea_imballata(f),
                                                  file_stazioni_imballate(f), file_percorso_imballato(f)};
  std::set<std::filesystem::path> presenti;
  for (const auto& voce : std::filesystem::directory_iterator(dir.percorso)) presenti.insert(voce.path());
  EXPECT_EQ(presenti, attesi);

  // 49 stations from slot 1, the origin first and the destination last.
  EXPECT_EQ(f.tabella_stazioni[1].nome, "CORVANA");
  EXPECT_EQ(f.tabella_stazioni[49].nome, "TELMISA");
  EXPECT_EQ(f.tabella_stazioni[50].nome, "");
}
