#include "analisi/corsa.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

namespace {

// A train with the given acceleration and braking (m/s²) and top speed.
modello_treno treno(double a, double b, double v_max = 300.0, double lunghezza = 0.0) {
  modello_treno m;
  m.accelerazione = a;
  m.decelerazione = b;
  m.velocita_massima_kmh = v_max;
  m.lunghezza_treno_m = lunghezza;
  return m;
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
      {"a climb too steep: the floor", linea(20000, 72, 60), treno(0.4, 0.8),
       tempo_trapezio(20000, 20, accelerazione_residua_minima, 0.8 + 60 * g)},
      {"a descent too steep for the brakes: the floor", linea(20000, 72, -100), treno(0.4, 0.8),
       tempo_trapezio(20000, 20, 0.4 + 100 * g, accelerazione_residua_minima)},
  };
  for (const caso& c : casi) {
    const corsa r = calcola_corsa(c.p, c.m);
    ASSERT_EQ(r.tratte.size(), 1u) << c.nome;
    EXPECT_NEAR(r.tratte[0].tempo_s, c.tempo, 1e-9 * c.tempo) << c.nome;
  }
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
  // 72 km/h (20 m/s) from 8000 m, or a point at 72 km/h at 10000 m. A train
  // of 300 m keeps the order for the whole train 300 m longer, at 20 m/s
  // instead of 40.
  const double a = 0.5, b = 0.8, base = tempo_trapezio(20000, 40, a, b);
  const double lento = perdita_rallentare(40, 20, a, b);
  struct caso {
    const char* nome;
    std::vector<rallentamento_profilo> ordini;
    std::vector<punto_limite> punti;
    double tempo;
  };
  const caso casi[] = {
      {"slow order", {{8000, 9000, 72, false}}, {}, base + lento + 1000 * (1 / 20.0 - 1 / 40.0)},
      {"slow order for the whole train", {{8000, 9000, 72, true}}, {}, base + lento + 1300 * (1 / 20.0 - 1 / 40.0)},
      {"two orders overlapping: the lower holds", {{8000, 9000, 72, false}, {8500, 9000, 100, false}}, {},
       base + lento + 1000 * (1 / 20.0 - 1 / 40.0)},
      {"an order above the line's limit", {{8000, 9000, 160, false}}, {}, base},
      {"a point", {}, {{10000, 72}}, base + lento},
      {"a point above the limit", {}, {{10000, 180}}, base},
  };
  for (const caso& c : casi) {
    profilo_corsa p = linea(20000, 144);
    p.rallentamenti = c.ordini;
    p.punti = c.punti;
    const corsa r = calcola_corsa(p, treno(a, b, 300, 300));
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
  c.m = treno(intero(2, 10) / 10.0, intero(3, 12) / 10.0, intero(8, 50) * 5.0, intero(0, 16) * 25.0);
  return c;
}

// The oracle's reading of the profile, straight from its records.
// The limit at `x`: every stretch, slow order and point whose closed span
// holds `x`, and the top speed; 1 km/h at least. In m/s.
double limite_a(const profilo_corsa& p, const modello_treno& m, double x) {
  double v = m.velocita_massima_kmh;
  for (const tratto_profilo& t : p.tratti)
    if (t.inizio_m <= x && x <= t.fine_m && t.limite_kmh > 0) v = std::min(v, t.limite_kmh);
  for (const rallentamento_profilo& o : p.rallentamenti) {
    const double fine = o.fine_m + (o.treno_intero ? m.lunghezza_treno_m : 0.0);
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

double acc_a(const profilo_corsa& p, const modello_treno& m, double x) {
  return std::max(accelerazione_residua_minima, m.accelerazione - gravita * pendenza_a(p, x) / 1000);
}
double dec_a(const profilo_corsa& p, const modello_treno& m, double x) {
  return std::max(accelerazione_residua_minima, m.decelerazione + gravita * pendenza_a(p, x) / 1000);
}

// A test oracle, not the method: the fastest run worked out on a grid of
// `h` metres by a forward pass of full acceleration and a backward pass of
// braking, each step held to the limit at both its ends and inside it.
double tempo_oracolo(const profilo_corsa& p, const modello_treno& m, double da, double a, double h) {
  const auto n = static_cast<std::size_t>(std::llround((a - da) / h));
  if (n == 0) return 0.0;
  std::vector<double> nodo(n + 1), passo(n), avanti(n + 1), indietro(n + 1);
  for (std::size_t k = 0; k <= n; ++k) nodo[k] = std::pow(limite_a(p, m, da + h * k), 2);
  for (std::size_t k = 0; k < n; ++k) passo[k] = std::pow(limite_a(p, m, da + h * (k + 0.5)), 2);
  avanti[0] = 0.0;
  for (std::size_t k = 0; k < n; ++k)
    avanti[k + 1] = std::min({nodo[k + 1], passo[k], avanti[k] + 2 * acc_a(p, m, da + h * (k + 0.5)) * h});
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
        EXPECT_LE(pendio, acc_a(c.p, m, mezzo) * (1 + 1e-9) + 1e-12) << mezzo;
        EXPECT_GE(pendio, -dec_a(c.p, m, mezzo) * (1 + 1e-9) - 1e-12) << mezzo;
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
      EXPECT_GE(tempo_totale(calcola_corsa(p, c.m)), prima * (1 - 1e-12)) << "try " << prova;
    }

    // On a few profiles, a fine numerical run as an oracle: no slower than it.
    if (seme % 30 == 0) {
      for (const tratta_corsa& t : r.tratte) {
        const double oracolo = tempo_oracolo(c.p, m, t.da_m, t.a_m, 1.0);
        EXPECT_LE(t.tempo_s, oracolo * (1 + 1e-9));
        EXPECT_NEAR(t.tempo_s, oracolo, 1e-3 * oracolo + 1e-9);
      }
    }
  }
}
