// The line's feature recorders: kilometre references, mountain spans and
// maximum-speed boards. They touch no file and show nothing.
#pragma once

#include <cstdint>

#include "compiler/compilazione.h"

// Orders the kilometre-reference triples of slots 81, 82, 83: the largest
// first value to 81, the smallest to 83 (all nine values cleared when the
// largest is shared); with all first values 0 the second values decide. Then a
// triple whose third value is 1 has 100 added to its second value (a sum that
// overflows takes the common failure exit).
void progressive_ordina(compilazione& f);

// Lays a mountain span from `inizio` to `fine` metres: `montagna` = type on
// cells inizio/50 to fine/50 - 1; a type above 10 is marked (type - 10) and
// puts a mountain marker (`tipo` 11) on every 4th free cell; a span within
// 150 m of the previous one gets type 3. The span is counted and stored.
// Refuses (false, code recorded, nothing changed) an 81st span or cells
// outside the grid; the caller adds the position.
bool memo_montagna(compilazione& f, int32_t inizio, int32_t fine, int32_t tipo);

// Lays a maximum-speed board on cell posizione/50 + 1: `tipo` 6, dato1..3 =
// 20 * speed of side s + speed of side d / 5, dato4 = 10 * strisces + strisced.
// Refuses (false) with code 21 when the cell holds another point feature, or
// with its own code when the cell lies before the grid; the caller adds the
// position. A value that does not fit 16 bits takes the common failure exit.
bool memo_indicatori_v_max(compilazione& f, int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs,
                           int32_t strisces, int32_t vad, int32_t vbd, int32_t vcd,
                           int32_t strisced);
