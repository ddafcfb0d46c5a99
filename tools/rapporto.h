// What a pack or check tells the author: diagnostics, the JSON object, the exit status.
#pragma once

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/compila.h"

// One line per recorded error, in the order recorded, then the packing
// refusal, then one per finding, named by its weight:
//   FILE:LINE:COLUMN: error CODE: DESCRIPTION (at POSITION m)
//   FILE:LINE:COLUMN: error|warning|note CODE: TEXT (at POSITION m)
// FILE being the source as the author named it, the location left out (and
// "scenario" in its place) where there is none, the position where there is one. An error's detail, where the
// build records one, follows its description after "; ". With `con_sorgente`,
// each line that has a place is followed by its source line and a caret.
void scrivi_diagnostica(const esito_comando& e, bool con_sorgente, std::ostream& err);

// The JSON object of a pack or check: codice_errore, posizione_errore,
// errori, avvisi (each with its weight, "gravita"), errore, dettaglio_errore,
// scenario, treno, files, riepilogo.
nlohmann::ordered_json esito_json(const esito_comando& e);
