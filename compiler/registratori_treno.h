// The train's trackside recorders: signals and slow orders on the route grid.
// Each refuses a row whose own cells are taken, recording its code; the
// caller then adds the row's position and stops reading.
#pragma once

#include <cstdint>

#include "compiler/compilazione.h"

// Lays a signal on cell i = posizione/50 + 1 (`tipo` 1, the two sides' codes
// packed in dato1..dato4, `tempo_segnale`) and the approach codes
// 30*sx + 10*dx + 1..4 on cells i-2, i-4, i-6, i-8. A `tempo` of 1 to 100 is
// raised to 101 in the caller's variable. Refuses (false, grid unchanged) with
// 16 when cell i is occupied, or with its own code when a cell it would write
// lies outside the grid (a signal before 325 m).
bool memo_segnale(compilazione& f, int32_t posizione, int32_t sx, int32_t s1, int32_t s2, int32_t s3,
                  int32_t rapp, int32_t dx, int32_t d1, int32_t d2, int32_t d3, int32_t& tempo);

// Lays a slow order from `x` over `l` metres at speed `v`: its end (tipo 2),
// start (3), warning board 1200 m before (4, only when x > 1500) and, when
// `f_ta` is set, four countdown cells before the board (5). Refuses with 17,
// 18, 19 (grid unchanged) when the board, start or end cell is occupied, with
// 20 when a countdown cell is (board, start and end stay laid), and with its
// own code, before laying anything, when a cell lies outside the grid.
bool memo_rallentamento(compilazione& f, int32_t x, int32_t v, int32_t l, int32_t f_tt, int32_t f_ta,
                        int32_t d_v);
