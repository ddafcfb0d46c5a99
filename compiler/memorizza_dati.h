// The scenario compiler's entry: the line source, then the train source, into
// the build state. It works on their texts alone; where they come from is the
// caller's business.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/compilazione.h"

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

// What the compiler makes of the two sources: the scenario they lay and what
// it tells the author.
struct scenario_compilato {
  ::scenario scenario;
  ::registro registro;
  // False when the line half ended with its own error, so that the train
  // source was never taken up (the one-shot program leaves it where its
  // writer put it); true when the compile got to the train source or took the
  // common failure exit, which is done with both.
  bool treno_preso = true;
};

// Compiles a scenario named `nome_scenario`, train `numero_treno`: reads the
// line source and, unless the line half ends with its own error, the train
// source into the route grid, the station table and, when `salva_linea` is
// non-zero, the line plan. A missing line source is error 101; a source that
// cannot be read, or a failed read or conversion in either, takes the common
// failure exit (error 25). Errors are recorded in the register; nothing is
// thrown.
scenario_compilato memorizza_dati(std::string nome_scenario, std::string numero_treno, int32_t salva_linea,
                                  const testo_sorgente& linea, const testo_sorgente& treno);
