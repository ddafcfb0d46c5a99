// A small timetable for the fastest run's tests: three stops on a level
// line, one section that a train can keep and one that it cannot.
#pragma once

#include <string>

#include "prove/sorgenti.h"

// A level line of 20 km, 90 km/h all along, with three stops and a station
// passed between the first two:
//   A at 0 m        departs 08:00:00
//   B at 5000 m     passed
//   C at 10000 m    departs 08:10:00
//   D at 20000 m    arrives 08:17:00
// A train that accelerates and brakes at 0.5 m/s² reaches 25 m/s in 625 m and
// 50 s, so each 10 km section takes 100 + 8750 / 25 = 450 s (7:30), and B is
// passed 50 + 4375 / 25 = 225 s after A. With a dwell of 60 s the timetable
// gives A - C 540 s (margin +90 s, +20 %) and C - D 420 s (-30 s: it cannot
// be kept); B's scheduled passing is 225 × 540 / 450 = 270 s after A,
// 08:04:30, which rounds half to even to 08:04. `righe` go after D's row;
// `arrivo` is D's time, "HOURS,MINUTES".
inline std::string treno_tre_fermate(const std::string& righe = "", const std::string& arrivo = "8,17") {
  return con_crlf(treno_prova(
      "numero vetture,    10\n"
      "percentuale massa frenata,    100\n"
      "velocita,    0,   90\n"
      "stazione,       0,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  8,0, 0, A\n"
      "stazione,    5000,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  0,0, 0, B\n"
      "stazione,   10000,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  8,10, 0, C\n"
      "stazione,   20000,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  " + arrivo + ", 0, D\n" + righe));
}

// Its line: 20 km, no curve, no gradient.
inline std::string linea_tre_fermate() { return con_crlf(linea_prova(20000)); }
