// The scenario compiler: reads the line source, then the train source, into the build state.
#pragma once

#include "compiler/form1.h"

// Reads the line source and then the train source of `f` (named from its
// scenario name and train number, in `f.cartella`) into the route grid, the
// station table and the line plan. Each source is deleted once its half has
// read it; the common failure exit deletes both. Errors are recorded in
// `f.codice_errore` / `f.posizione_errore`; nothing is thrown.
void memorizza_dati(Form1& f);
