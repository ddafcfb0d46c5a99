#include "analisi/avvisi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "packer/imballa.h"
#include "porta/compila.h"
#include "prove/derivati.h"
#include "prove/sorgenti.h"
#include "prove/treno_costante.h"

namespace {

// A 20 km line on the level; a train of 10 cars with 100 % braked mass
// (service braking 0.50 m/s²), 120 km/h from `inizio_limite`, leaving A at
// 0 m at 8:00 and due at B, 10 km on, `arrivo` seconds later. Accelerating at
// a constant 0.4 m/s², the fastest run from A to B takes 6:15 (1389 m
// accelerating, 7509 m at 120, 1102 m braking); the recovery margin for a
// top speed of 120 km/h, 3 % + 1.5 min/100 km, is 20.25 s over it.
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

// That train, with the recovery margin `margine` when given.
opzioni_marcia treno_ab_costante(std::optional<margine_recupero> margine = std::nullopt) {
  opzioni_marcia o = opzioni_costanti(0.4, decelerazione_da_massa_frenata(100));
  o.decelerazione.reset();  // from the braked mass
  o.margine = margine;
  return o;
}

// The timetable's warnings of the compiled scenario `f`, its train and margin as `o` sets them.
std::vector<avviso_registrato> avvisi_di(const scenario_compilato& f, const opzioni_marcia& o = {}) {
  return avvisi_marcia(f.registro, calcola_marcia(f.scenario, modello_da_scenario(f.scenario, o)));
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
    int arrivo;                                // s after the departure
    std::optional<margine_recupero> margine;   // none: the default for 120 km/h
    int inizio_limite;                         // m
    bool errore;  // a station off the 50 m grid after B: error 8, the train source read no further
    std::vector<int32_t> codici;
    const char* testo;  // of the first warning
  };
  const caso casi[] = {
      {"shorter than the fastest run", 6 * 60, {}, 0, false, {avviso_tratta_impossibile},
       "A to B, 10.0 km: scheduled 6:00, fastest run 6:15, margin -15 s (-3.9 %); no run keeps it"},
      {"under the recovery margin", 6 * 60 + 25, {}, 0, false, {avviso_margine_scarso},
       "A to B, 10.0 km: scheduled 6:25, fastest run 6:15, margin +10 s (+2.7 %); with the recovery margin of "
       "3 % + 1.5 min/100 km (0:20) it needs 6:35, 10 s more"},
      {"over the recovery margin", 6 * 60 + 45, {}, 0, false, {}, ""},
      {"a margin of one's own", 6 * 60 + 45, margine_recupero{8.5, 0}, 0, false, {avviso_margine_scarso},
       "A to B, 10.0 km: scheduled 6:45, fastest run 6:15, margin +30 s (+8.1 %); with the recovery margin of "
       "8.5 % (0:32) it needs 6:47, 2 s more"},
      {"a margin per distance alone", 6 * 60 + 40, margine_recupero{0, 4.5}, 0, false, {avviso_margine_scarso},
       "A to B, 10.0 km: scheduled 6:40, fastest run 6:15, margin +25 s (+6.7 %); with the recovery margin of "
       "4.5 min/100 km (0:27) it needs 6:42, 2 s more"},
      {"a margin of 0 is none", 6 * 60 + 15, margine_recupero{0, 0}, 0, false, {}, ""},
      {"the first 1000 m with no limit laid", 8 * 60, {}, 1000, false, {avviso_senza_limite},
       "no speed limit laid from 0 m to 1000 m, between A and B: the run takes the train's top speed "
       "there, 120 km/h"},
      // The compiler lays the last limit to the end only at the end of the
      // source: after an error no limit is laid at all, which is the error's doing.
      {"no stretch told after an error", 8 * 60, {}, 1000, true, {}, ""},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto p = compila_ab(c.arrivo, c.inizio_limite,
                              c.errore ? "stazione,   12010,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  9,0,0, C\n" : "");
    ASSERT_EQ(p->f.registro.errori.size(), c.errore ? 1u : 0u);
    const std::vector<avviso_registrato> a = avvisi_di(p->f, treno_ab_costante(c.margine));
    EXPECT_EQ(codici(a), c.codici);
    if (a.empty()) continue;
    EXPECT_EQ(a[0].testo, c.testo);
    EXPECT_TRUE(a[0].con_posizione);
    EXPECT_EQ(a[0].posizione, c.inizio_limite != 0 ? 0 : 10000);
    // At the arriving stop's row; a stretch with no limit lacks a row, so it has no place.
    EXPECT_EQ(a[0].file, a[0].codice == avviso_senza_limite ? std::string() : std::string(etichetta_treno));
  }
}

TEST(AvvisiMarcia, LaSostaCheTerrebbeLaSezioneEQuellaDataPerNessunaFermata) {
  // A, B 10 km on and C 10 km further; B's departure 6:30 after A's: with a
  // dwell of 2:00 the section is given 4:30, 105 s short of 6:15; a dwell of
  // 15 s or less at B would keep it. C is the destination: it has no dwell.
  const std::string c = "stazione,   20000,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  9,0,0, C\n";
  const auto p = compila_ab(6 * 60 + 30, 0, c);
  opzioni_marcia o = treno_ab_costante(margine_recupero{0, 0});
  o.soste = {{"c", 30}, {"Roma", 60}};
  const std::vector<avviso_registrato> a = avvisi_di(p->f, o);
  ASSERT_EQ(codici(a), (std::vector<int32_t>{avviso_tratta_impossibile, avviso_sosta_senza_fermata,
                                             avviso_sosta_senza_fermata}));
  EXPECT_EQ(a[0].testo,
            "A to B, 10.0 km: scheduled 4:30, fastest run 6:15, margin -105 s (-27.9 %); no run keeps it with a "
            "dwell of 2:00 at B; one of 15 s or less would");
  EXPECT_EQ(a[1].testo, "--dwell-at c: no stop of that name between the first and the last; its dwell is not used");
  EXPECT_FALSE(a[1].con_posizione);
  // Given for B, 15 s keeps it; 16 s does not, and no dwell at all would still not be enough for 3:00.
  o.soste = {{"b", 15}};
  EXPECT_TRUE(avvisi_di(p->f, o).empty());
  o.soste = {{"B", 16}};
  EXPECT_EQ(codici(avvisi_di(p->f, o)), std::vector<int32_t>{avviso_tratta_impossibile});
  const auto stretta = compila_ab(3 * 60, 0, c);
  EXPECT_EQ(avvisi_di(stretta->f, treno_ab_costante()).at(0).testo,
            "A to B, 10.0 km: scheduled 1:00, fastest run 6:15, margin -315 s (-84.0 %); no run keeps it, not "
            "even with no dwell at B");
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
    const std::vector<avviso_registrato> a = avvisi_di(p->f, treno_ab_costante());
    ASSERT_EQ(codici(a), std::vector<int32_t>{avviso_tratta_impossibile});
    EXPECT_EQ(a[0].file, c.file);
    EXPECT_EQ(a[0].riga, c.riga);
    EXPECT_EQ(a[0].colonna, c.colonna);
  }
}

TEST(AvvisiMarcia, IlScenarioIncorporatoNonTieneDueSezioni) {
  // The built-in timetable leaves ten minutes from Montefrusco to Vignalora,
  // through a 40 km/h slow order, where the fastest run of its locomotive and
  // 14 coaches takes 12:04; and 23 minutes from Lago Spertino to Altobruna,
  // through the 50 km/h slow order at Roccafialda, where it takes 23:05. Every
  // other section keeps its recovery margin, and a limit is laid all the way.
  const std::string treno = dati_treno();
  const std::string linea = dati_linea();
  opzioni_compilazione o;
  o.nome_scenario = "Corvana_Telmisa";
  o.numero_treno = "739";
  o.piano_linea = false;
  const esito_compilazione e = compila({"linea", linea}, {"treno", treno}, o);
  const registro& f = e.registro;
  ASSERT_TRUE(f.errori.empty());
  ASSERT_TRUE(e.marcia);
  const std::vector<avviso_registrato> a = avvisi_marcia(f, *e.marcia);
  ASSERT_EQ(codici(a), (std::vector<int32_t>{avviso_tratta_impossibile, avviso_tratta_impossibile}));
  EXPECT_EQ(a[0].testo,
            "MONTEFRUSCO to VIGNALORA, 19.5 km: scheduled 10:00, fastest run 12:04, margin -124 s (-17.1 %); "
            "no run keeps it, not even with no dwell at VIGNALORA");
  EXPECT_EQ(a[0].posizione, 196000);
  EXPECT_EQ(a[1].testo,
            "LAGO SPERTINO to ALTOBRUNA, 46.0 km: scheduled 23:00, fastest run 23:05, margin -5 s (-0.4 %); "
            "no run keeps it with a dwell of 2:00 at ALTOBRUNA; one of 114 s or less would");
  // Once the compiler logs its rows, the warning stands at Vignalora's row.
  if (!f.righe_lette.empty()) {
    EXPECT_EQ(a[0].file, "treno");
    EXPECT_EQ(a[0].riga, riga_di(treno, "VIGNALORA"));
    EXPECT_EQ(a[0].colonna, 1);
  }
}
