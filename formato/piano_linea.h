// The points of the line plan, worked out from its stretches: the plan's own
// arithmetic, which the compiler lays and the packer writes.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "formato/scenario.h"

// A walk along the plan's points, from point 2 on, that can stop and go on.
struct cammino_piano {
  const piano_linea& p;
  std::size_t tratto = 0;  // the stretch of the next point
  int64_t j = 2;           // the next point
  // Points j - 2 and j - 1; points 0 and 1: the track starts at the origin heading north.
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 1.0;
};

// Works out up to `quanti` more points of the walk, calling `punto(x, y)` for
// each in order, and returns how many there were (0 at the end of the last
// stretch). Each point is the last one plus the last step (dx, dy), that step
// turned on a curve to (dx + k dy, dy - k dx). The order of evaluation is the
// plan's definition: every point comes out bit for bit as the packed file
// must hold it. The step is not renormalised. `punto` should make no calls:
// the walk then keeps its values in registers.
template <typename F>
int64_t avanza(cammino_piano& c, int64_t quanti, F&& punto) {
  int64_t fatti = 0;
  // Held in locals: the caller's writes may not be taken to touch them.
  double x0 = c.x0, y0 = c.y0, x1 = c.x1, y1 = c.y1;
  int64_t j = c.j;
  while (fatti < quanti && c.tratto < c.p.tratti.size()) {
    const tratto_linea& t = c.p.tratti[c.tratto];
    // The stretch's end, or the last point still asked for (no overflow for the largest count).
    const int64_t fino = quanti - fatti > t.fino - j ? t.fino : j + (quanti - fatti) - 1;
    const double k = t.k;
    const int64_t inizio = j;
    if (t.curva) {
      for (; j <= fino; ++j) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double x = x1 + (dx + k * dy), y = y1 + (dy - k * dx);
        punto(x, y);
        x0 = x1, y0 = y1, x1 = x, y1 = y;
      }
    } else {
      for (; j <= fino; ++j) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double x = x1 + dx, y = y1 + dy;
        punto(x, y);
        x0 = x1, y0 = y1, x1 = x, y1 = y;
      }
    }
    if (j > inizio) fatti += j - inizio;
    if (j > t.fino) ++c.tratto;
  }
  c.x0 = x0, c.y0 = y0, c.x1 = x1, c.y1 = y1;
  c.j = j;
  return fatti;
}

// Calls `punto(x, y)` for every point from 2 to the end of the last stretch, in order.
template <typename F>
void percorri_piano(const piano_linea& p, F&& punto) {
  cammino_piano c{p};
  avanza(c, std::numeric_limits<int64_t>::max(), punto);
}

// The last point the stretches reach (1 when there are none).
inline int64_t ultimo_punto(const piano_linea& p) { return p.tratti.empty() ? 1 : p.tratti.back().fino; }

// Every point of the plan with its tag, as the packed file holds them:
// [0] x, [1] y, `p.punti` points each (a plan read back: the points it was
// read with). For the tests and the tools; the build itself never holds them.
std::array<asse_linea, 2> punti_linea(const piano_linea& p);
