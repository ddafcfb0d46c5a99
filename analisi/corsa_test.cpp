#include "analisi/corsa.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "prove/treno_costante.h"

namespace {

// A train with the given acceleration and braking (m/s²) and top speed, at
// constant rates; a lower limit is let go at the head unless `coda`.
modello_treno treno(double a, double b, double v_max = 300.0, double lunghezza = 0.0, bool coda = false) {
  return treno_costante(a, b, v_max, lunghezza, coda);
}

// A line of `lunghezza` metres with one limit and one gradient, a stop at each end.
profilo_corsa linea(double lunghezza, double limite_kmh, double pendenza = 0.0) {
  profilo_corsa p;
  p.tratti.push_back({0.0, lunghezza, limite_kmh, pendenza});
  p.fermate = {0.0, lunghezza};
  return p;
}

double tempo_totale(const corsa& c) {
  double t = 0.0;
  for (const tratta_corsa& tr : c.tratte) t += tr.tempo_s;
  return t;
}

// The time to run `lunghezza` from rest to rest at `v` (m/s), reaching it:
// at v all the way, plus v / 2a for the start and v / 2b for the stop.
double tempo_trapezio(double lunghezza, double v, double a, double b) {
  return lunghezza / v + v / (2 * a) + v / (2 * b);
}

// What slowing from v to vr (m/s) and back costs against running on at v,
// for braking b and acceleration a: (v - vr)² / 2bv + (v - vr)² / 2av.
double perdita_rallentare(double v, double vr, double a, double b) {
  return (v - vr) * (v - vr) / (2 * b * v) + (v - vr) * (v - vr) / (2 * a * v);
}

}  // namespace

TEST(Corsa, FormeChiuse) {
  const double g = gravita / 1000.0;  // per mille of gradient, in m/s²
  struct caso {
    const char* nome;
    profilo_corsa p;
    modello_treno m;
    double tempo;
  };
  const double tri_v = std::sqrt(2 * 0.5 * 1.0 * 1000.0 / 1.5);  // the peak of a triangle: v² = 2abL / (a + b)
  const caso casi[] = {
      {"reaches 144 km/h, holds it, stops", linea(10000, 144), treno(0.5, 0.8), tempo_trapezio(10000, 40, 0.5, 0.8)},
      {"too short for the limit: a triangle", linea(1000, 200), treno(0.5, 1.0), tri_v / 0.5 + tri_v / 1.0},
      {"the top speed caps the limit", linea(10000, 200), treno(0.5, 0.8, 144), tempo_trapezio(10000, 40, 0.5, 0.8)},
      {"no limit laid: the top speed", linea(10000, 0), treno(0.5, 0.8, 144), tempo_trapezio(10000, 40, 0.5, 0.8)},
      {"a 10 per mille climb", linea(10000, 144, 10), treno(0.5, 0.8),
       tempo_trapezio(10000, 40, 0.5 - 10 * g, 0.8 + 10 * g)},
      {"a 20 per mille descent", linea(10000, 144, -20), treno(0.5, 0.8),
       tempo_trapezio(10000, 40, 0.5 + 20 * g, 0.8 - 20 * g)},
      {"a descent too steep for the brakes: the floor", linea(20000, 72, -100), treno(0.4, 0.8),
       tempo_trapezio(20000, 20, 0.4 + 100 * g, accelerazione_residua_minima)},
  };
  for (const caso& c : casi) {
    const corsa r = calcola_corsa(c.p, c.m);
    ASSERT_EQ(r.tratte.size(), 1u) << c.nome;
    EXPECT_NEAR(r.tratte[0].tempo_s, c.tempo, 1e-9 * c.tempo) << c.nome;
  }
}

TEST(Corsa, UnaSalitaTroppoRipidaSiFaAPasso) {
  // 60 per mille takes 0.59 m/s² from a train that pulls 0.4: it cannot
  // start, so it crawls, never above 10 km/h, and gets there all the same.
  const corsa r = calcola_corsa(linea(2000, 72, 60), treno(0.4, 0.8));
  const tratta_corsa& t = r.tratte.at(0);
  for (const punto_velocita& q : t.punti) EXPECT_LE(q.velocita_kmh, velocita_strisciamento_kmh * (1 + 1e-9));
  EXPECT_GT(t.tempo_s, 2000 / (velocita_strisciamento_kmh / 3.6));
  EXPECT_LT(t.tempo_s, 2000 / (velocita_strisciamento_kmh / 3.6) * 1.2);
}

TEST(Corsa, PuntiDellaCorsaInFormaChiusa) {
  // 144 km/h (40 m/s) is reached after v² / 2a = 1600 m and v / a = 80 s;
  // braking at 0.8 m/s² to the stop takes the last v² / 2b = 1000 m and v / b = 50 s.
  const corsa r = calcola_corsa(linea(10000, 144), treno(0.5, 0.8));
  const tratta_corsa& t = r.tratte.at(0);
  EXPECT_NEAR(tempo_in(t, 1600), 80, 1e-9);
  EXPECT_NEAR(velocita_in(t, 1600), 144, 1e-9);
  EXPECT_NEAR(velocita_in(t, 400), 72, 1e-9);  // a quarter of the distance, half the speed
  EXPECT_NEAR(tempo_in(t, 9000), 80 + 7400 / 40.0, 1e-9);
  EXPECT_NEAR(t.tempo_s - tempo_in(t, 9000), 50, 1e-9);
  ASSERT_GE(t.punti.size(), 4u);
  EXPECT_EQ(t.punti.front().velocita_kmh, 0);
  EXPECT_EQ(t.punti.back().velocita_kmh, 0);
  EXPECT_EQ(t.punti.back().posizione_m, 10000);
}

TEST(Corsa, RallentamentiEPuntiLimitati) {
  // 20 km at 144 km/h (40 m/s), a = 0.5, b = 0.8; a 1000 m slow order at
  // 72 km/h (20 m/s) from 8000 m, or a line limit of 72 km/h there, or a
  // point at 72 km/h at 10000 m. A train of 300 m keeps a lower limit 300 m
  // longer, at 20 m/s instead of 40, when the tail must clear it: by the
  // rule, or for a slow order to be kept by the whole train.
  const double a = 0.5, b = 0.8, base = tempo_trapezio(20000, 40, a, b);
  const double lento = perdita_rallentare(40, 20, a, b);
  const std::vector<tratto_profilo> con_limite = {{0, 8000, 144, 0}, {8000, 9000, 72, 0}, {9000, 20000, 144, 0}};
  struct caso {
    const char* nome;
    bool coda;
    std::vector<tratto_profilo> tratti;  // none: 144 km/h all along
    std::vector<rallentamento_profilo> ordini;
    std::vector<punto_limite> punti;
    double tempo;
  };
  const caso casi[] = {
      {"slow order", false, {}, {{8000, 9000, 72, false}}, {}, base + lento + 1000 * (1 / 20.0 - 1 / 40.0)},
      {"slow order for the whole train", false, {}, {{8000, 9000, 72, true}}, {}, base + lento + 1300 * (1 / 20.0 - 1 / 40.0)},
      {"slow order, kept until the tail clears it", true, {}, {{8000, 9000, 72, false}}, {},
       base + lento + 1300 * (1 / 20.0 - 1 / 40.0)},
      {"line limit, let go at the head", false, con_limite, {}, {}, base + lento + 1000 * (1 / 20.0 - 1 / 40.0)},
      {"line limit, kept until the tail clears it", true, con_limite, {}, {}, base + lento + 1300 * (1 / 20.0 - 1 / 40.0)},
      {"two orders overlapping: the lower holds", false, {}, {{8000, 9000, 72, false}, {8500, 9000, 100, false}}, {},
       base + lento + 1000 * (1 / 20.0 - 1 / 40.0)},
      {"an order above the line's limit", true, {}, {{8000, 9000, 160, false}}, {}, base},
      {"a point, whatever the rule", true, {}, {}, {{10000, 72}}, base + lento},
      {"a point above the limit", true, {}, {}, {{10000, 180}}, base},
  };
  for (const caso& c : casi) {
    profilo_corsa p = linea(20000, 144);
    if (!c.tratti.empty()) p.tratti = c.tratti;
    p.rallentamenti = c.ordini;
    p.punti = c.punti;
    const corsa r = calcola_corsa(p, treno(a, b, 300, 300, c.coda));
    ASSERT_EQ(r.tratte.size(), 1u) << c.nome;
    EXPECT_NEAR(r.tratte[0].tempo_s, c.tempo, 1e-9 * c.tempo) << c.nome;
  }
  profilo_corsa p = linea(20000, 144);
  p.punti = {{10000, 72}};
  EXPECT_NEAR(velocita_in(calcola_corsa(p, treno(a, b)).tratte.at(0), 10000), 72, 1e-9);
}

TEST(Corsa, TrattiSenzaLimite) {
  // No limit laid from 0 to 2000 m, nor beyond the profile's end at 8000 m:
  // the run reports both stretches, joined across the stop at 9000 m.
  profilo_corsa p;
  p.tratti = {{0, 2000, 0, 0}, {2000, 8000, 100, 0}};
  p.fermate = {0, 9000, 12000};
  const corsa r = calcola_corsa(p, treno(0.5, 0.8, 120));
  ASSERT_EQ(r.senza_limite.size(), 2u);
  EXPECT_EQ(r.senza_limite[0].inizio_m, 0);
  EXPECT_EQ(r.senza_limite[0].fine_m, 2000);
  EXPECT_EQ(r.senza_limite[1].inizio_m, 8000);
  EXPECT_EQ(r.senza_limite[1].fine_m, 12000);
  // Beyond the profile the top speed holds: 3000 m at 120 km/h (33.3 m/s).
  EXPECT_NEAR(r.tratte.at(1).tempo_s, tempo_trapezio(3000, 120 / 3.6, 0.5, 0.8), 1e-9);
}

TEST(Corsa, CasiLimiteRestanoFiniti) {
  const double nan = std::nan("");
  struct caso {
    const char* nome;
    std::vector<double> fermate;
    modello_treno m;
    std::size_t tratte;
  };
  const caso casi[] = {
      {"no stop", {}, treno(0.5, 0.8), 0},
      {"one stop", {500}, treno(0.5, 0.8), 0},
      {"two stops at one place", {500, 500}, treno(0.5, 0.8), 1},
      {"the next stop behind", {5000, 1000}, treno(0.5, 0.8), 1},
      {"stops beyond the profile", {-3000, 40000}, treno(0.5, 0.8), 1},
      {"a stop that is not a number", {nan, 1000}, treno(0.5, 0.8), 1},
      {"absurd train", {0, 10000}, treno(-1, 0, 1e9, -5), 1},
      {"train of no numbers", {0, 10000}, treno(nan, nan, nan, nan), 1},
  };
  for (const caso& c : casi) {
    profilo_corsa p = linea(10000, 100, 5);
    p.rallentamenti = {{4000, 4000, 30, true}, {5000, 5500, 0, false}, {6000, 6500, nan, false}};
    p.punti = {{3000, -20}, {3500, nan}};
    p.fermate = c.fermate;
    const corsa r = calcola_corsa(p, c.m);
    ASSERT_EQ(r.tratte.size(), c.tratte) << c.nome;
    for (const tratta_corsa& t : r.tratte) {
      EXPECT_TRUE(std::isfinite(t.tempo_s)) << c.nome;
      EXPECT_GE(t.tempo_s, 0) << c.nome;
      for (const punto_velocita& q : t.punti)
        EXPECT_TRUE(std::isfinite(q.posizione_m) && std::isfinite(q.velocita_kmh) && std::isfinite(q.tempo_s))
            << c.nome;
      if (!(t.a_m > t.da_m)) {
        EXPECT_EQ(t.tempo_s, 0) << c.nome;
      }
    }
  }
}

namespace {

// A profile drawn at random from a seed: up to 25 stretches of 50 m to 3 km
// (some with no limit, some steep, a gap now and then), slow orders, points
// (some at 0 km/h), stops anywhere (some beyond the profile, some together).
// Every position is a multiple of 25 m.
struct caso_casuale {
  profilo_corsa p;
  modello_treno m;
};

caso_casuale genera(uint32_t seme) {
  std::mt19937 r(seme);
  auto intero = [&r](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(r); };
  caso_casuale c;
  double x = intero(-2, 2) * 50.0;
  const int n = intero(1, 25);
  for (int i = 0; i < n; ++i) {
    const double lungo = intero(1, 60) * 50.0;
    const double limite = intero(0, 6) == 0 ? 0.0 : intero(2, 40) * 5.0;
    const double pendenza = intero(0, 9) == 0 ? intero(-90, 90) : intero(-25, 25);
    c.p.tratti.push_back({x, x + lungo, limite, pendenza});
    x += lungo + (intero(0, 9) == 0 ? 200.0 : 0.0);
  }
  const int celle = static_cast<int>(x / 50);
  for (int k = intero(0, 3); k > 0; --k) {
    const double inizio = intero(0, celle) * 50.0;
    c.p.rallentamenti.push_back({inizio, inizio + intero(1, 30) * 50.0, intero(0, 20) * 5.0, intero(0, 1) == 1});
  }
  for (int k = intero(0, 4); k > 0; --k) c.p.punti.push_back({intero(0, celle) * 50.0, intero(0, 40) * 5.0});
  for (int k = intero(2, 5); k > 0; --k) c.p.fermate.push_back(intero(-10, celle + 10) * 50.0);
  std::sort(c.p.fermate.begin(), c.p.fermate.end());
  c.m = treno(intero(2, 10) / 10.0, intero(3, 12) / 10.0, intero(8, 50) * 5.0, intero(0, 16) * 25.0, intero(0, 1) == 1);
  return c;
}

// The oracle's reading of the profile, straight from its records.
// The limit at `x`: every stretch, slow order and point whose closed span
// holds `x` (a stretch's and an order's lengthened by the train where its
// tail must clear it), and the top speed; 1 km/h at least. In m/s.
double limite_a(const profilo_corsa& p, const modello_treno& m, double x) {
  double v = m.velocita_massima_kmh;
  const double coda = m.rilascio_in_coda ? m.lunghezza_treno_m : 0.0;
  for (const tratto_profilo& t : p.tratti)
    if (t.inizio_m <= x && x <= t.fine_m + coda && t.limite_kmh > 0) v = std::min(v, t.limite_kmh);
  for (const rallentamento_profilo& o : p.rallentamenti) {
    const double fine = o.fine_m + (o.treno_intero || m.rilascio_in_coda ? m.lunghezza_treno_m : 0.0);
    if (o.inizio_m < fine && o.inizio_m <= x && x <= fine) v = std::min(v, o.velocita_kmh);
  }
  for (const punto_limite& q : p.punti)
    if (q.posizione_m == x) v = std::min(v, q.velocita_kmh);
  return std::max(v, velocita_minima_kmh) / 3.6;
}

// The gradient inside a stretch (at `x`, not on a boundary), per mille.
double pendenza_a(const profilo_corsa& p, double x) {
  double i = 0.0;
  for (const tratto_profilo& t : p.tratti)
    if (t.inizio_m <= x && x < t.fine_m) i = t.pendenza_permille;
  return i;
}

// The train's acceleration at `x` and `v` (m/s): its own less the gradient's
// share, but a crawl where that leaves it too little.
double acc_a(const profilo_corsa& p, const modello_treno& m, double x, double v) {
  const double propria = m.sforzo_trazione_kn / m.massa_t;  // the constant train: no resistance, no rotating masses
  const double strisciamento = velocita_strisciamento_kmh / 3.6;
  const double a = propria - gravita * pendenza_a(p, x) / 1000;
  return v < strisciamento ? std::max(a, accelerazione_residua_minima * (1 - v / strisciamento)) : a;
}
double dec_a(const profilo_corsa& p, const modello_treno& m, double x) {
  return std::max(accelerazione_residua_minima, m.decelerazione + gravita * pendenza_a(p, x) / 1000);
}

// A test oracle, not the method: the fastest run worked out on a grid of
// `h` metres by a forward pass of full acceleration (at the step's middle
// speed) and a backward pass of braking, each step held to the limit at both
// its ends and inside it.
double tempo_oracolo(const profilo_corsa& p, const modello_treno& m, double da, double a, double h) {
  const auto n = static_cast<std::size_t>(std::llround((a - da) / h));
  if (n == 0) return 0.0;
  std::vector<double> nodo(n + 1), passo(n), avanti(n + 1), indietro(n + 1);
  for (std::size_t k = 0; k <= n; ++k) nodo[k] = std::pow(limite_a(p, m, da + h * k), 2);
  for (std::size_t k = 0; k < n; ++k) passo[k] = std::pow(limite_a(p, m, da + h * (k + 0.5)), 2);
  avanti[0] = 0.0;
  for (std::size_t k = 0; k < n; ++k) {
    const double x = da + h * (k + 0.5), v = std::sqrt(avanti[k]);
    const double mezzo = std::sqrt(avanti[k] + acc_a(p, m, x, v) * h);
    avanti[k + 1] = std::min({nodo[k + 1], passo[k], avanti[k] + 2 * acc_a(p, m, x, mezzo) * h});
  }
  indietro[n] = 0.0;
  for (std::size_t k = n; k-- > 0;)
    indietro[k] = std::min({nodo[k], passo[k], indietro[k + 1] + 2 * dec_a(p, m, da + h * (k + 0.5)) * h});
  double t = 0.0;
  for (std::size_t k = 0; k < n; ++k) {
    const double v0 = std::sqrt(std::min(avanti[k], indietro[k]));
    const double v1 = std::sqrt(std::min(avanti[k + 1], indietro[k + 1]));
    t += 2 * h / (v0 + v1);
  }
  return t;
}

}  // namespace

TEST(Corsa, ProprietaSuProfiliCasuali) {
  for (uint32_t seme = 1; seme <= 300; ++seme) {
    SCOPED_TRACE("seed " + std::to_string(seme));
    const caso_casuale c = genera(seme);
    const modello_treno m = modello_nei_limiti(c.m);
    const corsa r = calcola_corsa(c.p, c.m);
    ASSERT_EQ(r.tratte.size(), c.p.fermate.size() - 1);
    for (const tratta_corsa& t : r.tratte) {
      // It leaves from standstill and stops at the stop.
      ASSERT_FALSE(t.punti.empty());
      EXPECT_EQ(t.punti.front().posizione_m, t.da_m);
      EXPECT_EQ(t.punti.front().velocita_kmh, 0);
      EXPECT_EQ(t.punti.back().posizione_m, std::max(t.da_m, t.a_m));
      EXPECT_EQ(t.punti.back().velocita_kmh, 0);
      EXPECT_EQ(t.punti.back().tempo_s, t.tempo_s);
      for (std::size_t k = 0; k < t.punti.size(); ++k) {
        const punto_velocita& q = t.punti[k];
        // Never above the limit, at a breakpoint nor between two.
        EXPECT_LE(q.velocita_kmh / 3.6, limite_a(c.p, m, q.posizione_m) * (1 + 1e-12)) << q.posizione_m;
        if (k == 0) continue;
        const punto_velocita& o = t.punti[k - 1];
        ASSERT_GT(q.posizione_m, o.posizione_m);
        ASSERT_GE(q.tempo_s, o.tempo_s);
        const double mezzo = (o.posizione_m + q.posizione_m) / 2;
        EXPECT_LE(velocita_in(t, mezzo) / 3.6, limite_a(c.p, m, mezzo) * (1 + 1e-12)) << mezzo;
        // Nor faster in speed than the train can gain or shed it there.
        const double v0 = o.velocita_kmh / 3.6, v1 = q.velocita_kmh / 3.6;
        const double pendio = (v1 * v1 - v0 * v0) / (2 * (q.posizione_m - o.posizione_m));
        // (A speed held just above the one the train holds on a climb too
        // steep for it stands for that one.)
        const double acc = acc_a(c.p, m, mezzo, std::min(v0, v1) * (1 - 2e-4));
        EXPECT_LE(pendio, acc + 1e-6 * std::fabs(acc) + 1e-9) << mezzo;
        EXPECT_GE(pendio, -dec_a(c.p, m, mezzo) * (1 + 1e-6) - 1e-9) << mezzo;
      }
    }

    // Tightening a limit, or adding a slow order or a point, never shortens the run.
    std::mt19937 scelta(seme);
    const double prima = tempo_totale(r);
    for (int prova = 0; prova < 3; ++prova) {
      profilo_corsa p = c.p;
      auto& t = p.tratti[scelta() % p.tratti.size()];
      t.limite_kmh = t.limite_kmh > 0 ? t.limite_kmh * 0.7 : m.velocita_massima_kmh * 0.5;
      if (prova == 1) p.punti.push_back({t.inizio_m + 25, 20});
      if (prova == 2) p.rallentamenti.push_back({t.inizio_m, t.fine_m + 500, 30, true});
      EXPECT_GE(tempo_totale(calcola_corsa(p, c.m)), prima * (1 - 1e-9)) << "try " << prova;
    }

    // On a few profiles, a fine numerical run as an oracle.
    if (seme % 30 == 0) {
      for (const tratta_corsa& t : r.tratte) {
        const double oracolo = tempo_oracolo(c.p, m, t.da_m, t.a_m, 1.0);
        EXPECT_NEAR(t.tempo_s, oracolo, 1e-3 * oracolo + 1e-9);
      }
    }
  }
}

namespace {

// A train pulled by its power alone above 1 m/s: 1000 t, 5000 kW, 5000 kN
// (5 m/s², the bound) below, no resistance nor rotating masses.
modello_treno treno_a_potenza(double v_max = 300.0) {
  modello_treno m = treno_costante(5.0, 0.8, v_max);
  m.potenza_kw = 5000.0;
  m.sforzo_trazione_kn = 5000.0;
  return m;
}

}  // namespace

TEST(Corsa, LaPotenzaInFormaChiusa) {
  // m v dv/dx = P / v: from 1 m/s (reached in 0.1 m and 0.2 s at 5 m/s²),
  // x = 0.1 + m (v³ - 1) / 3P and t = 0.2 + m (v² - 1) / 2P, m = 10⁶ kg, P = 5 MW.
  const corsa r = calcola_corsa(linea(100000, 300), treno_a_potenza());
  std::size_t visti = 0;
  for (const punto_velocita& q : r.tratte.at(0).punti) {
    if (q.posizione_m > 5000) break;  // well before the top speed and the braking
    const double v = q.velocita_kmh / 3.6;
    if (v <= 1) continue;
    EXPECT_NEAR(q.posizione_m, 0.1 + (v * v * v - 1) / 15, 1e-6 * q.posizione_m) << v;
    EXPECT_NEAR(q.tempo_s, 0.2 + (v * v - 1) / 10, 1e-6 * q.tempo_s) << v;
    ++visti;
  }
  EXPECT_GE(visti, 15u) << "points of the traction curve at most 2 m/s apart";
}

TEST(Corsa, ResistenzaMasseRotantiCurveInFormaChiusa) {
  // A force of 500 kN against A = 100 kN on 1000 t whose inertia is 1250 t:
  // 0.32 m/s²; a climb of 10 per mille takes 98.1 kN more.
  modello_treno m = treno_costante(0.5, 0.8);
  m.resistenza_a_kn = 100.0;
  m.masse_rotanti = 1.25;
  const double g = gravita / 1000.0;
  EXPECT_NEAR(calcola_corsa(linea(10000, 144), m).tratte.at(0).tempo_s, tempo_trapezio(10000, 40, 0.32, 0.8), 1e-9);
  EXPECT_NEAR(calcola_corsa(linea(10000, 144, 10), m).tratte.at(0).tempo_s,
              tempo_trapezio(10000, 40, (400 - 1000 * 10 * gravita / 1000) / 1250, 0.8 + 10 * g), 1e-9);
  // A curve of 1000 m weighs 650 / 945 per mille, as a climb does, on the traction alone.
  profilo_corsa curva = linea(10000, 144);
  curva.curve = {{0, 10000, 1000}};
  const double w = 650.0 / 945.0;
  EXPECT_NEAR(calcola_corsa(curva, m).tratte.at(0).tempo_s,
              tempo_trapezio(10000, 40, (400 - 1000 * w * gravita / 1000) / 1250, 0.8), 1e-9);
}

TEST(Corsa, InSalitaTendeAllaVelocitaDiEquilibrio) {
  // 5000 kW against 1000 t on 10 per mille: m v dv/dx = P / v - c, c = m g i,
  // balances at P / c = 50.97 m/s, which the train nears and never passes,
  // from below or, entering the climb faster, from above. Between two speeds
  // x = m [-(v² / 2c) - P v / c² - (P² / c³) ln|P - c v|] and
  // t = m [-v / c - (P / c²) ln|P - c v|] change as the run's points do.
  const double m = 1e6, P = 5e6, c = m * gravita * 0.01, equilibrio = P / c;
  auto x = [&](double v) { return m * (-v * v / (2 * c) - P * v / (c * c) - P * P / (c * c * c) * std::log(std::fabs(P - c * v))); };
  auto t = [&](double v) { return m * (-v / c - P / (c * c) * std::log(std::fabs(P - c * v))); };
  for (const double entrata : {0.0, 20000.0}) {
    profilo_corsa p = linea(150000, 300, 10);
    if (entrata > 0) p.tratti = {{0, entrata, 300, -10}, {entrata, 150000, 300, 10}};
    const tratta_corsa r = calcola_corsa(p, treno_a_potenza()).tratte.at(0);
    std::size_t visti = 0;
    for (std::size_t k = 1; k < r.punti.size(); ++k) {
      const punto_velocita &a = r.punti[k - 1], &b = r.punti[k];
      const double va = a.velocita_kmh / 3.6, vb = b.velocita_kmh / 3.6;
      if (a.posizione_m < entrata || b.posizione_m > 140000 || a.regime != regime_corsa::trazione || va <= 1 || va == vb)
        continue;
      EXPECT_NEAR(b.posizione_m - a.posizione_m, x(vb) - x(va), 1e-6 * (b.posizione_m - a.posizione_m)) << va;
      EXPECT_NEAR(b.tempo_s - a.tempo_s, t(vb) - t(va), 1e-6 * (b.tempo_s - a.tempo_s)) << va;
      EXPECT_TRUE(entrata > 0 ? vb > equilibrio : vb < equilibrio) << vb;
      ++visti;
    }
    EXPECT_GE(visti, 10u) << entrata;
  }
}

TEST(Corsa, LAccelerazioneCalaConLaVelocita) {
  // The default train (a locomotive of 5.6 MW and 14 coaches, 717 t) on the
  // level with nothing below its top speed: what its run gains in v² per
  // metre between two points, slow and fast.
  profilo_corsa p = linea(40000, 200);
  const corsa r = calcola_corsa(p, modello_treno{});
  auto accelerazione_tra = [&](double da_kmh, double a_kmh) {
    const std::vector<punto_velocita>& q = r.tratte.at(0).punti;
    for (std::size_t k = 1; k < q.size(); ++k)
      if (q[k - 1].velocita_kmh >= da_kmh && q[k].velocita_kmh <= a_kmh && q[k].velocita_kmh > q[k - 1].velocita_kmh) {
        const double v0 = q[k - 1].velocita_kmh / 3.6, v1 = q[k].velocita_kmh / 3.6;
        return (v1 * v1 - v0 * v0) / (2 * (q[k].posizione_m - q[k - 1].posizione_m));
      }
    return 0.0;
  };
  const double lenta = accelerazione_tra(20, 40), veloce = accelerazione_tra(140, 160);
  EXPECT_GT(lenta, 0.3);
  EXPECT_LT(veloce, 0.15);
  EXPECT_LT(veloce, lenta / 2);
}

TEST(Corsa, UnLimiteBassoTenutoFinCheLaCodaNonLoSupera) {
  // 40 km at 160 km/h with 300 m at 40 km/h in the middle, a train of 400 m:
  // kept until the tail clears it, the limit holds the train at 40 km/h for
  // 400 m more, and every later point of the run comes as much later.
  const double lunghezza = 400.0, lento = 40 / 3.6, veloce = 160 / 3.6;
  for (const modello_treno& base : {modello_treno{}, treno_costante(0.4, 0.6)}) {
    profilo_corsa p;
    p.tratti = {{0, 20000, 160, 0}, {20000, 20300, 40, 0}, {20300, 40000, 160, 0}};
    p.fermate = {0, 40000};
    modello_treno testa = base, coda = base;
    testa.lunghezza_treno_m = coda.lunghezza_treno_m = lunghezza;
    testa.velocita_massima_kmh = coda.velocita_massima_kmh = 160;
    testa.rilascio_in_coda = false;
    coda.rilascio_in_coda = true;
    const double t_testa = calcola_corsa(p, testa).tratte.at(0).tempo_s;
    const double t_coda = calcola_corsa(p, coda).tratte.at(0).tempo_s;
    EXPECT_NEAR(t_coda - t_testa, lunghezza / lento - lunghezza / veloce, 1e-6);
  }
}

TEST(Corsa, RegimiEPuntiDiFrenatura) {
  // 10 km at 144 km/h: traction to 1600 m, the limit held to 9000 m, braking
  // from there to the stop, where the train stands; one braking point.
  const tratta_corsa t = calcola_corsa(linea(10000, 144), treno(0.5, 0.8)).tratte.at(0);
  std::vector<regime_corsa> regimi;
  std::vector<double> frenate;
  for (const punto_velocita& q : t.punti) {
    if (regimi.empty() || regimi.back() != q.regime) regimi.push_back(q.regime);
    if (q.inizio_frenatura) frenate.push_back(q.posizione_m);
  }
  EXPECT_EQ(regimi, (std::vector<regime_corsa>{regime_corsa::trazione, regime_corsa::crociera,
                                               regime_corsa::frenatura, regime_corsa::fermo}));
  ASSERT_EQ(frenate.size(), 1u);
  EXPECT_NEAR(frenate[0], 9000, 1e-9);
  // A slow order adds one braking point before it.
  profilo_corsa p = linea(20000, 144);
  p.rallentamenti = {{8000, 9000, 72, false}};
  int n = 0;
  const corsa con_ordine = calcola_corsa(p, treno(0.5, 0.8));
  for (const punto_velocita& q : con_ordine.tratte.at(0).punti) n += q.inizio_frenatura;
  EXPECT_EQ(n, 2);
}

TEST(Corsa, CiòCheDecideUnaTratta) {
  // Two legs over stretches of three limits and gradients, two slow orders and
  // a point: each restriction's cost is the leg's time less its time with that
  // one lifted, the profile worked out again without it.
  profilo_corsa p;
  p.tratti = {{0, 6000, 120, 0}, {6000, 9000, 80, 8}, {9000, 16000, 140, -3}, {16000, 24000, 100, 0}};
  p.rallentamenti = {{3000, 3400, 50, false}, {18000, 18800, 60, true}};
  p.punti = {{12000, 90}};
  p.fermate = {0, 10000, 24000};
  for (const modello_treno& m : {modello_treno{}, treno(0.5, 0.7, 140, 250, true)}) {
    const std::vector<decisivi_tratta> d = restrizioni_decisive(p, m);
    const corsa base = calcola_corsa(p, m);
    ASSERT_EQ(d.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
      EXPECT_LT(d[k].tempo_senza_restrizioni_s, base.tratte[k].tempo_s);
      ASSERT_FALSE(d[k].restrizioni.empty());
      for (std::size_t i = 1; i < d[k].restrizioni.size(); ++i)
        EXPECT_GE(d[k].restrizioni[i - 1].costo_s, d[k].restrizioni[i].costo_s) << "greatest first";
      for (const costo_restrizione& c : d[k].restrizioni) {
        profilo_corsa senza = p;
        if (c.tipo == tipo_restrizione::limite_linea) senza.tratti[c.indice].limite_kmh = 0;
        if (c.tipo == tipo_restrizione::rallentamento) senza.rallentamenti.erase(senza.rallentamenti.begin() + c.indice);
        if (c.tipo == tipo_restrizione::punto) senza.punti.erase(senza.punti.begin() + c.indice);
        EXPECT_NEAR(c.costo_s, base.tratte[k].tempo_s - calcola_corsa(senza, m).tratte[k].tempo_s, 1e-6)
            << "leg " << k << ", restriction of kind " << static_cast<int>(c.tipo) << " #" << c.indice;
      }
    }
    profilo_corsa libero = p;
    for (tratto_profilo& t : libero.tratti) t.limite_kmh = 0;
    libero.rallentamenti.clear();
    libero.punti.clear();
    const corsa senza = calcola_corsa(libero, m);
    for (std::size_t k = 0; k < 2; ++k) EXPECT_NEAR(d[k].tempo_senza_restrizioni_s, senza.tratte[k].tempo_s, 1e-6);
  }
}

TEST(Corsa, LaTrazioneCheTieneUnaTratta) {
  // The least factor on the tractive effort by which the leg takes no more
  // than asked: with it the leg is in time, with a little less it is not.
  profilo_corsa p = linea(15000, 160, 5);
  p.rallentamenti = {{7000, 7500, 60, false}};
  modello_treno m = treno_a_potenza(160);
  m.sforzo_trazione_kn = 400.0;
  m.potenza_kw = 3000.0;
  auto con = [&](double k) {
    modello_treno x = m;
    x.sforzo_trazione_kn *= k;
    x.potenza_kw *= k;
    return calcola_corsa(p, x).tratte.at(0).tempo_s;
  };
  const double tempo = con(1.0);
  EXPECT_EQ(trazione_necessaria(p, m, 0, tempo + 1), 1.0);
  const std::optional<double> k = trazione_necessaria(p, m, 0, tempo - 30);
  ASSERT_TRUE(k);
  EXPECT_LE(con(*k), tempo - 30);
  EXPECT_GT(con(*k - 0.002), tempo - 30);
  // The limits and the braking alone take longer than this.
  EXPECT_FALSE(trazione_necessaria(p, m, 0, 15000 / (160 / 3.6)));
}
