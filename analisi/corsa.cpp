#include "analisi/corsa.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <utility>

namespace {

constexpr double infinito = std::numeric_limits<double>::infinity();

double nei_limiti(double x, double minimo, double massimo, double predefinito) {
  if (std::isnan(x)) return predefinito;
  return std::clamp(x, minimo, massimo);
}

double metri_al_secondo(double kmh) { return kmh / 3.6; }

// Five-point Gauss–Legendre on [-1, 1].
constexpr double gl_x[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640, 0.9061798459386640};
constexpr double gl_w[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665, 0.2369268850561891,
                            0.2369268850561891};

// Under traction a piece of the speed is at most this wide, and the approach to
// the speed the train holds at full traction is cut in halves down to this
// share of it: beyond, the train is taken to run at it.
constexpr double passo_velocita = 2.0;  // m/s
constexpr double quota_equilibrio = 1e-4;

// The train's forces, worked out once per run from the model (within limits).
struct forze {
  double massa = 0.0;          // t
  double inerzia = 0.0;        // t: the mass with its rotating parts
  double sforzo = 0.0;         // kN: the drive's, within the adhesion
  double potenza = 0.0;        // kW
  double ra = 0.0, rb = 0.0, rc = 0.0;
  double fattore = 1.0;        // on the tractive effort as a whole
  double v_cima = 0.0;         // the top speed, m/s

  // The tractive effort at `v` (m/s), kN.
  double forza(double v) const { return fattore * (v > 0 ? std::min(sforzo, potenza / v) : sforzo); }
  double resistenza(double v) const {
    const double kmh = 3.6 * v;
    return ra + rb * kmh + rc * kmh * kmh;
  }
  // The acceleration at `v` on a stretch whose gradient and curves weigh `w`
  // per mille: never below the crawl's floor, never above the bound.
  double acc(double v, double w) const {
    const double a = (forza(v) - resistenza(v) - massa * gravita * w / 1000.0) / inerzia;
    // Below the crawl speed the floor; above it the train may well lose speed.
    const double strisciamento = metri_al_secondo(velocita_strisciamento_kmh);
    const double pavimento = accelerazione_residua_minima * (1.0 - v / strisciamento);
    return std::min(v < strisciamento ? std::max(a, pavimento) : a, accelerazione_massima);
  }
  // The speed where the tractive effort changes its law, from the drive's
  // (or the adhesion's) to the power's.
  std::vector<double> cambi() const {
    const double v = potenza / sforzo;
    if (v > 0 && v < v_cima) return {v};
    return {};
  }
};

forze forze_di(const modello_treno& m, double fattore = 1.0) {
  forze f;
  f.massa = m.massa_t;
  f.inerzia = m.massa_t * m.masse_rotanti;
  f.sforzo = m.sforzo_trazione_kn;
  if (m.aderenza > 0) f.sforzo = std::min(f.sforzo, m.aderenza * m.massa_aderente_t * gravita);
  f.potenza = m.potenza_kw;
  f.ra = m.resistenza_a_kn;
  f.rb = m.resistenza_b_kn;
  f.rc = m.resistenza_c_kn;
  f.fattore = fattore;
  f.v_cima = metri_al_secondo(m.velocita_massima_kmh);
  return f;
}

// A point of a traction table: a speed, and the distance and time to reach
// it from the table's first speed.
struct nodo {
  double v = 0.0, x = 0.0, t = 0.0;
};

// Full traction over one kind of stretch (its gradient and curves `w`): from
// standstill up (`salita`), and, when the train cannot hold its top speed
// there, from the top speed down to the speed it can hold (`discesa`).
// One way of a table: every node's speed, and their distances and times
// worked out over the nodes lo to hi alone, from whichever a run asked for
// first (the distances and times are only ever taken one from another).
struct via {
  std::vector<nodo> nodi;
  std::size_t lo = 1, hi = 0;  // none worked out while lo > hi
};

// Each way is listed the first time a run needs it, and worked out as far as
// runs go along it.
struct tabella {
  double w = 0.0;
  double equilibrio = infinito;  // the speed held at full traction, when below the top speed
  double fine_salita = 0.0;      // the highest speed the rising table reaches
  double fine_discesa = 0.0;     // the lowest the falling one reaches (the top speed when none)
  bool salita_fatta = false, discesa_fatta = false;
  via salita;
  via discesa;
};

// ∫ v / a dv and ∫ 1 / a dv from `va` to `vb` (either way), by Gauss–Legendre.
std::pair<double, double> integra(const forze& fz, double w, double va, double vb) {
  const double mezzo = (va + vb) / 2, semi = (vb - va) / 2;
  double x = 0.0, t = 0.0;
  for (int k = 0; k < 5; ++k) {
    const double v = mezzo + semi * gl_x[k];
    const double a = fz.acc(v, w);
    x += gl_w[k] * v / a;
    t += gl_w[k] / a;
  }
  return {x * semi, t * semi};
}

// The speeds of a table's nodes from `da` to `a` (either way): steps of at
// most 2 m/s, the changes of law between, and, when the table ends just short
// of the speed the train holds there (`equilibrio`), the last 2 m/s to it cut
// in halves down to `a`.
std::vector<double> velocita_nodi(double da, double a, double equilibrio, const std::vector<double>& cambi) {
  const double verso = a >= da ? 1.0 : -1.0;
  const bool al_equilibrio = std::isfinite(equilibrio);
  const double vicino =
      al_equilibrio ? equilibrio - verso * std::min(passo_velocita, std::fabs(equilibrio - da)) : a;
  std::vector<double> v = {da};
  std::vector<double> tappe;
  for (double c : cambi)
    if ((c - da) * verso > 0 && (vicino - c) * verso > 0) tappe.push_back(c);
  if (verso < 0) std::reverse(tappe.begin(), tappe.end());
  tappe.push_back(vicino);
  for (double fine : tappe) {
    const double inizio = v.back();
    if (fine == inizio) continue;
    const int n = std::max(1, static_cast<int>(std::ceil(std::fabs(fine - inizio) / passo_velocita)));
    for (int k = 1; k <= n; ++k) v.push_back(k == n ? fine : inizio + (fine - inizio) * k / n);
  }
  if (al_equilibrio) {
    double scarto = std::fabs(equilibrio - vicino);
    const double fondo = std::fabs(equilibrio - a);
    while (scarto / 2 > fondo) {
      scarto /= 2;
      v.push_back(equilibrio - verso * scarto);
    }
    if (v.back() != a) v.push_back(a);
    for (double c : cambi)
      if ((c - vicino) * verso > 0 && (a - c) * verso > 0) v.push_back(c);
    std::sort(v.begin(), v.end(), [verso](double x, double y) { return (y - x) * verso > 0; });
    v.erase(std::unique(v.begin(), v.end()), v.end());
  }
  return v;
}

// A table's speed held and the ends of its ways; the ways themselves wait.
tabella costruisci_tabella(const forze& fz, double w) {
  tabella t;
  t.w = w;
  if (fz.acc(fz.v_cima, w) < 0) {
    double lo = 0.0, hi = fz.v_cima;  // acc(0) is at least the floor: above 0
    for (int k = 0; k < 200 && hi - lo > 1e-13 * fz.v_cima; ++k) {
      const double m = (lo + hi) / 2;
      (fz.acc(m, w) > 0 ? lo : hi) = m;
    }
    t.equilibrio = (lo + hi) / 2;
  }
  if (std::isfinite(t.equilibrio)) {
    t.fine_salita = t.equilibrio * (1 - quota_equilibrio);
    t.fine_discesa = std::min(fz.v_cima, t.equilibrio * (1 + quota_equilibrio));
  } else {
    t.fine_salita = t.fine_discesa = fz.v_cima;
  }
  return t;
}

// The nodes of a table's way from `da` to `a`: their speeds alone.
void elenca(const std::vector<double>& cambi, const tabella& t, via& v, double da, double a) {
  const std::vector<double> vs = velocita_nodi(da, a, t.equilibrio, cambi);
  v.nodi.reserve(vs.size());
  for (double x : vs) v.nodi.push_back({x, 0.0, 0.0});
}

// Node k of the way worked out, and every node between it and those already.
void assicura(const forze& fz, double w, via& v, std::size_t k) {
  if (k >= v.nodi.size()) return;
  if (v.lo > v.hi) {
    v.lo = v.hi = k;
    v.nodi[k].x = v.nodi[k].t = 0.0;
    return;
  }
  while (v.hi < k) {
    const auto [dx, dt] = integra(fz, w, v.nodi[v.hi].v, v.nodi[v.hi + 1].v);
    v.nodi[v.hi + 1].x = v.nodi[v.hi].x + dx;
    v.nodi[v.hi + 1].t = v.nodi[v.hi].t + dt;
    ++v.hi;
  }
  while (v.lo > k) {
    const auto [dx, dt] = integra(fz, w, v.nodi[v.lo - 1].v, v.nodi[v.lo].v);
    v.nodi[v.lo - 1].x = v.nodi[v.lo].x - dx;
    v.nodi[v.lo - 1].t = v.nodi[v.lo].t - dt;
    --v.lo;
  }
}

// The node of the way at or before speed `v` along it.
std::size_t nodo_prima(const via& w, double v) {
  const std::vector<nodo>& nodi = w.nodi;
  const bool sale = nodi.size() < 2 || nodi.back().v >= nodi.front().v;
  const auto dopo = sale ? std::upper_bound(nodi.begin(), nodi.end(), v, [](double y, const nodo& n) { return y < n.v; })
                         : std::upper_bound(nodi.begin(), nodi.end(), v, [](double y, const nodo& n) { return y > n.v; });
  return dopo == nodi.begin() ? 0 : static_cast<std::size_t>(dopo - nodi.begin()) - 1;
}

// Distance and time along the way to `v` (within its range).
nodo in_tabella(const forze& fz, const tabella& tab, via& w, double v) {
  const std::size_t k = std::min(nodo_prima(w, v), w.nodi.size() - 1);
  assicura(fz, tab.w, w, k);
  const nodo& n = w.nodi[k];
  if (v == n.v) return n;
  const auto [dx, dt] = integra(fz, tab.w, n.v, v);
  return {v, n.x + dx, n.t + dt};
}

// The speed at distance `x` along the way (within its range), by Newton's
// method held within the piece's bracket.
double velocita_a_distanza(const forze& fz, const tabella& tab, via& w, double x) {
  // The nodes worked out reach as far as the distance asked.
  while (w.hi + 1 < w.nodi.size() && w.nodi[w.hi].x <= x) assicura(fz, tab.w, w, w.hi + 1);
  while (w.lo > 0 && w.nodi[w.lo].x > x) assicura(fz, tab.w, w, w.lo - 1);
  const auto inizio = w.nodi.begin() + static_cast<std::ptrdiff_t>(w.lo);
  const auto fine = w.nodi.begin() + static_cast<std::ptrdiff_t>(w.hi) + 1;
  const auto dopo = std::upper_bound(inizio, fine, x, [](double y, const nodo& n) { return y < n.x; });
  if (dopo == fine) return w.nodi[w.hi].v;
  if (dopo == inizio) return w.nodi[w.lo].v;
  const nodo& a = *(dopo - 1);
  const nodo& b = *dopo;
  double lo = a.v, hi = b.v;  // x rises from lo to hi
  // v² nearly straight in x over a piece: exactly so where the force is constant.
  double v = std::sqrt(std::max(0.0, a.v * a.v + (b.v * b.v - a.v * a.v) * (x - a.x) / (b.x - a.x)));
  for (int k = 0; k < 60; ++k) {
    const double errore = a.x + integra(fz, tab.w, a.v, v).first - x;
    if (std::fabs(errore) <= 1e-10 * (1.0 + std::fabs(x))) break;
    (errore > 0 ? hi : lo) = v;
    const double passo = errore / (v / fz.acc(v, tab.w));
    double nuovo = v - passo;
    const double basso = std::min(lo, hi), alto = std::max(lo, hi);
    if (!(nuovo > basso && nuovo < alto)) nuovo = (lo + hi) / 2;
    if (nuovo == v) break;
    v = nuovo;
  }
  return v;
}

// A piece of the route between two neighbouring boundaries: the limit, the
// gradient and the curves are constant over it. `chi` names the restriction
// that sets the limit (-1: the top speed), `u2` the limit without it.
struct elemento {
  double x0 = 0.0;
  double x1 = 0.0;
  double u = 0.0;    // the limit as v², (m/s)²
  double u2 = 0.0;
  int32_t chi = -1;
  double w = 0.0;    // gradient and curves, per mille
  double dec = 0.0;  // m/s², the gradient's share included
  bool senza_limite = false;
};

// A restriction's key: its kind and its index in the profile's list.
int32_t chiave(tipo_restrizione t, std::size_t i) { return static_cast<int32_t>(i) * 3 + static_cast<int32_t>(t); }
constexpr int32_t nessuna_tolta = -1;
constexpr int32_t tutte_tolte = -2;

// The route cut at every change of limit, gradient or curve, at every slow
// order's ends, at every limited point and at every stop: element j runs
// from bordi[j] to bordi[j + 1]; punto_u[j] is the v² allowed at bordi[j]
// (punto_chi the point that sets it, punto_u2 the v² without it).
struct pezzi {
  std::vector<double> bordi;
  std::vector<double> punto_u, punto_u2;
  std::vector<int32_t> punto_chi;
  std::vector<elemento> el;
  std::vector<costo_restrizione> restrizioni;  // what each key names, in the order met
  std::map<int32_t, std::size_t> dove;         // a key's place in `restrizioni`
};

double v2_limite(double kmh) {
  const double v = metri_al_secondo(std::max(kmh, velocita_minima_kmh));
  return v * v;
}

// Curve resistance per mille of a curve of radius `r`, Röckl's k given.
double resistenza_curva(double r, double k) {
  if (!(r > 0) || !std::isfinite(r) || !(k > 0)) return 0.0;
  if (r >= 300.0) return k / (r - 55.0);
  return k * (500.0 / 650.0) / std::max(r - 30.0, 1.0);
}

pezzi taglia(const profilo_corsa& p, const modello_treno& m, const std::vector<double>& fermate) {
  pezzi r;
  const auto [min_f, max_f] = std::minmax_element(fermate.begin(), fermate.end());
  const double lo = *min_f, hi = *max_f;
  auto bordo = [&](double x) {
    if (std::isfinite(x) && x > lo && x < hi) r.bordi.push_back(x);
  };

  // The line's stretches in order of their starts (the later of two equal
  // starts holds); each holds from its start to its end or the next start.
  std::vector<std::size_t> ordine_tratti;
  for (std::size_t i = 0; i < p.tratti.size(); ++i)
    if (std::isfinite(p.tratti[i].inizio_m) && std::isfinite(p.tratti[i].fine_m)) ordine_tratti.push_back(i);
  std::stable_sort(ordine_tratti.begin(), ordine_tratti.end(),
                   [&](std::size_t a, std::size_t b) { return p.tratti[a].inizio_m < p.tratti[b].inizio_m; });
  std::vector<const curva_profilo*> curve;
  for (const curva_profilo& c : p.curve)
    if (std::isfinite(c.inizio_m) && std::isfinite(c.fine_m) && c.fine_m > c.inizio_m) curve.push_back(&c);
  std::stable_sort(curve.begin(), curve.end(),
                   [](const curva_profilo* a, const curva_profilo* b) { return a->inizio_m < b->inizio_m; });

  // Restrictions as they act on the head: a start, an end moved on by the
  // train's length where the tail must clear it, a speed.
  struct vincolo {
    double inizio, fine, v;
    int32_t chi;
  };
  std::vector<vincolo> vincoli;
  const double coda = m.lunghezza_treno_m;
  const double v_cima = m.velocita_massima_kmh;
  auto registra = [&](tipo_restrizione t, std::size_t i, double inizio, double fine, double v) {
    const int32_t k = chiave(t, i);
    r.dove[k] = r.restrizioni.size();
    r.restrizioni.push_back({t, i, inizio, fine, v, 0.0});
    return k;
  };
  // A line limit holds over the stretches that follow one another with it
  // (the profile cuts them at every change of gradient too): one restriction,
  // named by its first stretch.
  bool in_corso = false;  // a limit carried on from the stretch before
  double inizio_limite = 0.0;
  std::size_t primo = 0;
  for (std::size_t k = 0; k < ordine_tratti.size(); ++k) {
    const tratto_profilo& t = p.tratti[ordine_tratti[k]];
    double fine = t.fine_m;
    if (k + 1 < ordine_tratti.size()) fine = std::min(fine, p.tratti[ordine_tratti[k + 1]].inizio_m);
    bordo(t.inizio_m);
    bordo(t.fine_m);
    if (!(fine > t.inizio_m) || !(t.limite_kmh > 0) || std::isnan(t.limite_kmh)) {
      in_corso = false;
      continue;
    }
    if (!in_corso) {
      inizio_limite = t.inizio_m;
      primo = ordine_tratti[k];
    }
    const tratto_profilo* dopo = k + 1 < ordine_tratti.size() ? &p.tratti[ordine_tratti[k + 1]] : nullptr;
    in_corso = dopo != nullptr && dopo->inizio_m == fine && dopo->limite_kmh == t.limite_kmh && dopo->fine_m > fine;
    if (in_corso) continue;
    const double fine_coda = fine + (m.rilascio_in_coda ? coda : 0.0);
    bordo(fine_coda);
    if (t.limite_kmh >= v_cima) continue;  // never below the top speed: restricts nothing
    vincoli.push_back({inizio_limite, fine_coda, t.limite_kmh,
                       registra(tipo_restrizione::limite_linea, primo, inizio_limite, fine_coda, t.limite_kmh)});
  }
  for (std::size_t i = 0; i < p.rallentamenti.size(); ++i) {
    const rallentamento_profilo& o = p.rallentamenti[i];
    const double fine = o.fine_m + (o.treno_intero || m.rilascio_in_coda ? coda : 0.0);
    if (!(fine > o.inizio_m) || std::isnan(o.velocita_kmh)) continue;
    bordo(o.inizio_m);
    bordo(fine);
    vincoli.push_back({o.inizio_m, fine, o.velocita_kmh,
                       registra(tipo_restrizione::rallentamento, i, o.inizio_m, fine, o.velocita_kmh)});
  }
  for (const curva_profilo* c : curve) {
    bordo(c->inizio_m);
    bordo(c->fine_m);
  }
  // A point at or above the top speed (the approach points' 180 km/h, most
  // often) restricts nothing: it cuts nothing either.
  for (const punto_limite& q : p.punti)
    if (!std::isnan(q.velocita_kmh) && v2_limite(q.velocita_kmh) < v2_limite(v_cima)) bordo(q.posizione_m);
  r.bordi.insert(r.bordi.end(), fermate.begin(), fermate.end());
  std::sort(r.bordi.begin(), r.bordi.end());
  r.bordi.erase(std::unique(r.bordi.begin(), r.bordi.end()), r.bordi.end());

  const double u_cima = v2_limite(v_cima);
  r.punto_u.assign(r.bordi.size(), infinito);
  r.punto_u2.assign(r.bordi.size(), infinito);
  r.punto_chi.assign(r.bordi.size(), -1);
  for (std::size_t i = 0; i < p.punti.size(); ++i) {
    const punto_limite& q = p.punti[i];
    if (!(q.posizione_m > lo && q.posizione_m < hi) || std::isnan(q.velocita_kmh)) continue;
    const std::size_t j = static_cast<std::size_t>(
        std::lower_bound(r.bordi.begin(), r.bordi.end(), q.posizione_m) - r.bordi.begin());
    const double u = v2_limite(q.velocita_kmh);
    if (u >= u_cima) continue;
    const int32_t k = registra(tipo_restrizione::punto, i, q.posizione_m, q.posizione_m, q.velocita_kmh);
    if (u < r.punto_u[j]) {
      r.punto_u2[j] = r.punto_u[j];
      r.punto_u[j] = u;
      r.punto_chi[j] = k;
    } else {
      r.punto_u2[j] = std::min(r.punto_u2[j], u);
    }
  }

  // The restrictions in force at each element: taken on at their start, let go at their end.
  std::vector<const vincolo*> per_inizio, per_fine;
  for (const vincolo& v : vincoli) {
    per_inizio.push_back(&v);
    per_fine.push_back(&v);
  }
  std::sort(per_inizio.begin(), per_inizio.end(), [](const vincolo* a, const vincolo* b) { return a->inizio < b->inizio; });
  std::sort(per_fine.begin(), per_fine.end(), [](const vincolo* a, const vincolo* b) { return a->fine < b->fine; });
  std::multiset<std::pair<double, int32_t>> in_vigore;

  std::size_t k = 0, kc = 0, ki = 0, kf = 0;
  const tratto_profilo* attuale = nullptr;
  const curva_profilo* curva = nullptr;
  r.el.reserve(r.bordi.size());
  for (std::size_t j = 0; j + 1 < r.bordi.size(); ++j) {
    elemento e;
    e.x0 = r.bordi[j];
    e.x1 = r.bordi[j + 1];
    const double mezzo = e.x0 + (e.x1 - e.x0) / 2;
    while (k < ordine_tratti.size() && p.tratti[ordine_tratti[k]].inizio_m <= mezzo) attuale = &p.tratti[ordine_tratti[k++]];
    while (kc < curve.size() && curve[kc]->inizio_m <= mezzo) curva = curve[kc++];
    while (ki < per_inizio.size() && per_inizio[ki]->inizio <= mezzo) {
      in_vigore.insert({per_inizio[ki]->v, per_inizio[ki]->chi});
      ++ki;
    }
    while (kf < per_fine.size() && per_fine[kf]->fine <= mezzo) {
      in_vigore.erase(in_vigore.find({per_fine[kf]->v, per_fine[kf]->chi}));
      ++kf;
    }

    const tratto_profilo* t = attuale != nullptr && mezzo < attuale->fine_m ? attuale : nullptr;
    e.senza_limite = !(t != nullptr && t->limite_kmh > 0);
    e.u = u_cima;
    e.u2 = u_cima;
    if (!in_vigore.empty()) {
      const auto primo = in_vigore.begin();
      const double u = v2_limite(primo->first);
      if (u < u_cima) {
        e.u = u;
        e.chi = primo->second;
        const auto secondo = std::next(primo);
        e.u2 = secondo == in_vigore.end() ? u_cima : std::min(u_cima, v2_limite(secondo->first));
      }
    }

    const double pendenza = t != nullptr && std::isfinite(t->pendenza_permille) ? t->pendenza_permille : 0.0;
    const double nella_curva =
        curva != nullptr && mezzo < curva->fine_m ? resistenza_curva(curva->raggio_m, m.resistenza_curve) : 0.0;
    e.w = pendenza + nella_curva;
    e.dec = std::max(accelerazione_residua_minima, m.decelerazione + gravita * pendenza / 1000.0);
    r.el.push_back(e);
  }
  return r;
}

// The index of boundary `x` (always one of them: every stop is a boundary).
std::size_t indice_bordo(const pezzi& pz, double x) {
  return static_cast<std::size_t>(std::lower_bound(pz.bordi.begin(), pz.bordi.end(), x) - pz.bordi.begin());
}

// A knot of the traction curve over an element: `dx` from its start, the
// speed and the time there.
struct nodo_rampa {
  double dx, v, t;
  bool piano;  // the stretch that ends here holds its speed
};

// What a run needs beside the cut route: the train's forces and the traction
// tables of the kinds of stretch met so far, and each element's table.
struct motore {
  forze fz;
  const pezzi& pz;
  std::vector<double> cambi;  // where the tractive effort changes its law
  std::map<double, tabella> tabelle;
  std::vector<tabella*> di_elemento;
  std::vector<nodo_rampa> nodi;  // the element's knots, room kept from one to the next

  motore(const forze& f, const pezzi& p) : fz(f), pz(p), cambi(f.cambi()), di_elemento(p.el.size(), nullptr) {}

  tabella& tabella_di(std::size_t j) {
    if (di_elemento[j] != nullptr) return *di_elemento[j];
    const double w = pz.el[j].w;
    auto it = tabelle.find(w);
    if (it == tabelle.end()) it = tabelle.emplace(w, costruisci_tabella(fz, w)).first;
    di_elemento[j] = &it->second;
    return it->second;
  }
  via& salita(tabella& t) {
    if (!t.salita_fatta) elenca(cambi, t, t.salita, 0.0, t.fine_salita);
    t.salita_fatta = true;
    return t.salita;
  }
  via& discesa(tabella& t) {
    if (!t.discesa_fatta) elenca(cambi, t, t.discesa, fz.v_cima, t.fine_discesa);
    t.discesa_fatta = true;
    return t.discesa;
  }
};

// Full traction over an element from the speed `vs` at its start: from `vs`
// the speed moves along one of the tables to `ve`, over `lunghezza` metres,
// then holds `ve` (the limit, or the speed the train holds there).
struct rampa {
  const tabella* tab = nullptr;
  via* nodi = nullptr;                      // null: no ramp, `vs` held from the start
  nodo inizio;                              // `vs` in the table
  double ve = 0.0;
  double lunghezza = 0.0;
  bool al_limite = false;                   // `ve` is the element's limit
};

rampa traccia(motore& mo, std::size_t j, double u, double f) {
  const elemento& e = mo.pz.el[j];
  rampa r;
  const double vs = std::sqrt(std::max(0.0, f)), vu = std::sqrt(u);
  r.ve = vs;
  r.al_limite = vs >= vu;
  const double a = mo.fz.acc(vs, e.w);
  // Held at the limit, and able to hold it: no table needed.
  if (r.al_limite && a >= 0) return r;
  tabella& tab = mo.tabella_di(j);
  r.tab = &tab;
  via* nodi = nullptr;
  double fine = vs;
  if (a > 0 && vs < vu && vs < tab.fine_salita) {
    nodi = &mo.salita(tab);
    fine = std::min(vu, tab.fine_salita);
    r.al_limite = fine == vu;
  } else if (a < 0 && tab.fine_discesa < mo.fz.v_cima && vs > tab.fine_discesa) {
    nodi = &mo.discesa(tab);
    fine = tab.fine_discesa;
    r.al_limite = false;
  }
  if (nodi == nullptr) return r;
  r.nodi = nodi;
  r.inizio = in_tabella(mo.fz, tab, *nodi, vs);
  r.ve = fine;
  r.lunghezza = in_tabella(mo.fz, tab, *nodi, fine).x - r.inizio.x;
  // The node past the end too: the element's knots stop at it.
  assicura(mo.fz, tab.w, *nodi, nodo_prima(*nodi, fine) + 1);
  return r;
}

// The ramp's speed `dx` metres on from the element's start, and the time to
// get there (left at 0 unless `con_tempo`).
nodo lungo_rampa(const motore& mo, const rampa& r, double dx, bool con_tempo = true) {
  if (r.nodi == nullptr || dx >= r.lunghezza) {
    const double tempo = r.nodi == nullptr || !con_tempo ? 0.0 : in_tabella(mo.fz, *r.tab, *r.nodi, r.ve).t - r.inizio.t;
    const double oltre = r.nodi == nullptr ? dx : dx - r.lunghezza;
    return {r.ve, dx, tempo + (r.ve > 0 ? oltre / r.ve : 0.0)};
  }
  const double v = velocita_a_distanza(mo.fz, *r.tab, *r.nodi, r.inizio.x + dx);
  return {v, dx, con_tempo ? in_tabella(mo.fz, *r.tab, *r.nodi, v).t - r.inizio.t : 0.0};
}

// The limits of the cut route with the restriction `tolta` lifted (or none, or all).
struct limiti {
  const pezzi& pz;
  int32_t tolta = nessuna_tolta;
  double u_cima = 0.0;
  double u(std::size_t j) const {
    const elemento& e = pz.el[j];
    if (tolta == tutte_tolte) return u_cima;
    return e.chi == tolta && tolta >= 0 ? e.u2 : e.u;
  }
  double punto(std::size_t j) const {
    if (tolta == tutte_tolte) return infinito;
    return pz.punto_chi[j] == tolta && tolta >= 0 ? pz.punto_u2[j] : pz.punto_u[j];
  }
};

// v² at each element's start of a leg with full traction from the stop behind
// (fs) and at each element's end with braking for everything ahead (be); the
// leg's elements are ia .. ia + n - 1. Each element's traction curve from its
// fs, and the speed it reaches at the element's end, are kept for the run.
struct passi {
  std::size_t ia = 0, n = 0;
  std::vector<double> fs, be;
  std::vector<rampa> rampe;
  std::vector<double> v_fine;
};

// fs[i] and the traction curves for i from `da` (fs[da] worked out from the
// element before it). Returns the first i past `oltre` where fs matches
// `base` (from there on all does), or n.
std::size_t avanti(motore& mo, const limiti& l, passi& p, std::size_t da, std::size_t oltre = 0,
                   const passi* base = nullptr) {
  for (std::size_t i = da; i < p.n; ++i) {
    const std::size_t j = p.ia + i;
    if (i == 0) {
      p.fs[0] = 0.0;
    } else {
      const double fine = std::min(l.u(j - 1), p.v_fine[i - 1] * p.v_fine[i - 1]);
      p.fs[i] = std::min({fine, l.u(j), l.punto(j)});
    }
    if (base != nullptr && i > oltre && p.fs[i] == base->fs[i]) return i;
    p.rampe[i] = traccia(mo, j, l.u(j), p.fs[i]);
    p.v_fine[i] = lungo_rampa(mo, p.rampe[i], mo.pz.el[j].x1 - mo.pz.el[j].x0, false).v;
  }
  return p.n;
}

// be[i] for i from `da` down to 0. Returns the first i (going down) before
// `prima` where be matches `base`, or -1 as the size's maximum.
std::size_t indietro(const limiti& l, passi& p, std::size_t da, std::size_t prima = 0,
                     const std::vector<double>* base = nullptr) {
  const pezzi& pz = l.pz;
  for (std::size_t i = da + 1; i-- > 0;) {
    if (i + 1 == p.n) {
      p.be[i] = 0.0;
    } else {
      const elemento& e = pz.el[p.ia + i + 1];
      const double dietro = std::min(l.u(p.ia + i + 1), p.be[i + 1] + 2 * e.dec * (e.x1 - e.x0));
      p.be[i] = std::min({dietro, l.u(p.ia + i), l.punto(p.ia + i + 1)});
    }
    if (base != nullptr && i < prima && p.be[i] == (*base)[i]) return i;
  }
  return static_cast<std::size_t>(-1);
}

passi passi_tratta(motore& mo, const limiti& l, double da, double a) {
  passi p;
  p.ia = indice_bordo(mo.pz, da);
  p.n = indice_bordo(mo.pz, a) - p.ia;
  p.fs.assign(p.n, 0.0);
  p.be.assign(p.n, 0.0);
  p.rampe.assign(p.n, rampa{});
  p.v_fine.assign(p.n, 0.0);
  if (p.n == 0) return p;
  avanti(mo, l, p, 0);
  indietro(l, p, p.n - 1);
  return p;
}

// The points of a run, each stretch told by its end, its speed, the time it
// takes and what the train does over it; a stretch held at one speed after
// another at the same speed lengthens it. With no points to keep, the time alone.
struct uscita {
  std::vector<punto_velocita>* punti = nullptr;
  double tempo = 0.0;
  double x = 0.0;       // where the last stretch ended
  bool piatto = false;  // the last stretch held its speed

  void aggiungi(double x_fine, double v, double dt, regime_corsa cosa, bool tiene) {
    if (!(x_fine > x)) return;
    x = x_fine;
    tempo += std::max(0.0, dt);
    if (punti == nullptr) return;
    std::vector<punto_velocita>& p = *punti;
    const double kmh = v * 3.6;
    if (tiene && piatto && p.size() >= 2 && p[p.size() - 2].regime == cosa && p.back().velocita_kmh == kmh) {
      p.back().posizione_m = x_fine;
      p.back().tempo_s = tempo;
      return;
    }
    p.back().regime = cosa;
    if (cosa == regime_corsa::frenatura && (p.size() < 2 || p[p.size() - 2].regime != regime_corsa::frenatura))
      p.back().inizio_frenatura = true;
    p.push_back({x_fine, kmh, tempo});
    piatto = tiene;
  }
};

// The run over one element, from v² `f` of full traction at its start, under
// the limit `u`, braking to `b` at its end: the lower of the traction curve
// and the braking line.
void percorri(motore& mo, std::size_t j, const rampa& r, double v_fine, double f, double b, uscita& o) {
  const elemento& e = mo.pz.el[j];
  const double lungo = e.x1 - e.x0;
  auto frenata = [&](double x) { return b + 2 * e.dec * (e.x1 - x); };

  // The knots of the traction curve over the element: the table's nodes it
  // passes, where it reaches its end speed, the element's end.
  std::vector<nodo_rampa>& nodi = mo.nodi;
  nodi.clear();
  if (r.nodi != nullptr) {
    const std::vector<nodo>& tn = r.nodi->nodi;
    for (std::size_t k = nodo_prima(*r.nodi, r.inizio.v) + 1; k < tn.size(); ++k) {
      const double dx = tn[k].x - r.inizio.x;
      if (!(dx > 0)) continue;
      if (dx >= std::min(lungo, r.lunghezza)) break;
      nodi.push_back({dx, tn[k].v, tn[k].t - r.inizio.t, false});
    }
    if (r.lunghezza < lungo) {
      const nodo q = lungo_rampa(mo, r, r.lunghezza);
      nodi.push_back({r.lunghezza, q.v, q.t, false});
    }
  }
  {
    // The end speed is known; the time to it is the table's.
    const bool piano = r.nodi == nullptr || r.lunghezza < lungo;
    const double t = piano ? lungo_rampa(mo, r, lungo).t : in_tabella(mo.fz, *r.tab, *r.nodi, v_fine).t - r.inizio.t;
    nodi.push_back({lungo, v_fine, t, piano});
  }

  const regime_corsa in_piano = r.al_limite ? regime_corsa::crociera : regime_corsa::trazione;
  // Where the run stands now: on the traction curve or on the braking line.
  double x_ora = e.x0;
  double v_ora = std::sqrt(std::max(0.0, std::min(f, frenata(e.x0))));
  nodo_rampa prima{0.0, r.nodi == nullptr ? r.ve : r.inizio.v, 0.0, false};
  bool su_frenata = f > frenata(e.x0);
  for (const nodo_rampa& q : nodi) {
    const double xa = e.x0 + prima.dx, xb = e.x0 + q.dx;
    const double ha = prima.v * prima.v - frenata(xa), hb = q.v * q.v - frenata(xb);
    // The place in this stretch where the traction curve meets the braking line.
    auto incontro = [&]() -> nodo_rampa {
      if (q.piano) {
        const double dx = lungo - (q.v * q.v - b) / (2 * e.dec);
        const double dxc = std::clamp(dx, prima.dx, q.dx);
        return {dxc, q.v, prima.t + (q.v > 0 ? (dxc - prima.dx) / q.v : 0.0), true};
      }
      // h = v² less the braking line's, from one sign at `lo` to the other at
      // `hi`; dh/dv = 2v + 2 b dx/dv = 2v (1 + b / a): Newton's method, held
      // within the bracket, from where h crosses 0 on the chord.
      double lo = prima.v, hi = q.v, h_lo = ha, h_hi = hb;
      double vc = lo + (hi - lo) * h_lo / (h_lo - h_hi);
      for (int k = 0; k < 100; ++k) {
        const nodo p = in_tabella(mo.fz, *r.tab, *r.nodi, vc);
        const double h = vc * vc - frenata(e.x0 + p.x - r.inizio.x);
        if (h == 0) break;
        if ((h > 0) == (h_hi > 0)) {
          hi = vc;
          h_hi = h;
        } else {
          lo = vc;
          h_lo = h;
        }
        const double pendenza = 2 * vc * (1 + e.dec / mo.fz.acc(vc, e.w));
        double nuovo = vc - h / pendenza;
        if (!(nuovo > std::min(lo, hi) && nuovo < std::max(lo, hi))) nuovo = (lo + hi) / 2;
        if (std::fabs(nuovo - vc) <= 1e-12 * (1 + vc)) {
          vc = nuovo;
          break;
        }
        vc = nuovo;
      }
      const nodo p = in_tabella(mo.fz, *r.tab, *r.nodi, vc);
      return {std::clamp(p.x - r.inizio.x, prima.dx, q.dx), vc, p.t - r.inizio.t, false};
    };
    const regime_corsa cosa = q.piano ? in_piano : regime_corsa::trazione;
    if (ha <= 0 && hb <= 0) {
      o.aggiungi(xb, q.v, q.t - prima.t, cosa, q.piano);
      x_ora = xb;
      v_ora = q.v;
      su_frenata = false;
    } else if (ha > 0 && hb > 0) {
      su_frenata = true;
    } else if (ha <= 0) {  // from the traction curve onto the braking line
      const nodo_rampa c = incontro();
      o.aggiungi(e.x0 + c.dx, c.v, c.t - prima.t, cosa, q.piano);
      x_ora = e.x0 + c.dx;
      v_ora = c.v;
      su_frenata = true;
    } else {  // from the braking line onto the traction curve
      const nodo_rampa c = incontro();
      const double vc = std::sqrt(std::max(0.0, frenata(e.x0 + c.dx)));
      if (e.x0 + c.dx > x_ora) {
        o.aggiungi(e.x0 + c.dx, vc, 2 * (e.x0 + c.dx - x_ora) / (v_ora + vc), regime_corsa::frenatura, false);
        x_ora = e.x0 + c.dx;
        v_ora = vc;
      }
      o.aggiungi(xb, q.v, q.t - c.t, cosa, q.piano);
      x_ora = xb;
      v_ora = q.v;
      su_frenata = false;
    }
    prima = q;
  }
  if (su_frenata && e.x1 > x_ora) {
    const double v1 = std::sqrt(std::max(0.0, b));
    const double somma = v_ora + v1;
    o.aggiungi(e.x1, v1, somma > 0 ? 2 * (e.x1 - x_ora) / somma : 0.0, regime_corsa::frenatura, false);
  }
}

// The time over element i of the leg of `p`, on its own.
double tempo_elemento(motore& mo, const passi& p, std::size_t i) {
  uscita o;
  o.x = mo.pz.el[p.ia + i].x0;
  percorri(mo, p.ia + i, p.rampe[i], p.v_fine[i], p.fs[i], p.be[i], o);
  return o.tempo;
}

// The run over a leg, with the limits `l`.
// `passi`, when given, gets the leg's passes and `tempi` each element's time:
// what the restrictions' costs are worked from.
tratta_corsa calcola_tratta(motore& mo, const limiti& l, double da, double a, std::vector<intervallo>* senza_limite,
                            passi* passi_dati = nullptr, std::vector<double>* tempi = nullptr) {
  tratta_corsa t;
  t.da_m = da;
  t.a_m = a;
  t.punti.push_back({da, 0.0, 0.0});
  if (!(a > da)) return t;
  passi proprie;
  passi& p = passi_dati != nullptr ? *passi_dati : proprie;
  p = passi_tratta(mo, l, da, a);
  if (tempi != nullptr) tempi->assign(p.n, 0.0);
  uscita o;
  o.punti = &t.punti;
  o.x = da;
  for (std::size_t i = 0; i < p.n; ++i) {
    const elemento& e = mo.pz.el[p.ia + i];
    const double prima = o.tempo;
    percorri(mo, p.ia + i, p.rampe[i], p.v_fine[i], p.fs[i], p.be[i], o);
    if (tempi != nullptr) (*tempi)[i] = o.tempo - prima;
    if (senza_limite != nullptr && e.senza_limite) {
      if (!senza_limite->empty() && senza_limite->back().fine_m == e.x0)
        senza_limite->back().fine_m = e.x1;
      else
        senza_limite->push_back({e.x0, e.x1});
    }
  }
  // The stop: whatever the last stretch was, the train stands at its end.
  t.punti.back().posizione_m = a;
  t.punti.back().velocita_kmh = 0.0;
  t.punti.back().regime = regime_corsa::fermo;
  t.tempo_s = o.tempo;
  t.punti.back().tempo_s = o.tempo;
  return t;
}

// The leg's time with the limits `l`, the points left out.
double tempo_tratta(motore& mo, const limiti& l, double da, double a) {
  if (!(a > da)) return 0.0;
  const passi p = passi_tratta(mo, l, da, a);
  double t = 0.0;
  for (std::size_t i = 0; i < p.n; ++i) t += tempo_elemento(mo, p, i);
  return t;
}

// What lifting restriction `c` gains on the leg of `base` (whose element
// times are `tempi`): only the elements whose limit, or whose speed in or
// out, changes are run again.
// `p` holds the base's passes on entry and again on return: the scratch that
// the lifted run is worked in.
double guadagno(motore& mo, const limiti& base_l, const passi& base, const std::vector<double>& tempi, int32_t c,
                passi& p) {
  const limiti l{base_l.pz, c, base_l.u_cima};
  // The elements whose limit the restriction sets, or whose start its point limits.
  std::size_t primo = base.n, ultimo = 0;
  for (std::size_t i = 0; i < base.n; ++i) {
    const bool suo = l.pz.el[base.ia + i].chi == c || (i > 0 && l.pz.punto_chi[base.ia + i] == c);
    if (!suo) continue;
    primo = std::min(primo, i > 0 && l.pz.punto_chi[base.ia + i] == c ? i - 1 : i);
    ultimo = std::max(ultimo, i);
  }
  if (primo == base.n) return 0.0;
  const std::size_t fine_avanti = avanti(mo, l, p, primo, ultimo, &base);
  const std::size_t fine_indietro = indietro(l, p, ultimo, primo, &base.be);
  const std::size_t da = fine_indietro == static_cast<std::size_t>(-1) ? 0 : fine_indietro;
  const std::size_t a = std::min(fine_avanti, base.n - 1);
  // Outside [da, a] the speeds in and out and the limits are the base's: so is the run.
  double prima = 0.0, dopo = 0.0;
  for (std::size_t i = da; i <= a; ++i) {
    prima += tempi[i];
    dopo += tempo_elemento(mo, p, i);
  }
  for (std::size_t i = da; i <= a; ++i) {
    p.fs[i] = base.fs[i];
    p.be[i] = base.be[i];
    p.rampe[i] = base.rampe[i];
    p.v_fine[i] = base.v_fine[i];
  }
  return prima - dopo;
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

std::vector<double> fermate_finite(const profilo_corsa& p) {
  std::vector<double> fermate = p.fermate;
  for (double& x : fermate)
    if (!std::isfinite(x)) x = 0.0;
  return fermate;
}

}  // namespace

modello_treno modello_nei_limiti(const modello_treno& m) {
  const modello_treno d;
  modello_treno r = m;
  r.massa_t = nei_limiti(m.massa_t, massa_minima_t, massa_massima_t, d.massa_t);
  r.massa_aderente_t = nei_limiti(m.massa_aderente_t, 0.0, r.massa_t, std::min(d.massa_aderente_t, r.massa_t));
  r.potenza_kw = nei_limiti(m.potenza_kw, potenza_minima_kw, potenza_massima_kw, d.potenza_kw);
  r.sforzo_trazione_kn = nei_limiti(m.sforzo_trazione_kn, sforzo_minimo_kn, sforzo_massimo_kn, d.sforzo_trazione_kn);
  r.aderenza = nei_limiti(m.aderenza, 0.0, aderenza_massima, d.aderenza);
  r.masse_rotanti = nei_limiti(m.masse_rotanti, 1.0, masse_rotanti_massime, d.masse_rotanti);
  r.resistenza_a_kn = nei_limiti(m.resistenza_a_kn, 0.0, resistenza_a_massima_kn, d.resistenza_a_kn);
  r.resistenza_b_kn = nei_limiti(m.resistenza_b_kn, 0.0, resistenza_b_massima_kn, d.resistenza_b_kn);
  r.resistenza_c_kn = nei_limiti(m.resistenza_c_kn, 0.0, resistenza_c_massima_kn, d.resistenza_c_kn);
  r.resistenza_curve = nei_limiti(m.resistenza_curve, 0.0, resistenza_curve_massima, d.resistenza_curve);
  r.decelerazione = nei_limiti(m.decelerazione, accelerazione_residua_minima, accelerazione_massima, d.decelerazione);
  r.velocita_massima_kmh =
      nei_limiti(m.velocita_massima_kmh, velocita_minima_kmh, velocita_massima_ammessa_kmh, d.velocita_massima_kmh);
  r.sosta_s = nei_limiti(m.sosta_s, 0.0, sosta_massima_s, d.sosta_s);
  r.lunghezza_treno_m = nei_limiti(m.lunghezza_treno_m, 0.0, 1e6, d.lunghezza_treno_m);
  r.lunghezza_vettura_m = nei_limiti(m.lunghezza_vettura_m, 0.0, lunghezza_vettura_massima_m, d.lunghezza_vettura_m);
  r.percentuale_massa_frenata = massa_frenata_nei_limiti(m.percentuale_massa_frenata);
  for (sosta_fermata& x : r.soste) x.secondi = nei_limiti(x.secondi, 0.0, sosta_massima_s, r.sosta_s);
  r.margine.percento = nei_limiti(m.margine.percento, 0.0, margine_massimo_percento, d.margine.percento);
  r.margine.minuti_per_100_km =
      nei_limiti(m.margine.minuti_per_100_km, 0.0, margine_massimo_minuti, d.margine.minuti_per_100_km);
  return r;
}

double sforzo_trazione(const modello_treno& m, double kmh) {
  return forze_di(modello_nei_limiti(m)).forza(metri_al_secondo(std::max(0.0, kmh)));
}

double accelerazione_in_piano(const modello_treno& m, double kmh) {
  return forze_di(modello_nei_limiti(m)).acc(metri_al_secondo(std::max(0.0, kmh)), 0.0);
}

corsa calcola_corsa(const profilo_corsa& p, const modello_treno& modello, std::vector<decisivi_tratta>* decisivi) {
  corsa r;
  if (decisivi != nullptr) decisivi->clear();
  if (p.fermate.size() < 2) return r;
  const modello_treno m = modello_nei_limiti(modello);
  const std::vector<double> fermate = fermate_finite(p);
  const pezzi pz = taglia(p, m, fermate);
  motore mo(forze_di(m), pz);
  const double u_cima = v2_limite(m.velocita_massima_kmh);
  const limiti l{pz, nessuna_tolta, u_cima};
  r.tratte.reserve(fermate.size() - 1);
  passi base;
  std::vector<double> tempi;
  for (std::size_t k = 0; k + 1 < fermate.size(); ++k) {
    const double da = fermate[k], a = fermate[k + 1];
    r.tratte.push_back(calcola_tratta(mo, l, da, a, &r.senza_limite, decisivi != nullptr ? &base : nullptr,
                                      decisivi != nullptr ? &tempi : nullptr));
    if (decisivi == nullptr) continue;
    decisivi_tratta d;
    d.tempo_senza_restrizioni_s = tempo_tratta(mo, limiti{pz, tutte_tolte, u_cima}, da, a);
    if (a > da) {
      // Only a restriction that sets the limit somewhere on the leg can cost anything.
      std::set<int32_t> chi;
      for (std::size_t i = 0; i < base.n; ++i) {
        if (pz.el[base.ia + i].chi >= 0) chi.insert(pz.el[base.ia + i].chi);
        if (i > 0 && pz.punto_chi[base.ia + i] >= 0) chi.insert(pz.punto_chi[base.ia + i]);
      }
      passi prova = base;
      for (const int32_t c : chi) {
        const double costo = guadagno(mo, l, base, tempi, c, prova);
        if (!(costo > 5e-4)) continue;
        costo_restrizione x = pz.restrizioni[pz.dove.at(c)];
        x.costo_s = costo;
        d.restrizioni.push_back(x);
      }
      std::stable_sort(d.restrizioni.begin(), d.restrizioni.end(),
                       [](const costo_restrizione& x, const costo_restrizione& y) { return x.costo_s > y.costo_s; });
    }
    decisivi->push_back(std::move(d));
  }
  return r;
}

std::vector<decisivi_tratta> restrizioni_decisive(const profilo_corsa& p, const modello_treno& m) {
  std::vector<decisivi_tratta> r;
  calcola_corsa(p, m, &r);
  return r;
}

std::optional<double> trazione_necessaria(const profilo_corsa& p, const modello_treno& modello, std::size_t tratta,
                                          double tempo_s) {
  if (tratta + 1 >= p.fermate.size() || !std::isfinite(tempo_s)) return std::nullopt;
  const modello_treno m = modello_nei_limiti(modello);
  const std::vector<double> fermate = fermate_finite(p);
  const pezzi pz = taglia(p, m, fermate);
  const limiti l{pz, nessuna_tolta, v2_limite(m.velocita_massima_kmh)};
  auto tempo = [&](double fattore) {
    motore mo(forze_di(m, fattore), pz);
    return tempo_tratta(mo, l, fermate[tratta], fermate[tratta + 1]);
  };
  // The leg's time falls smoothly as the factor rises: regula falsi with the
  // Illinois step on the bracket, then the last thousandth made sure of.
  double lo = 1.0, hi = fattore_trazione_massimo;
  double f_lo = tempo(lo) - tempo_s, f_hi = tempo(hi) - tempo_s;
  if (f_lo <= 0) return 1.0;
  if (f_hi > 0) return std::nullopt;
  int lato = 0;
  for (int k = 0; k < 40 && hi - lo > 1e-3; ++k) {
    double m = (lo * f_hi - hi * f_lo) / (f_hi - f_lo);
    if (!(m > lo && m < hi)) m = (lo + hi) / 2;
    // Within a thousandth of an end, try a thousandth in from it: the bracket
    // then closes to a thousandth or moves well in.
    m = std::clamp(m, lo + 5e-4, hi - 5e-4);
    const double f_m = tempo(m) - tempo_s;
    if (f_m <= 0) {
      hi = m;
      f_hi = f_m;
      if (lato == -1) f_lo /= 2;
      lato = -1;
    } else {
      lo = m;
      f_lo = f_m;
      if (lato == 1) f_hi /= 2;
      lato = 1;
    }
  }
  return hi;
}

double tempo_in(const tratta_corsa& t, double x) { return stato_a(t, x).tempo; }

double velocita_in(const tratta_corsa& t, double x) { return stato_a(t, x).v * 3.6; }
