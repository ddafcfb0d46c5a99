// The scenario compiler's entry: the line source, then the train source, into
// the build state. It works on their texts alone; where they come from is the
// caller's business.
#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/form1.h"

// What the caller could make of a source before the compile.
enum class stato_sorgente : uint8_t {
  letta,        // `testo` holds it whole
  mancante,     // there is no such source
  illeggibile,  // it is there but could not be read
};

// One source as the compiler is given it. `etichetta` names it in the errors
// recorded while it is read (the author's path, say); it is never opened.
struct testo_sorgente {
  std::string_view etichetta;
  std::string_view testo;
  stato_sorgente stato = stato_sorgente::letta;
};

// Begins a build of `f`, whose scenario name and train number are set: clears
// what an earlier build left (the station table, the grid, the plan, the
// error log and code; `posizione_errore` stays as it was), then reads the line
// source and, unless the line half ends with its own error, the train source
// into the route grid, the station table and, when `salva_linea` is non-zero,
// the line plan. A missing line source is error 101; a source that cannot be
// read, or a failed read or conversion in either, takes the common failure
// exit (error 25). Errors are recorded in `f`; nothing is thrown.
//
// Returns false when the line half ended with its own error, so that the
// train source was never taken up (the one-shot program leaves it where its
// writer put it); true when the compile got to the train source or took the
// common failure exit, which is done with both.
bool memorizza_dati(Form1& f, int32_t salva_linea, const testo_sorgente& linea, const testo_sorgente& treno);
