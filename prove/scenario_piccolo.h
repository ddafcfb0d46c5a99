// The small scenario that the tests share: a 20 km line with curves,
// gradients, a mountain span, a maximum-speed board and a kilometre board; a
// train with two stations, a slow order and a signal. It packs without an
// error under any name. Lines end with CR LF, as the writers write them.
#pragma once

#include <string>
#include <string_view>

#include "prove/sorgenti.h"

namespace scenario_piccolo_dettagli {

// The line after its general section.
inline constexpr std::string_view modello_sorgente_linea =
    "[curve]\r\n"
    "curvad1,  1000,  600\r\n"
    "curvas4,  3000,  200\r\n"
    "[pendenze]\r\n"
    "pendenza,  2000,   6\r\n"
    "pendenza,  4000,   -3\r\n"
    "[montagne]\r\n"
    "montagna,   10000,  11000,  11\r\n"
    "[cartelli]\r\n"
    "indicatori_vmax,  1050,  140,  160,  160,  0,  140,  160,  160,  0\r\n"
    "{LINEA}"
    "[indicazioni]\r\n"
    "cartello_indicatore,  9950,   (Km 9+996)\r\n"
    "[fine]\r\n";

inline constexpr std::string_view modello_sorgente_treno =
    "[generale]\r\n"
    "numero vetture,    14\r\n"
    "percentuale massa frenata,    130\r\n"
    "sabbia,    200\r\n"
    "orologio,    17              12            30 \r\n"
    "[aderenze]\r\n"
    "aderenza,   0,    100\r\n"
    "[vel_limite]\r\n"
    "velocita,    0,   160\r\n"
    "velocita,    6000,   120\r\n"
    "[stazioni]\r\n"
    "stazione,       0,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,13, 0, CORVANA\r\n"
    "stazione,    5000,  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,20, 0, BORGO\r\n"
    "[rallentamenti]\r\n"
    "rallentamento,   8000,    60,  600, 0,  1,  60\r\n"
    "[segnali]\r\n"
    "segnale,    2000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n"
    "{TRENO}"
    "[fine]\r\n";


inline std::string con_righe(std::string_view modello, std::string_view segnaposto, std::string_view righe) {
  std::string testo(modello);
  return testo.replace(testo.find(segnaposto), segnaposto.size(), righe);
}

}  // namespace scenario_piccolo_dettagli

// The line source, with `righe` (CR LF lines) after its maximum-speed board.
inline std::string linea_piccola(std::string_view righe = "") {
  using namespace scenario_piccolo_dettagli;
  return con_crlf(sezione_generale(20000, 19000)) + con_righe(modello_sorgente_linea, "{LINEA}", righe);
}

// The train source, with `righe` (CR LF lines) after its signal.
inline std::string treno_piccolo(std::string_view righe = "") {
  using namespace scenario_piccolo_dettagli;
  return con_righe(modello_sorgente_treno, "{TRENO}", righe);
}
