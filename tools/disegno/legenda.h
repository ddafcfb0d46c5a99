// The legend: a sample of every mark of the picture and its meaning.
#pragma once

#include "tools/disegno/svg.h"

namespace disegno {

// Draws the legend from (x0, alto) in columns across `larghezza`, in rows;
// returns the height it takes. With `disegna` false nothing is drawn: the
// height alone, to see where it fits.
double disegna_legenda(svg& o, double x0, double alto, double larghezza, bool disegna = true);

}  // namespace disegno
