#include "tools/disegno/piano.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/disegno/etichette.h"

namespace disegno {

namespace {

// From the plan's metres to the sheet's pixels: one scale on both axes, north up.
struct trasformazione {
  double scala = 1;  // px per metre, both axes
  double x_min = 0, y_max = 0, sx0 = 0, sy0 = 0;
  punto operator()(punto m) const { return {sx0 + (m.x - x_min) * scala, sy0 + (y_max - m.y) * scala}; }
};

}  // namespace

spazio_piano disegna_piano(svg& o, const scenario& s, const lettura& l, double alto) {
  const auto& g = s.griglia_linea.letti;
  const int64_t metri = static_cast<int64_t>(metri_piano(g));
  double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
  bool qualcuno = false;
  for (int64_t m = 0; m < metri; ++m) {
    const auto p = punto_metro(g, m);
    if (!p) continue;
    if (!qualcuno) {
      x_min = x_max = p->x;
      y_min = y_max = p->y;
      qualcuno = true;
    }
    x_min = std::min(x_min, p->x);
    x_max = std::max(x_max, p->x);
    y_min = std::min(y_min, p->y);
    y_max = std::max(y_max, p->y);
  }

  const double margine_etichette = 60;
  const double area_x0 = 20 + margine_etichette, area_x1 = larghezza_foglio - 20 - margine_etichette;
  const double altezza_massima = 520;
  testo(o, 20, alto + 14, "Track plan (north up, true proportions)", "pannello");
  const double y0 = alto + 24;
  if (!qualcuno) {
    testo(o, larghezza_foglio / 2, y0 + 40, "no line plan packed", "sotto", "middle");
    return {70};
  }
  const double dx = x_max - x_min, dy = y_max - y_min;
  const double larghezza_area = area_x1 - area_x0;
  double scala = 1;
  if (dx > 0 && dy > 0) scala = std::min(larghezza_area / dx, altezza_massima / dy);
  else if (dx > 0) scala = larghezza_area / dx;
  else if (dy > 0) scala = altezza_massima / dy;
  const double h_disegno = dy * scala;
  const double h_pannello = std::max(h_disegno, 80.0) + 2 * margine_etichette;
  trasformazione t;
  t.scala = scala;
  t.x_min = x_min;
  t.y_max = y_max;
  t.sx0 = area_x0 + (larghezza_area - dx * scala) / 2;
  t.sy0 = y0 + (h_pannello - h_disegno) / 2;
  o << "<rect class=\"cornice\" x=\"20\" y=\"" << y0 << "\" width=\"" << larghezza_foglio - 40
    << "\" height=\"" << h_pannello << "\"/>\n";

  posatore pos{mappa_traccia(larghezza_foglio, y0 + h_pannello + 10),
               {22, y0 + 2, larghezza_foglio - 22, y0 + h_pannello - 2}, {}, {}};

  // The runs of usable plan points from metre `da` to metre `a`, on the sheet.
  // Points closer than half the tolerance to the last one kept are passed over
  // as they come, so a run never holds the whole plan.
  auto sul_foglio = [&](int64_t da, int64_t a) {
    std::vector<std::vector<punto>> corse;
    std::optional<punto> visto;  // the last point seen in the current run
    auto chiudi = [&] {
      if (visto && (corse.back().back().x != visto->x || corse.back().back().y != visto->y))
        corse.back().push_back(*visto);
      visto.reset();
    };
    for (int64_t m = std::max<int64_t>(da, 0); m <= std::min(a, metri - 1); ++m) {
      const auto p = punto_metro(g, m);
      if (!p) {
        chiudi();
        continue;
      }
      const punto q = t(*p);
      if (!visto) {
        corse.push_back({q});
      } else {
        const punto u = corse.back().back();
        if (std::hypot(q.x - u.x, q.y - u.y) >= tolleranza_px / 2) corse.back().push_back(q);
      }
      visto = q;
    }
    chiudi();
    for (auto& c : corse) c = semplifica_linea(c, tolleranza_px);
    return corse;
  };

  // The track to the route's end, and the run beyond it from the same point on.
  const auto oltre = sul_foglio(l.lunghezza, metri - 1);
  for (std::size_t i = 0; i < oltre.size(); ++i) polilinea(o, oltre[i], "oltre", i == 0 ? "oltre" : "");
  const auto traccia = sul_foglio(0, l.lunghezza);
  // The first run of each line carries its name (one run each in a sound plan).
  for (std::size_t i = 0; i < traccia.size(); ++i) {
    pos.traccia.segna_linea(traccia[i]);
    polilinea(o, traccia[i], "traccia", i == 0 ? "traccia" : "");
  }
  // Mountain spans over the track.
  for (const tratto& mt : l.montagne)
    for (const auto& c : sul_foglio(mt.da, mt.a)) polilinea(o, c, "montagna");

  // Signals: short strokes across the track.
  if (!l.segnali.empty()) {
    o << "<path class=\"segnali\" d=\"";
    for (const int64_t m : l.segnali) {
      const auto a = punto_metro(g, m - 5), b = punto_metro(g, m + 5), c = punto_metro(g, m);
      if (!c) continue;
      double ux = 0, uy = 1;
      if (a && b && (b->x != a->x || b->y != a->y)) {
        const double n = std::hypot(b->x - a->x, b->y - a->y);
        ux = (b->x - a->x) / n;
        uy = (b->y - a->y) / n;
      }
      const punto q = t(*c);
      // Across the track: the sheet's y runs south.
      const double nx = uy * 5, ny = ux * 5;
      o << 'M' << q.x - nx << ',' << q.y - ny << 'L' << q.x + nx << ',' << q.y + ny;
    }
    o << "\"/>\n";
  }

  // Start and end of the route.
  const auto inizio = punto_vicino(g, 0), fine = punto_vicino(g, l.lunghezza);
  if (inizio) {
    const punto q = t(*inizio);
    o << "<circle id=\"partenza\" class=\"partenza\" cx=\"" << q.x << "\" cy=\"" << q.y << "\" r=\"6\"/>\n";
    pos.presi.push_back({q.x - 6, q.y - 6, q.x + 6, q.y + 6});
  }
  if (fine) {
    const punto q = t(*fine);
    o << "<rect id=\"arrivo\" class=\"arrivo\" x=\"" << q.x - 5.5 << "\" y=\"" << q.y - 5.5
      << "\" width=\"11\" height=\"11\"/>\n";
    pos.presi.push_back({q.x - 6, q.y - 6, q.x + 6, q.y + 6});
  }
  // Stations: a ring each, kept clear of labels (on top of the start and end marks).
  struct segno {
    punto q;
    std::string nome;
  };
  std::vector<segno> stazioni;
  for (const nome_in_linea& st : l.stazioni)
    if (auto p = punto_vicino(g, st.metro)) stazioni.push_back({t(*p), st.nome});
  if (!stazioni.empty()) {
    o << "<path class=\"stazioni\" d=\"";
    for (const segno& st : stazioni) {
      o << 'M' << st.q.x - 3.5 << ',' << st.q.y << "a3.5,3.5 0 1,0 7,0a3.5,3.5 0 1,0 -7,0";
      pos.presi.push_back({st.q.x - 4, st.q.y - 4, st.q.x + 4, st.q.y + 4});
    }
    o << "\"/>\n";
  }

  // Labels are written after their leader lines, so that a line runs under
  // a name's halo and never across its letters.
  svg etichette;
  auto etichetta = [&](punto q, const std::string& t_1252, double corpo, const char* classe,
                       bool sempre) {
    const double w = larghezza_testo(t_1252, corpo), h = corpo * 1.2;
    if (const auto r = pos.posa(q, w, h, sempre))
      testo(etichette, r->x0, r->y1 - h * 0.25, t_1252, classe);
  };
  if (inizio) etichetta(t(*inizio), "start", 12, "marca", true);
  if (fine) etichetta(t(*fine), "end " + km(static_cast<double>(l.lunghezza)) + " km", 12, "marca", true);
  for (const segno& st : stazioni) etichetta(st.q, st.nome, corpo_nomi, "nome", true);

  // Kilometre boards: a tick each; their texts where they find room.
  std::vector<std::pair<punto, std::string>> cartelli;
  for (const nome_in_linea& c : l.cartelli)
    if (auto p = punto_metro(g, c.metro)) cartelli.push_back({t(*p), c.nome});
  if (!cartelli.empty()) {
    o << "<path class=\"cartelli\" d=\"";
    for (const auto& c : cartelli) o << 'M' << c.first.x << ',' << c.first.y - 4 << "v8";
    o << "\"/>\n";
    for (const auto& c : cartelli) etichetta(c.first, c.second, corpo_cartelli, "cartello", false);
  }
  if (!pos.richiami.empty()) o << "<path class=\"richiamo\" d=\"" << pos.richiami << "\"/>\n";
  o.s += etichette.s;

  // North and the scale bar, bottom left.
  const double metri_barra = passo_tondo(150 / scala, 1);
  const double px_barra = metri_barra * scala;
  const double yb = y0 + h_pannello - 14;
  o << "<path id=\"scala\" data-metri=\"" << metri_barra << "\" class=\"scala\" d=\"M30," << yb
    << 'h' << px_barra << "\"/>\n";
  o << "<path class=\"scala\" d=\"M30," << yb - 4 << "v8M" << 30 + px_barra << ',' << yb - 4
    << "v8\"/>\n";
  std::string misura;
  if (metri_barra >= 1000) {
    misura = km(metri_barra) + " km";
  } else {
    numero(misura, metri_barra);
    misura += " m";
  }
  testo(o, 30 + px_barra / 2, yb - 6, misura, "asse", "middle");
  const double xn = larghezza_foglio - 40;
  o << "<path class=\"scala\" d=\"M" << xn << ',' << y0 + 40 << "V" << y0 + 14 << "m-5,8l5,-8l5,8\"/>\n";
  testo(o, xn, y0 + 54, "N", "pannello", "middle");
  spazio_piano spazio{24 + h_pannello, t.sx0 + dx * scala + 10, y0 + 64, y0 + h_pannello - 30};
  for (const riquadro& r : pos.presi) spazio.libero_x = std::max(spazio.libero_x, r.x1 + 10);
  return spazio;
}

}  // namespace disegno
