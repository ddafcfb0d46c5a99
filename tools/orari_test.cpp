// `scenario timing` as the author runs it.
#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "prove/cartella.h"
#include "prove/comando.h"
#include "prove/documenti.h"
#include "prove/sorgenti.h"
#include "prove/tre_fermate.h"
#include "prove/treno_costante.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace fs = std::filesystem;

namespace {

// A train of a constant 0.5 m/s² both ways, two minutes less one at each stop.
std::vector<std::string> simmetrico(std::vector<std::string> altre = {}) {
  std::vector<std::string> o = opzioni_costanti_comando("0.5", "0.5");
  o.insert(o.end(), {"--dwell", "60"});
  o.insert(o.end(), altre.begin(), altre.end());
  return o;
}
const std::vector<std::string> treno_simmetrico = simmetrico();

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

TEST_F(ComandoTiming, ScenarioIncorporato_DueSezioniNonSiTengono) {
  scrivi_tutto(lavoro / "Corvana_Telmisa_linea.txt", dati_linea());
  scrivi_tutto(lavoro / "Corvana_Telmisa_739-.txt", dati_treno());
  const risultato_comando r = esegui({"timing", "Corvana_Telmisa_linea.txt", "Corvana_Telmisa_739-.txt"});
  EXPECT_EQ(r.stato, 1) << r.err;
  EXPECT_EQ(r.err, "");
  // The values used, where each came from.
  for (const char* valore : {
           "  reference train   locomotive               the train source's 14 cars and 130 % braked mass: "
           "electric locomotive with coaches",
           "  power                     5600 kW          the locomotive's, at the wheel rim",
           "  starting accel.          0.354 m/s2        at standstill on the level, after the resistance",
           "  braking                  0.642 m/s2        from the braked mass, 130 %",
           "  braked mass                130 %           train source",
           "  top speed                  175 km/h        the route's highest line limit",
           "  train length             369.6 m           cars times car length",
           "  recovery margin   5 % + 1.5 min/100 km     UIC 451-1 for passenger trains, by the top speed: 175 km/h"})
    EXPECT_TRUE(ha_riga(r.out, valore)) << valore << "\n" << r.out;
  // The stops that cannot be reached in time (their arrivals worked out), a
  // station passed, the sections and what decides them.
  for (const char* riga : {
           "  185.9    TRESCALDO            pass           18:56    18:57:13",
           "  196.0  VIGNALORA              arrival     19:00:00*   19:02:04    -124 s  -17.2 %  CANNOT BE KEPT",
           "  290.0  ALTOBRUNA              arrival     19:52:00*   19:52:05      -5 s   -0.4 %  CANNOT BE KEPT",
           "  * the next departure less the dwell: the timetable gives each stop's departure only",
           "  SCARZAVELLA - MONTEFRUSCO    70.5      43:00     31:33      2:38    34:11   +529 s   +687 s  +36.3 %",
           "  MONTEFRUSCO - VIGNALORA      19.5      10:00     12:04      0:54    12:58   -178 s   -124 s  -17.2 %  "
           "CANNOT BE KEPT",
           "  LAGO SPERTINO - ALTOBRUNA    46.0      23:00     23:05      1:51    24:56   -116 s     -5 s   -0.4 %  "
           "CANNOT BE KEPT",
           "2 of 7 sections cannot be kept, even by the fastest run: MONTEFRUSCO - VIGNALORA, LAGO SPERTINO - ALTOBRUNA.",
           "  MONTEFRUSCO - VIGNALORA: fastest 12:04, 9:53 with no restriction",
           "    slow order     40 km/h  181.0 - 181.6 km         +92.6 s  binding",
           "    cannot be kept: not even a dwell of 0 s at VIGNALORA would keep it; 3.958 times the traction would "
           "(22165 kW, 1120 kN at low speed).",
           "    slow order     50 km/h  271.3 - 273.5 km        +146.8 s  binding",
           "    cannot be kept: a dwell of 114 s or less at ALTOBRUNA would keep it; so would 1.054 times the "
           "traction (5902 kW, 298 kN at low speed).",
       })
    EXPECT_TRUE(ha_riga(r.out, riga)) << riga << "\n" << r.out;
  // Its JSON, profile and all, as the JSON library writes it.
  const risultato_comando j = esegui({"timing", "Corvana_Telmisa_linea.txt", "Corvana_Telmisa_739-.txt", "--json"});
  EXPECT_EQ(j.stato, 1);
  const nlohmann::ordered_json esito = nlohmann::ordered_json::parse(j.out);
  EXPECT_GT(esito["profilo"].size(), 300u);
  EXPECT_EQ(esito.dump(2) + "\n", j.out);
}

TEST_F(ComandoTiming, UnaSezioneSiTieneLAltraNo) {
  // The recovery margin for 90 km/h, 3 % + 1.5 min/100 km, is 22 s over each
  // section's 7:30.
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
        "    5.0    B      pass           08:04    08:03:45",
        "   10.0  C        arrival     08:09:00*   08:07:30     +90 s  +20.0 %",
        "                  departure   08:10:00",
        "   20.0  D        arrival     08:17:00    08:17:30     -30 s   -6.7 %  CANNOT BE KEPT",
        "  * the next departure less the dwell: the timetable gives each stop's departure only",
        "  A - C      10.0       9:00      7:30      0:22     7:52    +68 s    +90 s  +20.0 %",
        "  C - D      10.0       7:00      7:30      0:22     7:52    -52 s    -30 s   -6.7 %  CANNOT BE KEPT",
        "1 of 2 sections cannot be kept, even by the fastest run: C - D.",
        "    cannot be kept: no traction up to 20 times the train's would: the limits and the braking alone take "
        "longer."}},
      // No dwell: A - C is given 600 s; B's passing time is 225 × 600 / 450 =
      // 300 s after A. The arrival at D, the last stop, keeps no dwell anyway.
      {"no dwell",
       "8,17",
       simmetrico({"--dwell", "0"}),
       1,
       {"    5.0    B      pass           08:05    08:03:45",
        "  A - C      10.0      10:00      7:30      0:22     7:52   +128 s   +150 s  +33.3 %",
        "  C - D      10.0       7:00      7:30      0:22     7:52    -52 s    -30 s   -6.7 %  CANNOT BE KEPT"}},
      // A dwell of its own at C: 30 s instead of 60.
      {"a dwell at C",
       "8,17",
       simmetrico({"--dwell-at", "c=30"}),
       1,
       {"  dwell at c                  30 s           option --dwell-at",
        "   10.0  C        arrival     08:09:30*   08:07:30    +120 s  +26.7 %",
        "  A - C      10.0       9:30      7:30      0:22     7:52    +98 s   +120 s  +26.7 %"}},
      {"a minute more to D",
       "8,18",
       treno_simmetrico,
       0,
       {"  C - D      10.0       8:00      7:30      0:22     7:52     +8 s    +30 s   +6.7 %",
        "Every section can be kept with its recovery margin (3 % + 1.5 min/100 km)."}},
      // The same minute, against a recovery margin of 10 %: kept, but not with it.
      {"a minute more to D, a margin of 10 %",
       "8,18",
       simmetrico({"--margin", "10%"}),
       0,
       {"  recovery margin   10 %                     option --margin (or --min-margin)",
        "  C - D      10.0       8:00      7:30      0:45     8:15    -15 s    +30 s   +6.7 %  UNDER THE RECOVERY MARGIN",
        "1 of 2 sections can be kept only without the recovery margin (10 %): C - D."}},
      {"a minute more to D, no margin", "8,18", simmetrico({"--margin=0"}), 0, {"Every section can be kept."}},
      // A top speed of 72 km/h (20 m/s, reached in 400 m and 40 s): 80 + 9200 / 20 = 540 s, no margin left.
      {"top speed",
       "8,17",
       simmetrico({"--top-speed", "72"}),
       1,
       {"  top speed                   72 km/h        option --top-speed",
        "  A - C      10.0       9:00      9:00      0:25     9:25    -25 s     +0 s   +0.0 %  UNDER THE RECOVERY "
        "MARGIN"}},
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

// What the table used to run together or leave unsaid: a time past midnight
// whose margin fills its column, a stop due at the time of the stop before it,
// a station a row with an error began and left without its name.
TEST_F(ComandoTiming, OrariAlLimiteEStazioniLasciateDagliErrori) {
  struct caso {
    const char* nome;
    const char* arrivo;  // at D
    std::string righe;   // after D
    std::vector<std::string> righe_attese;
    std::string assente;  // in no line of the table
  };
  const caso casi[] = {
      // 25:10 is kept as 01:10 the next day (error 322): C - D's margin is
      // then more than its column holds, and still apart from its neighbours.
      {"a margin wider than its column", "25,10", "", {}, "s+"},
      {"D due at C's departure",
       "8,10",
       "",
       {"C - D: the timetable leaves no time to run (scheduled 0:00): D's time 08:10:00 is C's own."},
       ""},
      // A station 31 m off a cell's start: the row is refused after its slot was taken.
      {"a station half read",
       "8,17",
       "stazione,   19031,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  0,0, 0, E\n",
       {"Outside the run (before the first stop or after the last): a station an error left half read (slot 5).",
        "No line speed limit laid from 0.0 to 20.0 km: the errors stopped the reading of the train source before "
        "its limits reached there; mend them first (the run takes the top speed there)."},
       "a station with no name"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    scrivi_sorgenti(linea_tre_fermate(), treno_tre_fermate(c.righe, c.arrivo));
    const risultato_comando r = timing(treno_simmetrico);
    for (const std::string& riga : c.righe_attese) EXPECT_TRUE(ha_riga(r.out, riga)) << riga << "\n" << r.out;
    if (!c.assente.empty()) {
      EXPECT_EQ(r.out.find(c.assente), std::string::npos) << r.out;
    }
  }
}

TEST_F(ComandoTiming, UnaSostaPerNessunaFermataEIlProfilo) {
  // A dwell given for no stop is told, and the run goes on without it.
  scrivi_sorgenti(linea_tre_fermate(), treno_tre_fermate());
  const risultato_comando r = timing(simmetrico({"--dwell-at", "Roma=10"}));
  EXPECT_EQ(r.stato, 1);
  EXPECT_NE(r.err.find("scenario: warning 364: --dwell-at Roma: no stop of that name between the first and the "
                       "last; its dwell is not used\n"),
            std::string::npos)
      << r.err;
  EXPECT_TRUE(ha_riga(r.out, "   10.0  C        arrival     08:09:00*   08:07:30     +90 s  +20.0 %")) << r.out;

  // The run's profile as CSV: from A at rest to D at rest, C at rest between;
  // a braking point before each stop; the time of each stop's arrival is the table's.
  const risultato_comando p = timing(simmetrico({"--csv", "--profile"}));
  EXPECT_EQ(p.stato, 1) << p.err;
  const std::vector<std::string> linee = righe(p.out);
  ASSERT_GE(linee.size(), 8u);
  EXPECT_EQ(linee[0], "posizione_m,velocita_kmh,tempo_s,regime,frenatura");
  EXPECT_EQ(linee[1], "0,0,28800,traction,false");
  EXPECT_EQ(linee.back(), "20000,0,29850,stop,false");
  int frenate = 0, soste_c = 0;
  for (const std::string& l : linee) {
    frenate += l.find(",braking,true") != std::string::npos;
    soste_c += l.rfind("10000,0,", 0) == 0;
  }
  EXPECT_EQ(frenate, 2);
  EXPECT_EQ(soste_c, 2) << "the arrival at 08:07:30 and the departure at 08:10:00";
  EXPECT_TRUE(ha_riga(p.out, "10000,0,29250,stop,false"));
  EXPECT_TRUE(ha_riga(p.out, "10000,0,29400,traction,false"));

  const risultato_comando solo = timing({"--profile"});
  EXPECT_EQ(solo.stato, 2);
  EXPECT_EQ(solo.err, "scenario: option --profile goes with --csv (the JSON holds the profile always)\n");
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
  EXPECT_TRUE(ha_riga(r.out, "   10.0  CITT\u00c0\\x07  arrival     08:09:00*   08:07:30     +90 s  +20.0 %")) << r.out;
  EXPECT_TRUE(ha_riga(r.out, "  A - CITT\u00c0\\x07    10.0       9:00      7:30      0:22     7:52    +68 s    +90 s  "
                             "+20.0 %")) << r.out;
  std::vector<std::string> csv = treno_simmetrico;
  csv.push_back("--csv");
  EXPECT_NE(timing(csv).out.find(",CITT\u00c0\x07,"), std::string::npos);
}

TEST_F(ComandoTiming, JsonECsvConGliStessiCampi) {
  scrivi_sorgenti(linea_tre_fermate(), treno_tre_fermate());
  const risultato_comando j = timing(simmetrico({"--json"}));
  const risultato_comando c = timing(simmetrico({"--csv"}));
  ASSERT_EQ(j.stato, 1) << j.err;
  ASSERT_EQ(c.stato, 1) << c.err;
  EXPECT_EQ(j.err, "");
  EXPECT_EQ(c.err, "");
  // Read in order: the CSV columns are the JSON rows' keys, in the same order.
  const nlohmann::ordered_json esito = nlohmann::ordered_json::parse(j.out);
  // Written as the JSON library writes it, to the character (the profile is written apart).
  EXPECT_EQ(esito.dump(2) + "\n", j.out);
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
  EXPECT_EQ(esito["modello"]["riferimento"]["valore"], "locomotive");
  EXPECT_EQ(esito["modello"]["rilascio"]["valore"], "tail");
  EXPECT_EQ(esito["modello"]["margine"]["percento"], 3);
  EXPECT_EQ(esito["modello"]["margine"]["minuti_per_100_km"], 1.5);
  EXPECT_TRUE(esito["errori"].empty());
  // C's arrival is worked out from its departure; D's is read.
  EXPECT_EQ(righe_json[2]["orario_derivato"], true);
  EXPECT_EQ(d["orario_derivato"], false);
  EXPECT_TRUE(righe_json[0]["orario_derivato"].is_null());
  // Each section: the recovery margin, what is left, the verdict, what decides it.
  const nlohmann::ordered_json& cd = esito["sezioni"][1];
  EXPECT_EQ(cd["sosta_s"], 0);
  EXPECT_EQ(cd["verdetto"], "cannot be kept");
  EXPECT_NEAR(cd["recupero_s"].get<double>(), 450 * 0.03 + 9, 1e-3);
  EXPECT_NEAR(cd["residuo_s"].get<double>(), 420 - 450 * 1.03 - 9, 1e-3);
  EXPECT_EQ(cd["con_recupero"], false);
  EXPECT_TRUE(cd["sosta_che_tiene_s"].is_null()) << "D is the destination";
  EXPECT_EQ(cd["decisione"]["tempo_senza_restrizioni_s"], 450);
  EXPECT_TRUE(cd["decisione"]["restrizioni"].empty());
  EXPECT_TRUE(cd["decisione"]["trazione_che_tiene"].is_null());
  EXPECT_EQ(esito["sezioni"][0]["verdetto"], "kept with margin");
  EXPECT_EQ(esito["con_recupero"], false);
  // The profile: every point with its position, speed, time of day, what the
  // train does next and whether a braking begins there.
  const nlohmann::ordered_json& profilo = esito["profilo"];
  ASSERT_GE(profilo.size(), 8u);
  std::vector<std::string> chiavi;
  for (const auto& [k, v] : profilo[0].items()) chiavi.push_back(k);
  EXPECT_EQ(chiavi, (std::vector<std::string>{"posizione_m", "velocita_kmh", "tempo_s", "regime", "frenatura"}));
  EXPECT_EQ(profilo.back()["tempo_s"], 8 * 3600 + 17 * 60 + 30);
  EXPECT_EQ(profilo.back()["regime"], "stop");
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
  EXPECT_TRUE(ha_riga(r.out, "  A - C      10.0       9:00      5:14      0:22     5:35   +205 s   +226 s  +72.0 %"))
      << r.out;
  EXPECT_TRUE(ha_riga(r.out, "No line speed limit laid from 0.0 to 20.0 km: the errors stopped the reading of the "
                            "train source before its limits reached there; mend them first (the run takes the top "
                            "speed there)."))
      << r.out;
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
