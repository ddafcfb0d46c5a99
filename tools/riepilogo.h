// The summary at the end of a pack or check: how many rows of each kind the
// compiler read, the route's length and the stops, so that a row the compiler
// dropped shows at once (9 signals read where 10 were written).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "porta/compila.h"
#include "tools/verdetto.h"

struct fermata_riepilogo {
  std::string nome;
  int32_t posizione = 0;  // m
  int32_t ora_s = 0;      // the time as written, seconds from midnight
};

struct riepilogo {
  // Every kind of row, in the order of the kinds (the line's, then the
  // train's), with how many rows of it were read.
  std::vector<std::pair<std::string_view, int>> righe;
  int32_t lunghezza_m = 0;  // as the route length row gave it; 0 when none was read
  std::vector<fermata_riepilogo> fermate;
  std::size_t errori = 0;  // errors, the refusal of a packing check included
  std::size_t avvisi = 0;  // warnings (notes are not counted)
};

// A route length as the reports give it: "358.0 km", under 1 km in metres
// ("48 m"), so a length written in kilometres does not read as "0.0 km".
std::string lunghezza_percorso_testo(int32_t metri);

// The summary of the build `c`, with the errors and warnings of `v`.
riepilogo riassumi(const esito_compilazione& c, const verdetto& v);

// Two lines for a terminal:
//   rows read: 1 lunghezza percorso, 3 progressiva chilometrica, ..., 8 stazione
//   route 358.0 km, 8 stops: CORVANA 17:00, ..., TELMISA 19:58; 0 errors, 1 warning
// Kinds of which no row was read are left out of the first.
std::string testo_riepilogo(const riepilogo& r);

// The object "riepilogo" of the JSON output: righe (every kind by its
// keyword, 0 included), lunghezza_percorso, fermate (nome, posizione, ora as
// "HH:MM:SS"), errori, avvisi.
nlohmann::ordered_json json_riepilogo(const riepilogo& r);

// A time of day as written: "17:13", "17:13:30" when it has seconds; `completa`
// always gives the seconds.
std::string ora_del_giorno(int32_t secondi, bool completa = false);
