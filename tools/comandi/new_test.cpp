// `scenario new`: the starter written, checked and packed as an author would.
#include <gtest/gtest.h>

#include "prove/comando.h"
#include "sources/scenario_nuovo.h"

namespace fs = std::filesystem;

namespace {

using NuovoScenario = CartelleComando;

}  // namespace

TEST_F(NuovoScenario, ScriveUnoScenarioCheSiImballaSenzaUnaParola) {
  const risultato_comando r = esegui({"new", "Mia"});
  ASSERT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.out, "wrote Mia_linea.txt\nwrote Mia_1-.txt\nnext: scenario check Mia_linea.txt Mia_1-.txt\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(leggi_tutto(lavoro / "Mia_linea.txt"), linea_nuova());
  EXPECT_EQ(leggi_tutto(lavoro / "Mia_1-.txt"), treno_nuovo());

  const risultato_comando check = esegui({"check", "Mia_linea.txt", "Mia_1-.txt"});
  EXPECT_EQ(check.stato, 0);
  EXPECT_EQ(check.err, "") << "no error and no warning";
  const risultato_comando pack = esegui({"pack", "Mia_linea.txt", "Mia_1-.txt", "-o", "uscita"});
  EXPECT_EQ(pack.stato, 0);
  EXPECT_EQ(pack.err, "");
  for (const char* nome : {"Mia_linea.dat", "Mia_1.sim", "Mia_1.dat"}) EXPECT_TRUE(fs::exists(lavoro / "uscita" / nome)) << nome;

  // Another number, into a directory made for it.
  const risultato_comando altro = esegui({"new", "Mia", "--train", "2141", "-o", "sotto/cartella"});
  ASSERT_EQ(altro.stato, 0) << altro.err;
  EXPECT_EQ(leggi_tutto(lavoro / "sotto/cartella/Mia_2141-.txt"), treno_nuovo());
  EXPECT_TRUE(fs::exists(lavoro / "sotto/cartella/Mia_linea.txt"));
}

TEST_F(NuovoScenario, NonSostituisceIFileDellAutoreSenzaForce) {
  scrivi_tutto(lavoro / "Mia_1-.txt", "mine");
  const risultato_comando r = esegui({"new", "Mia"});
  EXPECT_EQ(r.stato, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "scenario: Mia_1-.txt: already exists; give --force to replace it\n");
  EXPECT_EQ(leggi_tutto(lavoro / "Mia_1-.txt"), "mine");
  EXPECT_FALSE(fs::exists(lavoro / "Mia_linea.txt")) << "nothing is written when one of the two exists";

  const risultato_comando forzato = esegui({"new", "Mia", "--force"});
  EXPECT_EQ(forzato.stato, 0) << forzato.err;
  EXPECT_EQ(leggi_tutto(lavoro / "Mia_1-.txt"), treno_nuovo());
  EXPECT_EQ(leggi_tutto(lavoro / "Mia_linea.txt"), linea_nuova());
}

TEST_F(NuovoScenario, ErroriDUso) {
  struct caso { std::vector<std::string> a; const char* messaggio; };
  const caso casi[] = {
      {{"new"}, "scenario: new takes the name of the scenario to begin"},
      {{"new", "A", "B"}, "scenario: new takes the name of the scenario to begin"},
      {{"new", "a/b"}, "scenario: the scenario name 'a/b' cannot be part of a file name"},
      {{"new", "A", "--train", ".."}, "scenario: the train number '..' cannot be part of a file name"},
      {{"new", "A", "--json"}, "scenario: unknown option '--json' for new"},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui(c.a);
    EXPECT_EQ(r.stato, 2) << c.messaggio;
    EXPECT_EQ(r.err.rfind(c.messaggio, 0), 0u) << r.err;
  }
  EXPECT_TRUE(fs::is_empty(lavoro));
}
