#include "tools/disegno/pannello.h"

#include <cmath>

#include "tools/disegno/geometria.h"

namespace disegno {

void cornice_pannello(svg& o, const pannello& p, const asse_km& a, const char* titolo, double passo_valori,
                      std::string (*etichetta)(double)) {
  o << "<path class=\"griglia\" d=\"";
  for (double v = std::ceil(p.v_min / passo_valori) * passo_valori; v <= p.v_max + 1e-9; v += passo_valori)
    o << 'M' << asse_da << ',' << p.y(v) << 'H' << asse_a;
  const double passo_km = passo_tondo(a.lunghezza, 12);
  for (double m = 0; m <= a.lunghezza + 1e-9; m += passo_km) o << 'M' << a.x(m) << ',' << p.y0 << 'V' << p.y1;
  o << "\"/>\n";
  for (double v = std::ceil(p.v_min / passo_valori) * passo_valori; v <= p.v_max + 1e-9; v += passo_valori) {
    std::string s;
    if (etichetta) s = etichetta(v);
    else numero(s, v);
    testo(o, asse_da - 5, p.y(v) + 3.5, s, "asse", "end");
  }
  o << "<rect class=\"cornice\" x=\"" << asse_da << "\" y=\"" << p.y0 << "\" width=\""
    << asse_a - asse_da << "\" height=\"" << p.y1 - p.y0 << "\"/>\n";
  testo(o, asse_da, p.y0 - 5, titolo, "pannello");
}

void freccia_oltre(svg& d, double y) { d << 'M' << asse_a << ',' << y << "h14m-4,-3.5l4,3.5l-4,3.5"; }

}  // namespace disegno
