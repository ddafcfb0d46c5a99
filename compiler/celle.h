// Cells of the route grid as the compiler addresses them.
#pragma once

#include <cstdint>

#include "compiler/compilazione.h"
#include "formato/numeri.h"

// The cell index of a position already divided by 50 (and moved by the
// feature's offset), rounded half to even: 1025 / 50 + 1 = 21.5 gives 22.
inline int64_t cella_di(double x) { return static_cast<int64_t>(arrotonda(x)); }

// The highest index N of the route grid.
inline int64_t ultima_cella(const compilazione& f) { return static_cast<int64_t>(f.scenario.percorso.size()) - 1; }

// True when cell `c` exists: every write is checked against this first.
inline bool nel_percorso(const compilazione& f, int64_t c) { return c >= 0 && c <= ultima_cella(f); }

// A free cell (empty, or a mountain marker) takes a point feature.
inline bool libera(const cella_percorso& c) { return tipo_libero(c.tipo); }

// The range check of a row's position: (p + margine) / 50, as a real number,
// must not exceed N. The margin is 100 m for the line's rows, signals, slow
// orders and speed rows, 800 m for a station.
inline bool oltre_percorso(const compilazione& f, int32_t p, int32_t margine) {
  return (static_cast<double>(p) + margine) / 50.0 > static_cast<double>(ultima_cella(f));
}
