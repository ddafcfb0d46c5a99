// What a pack or check tells the author: diagnostics, the JSON object, the exit status.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "compiler/form1.h"

// 0: no error recorded; 1: the build recorded an error; 3: a packing check
// (1250, 1251) refused the scenario.
int stato_uscita(const Form1& f);

// One line per recorded error, in the order recorded, then the packing
// refusal: "FILE:LINE:COLUMN: error CODE: DESCRIPTION (at POSITION m)", FILE
// being the source as the author named it, the location left out (and
// "scenario" in its place) where the error has none.
void scrivi_diagnostica(const Form1& f, std::ostream& err);

// The JSON object of a pack or check: codice_errore, posizione_errore,
// errori, errore, files.
nlohmann::ordered_json esito_json(const Form1& f, const std::vector<std::filesystem::path>& scritti);
