// The train sheet: the driver's four-page timetable of the run.
#pragma once

#include "compiler/form1.h"

// Writes the train sheet, 205 fixed lines, to `file_scheda_treno(f)`,
// replacing any older file whole. Throws `errore_file` when it cannot be written.
void dati_scheda(const Form1& f);
