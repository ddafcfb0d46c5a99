// A scenario of any route length for measuring the compiler and the packer:
// a line source and a train source with every kind of row, about as dense per
// kilometre as the built-in Corvana - Telmisa line and train 739.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "porta/compila.h"

struct scenario_generato {
  std::string linea;  // the line source, CR LF lines
  std::string treno;  // the train source
};

// The two sources of a route `lunghezza` metres long (10000 to 1000000).
// The same length always gives the same bytes. The rows fill 10 km blocks
// with curves, gradients, boards, speed limits, signals and stations placed
// so that no two point features share a cell: the scenario compiles with no
// error and no warning, and its timetable (a stop at every fifth station, at
// 80 km/h on average) can be kept. Stations and kilometre-board texts share the station table (79
// slots), so past about 500 km their number stops growing.
scenario_generato genera_scenario(int32_t lunghezza);

// `s` compiled from memory through the core's door as scenario Generato,
// train 1, with the line plan when `salva_linea`, finished for packing; the
// fastest run is the caller's.
std::unique_ptr<esito_compilazione> compila_generato(const scenario_generato& s, int32_t salva_linea = 1);
