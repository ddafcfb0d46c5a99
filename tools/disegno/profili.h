// The profiles below the plan, on one axis of route kilometres: the height
// worked out from the gradients, the gradient, the line speed limit with the
// slow orders, the speed-reduction points and the fastest run's speed, the
// fastest run's time against distance beside the timetable's, and the stations.
#pragma once

#include "analisi/marcia.h"
#include "tools/disegno/lettura.h"
#include "tools/disegno/svg.h"

namespace disegno {

// Draws the profiles from `alto` down; returns the height they take.
double disegna_profili(svg& o, const scenario& s, const lettura& l, const marcia& m, double alto);

}  // namespace disegno
