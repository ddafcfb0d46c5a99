// `scenario dump`: the kind of a file, and the cells that carry a feature.
#include <gtest/gtest.h>

#include <algorithm>

#include "packer/file_imballati.h"
#include "prove/comando.h"
#include "prove/scenario_piccolo.h"
#include "tools/argomenti.h"

namespace fs = std::filesystem;

TEST(ScaricaArgomenti, UnTipoCheContraddiceIlNomeSoloConForce) {
  struct caso { std::vector<std::string> a; const char* errore; tipo_imballato tipo; };
  const caso casi[] = {
      {{"dump", "X_1.sim", "--kind", "grid"},
       "'X_1.sim' is named as a station table, not a route grid; give --force to read it as one all the same",
       tipo_imballato::nessuno},
      {{"dump", "X_linea.dat", "--kind=grid"}, "is named as a line plan, not a route grid", tipo_imballato::nessuno},
      {{"dump", "X_1.dat", "--kind", "plan"}, "is named as a route grid, not a line plan", tipo_imballato::nessuno},
      {{"dump", "X_1.sim", "--kind", "grid", "--force"}, "", tipo_imballato::percorso},
      {{"dump", "X_1.sim", "--kind", "stations"}, "", tipo_imballato::stazioni},
      {{"dump", "copia.bin", "--kind", "plan"}, "", tipo_imballato::linea},
      {{"dump", "X_1.dat", "--features"}, "", tipo_imballato::percorso},
      {{"dump", "X_1.sim", "--features"}, "--features shows the cells of a route grid, not a station table",
       tipo_imballato::nessuno},
      {{"dump", "X_1.dat", "--features", "--all"}, "give --features or --all, not both", tipo_imballato::nessuno},
      {{"pack", "X_linea.txt", "X_1-.txt", "--features"}, "unknown option '--features' for pack",
       tipo_imballato::nessuno},
  };
  for (const caso& c : casi) {
    richiesta r;
    std::string errore;
    const bool letto = leggi_argomenti(c.a, r, errore);
    EXPECT_EQ(letto, *c.errore == '\0') << c.a[1] << " " << errore;
    if (letto) EXPECT_EQ(r.tipo, c.tipo) << c.a[1];
    else EXPECT_NE(errore.find(c.errore), std::string::npos) << errore;
  }
}

class ScaricaComando : public CartelleComando {
 protected:
  void SetUp() override {
    CartelleComando::SetUp();
    scrivi_tutto(lavoro / "P_linea.txt", linea_piccola());
    scrivi_tutto(lavoro / "P_12-.txt", treno_piccolo());
    ASSERT_EQ(esegui({"pack", "P_linea.txt", "P_12-.txt"}).stato, 0);
  }
};

TEST_F(ScaricaComando, IlTipoDelNomeVinceSenzaForce) {
  // A station table whose length is a whole number of 15-byte cells reads as a
  // grid of nonsense: refused unless asked for.
  std::string sim = leggi_tutto(lavoro / "P_12.sim");
  sim.resize(sim.size() / 15 * 15);
  scrivi_tutto(lavoro / "Q_12.sim", sim);
  const risultato_comando rifiuto = esegui({"dump", "Q_12.sim", "--kind", "grid"});
  EXPECT_EQ(rifiuto.stato, 2);
  EXPECT_EQ(rifiuto.out, "");
  EXPECT_EQ(rifiuto.err, "scenario: 'Q_12.sim' is named as a station table, not a route grid; give --force "
                         "to read it as one all the same\n");
  const risultato_comando forzato = esegui({"dump", "Q_12.sim", "--kind", "grid", "--force", "--csv"});
  EXPECT_EQ(forzato.stato, 0) << forzato.err;
  EXPECT_EQ(forzato.out.rfind("cella,metri,", 0), 0u);
}

TEST_F(ScaricaComando, FeaturesSoloLeCelleConUnElementoOUnSegno) {
  scenario letto;
  const std::vector<cella_percorso>& celle = letto.percorso;
  std::string motivo;
  ASSERT_TRUE(decodifica_percorso(leggi_tutto(lavoro / "P_12.dat"), letto, motivo)) << motivo;
  const auto con_elemento = [](const cella_percorso& c) { return c.tipo != 0 || c.avviso_segnale != 0; };
  const auto attese = std::count_if(celle.begin(), celle.end(), con_elemento);
  ASSERT_GT(attese, 20);  // stations, the signal, the boards, the slow order, the markers, the marks

  const risultato_comando csv = esegui({"dump", "P_12.dat", "--features", "--csv"});
  ASSERT_EQ(csv.stato, 0) << csv.err;
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 1 + attese);
  // The signal at 2000 m, and one of its approach marks, 100 m before it.
  EXPECT_NE(csv.out.find("\n41,2050,1,43,11,0,7,0,0,0,32,106,100\n"), std::string::npos) << csv.out;
  EXPECT_NE(csv.out.find("\n39,1950,0,0,0,0,0,0,71,0,32,100,100\n"), std::string::npos) << csv.out;
  EXPECT_EQ(csv.out.find("\n40,2000,"), std::string::npos) << "a cell with the running values alone";

  const risultato_comando json = esegui({"dump", "P_12.dat", "--features", "--json"});
  ASSERT_EQ(json.stato, 0) << json.err;
  EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 2 + attese);  // one cell a line, and the close
}

TEST_F(ScaricaComando, UnNomeSiLeggeUgualeInOgniForma) {
  // A station table whose names hold a single-byte letter and a control byte:
  // the letter reads as its character in all three forms; the control byte
  // never reaches the terminal raw (\xNN in text and CSV, \u0001 in JSON).
  scenario s;
  s.tabella_stazioni[1].nome = "CITT\xC0";
  s.tabella_stazioni[2].nome = "BORGO\x01";
  s.tabella_stazioni[2].marca = 12;
  scrivi_tutto(lavoro / "N_1.sim", codifica_stazioni(s));
  struct caso { const char* forma; const char* citta; const char* borgo; };
  const caso casi[] = {
      {"", "  CITT\xC3\x80\n", "  BORGO\\x01\n"},
      {"--csv", ",CITT\xC3\x80\n", ",BORGO\\x01\n"},
      {"--json", "\"CITT\xC3\x80\"", "\"BORGO\\u0001\""},
  };
  for (const caso& c : casi) {
    std::vector<std::string> a = {"dump", "N_1.sim"};
    if (*c.forma) a.push_back(c.forma);
    const risultato_comando r = esegui(a);
    ASSERT_EQ(r.stato, 0) << c.forma << r.err;
    EXPECT_NE(r.out.find(c.citta), std::string::npos) << c.forma << "\n" << r.out;
    EXPECT_NE(r.out.find(c.borgo), std::string::npos) << c.forma << "\n" << r.out;
    EXPECT_EQ(r.out.find('\x01'), std::string::npos) << c.forma;
  }
}
