#include "build/nomi_file.h"

#include <gtest/gtest.h>

TEST(NomiFile, NomiDalloScenarioEDalTreno) {
  Form1 f;
  f.nome_scenario = "Corvana_Telmisa";
  f.numero_treno = "739";
  f.cartella = "/tmp/dir";
  struct caso { std::filesystem::path nome; const char* atteso; };
  const caso casi[] = {
      {file_linea_sorgente(f), "/tmp/dir/Corvana_Telmisa_linea.txt"},
      {file_treno_sorgente(f), "/tmp/dir/Corvana_Telmisa_739-.txt"},
      {file_note(f), "/tmp/dir/Corvana_Telmisa_739_note.txt"},
      {file_rallentamenti(f), "/tmp/dir/Corvana_Telmisa_739_rallentamenti.txt"},
      {file_scheda_treno(f), "/tmp/dir/Corvana_Telmisa_739_scheda_treno.txt"},
      {file_linea_imballata(f), "/tmp/dir/Corvana_Telmisa_linea.dat"},
      {file_stazioni_imballate(f), "/tmp/dir/Corvana_Telmisa_739.sim"},
      {file_percorso_imballato(f), "/tmp/dir/Corvana_Telmisa_739.dat"},
  };
  for (const caso& c : casi) EXPECT_EQ(c.nome.string(), c.atteso);

  // A directory given with its separator gets no second one, and never a backslash.
  f.cartella = "/tmp/dir/";
  EXPECT_EQ(file_note(f).lexically_normal().string(), "/tmp/dir/Corvana_Telmisa_739_note.txt");
}
