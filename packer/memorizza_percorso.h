// The last stage of the build: compile, finish the route, stamp and pack.
#pragma once

#include <cstdint>

#include "compiler/form1.h"

// Clears the station table and the error, compiles both sources, completes
// the approaches, makes the packing checks (1250, 1251: shown through
// `f.mostra_errore`, kept in `f.errore_imballaggio`, nothing packed), stamps
// the markers and codes and writes the packed files: the line plan only when
// `j` is non-zero, then the station table and the route grid. When the
// compiler gave up before sizing the grid nothing is finished or packed.
// Throws `errore_file` when a file cannot be written.
void memorizza_percorso(Form1& f, int32_t j);
