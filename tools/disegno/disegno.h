// A picture of a packed scenario: the track plan in true proportions and,
// below it, the height, gradient and speed profiles, and the fastest run's
// time against distance beside the timetable's, on one axis of route
// kilometres. Drawn from the three packed files alone, as the simulator reads
// them, into one SVG document written by hand.
//
// The rooms of the picture, each its own file here: the sheet's sizes
// (foglio.h), the SVG writer (svg), the geometry (geometria), reading the
// packed scenario into what is drawn (lettura), placing labels (etichette),
// and the panels: the track plan (piano), the profiles (profili) on their
// shared axis (pannello), the fastest run in them (orario), the legend
// (legenda).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analisi/marcia.h"
#include "formato/record.h"
#include "formato/scenario.h"
#include "formato/vocabolario.h"
#include "tools/disegno/geometria.h"

// Coordinate `asse` (0 x, 1 y) of the plan point `metro` metres from the
// start, in metres; nothing when the point lies past the plan or was never
// computed. The one place that knows how the plan is held in memory.
std::optional<double> punto_piano(const std::array<asse_linea, 2>& griglia, int asse,
                                  std::size_t metro);

// The whole SVG document of a scenario read back from its packed files (its
// line plan, when it was packed, as read: `griglia_linea.letti`), UTF-8 (the
// packed names are single-byte text, read as Windows-1252); the fastest run
// with the train model's values `o` where given. The station table's names
// come first; the scenario's own identity stands in where it names none.
std::string disegna_scenario(const scenario& s, const opzioni_marcia& o = {});
