// `scenario timing` as the author runs it.
#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "prove/cartella.h"
#include "prove/comando.h"
#include "prove/documenti.h"
#include "prove/sorgenti.h"
#include "prove/tre_fermate.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> treno_simmetrico = {"--acceleration", "0.5", "--braking", "0.5", "--dwell", "60"};

class ComandoTiming : public CartelleComando {
 protected:
  risultato_comando esegui(std::vector<std::string> argomenti, const std::vector<std::string>& opzioni = {}) {
    argomenti.insert(argomenti.end(), opzioni.begin(), opzioni.end());
    return CartelleComando::esegui(argomenti);
  }
  risultato_comando timing(const std::vector<std::string>& opzioni = {}) {
    return esegui({"timing", "P_linea.txt", "P_12-.txt"}, opzioni);
  }
};

// The lines of `testo`.
std::vector<std::string> righe(const std::string& testo) {
  std::vector<std::string> r;
  std::istringstream in(testo);
  for (std::string riga; std::getline(in, riga);) r.push_back(riga);
  return r;
}

bool ha_riga(const std::string& testo, const std::string& riga) {
  for (const std::string& r : righe(testo))
    if (r == riga) return true;
  return false;
}

}  // namespace

TEST_F(ComandoTiming, ScenarioIncorporato_MontefruscoVignaloraNonSiTiene) {
  scrivi_tutto(lavoro / "Corvana_Telmisa_linea.txt", dati_linea());
  scrivi_tutto(lavoro / "Corvana_Telmisa_739-.txt", dati_treno());
  const risultato_comando r = esegui({"timing", "Corvana_Telmisa_linea.txt", "Corvana_Telmisa_739-.txt"});
  EXPECT_EQ(r.stato, 1) << r.err;
  EXPECT_EQ(r.err, "");
  // The values used, where each came from.
  for (const char* valore : {"  acceleration      0.4 m/s2  default",
                             "  braking         0.642 m/s2  from the braked mass, 130 %",
                             "  braked mass       130 %     train source",
                             "  top speed         175 km/h  the route's highest line limit",
                             "  train length    369.6 m     cars times car length"})
    EXPECT_TRUE(ha_riga(r.out, valore)) << valore << "\n" << r.out;
  // The stop that cannot be reached in time, a station passed before it, and the sections.
  for (const char* riga : {
           "  185.9    TRESCALDO            pass           18:56   18:56:11",
           "  196.0  VIGNALORA              arrival     19:00:00   19:00:54     -54 s   -8.3 %  CANNOT BE KEPT",
           "  SCARZAVELLA - MONTEFRUSCO    70.5      43:00     30:58   +722 s  +38.9 %",
           "  MONTEFRUSCO - VIGNALORA      19.5      10:00     10:54    -54 s   -8.3 %  CANNOT BE KEPT",
           "  LAGO SPERTINO - ALTOBRUNA    46.0      23:00     22:17    +43 s   +3.2 %",
           "1 of 7 sections cannot be kept, even by the fastest run: MONTEFRUSCO - VIGNALORA.",
       })
    EXPECT_TRUE(ha_riga(r.out, riga)) << riga << "\n" << r.out;
}

TEST_F(ComandoTiming, UnaSezioneSiTieneLAltraNo) {
  struct caso {
    const char* nome;
    const char* arrivo;  // at D
    std::vector<std::string> opzioni;
    int stato;
    std::vector<std::string> righe;  // lines the table must hold
  };
  const caso casi[] = {
      {"dwell 60 s",
       "8,17",
       treno_simmetrico,
       1,
       {"    0.0  A        departure   08:00:00",
        "    5.0    B      pass           08:04   08:03:45",
        "   10.0  C        arrival     08:09:00   08:07:30     +90 s  +20.0 %",
        "                  departure   08:10:00",
        "   20.0  D        arrival     08:17:00   08:17:30     -30 s   -6.7 %  CANNOT BE KEPT",
        "  A - C      10.0       9:00      7:30    +90 s  +20.0 %",
        "  C - D      10.0       7:00      7:30    -30 s   -6.7 %  CANNOT BE KEPT",
        "1 of 2 sections cannot be kept, even by the fastest run: C - D."}},
      // No dwell: A - C is given 600 s; B's passing time is 225 × 600 / 450 =
      // 300 s after A. The arrival at D, the last stop, keeps no dwell anyway.
      {"no dwell",
       "8,17",
       {"--acceleration", "0.5", "--braking", "0.5", "--dwell", "0"},
       1,
       {"    5.0    B      pass           08:05   08:03:45",
        "  A - C      10.0      10:00      7:30   +150 s  +33.3 %",
        "  C - D      10.0       7:00      7:30    -30 s   -6.7 %  CANNOT BE KEPT"}},
      {"a minute more to D",
       "8,18",
       treno_simmetrico,
       0,
       {"  C - D      10.0       8:00      7:30    +30 s   +6.7 %", "Every section can be kept."}},
      // A top speed of 72 km/h (20 m/s, reached in 400 m and 40 s): 80 + 9200 / 20 = 540 s, no margin left.
      {"top speed",
       "8,17",
       {"--acceleration", "0.5", "--braking", "0.5", "--dwell", "60", "--top-speed", "72"},
       1,
       {"  top speed          72 km/h  option --top-speed", "  A - C      10.0       9:00      9:00     +0 s   +0.0 %"}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    scrivi_sorgenti(linea_tre_fermate(), treno_tre_fermate("", c.arrivo));
    const risultato_comando r = timing(c.opzioni);
    EXPECT_EQ(r.stato, c.stato) << r.err;
    EXPECT_EQ(r.err, "");
    for (const std::string& riga : c.righe) EXPECT_TRUE(ha_riga(r.out, riga)) << riga << "\n" << r.out;
  }
}

TEST_F(ComandoTiming, UnNomeASingoloByteNellaTabellaENelCsv) {
  // C written as single-byte text with a control byte: the table shows the
  // letter as its character and the byte as \x07, its columns counted in
  // characters; the CSV, like the JSON, holds the name in UTF-8.
  std::string con_nome = treno_tre_fermate();
  con_nome.replace(con_nome.find(", C\r\n"), 5, ", CITT\xC0\x07\r\n");
  scrivi_sorgenti(linea_tre_fermate(), con_nome);
  const risultato_comando r = timing(treno_simmetrico);
  EXPECT_TRUE(ha_riga(r.out, "    0.0  A          departure   08:00:00")) << r.out;
  EXPECT_TRUE(ha_riga(r.out, "   10.0  CITT\u00c0\\x07  arrival     08:09:00   08:07:30     +90 s  +20.0 %")) << r.out;
  EXPECT_TRUE(ha_riga(r.out, "  A - CITT\u00c0\\x07    10.0       9:00      7:30    +90 s  +20.0 %")) << r.out;
  std::vector<std::string> csv = treno_simmetrico;
  csv.push_back("--csv");
  EXPECT_NE(timing(csv).out.find(",CITT\u00c0\x07,"), std::string::npos);
}

TEST_F(ComandoTiming, JsonECsvConGliStessiCampi) {
  scrivi_sorgenti(linea_tre_fermate(), treno_tre_fermate());
  const risultato_comando j = timing({"--json", "--acceleration=0.5", "--braking=0.5", "--dwell=60"});
  const risultato_comando c = timing({"--csv", "--acceleration=0.5", "--braking=0.5", "--dwell=60"});
  ASSERT_EQ(j.stato, 1) << j.err;
  ASSERT_EQ(c.stato, 1) << c.err;
  EXPECT_EQ(j.err, "");
  EXPECT_EQ(c.err, "");
  // Read in order: the CSV columns are the JSON rows' keys, in the same order.
  const nlohmann::ordered_json esito = nlohmann::ordered_json::parse(j.out);
  const std::vector<std::string> csv = righe(c.out);
  const nlohmann::ordered_json& righe_json = esito["righe"];
  ASSERT_EQ(righe_json.size() + 1, csv.size());
  ASSERT_EQ(righe_json.size(), 5u);  // A departs, B passed, C arrives and departs, D arrives
  // A CSV line's fields, split at the commas as a source row's are (none of these is quoted).
  const std::vector<std::string> intestazione = campi(csv[0]);
  for (std::size_t i = 0; i < righe_json.size(); ++i) {
    const nlohmann::ordered_json& riga = righe_json[i];
    const std::vector<std::string> valori = campi(csv[i + 1]);
    ASSERT_EQ(valori.size(), intestazione.size()) << csv[i + 1];
    ASSERT_EQ(riga.size(), intestazione.size());
    std::size_t k = 0;
    for (const auto& [chiave, valore] : riga.items()) {
      EXPECT_EQ(chiave, intestazione[k]) << "field " << k;
      const std::string& v = valori[k++];
      if (valore.is_null()) EXPECT_EQ(v, "") << chiave;
      else if (valore.is_string()) EXPECT_EQ(v, valore.get<std::string>()) << chiave;
      else if (valore.is_boolean()) EXPECT_EQ(v, valore.get<bool>() ? "true" : "false") << chiave;
      else EXPECT_EQ(std::stod(v), valore.get<double>()) << chiave << " row " << i;
    }
  }
  // The worked example, in seconds.
  const nlohmann::ordered_json& b = righe_json[1];
  EXPECT_EQ(b["evento"], "pass");
  EXPECT_EQ(b["nome"], "B");
  EXPECT_EQ(b["ora_piu_veloce_s"], 8 * 3600 + 225);
  EXPECT_EQ(b["ora_orario_s"], 8 * 3600 + 4 * 60);
  const nlohmann::ordered_json& d = righe_json[4];
  EXPECT_EQ(d["evento"], "arrival");
  EXPECT_EQ(d["tempo_minimo_s"], 450);
  EXPECT_EQ(d["margine_s"], -30);
  EXPECT_EQ(d["mantenibile"], false);
  EXPECT_EQ(esito["mantenibile"], false);
  ASSERT_EQ(esito["sezioni"].size(), 2u);
  EXPECT_EQ(esito["sezioni"][0]["margine_percento"], 20);
  EXPECT_EQ(esito["modello"]["accelerazione"]["origine"], "option");
  EXPECT_FALSE(esito["modello"].contains("percentuale_massa_frenata")) << "not used: --braking given";
  EXPECT_EQ(esito["modello"]["velocita_massima_kmh"]["origine"], "route");
  EXPECT_EQ(esito["modello"]["vetture"]["valore"], 10);
  EXPECT_EQ(esito["modello"]["lunghezza_treno_m"]["valore"], 264);
  EXPECT_TRUE(esito["errori"].empty());
}

TEST_F(ComandoTiming, ErroriDellaCompilazione) {
  // A signal on a signal's cell: error 16, the rest compiled and timed.
  const std::string segnale = "segnale,    2000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\n";
  scrivi_sorgenti(linea_tre_fermate(), treno_tre_fermate(segnale + segnale));
  const risultato_comando r = timing(treno_simmetrico);
  EXPECT_EQ(r.stato, 1);
  EXPECT_EQ(r.err.rfind("P_12-.txt:", 0), 0u) << r.err;
  EXPECT_NE(r.err.find(": error 16: signal on an occupied cell (at 2000 m); cell 41 holds the signal from "
                       "P_12-.txt:9\n"
                       "scenario: errors found; the run is timed over the scenario as compiled\n"),
            std::string::npos)
      << r.err;
  // The compiler gave up on the train's rows at the error: the speed limit
  // was never laid, as the simulator would find it.
  EXPECT_TRUE(ha_riga(r.out, "  A - C      10.0       9:00      5:14   +226 s  +72.0 %")) << r.out;
  EXPECT_TRUE(ha_riga(r.out, "No line speed limit laid from 0.0 to 20.0 km: run at the top speed there.")) << r.out;
  // check reports the same errors.
  const risultato_comando v = esegui({"check", "P_linea.txt", "P_12-.txt"});
  EXPECT_EQ(r.err.substr(0, v.err.size()), v.err);

  const risultato_comando j = timing({"--json"});
  EXPECT_EQ(j.stato, 1);
  EXPECT_EQ(j.err, "");
  const nlohmann::json esito = nlohmann::json::parse(j.out);
  ASSERT_EQ(esito["errori"].size(), 1u);
  EXPECT_EQ(esito["errori"][0]["codice"], 16);
  EXPECT_EQ(esito["sezioni"].size(), 2u);

  // No route length: no grid, nothing timed.
  scrivi_sorgenti("[generale]\r\nsfondo uno,    1\r\n[curve]\r\n[fine]\r\n", treno_tre_fermate());
  const risultato_comando n = timing();
  EXPECT_EQ(n.stato, 1);
  EXPECT_EQ(n.out, "");
  EXPECT_NE(n.err.find("scenario: errors found and no route grid built; nothing to time\n"),
            std::string::npos)
      << n.err;
  const nlohmann::json vuoto = nlohmann::json::parse(timing({"--json"}).out);
  EXPECT_EQ(vuoto["codice_errore"], 201);
  EXPECT_TRUE(vuoto["righe"].empty());
  EXPECT_TRUE(vuoto["mantenibile"].is_null());
}

TEST_F(ComandoTiming, ErroriDUsoEAiuto) {
  scrivi_sorgenti(linea_tre_fermate(), treno_tre_fermate());
  struct caso {
    std::vector<std::string> opzioni;
    const char* messaggio;
  };
  const caso casi[] = {
      {{"--dwell", "due minuti"}, "scenario: option --dwell takes a number of s, not 'due minuti'\n"},
      {{"--top-speed", "0"}, "scenario: option --top-speed: 0 km/h is not what a train can have (1 to 600 km/h)\n"},
      {{"--json", "--csv"}, "scenario: give --json or --csv, not both\n"},
  };
  for (const caso& c : casi) {
    const risultato_comando r = timing(c.opzioni);
    EXPECT_EQ(r.stato, 2) << c.messaggio;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.messaggio);
  }
  const risultato_comando assente = esegui({"timing", "assente_linea.txt", "P_12-.txt"});
  EXPECT_EQ(assente.stato, 2);
  EXPECT_EQ(assente.err, "scenario: assente_linea.txt: cannot read: No such file or directory\n");

  // Each command that times the run lists the model's options in its help.
  for (const char* comando : {"timing", "check", "pack", "plot"}) {
    const risultato_comando r = esegui({comando, "--help"});
    EXPECT_EQ(r.stato, 0);
    EXPECT_EQ(r.out.rfind(std::string("usage: scenario ") + comando, 0), 0u) << r.out;
    const std::size_t opzioni = r.out.find("\ntrain model options:\n");
    EXPECT_NE(opzioni, std::string::npos) << comando;
    EXPECT_LT(opzioni, r.out.find("\nexit status:")) << comando;
    for (const char* o : {"--acceleration M/S2", "--braking M/S2", "--braked-mass PERCENT", "--dwell SECONDS",
                          "--top-speed KM/H", "--car-length M"})
      EXPECT_NE(r.out.find("\n  " + std::string(o)), std::string::npos) << comando << " " << o;
  }
  EXPECT_EQ(esegui({"dump", "--help"}).out.find("--acceleration"), std::string::npos);
}
