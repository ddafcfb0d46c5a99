// The track plan: north up, both axes at one scale, with the route's
// features on the track and their labels beside it.
#pragma once

#include "tools/disegno/foglio.h"
#include "tools/disegno/lettura.h"
#include "tools/disegno/svg.h"

namespace disegno {

// What the plan left: its height, and an empty corner on its right where the
// legend may stand (from `libero_x` to the panel's edge, `libero_y0` to `libero_y1`).
struct spazio_piano {
  double altezza = 0;
  double libero_x = larghezza_foglio, libero_y0 = 0, libero_y1 = 0;
};

// Draws the track plan from `alto` down; what it left, for the legend.
spazio_piano disegna_piano(svg& o, const scenario& s, const lettura& l, double alto);

}  // namespace disegno
