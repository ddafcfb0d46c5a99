#include "formato/nomi_file.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(NomiFile, NomiDalloScenarioEDalTreno) {
  const std::string_view n = "Corvana_Telmisa", t = "739";
  struct caso { std::string nome; const char* atteso; };
  const caso casi[] = {
      {file_linea_sorgente(n), "Corvana_Telmisa_linea.txt"},
      {file_treno_sorgente(n, t), "Corvana_Telmisa_739-.txt"},
      {file_note(n, t), "Corvana_Telmisa_739_note.txt"},
      {file_rallentamenti(n, t), "Corvana_Telmisa_739_rallentamenti.txt"},
      {file_scheda_treno(n, t), "Corvana_Telmisa_739_scheda_treno.txt"},
      {file_imballato_di(file_imballato::linea, n, t), "Corvana_Telmisa_linea.dat"},
      {file_imballato_di(file_imballato::stazioni, n, t), "Corvana_Telmisa_739.sim"},
      {file_imballato_di(file_imballato::percorso, n, t), "Corvana_Telmisa_739.dat"},
  };
  for (const caso& c : casi) EXPECT_EQ(c.nome, c.atteso);

  // A directory given with its separator gets no second one, and never a backslash.
  for (const char* cartella : {"/tmp/dir", "/tmp/dir/"})
    EXPECT_EQ((std::filesystem::path(cartella) / file_note(n, t)).lexically_normal().string(),
              "/tmp/dir/Corvana_Telmisa_739_note.txt");
}
