// A second way to the fastest run, for the tests: a train driven in small
// steps of time over the route grid, read cell by cell as docs/marcia.md
// tells it, with nothing of the engine's (no profile, no pieces, no tables,
// no closed forms). It looks ahead through the highest speed allowed at
// every half metre, worked back from the next stop by service braking, and
// otherwise pulls in full.
#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "analisi/marcia.h"
#include "formato/vocabolario.h"

namespace simulazione_marcia {

// The route at every half metre from one stop to the next, as the train's
// head meets it: the highest speed allowed (m/s), the gradient and curves
// (per mille) and the braking (m/s²) in the half metre that begins there.
struct tratta_simulata {
  double da = 0.0, passo = 0.5;
  std::vector<double> limite, pendenza, curve, frenatura;
};

inline double limite_cella(const cella_percorso& c, double v_cima) {
  return c.velocita == 0 ? v_cima : std::min(v_cima, c.velocita * 5.0);
}

// The restrictions from the grid: each a span of the head and a speed, km/h.
struct vincolo {
  double inizio, fine, kmh;
};

inline std::vector<vincolo> vincoli(const scenario& f, const modello_treno& m) {
  std::vector<vincolo> r;
  const auto& c = f.percorso;
  const double coda = m.lunghezza_treno_m;
  // Line limits: every cell below the top speed, kept until the tail clears it.
  for (std::size_t i = 0; i < c.size(); ++i) {
    const double v = limite_cella(c[i], m.velocita_massima_kmh);
    if (v < m.velocita_massima_kmh)
      r.push_back({50.0 * i, 50.0 * (i + 1) + (m.rilascio_in_coda ? coda : 0.0), v});
  }
  // Slow orders: a start pairs with the next end cell of its speed; one left
  // open restricts its own cell.
  std::map<int, std::vector<std::pair<std::size_t, bool>>> aperti;
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (c[i].tipo == tipo_inizio_rallentamento) {
      aperti[c[i].dato1].push_back({i, c[i].dato3 == 1});
    } else if (c[i].tipo == tipo_fine_rallentamento) {
      auto& a = aperti[c[i].dato1];
      if (a.empty()) continue;
      const auto [inizio, intero] = a.back();
      a.pop_back();
      r.push_back({50.0 * inizio, 50.0 * i + (intero || m.rilascio_in_coda ? coda : 0.0),
                   std::max(1.0, double(c[i].dato1))});
    }
  }
  for (const auto& [v, a] : aperti)
    for (const auto& [inizio, intero] : a)
      r.push_back({50.0 * inizio, 50.0 * (inizio + 1) + (intero || m.rilascio_in_coda ? coda : 0.0),
                   std::max(1.0, double(v))});
  return r;
}

// Röckl: 650 / (R - 55) per mille for a radius of 300 m or more.
inline double curva_per_mille(double raggio, double k) { return raggio >= 300 ? k / (raggio - 55) : k * 500 / 650 / (raggio - 30); }

inline tratta_simulata leggi(const scenario& f, const modello_treno& m, double da, double a) {
  tratta_simulata t;
  t.da = da;
  const auto n = static_cast<std::size_t>(std::llround((a - da) / t.passo));
  const double v_cima = m.velocita_massima_kmh;
  t.limite.assign(n + 1, v_cima);
  t.pendenza.assign(n + 1, 0.0);
  t.curve.assign(n + 1, 0.0);
  t.frenatura.assign(n + 1, 0.0);
  // The half metres whose middles lie in [inizio, fine).
  auto dentro = [&](double inizio, double fine, auto&& fai) {
    const double k0 = std::max(0.0, std::ceil((inizio - da) / t.passo - 0.5));
    const double k1 = std::min(double(n) + 1, std::ceil((fine - da) / t.passo - 0.5));
    for (double k = k0; k < k1; ++k) fai(static_cast<std::size_t>(k));
  };
  for (const vincolo& v : vincoli(f, m))
    dentro(v.inizio, v.fine, [&](std::size_t k) { t.limite[k] = std::min(t.limite[k], v.kmh); });
  // The plan's curves: a stretch turns from the point before it to its last.
  std::vector<vincolo> curve;
  int64_t prima = 1;
  for (const tratto_linea& s : f.griglia_linea.tratti) {
    if (s.curva && s.k != 0) curve.push_back({double(prima), double(s.fino), 1 / std::fabs(s.k)});
    prima = std::max(prima, s.fino);
  }
  for (const vincolo& c : curve)
    dentro(c.inizio, c.fine, [&](std::size_t k) { t.curve[k] = curva_per_mille(c.kmh, m.resistenza_curve); });
  for (std::size_t k = 0; k <= n; ++k) {
    const double x = da + t.passo * k + t.passo / 2;
    const auto cella = static_cast<std::size_t>(std::floor(x / 50));
    if (x >= 0 && cella < f.percorso.size() && f.percorso[cella].pendenza != 0)
      t.pendenza[k] = f.percorso[cella].pendenza - 100.0;
    t.frenatura[k] = std::max(0.05, m.decelerazione + 9.81 * t.pendenza[k] / 1000);
    t.limite[k] = std::max(t.limite[k], 1.0) / 3.6;
  }
  return t;
}

// The acceleration of full traction at `v` (m/s) over gradient and curves `w` per mille.
inline double accelerazione(const modello_treno& m, double v, double w) {
  double f = m.sforzo_trazione_kn;
  if (m.aderenza > 0) f = std::min(f, m.aderenza * m.massa_aderente_t * 9.81);
  if (v > 0) f = std::min(f, m.potenza_kw / v);
  const double kmh = v * 3.6;
  const double r = m.resistenza_a_kn + m.resistenza_b_kn * kmh + m.resistenza_c_kn * kmh * kmh;
  const double a = (f - r - m.massa_t * 9.81 * w / 1000) / (m.massa_t * m.masse_rotanti);
  const double strisciamento = 10 / 3.6;
  return std::min(v < strisciamento ? std::max(a, 0.05 * (1 - v / strisciamento)) : a, 5.0);
}

// The time from standstill at `da` to standstill at `a`, in steps of `dt` seconds.
inline double tempo(const scenario& f, const modello_treno& m, double da, double a, double dt = 0.02) {
  if (!(a > da)) return 0.0;
  const tratta_simulata t = leggi(f, m, da, a);
  const std::size_t n = t.limite.size() - 1;
  // The highest speed at each half metre's start from which everything ahead can be met.
  std::vector<double> massima(n + 1);
  massima[n] = 0.0;
  for (std::size_t k = n; k-- > 0;)
    massima[k] = std::min({t.limite[k], k > 0 ? t.limite[k - 1] : t.limite[k],
                           std::sqrt(massima[k + 1] * massima[k + 1] + 2 * t.frenatura[k] * t.passo)});
  // Points of reduced speed: the train passes them at no more than their speed.
  for (std::size_t i = 0; i < f.percorso.size(); ++i)
    if (f.percorso[i].tipo == tipo_abbattimento) {
      const double x = 50.0 * i;
      if (!(x > da && x < a)) continue;
      const auto k = static_cast<std::size_t>(std::llround((x - da) / t.passo));
      massima[k] = std::min(massima[k], std::max(1.0, double(f.percorso[i].dato1)) / 3.6);
      for (std::size_t j = k; j-- > 0;)
        massima[j] = std::min(massima[j], std::sqrt(massima[j + 1] * massima[j + 1] + 2 * t.frenatura[j] * t.passo));
    }
  auto consentita = [&](double x) {
    const double q = std::clamp((x - da) / t.passo, 0.0, double(n));
    const auto k = std::min(static_cast<std::size_t>(q), n - 1);
    const double r = q - k;
    return std::sqrt(massima[k] * massima[k] * (1 - r) + massima[k + 1] * massima[k + 1] * r);
  };
  double x = da, v = 0.0, tempo = 0.0;
  while (x < a) {
    const auto k = std::min(static_cast<std::size_t>((x - da) / t.passo), n - 1);
    const double acc = accelerazione(m, v, t.pendenza[k] + t.curve[k]);
    // Midpoint step, held under the speed allowed where it ends.
    const double v_mezzo = std::min(v + acc * dt / 2, consentita(x + v * dt / 2));
    const double acc2 = accelerazione(m, v_mezzo, t.pendenza[k] + t.curve[k]);
    double v1 = v + acc2 * dt;
    double x1 = x + (v + v1) / 2 * dt;
    const double tetto = consentita(x1);
    if (v1 > tetto) {
      v1 = tetto;
      x1 = x + (v + v1) / 2 * dt;
      v1 = std::min(v1, consentita(x1));
    }
    if (x1 >= a || v1 <= 0) {
      // The last centimetres to the stop, braking from v to standstill.
      tempo += v > 0 ? 2 * (a - x) / v : std::sqrt(2 * (a - x) / t.frenatura[n - 1]);
      break;
    }
    x = x1;
    v = v1;
    tempo += dt;
  }
  return tempo;
}

}  // namespace simulazione_marcia
