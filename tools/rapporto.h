// What a pack or check tells the author: diagnostics, the JSON object, the exit status.
#pragma once

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/compila.h"

// 0: no error recorded; 1: the build recorded an error; 3: a packing check
// (1250, 1251) refused the scenario.
int stato_uscita(const esito_compilazione& c);
// The same, and 1 for a warning when `avvisi_come_errori`.
int stato_uscita(const esito_comando& e, bool avvisi_come_errori);

// One line per recorded error, in the order recorded, then the packing
// refusal, then one per warning:
//   FILE:LINE:COLUMN: error CODE: DESCRIPTION (at POSITION m)
//   FILE:LINE:COLUMN: warning CODE: TEXT (at POSITION m)
// FILE being the source as the author named it, the location left out (and
// "scenario" in its place) where there is none, the position where there is one. An error's detail, where the
// build records one, follows its description after "; ". With `con_sorgente`,
// each line that has a place is followed by its source line and a caret.
void scrivi_diagnostica(const esito_comando& e, bool con_sorgente, std::ostream& err);

// The JSON object of a pack or check: codice_errore, posizione_errore,
// errori, avvisi, errore, files, riepilogo.
nlohmann::ordered_json esito_json(const esito_comando& e);
