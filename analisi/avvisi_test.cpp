#include "analisi/avvisi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "packer/imballa.h"
#include "prove/derivati.h"
#include "prove/sorgenti.h"

namespace {

// A 20 km line on the level; a train of 10 cars with 100 % braked mass
// (service braking 0.50 m/s²), 120 km/h from `inizio_limite`, leaving A at
// 0 m at 8:00 and due at B, 10 km on, `arrivo` seconds later. The fastest
// run from A to B takes 6:15 (1389 m accelerating, 7509 m at 120, 1102 m braking).
std::string treno_ab(int arrivo, int inizio_limite = 0, const std::string& altre_righe = "") {
  const int h = 8 + arrivo / 3600, m = arrivo / 60 % 60, s = arrivo % 60;
  return treno_prova(
      "numero vetture,    10\n"
      "percentuale massa frenata,    100\n"
      "velocita,    " + std::to_string(inizio_limite) + ",   120\n"
      "stazione,       0,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  8,0,0, A\n"
      "stazione,   10000,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  " +
      std::to_string(h) + "," + std::to_string(m) + "," + std::to_string(s) + ", B\n" + altre_righe);
}

// Compiled and finished as the tool does before it times the run.
std::unique_ptr<prova_compilazione> compila_ab(int arrivo, int inizio_limite = 0, const std::string& altre_righe = "") {
  auto p = compila_prova(linea_prova(20000), treno_ab(arrivo, inizio_limite, altre_righe));
  completa_scenario(p->f.scenario, p->f.registro);
  return p;
}

// The timetable's warnings of the compiled scenario `f`, its train as the defaults make it.
std::vector<avviso_registrato> avvisi_di(const scenario_compilato& f, double soglia) {
  return avvisi_marcia(f.registro, calcola_marcia(f.scenario, modello_da_scenario(f.scenario)), soglia);
}

std::vector<int32_t> codici(const std::vector<avviso_registrato>& avvisi) {
  std::vector<int32_t> c;
  for (const avviso_registrato& a : avvisi) c.push_back(a.codice);
  return c;
}

// The line (from 1) of the first line of `testo` that holds `pezzo`.
int32_t riga_di(const std::string& testo, const std::string& pezzo) {
  const std::size_t pos = testo.find(pezzo);
  return static_cast<int32_t>(std::count(testo.begin(), testo.begin() + static_cast<std::ptrdiff_t>(pos), '\n')) + 1;
}

}  // namespace

TEST(AvvisiMarcia, DurateComeLeScriveLOrario) {
  const std::pair<double, const char*> casi[] = {
      {0, "0:00"}, {654, "10:54"}, {3750, "1:02:30"}, {-40, "-0:40"}, {59.5, "1:00"}, {58.5, "0:58"},
  };
  for (const auto& [s, atteso] : casi) EXPECT_EQ(durata(s), atteso) << s;
}

TEST(AvvisiMarcia, TratteTroppoStretteEStrettissime) {
  struct caso {
    const char* nome;
    int arrivo;         // s after the departure
    double soglia;      // per cent
    int inizio_limite;  // m
    bool errore;        // a station off the 50 m grid after B: error 8, the train source read no further
    std::vector<int32_t> codici;
    const char* testo;  // of the first warning
  };
  const caso casi[] = {
      {"shorter than the fastest run", 6 * 60, 3, 0, false, {avviso_tratta_impossibile},
       "A to B, 10.0 km: scheduled 6:00, fastest run 6:15, margin -15 s (-3.9 %); no run keeps it"},
      {"under the threshold", 6 * 60 + 25, 3, 0, false, {avviso_margine_scarso},
       "A to B, 10.0 km: scheduled 6:25, fastest run 6:15, margin +10 s (+2.7 %); under the 3 % "
       "recovery margin"},
      {"over the threshold", 6 * 60 + 45, 3, 0, false, {}, ""},
      {"a threshold of one's own", 6 * 60 + 45, 8.5, 0, false, {avviso_margine_scarso},
       "A to B, 10.0 km: scheduled 6:45, fastest run 6:15, margin +30 s (+8.1 %); under the 8.5 % "
       "recovery margin"},
      {"a threshold of 0 is none", 6 * 60 + 15, 0, 0, false, {}, ""},
      {"the first 1000 m with no limit laid", 8 * 60, 3, 1000, false, {avviso_senza_limite},
       "no speed limit laid from 0 m to 1000 m, between A and B: the run takes the train's top speed "
       "there, 120 km/h"},
      // The compiler lays the last limit to the end only at the end of the
      // source: after an error no limit is laid at all, which is the error's doing.
      {"no stretch told after an error", 8 * 60, 3, 1000, true, {}, ""},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto p = compila_ab(c.arrivo, c.inizio_limite,
                              c.errore ? "stazione,   12010,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  9,0,0, C\n" : "");
    ASSERT_EQ(p->f.registro.errori.size(), c.errore ? 1u : 0u);
    const std::vector<avviso_registrato> a = avvisi_di(p->f, c.soglia);
    EXPECT_EQ(codici(a), c.codici);
    if (a.empty()) continue;
    EXPECT_EQ(a[0].testo, c.testo);
    EXPECT_TRUE(a[0].con_posizione);
    EXPECT_EQ(a[0].posizione, c.inizio_limite != 0 ? 0 : 10000);
    // At the arriving stop's row; a stretch with no limit lacks a row, so it has no place.
    EXPECT_EQ(a[0].file, a[0].codice == avviso_senza_limite ? std::string() : std::string(etichetta_treno));
  }
}

TEST(AvvisiMarcia, AllaRigaDellaFermataDArrivo) {
  // The n-th station row of the log is slot n: the warning stands at B's row.
  // A log cut short before B gives no place.
  const auto p = compila_ab(6 * 60);
  struct caso {
    const char* nome;
    std::vector<riga_letta> righe;
    const char* file;
    int32_t riga, colonna;
  };
  const caso casi[] = {
      {"the second station row",
       {{tipo_riga::velocita, true, 5, 1, 0},
        {tipo_riga::stazione, true, 6, 3, 0},
        {tipo_riga::segnale, true, 7, 1, 0},
        {tipo_riga::stazione, true, 8, 2, 10000}},
       etichetta_treno.data(), 8, 2},
      {"a log with one station row", {{tipo_riga::stazione, true, 6, 1, 0}}, "", 0, 0},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    p->f.registro.righe_lette = c.righe;
    const std::vector<avviso_registrato> a = avvisi_di(p->f, 3);
    ASSERT_EQ(codici(a), std::vector<int32_t>{avviso_tratta_impossibile});
    EXPECT_EQ(a[0].file, c.file);
    EXPECT_EQ(a[0].riga, c.riga);
    EXPECT_EQ(a[0].colonna, c.colonna);
  }
}

TEST(AvvisiMarcia, IlScenarioIncorporatoNonTieneMontefruscoVignalora) {
  // The built-in timetable leaves ten minutes from Montefrusco to Vignalora,
  // through a 40 km/h slow order, where the fastest run takes 10:54; every
  // other section keeps more than 3 %, and a limit is laid all the way.
  const std::string treno = dati_treno();
  const std::string linea = dati_linea();
  opzioni_compilazione o;
  o.nome_scenario = "Corvana_Telmisa";
  o.numero_treno = "739";
  o.piano_linea = false;
  o.con_marcia = false;
  const esito_compilazione e = compila({"linea", linea}, {"treno", treno}, o);
  const registro& f = e.registro;
  ASSERT_TRUE(f.errori.empty());
  const std::vector<avviso_registrato> a = avvisi_marcia(
      f, calcola_marcia(e.scenario, modello_da_scenario(e.scenario)), margine_minimo_predefinito_percento);
  ASSERT_EQ(codici(a), std::vector<int32_t>{avviso_tratta_impossibile});
  EXPECT_EQ(a[0].testo,
            "MONTEFRUSCO to VIGNALORA, 19.5 km: scheduled 10:00, fastest run 10:54, margin -54 s (-8.3 %); "
            "no run keeps it");
  EXPECT_EQ(a[0].posizione, 196000);
  // Once the compiler logs its rows, the warning stands at Vignalora's row.
  if (!f.righe_lette.empty()) {
    EXPECT_EQ(a[0].file, "treno");
    EXPECT_EQ(a[0].riga, riga_di(treno, "VIGNALORA"));
    EXPECT_EQ(a[0].colonna, 1);
  }
}
