// The picture's sheet: its width, the profiles' axis, the type sizes and the
// tolerance that the lines are thinned to.
#pragma once

#include <algorithm>

namespace disegno {

constexpr double larghezza_foglio = 1200;
constexpr double asse_da = 80;                       // left end of the profiles' axis
constexpr double asse_a = larghezza_foglio - 40;     // right end
constexpr double tolleranza_px = 0.25;               // a quarter of a pixel: invisible
// A plan point farther than this from the origin cannot come from a real line
// (a million metres of the sharpest curve stays far inside); such a point is
// left out rather than let it squash the drawing.
constexpr double coordinata_massima = 1e9;

// `v` held within [da, a]. With no room (a below da) it is `da`, where
// std::clamp would be undefined: a name wider than the sheet starts at the
// margin, a route of negative length draws at its start.
template <class T>
T entro(T v, T da, T a) { return std::max(da, std::min(v, a)); }

constexpr double corpo_nomi = 11;     // font size of station names
constexpr double corpo_cartelli = 9;  // font size of kilometre-board texts

}  // namespace disegno
