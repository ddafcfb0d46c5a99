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

  // The train's traction and resistance, the rule for limits, dwells per
  // stop (names as the table holds them: single-byte text) and the margin.
  ASSERT_TRUE(leggi({"timing", "X_linea.txt", "X_1-.txt", "--reference-train", "unit", "--train-mass=250",
                     "--adhesive-mass", "120", "--power", "3000", "--tractive-effort", "220", "--adhesion=0.3",
                     "--rotating-mass", "1.08", "--resistance", "3.5,0.04,0.0007", "--curve-resistance", "0",
                     "--release", "head", "--dwell-at", "Sant'Ermida=45", "--dwell-at=CITT\u00c0=0",
                     "--margin", "1.5min/100km+5%", "--csv", "--profile"},
                    r, errore))
      << errore;
  EXPECT_EQ(r.marcia.riferimento, treno_riferimento::elettrotreno);
  EXPECT_EQ(r.marcia.massa_t, 250);
  EXPECT_EQ(r.marcia.massa_aderente_t, 120);
  EXPECT_EQ(r.marcia.potenza_kw, 3000);
  EXPECT_EQ(r.marcia.sforzo_trazione_kn, 220);
  EXPECT_EQ(r.marcia.aderenza, 0.3);
  EXPECT_EQ(r.marcia.masse_rotanti, 1.08);
  EXPECT_EQ(r.marcia.resistenza_a_kn, 3.5);
  EXPECT_EQ(r.marcia.resistenza_b_kn, 0.04);
  EXPECT_EQ(r.marcia.resistenza_c_kn, 0.0007);
  EXPECT_EQ(r.marcia.resistenza_curve, 0);
  EXPECT_EQ(r.marcia.rilascio_in_coda, false);
  EXPECT_EQ(r.marcia.soste, (std::vector<sosta_fermata>{{"Sant'Ermida", 45}, {"CITT\xC0", 0}}));
  EXPECT_EQ(r.marcia.margine, (margine_recupero{5, 1.5}));
  EXPECT_TRUE(r.profilo);
  // --min-margin, for the commands that report, is the margin's per cent alone.
  ASSERT_TRUE(leggi({"check", "X_linea.txt", "X_1-.txt", "--min-margin", "7"}, r, errore)) << errore;
  EXPECT_EQ(r.marcia.margine, (margine_recupero{7, 0}));
  const std::pair<const char*, margine_recupero> margini[] = {
      {"0", {0, 0}}, {"3%", {3, 0}}, {"4.5min/100km", {0, 4.5}}, {"6%+1min/100km", {6, 1}}};
  for (const auto& [testo, atteso] : margini) {
    ASSERT_TRUE(leggi({"timing", "X_linea.txt", "X_1-.txt", "--margin", testo}, r, errore)) << testo << errore;
    EXPECT_EQ(r.marcia.margine, atteso) << testo;
  }

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
      {{"--power", "0"}, "option --power: 0 kW is not what a train can have (1 to 100000 kW)"},
      {{"--adhesion", "0.7"}, "option --adhesion: 0.7 is not what a train can have (0 to 0.6)"},
      {{"--acceleration", "0.5", "--tractive-effort", "200"}, "give --acceleration or --tractive-effort, not both"},
      {{"--train-mass", "100", "--adhesive-mass", "120"},
       "option --adhesive-mass: 120 t is more than the train's mass, 100 t"},
      {{"--reference-train", "tram"}, "option --reference-train takes 'unit' or 'locomotive', not 'tram'"},
      {{"--release", "middle"}, "option --release takes 'tail' or 'head', not 'middle'"},
      {{"--resistance", "1,2"}, "option --resistance takes three numbers A,B,C"},
      {{"--resistance", "1,2,3,4"}, "option --resistance takes three numbers A,B,C"},
      {{"--resistance", "1,-2,0"}, "option --resistance: -2 is not what a train can have (B from 0 to 100)"},
      {{"--dwell-at", "B"}, "option --dwell-at takes STATION=SECONDS, not 'B'"},
      {{"--dwell-at", "B=-1"}, "option --dwell-at: -1 s is not a dwell (0 to 86400 s)"},
      {{"--margin", "5"}, "option --margin takes PERCENT%, MINUTESmin/100km or both joined by '+'"},
      {{"--margin", "5%+5%"}, "not '5%+5%'"},
      {{"--margin", "101%"}, "not '101%'"},
      {{"--margin", "5%", "--min-margin", "3"}, "unknown option '--min-margin' for timing"},
      {{"--profile"}, "option --profile goes with --csv"},
  };
  for (const caso& c : casi) {
    std::vector<std::string> a = {"timing", "X_linea.txt", "X_1-.txt"};
    a.insert(a.end(), c.opzioni.begin(), c.opzioni.end());
    EXPECT_FALSE(leggi(a, r, errore)) << c.errore;
    EXPECT_NE(errore.find(c.errore), std::string::npos) << errore;
  }
  EXPECT_FALSE(leggi({"check", "X_linea.txt", "X_1-.txt", "--margin", "5%", "--min-margin", "3"}, r, errore));
  EXPECT_EQ(errore, "give --margin or --min-margin, not both (--min-margin P is --margin P%)");
  EXPECT_FALSE(leggi({"check", "X_linea.txt", "X_1-.txt", "--csv", "--profile"}, r, errore));
  EXPECT_NE(errore.find("unknown option '--csv' for check"), std::string::npos) << errore;
  // dump reads packed files alone: it has no train to time.
  EXPECT_FALSE(leggi({"dump", "X_1.dat", "--dwell", "60"}, r, errore));
  EXPECT_NE(errore.find("unknown option '--dwell' for dump"), std::string::npos) << errore;
  EXPECT_FALSE(leggi({"timing", "X_linea.txt", "X_1-.txt", "-o", "d"}, r, errore));
  EXPECT_NE(errore.find("unknown option '-o' for timing"), std::string::npos) << errore;
}
