#include "tools/disegno/orario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "formato/numeri.h"
#include "tools/disegno/etichette.h"
#include "tools/disegno/geometria.h"

namespace disegno {

namespace {

// A point of the sheet, held within the route: stations beyond the route's
// end (or before 0) stand at its edge; a stop past the end has an arrow
// there pointing on past it.
double x_in(const asse_km& a, double metri, double lunghezza) {
  return a.x(entro(std::isfinite(metri) ? metri : 0.0, 0.0, lunghezza));
}

// A time of day on the time axis: "hh:mm", the day's hours after midnight.
std::string ora_asse(double s) {
  const long long t = static_cast<long long>(arrotonda(std::clamp(s, -1e9, 1e9)));
  const long long giorno = ((t % 86400) + 86400) % 86400;
  char b[16];
  std::snprintf(b, sizeof b, "%02lld:%02lld", giorno / 3600, giorno / 60 % 60);
  return b;
}

// A round step of time that cuts `ampiezza` seconds into at most about 8 parts.
double passo_ore(double ampiezza) {
  for (const double p : {60.0, 120.0, 300.0, 600.0, 900.0, 1800.0, 3600.0, 7200.0, 10800.0, 21600.0})
    if (ampiezza / p <= 8) return p;
  return 43200.0;
}

}  // namespace

piano_linea curve_dal_piano(const std::array<asse_linea, 2>& griglia) {
  piano_linea p;
  const std::size_t n = std::min(griglia[0].tag.size(), griglia[1].tag.size());
  p.punti = static_cast<int64_t>(n);
  auto punto = [&](std::size_t j, double& x, double& y) {
    const std::optional<double> a = punto_piano(griglia, 0, j), b = punto_piano(griglia, 1, j);
    if (!a || !b) return false;
    x = *a;
    y = *b;
    return true;
  };
  // Point j turns the step from point j - 1 by k: the cross product of the
  // two steps is -k times the square of the first.
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (n < 3 || !punto(0, x0, y0) || !punto(1, x1, y1)) return p;
  for (std::size_t j = 2; j < n; ++j) {
    double x = 0, y = 0;
    if (!punto(j, x, y)) break;
    const double dx = x1 - x0, dy = y1 - y0, ex = x - x1, ey = y - y1;
    const double lungo2 = dx * dx + dy * dy;
    double k = lungo2 > 0 ? -(dx * ey - dy * ex) / lungo2 : 0.0;
    if (std::fabs(k) < 1e-7) k = 0.0;  // rounding on a straight
    const bool curva = k != 0.0;
    if (!p.tratti.empty() && p.tratti.back().curva == curva &&
        (!curva || std::fabs(p.tratti.back().k - k) <= 1e-6 * std::fabs(k)))
      p.tratti.back().fino = static_cast<int64_t>(j);
    else
      p.tratti.push_back({static_cast<int64_t>(j), k, curva});
    x0 = x1, y0 = y1, x1 = x, y1 = y;
  }
  return p;
}

marcia marcia_imballata(const scenario& s, const opzioni_marcia& o) {
  // The run reads the route grid, the station table and the curves of the
  // line plan: the plan read back is its points, the run wants its stretches.
  auto f = std::make_unique<scenario>();
  f->percorso = s.percorso;
  f->tabella_stazioni = s.tabella_stazioni;
  f->griglia_linea = curve_dal_piano(s.griglia_linea.letti);
  return calcola_marcia(*f, modello_da_scenario(*f, o));
}

std::vector<std::pair<std::size_t, std::size_t>> tratti_sezioni(const marcia& m) {
  // Each section's run leaves its stop at speed 0 and comes to rest at the
  // next one, moving all the way between; one of no length is a single point.
  std::vector<std::pair<std::size_t, std::size_t>> r;
  const std::vector<punto_marcia>& p = m.profilo;
  std::size_t i = 0;
  for (const sezione& s : m.sezioni) {
    const std::size_t inizio = std::min(i, p.size());
    std::size_t fine = std::min(inizio + 1, p.size());
    if (s.distanza_m > 0) {
      while (fine < p.size() && p[fine].velocita_kmh > 0) ++fine;
      fine = std::min(fine + 1, p.size());
    }
    r.emplace_back(inizio, fine);
    i = fine;
  }
  return r;
}

std::vector<punto_marcia> campiona(const std::vector<punto_marcia>& profilo, std::size_t da, std::size_t a) {
  std::vector<punto_marcia> r;
  a = std::min(a, profilo.size());
  if (da >= a) return r;
  r.push_back(profilo[da]);
  for (std::size_t i = da + 1; i < a; ++i) {
    const punto_marcia& q0 = profilo[i - 1];
    const punto_marcia& q1 = profilo[i];
    const double v0 = q0.velocita_kmh / 3.6, v1 = q1.velocita_kmh / 3.6;
    const double dx = q1.posizione_m - q0.posizione_m;
    // A point every 2 km/h of change, at most 32 to a stretch: evenly in the
    // speed, so that they crowd where the curve bends most, leaving a stop.
    const int n = dx > 0 && v1 != v0 ? std::clamp(static_cast<int>(std::ceil(std::fabs(q1.velocita_kmh - q0.velocita_kmh) / 2)), 1, 32) : 1;
    for (int k = 1; k < n; ++k) {
      const double v = v0 + (v1 - v0) * k / n;
      const double x = q0.posizione_m + (v * v - v0 * v0) / (v1 * v1 - v0 * v0) * dx;
      const double somma = v0 + v;
      r.push_back({x, v * 3.6, q0.ora_s + (somma > 0 ? 2 * (x - q0.posizione_m) / somma : 0.0)});
    }
    r.push_back(q1);
  }
  return r;
}

double velocita_massima(const marcia& m) {
  double v = 0;
  for (const punto_marcia& p : m.profilo) v = std::max(v, p.velocita_kmh);
  return v;
}

void disegna_velocita_marcia(svg& o, const marcia& m, const asse_km& a, const pannello& p, double lunghezza) {
  for (const auto& [da, fino] : tratti_sezioni(m)) {
    std::vector<punto> linea;
    for (const punto_marcia& q : campiona(m.profilo, da, fino))
      linea.push_back({x_in(a, q.posizione_m, lunghezza), p.y(entro(q.velocita_kmh, p.v_min, p.v_max))});
    polilinea(o, semplifica_linea(linea, tolleranza_px), "marcia_velocita");
  }
}

void disegna_orario(svg& o, const marcia& m, const asse_km& a, double y0, double y1, double lunghezza) {
  // The time axis: every time drawn, the scheduled and the fastest run's.
  double t0 = INFINITY, t1 = -INFINITY;
  auto comprendi = [&](double t) {
    if (!std::isfinite(t)) return;
    t0 = std::min(t0, t);
    t1 = std::max(t1, t);
  };
  for (const sezione& s : m.sezioni) {
    comprendi(s.partenza_s);
    comprendi(s.partenza_s + s.tempo_orario_s);
    comprendi(s.a.ora_s);
  }
  for (const punto_marcia& q : m.profilo) comprendi(q.ora_s);
  if (!(t0 <= t1)) t0 = t1 = 0;
  const double margine = std::max((t1 - t0) * 0.03, 30.0);
  pannello p{y0, y1, t0 - margine, t1 + margine, true};
  const double passo = passo_ore(p.v_max - p.v_min);
  cornice_pannello(o, p, a, "Time against distance: the timetable and the fastest run (time of day, downward)", passo,
                   ora_asse);
  if (m.sezioni.empty()) {
    testo(o, (asse_da + asse_a) / 2, (y0 + y1) / 2, "no section to time: the timetable has fewer than two stops",
          "sotto", "middle");
    return;
  }

  // Where the timetable cannot be kept: the section shaded all down the panel.
  const auto tratti = tratti_sezioni(m);
  // Each mark of a section carries its number, from 0 in running order.
  for (std::size_t k = 0; k < m.sezioni.size(); ++k) {
    const sezione& s = m.sezioni[k];
    if (s.mantenibile) continue;
    const double xa = x_in(a, s.da.posizione_m, lunghezza), xb = x_in(a, s.a.posizione_m, lunghezza);
    const double x = std::min(xa, xb), w = std::max(std::fabs(xb - xa), 2.0);
    o << "<rect class=\"senza_margine\" data-sezione=\"" << std::to_string(k) << "\" x=\"" << x << "\" y=\"" << y0
      << "\" width=\"" << w << "\" height=\"" << y1 - y0 << "\"/>\n";
  }

  // The timetable: from each departure to the arrival it allows, then the dwell.
  std::vector<punto> orario;
  svg partenze, arrivi, oltre;
  for (std::size_t k = 0; k < m.sezioni.size(); ++k) {
    const sezione& s = m.sezioni[k];
    const double xa = x_in(a, s.da.posizione_m, lunghezza), xb = x_in(a, s.a.posizione_m, lunghezza);
    const double ya = p.y(s.partenza_s), yb = p.y(s.partenza_s + s.tempo_orario_s);
    orario.push_back({xa, ya});
    orario.push_back({xb, yb});
    const std::string n = std::to_string(k);
    partenze << "<circle class=\"partenza_orario\" data-sezione=\"" << n << "\" cx=\"" << xa << "\" cy=\"" << ya
             << "\" r=\"2.5\"/>\n";
    arrivi << "<circle class=\"arrivo_orario\" data-sezione=\"" << n << "\" cx=\"" << xb << "\" cy=\"" << yb
           << "\" r=\"3\"/>\n";
    if (s.da.posizione_m > lunghezza) freccia_oltre(oltre, ya);
    if (s.a.posizione_m > lunghezza) freccia_oltre(oltre, yb);
  }
  polilinea(o, orario, "orario", "orario");
  if (!oltre.s.empty()) o << "<path class=\"oltre_fine\" d=\"" << oltre.s << "\"/>\n";

  // The fastest run of each section, from its scheduled departure.
  for (std::size_t k = 0; k < m.sezioni.size() && k < tratti.size(); ++k) {
    const sezione& s = m.sezioni[k];
    std::vector<punto> linea;
    for (const punto_marcia& q : campiona(m.profilo, tratti[k].first, tratti[k].second))
      linea.push_back({x_in(a, q.posizione_m, lunghezza), p.y(q.ora_s)});
    if (linea.size() == 1) linea.push_back(linea.back());  // a section of no length: a dot
    polilinea(o, semplifica_linea(linea, tolleranza_px), s.mantenibile ? "marcia_tempo" : "marcia_tempo tardi",
              "tempo_" + std::to_string(k));
  }
  o.s += arrivi.s;
  o.s += partenze.s;

  // The margin missed, beside the late arrival; a label that would cover
  // another moves down or up a line or two, or is left out (its band and its
  // red run remain).
  std::vector<riquadro> prese;
  for (const sezione& s : m.sezioni) {
    if (s.mantenibile) continue;
    char b[64];
    std::snprintf(b, sizeof b, "%.0f s", std::isfinite(s.margine_s) ? s.margine_s : 0.0);
    const std::string scritta = s.da.nome + " - " + s.a.nome + ": " + b;
    const double x = x_in(a, s.a.posizione_m, lunghezza), y = p.y(s.partenza_s + s.tempo_minimo_s) + 14;
    const double w = larghezza_testo(scritta, 10);
    const bool a_sinistra = x - 6 - w >= asse_da;
    const double x0 = a_sinistra ? x - 6 - w : std::min(x + 6, asse_a - w);
    for (const double scarto : {0.0, 12.0, -12.0, 24.0, -24.0}) {
      const double yl = entro(y + scarto, y0 + 12, y1 - 4);
      const riquadro r{x0, yl - 10, x0 + w, yl + 2};
      if (std::any_of(prese.begin(), prese.end(), [&](const riquadro& q) { return q.tocca(r); })) continue;
      prese.push_back(r);
      testo(o, a_sinistra ? x - 6 : x0, yl, scritta, "ritardo", a_sinistra ? "end" : "");
      break;
    }
  }
}

}  // namespace disegno
