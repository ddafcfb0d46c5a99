// The names of the build's files, all in the build's directory and named from
// the scenario's name and the train number.
#pragma once

#include <filesystem>

#include "compiler/form1.h"

std::filesystem::path file_linea_sorgente(const Form1& f);      // X_linea.txt
std::filesystem::path file_treno_sorgente(const Form1& f);      // X_739-.txt
std::filesystem::path file_note(const Form1& f);                // X_739_note.txt
std::filesystem::path file_rallentamenti(const Form1& f);       // X_739_rallentamenti.txt
std::filesystem::path file_scheda_treno(const Form1& f);        // X_739_scheda_treno.txt
std::filesystem::path file_linea_imballata(const Form1& f);     // X_linea.dat
std::filesystem::path file_stazioni_imballate(const Form1& f);  // X_739.sim
std::filesystem::path file_percorso_imballato(const Form1& f);  // X_739.dat

// The directory of the running program (through /proc/self/exe).
std::filesystem::path cartella_programma();
