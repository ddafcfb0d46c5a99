// The driver's three documents for the author's scenario: `scenario docs`
// and `scenario pack --docs`.
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

#include "tools/argomenti.h"
#include "tools/compila.h"

// The three documents in r.cartella_uscita: the train sheet, the slow-order
// form, the notes.
std::vector<std::filesystem::path> percorsi_documenti(const richiesta& r);

// Throws `errore_file` when a document would be written over one of the
// sources given: checked before anything is compiled or written.
void controlla_documenti(const richiesta& r);

// After the compile: when nothing was found that the verdict weighs as an
// error (or with r.forza, once the route grid stands), derives the three
// documents with the times of the scenario's fastest run (the one the
// compile timed, its train as r.marcia gives it), adds their warnings to the esito's, writes them
// into r.cartella_uscita (made if missing), each replaced whole, and adds
// them to the files written. A notice with no warning code of its own is told
// on `err`. Otherwise writes none and says so on `err`: a timetable taken
// from a scenario the compiler did not read as written would look right and
// be wrong.
void documenti_dopo_compilazione(const richiesta& r, esito_comando& esito, std::ostream& err);

