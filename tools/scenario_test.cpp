// The `scenario` program as the author runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include <nlohmann/json.hpp>

#include "impacchetta/fasi.h"
#include "compiler/memorizza_dati.h"
#include "formato/nomi_file.h"
#include "packer/file_imballati.h"
#include "packer/imballa.h"
#include "prove/cartella.h"
#include "prove/comando.h"
#include "prove/scenario_piccolo.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace fs = std::filesystem;

namespace {

// Where `pezzo` first stands in `testo`, as "LINE:COLUMN" counted from 1.
std::string dove_sta(const std::string& testo, const std::string& pezzo) {
  const std::size_t pos = testo.find(pezzo);
  const std::size_t inizio_riga = testo.rfind('\n', pos) + 1;  // npos + 1 = 0 on the first line
  const auto riga = std::count(testo.begin(), testo.begin() + static_cast<std::ptrdiff_t>(pos), '\n') + 1;
  return std::to_string(riga) + ":" + std::to_string(pos - inizio_riga + 1);
}

class ComandoScenario : public CartelleComando {
 protected:
  void sorgenti(const std::string& righe_linea = "", const std::string& righe_treno = "") {
    scrivi_sorgenti(linea_piccola(righe_linea), treno_piccolo(righe_treno));
  }
  // The packer's own stages run on the same sources: each packed file's bytes by its name.
  std::map<std::string, std::string> imballa_qui(int32_t j) {
    auto f = std::make_unique<scenario_compilato>(memorizza_dati("P", "12", j, {"P_linea.txt", linea}, {"P_12-.txt", treno}));
    std::map<std::string, std::string> file;
    if (!completa_scenario(f->scenario, f->registro) && ha_percorso(f->scenario))
      imballa_scenario(f->scenario, [&](file_imballato quale, const produttore& produci) {
        file[file_imballato_di(quale, "P", "12")] = in_memoria(produci);
      });
    return file;
  }
};

const char* const imballati[] = {"P_linea.dat", "P_12.sim", "P_12.dat"};

}  // namespace

TEST_F(ComandoScenario, AiutoEVersione) {
  struct caso { std::vector<std::string> a; const char* inizio; };
  const caso casi[] = {
      {{"--help"}, "usage: scenario COMMAND"},
      {{"pack", "--help"}, "usage: scenario pack LINE TRAIN"},
      {{"check", "-h"}, "usage: scenario check LINE TRAIN"},
      {{"dump", "--help"}, "usage: scenario dump FILE"},
      {{"docs", "--help"}, "usage: scenario docs LINE TRAIN"},
      {{"builtin", "--help"}, "usage: scenario builtin [-o DIR]"},
      {{"--version"}, "scenario 0."},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui(c.a);
    EXPECT_EQ(r.stato, 0) << c.inizio;
    EXPECT_EQ(r.out.rfind(c.inizio, 0), 0u) << r.out;
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(ComandoScenario, ErroriDUsoEsconoConDue) {
  struct caso { std::vector<std::string> a; const char* messaggio; };
  const caso casi[] = {
      {{}, "scenario: no command given"},
      {{"pack", "X_linea.txt"}, "scenario: pack takes a line source and a train source"},
      {{"dump", "X_1.dat", "--bogus"}, "scenario: unknown option '--bogus' for dump"},
      {{"dump", "assente_1.dat"}, "scenario: assente_1.dat: cannot read: No such file or directory"},
      {{"check", "assente_linea.txt", "assente_1-.txt"},
       "scenario: assente_linea.txt: cannot read: No such file or directory"},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui(c.a);
    EXPECT_EQ(r.stato, 2) << c.messaggio;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(c.messaggio, 0), 0u) << r.err;
  }
}

TEST_F(ComandoScenario, FileImballatoTroncatoRifiutato) {
  scrivi_tutto(lavoro / "X_1.dat", std::string(15 * 3 - 1, '\0'));
  scrivi_tutto(lavoro / "X_1.sim", std::string(34 * 87 - 1, '\0'));
  scrivi_tutto(lavoro / "X_linea.dat", std::string("\x05\x00\x00\x00", 4));
  struct caso { const char* file; const char* messaggio; };
  const caso casi[] = {
      {"X_1.dat", "scenario: X_1.dat: not a packed route grid: length 44 bytes is not a whole "
                  "number of 15-byte cells (2 cells and 14 bytes over)\n"},
      {"X_1.sim", "scenario: X_1.sim: not a packed station table: slot 86 (from byte 2924) is cut "
                  "short: its name of 0 bytes and the 18 bytes after it need 18, 17 left; a "
                  "station table holds 87 records of 34 bytes plus their names\n"},
      {"X_linea.dat", "scenario: X_linea.dat: not a packed line plan: element 0 at byte 0: cut "
                      "short: its value needs 8 bytes, 2 left\n"},
  };
  for (const caso& c : casi) {
    const risultato_comando r = esegui({"dump", c.file});
    EXPECT_EQ(r.stato, 2) << c.file;
    EXPECT_EQ(r.out, "") << "nothing is guessed";
    EXPECT_EQ(r.err, c.messaggio);
  }
}

TEST_F(ComandoScenario, PackScriveGliStessiByteDelPacker) {
  // Without an error, and with one under --force (the files are written as the build leaves them).
  for (const char* righe_treno : {"", "segnale,    2000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n"}) {
    sorgenti("", righe_treno);
    for (const int32_t j : {1, 0}) {
      const fs::path uscita = lavoro / ("uscita" + std::to_string(j));
      std::vector<std::string> argomenti = {"pack", "P_linea.txt", "P_12-.txt", "-o", uscita.string()};
      if (j == 0) argomenti.push_back("--no-line-plan");
      if (*righe_treno) argomenti.push_back("--force");
      const risultato_comando r = esegui(argomenti);
      EXPECT_EQ(r.stato, *righe_treno ? 1 : 0) << r.err;
      const std::map<std::string, std::string> packer = imballa_qui(j);
      for (const char* nome : imballati) {
        const bool atteso = j != 0 || nome != std::string("P_linea.dat");
        ASSERT_EQ(fs::exists(uscita / nome), atteso) << nome;
        ASSERT_EQ(packer.count(nome), atteso ? 1u : 0u) << nome;
        if (atteso) {
          EXPECT_EQ(leggi_tutto(uscita / nome), packer.at(nome)) << nome << " j " << j;
        }
      }
      sorgenti_intatte();
      fs::remove_all(uscita);
    }
  }
}

TEST_F(ComandoScenario, StatiDUscitaEFileDellAutoreIntatti) {
  const std::string scheda = "indicatori_vmax,  0,  140,  160,  160,  0,  140,  160,  160,  0\r\n";
  const std::string codice = "indicatori_vmax,  0,  0,  160,  160,  0,  0,  160,  160,  0\r\n";
  const std::string doppio = "segnale,    2000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n";
  scrivi_tutto(lavoro / "un_file", "x");
  struct caso {
    const char* nome;
    std::string righe_linea, righe_treno;
    std::vector<std::string> opzioni;
    int stato;
    bool scritti;
    const char* messaggio;  // the start of standard error
  };
  const caso casi[] = {
      {"packed", "", "", {}, 0, true, ""},
      {"an error recorded: nothing written", "", doppio, {}, 1, false, "P_12-.txt:"},
      {"an error recorded, written under --force", "", doppio, {"--force"}, 1, true, "P_12-.txt:"},
      {"1250", scheda, "", {}, 3, false, "scenario: error 1250: cell 1 or the scenario slot"},
      {"1251", codice, "", {}, 3, false, "scenario: error 1251: cell 1 or the scenario slot"},
      {"usage", "", "", {"--kind", "grid"}, 2, false, "scenario: unknown option '--kind' for pack"},
      {"unwritable", "", "", {"-o", "un_file"}, 2, false, "scenario: un_file: cannot create the directory"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    sorgenti(c.righe_linea, c.righe_treno);
    std::vector<std::string> argomenti = {"pack", "P_linea.txt", "P_12-.txt", "-o", "uscita"};
    argomenti.insert(argomenti.end(), c.opzioni.begin(), c.opzioni.end());
    const risultato_comando r = esegui(argomenti);
    EXPECT_EQ(r.stato, c.stato) << r.err;
    EXPECT_EQ(r.err.rfind(c.messaggio, 0), 0u) << r.err;
    EXPECT_EQ(fs::exists(lavoro / "uscita" / "P_12.dat"), c.scritti);
    sorgenti_intatte();
    fs::remove_all(lavoro / "uscita");
    // check: the same compile and status, nothing written anywhere.
    if (c.opzioni.empty()) {
      const risultato_comando v = esegui({"check", "P_linea.txt", "P_12-.txt"});
      EXPECT_EQ(v.stato, c.stato) << v.err;
      const std::string non_scritto = "scenario: nothing written: 1 error\n";
      const bool trattenuto = r.err.size() >= non_scritto.size() &&
                              r.err.compare(r.err.size() - non_scritto.size(), non_scritto.size(), non_scritto) == 0;
      EXPECT_EQ(v.err, trattenuto ? r.err.substr(0, r.err.size() - non_scritto.size()) : r.err);
      sorgenti_intatte();
      EXPECT_EQ(std::distance(fs::directory_iterator(lavoro), fs::directory_iterator{}), 3)
          << "check writes nothing beside the sources";
    }
  }

  // A source that bears a packed file's name is never written over.
  sorgenti();
  fs::rename(lavoro / "P_12-.txt", lavoro / "P_12.sim");
  const risultato_comando r = esegui({"pack", "P_linea.txt", "P_12.sim", "--train", "12"});
  EXPECT_EQ(r.stato, 2);
  EXPECT_EQ(r.err, "scenario: P_12.sim: is one of the sources given; it would be overwritten by a "
                   "packed file\n");
  EXPECT_EQ(leggi_tutto(lavoro / "P_12.sim"), treno);
  EXPECT_FALSE(fs::exists(lavoro / "P_12.dat"));
}

TEST_F(ComandoScenario, ARigaGuastaPuntaLaRigaELaColonna) {
  // Each row is reported at the field the compiler had just read: the faulty
  // value, or the field read in place of a missing one.
  struct caso {
    const char* nome;
    std::string righe_linea, righe_treno;
    bool nel_treno;
    const char* campo;  // where the diagnostic points
    const char* resto;
  };
  const caso casi[] = {
      {"station off the 50 m", "",
       "stazione,    12010,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,40, 0, ERRATA\r\n", true,
       "12010",
       ": error 8: station position not a multiple of 50 (at 12010 m); the nearest multiples of 50 are 12000 "
       "and 12050 m\n"},
      {"value missing", "pendenza,  5000\r\n", "", false, "[indicazioni]",
       ": error 25: unreadable source: a missing or malformed value, or a number too wide for its "
       "field; the 'pendenza' row at 20:1: expected its gradient, a whole number; found '[indicazioni]'\n"},
      {"board on a board", "indicatori_vmax,  1050,  100,  100,  100,  0,  100,  100,  100,  0\r\n", "",
       false, "0\r\n[indicazioni]",        ": error 21: maximum-speed board on an occupied cell (at 1050 m); cell 22 holds the maximum-speed "
       "board from P_linea.txt:19\n"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    sorgenti(c.righe_linea, c.righe_treno);
    const risultato_comando r = esegui({"check", "P_linea.txt", "P_12-.txt"});
    EXPECT_EQ(r.stato, 1);
    const std::string& testo = c.nel_treno ? treno : linea;
    // The board's last value "0" stands just before the heading that follows it.
    const std::string dove = dove_sta(testo, c.campo);
    EXPECT_EQ(r.err, std::string(c.nel_treno ? "P_12-.txt:" : "P_linea.txt:") + dove + c.resto);
  }
}

TEST_F(ComandoScenario, OgniErroreInOrdineAncheSenzaLuogo) {
  // Two boards before a signal that stands behind a slow order's warning
  // board: the approach pass finds no cell for its point (11, no place in a
  // source). The speed-reduction point on a board is refused first (7).
  sorgenti("indicatori_vmax,  6450,  100,  100,  100,  0,  100,  100,  100,  0\r\n"
           "indicatori_vmax,  6500,  100,  100,  100,  0,  100,  100,  100,  0\r\n",
           "segnale,    6550,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n"
           "abbattimento,    6550,   60\r\n");
  fs::create_directory(lavoro / "sub");
  const risultato_comando r = esegui({"pack", "sub/../P_linea.txt", "./P_12-.txt", "-o", "uscita", "--force"});
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(r.err, "./P_12-.txt:" + dove_sta(treno, "60\r\n[fine]") +
                       ": error 7: speed-reduction point on an occupied cell (at 6550 m); cell 131 holds the "
                       "maximum-speed board from sub/../P_linea.txt:21\n"
                       "scenario: error 11: no free cell for the approach point before a signal "
                       "behind a warning board (at 6600 m); the signal from ./P_12-.txt:18 on cell 132 stands "
                       "250 m behind the warning board of the slow order from ./P_12-.txt:15 on cell 137, and "
                       "neither cell before it is free: cell 131 holds the maximum-speed board from "
                       "sub/../P_linea.txt:21; cell 130 holds the maximum-speed board from sub/../P_linea.txt:20\n");

  const risultato_comando j = esegui({"pack", "P_linea.txt", "P_12-.txt", "-o", "uscita", "--json", "--force"});
  EXPECT_EQ(j.stato, 1);
  EXPECT_EQ(j.err, "");
  const nlohmann::json esito = nlohmann::json::parse(j.out);
  EXPECT_EQ(esito["codice_errore"], 11);
  EXPECT_EQ(esito["posizione_errore"], 6600);
  EXPECT_TRUE(esito["errore"].is_null());
  ASSERT_EQ(esito["errori"].size(), 2u);
  EXPECT_EQ(esito["errori"][0]["codice"], 7);
  EXPECT_EQ(esito["errori"][0]["posizione"], 6550);
  EXPECT_EQ(esito["errori"][0]["file"], "P_12-.txt");
  EXPECT_EQ(std::to_string(esito["errori"][0]["riga"].get<int>()) + ":" +
                std::to_string(esito["errori"][0]["colonna"].get<int>()),
            dove_sta(treno, "60\r\n[fine]"));
  EXPECT_EQ(esito["errori"][0]["descrizione"], "speed-reduction point on an occupied cell");
  EXPECT_EQ(esito["errori"][1]["codice"], 11);
  EXPECT_TRUE(esito["errori"][1]["file"].is_null());
  EXPECT_TRUE(esito["errori"][1]["riga"].is_null());
  EXPECT_EQ(esito["errori"][1]["posizione"], 6600);
  EXPECT_EQ(esito["files"], nlohmann::json::array({"uscita/P_linea.dat", "uscita/P_12.sim", "uscita/P_12.dat"}));
}

TEST_F(ComandoScenario, JsonDiUnRifiuto) {
  sorgenti("indicatori_vmax,  0,  140,  160,  160,  0,  140,  160,  160,  0\r\n");
  const risultato_comando r = esegui({"check", "P_linea.txt", "P_12-.txt", "--json"});
  EXPECT_EQ(r.stato, 3);
  const nlohmann::json esito = nlohmann::json::parse(r.out);
  EXPECT_EQ(esito["errore"], "1250");
  // What stood in cell 1, and the row that laid it: in JSON and on the terminal.
  const std::string dettaglio = "cell 1's dato1 holds 2828: cell 1 holds the maximum-speed board from P_linea.txt:20";
  EXPECT_EQ(esito["dettaglio_errore"], dettaglio);
  const std::string testo = esegui({"check", "P_linea.txt", "P_12-.txt"}).err;
  EXPECT_NE(testo.find("scenario: error 1250: "), std::string::npos) << testo;
  EXPECT_NE(testo.find("; " + dettaglio + "\n"), std::string::npos) << testo;
  EXPECT_EQ(esito["codice_errore"], 0);
  EXPECT_TRUE(esito["errori"].empty());
  EXPECT_TRUE(esito["files"].empty());
}

TEST_F(ComandoScenario, DumpMostraQuelloCheFuImballato) {
  sorgenti();
  ASSERT_EQ(esegui({"pack", "P_linea.txt", "P_12-.txt"}).stato, 0);

  // The grid: the signal at 2000 m stands in cell 41, every field by name.
  const risultato_comando testo = esegui({"dump", "P_12.dat"});
  EXPECT_EQ(testo.stato, 0) << testo.err;
  EXPECT_EQ(testo.out.substr(0, testo.out.find('\n')),
            " cella   metri tipo  dato1  dato2  dato3  dato4 tempo_segnale avviso_segnale "
            "montagna velocita pendenza aderenza  feature");
  EXPECT_NE(testo.out.find("\n    41    2050    1     43     11      0      7             0"
                           "              0        0       32      106      100  signal\n"),
            std::string::npos)
      << testo.out.substr(0, 4000);

  // Empty cells only with --all: the last three cells carry nothing at all.
  const risultato_comando csv = esegui({"dump", "P_12.dat", "--csv"});
  const risultato_comando tutte = esegui({"dump", "P_12.dat", "--csv", "--all"});
  const auto righe = [](const std::string& t) { return std::count(t.begin(), t.end(), '\n'); };
  EXPECT_EQ(righe(tutte.out), 1 + 541);  // header and cells 0..540 of a 20 km route
  EXPECT_EQ(righe(csv.out), 1 + 538);
  EXPECT_NE(tutte.out.find("\n540,27000,0,0,0,0,0,0,0,0,0,0,0\n"), std::string::npos);

  // Stations in JSON, the name as written; the scenario slot with its stamps.
  const risultato_comando json = esegui({"dump", "P_12.sim", "--json"});
  EXPECT_EQ(json.stato, 0) << json.err;
  const nlohmann::json stazioni = nlohmann::json::parse(json.out);
  EXPECT_EQ(stazioni["tipo_file"], "stations");
  const nlohmann::json& slot = stazioni["slot"];
  ASSERT_EQ(slot.size(), 6u);  // two stations, one board, header slots 84 to 86
  EXPECT_EQ(slot[1]["slot"], 2);
  EXPECT_EQ(slot[1]["nome"], "BORGO");
  EXPECT_EQ(slot[1]["valore1"], 4800);
  EXPECT_EQ(slot[1]["codice"], 17 * 3600 + 20 * 60);
  EXPECT_EQ(slot[2]["slot"], 80);
  EXPECT_EQ(slot[2]["nome"], "(Km 9+996)");
  EXPECT_EQ(slot[4]["nome"], "P");
  EXPECT_EQ(slot[4]["intero1"], 610);

  // The plan: metre, x, y and their tags; the last two points stay empty.
  const risultato_comando piano = esegui({"dump", "P_linea.dat", "--csv", "--all"});
  EXPECT_EQ(piano.out.rfind("metro,x,tag_x,y,tag_y\n0,0,2,0,2\n1,0,2,1,2\n2,0,5,2,5\n", 0), 0u);
  EXPECT_NE(piano.out.find("\n1001,1e-04,5,1001,5\n1002,0.00030000000000000003,5,1001.99999999,5\n"),
            std::string::npos);
  const std::string coda = "\n26998,";
  EXPECT_NE(piano.out.find(coda), std::string::npos);
  EXPECT_EQ(piano.out.substr(piano.out.find('\n', piano.out.find(coda) + 1)), "\n26999,,0,,0\n27000,,0,,0\n");
}

TEST_F(ComandoScenario, SenzaLunghezzaNullaDaImballare) {
  // A grid that was never sized leaves nothing to pack: an error, no file.
  linea = "[generale]\r\nsfondo uno,    1\r\n[curve]\r\n[fine]\r\n";
  treno = treno_piccolo();
  scrivi_tutto(lavoro / "P_linea.txt", linea);
  scrivi_tutto(lavoro / "P_12-.txt", treno);
  const risultato_comando r = esegui({"pack", "P_linea.txt", "P_12-.txt", "--json"});
  EXPECT_EQ(r.stato, 1);
  const nlohmann::json esito = nlohmann::json::parse(r.out);
  EXPECT_EQ(esito["codice_errore"], 201);
  EXPECT_TRUE(esito["files"].empty());
  EXPECT_FALSE(fs::exists(lavoro / "P_12.dat"));
  sorgenti_intatte();
}

TEST_F(ComandoScenario, IlScenarioIncorporatoComeLoImballaIlPacker) {
  // The packer's whole build of its own scenario...
  const fs::path packer = radice.percorso / "packer";
  fs::create_directory(packer);
  Form1 f;
  nomina_scenario(f);
  esegui_build(f, packer);
  ASSERT_EQ(f.esito.registro.codice_errore, 0);

  // ...and the same sources handed to the tool by an author.
  linea = dati_linea();
  treno = dati_treno();
  scrivi_tutto(lavoro / file_linea_sorgente(f.nome_scenario), linea);
  scrivi_tutto(lavoro / file_treno_sorgente(f.nome_scenario, f.numero_treno), treno);
  const risultato_comando r = esegui(
      {"pack", "Corvana_Telmisa_linea.txt", "Corvana_Telmisa_739-.txt", "-o", "uscita"});
  EXPECT_EQ(r.stato, 0) << r.err;
  // No error; its timetable cannot be kept from Montefrusco to Vignalora, which is told.
  EXPECT_EQ(r.err.find(": error "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(": warning 361: MONTEFRUSCO to VIGNALORA, 19.5 km: "), std::string::npos) << r.err;
  for (const char* nome : {"Corvana_Telmisa_linea.dat", "Corvana_Telmisa_739.sim", "Corvana_Telmisa_739.dat"}) {
    const std::string atteso = leggi_tutto(packer / nome);
    EXPECT_FALSE(atteso.empty()) << nome;
    EXPECT_TRUE(leggi_tutto(lavoro / "uscita" / nome) == atteso) << nome << " differs from the packer's";
  }
  EXPECT_EQ(leggi_tutto(lavoro / "Corvana_Telmisa_linea.txt"), linea);
  EXPECT_EQ(leggi_tutto(lavoro / "Corvana_Telmisa_739-.txt"), treno);

  // What was packed reads back as the build's records, field by field.
  scenario letto;
  const std::vector<cella_percorso>& celle = letto.percorso;
  const std::array<record_stazione, numero_slot>& tabella = letto.tabella_stazioni;
  std::string motivo;
  const auto imballato = [&](file_imballato quale) {
    return leggi_tutto(packer / file_imballato_di(quale, f.nome_scenario, f.numero_treno));
  };
  ASSERT_TRUE(decodifica_percorso(imballato(file_imballato::percorso), letto, motivo)) << motivo;
  ASSERT_TRUE(decodifica_stazioni(imballato(file_imballato::stazioni), letto, motivo)) << motivo;
  ASSERT_EQ(celle.size(), 7301u);
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const cella_percorso &a = f.esito.scenario.percorso[i], &b = celle[i];
    ASSERT_TRUE(a == b)
        << "cell " << i;
  }
  for (int s = 0; s < numero_slot; ++s) {
    const record_stazione &a = f.esito.scenario.tabella_stazioni[s], &b = tabella[s];
    EXPECT_TRUE(a == b)
        << "slot " << s;
  }
  EXPECT_EQ(tabella[49].nome, "TELMISA");
}
