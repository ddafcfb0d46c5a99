// What check and pack tell the author: warnings after the errors (a cause an
// error names, before it), the source line and its caret, the summary, and the
// options that weigh warnings.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "prove/comando.h"
#include "prove/scenario_piccolo.h"

namespace fs = std::filesystem;

namespace {

// A third stop 10 km after BORGO, five minutes after it: the fastest run needs more.
const std::string stretta = "stazione,   15000,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,25, 0, TERZA\r\n";
// ... seven and a half minutes after it: a margin of 6.5 %, just over the
// default recovery margin for 160 km/h (4 % + 1.5 min/100 km).
const std::string comoda = "stazione,   15000,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,27,30, TERZA\r\n";
// The small scenario's signal written twice: error 16, signal on an occupied cell.
const std::string doppio = "segnale,    2000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n";
// A station off the 50 m grid: error 8, at its position.
const std::string fuori_griglia = "stazione,    12010,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,40, 0, ERRATA\r\n";

const char* const avviso_stretta = ": warning 361: BORGO to TERZA, 10.0 km: scheduled 5:00, fastest run ";

class Diagnosi : public CartelleComando {
 protected:
  void sorgenti(const std::string& righe_treno = "") { scrivi_sorgenti(linea_piccola(), treno_piccolo(righe_treno)); }
  risultato_comando esegui(const std::string& comando, const std::vector<std::string>& opzioni) {
    std::vector<std::string> a = {comando, "P_linea.txt", "P_12-.txt"};
    a.insert(a.end(), opzioni.begin(), opzioni.end());
    return esegui_scenario(a, lavoro, temporanea, uscite);
  }
  // What is in the working directory besides the two sources.
  std::vector<std::string> altro() {
    std::vector<std::string> v;
    for (const auto& e : fs::directory_iterator(lavoro))
      if (e.path().filename() != "P_linea.txt" && e.path().filename() != "P_12-.txt")
        v.push_back(e.path().filename().string());
    return v;
  }
};

// Standard error on a terminal: a pseudo-terminal whose other side the test reads.
struct terminale {
  int padrone = -1;
  std::string nome;
  terminale() {
    padrone = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (padrone < 0 || ::grantpt(padrone) != 0 || ::unlockpt(padrone) != 0) return;
    nome = ::ptsname(padrone);
    ::fcntl(padrone, F_SETFL, O_NONBLOCK);
  }
  ~terminale() {
    if (padrone >= 0) ::close(padrone);
  }
  // In the child: standard error goes to the terminal.
  std::function<void()> collega() const {
    return [n = nome] {
      const int t = ::open(n.c_str(), O_RDWR | O_NOCTTY);
      if (t < 0 || ::dup2(t, 2) < 0) ::_exit(126);
    };
  }
  // What was written to it, the terminal's CR before each LF taken out.
  std::string letto() const {
    std::string testo;
    char buf[4096];
    for (ssize_t n; (n = ::read(padrone, buf, sizeof buf)) > 0;) testo.append(buf, static_cast<std::size_t>(n));
    testo.erase(std::remove(testo.begin(), testo.end(), '\r'), testo.end());
    return testo;
  }
};

// Where `pezzo` first stands in `testo`: its line (from 1) and the line's text.
std::pair<int, std::string> riga_con(const std::string& testo, const std::string& pezzo) {
  const std::size_t pos = testo.find(pezzo);
  const std::size_t inizio = testo.rfind('\n', pos) + 1;
  const int n = static_cast<int>(std::count(testo.begin(), testo.begin() + static_cast<std::ptrdiff_t>(pos), '\n')) + 1;
  return {n, testo.substr(inizio, testo.find('\r', inizio) - inizio)};
}

}  // namespace

TEST_F(Diagnosi, StatiDUscitaConAvvisi) {
  struct caso {
    const char* nome;
    const char* comando;
    std::string righe_treno;
    std::vector<std::string> opzioni;
    int stato;
    bool scritti;        // pack: the packed files are there
    const char* avviso;  // a piece of standard error; empty: no warning
  };
  const caso casi[] = {
      {"clean", "check", "", {}, 0, false, ""},
      {"a warning", "check", stretta, {}, 0, false, avviso_stretta},
      {"a warning as an error", "check", stretta, {"--warnings-as-errors"}, 1, false, avviso_stretta},
      {"an error, the timetable judged all the same", "check", stretta + doppio, {}, 1, false, avviso_stretta},
      {"a margin over the default recovery margin", "check", comoda, {}, 0, false, ""},
      {"a margin under a recovery margin of one's own", "check", comoda, {"--min-margin", "10"}, 0, false,
       ": warning 362: BORGO to TERZA, 10.0 km: scheduled 7:30, fastest run 7:02, margin +28 s (+6.5 %); "
       "with the recovery margin of 10 % (0:42) it needs 7:45, 15 s more (at 15000 m)\n"},
      {"... as an error", "check", comoda, {"--min-margin=10", "--warnings-as-errors"}, 1, false,
       ": warning 362: "},
      {"pack with a warning writes", "pack", stretta, {}, 0, true, avviso_stretta},
      {"pack, a warning as an error, writes", "pack", stretta, {"--warnings-as-errors"}, 1, true, avviso_stretta},
      {"pack --strict, clean, writes", "pack", "", {"--strict"}, 0, true, ""},
      {"pack --strict with a warning", "pack", stretta, {"--strict"}, 1, false, avviso_stretta},
      {"pack --strict with an error", "pack", doppio, {"--strict"}, 1, false, ""},
      // An error withholds the packed files, --strict or not; --force writes them, the status still 1.
      {"pack with an error writes nothing", "pack", doppio, {}, 1, false, ""},
      {"pack --force with an error writes", "pack", doppio, {"--force"}, 1, true, ""},
      {"pack --strict --docs with a warning: no document either", "pack", stretta, {"--strict", "--docs"}, 1,
       false, avviso_stretta},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    sorgenti(c.righe_treno);
    std::vector<std::string> opzioni = c.opzioni;
    if (c.comando == std::string("pack")) opzioni.insert(opzioni.end(), {"-o", "uscita/nuova"});
    const risultato_comando r = esegui(c.comando, opzioni);
    EXPECT_EQ(r.stato, c.stato) << r.err;
    if (*c.avviso) {
      EXPECT_NE(r.err.find(c.avviso), std::string::npos) << r.err;
    } else {
      EXPECT_EQ(r.err.find(": warning "), std::string::npos) << r.err;
    }
    // Warnings come after the errors.
    const std::size_t ultimo_errore = r.err.rfind(": error "), primo_avviso = r.err.find(": warning ");
    if (ultimo_errore != std::string::npos && primo_avviso != std::string::npos) {
      EXPECT_LT(ultimo_errore, primo_avviso);
    }
    if (c.scritti) {
      EXPECT_TRUE(fs::exists(lavoro / "uscita" / "nuova" / "P_12.dat"));
    } else {
      // --strict leaves nothing behind: no file, no directory.
      EXPECT_EQ(altro(), std::vector<std::string>{});
    }
    const bool trattenuto = c.comando == std::string("pack") && !c.scritti;
    EXPECT_EQ(r.err.find("scenario: nothing written: ") != std::string::npos, trattenuto) << r.err;
    fs::remove_all(lavoro / "uscita");
  }
}

// A route length written in kilometres: the warning that names the cause is
// told before the error it leads to (a row beyond the short grid), which
// names it in turn.
TEST_F(Diagnosi, LaCausaPrimaDellErroreCheNeSegue) {
  std::string linea = linea_piccola();
  linea.replace(linea.find("lunghezza percorso,    20000"), 28, "lunghezza percorso,    20");
  scrivi_sorgenti(linea, treno_piccolo());
  const risultato_comando r = esegui("check", {});
  EXPECT_EQ(r.stato, 1) << r.err;
  const std::size_t causa = r.err.find(": warning 356: the route length is 20 m"),
                    errore = r.err.find(": error 15: ");
  ASSERT_NE(causa, std::string::npos) << r.err;
  ASSERT_NE(errore, std::string::npos) << r.err;
  EXPECT_LT(causa, errore) << r.err;
  EXPECT_NE(r.err.find("written in kilometres? (warning 356)", errore), std::string::npos) << r.err;
}

TEST_F(Diagnosi, OpzioniSbagliate) {
  sorgenti();
  const std::pair<std::vector<std::string>, const char*> casi[] = {
      {{"--min-margin", "abc"}, "scenario: option --min-margin needs a per cent from 0 to 100, not 'abc'\n"},
      {{"--min-margin=-1"}, "scenario: option --min-margin needs a per cent from 0 to 100, not '-1'\n"},
      {{"--min-margin", "101"}, "scenario: option --min-margin needs a per cent from 0 to 100, not '101'\n"},
      {{"--min-margin"}, "scenario: option --min-margin needs a value\n"},
      {{"--docs"}, "scenario: unknown option '--docs' for check; try 'scenario check --help'\n"},
  };
  for (const auto& [opzioni, messaggio] : casi) {
    const risultato_comando r = esegui("check", opzioni);
    EXPECT_EQ(r.stato, 2) << messaggio;
    EXPECT_EQ(r.err, messaggio);
  }
}

TEST_F(Diagnosi, JsonConErroriEAvvisi) {
  sorgenti(stretta + doppio);
  const risultato_comando r = esegui("check", {"--json"});
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(r.err, "");
  const nlohmann::ordered_json j = nlohmann::ordered_json::parse(r.out);
  const auto chiavi = [](const nlohmann::ordered_json& o) {
    std::vector<std::string> k;
    for (auto it = o.begin(); it != o.end(); ++it) k.push_back(it.key());
    return k;
  };
  EXPECT_EQ(chiavi(j), (std::vector<std::string>{"codice_errore", "posizione_errore", "errori", "avvisi", "errore",
                                                 "dettaglio_errore", "scenario", "treno", "files", "riepilogo"}));
  EXPECT_EQ(j["scenario"], "P");
  EXPECT_EQ(j["treno"], "12");
  ASSERT_EQ(j["errori"].size(), 1u);
  const nlohmann::ordered_json& e = j["errori"][0];
  EXPECT_EQ(chiavi(e), (std::vector<std::string>{"codice", "posizione", "file", "riga", "colonna", "descrizione",
                                                 "dettaglio"}));
  EXPECT_EQ(e["codice"], 16);
  EXPECT_EQ(e["file"], "P_12-.txt");
  EXPECT_TRUE(e["dettaglio"].is_null() || e["dettaglio"].is_string());

  // The timetable's warning, and whatever the compiler found besides.
  const nlohmann::ordered_json* a = nullptr;
  for (const auto& v : j["avvisi"])
    if (v["codice"] == 361) a = &v;
  ASSERT_NE(a, nullptr) << j["avvisi"].dump();
  EXPECT_EQ(chiavi(*a), (std::vector<std::string>{"codice", "descrizione", "testo", "gravita", "file", "riga",
                                                  "colonna", "posizione"}));
  EXPECT_EQ((*a)["gravita"], "avviso") << "stored as written: it does not withhold the files";
  EXPECT_EQ((*a)["descrizione"], "a section scheduled shorter than the fastest run");
  EXPECT_EQ((*a)["testo"].get<std::string>().rfind("BORGO to TERZA, 10.0 km: scheduled 5:00, fastest run ", 0), 0u);
  EXPECT_EQ((*a)["posizione"], 15000);
  // At TERZA's row once the compiler logs its rows; until then at no place.
  if ((*a)["file"].is_null()) {
    EXPECT_TRUE((*a)["riga"].is_null());
  } else {
    EXPECT_EQ((*a)["file"], "P_12-.txt");
    EXPECT_EQ((*a)["riga"], riga_con(treno, "TERZA").first);
  }

  const nlohmann::ordered_json& s = j["riepilogo"];
  EXPECT_EQ(chiavi(s), (std::vector<std::string>{"righe", "lunghezza_percorso", "fermate", "errori", "avvisi"}));
  EXPECT_EQ(s["lunghezza_percorso"], 20000);
  ASSERT_EQ(s["fermate"].size(), 3u);
  EXPECT_EQ(s["fermate"][2]["nome"], "TERZA");
  EXPECT_EQ(s["fermate"][2]["ora"], "17:25:00");
  EXPECT_EQ(s["errori"], 1);
  EXPECT_EQ(s["avvisi"], j["avvisi"].size());
}

TEST_F(Diagnosi, LaRigaSorgenteEIlCursore) {
  sorgenti(fuori_griglia);
  const auto [n, testo] = riga_con(treno, "12010");
  const std::string errore = "P_12-.txt:" + std::to_string(n) + ":14: error 8: station position not a multiple of "
                             "50 (at 12010 m); the nearest multiples of 50 are 12000 and 12050 m\n";
  const std::string margine(std::to_string(n).size(), ' ');
  // Not a terminal: one line each unless asked.
  EXPECT_EQ(esegui("check", {}).err, errore);
  EXPECT_EQ(esegui("check", {"--no-source"}).err, errore);
  const risultato_comando r = esegui("check", {"--source"});
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(r.err, errore + " " + std::to_string(n) + " | " + testo + "\n " + margine + " | " +
                       std::string(13, ' ') + "^\n");
}

TEST_F(Diagnosi, SuUnTerminaleRigaSorgenteERiepilogo) {
  sorgenti(fuori_griglia);
  struct caso {
    std::vector<std::string> opzioni;
    bool sorgente, riepilogo;
  };
  const caso casi[] = {{{}, true, true}, {{"--no-source"}, false, true}, {{"--json"}, false, false}};
  for (const caso& c : casi) {
    terminale t;
    if (t.nome.empty()) GTEST_SKIP() << "no pseudo-terminal here";
    std::vector<std::string> a = {"check", "P_linea.txt", "P_12-.txt"};
    a.insert(a.end(), c.opzioni.begin(), c.opzioni.end());
    const risultato_comando r = esegui_scenario(a, lavoro, temporanea, uscite, SCENARIO, t.collega());
    EXPECT_EQ(r.stato, 1);
    const std::string err = t.letto();
    SCOPED_TRACE(err);
    EXPECT_EQ(err.find(" | stazione,    12010,") != std::string::npos, c.sorgente);
    EXPECT_EQ(err.find("\nroute 20.0 km, 2 stops: CORVANA 17:13, BORGO 17:20; 1 error, 0 warnings\n") !=
                  std::string::npos,
              c.riepilogo);
    EXPECT_EQ(err.find("rows read: ") != std::string::npos, c.riepilogo);
  }
}
