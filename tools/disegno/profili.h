// The profiles below the plan, on one axis of route kilometres: the height
// worked out from the gradients, the gradient, the line speed limit with the
// slow orders and the speed-reduction points, and the stations.
#pragma once

#include "tools/disegno/lettura.h"
#include "tools/disegno/svg.h"

namespace disegno {

// Draws the profiles from `alto` down; returns the height they take.
double disegna_profili(svg& o, const scenario_imballato& s, const lettura& l, double alto);

}  // namespace disegno
