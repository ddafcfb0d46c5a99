// The first half of the compiler: the line source.
#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/compilazione.h"

// What the line half hands over to the train half.
struct esito_linea {
  bool prosegui = false;        // false: an error ended the compile; the train source is not read
  int32_t prossimo_cartello = slot_cartelli;  // next free slot for a kilometre-board text
};

// Reads the line source `testo` into `f`: the general section into the header
// slots (sizing the route grid and, when `salva_linea` is set, the plan), then
// curves, gradients, mountain spans, maximum-speed boards and kilometre
// boards. Errors are recorded in `f`; a failed read throws `fallimento_comune`.
// After a range error (15) the half still finishes and `prosegui` is true.
esito_linea leggi_linea(compilazione& f, std::string_view testo);
