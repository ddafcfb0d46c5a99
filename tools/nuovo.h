// `scenario new`: a starter scenario written for an author to begin from.
#pragma once

#include <ostream>

#include "tools/argomenti.h"

// Writes the starter's line source NAME_linea.txt and train source
// NAME_NUMBER-.txt (sources/scenario_nuovo.h) into r.cartella_uscita, made if
// missing. A file of either name that exists is left alone and nothing is
// written, unless r.forza. Tells what it wrote on `out`; returns the exit
// status: 0 written, 2 refused. Throws `errore_file` when a file cannot be written.
int esegui_nuovo(const richiesta& r, std::ostream& out, std::ostream& err);
