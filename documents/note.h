// The scenario notes handed to the driver: a few lines that introduce the run.
#pragma once

#include "compiler/form1.h"

// Writes the notes, seven fixed lines, to `file_note(f)`, replacing any older
// file whole. Throws `errore_file` when the file cannot be written.
void dati_note(const Form1& f);
