#include "tools/disegno/geometria.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

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

namespace disegno {

double passo_tondo(double ampiezza, double tacche) {
  if (!(ampiezza > 0) || !std::isfinite(ampiezza)) return 1;
  const double grezzo = ampiezza / tacche;
  const double dieci = std::pow(10.0, std::floor(std::log10(grezzo)));
  for (const double m : {1.0, 2.0, 5.0})
    if (m * dieci >= grezzo) return m * dieci;
  return 10 * dieci;
}

}  // namespace disegno
