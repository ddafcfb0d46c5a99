// The compiled scenario: what the three packed files hold, as one value. The
// compiler fills it, the packer finishes it and encodes it, the decoders read
// it back from the packed files, and the analysis and the documents read it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formato/record.h"
#include "formato/vocabolario.h"

// A stretch of the line plan: the points after the previous stretch up to
// `fino`, each one metre on from the last step (dx, dy), that step turned by
// `k` on a curve.
struct tratto_linea {
  int64_t fino = 0;
  double k = 0.0;
  bool curva = false;

  bool operator==(const tratto_linea&) const = default;
};

// The line plan. As the line source lays it: its size, its two first points
// and its stretches; every point follows from these by the plan's own
// arithmetic (formato/piano_linea.h), so megabytes of points are never held:
// they are worked out again, bit for bit, where they are written. As read
// back from a packed file: every point with its tag, in `letti`.
struct piano_linea {
  int64_t punti = 0;       // points 0..punti - 1 (L + 7001 once sized), none when not built
  bool origine = false;    // points 0 and 1 are set: (0, 0) and (0, 1), 16-bit integers
  std::vector<tratto_linea> tratti;  // from point 2 on, in order; later points are empty
  // The points of a plan read back from its packed file ([0] x, [1] y),
  // `punti` each; empty for a plan the line source laid.
  std::array<asse_linea, 2> letti;
};

// True when the scenario has a line plan to pack: it was asked for and sized.
inline bool ha_piano(const piano_linea& p) { return p.punti > 0; }

struct scenario {
  // Its identity: the stem of every file name.
  std::string nome_scenario;
  std::string numero_treno;

  // Route grid, cells 0..N, N = (L + 7000) / 50 rounded half to even.
  // Empty until the line source gives the route length.
  std::vector<cella_percorso> percorso;

  std::array<record_stazione, numero_slot> tabella_stazioni;

  // Line plan, one point per metre 0..L + 7000 (the packed file stores all x,
  // then all y). Empty unless it was asked for.
  piano_linea griglia_linea;
};

// True when the compiler sized the route grid: there is a scenario to finish and pack.
inline bool ha_percorso(const scenario& s) { return s.percorso.size() >= 2; }
