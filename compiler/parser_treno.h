// The second half of the compiler: the train source.
#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/compilazione.h"

// Reads the train source `testo` into `f`: header values, speed limits and
// adhesion along the grid, stations (slots 1 upward, below
// `prossimo_cartello`, the next free kilometre-board slot), signals, slow
// orders and speed-reduction points; then lays the last speed and adhesion
// to cell N - 3 and checks the kilometre references. Errors are recorded in
// `f`; a failed read or conversion throws `fallimento_comune`.
void leggi_treno(compilazione& f, std::string_view testo, int32_t prossimo_cartello);
