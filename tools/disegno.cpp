#include "tools/disegno.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <utility>

#include "compiler/numeri.h"
#include "tools/scarica.h"

std::optional<double> punto_piano(const std::array<asse_linea, 2>& griglia, int asse,
                                  std::size_t metro) {
  const asse_linea& a = griglia[asse == 0 ? 0 : 1];
  if (metro >= a.tag.size() || metro >= a.valore.size() || a.tag[metro] == elemento_vuoto)
    return std::nullopt;
  return a.valore[metro];
}

namespace {

// How many metres the plan holds: the other half of the plan's layout.
std::size_t metri_piano(const std::array<asse_linea, 2>& griglia) {
  return std::min(griglia[0].tag.size(), griglia[1].tag.size());
}

}  // namespace

std::vector<punto> semplifica_linea(const std::vector<punto>& tutti, double tolleranza) {
  if (tutti.size() <= 2) return tutti;
  // First the points closer than half the tolerance to the last one kept go
  // (each lies that near a point that stays or lies near the line); then
  // Douglas-Peucker at half the tolerance: no point ends farther than the
  // whole tolerance from the line drawn.
  const double mezza = tolleranza / 2;
  std::vector<punto> linea{tutti.front()};
  for (std::size_t i = 1; i + 1 < tutti.size(); ++i)
    if (std::hypot(tutti[i].x - linea.back().x, tutti[i].y - linea.back().y) >= mezza) linea.push_back(tutti[i]);
  linea.push_back(tutti.back());
  if (linea.size() <= 2) return linea;
  std::vector<uint8_t> tieni(linea.size(), 0);
  tieni.front() = tieni.back() = 1;
  const double t2 = mezza * mezza;
  std::vector<std::pair<std::size_t, std::size_t>> pila{{0, linea.size() - 1}};
  while (!pila.empty()) {
    const auto [a, b] = pila.back();
    pila.pop_back();
    if (b <= a + 1) continue;
    const punto pa = linea[a], pb = linea[b];
    const double dx = pb.x - pa.x, dy = pb.y - pa.y;
    const double l2 = dx * dx + dy * dy;
    double peggiore = -1;
    std::size_t dove = a;
    for (std::size_t i = a + 1; i < b; ++i) {
      const double ex = linea[i].x - pa.x, ey = linea[i].y - pa.y;
      // Squared distance from the chord; from its first end when the chord has no length.
      const double vettore = ex * dy - ey * dx;
      const double d2 = l2 > 0 ? vettore * vettore / l2 : ex * ex + ey * ey;
      if (d2 > peggiore) {
        peggiore = d2;
        dove = i;
      }
    }
    if (peggiore > t2) {
      tieni[dove] = 1;
      pila.push_back({a, dove});
      pila.push_back({dove, b});
    }
  }
  std::vector<punto> tenuti;
  for (std::size_t i = 0; i < linea.size(); ++i)
    if (tieni[i]) tenuti.push_back(linea[i]);
  return tenuti;
}

namespace {

// ---------------------------------------------------------------- the sheet

constexpr double larghezza_foglio = 1200;
constexpr double asse_da = 80;                       // left end of the profiles' axis
constexpr double asse_a = larghezza_foglio - 40;     // right end
constexpr double tolleranza_px = 0.25;               // a quarter of a pixel: invisible
// A plan point farther than this from the origin cannot come from a real line
// (a million metres of the sharpest curve stays far inside); such a point is
// left out rather than let it squash the drawing.
constexpr double coordinata_massima = 1e9;

// `v` held within [da, a]. With no room (a below da) it is `da`, where
// std::clamp would be undefined: a name wider than the sheet starts at the
// margin, a route of negative length draws at its start.
template <class T>
T entro(T v, T da, T a) { return std::max(da, std::min(v, a)); }

constexpr double corpo_nomi = 11;     // font size of station names
constexpr double corpo_cartelli = 9;  // font size of kilometre-board texts

// Appends `v` rounded to a tenth, without a trailing ".0".
void numero(std::string& s, double v) {
  // Everything drawn lies on the sheet; a value past any sheet is cut, never
  // turned into an integer that cannot hold it.
  if (!std::isfinite(v)) v = 0;
  v = std::clamp(v, -1e12, 1e12);
  const double decimi = arrotonda(v * 10);
  if (decimi < 0) s += '-';
  const auto a = static_cast<unsigned long long>(std::fabs(decimi));
  s += std::to_string(a / 10);
  if (a % 10 != 0) {
    s += '.';
    s += static_cast<char>('0' + a % 10);
  }
}

struct svg {
  std::string s;
  svg& operator<<(std::string_view t) {
    s += t;
    return *this;
  }
  svg& operator<<(const char* t) { return *this << std::string_view(t); }
  svg& operator<<(char c) {
    s += c;
    return *this;
  }
  svg& operator<<(double v) {
    numero(s, v);
    return *this;
  }
  svg& operator<<(int v) { return *this << static_cast<double>(v); }
};

// Text of the document: the packed single-byte names read as Latin-1, the
// characters that XML reserves escaped, control bytes (not allowed in XML) shown as '?'.
std::string testo_xml(std::string_view t) {
  std::string u;
  for (const char c : testo_utf8(t)) {
    switch (c) {
      case '&': u += "&amp;"; break;
      case '<': u += "&lt;"; break;
      case '>': u += "&gt;"; break;
      case '"': u += "&quot;"; break;
      case '\'': u += "&apos;"; break;
      default:
        u += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
  }
  return u;
}

// Width of a line of text, estimated: sans-serif capitals run about 0.64 em.
double larghezza_testo(std::string_view latin1, double corpo) {
  return static_cast<double>(latin1.size()) * corpo * 0.64;
}

void testo(svg& o, double x, double y, std::string_view latin1, std::string_view classe,
           std::string_view ancora = {}) {
  o << "<text x=\"" << x << "\" y=\"" << y << "\" class=\"" << classe << '"';
  if (!ancora.empty()) o << " text-anchor=\"" << ancora << '"';
  o << '>' << testo_xml(latin1) << "</text>\n";
}

// A round step (1, 2 or 5 times a power of ten) that cuts `ampiezza` into
// about `tacche` parts.
double passo_tondo(double ampiezza, double tacche) {
  if (!(ampiezza > 0) || !std::isfinite(ampiezza)) return 1;
  const double grezzo = ampiezza / tacche;
  const double dieci = std::pow(10.0, std::floor(std::log10(grezzo)));
  for (const double m : {1.0, 2.0, 5.0})
    if (m * dieci >= grezzo) return m * dieci;
  return 10 * dieci;
}

void polilinea(svg& o, const std::vector<punto>& p, std::string_view classe,
               std::string_view id = {}) {
  if (p.size() < 2) return;
  o << "<polyline";
  if (!id.empty()) o << " id=\"" << id << '"';
  o << " class=\"" << classe << "\" points=\"";
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (i) o << ' ';
    o << p[i].x << ',' << p[i].y;
  }
  o << "\"/>\n";
}

// ---------------------------------------------------------------- what the files hold

struct tratto {
  int64_t da = 0;  // metres
  int64_t a = 0;
};

struct nome_in_linea {
  int64_t metro = 0;
  std::string nome;  // single-byte, as packed
};

struct lettura {
  std::string nome, numero;
  int64_t lunghezza = 0;  // route length L, metres
  std::vector<nome_in_linea> stazioni;
  std::vector<nome_in_linea> cartelli;  // kilometre boards and their texts
  std::vector<int64_t> segnali;
  std::vector<tratto> montagne;
  struct rallentamento {
    tratto dove;
    int velocita = 0;
  };
  std::vector<rallentamento> rallentamenti;
  struct abbattimento {
    int64_t metro = 0;
    int velocita = 0;  // 0: a point without a speed
  };
  std::vector<abbattimento> abbattimenti;
};

// Features of the route grid stand where their cell stands, cell i at i x 50 m,
// as the simulator reads them.
lettura leggi(const scenario_imballato& s) {
  lettura l;
  const auto& t = s.tabella;
  l.nome = !t[slot_scenario].nome.empty() ? t[slot_scenario].nome : s.nome_scenario;
  l.numero = !t[slot_treno].nome.empty() ? t[slot_treno].nome : s.numero_treno;
  const int64_t fine_griglia = s.celle.empty() ? 0 : static_cast<int64_t>(s.celle.size() - 1) * 50;
  l.lunghezza = t[slot_treno_percorso].valore2 > 0 ? t[slot_treno_percorso].valore2
                : fine_griglia > 7000 ? fine_griglia - 7000
                                      : fine_griglia;

  std::array<bool, numero_slot> slot_cartello{};
  for (std::size_t i = 0; i < s.celle.size(); ++i) {
    const cella_percorso& c = s.celle[i];
    const int64_t metro = static_cast<int64_t>(i) * 50;
    switch (c.tipo) {
      case tipo_segnale:
        l.segnali.push_back(metro);
        break;
      case tipo_inizio_rallentamento: {
        // A slow order runs from its start cell to the next end cell; a start
        // laid over its own end (a very short order) covers its one cell.
        std::size_t j = i + 1;
        while (j < s.celle.size() && s.celle[j].tipo != tipo_fine_rallentamento &&
               s.celle[j].tipo != tipo_inizio_rallentamento)
          ++j;
        const int64_t fine = j < s.celle.size() && s.celle[j].tipo == tipo_fine_rallentamento
                                 ? static_cast<int64_t>(j) * 50
                                 : metro + 50;
        l.rallentamenti.push_back({{metro, fine}, c.dato1});
        break;
      }
      case tipo_abbattimento:
        l.abbattimenti.push_back({metro, std::max<int>(c.dato1, 1)});
        break;
      case tipo_abbattimento_senza_velocita:
        l.abbattimenti.push_back({metro, 0});
        break;
      case tipo_indicatore_km:
        // The board's text lies in the slot the cell names; a slot outside the
        // table is not read.
        if (c.dato1 >= slot_prima_stazione && c.dato1 <= slot_cartelli) {
          slot_cartello[static_cast<std::size_t>(c.dato1)] = true;
          l.cartelli.push_back({metro, t[static_cast<std::size_t>(c.dato1)].nome});
        }
        break;
      default:
        break;
    }
    if (c.montagna != 0) {
      if (!l.montagne.empty() && l.montagne.back().a == metro)
        l.montagne.back().a = metro + 50;
      else
        l.montagne.push_back({metro, metro + 50});
    }
  }
  // Stations fill the table from slot 1 upward, board texts from slot 80 downward.
  for (int j = slot_prima_stazione; j < slot_cartelli; ++j)
    if (!slot_cartello[j] && !(t[j] == record_stazione{})) l.stazioni.push_back({t[j].valore3, t[j].nome});
  std::stable_sort(l.stazioni.begin(), l.stazioni.end(),
                   [](const nome_in_linea& a, const nome_in_linea& b) { return a.metro < b.metro; });
  return l;
}

// The plan point at `metro`, when it is there and usable.
std::optional<punto> punto_metro(const std::array<asse_linea, 2>& g, int64_t metro) {
  if (metro < 0) return std::nullopt;
  const auto x = punto_piano(g, 0, static_cast<std::size_t>(metro));
  const auto y = punto_piano(g, 1, static_cast<std::size_t>(metro));
  if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y) || std::fabs(*x) > coordinata_massima ||
      std::fabs(*y) > coordinata_massima)
    return std::nullopt;
  return punto{*x, *y};
}

// The nearest usable plan point to `metro`, looking back first (the last
// metres of a plan are never computed).
std::optional<punto> punto_vicino(const std::array<asse_linea, 2>& g, int64_t metro) {
  for (int64_t d = 0; d <= 100; ++d) {
    if (auto p = punto_metro(g, metro - d)) return p;
    if (auto p = punto_metro(g, metro + d)) return p;
  }
  return std::nullopt;
}

// ---------------------------------------------------------------- placing labels

struct riquadro {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool tocca(const riquadro& r) const { return x0 < r.x1 && r.x0 < x1 && y0 < r.y1 && r.y0 < y1; }
};

// Where the track runs on the sheet, in squares of 4 px: labels keep off it.
struct mappa_traccia {
  static constexpr double lato = 4;
  int colonne = 0, righe = 0;
  std::vector<uint8_t> piena;

  mappa_traccia(double w, double h)
      : colonne(static_cast<int>(w / lato) + 1), righe(static_cast<int>(h / lato) + 1),
        piena(static_cast<std::size_t>(colonne) * static_cast<std::size_t>(righe), 0) {}

  void segna(punto p) {
    const int c = static_cast<int>(p.x / lato), r = static_cast<int>(p.y / lato);
    if (c >= 0 && c < colonne && r >= 0 && r < righe) piena[static_cast<std::size_t>(r * colonne + c)] = 1;
  }
  void segna_linea(const std::vector<punto>& linea) {
    for (std::size_t i = 1; i < linea.size(); ++i) {
      const punto a = linea[i - 1], b = linea[i];
      const int passi = static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) / 2) + 1;
      for (int k = 0; k <= passi; ++k) {
        const double f = static_cast<double>(k) / passi;
        segna({a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f});
      }
    }
  }
  int conta(const riquadro& q) const {
    int n = 0;
    const int c0 = std::max(0, static_cast<int>(q.x0 / lato)), c1 = std::min(colonne - 1, static_cast<int>(q.x1 / lato));
    const int r0 = std::max(0, static_cast<int>(q.y0 / lato)), r1 = std::min(righe - 1, static_cast<int>(q.y1 / lato));
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) n += piena[static_cast<std::size_t>(r * colonne + c)];
    return n;
  }
};

struct posatore {
  mappa_traccia traccia;
  riquadro limiti;
  std::vector<riquadro> presi;
  std::string richiami;  // leader lines from a point to a label set far from it

  // The box of a label of `w` x `h` beside the point `p`: the place that
  // crosses no other label and the least track, nearest first. Nothing when
  // every place crosses a label and the label may be left out.
  std::optional<riquadro> posa(punto p, double w, double h, bool sempre) {
    static constexpr double distanze[] = {5, 14, 28, 46, 70};
    static constexpr double direzioni[][2] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1},
                                              {1, -1}, {-1, -1}, {1, 1}, {-1, 1}};
    std::optional<riquadro> migliore;
    double costo_migliore = 0;
    for (std::size_t k = 0; k < std::size(distanze); ++k)
      for (const auto& d : direzioni) {
        const double cx = p.x + d[0] * (distanze[k] + w / 2), cy = p.y + d[1] * (distanze[k] + h / 2);
        const riquadro q{cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2};
        if (q.x0 < limiti.x0 || q.x1 > limiti.x1 || q.y0 < limiti.y0 || q.y1 > limiti.y1) continue;
        int urti = 0;
        for (const riquadro& r : presi) urti += q.tocca(r);
        const double costo = urti * 1000.0 + traccia.conta(q) + static_cast<double>(k) * 3;
        if (!migliore || costo < costo_migliore) {
          migliore = q;
          costo_migliore = costo;
        }
      }
    if (!migliore && sempre) {
      // No place beside the point lies on the sheet (a very long name): at
      // the point itself, kept on the sheet as far as it goes.
      const double x0 = std::clamp(p.x + distanze[0], limiti.x0, std::max(limiti.x0, limiti.x1 - w));
      const double y0 = std::clamp(p.y - h / 2, limiti.y0, std::max(limiti.y0, limiti.y1 - h));
      migliore = riquadro{x0, y0, x0 + w, y0 + h};
      costo_migliore = 0;
    }
    if (!migliore || (!sempre && costo_migliore >= 1000)) return std::nullopt;
    presi.push_back(*migliore);
    const riquadro& q = *migliore;
    const double vx = std::clamp(p.x, q.x0, q.x1), vy = std::clamp(p.y, q.y0, q.y1);
    if (std::hypot(vx - p.x, vy - p.y) > 20) {
      svg l;
      l << 'M' << p.x << ',' << p.y << 'L' << vx << ',' << vy;
      richiami += l.s;
    }
    return migliore;
  }
};

// ---------------------------------------------------------------- the drawing

struct trasformazione {
  double scala = 1;  // px per metre, both axes
  double x_min = 0, y_max = 0, sx0 = 0, sy0 = 0;
  punto operator()(punto m) const { return {sx0 + (m.x - x_min) * scala, sy0 + (y_max - m.y) * scala}; }
};

constexpr const char* stile =
    "<style>\n"
    "text{font-family:DejaVu Sans,Arial,sans-serif;fill:#222}\n"
    ".titolo{font-size:20px;font-weight:bold}.sotto{font-size:12px;fill:#555}\n"
    ".pannello{font-size:12px;font-weight:bold}.asse{font-size:10px;fill:#444}\n"
    ".nome{font-size:11px}.cartello{font-size:9px;fill:#666}.voce{font-size:11px}\n"
    ".marca{font-size:12px;font-weight:bold}\n"
    // A white halo keeps names legible where they cross a line.
    ".nome,.cartello,.marca{paint-order:stroke;stroke:#fff;stroke-width:3px;stroke-linejoin:round}\n"
    ".vel{font-size:9px;fill:#a04000;font-weight:bold}\n"
    ".cornice{fill:none;stroke:#bbb}.griglia{fill:none;stroke:#e4e4e4}\n"
    ".traccia{fill:none;stroke:#1d4f91;stroke-width:2;stroke-linejoin:round}\n"
    ".oltre{fill:none;stroke:#999;stroke-width:1.5;stroke-dasharray:5 4}\n"
    ".montagna{fill:none;stroke:#8b5a2b;stroke-width:7;stroke-opacity:.85;stroke-linecap:round}\n"
    ".richiamo{fill:none;stroke:#888;stroke-width:.7}\n"
    ".fascia{fill:#c9a27e;fill-opacity:.3}\n"
    ".segnali{fill:none;stroke:#c0392b;stroke-width:1.3}\n"
    ".cartelli{fill:none;stroke:#666;stroke-width:1}\n"
    ".stazioni{fill:#fff;stroke:#000;stroke-width:1.3}\n"
    ".partenza{fill:#2e8b57}.arrivo{fill:#c0392b}\n"
    ".linee_stazioni{fill:none;stroke:#999;stroke-width:.6}\n"
    ".altezza{fill:none;stroke:#6b4f2a;stroke-width:1.5}\n"
    ".pendenza{fill:none;stroke:#8e44ad;stroke-width:1.2}\n"
    ".zero{fill:none;stroke:#888;stroke-width:.8}\n"
    ".velocita{fill:none;stroke:#1d4f91;stroke-width:1.8}\n"
    ".rallentamento{fill:#f5b041;fill-opacity:.55;stroke:#d68910;stroke-width:.8}\n"
    ".abbattimento{fill:#d35400}.abbattimento0{fill:none;stroke:#d35400;stroke-width:1.2}\n"
    ".scala{fill:none;stroke:#222;stroke-width:2}\n"
    "</style>\n";

std::string km(double metri) {
  std::string s;
  numero(s, metri / 1000);
  return s;
}

// What the plan left: its height, and an empty corner on its right where the
// legend may stand (from `libero_x` to the panel's edge, `libero_y0` to `libero_y1`).
struct spazio_piano {
  double altezza = 0;
  double libero_x = larghezza_foglio, libero_y0 = 0, libero_y1 = 0;
};

// The track plan, north up, equal scales.
spazio_piano disegna_piano(svg& o, const scenario_imballato& s, const lettura& l, double alto) {
  const auto& g = s.griglia;
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
  auto etichetta = [&](punto q, const std::string& t_latin1, double corpo, const char* classe,
                       bool sempre) {
    const double w = larghezza_testo(t_latin1, corpo), h = corpo * 1.2;
    if (const auto r = pos.posa(q, w, h, sempre))
      testo(etichette, r->x0, r->y1 - h * 0.25, t_latin1, classe);
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

struct asse_km {
  double lunghezza = 1;
  double x(double metri) const { return asse_da + metri / lunghezza * (asse_a - asse_da); }
};

// A panel of the profiles: frame, value grid and labels on the left.
struct pannello {
  double y0 = 0, y1 = 0, v_min = 0, v_max = 1;
  double y(double v) const { return y1 - (v - v_min) / (v_max - v_min) * (y1 - y0); }
};

void cornice_pannello(svg& o, const pannello& p, const asse_km& a, const char* titolo,
                      double passo_valori) {
  o << "<path class=\"griglia\" d=\"";
  for (double v = std::ceil(p.v_min / passo_valori) * passo_valori; v <= p.v_max + 1e-9; v += passo_valori)
    o << 'M' << asse_da << ',' << p.y(v) << 'H' << asse_a;
  const double passo_km = passo_tondo(a.lunghezza, 12);
  for (double m = 0; m <= a.lunghezza + 1e-9; m += passo_km) o << 'M' << a.x(m) << ',' << p.y0 << 'V' << p.y1;
  o << "\"/>\n";
  for (double v = std::ceil(p.v_min / passo_valori) * passo_valori; v <= p.v_max + 1e-9; v += passo_valori) {
    std::string s;
    numero(s, v);
    testo(o, asse_da - 5, p.y(v) + 3.5, s, "asse", "end");
  }
  o << "<rect class=\"cornice\" x=\"" << asse_da << "\" y=\"" << p.y0 << "\" width=\""
    << asse_a - asse_da << "\" height=\"" << p.y1 - p.y0 << "\"/>\n";
  testo(o, asse_da, p.y0 - 5, titolo, "pannello");
}

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

double disegna_profili(svg& o, const scenario_imballato& s, const lettura& l, double alto) {
  asse_km a;
  a.lunghezza = std::max<double>(static_cast<double>(l.lunghezza), 50);
  // Cells whose point lies on the route, 0 to L.
  const std::size_t celle = std::min<std::size_t>(s.celle.size(), static_cast<std::size_t>(l.lunghezza / 50));

  // Station names in staggered rows above the profiles.
  std::vector<double> fine_riga;
  struct posto {
    double x;
    std::size_t riga;
    const nome_in_linea* st;
  };
  std::vector<posto> posti;
  for (const nome_in_linea& st : l.stazioni) {
    const double x = a.x(static_cast<double>(entro<int64_t>(st.metro, 0, l.lunghezza)));
    const double w = larghezza_testo(st.nome, corpo_nomi);
    const double sx = entro(x - w / 2, 2.0, larghezza_foglio - 2 - w);
    std::size_t r = 0;
    while (r < fine_riga.size() && fine_riga[r] + 6 > sx) ++r;
    if (r == fine_riga.size()) fine_riga.push_back(0);
    fine_riga[r] = sx + w;
    posti.push_back({x, r, &st});
  }
  const double passo_riga = 13;
  testo(o, 20, alto + 14, "Stations", "pannello");
  const double y_nomi = alto + 30;
  const double y_pannelli = y_nomi + static_cast<double>(fine_riga.size()) * passo_riga + 20;

  const pannello alt_p{y_pannelli, y_pannelli + 150};
  const pannello pend_p{alt_p.y1 + 30, alt_p.y1 + 30 + 90};
  const pannello vel_p{pend_p.y1 + 30, pend_p.y1 + 30 + 170};

  // Heights from the gradients (per mille over each 50 m cell); a cell with no
  // gradient laid (code 0) is taken as level.
  std::vector<std::optional<double>> pendenze(celle);
  std::vector<punto> quote(celle + 1);
  double h = 0, h_min = 0, h_max = 0, g_min = 0, g_max = 0;
  for (std::size_t i = 0; i < celle; ++i) {
    quote[i] = {static_cast<double>(i) * 50, h};
    if (s.celle[i].pendenza != 0) {
      const double g = static_cast<double>(s.celle[i].pendenza) - 100;
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
    velocita[i] = s.celle[i].velocita * 5.0;
    v_max = std::max(v_max, *velocita[i]);
  }
  for (const auto& r : l.rallentamenti) v_max = std::max<double>(v_max, r.velocita);
  for (const auto& r : l.abbattimenti) v_max = std::max<double>(v_max, r.velocita);
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
  cornice_pannello(o, vp, a, "Line speed limit, slow orders and speed-reduction points (km/h)", passo_v);

  std::vector<punto> linea_quote;
  linea_quote.reserve(quote.size());
  for (const punto& q : quote) linea_quote.push_back({a.x(q.x), ap.y(q.y)});
  polilinea(o, semplifica_linea(linea_quote, tolleranza_px), "altezza", "altezza");
  o << "<path class=\"zero\" d=\"M" << asse_da << ',' << gp.y(0) << 'H' << asse_a << "\"/>\n";
  gradini(o, pendenze, gp, a, "pendenza");

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
  if (!con.empty()) o << "<path class=\"abbattimento\" d=\"" << con << "\"/>\n";
  if (!senza.empty()) o << "<path class=\"abbattimento0\" d=\"" << senza << "\"/>\n";

  // Stations: one thin line each through every panel, from its name down.
  if (!posti.empty()) {
    o << "<path class=\"linee_stazioni\" d=\"";
    for (const posto& p : posti)
      o << 'M' << p.x << ',' << y_nomi + static_cast<double>(p.riga) * passo_riga + 3 << 'V' << vp.y1;
    o << "\"/>\n";
    for (const posto& p : posti) {
      const double w = larghezza_testo(p.st->nome, corpo_nomi);
      const double sx = entro(p.x - w / 2, 2.0, larghezza_foglio - 2 - w);
      testo(o, sx, y_nomi + static_cast<double>(p.riga) * passo_riga, p.st->nome, "nome stazione");
    }
  }

  // The shared axis of route kilometres.
  const double passo_km = passo_tondo(a.lunghezza, 12);
  o << "<path class=\"cornice\" d=\"";
  for (double m = 0; m <= a.lunghezza + 1e-9; m += passo_km) o << 'M' << a.x(m) << ',' << vp.y1 << "v5";
  o << "\"/>\n";
  for (double m = 0; m <= a.lunghezza + 1e-9; m += passo_km)
    testo(o, a.x(m), vp.y1 + 16, km(m), "asse", "middle");
  testo(o, (asse_da + asse_a) / 2, vp.y1 + 32, "route kilometres (km)", "pannello", "middle");
  return vp.y1 + 40 - alto;
}

// The legend: a sample of every mark and its meaning, in rows.
// Drawn from (x, alto) in columns across `larghezza`; returns the height it takes.
double disegna_legenda(svg& o, double x0, double alto, double larghezza, bool disegna = true) {
  struct voce {
    const char* campione;  // the mark, drawn in a 24 x 12 box at the origin
    const char* testo;
  };
  static constexpr voce voci[] = {
      {"<path class=\"traccia\" d=\"M0,6h24\"/>", "track"},
      {"<path class=\"oltre\" d=\"M0,6h24\"/>", "beyond the route's end"},
      {"<path class=\"traccia\" d=\"M0,6h24\"/><path class=\"montagna\" d=\"M6,6h12\"/>", "mountain span"},
      {"<circle class=\"partenza\" cx=\"6\" cy=\"6\" r=\"5\"/><rect class=\"arrivo\" x=\"14\" y=\"1\" width=\"10\" height=\"10\"/>", "start, end"},
      {"<path class=\"stazioni\" d=\"M8.5,6a3.5,3.5 0 1,0 7,0a3.5,3.5 0 1,0 -7,0\"/>", "station"},
      {"<path class=\"traccia\" d=\"M0,6h24\"/><path class=\"segnali\" d=\"M12,1v10\"/>", "signal"},
      {"<path class=\"cartelli\" d=\"M12,2v8\"/>", "kilometre board"},
      {"<path class=\"altezza\" d=\"M0,10l8,-6l8,2l8,-5\"/>", "height"},
      {"<path class=\"pendenza\" d=\"M0,9h8v-6h8v4h8\"/>", "gradient"},
      {"<path class=\"velocita\" d=\"M0,3h10v6h14\"/>", "line speed limit"},
      {"<rect class=\"rallentamento\" x=\"2\" y=\"4\" width=\"20\" height=\"8\"/>", "slow order (its speed above)"},
      {"<path class=\"abbattimento\" d=\"M8.5,3h7l-3.5,6z\"/>", "speed-reduction point"},
      {"<path class=\"abbattimento0\" d=\"M8.5,3h7l-3.5,6z\"/>", "reduction point without a speed"},
      {"<rect class=\"fascia\" x=\"2\" y=\"0\" width=\"20\" height=\"12\"/>", "mountain span (profile)"},
  };
  const double colonna = 260;
  const int per_riga = std::max(1, static_cast<int>(larghezza / colonna));
  const int righe = (static_cast<int>(std::size(voci)) + per_riga - 1) / per_riga;
  const double altezza = 24 + righe * 20 + 10;
  if (!disegna) return altezza;
  testo(o, x0, alto + 14, "Legend", "pannello");
  int n = 0;
  for (const voce& v : voci) {
    const double x = x0 + (n % per_riga) * colonna, y = alto + 24 + (n / per_riga) * 20;
    o << "<g transform=\"translate(" << x << ',' << y << ")\">" << v.campione << "</g>\n";
    testo(o, x + 32, y + 10, v.testo, "voce");
    ++n;
  }
  return altezza;
}

}  // namespace

std::string disegna_scenario(const scenario_imballato& s) {
  const lettura l = leggi(s);
  svg corpo;
  double y = 0;
  std::string titolo = "Scenario " + l.nome + ", train " + l.numero;
  testo(corpo, 20, 32, titolo, "titolo");
  std::string sotto = "route " + km(static_cast<double>(l.lunghezza)) + " km, " +
                      std::to_string(l.stazioni.size()) + " stations, " +
                      std::to_string(l.segnali.size()) + " signals, " +
                      std::to_string(l.rallentamenti.size()) + " slow orders";
  testo(corpo, 20, 50, sotto, "sotto");
  y = 62;
  const spazio_piano piano = disegna_piano(corpo, s, l, y);
  y += piano.altezza + 16;
  // The legend goes in the plan's empty corner when it fits there, else at the foot.
  const double larghezza_angolo = larghezza_foglio - 30 - piano.libero_x;
  const bool nell_angolo =
      larghezza_angolo >= 250 &&
      disegna_legenda(corpo, 0, 0, 250, false) <= piano.libero_y1 - piano.libero_y0;
  if (nell_angolo) disegna_legenda(corpo, larghezza_foglio - 30 - 250, piano.libero_y0, 250);
  y += disegna_profili(corpo, s, l, y) + 10;
  if (!nell_angolo) y += disegna_legenda(corpo, 20, y, larghezza_foglio - 40) + 10;
  y = std::ceil(y);  // whole pixels: the page's size

  svg o;
  o << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << larghezza_foglio << "\" height=\"" << y
    << "\" viewBox=\"0 0 " << larghezza_foglio << ' ' << y << "\">\n"
    << "<title>" << testo_xml(titolo) << "</title>\n"
    << stile << "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
  o.s += corpo.s;
  o << "</svg>\n";
  return std::move(o.s);
}
