// The points of the line plan, worked out from its stretches.
#pragma once

#include <array>
#include <cstdint>

#include "compiler/form1.h"

// Calls `punto(x, y)` for every point from 2 to the end of the last stretch,
// in order. Each point is the last one plus the last step (dx, dy), that step
// turned on a curve to (dx + k dy, dy - k dx). The order of evaluation is the
// plan's definition: every point comes out bit for bit as the packed file
// must hold it. The step is not renormalised.
template <typename F>
void percorri_piano(const piano_linea& p, F&& punto) {
  // Points 0 and 1: the track starts at the origin heading north.
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 1.0;
  int64_t j = 2;
  for (const tratto_linea& t : p.tratti) {
    const double k = t.k;
    for (; j <= t.fino; ++j) {
      const double dx = x1 - x0;
      const double dy = y1 - y0;
      double x, y;
      if (t.curva) {
        x = x1 + (dx + k * dy);
        y = y1 + (dy - k * dx);
      } else {
        x = x1 + dx;
        y = y1 + dy;
      }
      punto(x, y);
      x0 = x1, y0 = y1, x1 = x, y1 = y;
    }
  }
}

// The last point the stretches reach (1 when there are none).
inline int64_t ultimo_punto(const piano_linea& p) { return p.tratti.empty() ? 1 : p.tratti.back().fino; }

// Every point of the plan with its tag, as the packed file holds them:
// [0] x, [1] y, `p.punti` points each. For the tests and the tools; the
// build itself never holds them.
std::array<asse_linea, 2> punti_linea(const piano_linea& p);
