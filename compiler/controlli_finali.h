// The checks made once both sources are read, over the rows as a whole:
// stop times along the run, slow orders against each other, the route's end
// and the line limits, names that do not fit their length field.
#pragma once

#include "compiler/compilazione.h"

// Adds to `f.registro.avvisi` what the rows logged in `f.registro.righe_lette` and the grid
// laid from them show: 321, 331 to 336, 352. Changes nothing else.
void controlla_scenario(compilazione& f);
