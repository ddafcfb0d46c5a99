// Placing labels beside the points they name: off the track and off each
// other, with a leader line when a label stands far from its point.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/disegno/geometria.h"

namespace disegno {

// A label's box on the sheet.
struct riquadro {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool tocca(const riquadro& r) const { return x0 < r.x1 && r.x0 < x1 && y0 < r.y1 && r.y0 < y1; }
};

// Where the track runs on the sheet, in squares of 4 px: labels keep off it.
struct mappa_traccia {
  static constexpr double lato = 4;
  int colonne = 0, righe = 0;
  std::vector<uint8_t> piena;

  mappa_traccia(double w, double h)
      : colonne(static_cast<int>(w / lato) + 1), righe(static_cast<int>(h / lato) + 1),
        piena(static_cast<std::size_t>(colonne) * static_cast<std::size_t>(righe), 0) {}

  void segna(punto p) {
    const int c = static_cast<int>(p.x / lato), r = static_cast<int>(p.y / lato);
    if (c >= 0 && c < colonne && r >= 0 && r < righe) piena[static_cast<std::size_t>(r * colonne + c)] = 1;
  }
  // Every square the line from point to point runs through.
  void segna_linea(const std::vector<punto>& linea);
  // How many squares of `q` the track runs through.
  int conta(const riquadro& q) const;
};

// The labels placed so far, the track they keep off and the sheet they keep on.
struct posatore {
  mappa_traccia traccia;
  riquadro limiti;
  std::vector<riquadro> presi;
  std::string richiami;  // leader lines from a point to a label set far from it

  // The box of a label of `w` x `h` beside the point `p`: the place that
  // crosses no other label and the least track, nearest first. Nothing when
  // every place crosses a label and the label may be left out.
  std::optional<riquadro> posa(punto p, double w, double h, bool sempre);
};

}  // namespace disegno
