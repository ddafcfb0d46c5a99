#include "tools/disegno/etichette.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "tools/disegno/svg.h"

namespace disegno {

void mappa_traccia::segna_linea(const std::vector<punto>& linea) {
  for (std::size_t i = 1; i < linea.size(); ++i) {
    const punto a = linea[i - 1], b = linea[i];
    const int passi = static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) / 2) + 1;
    for (int k = 0; k <= passi; ++k) {
      const double f = static_cast<double>(k) / passi;
      segna({a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f});
    }
  }
}

int mappa_traccia::conta(const riquadro& q) const {
  int n = 0;
  const int c0 = std::max(0, static_cast<int>(q.x0 / lato)), c1 = std::min(colonne - 1, static_cast<int>(q.x1 / lato));
  const int r0 = std::max(0, static_cast<int>(q.y0 / lato)), r1 = std::min(righe - 1, static_cast<int>(q.y1 / lato));
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) n += piena[static_cast<std::size_t>(r * colonne + c)];
  return n;
}

std::optional<riquadro> posatore::posa(punto p, double w, double h, bool sempre) {
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

}  // namespace disegno
