// The slow-order form handed to the driver: one row per slow order of the run.
#pragma once

#include "compiler/form1.h"

// Writes the slow-order form, 46 fixed lines, to `file_rallentamenti(f)`,
// replacing any older file whole. Throws `errore_file` when it cannot be written.
void dati_rallentamenti(const Form1& f);
