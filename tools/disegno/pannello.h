// The panels below the plan: one axis of route kilometres that they all
// share, and each panel's frame with its grid of values.
#pragma once

#include <string>

#include "tools/disegno/foglio.h"
#include "tools/disegno/svg.h"

namespace disegno {

// The axis of route kilometres that every panel shares.
struct asse_km {
  double lunghezza = 1;
  double x(double metri) const { return asse_da + metri / lunghezza * (asse_a - asse_da); }
};

// A panel: from `y0` down to `y1`, its values from `v_min` at the foot to
// `v_max` at the head; or, `capovolto`, from `v_min` at the head down (time,
// as a timetable reads).
struct pannello {
  double y0 = 0, y1 = 0, v_min = 0, v_max = 1;
  bool capovolto = false;
  double y(double v) const {
    const double quota = (v - v_min) / (v_max - v_min);
    return capovolto ? y0 + quota * (y1 - y0) : y1 - quota * (y1 - y0);
  }
};

// A panel's frame, its value grid every `passo_valori` (each value labelled
// by `etichetta`, plain numbers when none), its kilometre grid and its title.
void cornice_pannello(svg& o, const pannello& p, const asse_km& a, const char* titolo, double passo_valori,
                      std::string (*etichetta)(double) = nullptr);

// The path data of an arrow at height `y` from the axis's end on past it:
// what it marks lies past the route's end, off the axis.
void freccia_oltre(svg& d, double y);

}  // namespace disegno
