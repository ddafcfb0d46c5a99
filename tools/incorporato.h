// `scenario builtin`: the packer's whole run of its built-in scenario, into a
// directory of the author's choosing rather than beside a program.
#pragma once

#include <ostream>

#include "tools/argomenti.h"

extern const char* const aiuto_builtin;

// Compiles the built-in scenario as the packer does and writes into
// r.cartella_uscita, made if missing, the packer's six files byte for byte:
// the three documents and the three packed files. With r.con_sorgenti the
// line and train sources come first; a source that exists is left alone and
// nothing is written, unless r.forza. Tells each file written on `out`;
// returns the exit status: 0 written, 2 refused (1 if the scenario ever
// failed to build: nothing written). Throws `errore_file` when a file cannot
// be written.
int esegui_incorporato(const richiesta& r, std::ostream& out, std::ostream& err);
