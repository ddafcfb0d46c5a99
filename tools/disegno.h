// A picture of a packed scenario: the track plan in true proportions and,
// below it, the height, gradient and speed profiles on one axis of route
// kilometres. Drawn from the three packed files alone, as the simulator reads
// them, into one SVG document written by hand.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "formato/record.h"
#include "formato/vocabolario.h"

// The three packed files, decoded. `griglia` is empty when the scenario was
// packed without its line plan; the picture then has no track plan.
struct scenario_imballato {
  std::string nome_scenario;  // used when the station table names none
  std::string numero_treno;
  std::vector<cella_percorso> celle;
  std::array<record_stazione, numero_slot> tabella;
  std::array<asse_linea, 2> griglia;
};

// Coordinate `asse` (0 x, 1 y) of the plan point `metro` metres from the
// start, in metres; nothing when the point lies past the plan or was never
// computed. The one place that knows how the plan is held in memory.
std::optional<double> punto_piano(const std::array<asse_linea, 2>& griglia, int asse,
                                  std::size_t metro);

struct punto {
  double x = 0;
  double y = 0;
};

// The points of `linea` that a drawing needs: no point dropped lies farther
// than `tolleranza` from the line through the points kept (a thinning of
// close points, then Douglas-Peucker). The first and last points are always kept.
std::vector<punto> semplifica_linea(const std::vector<punto>& linea, double tolleranza);

// The whole SVG document, UTF-8 (the packed names are single-byte text, read
// as Latin-1).
std::string disegna_scenario(const scenario_imballato& s);
