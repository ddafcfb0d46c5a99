#include "analisi/marcia.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "formato/vocabolario.h"
#include "prove/treno_costante.h"

namespace {

// A compiled scenario made by hand: a grid of cells 0..n, running values laid
// over ranges of cells, point features, station slots and the train's header.
struct scenario_prova {
  scenario f;
  explicit scenario_prova(int n) { f.percorso.assign(static_cast<std::size_t>(n) + 1, cella_percorso{}); }
  cella_percorso& operator[](int c) { return f.percorso.at(static_cast<std::size_t>(c)); }
  // Cells da..a - 1 get the limit (km/h, stored / 5) and the gradient (per mille, stored + 100).
  scenario_prova& linea(int da, int a, int limite_kmh, int pendenza = 0) {
    for (int c = da; c < a; ++c) {
      (*this)[c].velocita = static_cast<uint8_t>(limite_kmh / 5);
      (*this)[c].pendenza = static_cast<uint8_t>(pendenza + 100);
    }
    return *this;
  }
  scenario_prova& punto(int c, tipo_cella tipo, int16_t dato1, int16_t dato3 = 0) {
    (*this)[c].tipo = tipo;
    (*this)[c].dato1 = dato1;
    (*this)[c].dato3 = dato3;
    return *this;
  }
  scenario_prova& stazione(int slot, const std::string& nome, int32_t posizione, int32_t codice) {
    record_stazione& s = f.tabella_stazioni.at(static_cast<std::size_t>(slot));
    s.marca = 12;
    s.nome = nome;
    s.valore3 = posizione;
    s.codice = codice;
    return *this;
  }
  scenario_prova& treno(int32_t massa_frenata, int32_t vetture) {
    f.tabella_stazioni[slot_treno_percorso].valore1 = massa_frenata;
    f.tabella_stazioni[slot_treno_percorso].valore3 = vetture;
    return *this;
  }
};

constexpr int32_t ora(int h, int m, int s = 0) { return h * 3600 + m * 60 + s; }

// A train that accelerates and brakes at a constant 0.5 m/s², so that a run
// on the level is symmetric.
modello_treno treno_simmetrico(const scenario& f) { return modello_da_scenario(f, opzioni_costanti(0.5, 0.5)); }

// Every number of the result is finite.
void tutto_finito(const marcia& r, const std::string& nome) {
  auto finito = [&](double x, const char* cosa) { EXPECT_TRUE(std::isfinite(x)) << nome << ": " << cosa; };
  finito(r.modello.massa_t, "mass");
  finito(r.modello.sforzo_trazione_kn, "tractive effort");
  finito(r.modello.decelerazione, "braking");
  finito(r.modello.velocita_massima_kmh, "top speed");
  finito(r.modello.lunghezza_treno_m, "train length");
  for (const sezione& s : r.sezioni) {
    for (double x : {s.distanza_m, s.partenza_s, s.tempo_orario_s, s.tempo_minimo_s, s.margine_s,
                     s.margine_percento, s.da.ora_s, s.a.ora_s})
      finito(x, "section");
    for (const passaggio& p : s.passaggi) {
      finito(p.ora_piu_veloce_s, "fastest passing time");
      finito(p.ora_orario_s, "scheduled passing time");
    }
  }
  for (const punto_marcia& p : r.profilo) {
    finito(p.posizione_m, "profile");
    finito(p.velocita_kmh, "profile");
    finito(p.ora_s, "profile");
  }
  for (const intervallo& i : r.senza_limite) {
    finito(i.inizio_m, "no limit");
    finito(i.fine_m, "no limit");
  }
}

}  // namespace

TEST(Marcia, ProfiloDaUnaGrigliaFattaAMano) {
  // 20 km: no limit on the first 500 m, 120 km/h with a 10 per mille climb
  // from 2500 to 3000 m, 160 km/h from 10 km, the grid's last three cells
  // with nothing laid. Slow orders: one at 40 km/h for the whole train with
  // another at 60 inside it; one whose end fell on its start; an end alone.
  scenario_prova s(400);
  s.linea(0, 10, 0).linea(10, 200, 120).linea(50, 60, 120, 10).linea(200, 398, 160);
  s.punto(100, tipo_inizio_rallentamento, 40, 1)
      .punto(102, tipo_inizio_rallentamento, 60)
      .punto(103, tipo_fine_rallentamento, 60)
      .punto(106, tipo_fine_rallentamento, 40, 1)
      .punto(150, tipo_inizio_rallentamento, 30)
      .punto(160, tipo_fine_rallentamento, 50)
      .punto(300, tipo_abbattimento, 80)
      .punto(310, tipo_abbattimento_senza_velocita, 0)
      .punto(320, tipo_segnale, 43);
  s.stazione(1, "A", 0, ora(17, 13)).stazione(2, "B", 5000, 0).stazione(3, "C", 10000, ora(17, 23));
  s.stazione(4, "D", 19000, ora(17, 40));

  const profilo_corsa p = profilo_da_scenario(s.f);
  const std::vector<tratto_profilo> tratti = {
      {0, 500, 0, 0},         {500, 2500, 120, 0},      {2500, 3000, 120, 10},
      {3000, 10000, 120, 0},  {10000, 19900, 160, 0},   {19900, 20050, 0, 0},
  };
  EXPECT_EQ(p.tratti, tratti);
  const std::vector<rallentamento_profilo> ordini = {
      {5100, 5150, 60, false}, {5000, 5300, 40, true}, {7500, 7550, 30, false}};
  EXPECT_EQ(p.rallentamenti, ordini);
  EXPECT_EQ(p.punti, (std::vector<punto_limite>{{15000, 80}}));
  EXPECT_EQ(p.fermate, (std::vector<double>{0, 10000, 19000}));

  const marcia r = calcola_marcia(s.f, modello_da_scenario(s.f));
  ASSERT_EQ(r.sezioni.size(), 2u);
  EXPECT_EQ(r.sezioni[0].da.nome, "A");
  EXPECT_EQ(r.sezioni[0].a.nome, "C");
  ASSERT_EQ(r.sezioni[0].passaggi.size(), 1u);
  EXPECT_EQ(r.sezioni[0].passaggi[0].stazione.nome, "B");
  EXPECT_EQ(r.sezioni[1].da.nome, "C");
  EXPECT_EQ(r.sezioni[1].a.nome, "D");
  EXPECT_EQ(r.senza_limite, (std::vector<intervallo>{{0, 500}}));
  // The profile runs from the first stop to the last, standing at the stop between.
  ASSERT_FALSE(r.profilo.empty());
  EXPECT_EQ(r.profilo.front().ora_s, ora(17, 13));
  EXPECT_EQ(r.profilo.back().posizione_m, 19000);
  EXPECT_EQ(r.profilo.back().velocita_kmh, 0);
}

TEST(Marcia, StazioniFinoAlPrimoSlotVuotoEPrimaDeiCartelli) {
  struct caso {
    const char* nome;
    int cartello;         // slot named by a kilometre board on the grid; 0: none
    int vuoto;            // slot left empty; 0: none
    std::size_t fermate;  // stops found (every station has a time)
  };
  const caso casi[] = {
      {"stations up to the first empty slot", 0, 4, 3},
      {"not into the boards' texts", 5, 0, 4},
      {"a board's slot beyond the table's station part is no bound", 85, 0, 7},
  };
  for (const caso& c : casi) {
    scenario_prova s(400);
    s.linea(0, 397, 100);
    for (int slot = 1; slot <= 7; ++slot) s.stazione(slot, "S" + std::to_string(slot), slot * 2000, ora(8, slot * 5));
    if (c.vuoto != 0) s.f.tabella_stazioni[static_cast<std::size_t>(c.vuoto)] = record_stazione{};
    if (c.cartello != 0) s.punto(390, tipo_indicatore_km, static_cast<int16_t>(c.cartello));
    EXPECT_EQ(profilo_da_scenario(s.f).fermate.size(), c.fermate) << c.nome;
  }
}

namespace {

// The options of the model's braking, dwell, top speed and car length.
opzioni_marcia opzioni(std::optional<double> accelerazione, std::optional<double> decelerazione,
                       std::optional<double> massa_frenata, std::optional<double> sosta,
                       std::optional<double> velocita, std::optional<double> vettura) {
  opzioni_marcia o;
  o.accelerazione = accelerazione;
  o.decelerazione = decelerazione;
  o.percentuale_massa_frenata = massa_frenata;
  o.sosta_s = sosta;
  o.velocita_massima_kmh = velocita;
  o.lunghezza_vettura_m = vettura;
  return o;
}

}  // namespace

TEST(Marcia, ModelloDalTrenoEDalleOpzioni) {
  const double nan = std::nan("");
  struct caso {
    const char* nome;
    int32_t massa_frenata, vetture;
    opzioni_marcia o;
    double percentuale, decelerazione, velocita_massima, lunghezza;
  };
  const caso casi[] = {
      {"from the train source", 130, 14, {}, 130, 0.6418, 160, 14 * 26.4},
      {"no braked mass given counts as 30 %", 0, 14, {}, 30, 0.1834, 160, 14 * 26.4},
      {"1000 % counts as 200 %", 1000, 14, {}, 200, 0.9628, 160, 14 * 26.4},
      {"100 %", 100, -3, {}, 100, 0.5043, 160, 0},
      {"options", 130, 14, opzioni(0.3, 0.7, 90, 300, 140, 20), 90, 0.7, 140, 14 * 20},
      {"the braked mass from the options", 130, 14, opzioni({}, {}, 100, {}, {}, {}), 100, 0.5043, 160, 14 * 26.4},
      {"options that are no number count as not given", 130, 14, opzioni(nan, nan, nan, nan, nan, nan), 130, 0.6418,
       160, 14 * 26.4},
      {"an absurd top speed is clamped", 130, 14, opzioni({}, {}, {}, {}, 1e6, {}), 130, 0.6418, 600, 14 * 26.4},
  };
  for (const caso& c : casi) {
    scenario_prova s(400);
    s.linea(0, 100, 120).linea(100, 397, 160).treno(c.massa_frenata, c.vetture);
    const modello_treno m = modello_da_scenario(s.f, c.o);
    EXPECT_EQ(m.percentuale_letta, c.massa_frenata) << c.nome;
    EXPECT_EQ(m.percentuale_massa_frenata, c.percentuale) << c.nome;
    EXPECT_NEAR(m.decelerazione, c.decelerazione, 1e-4) << c.nome;
    EXPECT_EQ(m.velocita_massima_kmh, c.velocita_massima) << c.nome;
    EXPECT_NEAR(m.lunghezza_treno_m, c.lunghezza, 1e-9) << c.nome;
  }
  // With no limit laid anywhere the top speed falls back on 160 km/h.
  EXPECT_EQ(modello_da_scenario(scenario_prova(400).f).velocita_massima_kmh, velocita_massima_di_ripiego_kmh);
  EXPECT_EQ(modello_da_scenario(scenario_prova(400).f).sosta_s, sosta_predefinita_s);
}

TEST(Marcia, IlTrenoDiRiferimentoDaVettureEMassaFrenata) {
  // 1 to 6 cars and 120 % or more: a multiple unit of 45 t, 650 kW and 50 kN a
  // car, half its mass on driven axles; else a locomotive of 87 t, 5600 kW and
  // 300 kN with its cars as coaches of 45 t. The resistance is Sauthoff's, the
  // top speed the route's (200 km/h) within the train's, the recovery margin
  // by that speed.
  struct caso {
    const char* nome;
    int32_t vetture, massa_frenata;
    opzioni_marcia o;
    treno_riferimento atteso;
    double massa, aderente, potenza, sforzo, velocita, percento;
  };
  opzioni_marcia pesante;
  pesante.massa_t = 400;
  pesante.riferimento = treno_riferimento::elettrotreno;
  opzioni_marcia forte;
  forte.potenza_kw = 7000;
  forte.sforzo_trazione_kn = 350;
  const caso casi[] = {
      {"4 cars, 150 %: a unit", 4, 150, {}, treno_riferimento::elettrotreno, 180, 90, 2600, 200, 160, 4},
      {"6 cars, 120 %: a unit", 6, 120, {}, treno_riferimento::elettrotreno, 270, 135, 3900, 300, 160, 4},
      {"7 cars, 150 %: a locomotive", 7, 150, {}, treno_riferimento::locomotiva, 402, 87, 5600, 300, 200, 5},
      {"4 cars, 110 %: a locomotive", 4, 110, {}, treno_riferimento::locomotiva, 267, 87, 5600, 300, 200, 5},
      {"no car: a locomotive alone", 0, 150, {}, treno_riferimento::locomotiva, 87, 87, 5600, 300, 200, 5},
      {"a unit of 400 t: half of it driven", 14, 130, pesante, treno_riferimento::elettrotreno, 400, 200, 9100, 700,
       160, 4},
      {"power and effort given", 14, 130, forte, treno_riferimento::locomotiva, 717, 87, 7000, 350, 200, 5},
  };
  for (const caso& c : casi) {
    scenario_prova s(400);
    s.linea(0, 397, 200).treno(c.massa_frenata, c.vetture);
    const modello_treno m = modello_da_scenario(s.f, c.o);
    EXPECT_EQ(m.riferimento, c.atteso) << c.nome;
    EXPECT_NEAR(m.massa_t, c.massa, 1e-9) << c.nome;
    EXPECT_NEAR(m.massa_aderente_t, c.aderente, 1e-9) << c.nome;
    EXPECT_NEAR(m.potenza_kw, c.potenza, 1e-9) << c.nome;
    EXPECT_NEAR(m.sforzo_trazione_kn, c.sforzo, 1e-9) << c.nome;
    EXPECT_EQ(m.velocita_massima_kmh, c.velocita) << c.nome;
    EXPECT_EQ(m.margine.percento, c.percento) << c.nome;
    EXPECT_EQ(m.margine.minuti_per_100_km, 1.5) << c.nome;
    const resistenza_davis r = resistenza_sauthoff(m.massa_t, std::max(0, c.vetture));
    EXPECT_NEAR(m.resistenza_a_kn, r.a, 1e-9) << c.nome;
  }
  // Sauthoff's formula at 160 km/h for 717 t and 14 coaches: 1.9 + 0.4 + 0.0048
  // × 16.7 × 1.45 × 175² / 717 = 7.65 N per kN of 7034 kN.
  const resistenza_davis r = resistenza_sauthoff(717, 14);
  const double w = 1.9 + 0.0025 * 160 + 0.0048 * 16.7 * 1.45 * 175 * 175 / 717;
  EXPECT_NEAR(r.a + r.b * 160 + r.c * 160 * 160, w * 717 * gravita / 1000, 1e-9);
  // The starting acceleration given sets the effort at low speed, the adhesion aside.
  scenario_prova s(400);
  s.linea(0, 397, 160).treno(130, 14);
  opzioni_marcia o;
  o.accelerazione = 0.5;
  const modello_treno m = modello_da_scenario(s.f, o);
  EXPECT_EQ(m.aderenza, 0);
  EXPECT_NEAR(accelerazione_in_piano(m, 0), 0.5, 1e-12);
}

TEST(Marcia, SezioneMarginiEPassaggiAlMinuto) {
  // 8 km on the level at 120 km/h (33.3 m/s). With 0.5 m/s² both ways the
  // fastest run takes 8000 / v + v / 0.5 s and passes half way at half that
  // time, where the scheduled passing time is half the scheduled time after
  // the departure; a station where the run leaves is passed at the departure.
  // Passing times are rounded to the minute, half to even.
  const double v = 120 / 3.6, minimo = 8000 / v + v / 0.5;
  struct caso {
    int32_t partenza;
    int32_t orario;     // A to C, s
    int32_t posizione;  // of B
    double piu_veloce;  // from the departure to B
    int32_t passaggio_orario;
  };
  const caso casi[] = {
      {ora(17, 13), 400, 4000, minimo / 2, ora(17, 16)},     // 17:16:20
      {ora(17, 13), 440, 4000, minimo / 2, ora(17, 17)},     // 17:16:40
      {ora(17, 13), 280, 4000, minimo / 2, ora(17, 15)},     // 17:15:20, no margin
      {ora(17, 13, 30), 400, 0, 0, ora(17, 14)},             // 17:13:30
      {ora(17, 14, 30), 400, 0, 0, ora(17, 14)},             // 17:14:30
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(std::to_string(c.orario) + " s, B at " + std::to_string(c.posizione));
    scenario_prova s(400);
    s.linea(0, 397, 120);
    s.stazione(1, "A", 0, c.partenza).stazione(2, "B", c.posizione, 0).stazione(3, "C", 8000, c.partenza + c.orario);
    const marcia r = calcola_marcia(s.f, treno_simmetrico(s.f));
    ASSERT_EQ(r.sezioni.size(), 1u);
    const sezione& z = r.sezioni[0];
    EXPECT_EQ(z.distanza_m, 8000);
    EXPECT_EQ(z.partenza_s, c.partenza);
    EXPECT_EQ(z.tempo_orario_s, c.orario);  // the destination's time is its arrival
    EXPECT_NEAR(z.tempo_minimo_s, minimo, 1e-9);
    EXPECT_NEAR(z.margine_s, c.orario - minimo, 1e-9);
    EXPECT_NEAR(z.margine_percento, 100 * (c.orario - minimo) / minimo, 1e-9);
    EXPECT_EQ(z.mantenibile, c.orario >= minimo);
    ASSERT_EQ(z.passaggi.size(), 1u);
    EXPECT_NEAR(z.passaggi[0].ora_piu_veloce_s, c.partenza + c.piu_veloce, 1e-9);
    EXPECT_EQ(z.passaggi[0].ora_orario_s, c.passaggio_orario);
  }
}

TEST(Marcia, OrariCheSalgonoConUnaMezzanotte) {
  using A = anomalia_orario;
  struct caso {
    const char* nome;
    std::vector<int32_t> codici;  // four stops, 10 km apart
    std::vector<double> ore;      // unfolded
    std::vector<anomalia_fermata> anomalie;
    std::vector<double> orari;    // scheduled running times, with two minutes at each stop
  };
  const int32_t g = 86400;
  const caso casi[] = {
      {"rising", {ora(17, 0), ora(17, 20), ora(17, 40), ora(18, 0)},
       {ora(17, 0), ora(17, 20), ora(17, 40), ora(18, 0)}, {}, {1080, 1080, 1200}},
      {"across midnight", {ora(23, 30), ora(23, 50), ora(0, 10), ora(0, 30)},
       {ora(23, 30), ora(23, 50), g + ora(0, 10), g + ora(0, 30)}, {}, {1080, 1080, 1200}},
      {"a time that goes back", {ora(17, 0), ora(17, 36), ora(17, 20), ora(18, 5)},
       {ora(17, 0), ora(17, 36), ora(17, 20), ora(18, 5)}, {{3, A::ora_indietro}}, {2040, -1080, 2700}},
      {"midnight twice", {ora(22, 0), ora(4, 0), ora(15, 0), ora(1, 0)},
       {ora(22, 0), g + ora(4, 0), g + ora(15, 0), 2 * g + ora(1, 0)}, {{4, A::seconda_mezzanotte}},
       {21480, 39480, 36000}},
      {"negative times", {-600, 600, 1800, 3000}, {-600, 600, 1800, 3000}, {}, {1080, 1080, 1200}},
  };
  for (const caso& c : casi) {
    scenario_prova s(1000);
    s.linea(0, 997, 100);
    for (int k = 0; k < 4; ++k) s.stazione(k + 1, "S", 10000 * k + 1000, c.codici[static_cast<std::size_t>(k)]);
    const marcia r = calcola_marcia(s.f, modello_da_scenario(s.f));
    ASSERT_EQ(r.sezioni.size(), 3u) << c.nome;
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_EQ(r.sezioni[k].da.ora_s, c.ore[k]) << c.nome << ", section " << k;
      EXPECT_EQ(r.sezioni[k].a.ora_s, c.ore[k + 1]) << c.nome << ", section " << k;
      EXPECT_EQ(r.sezioni[k].tempo_orario_s, c.orari[k]) << c.nome << ", section " << k;
    }
    ASSERT_EQ(r.anomalie.size(), c.anomalie.size()) << c.nome;
    for (std::size_t k = 0; k < c.anomalie.size(); ++k) {
      EXPECT_EQ(r.anomalie[k].slot, c.anomalie[k].slot) << c.nome;
      EXPECT_EQ(r.anomalie[k].tipo, c.anomalie[k].tipo) << c.nome;
    }
    tutto_finito(r, c.nome);
  }
}

TEST(Marcia, CasiLimiteRestanoFiniti) {
  struct stazione {
    int32_t posizione, codice;
  };
  struct caso {
    const char* nome;
    int celle;  // the grid's highest cell; -1: no grid at all
    std::vector<stazione> stazioni;
    std::size_t sezioni, fuori_corsa, punti_profilo;  // punti_profilo: 0 means "any"
  };
  const caso casi[] = {
      {"no stop", 400, {{0, 0}, {5000, 0}}, 0, 2, 0},
      {"one stop", 400, {{0, 0}, {5000, ora(8, 0)}, {9000, 0}}, 0, 2, 1},
      {"two stops at one place", 400, {{5000, ora(8, 0)}, {5000, ora(8, 3)}}, 1, 0, 1},
      {"the next stop behind", 400, {{5000, ora(8, 0)}, {3000, ora(8, 3)}}, 1, 0, 1},
      {"stops beyond the grid", 400, {{0, ora(8, 0)}, {30000, ora(8, 30)}, {-2000, ora(9, 0)}}, 2, 0, 0},
      {"a route of 0 m", 140, {{0, ora(8, 0)}, {0, ora(8, 5)}}, 1, 0, 1},
      {"no grid", -1, {{0, ora(8, 0)}, {5000, ora(8, 5)}}, 1, 0, 0},
      {"negative times", 400, {{0, -ora(1, 0)}, {5000, -ora(0, 50)}}, 1, 0, 0},
  };
  for (const caso& c : casi) {
    scenario_prova s(0);
    s.f.percorso.clear();
    if (c.celle >= 0) {
      s = scenario_prova(c.celle);
      s.linea(0, std::max(0, c.celle - 2), 100, 30);
    }
    int slot = 1;
    for (const stazione& st : c.stazioni) s.stazione(slot++, "S", st.posizione, st.codice);
    const marcia r = calcola_marcia(s.f, modello_da_scenario(s.f));
    EXPECT_EQ(r.sezioni.size(), c.sezioni) << c.nome;
    EXPECT_EQ(r.fuori_corsa.size(), c.fuori_corsa) << c.nome;
    if (c.punti_profilo != 0) {
      EXPECT_EQ(r.profilo.size(), c.punti_profilo) << c.nome;
    }
    for (const sezione& z : r.sezioni) {
      EXPECT_GE(z.distanza_m, 0) << c.nome;
      EXPECT_GE(z.tempo_minimo_s, 0) << c.nome;
    }
    tutto_finito(r, c.nome);
  }
}

TEST(Marcia, UnRallentamentoChiusoSullaSuaCellaTieneFinoAllaCoda) {
  // A slow order whose end fell on its start's cell (no end cell closes it)
  // restricts its own cell, from its point up to the next cell's point; one
  // for the whole train, and any under the tail rule, until the tail has
  // cleared that point too: 50 m and the train's 264 m (10 cars).
  struct caso {
    const char* nome;
    int16_t treno_intero;
    bool coda;
    double fine;
  };
  const caso casi[] = {
      {"for the whole train, released at the head", 1, false, 5050 + 264},
      {"for the whole train, released at the tail", 1, true, 5050 + 264},
      {"for the head, released at the head", 0, false, 5050},
      {"for the head, released at the tail", 0, true, 5050 + 264},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    scenario_prova s(400);
    s.linea(0, 397, 120).treno(100, 10).punto(100, tipo_inizio_rallentamento, 30, c.treno_intero);
    s.stazione(1, "A", 0, ora(8, 0)).stazione(2, "B", 15000, ora(8, 20));
    EXPECT_EQ(profilo_da_scenario(s.f).rallentamenti,
              (std::vector<rallentamento_profilo>{{5000, 5050, 30, c.treno_intero == 1}}));
    opzioni_marcia o = opzioni_costanti(0.5, 0.5);
    o.rilascio_in_coda = c.coda;
    const marcia m = calcola_marcia(s.f, modello_da_scenario(s.f, o));
    const std::vector<decisione_sezione> d = decidi_sezioni(s.f, m);
    ASSERT_EQ(d.size(), 1u);
    ASSERT_FALSE(d[0].restrizioni.empty());
    const costo_restrizione& r = d[0].restrizioni[0];
    EXPECT_EQ(r.tipo, tipo_restrizione::rallentamento);
    EXPECT_EQ(r.inizio_m, 5000);
    EXPECT_NEAR(r.fine_m, c.fine, 1e-9);
    // Held at 30 km/h right up to there, faster beyond.
    const tratta_corsa t = calcola_corsa(profilo_da_scenario(s.f), m.modello).tratte.at(0);
    EXPECT_LE(velocita_in(t, c.fine - 0.5), 30 + 1e-9);
    EXPECT_GT(velocita_in(t, c.fine + 20), 30);
  }
}

TEST(Marcia, SosteArriviDerivatiEMargineDiRecupero) {
  // A (0 m, 8:00), B (10 km, 8:10), C (20 km, 8:20); the train of a constant
  // 0.5 m/s² both ways takes 10000 / 33.3 + 33.3 / 0.5 = 366.7 s over each
  // section at 120 km/h. B's arrival is its departure less the dwell; C's is
  // read. The recovery margin of 10 % + 6 min/100 km adds 36.7 + 36 s.
  const double v = 120 / 3.6, minimo = 10000 / v + v / 0.5;
  struct caso {
    const char* nome;
    std::vector<sosta_fermata> soste;
    double sosta_b;
    std::vector<sosta_fermata> ignote;
  };
  const caso casi[] = {
      {"the dwell of every stop", {}, 120, {}},
      {"one for B, the case of letters aside", {{"b", 45}}, 45, {}},
      {"the last given for B holds", {{"B", 45}, {"B", 250}}, 250, {}},
      {"for the first and the last stop, and for no stop", {{"A", 10}, {"C", 10}, {"Z", 10}}, 120,
       {{"A", 10}, {"C", 10}, {"Z", 10}}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    scenario_prova s(500);
    s.linea(0, 497, 120);
    s.stazione(1, "A", 0, ora(8, 0)).stazione(2, "B", 10000, ora(8, 10)).stazione(3, "C", 20000, ora(8, 20));
    opzioni_marcia o = opzioni_costanti(0.5, 0.5);
    o.soste = c.soste;
    o.margine = margine_recupero{10, 6};
    const marcia m = calcola_marcia(s.f, modello_da_scenario(s.f, o));
    ASSERT_EQ(m.sezioni.size(), 2u);
    const sezione &ab = m.sezioni[0], &bc = m.sezioni[1];
    EXPECT_TRUE(ab.arrivo_derivato);
    EXPECT_FALSE(bc.arrivo_derivato);
    EXPECT_EQ(ab.sosta_s, c.sosta_b);
    EXPECT_EQ(bc.sosta_s, 0);
    EXPECT_EQ(ab.tempo_orario_s, 600 - c.sosta_b);
    EXPECT_EQ(bc.tempo_orario_s, 600);
    for (const sezione& z : m.sezioni) {
      EXPECT_NEAR(z.tempo_minimo_s, minimo, 1e-9);
      EXPECT_NEAR(z.recupero_s, 0.1 * minimo + 36, 1e-9);
      EXPECT_NEAR(z.tempo_con_recupero_s, 1.1 * minimo + 36, 1e-9);
      EXPECT_NEAR(z.residuo_s, z.tempo_orario_s - 1.1 * minimo - 36, 1e-9);
      EXPECT_EQ(z.con_recupero, z.residuo_s >= 0);
      EXPECT_EQ(z.mantenibile, z.margine_s >= 0);
    }
    // 600 - 250 s cannot keep A - B: a dwell of 233 s or less at B would.
    if (c.sosta_b == 250) {
      EXPECT_FALSE(ab.mantenibile);
      ASSERT_TRUE(ab.sosta_che_tiene_s);
      EXPECT_EQ(*ab.sosta_che_tiene_s, std::floor(600 - minimo));
    } else {
      EXPECT_FALSE(ab.sosta_che_tiene_s);
    }
    EXPECT_EQ(m.soste_ignote, c.ignote);
  }
}

TEST(Marcia, LeCurveDelPianoPesanoSullaTrazione) {
  // A curve of class 4 (k = 0.001 a metre, R = 1000 m) from metre 2000 to
  // 3000 of the plan: Röckl's 650 / 945 per mille against the traction there.
  scenario_prova s(400);
  s.linea(0, 397, 160).treno(130, 14);
  s.stazione(1, "A", 0, ora(8, 0)).stazione(2, "B", 10000, ora(8, 10));
  const double senza = calcola_marcia(s.f, modello_da_scenario(s.f)).sezioni.at(0).tempo_minimo_s;
  s.f.griglia_linea.tratti = {{2000, 0.0, false}, {3000, 0.001, true}, {20000, 0.0, false}};
  const profilo_corsa p = profilo_da_scenario(s.f);
  ASSERT_EQ(p.curve.size(), 1u);
  EXPECT_EQ(p.curve[0], (curva_profilo{2000, 3000, 1000}));
  const double con = calcola_marcia(s.f, modello_da_scenario(s.f)).sezioni.at(0).tempo_minimo_s;
  EXPECT_GT(con, senza);
  opzioni_marcia o;
  o.resistenza_curve = 0;
  EXPECT_NEAR(calcola_marcia(s.f, modello_da_scenario(s.f, o)).sezioni.at(0).tempo_minimo_s, senza, 1e-9);
}

TEST(Marcia, CiòCheDecideUnaSezioneCheNonSiTiene) {
  // 12 km with a 40 km/h slow order of 500 m in the middle, 7 minutes for a
  // train of a constant 0.3 m/s² and 0.5 m/s² braking: the order binds, the
  // section cannot be kept, and more traction would keep it.
  scenario_prova s(400);
  s.linea(0, 397, 160).treno(100, 8).punto(120, tipo_inizio_rallentamento, 40).punto(130, tipo_fine_rallentamento, 40);
  s.stazione(1, "A", 0, ora(8, 0)).stazione(2, "B", 12000, ora(8, 7));
  const marcia m = calcola_marcia(s.f, modello_da_scenario(s.f, opzioni_costanti(0.3, 0.5)));
  ASSERT_EQ(m.sezioni.size(), 1u);
  ASSERT_FALSE(m.sezioni[0].mantenibile);
  const std::vector<decisione_sezione> d = decidi_sezioni(s.f, m);
  ASSERT_EQ(d.size(), 1u);
  ASSERT_FALSE(d[0].restrizioni.empty());
  EXPECT_EQ(d[0].restrizioni[0].tipo, tipo_restrizione::rallentamento);
  EXPECT_EQ(d[0].restrizioni[0].velocita_kmh, 40);
  EXPECT_LT(d[0].tempo_senza_restrizioni_s, m.sezioni[0].tempo_minimo_s - d[0].restrizioni[0].costo_s + 1e-6);
  ASSERT_TRUE(d[0].trazione_che_tiene);
  EXPECT_GT(*d[0].trazione_che_tiene, 1);
  // A section that can be kept asks for no traction.
  s.stazione(2, "B", 12000, ora(8, 20));
  const marcia comoda = calcola_marcia(s.f, modello_da_scenario(s.f, opzioni_costanti(0.3, 0.5)));
  EXPECT_FALSE(decidi_sezioni(s.f, comoda).at(0).trazione_che_tiene);
}
