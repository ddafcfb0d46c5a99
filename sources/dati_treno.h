// The built-in train, written as the train source file.
#pragma once

#include "compiler/form1.h"

// Writes train 739's run over the line (consist, clock, speed limits, stations
// and times, slow orders, signals) as `file_treno_sorgente(f)`, replacing any
// older file whole. Throws `errore_file` when the file cannot be written.
void dati_treno(const Form1& f);
