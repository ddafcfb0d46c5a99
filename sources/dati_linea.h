// The built-in line, written as the line source file.
#pragma once

#include "compiler/form1.h"

// Writes the line Corvana - Telmisa (general values, curves, gradients, tunnels,
// maximum-speed and kilometre boards) as `file_linea_sorgente(f)`, replacing any
// older file whole. Throws `errore_file` when the file cannot be written.
void dati_linea(const Form1& f);
