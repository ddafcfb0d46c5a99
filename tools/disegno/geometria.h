// The geometry of the picture: points, the thinning of a line to what a
// drawing needs, and round steps for the axes.
#pragma once

#include <vector>

struct punto {
  double x = 0;
  double y = 0;
};

// The points of `linea` that a drawing needs: no point dropped lies farther
// than `tolleranza` from the line through the points kept (a thinning of
// close points, then Douglas-Peucker). The first and last points are always kept.
std::vector<punto> semplifica_linea(const std::vector<punto>& linea, double tolleranza);

namespace disegno {

// A round step (1, 2 or 5 times a power of ten) that cuts `ampiezza` into
// about `tacche` parts.
double passo_tondo(double ampiezza, double tacche);

}  // namespace disegno
