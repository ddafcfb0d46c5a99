// The fastest run in the picture: its speed over the line's limits, and its
// time against distance beside the timetable's stops, so that a section
// that cannot be kept shows at a glance.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "analisi/marcia.h"
#include "tools/disegno/disegno.h"
#include "tools/disegno/pannello.h"
#include "tools/disegno/svg.h"

namespace disegno {

// The curves of a packed line plan: its stretches as the compiler laid them,
// worked back from the points (each curve's k to a millionth of itself).
piano_linea curve_dal_piano(const std::array<asse_linea, 2>& griglia);

// The fastest run of the packed scenario, worked out from its route grid,
// station table and line plan as `scenario timing` works it out from the
// compiled ones (with no packed plan, with no curves).
marcia marcia_imballata(const scenario& s, const opzioni_marcia& o);

// For each section of `m`, the span [first, last) of `m.profilo` that its run takes.
std::vector<std::pair<std::size_t, std::size_t>> tratti_sezioni(const marcia& m);

// The points `da` to `a` (not included) of a run's profile, with points put
// between them where the speed changes: v² runs straight in the distance, so
// the speed and the time bend between two points of the profile, and a
// drawing through the profile's points alone would cut the curves short.
// Each point added lies on the run, its time worked out exactly.
std::vector<punto_marcia> campiona(const std::vector<punto_marcia>& profilo, std::size_t da, std::size_t a);

// The run's highest speed, km/h (0 with no run).
double velocita_massima(const marcia& m);

// The speed of the run over the speed panel `p`, one line per section.
void disegna_velocita_marcia(svg& o, const marcia& m, const asse_km& a, const pannello& p, double lunghezza);

// How tall the time-distance panel stands.
inline constexpr double altezza_orario = 260;

// The time-distance panel from `y0` to `y1`: time of day downward, route
// kilometres across; the timetable's running (dashed) with its departures
// (dots) and arrivals (rings), and the fastest run of each section from its
// departure, red over a shaded band with its margin where it cannot be kept.
void disegna_orario(svg& o, const marcia& m, const asse_km& a, double y0, double y1, double lunghezza);

}  // namespace disegno
