#include "formato/piano_linea.h"

std::array<asse_linea, 2> punti_linea(const piano_linea& p) {
  if (!p.letti[0].tag.empty()) return p.letti;
  std::array<asse_linea, 2> g;
  const auto n = static_cast<std::size_t>(p.punti);
  for (asse_linea& a : g) {
    a.tag.assign(n, elemento_vuoto);
    a.valore.assign(n, 0.0);
  }
  if (!p.origine || n < 2) return g;
  g[0].tag[0] = g[0].tag[1] = g[1].tag[0] = g[1].tag[1] = elemento_intero;
  g[1].valore[1] = 1.0;
  std::size_t j = 2;
  percorri_piano(p, [&](double x, double y) {
    if (j < n) {
      g[0].tag[j] = g[1].tag[j] = elemento_reale;
      g[0].valore[j] = x;
      g[1].valore[j] = y;
    }
    ++j;
  });
  return g;
}
