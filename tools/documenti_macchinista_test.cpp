// `scenario docs` and `scenario pack --docs` as the author runs them.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "documents/modelli_documenti.h"
#include "formato/nomi_file.h"
#include "prove/comando.h"
#include "prove/forma_documenti.h"
#include "prove/scenario_piccolo.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace fs = std::filesystem;

namespace {

// In name order.
const char* const documenti[] = {"P_12_note.txt", "P_12_rallentamenti.txt", "P_12_scheda_treno.txt"};

// What the form rules find wrong in the three documents in `cartella` (nothing: well formed).
std::vector<std::string> problemi(const fs::path& cartella, const std::string& nome, const std::string& numero) {
  std::vector<std::string> p = forma_documenti::problemi_scheda(
      leggi_tutto(cartella / file_scheda_treno(nome, numero)), righe_per_pagina);
  for (std::string& x : forma_documenti::problemi_rallentamenti(leggi_tutto(cartella / file_rallentamenti(nome, numero))))
    p.push_back("slow-order form: " + x);
  for (std::string& x : forma_documenti::problemi_note(leggi_tutto(cartella / file_note(nome, numero))))
    p.push_back("notes: " + x);
  return p;
}

class ComandoDocumenti : public CartelleComando {
 protected:
  void sorgenti(const std::string& righe_treno = "") { scrivi_sorgenti(linea_piccola(), treno_piccolo(righe_treno)); }
  // The files in `cartella`, by name.
  static std::vector<std::string> elenco(const fs::path& cartella) {
    std::vector<std::string> nomi;
    for (const auto& v : fs::directory_iterator(cartella)) nomi.push_back(v.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
  }
};

}  // namespace

TEST_F(ComandoDocumenti, TreDocumentiBenFormatiConLeOpzioni) {
  sorgenti();
  struct caso {
    std::vector<std::string> opzioni;
    std::string file;   // one of the three
    std::string riga;   // a line it holds
  };
  const caso casi[] = {
      // The heading: the train's top speed from the route, the placeholders of
      // classification and mass when they are not given.
      {{}, "P_12_scheda_treno.txt", " |   TRENO n. 12     |                   da: CORVANA               |    V160 C    |"},
      {{}, "P_12_scheda_treno.txt", " |        xxx        |              |      xxxT         |"},
      {{"--classification", "REG", "--mass=420"}, "P_12_scheda_treno.txt",
       " |        REG        |              |      420T         |"},
      // The departure from the train source, the destination's arrival, the margin on its row.
      {{}, "P_12_scheda_treno.txt", " | 160 | 160 |   0.000  |     | CORVANA                    |          17.13 |     |"},
      // 420 s scheduled over 5 km, some 202 s at the fastest: a margin of 3.5 minutes.
      {{}, "P_12_scheda_treno.txt", " | 160 |     |   5.000  |     | BORGO                      | 17.20          | 3.5 |"},
      {{}, "P_12_note.txt", "Buon divertimento"},
      // The sheet's own departure: the notes tell the difference.
      {{"--departure", "17:05"}, "P_12_scheda_treno.txt",
       " | 160 | 160 |   0.000  |     | CORVANA                    |          17.05 |     |"},
      {{"--departure", "17:05"}, "P_12_note.txt",
       "Il treno parte da CORVANA con un ritardo di 8 minuti, facilmente recuperabili."},
      {{"--signature", "ROSSI Anna", "--contact", "anna@example.org"}, "P_12_note.txt", "                   ROSSI Anna"},
      {{"--signature", "ROSSI Anna", "--contact", "anna@example.org"}, "P_12_note.txt",
       "                  (anna@example.org) "},
      {{}, "P_12_rallentamenti.txt", "  Si ordina al macchinista del treno  12  di effettuare i seguenti rallentamenti"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.riga);
    std::vector<std::string> argomenti = {"docs", "P_linea.txt", "P_12-.txt", "-o", "documenti/nuovi"};
    argomenti.insert(argomenti.end(), c.opzioni.begin(), c.opzioni.end());
    const risultato_comando r = esegui(argomenti);
    EXPECT_EQ(r.stato, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    const fs::path cartella = lavoro / "documenti" / "nuovi";
    EXPECT_EQ(elenco(cartella), std::vector<std::string>(std::begin(documenti), std::end(documenti)));
    EXPECT_EQ(problemi(cartella, "P", "12"), std::vector<std::string>{});
    const std::string testo = leggi_tutto(cartella / c.file);
    EXPECT_NE(testo.find("\r\n" + c.riga + "\r\n"), std::string::npos) << testo;
    sorgenti_intatte();
    fs::remove_all(lavoro / "documenti");
  }
}

TEST_F(ComandoDocumenti, PackConDocsScriveSeiFile) {
  sorgenti();
  const risultato_comando r = esegui({"pack", "P_linea.txt", "P_12-.txt", "-o", "uscita", "--docs", "--json"});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(elenco(lavoro / "uscita"), (std::vector<std::string>{"P_12.dat", "P_12.sim", "P_12_note.txt",
                                                                 "P_12_rallentamenti.txt", "P_12_scheda_treno.txt",
                                                                 "P_linea.dat"}));
  EXPECT_EQ(nlohmann::json::parse(r.out)["files"],
            nlohmann::json::array({"uscita/P_linea.dat", "uscita/P_12.sim", "uscita/P_12.dat",
                                   "uscita/P_12_scheda_treno.txt", "uscita/P_12_rallentamenti.txt",
                                   "uscita/P_12_note.txt"}));
  EXPECT_EQ(problemi(lavoro / "uscita", "P", "12"), std::vector<std::string>{});
  sorgenti_intatte();
}

TEST_F(ComandoDocumenti, ConErroriOGuastiNessunDocumento) {
  // A second signal on the first one's cell: an error recorded.
  const std::string doppio = "segnale,    2000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n";
  sorgenti(doppio);
  const risultato_comando d = esegui({"docs", "P_linea.txt", "P_12-.txt", "-o", "documenti"});
  EXPECT_EQ(d.stato, 1);
  EXPECT_NE(d.err.find("P_12-.txt:"), std::string::npos) << d.err;
  EXPECT_NE(d.err.find("scenario: errors found: no documents written (--force writes them all the same)\n"),
            std::string::npos)
      << d.err;
  EXPECT_FALSE(fs::exists(lavoro / "documenti"));
  // pack writes neither its packed files nor the documents...
  const risultato_comando p = esegui({"pack", "P_linea.txt", "P_12-.txt", "-o", "uscita", "--docs"});
  EXPECT_EQ(p.stato, 1);
  EXPECT_FALSE(fs::exists(lavoro / "uscita"));
  // ...unless forced: then the packed files as the packer writes them, and the
  // documents of the build as it stands, the status 1 all the same.
  const risultato_comando f = esegui({"pack", "P_linea.txt", "P_12-.txt", "-o", "uscita", "--docs", "--force"});
  EXPECT_EQ(f.stato, 1);
  EXPECT_EQ(elenco(lavoro / "uscita"), (std::vector<std::string>{"P_12.dat", "P_12.sim", "P_12_note.txt",
                                                                 "P_12_rallentamenti.txt", "P_12_scheda_treno.txt",
                                                                 "P_linea.dat"}));
  sorgenti_intatte();
  fs::remove_all(lavoro / "uscita");

  // A source that bears a document's name is never written over, and nothing is written.
  sorgenti();
  fs::rename(lavoro / "P_12-.txt", lavoro / "P_12_note.txt");
  for (const std::vector<std::string>& argomenti :
       {std::vector<std::string>{"docs", "P_linea.txt", "P_12_note.txt", "--train", "12"},
        std::vector<std::string>{"pack", "P_linea.txt", "P_12_note.txt", "--train", "12", "--docs"}}) {
    SCOPED_TRACE(argomenti[0]);
    const risultato_comando r = esegui(argomenti);
    EXPECT_EQ(r.stato, 2);
    EXPECT_EQ(r.err, "scenario: P_12_note.txt: is one of the sources given; it would be overwritten by a document\n");
    EXPECT_EQ(leggi_tutto(lavoro / "P_12_note.txt"), treno);
    EXPECT_EQ(elenco(lavoro), (std::vector<std::string>{"P_12_note.txt", "P_linea.txt"}));
  }
}

TEST_F(ComandoDocumenti, NomiTagliatiOInLettereSempliciSonoAvvisi) {
  sorgenti();
  const risultato_comando r = esegui({"docs", "P_linea.txt", "P_12-.txt", "--classification",
                                      "INTERCITY NOTTE EUROPA", "--signature", "Jos\xc3\xa9"});
  EXPECT_EQ(r.stato, 0);
  EXPECT_EQ(r.err,
            "scenario: warning 371: train sheet, heading: \"INTERCITY NOTTE EUROPA\" is longer than its cell (19 "
            "characters): cut to \"INTERCITY NOTTE EUR\"\n"
            "scenario: warning 372: notes: signature \"Jos\\xc3\\xa9\" has characters outside plain ASCII: written "
            "\"Jose'\"\n");
  EXPECT_EQ(problemi(lavoro, "P", "12"), std::vector<std::string>{});
}

TEST_F(ComandoDocumenti, UnNomeDellaStazioneSiAvvisaAllaSuaRiga) {
  // A station named with a single-byte letter: the warning of its plain
  // letters stands at the station's row of the train source, where it is mended.
  std::string treno = treno_piccolo();
  treno.replace(treno.find("BORGO\r\n"), 5, "BORG\xD2");
  scrivi_sorgenti(linea_piccola(), treno);
  const std::size_t riga =
      static_cast<std::size_t>(std::count(treno.begin(), treno.begin() + static_cast<long>(treno.find("BORG\xD2")), '\n')) + 1;
  const risultato_comando r = esegui({"docs", "P_linea.txt", "P_12-.txt"});
  EXPECT_EQ(r.stato, 0) << r.err;
  const std::string atteso = "P_12-.txt:" + std::to_string(riga) + ":1: warning 372: station 2: name";
  EXPECT_NE(r.err.find(atteso), std::string::npos) << r.err;
}

TEST_F(ComandoDocumenti, UnaPartenzaPiuTardaDelTrenoCheLaPrimaTrattaNonTiene) {
  // CORVANA - BORGO has a margin of 196 s: a sheet that departs two minutes
  // after the train (17:13) still keeps it, one that departs four minutes
  // after does not, and says so.
  struct caso {
    const char* partenza;
    std::string avviso;  // empty: none
    std::string riga;    // of the sheet
  };
  const caso casi[] = {
      {"17:15", "", " | 160 |     |   5.000  |     | BORGO                      | 17.20          | 1.5 |"},
      {"17:17",
       ":1: warning 373: train sheet, departure: departs at 17:17, 4 minutes after the train starts from CORVANA "
       "(17:13): the section to BORGO is then 44 s shorter than the fastest run (Rec -0.5); its times cannot be "
       "kept from that departure",
       " | 160 |     |   5.000  |     | BORGO                      | 17.20          |-0.5 |"},
  };
  sorgenti();
  for (const caso& c : casi) {
    SCOPED_TRACE(c.partenza);
    const risultato_comando r = esegui({"docs", "P_linea.txt", "P_12-.txt", "--departure", c.partenza});
    EXPECT_EQ(r.stato, 0) << r.err;
    if (c.avviso.empty()) {
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_EQ(r.err.rfind("P_12-.txt:", 0), 0u) << r.err;
      EXPECT_NE(r.err.find(c.avviso), std::string::npos) << r.err;
    }
    const std::string scheda = leggi_tutto(lavoro / "P_12_scheda_treno.txt");
    EXPECT_NE(scheda.find("\r\n" + c.riga + "\r\n"), std::string::npos) << scheda;
  }
}

TEST_F(ComandoDocumenti, IlScenarioIncorporato) {
  scrivi_tutto(lavoro / "Corvana_Telmisa_linea.txt", dati_linea());
  scrivi_tutto(lavoro / "Corvana_Telmisa_739-.txt", dati_treno());
  const risultato_comando r = esegui({"docs", "Corvana_Telmisa_linea.txt", "Corvana_Telmisa_739-.txt", "-o", "d",
                                      "--classification", "IC", "--mass", "800", "--departure", "17:03"});
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(problemi(lavoro / "d", "Corvana_Telmisa", "739"), std::vector<std::string>{});
}
