#include "analisi/corsa.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace {

constexpr double infinito = std::numeric_limits<double>::infinity();

double nei_limiti(double x, double minimo, double massimo, double predefinito) {
  if (std::isnan(x)) return predefinito;
  return std::clamp(x, minimo, massimo);
}

double metri_al_secondo(double kmh) { return kmh / 3.6; }

// A piece of the run between two neighbouring boundaries: the limit, the
// acceleration and the braking are constant over it.
struct elemento {
  double x0 = 0.0;
  double x1 = 0.0;
  double u = 0.0;    // the limit as v², (m/s)²
  double acc = 0.0;  // m/s², the gradient's share included
  double dec = 0.0;
  bool senza_limite = false;
};

// The route cut at every change of limit or gradient, at every slow order's
// ends, at every limited point and at every stop: element j runs from
// bordi[j] to bordi[j + 1]; punto_u[j] is the v² allowed at bordi[j].
struct pezzi {
  std::vector<double> bordi;
  std::vector<double> punto_u;
  std::vector<elemento> el;
};

double v2_limite(double kmh) {
  const double v = metri_al_secondo(std::max(kmh, velocita_minima_kmh));
  return v * v;
}

pezzi taglia(const profilo_corsa& p, const modello_treno& m, const std::vector<double>& fermate) {
  pezzi r;
  const auto [min_f, max_f] = std::minmax_element(fermate.begin(), fermate.end());
  const double lo = *min_f, hi = *max_f;
  auto bordo = [&](double x) {
    if (std::isfinite(x) && x > lo && x < hi) r.bordi.push_back(x);
  };

  // Slow orders as they act: a start, an end moved on by the train's length
  // when the whole train must keep to it, a speed. One of no length restricts nothing.
  struct ordine {
    double inizio, fine, v;
  };
  std::vector<ordine> ordini;
  for (const rallentamento_profilo& o : p.rallentamenti) {
    const double fine = o.fine_m + (o.treno_intero ? m.lunghezza_treno_m : 0.0);
    if (!(fine > o.inizio_m) || std::isnan(o.velocita_kmh)) continue;
    ordini.push_back({o.inizio_m, fine, o.velocita_kmh});
  }

  r.bordi = fermate;
  for (const tratto_profilo& t : p.tratti) {
    bordo(t.inizio_m);
    bordo(t.fine_m);
  }
  for (const ordine& o : ordini) {
    bordo(o.inizio);
    bordo(o.fine);
  }
  for (const punto_limite& q : p.punti) bordo(q.posizione_m);
  std::sort(r.bordi.begin(), r.bordi.end());
  r.bordi.erase(std::unique(r.bordi.begin(), r.bordi.end()), r.bordi.end());

  r.punto_u.assign(r.bordi.size(), infinito);
  for (const punto_limite& q : p.punti) {
    if (!(q.posizione_m > lo && q.posizione_m < hi) || std::isnan(q.velocita_kmh)) continue;
    const std::size_t j = static_cast<std::size_t>(
        std::lower_bound(r.bordi.begin(), r.bordi.end(), q.posizione_m) - r.bordi.begin());
    r.punto_u[j] = std::min(r.punto_u[j], v2_limite(q.velocita_kmh));
  }

  // The line's stretches in order of their starts (the later of two equal starts holds).
  std::vector<const tratto_profilo*> tratti;
  for (const tratto_profilo& t : p.tratti)
    if (std::isfinite(t.inizio_m) && std::isfinite(t.fine_m)) tratti.push_back(&t);
  std::stable_sort(tratti.begin(), tratti.end(),
                   [](const tratto_profilo* a, const tratto_profilo* b) { return a->inizio_m < b->inizio_m; });
  // The slow orders in force at each element: taken on at their start, let go at their end.
  std::vector<const ordine*> per_inizio, per_fine;
  for (const ordine& o : ordini) {
    per_inizio.push_back(&o);
    per_fine.push_back(&o);
  }
  std::sort(per_inizio.begin(), per_inizio.end(), [](const ordine* a, const ordine* b) { return a->inizio < b->inizio; });
  std::sort(per_fine.begin(), per_fine.end(), [](const ordine* a, const ordine* b) { return a->fine < b->fine; });
  std::multiset<double> in_vigore;

  const double v_max = m.velocita_massima_kmh;
  std::size_t k = 0, ki = 0, kf = 0;
  const tratto_profilo* attuale = nullptr;
  r.el.reserve(r.bordi.size());
  for (std::size_t j = 0; j + 1 < r.bordi.size(); ++j) {
    elemento e;
    e.x0 = r.bordi[j];
    e.x1 = r.bordi[j + 1];
    const double mezzo = e.x0 + (e.x1 - e.x0) / 2;
    while (k < tratti.size() && tratti[k]->inizio_m <= mezzo) attuale = tratti[k++];
    while (ki < per_inizio.size() && per_inizio[ki]->inizio <= mezzo) in_vigore.insert(per_inizio[ki++]->v);
    while (kf < per_fine.size() && per_fine[kf]->fine <= mezzo) in_vigore.erase(in_vigore.find(per_fine[kf++]->v));

    const tratto_profilo* t = attuale != nullptr && mezzo < attuale->fine_m ? attuale : nullptr;
    double limite = v_max;
    e.senza_limite = !(t != nullptr && t->limite_kmh > 0);
    if (!e.senza_limite) limite = std::min(limite, t->limite_kmh);
    if (!in_vigore.empty()) limite = std::min(limite, *in_vigore.begin());
    e.u = v2_limite(limite);

    const double pendenza = t != nullptr && std::isfinite(t->pendenza_permille) ? t->pendenza_permille : 0.0;
    const double peso = gravita * pendenza / 1000.0;
    e.acc = std::max(accelerazione_residua_minima, m.accelerazione - peso);
    e.dec = std::max(accelerazione_residua_minima, m.decelerazione + peso);
    r.el.push_back(e);
  }
  return r;
}

// The index of boundary `x` (always one of them: every stop is a boundary).
std::size_t indice_bordo(const pezzi& pz, double x) {
  return static_cast<std::size_t>(std::lower_bound(pz.bordi.begin(), pz.bordi.end(), x) - pz.bordi.begin());
}

tratta_corsa calcola_tratta(const pezzi& pz, double da, double a, std::vector<intervallo>& senza_limite) {
  tratta_corsa t;
  t.da_m = da;
  t.a_m = a;
  t.punti.push_back({da, 0.0, 0.0});
  if (!(a > da)) return t;

  const std::size_t ia = indice_bordo(pz, da), ib = indice_bordo(pz, a);
  const std::size_t n = ib - ia;
  // v² at each element's start with full acceleration from the stop behind
  // (fs) and at each element's end with braking for everything ahead (be).
  std::vector<double> fs(n), be(n);
  double fine_avanti = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const elemento& e = pz.el[ia + i];
    fs[i] = i == 0 ? 0.0 : std::min({fine_avanti, e.u, pz.punto_u[ia + i]});
    fine_avanti = std::min(e.u, fs[i] + 2 * e.acc * (e.x1 - e.x0));
  }
  double inizio_dietro = 0.0;
  for (std::size_t i = n; i-- > 0;) {
    const elemento& e = pz.el[ia + i];
    be[i] = i + 1 == n ? 0.0 : std::min({inizio_dietro, e.u, pz.punto_u[ia + i + 1]});
    inizio_dietro = std::min(e.u, be[i] + 2 * e.dec * (e.x1 - e.x0));
  }

  double tempo = 0.0, x_prima = da, v_prima = 0.0;
  auto aggiungi = [&](double x, double w) {
    if (!(x > x_prima)) return;
    const double v = std::sqrt(std::max(0.0, w));
    const double somma = v_prima + v;
    if (somma > 0) tempo += 2 * (x - x_prima) / somma;
    t.punti.push_back({x, v * 3.6, tempo});
    x_prima = x;
    v_prima = v;
  };
  for (std::size_t i = 0; i < n; ++i) {
    const elemento& e = pz.el[ia + i];
    const double f = fs[i], b = be[i], lungo = e.x1 - e.x0;
    auto w = [&](double x) { return std::min({e.u, f + 2 * e.acc * (x - e.x0), b + 2 * e.dec * (e.x1 - x)}); };
    // Where the acceleration line meets the limit, where the braking line
    // leaves it, and where the two lines cross: the only places where the
    // lower envelope can bend.
    double svolte[3];
    int quante = 0;
    auto svolta = [&](double x) {
      if (x > e.x0 && x < e.x1) svolte[quante++] = x;
    };
    if (f < e.u) svolta(e.x0 + (e.u - f) / (2 * e.acc));
    if (b < e.u) svolta(e.x1 - (e.u - b) / (2 * e.dec));
    svolta(e.x0 + (b + 2 * e.dec * lungo - f) / (2 * (e.acc + e.dec)));
    for (int q = 1; q < quante; ++q)  // at most three: put in order by hand
      for (int r = q; r > 0 && svolte[r] < svolte[r - 1]; --r) std::swap(svolte[r], svolte[r - 1]);
    for (int q = 0; q < quante; ++q) aggiungi(svolte[q], w(svolte[q]));
    aggiungi(e.x1, w(e.x1));

    if (e.senza_limite) {
      if (!senza_limite.empty() && senza_limite.back().fine_m == e.x0)
        senza_limite.back().fine_m = e.x1;
      else
        senza_limite.push_back({e.x0, e.x1});
    }
  }
  t.tempo_s = tempo;
  return t;
}

// The breakpoint at or before `x` in a leg's run, and the v² and time at `x` from it.
struct stato_in {
  double v = 0.0;  // m/s
  double tempo = 0.0;
};

stato_in stato_a(const tratta_corsa& t, double x) {
  if (t.punti.empty()) return {};
  const auto& p = t.punti;
  if (!(x > p.front().posizione_m)) return {metri_al_secondo(p.front().velocita_kmh), p.front().tempo_s};
  if (!(x < p.back().posizione_m)) return {metri_al_secondo(p.back().velocita_kmh), p.back().tempo_s};
  const auto dopo = std::upper_bound(p.begin(), p.end(), x,
                                     [](double y, const punto_velocita& q) { return y < q.posizione_m; });
  const punto_velocita& q1 = *dopo;
  const punto_velocita& q0 = *(dopo - 1);
  const double v0 = metri_al_secondo(q0.velocita_kmh), v1 = metri_al_secondo(q1.velocita_kmh);
  const double quota = (x - q0.posizione_m) / (q1.posizione_m - q0.posizione_m);
  const double v = std::sqrt(std::max(0.0, v0 * v0 + (v1 * v1 - v0 * v0) * quota));
  const double somma = v0 + v;
  return {v, q0.tempo_s + (somma > 0 ? 2 * (x - q0.posizione_m) / somma : 0.0)};
}

}  // namespace

modello_treno modello_nei_limiti(const modello_treno& m) {
  const modello_treno d;
  modello_treno r = m;
  r.accelerazione = nei_limiti(m.accelerazione, accelerazione_residua_minima, accelerazione_massima, d.accelerazione);
  r.decelerazione = nei_limiti(m.decelerazione, accelerazione_residua_minima, accelerazione_massima, d.decelerazione);
  r.velocita_massima_kmh =
      nei_limiti(m.velocita_massima_kmh, velocita_minima_kmh, velocita_massima_ammessa_kmh, d.velocita_massima_kmh);
  r.sosta_s = nei_limiti(m.sosta_s, 0.0, sosta_massima_s, d.sosta_s);
  r.lunghezza_treno_m = nei_limiti(m.lunghezza_treno_m, 0.0, 1e6, d.lunghezza_treno_m);
  r.lunghezza_vettura_m = nei_limiti(m.lunghezza_vettura_m, 0.0, lunghezza_vettura_massima_m, d.lunghezza_vettura_m);
  r.percentuale_massa_frenata = massa_frenata_nei_limiti(m.percentuale_massa_frenata);
  return r;
}

corsa calcola_corsa(const profilo_corsa& p, const modello_treno& modello) {
  corsa r;
  if (p.fermate.size() < 2) return r;
  const modello_treno m = modello_nei_limiti(modello);
  std::vector<double> fermate = p.fermate;
  for (double& x : fermate)
    if (!std::isfinite(x)) x = 0.0;
  const pezzi pz = taglia(p, m, fermate);
  r.tratte.reserve(fermate.size() - 1);
  for (std::size_t k = 0; k + 1 < fermate.size(); ++k)
    r.tratte.push_back(calcola_tratta(pz, fermate[k], fermate[k + 1], r.senza_limite));
  return r;
}

double tempo_in(const tratta_corsa& t, double x) { return stato_a(t, x).tempo; }

double velocita_in(const tratta_corsa& t, double x) { return stato_a(t, x).v * 3.6; }
