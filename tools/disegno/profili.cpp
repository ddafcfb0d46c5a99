#include "tools/disegno/profili.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "packer/completa_approcci.h"
#include "tools/disegno/foglio.h"
#include "tools/disegno/orario.h"
#include "tools/disegno/pannello.h"

namespace disegno {

namespace {

// Values per cell drawn as steps: a cell's value holds from its point to the next.
void gradini(svg& o, const std::vector<std::optional<double>>& valori, const pannello& p,
             const asse_km& a, const char* classe) {
  svg tmp;
  bool aperto = false;
  double ultimo = 0;
  for (std::size_t i = 0; i < valori.size(); ++i) {
    const double m = static_cast<double>(i) * 50;
    if (!valori[i]) {
      if (aperto) tmp << 'H' << a.x(m);
      aperto = false;
      continue;
    }
    const double v = *valori[i];
    if (!aperto) tmp << 'M' << a.x(m) << ',' << p.y(v);
    else if (v != ultimo) tmp << 'H' << a.x(m) << 'V' << p.y(v);
    aperto = true;
    ultimo = v;
  }
  if (aperto) tmp << 'H' << a.x(static_cast<double>(valori.size()) * 50);
  if (!tmp.s.empty()) o << "<path class=\"" << classe << "\" d=\"" << tmp.s << "\"/>\n";
}

}  // namespace

double disegna_profili(svg& o, const scenario& s, const lettura& l, const marcia& m, double alto) {
  asse_km a;
  a.lunghezza = std::max<double>(static_cast<double>(l.lunghezza), 50);
  // Cells whose point lies on the route, 0 to L.
  const std::size_t celle = std::min<std::size_t>(s.percorso.size(), static_cast<std::size_t>(l.lunghezza / 50));

  // Station names in staggered rows above the profiles. A station past the
  // route's end (the train never gets there) is not set at the axis's end as
  // if it stood there: its name, with where it lies, ends at the axis's end,
  // and an arrow there points on past it.
  std::vector<double> fine_riga;
  struct posto {
    double x;      // the station's point on the axis
    double sx, w;  // its label's start and width
    std::size_t riga;
    const nome_in_linea* st;
    std::string oltre;  // what the label adds for a station past the end
  };
  constexpr double spazio_nota = 4;  // between a name and what it adds
  std::vector<posto> posti;
  for (const nome_in_linea& st : l.stazioni) {
    posto p{0, 0, larghezza_testo(st.nome, corpo_nomi), 0, &st, {}};
    if (st.metro > l.lunghezza) {
      p.oltre = "(past the end, at " + km(static_cast<double>(st.metro)) + " km)";
      p.w += spazio_nota + larghezza_testo(p.oltre, corpo_nomi);
      p.x = asse_a;
      p.sx = entro(asse_a - 2 - p.w, 2.0, larghezza_foglio - 2 - p.w);
    } else {
      p.x = a.x(static_cast<double>(std::max<int64_t>(st.metro, 0)));
      p.sx = entro(p.x - p.w / 2, 2.0, larghezza_foglio - 2 - p.w);
    }
    std::size_t r = 0;
    while (r < fine_riga.size() && fine_riga[r] + 6 > p.sx) ++r;
    if (r == fine_riga.size()) fine_riga.push_back(0);
    fine_riga[r] = p.sx + p.w;
    p.riga = r;
    posti.push_back(std::move(p));
  }
  const double passo_riga = 13;
  testo(o, 20, alto + 14, "Stations", "pannello");
  const double y_nomi = alto + 30;
  const double y_pannelli = y_nomi + static_cast<double>(fine_riga.size()) * passo_riga + 20;

  const pannello alt_p{y_pannelli, y_pannelli + 150};
  const pannello pend_p{alt_p.y1 + 30, alt_p.y1 + 30 + 90};
  const pannello vel_p{pend_p.y1 + 30, pend_p.y1 + 30 + 170};
  const double y_orario = vel_p.y1 + 30, fondo = y_orario + altezza_orario;

  // Heights from the gradients (per mille over each 50 m cell); a cell with no
  // gradient laid (code 0) is taken as level.
  std::vector<std::optional<double>> pendenze(celle);
  std::vector<punto> quote(celle + 1);
  double h = 0, h_min = 0, h_max = 0, g_min = 0, g_max = 0;
  for (std::size_t i = 0; i < celle; ++i) {
    quote[i] = {static_cast<double>(i) * 50, h};
    if (s.percorso[i].pendenza != 0) {
      const double g = static_cast<double>(s.percorso[i].pendenza) - 100;
      pendenze[i] = g;
      g_min = std::min(g_min, g);
      g_max = std::max(g_max, g);
      h += g * 50 / 1000;
    }
    h_min = std::min(h_min, h);
    h_max = std::max(h_max, h);
  }
  quote[celle] = {static_cast<double>(celle) * 50, h};

  pannello ap = alt_p;
  const double passo_h = passo_tondo(std::max(h_max - h_min, 1.0), 4);
  ap.v_min = std::floor(h_min / passo_h) * passo_h;
  ap.v_max = std::max(std::ceil(h_max / passo_h) * passo_h, ap.v_min + passo_h);
  pannello gp = pend_p;
  const double passo_g = passo_tondo(std::max(g_max - g_min, 1.0), 3);
  gp.v_min = std::min(0.0, std::floor(g_min / passo_g) * passo_g);
  gp.v_max = std::max(std::ceil(g_max / passo_g) * passo_g, gp.v_min + passo_g);

  std::vector<std::optional<double>> velocita(celle);
  double v_max = 0;
  for (std::size_t i = 0; i < celle; ++i) {
    velocita[i] = s.percorso[i].velocita * 5.0;
    v_max = std::max(v_max, *velocita[i]);
  }
  for (const auto& r : l.rallentamenti) v_max = std::max<double>(v_max, r.velocita);
  for (const auto& r : l.abbattimenti) v_max = std::max<double>(v_max, r.velocita);
  if (!l.approcci.empty()) v_max = std::max<double>(v_max, velocita_approccio);
  v_max = std::max(v_max, velocita_massima(m));
  pannello vp = vel_p;
  const double passo_v = passo_tondo(std::max(v_max, 20.0), 5);
  vp.v_min = 0;
  vp.v_max = std::ceil(std::max(v_max, 20.0) * 1.08 / passo_v) * passo_v;

  // Mountain spans shaded behind the height.
  for (const tratto& mt : l.montagne) {
    const double x0 = a.x(static_cast<double>(entro<int64_t>(mt.da, 0, l.lunghezza)));
    const double x1 = a.x(static_cast<double>(entro<int64_t>(mt.a, 0, l.lunghezza)));
    if (x1 > x0)
      o << "<rect class=\"fascia\" x=\"" << x0 << "\" y=\"" << ap.y0 << "\" width=\"" << x1 - x0
        << "\" height=\"" << ap.y1 - ap.y0 << "\"/>\n";
  }
  cornice_pannello(o, ap, a, "Height (m, from the gradients; 0 at the start)", passo_h);
  cornice_pannello(o, gp, a, "Gradient (per mille)", passo_g);
  cornice_pannello(o, vp, a, "Line speed limit, slow orders, speed-reduction points and the fastest run (km/h)",
                   passo_v);

  std::vector<punto> linea_quote;
  linea_quote.reserve(quote.size());
  for (const punto& q : quote) linea_quote.push_back({a.x(q.x), ap.y(q.y)});
  polilinea(o, semplifica_linea(linea_quote, tolleranza_px), "altezza", "altezza");
  o << "<path class=\"zero\" d=\"M" << asse_da << ',' << gp.y(0) << 'H' << asse_a << "\"/>\n";
  gradini(o, pendenze, gp, a, "pendenza");

  // The fastest run first, under the slow orders' speeds and the limit,
  // broader and lighter: where it holds the limit, the limit shows on it.
  const double lunghezza = static_cast<double>(std::max<int64_t>(l.lunghezza, 0));
  disegna_velocita_marcia(o, m, a, vp, lunghezza);

  // Slow orders: the span shaded up to its speed, the speed written above.
  for (const auto& r : l.rallentamenti) {
    const double x0 = a.x(static_cast<double>(entro<int64_t>(r.dove.da, 0, l.lunghezza)));
    const double x1 = std::max(a.x(static_cast<double>(entro<int64_t>(r.dove.a, 0, l.lunghezza))), x0 + 2);
    const double yv = vp.y(std::max(r.velocita, 0));
    o << "<rect class=\"rallentamento\" x=\"" << x0 << "\" y=\"" << yv << "\" width=\"" << x1 - x0
      << "\" height=\"" << vp.y1 - yv << "\"/>\n";
    testo(o, (x0 + x1) / 2, yv - 3, std::to_string(r.velocita), "vel", "middle");
  }
  gradini(o, velocita, vp, a, "velocita");
  // Speed-reduction points: a triangle at their speed; those without one at the top.
  std::string con, senza;
  for (const auto& r : l.abbattimenti) {
    if (r.metro > l.lunghezza) continue;
    const double x = a.x(static_cast<double>(r.metro));
    svg t;
    if (r.velocita > 0) {
      t << 'M' << x - 3.5 << ',' << vp.y(r.velocita) - 6 << "h7l-3.5,6z";
      con += t.s;
    } else {
      t << 'M' << x - 3.5 << ',' << vp.y0 + 1 << "h7l-3.5,6z";
      senza += t.s;
    }
  }
  if (!con.empty()) o << "<path id=\"abbattimenti\" class=\"abbattimento\" d=\"" << con << "\"/>\n";
  if (!senza.empty()) o << "<path class=\"abbattimento0\" d=\"" << senza << "\"/>\n";
  // The packer's approach points: a smaller grey mark at their speed, apart
  // from the author's.
  svg approcci;
  for (const int64_t metro : l.approcci) {
    if (metro > l.lunghezza) continue;
    approcci << 'M' << a.x(static_cast<double>(metro)) - 2.5 << ',' << vp.y(velocita_approccio) - 4 << "h5l-2.5,4z";
  }
  if (!approcci.s.empty()) o << "<path id=\"approcci\" class=\"approccio\" d=\"" << approcci.s << "\"/>\n";
  disegna_orario(o, m, a, y_orario, fondo, lunghezza);

  // Stations: one thin line each through every panel, from its name down;
  // for one past the end, the arrow instead.
  svg linee, frecce;
  for (const posto& p : posti) {
    const double y = y_nomi + static_cast<double>(p.riga) * passo_riga;
    if (p.oltre.empty())
      linee << 'M' << p.x << ',' << y + 3 << 'V' << fondo;
    else
      freccia_oltre(frecce, y - 4);
  }
  if (!linee.s.empty()) o << "<path class=\"linee_stazioni\" d=\"" << linee.s << "\"/>\n";
  if (!frecce.s.empty()) o << "<path class=\"oltre_fine\" d=\"" << frecce.s << "\"/>\n";
  for (const posto& p : posti) {
    const double y = y_nomi + static_cast<double>(p.riga) * passo_riga;
    if (p.oltre.empty()) {
      testo(o, p.sx, y, p.st->nome, "nome stazione");
      continue;
    }
    o << "<text x=\"" << p.sx << "\" y=\"" << y << "\" class=\"nome stazione\">" << testo_xml(p.st->nome)
      << "<tspan class=\"oltre_fine\" dx=\"" << spazio_nota << "\">" << testo_xml(p.oltre) << "</tspan></text>\n";
  }

  // The shared axis of route kilometres.
  const double passo_km = passo_tondo(a.lunghezza, 12);
  o << "<path class=\"cornice\" d=\"";
  for (double x = 0; x <= a.lunghezza + 1e-9; x += passo_km) o << 'M' << a.x(x) << ',' << fondo << "v5";
  o << "\"/>\n";
  for (double x = 0; x <= a.lunghezza + 1e-9; x += passo_km)
    testo(o, a.x(x), fondo + 16, km(x), "asse", "middle");
  testo(o, (asse_da + asse_a) / 2, fondo + 32, "route kilometres (km)", "pannello", "middle");
  return fondo + 40 - alto;
}

}  // namespace disegno
