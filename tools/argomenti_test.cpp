#include "tools/argomenti.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool leggi(std::vector<std::string> a, richiesta& r, std::string& errore) {
  return leggi_argomenti(a, r, errore);
}

}  // namespace

TEST(Argomenti, NomeENumeroDaiNomiDeiFile) {
  struct caso { const char* file; bool riesce; const char* atteso; };
  const caso nomi[] = {
      {"dir/Corvana_Telmisa_linea.txt", true, "Corvana_Telmisa"},
      {"X_linea.txt", true, "X"},
      {"_linea.txt", false, ""},
      {"X_Linea.txt", false, ""},
      {"X_linea.txt.bak", false, ""},
      {"linea.txt", false, ""},
  };
  for (const caso& c : nomi) {
    std::string nome;
    EXPECT_EQ(nome_da_file(c.file, nome), c.riesce) << c.file;
    if (c.riesce) { EXPECT_EQ(nome, c.atteso) << c.file; }
  }
  const caso numeri[] = {
      {"dir/Corvana_Telmisa_739-.txt", true, "739"},
      {"X_A12-.txt", true, "A12"},
      {"X_-.txt", false, ""},
      {"_739-.txt", false, ""},
      {"739-.txt", false, ""},
      {"X_739.txt", false, ""},
  };
  for (const caso& c : numeri) {
    std::string numero;
    EXPECT_EQ(numero_da_file(c.file, numero), c.riesce) << c.file;
    if (c.riesce) { EXPECT_EQ(numero, c.atteso) << c.file; }
  }
}

TEST(Argomenti, PackConTutteLeOpzioni) {
  richiesta r;
  std::string errore;
  ASSERT_TRUE(leggi({"pack", "--json", "a/X_linea.txt", "-o", "uscita", "b/X_9-.txt", "--name=Y",
                     "--no-line-plan"},
                    r, errore))
      << errore;
  EXPECT_EQ(r.cosa, azione::pack);
  EXPECT_EQ(r.linea, "a/X_linea.txt");
  EXPECT_EQ(r.treno, "b/X_9-.txt");
  EXPECT_EQ(r.cartella_uscita, "uscita");
  EXPECT_EQ(r.nome_scenario, "Y");  // given: the file name is not asked
  EXPECT_EQ(r.numero_treno, "9");
  EXPECT_TRUE(r.senza_linea);
  EXPECT_EQ(r.forma, formato::json);

  ASSERT_TRUE(leggi({"check", "l.txt", "t.txt", "--name", "N", "--train", "5"}, r, errore)) << errore;
  EXPECT_EQ(r.cartella_uscita, ".");
  EXPECT_EQ(r.nome_scenario, "N");
  EXPECT_EQ(r.numero_treno, "5");
  EXPECT_FALSE(r.senza_linea);
}

TEST(Argomenti, DocsEPackConDocs) {
  richiesta r;
  std::string errore;
  ASSERT_TRUE(leggi({"docs", "X_linea.txt", "X_9-.txt", "-o", "d", "--classification", "IC", "--mass=800",
                     "--departure", "7:05", "--signature", "ROSSI Anna", "--contact=anna@example.org"},
                    r, errore))
      << errore;
  EXPECT_EQ(r.cosa, azione::docs);
  EXPECT_TRUE(r.con_documenti);
  EXPECT_EQ(r.cartella_uscita, "d");
  EXPECT_EQ(r.numero_treno, "9");
  EXPECT_EQ(r.documenti.classificazione, "IC");
  EXPECT_EQ(r.documenti.massa, 800);
  EXPECT_EQ(r.partenza_scheda, 7 * 3600 + 5 * 60);
  EXPECT_EQ(r.documenti.firma, "ROSSI Anna");
  EXPECT_EQ(r.documenti.contatto, "anna@example.org");

  ASSERT_TRUE(leggi({"pack", "X_linea.txt", "X_9-.txt", "--docs", "--departure=23:59"}, r, errore)) << errore;
  EXPECT_EQ(r.cosa, azione::pack);
  EXPECT_TRUE(r.con_documenti);
  EXPECT_EQ(r.partenza_scheda, 86340);
  ASSERT_TRUE(leggi({"pack", "X_linea.txt", "X_9-.txt"}, r, errore)) << errore;
  EXPECT_FALSE(r.con_documenti);
}

TEST(Argomenti, DumpTipoDalNomeODaKind) {
  struct caso { std::vector<std::string> a; tipo_imballato tipo; formato forma; bool tutti; };
  const caso casi[] = {
      {{"dump", "X_linea.dat"}, tipo_imballato::linea, formato::testo, false},
      {{"dump", "X_739.dat", "--csv"}, tipo_imballato::percorso, formato::csv, false},
      {{"dump", "X_739.sim", "--all", "--json"}, tipo_imballato::stazioni, formato::json, true},
      {{"dump", "copia.bin", "--kind", "grid"}, tipo_imballato::percorso, formato::testo, false},
      {{"dump", "X_linea.dat", "--kind=stations", "--force"}, tipo_imballato::stazioni, formato::testo, false},
  };
  for (const caso& c : casi) {
    richiesta r;
    std::string errore;
    ASSERT_TRUE(leggi(c.a, r, errore)) << c.a[1] << ": " << errore;
    EXPECT_EQ(r.tipo, c.tipo) << c.a[1];
    EXPECT_EQ(r.forma, c.forma) << c.a[1];
    EXPECT_EQ(r.tutti, c.tutti) << c.a[1];
  }
}

TEST(Argomenti, AiutoEVersione) {
  richiesta r;
  std::string errore;
  ASSERT_TRUE(leggi({"--help"}, r, errore));
  EXPECT_EQ(r.cosa, azione::aiuto);
  EXPECT_EQ(r.aiuto_su, azione::nessuna);
  // Help on a command wins even over a line that would be a usage error.
  ASSERT_TRUE(leggi({"pack", "--bogus", "-h"}, r, errore));
  EXPECT_EQ(r.cosa, azione::aiuto);
  EXPECT_EQ(r.aiuto_su, azione::pack);
  ASSERT_TRUE(leggi({"--version"}, r, errore));
  EXPECT_EQ(r.cosa, azione::versione);
  // The language server takes the option editors' clients pass.
  ASSERT_TRUE(leggi({"lsp", "--stdio"}, r, errore)) << errore;
  EXPECT_EQ(r.cosa, azione::lsp);
}

TEST(Argomenti, ErroriDUso) {
  struct caso { std::vector<std::string> a; const char* parola; };
  const caso casi[] = {
      {{}, "no command"},
      {{"impacchetta"}, "unknown command 'impacchetta'"},
      {{"pack", "X_linea.txt"}, "takes a line source and a train source"},
      {{"pack", "a", "b", "c"}, "takes a line source and a train source"},
      {{"pack", "linea.txt", "X_739-.txt"}, "cannot tell the scenario name from 'linea.txt'"},
      {{"check", "X_linea.txt", "treno.txt"}, "cannot tell the train number from 'treno.txt'"},
      {{"pack", "X_linea.txt", "X_1-.txt", "-o"}, "option -o needs a value"},
      {{"pack", "X_linea.txt", "X_1-.txt", "--name", "a/b"}, "cannot be part of a file name"},
      {{"pack", "X_linea.txt", "X_1-.txt", "--train="}, "cannot be part of a file name"},
      {{"pack", "._linea.txt", "X_1-.txt"}, "cannot be part of a file name"},
      {{"check", "X_linea.txt", "X_1-.txt", "-o", "d"}, "unknown option '-o' for check"},
      {{"pack", "X_linea.txt", "X_1-.txt", "--csv"}, "unknown option '--csv' for pack"},
      {{"dump"}, "dump takes one packed file"},
      {{"dump", "X.txt"}, "cannot tell the kind of 'X.txt'"},
      {{"dump", "X.dat", "--kind", "route"}, "unknown kind 'route'"},
      {{"dump", "X.dat", "--json", "--csv"}, "not both"},
      {{"dump", "X.dat", "--name", "N"}, "unknown option '--name' for dump"},
      {{"docs", "X_linea.txt"}, "docs takes a line source and a train source"},
      {{"docs", "X_linea.txt", "X_1-.txt", "--mass", "0"}, "--mass needs a whole number of tonnes"},
      {{"docs", "X_linea.txt", "X_1-.txt", "--mass", "8t"}, "--mass needs a whole number of tonnes"},
      {{"docs", "X_linea.txt", "X_1-.txt", "--mass"}, "option --mass needs a value"},
      {{"docs", "X_linea.txt", "X_1-.txt", "--departure", "24:00"}, "--departure needs a time of day"},
      {{"docs", "X_linea.txt", "X_1-.txt", "--departure", "7.05"}, "--departure needs a time of day"},
      {{"docs", "X_linea.txt", "X_1-.txt", "--departure", "7:5"}, "--departure needs a time of day"},
      {{"docs", "X_linea.txt", "X_1-.txt", "--docs"}, "unknown option '--docs' for docs"},
      {{"pack", "X_linea.txt", "X_1-.txt", "--mass", "800"}, "option --mass is for the documents: give --docs too"},
      {{"check", "X_linea.txt", "X_1-.txt", "--signature", "A"}, "unknown option '--signature' for check"},
      {{"lsp", "X_linea.txt"}, "lsp takes no file"},
      {{"lsp", "--json"}, "unknown option '--json' for lsp"},
  };
  for (const caso& c : casi) {
    richiesta r;
    std::string errore;
    EXPECT_FALSE(leggi(c.a, r, errore)) << (c.a.empty() ? "" : c.a.back());
    EXPECT_NE(errore.find(c.parola), std::string::npos) << errore;
  }
}

TEST(Argomenti, DopoDoppioTrattinoSoloFile) {
  richiesta r;
  std::string errore;
  ASSERT_TRUE(leggi({"pack", "--", "-strano_linea.txt", "-strano_1-.txt"}, r, errore)) << errore;
  EXPECT_EQ(r.nome_scenario, "-strano");
  EXPECT_EQ(r.numero_treno, "1");
}

TEST(Argomenti, OpzioniDelModelloDellaMarcia) {
  // Taken by every command that compiles or draws, in both spellings.
  for (const char* comando : {"timing", "check", "pack", "plot"}) {
    std::vector<std::string> a = {comando, "X_linea.txt", "X_1-.txt"};
    if (a[0] == "plot") a = {"plot", "dir", "-o", "p.svg"};
    for (const char* o : {"--acceleration", "0.55", "--dwell=60", "--top-speed", "140.5", "--car-length=0",
                          "--braked-mass", "75"})
      a.push_back(o);
    richiesta r;
    std::string errore;
    ASSERT_TRUE(leggi(a, r, errore)) << comando << ": " << errore;
    EXPECT_EQ(r.marcia.accelerazione, 0.55) << comando;
    EXPECT_EQ(r.marcia.sosta_s, 60.0) << comando;
    EXPECT_EQ(r.marcia.velocita_massima_kmh, 140.5) << comando;
    EXPECT_EQ(r.marcia.lunghezza_vettura_m, 0.0) << comando;
    EXPECT_EQ(r.marcia.percentuale_massa_frenata, 75.0) << comando;
    EXPECT_FALSE(r.marcia.decelerazione) << comando;
  }
  richiesta r;
  std::string errore;
  ASSERT_TRUE(leggi({"timing", "X_linea.txt", "X_1-.txt", "--braking", "4e-1", "--csv"}, r, errore)) << errore;
  EXPECT_EQ(r.cosa, azione::timing);
  EXPECT_EQ(r.forma, formato::csv);
  EXPECT_EQ(r.marcia.decelerazione, 0.4);

  struct caso {
    std::vector<std::string> opzioni;
    const char* errore;
  };
  const caso casi[] = {
      {{"--acceleration"}, "option --acceleration needs a value"},
      {{"--acceleration="}, "option --acceleration takes a number of m/s2, not ''"},
      {{"--acceleration", "abc"}, "option --acceleration takes a number of m/s2, not 'abc'"},
      {{"--acceleration", "0,4"}, "takes a number of m/s2, not '0,4'"},
      {{"--acceleration", "0.4m/s2"}, "not '0.4m/s2'"},
      {{"--acceleration", " 0.4"}, "not ' 0.4'"},
      {{"--braking", "nan"}, "option --braking takes a number of m/s2, not 'nan'"},
      {{"--top-speed", "inf"}, "not 'inf'"},
      {{"--acceleration", "0"}, "option --acceleration: 0 m/s2 is not what a train can have (0.05 to 5 m/s2)"},
      {{"--braking", "9.81"}, "(0.05 to 5 m/s2)"},
      {{"--braked-mass", "10"}, "option --braked-mass: 10 % is not what a train can have (30 to 200 %)"},
      {{"--dwell", "-1"}, "(0 to 86400 s)"},
      {{"--top-speed", "1e9"}, "(1 to 600 km/h)"},
      {{"--car-length", "1001"}, "(0 to 1000 m)"},
      {{"--braking", "0.5", "--braked-mass", "100"}, "give --braking or --braked-mass, not both"},
  };
  for (const caso& c : casi) {
    std::vector<std::string> a = {"timing", "X_linea.txt", "X_1-.txt"};
    a.insert(a.end(), c.opzioni.begin(), c.opzioni.end());
    EXPECT_FALSE(leggi(a, r, errore)) << c.errore;
    EXPECT_NE(errore.find(c.errore), std::string::npos) << errore;
  }
  // dump reads packed files alone: it has no train to time.
  EXPECT_FALSE(leggi({"dump", "X_1.dat", "--dwell", "60"}, r, errore));
  EXPECT_NE(errore.find("unknown option '--dwell' for dump"), std::string::npos) << errore;
  EXPECT_FALSE(leggi({"timing", "X_linea.txt", "X_1-.txt", "-o", "d"}, r, errore));
  EXPECT_NE(errore.find("unknown option '-o' for timing"), std::string::npos) << errore;
}
