// The train sheet's times from the fastest run: what the timetable, with each
// section's margin spread over it, has the train do at every station.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "analisi/marcia.h"
#include "formato/scenario.h"
#include "documents/deriva_documenti.h"

// The Rec cell's bounds: four characters, one decimal.
inline constexpr double recupero_massimo_min = 99.5;
inline constexpr double recupero_minimo_min = -9.5;

// A section's margin as the Rec cell shows it: minutes to the nearest half
// minute (half to even counted in half minutes), within the cell's bounds. A
// negative margin stays negative: the section cannot be kept by the fastest run.
double recupero_in_minuti(double margine_s);

// The times of the stations of `f` in route order (as `stazioni_percorso`
// lists them) from its fastest run `m`:
// - the first stop: its departure, its own time, or `partenza` (seconds of the
//   day) when the sheet shows another; then the first section's passing times
//   and margin count from that departure, as the timetable has it;
// - every other stop: its departure, its own time, and its arrival its
//   section's dwell before it (the model's, or the one given for the stop);
//   the last stop (the destination) its arrival, its own time;
// - a station passed: the scheduled passing time, to the minute;
// - on the row of the stop that ends each section, the section's margin;
// - a station outside the run (before the first stop or after the last): none.
// Times are seconds of the day; a run over midnight gives the times within the next day.
std::vector<orari_stazione> orari_da_marcia(const scenario& f, const marcia& m,
                                            std::optional<int32_t> partenza = std::nullopt);

// The three documents of `f` with the times of its fastest run `m`, the top
// speed of the heading and the dwell from the run's train (a top speed given
// in `o` stays), the rest of `o` as given.
documenti_derivati documenti_da_marcia(const scenario& f, const marcia& m, std::optional<int32_t> partenza,
                                       opzioni_documenti o);
