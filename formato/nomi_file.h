// The names of a scenario's files, made from the scenario's name and the
// train number: no directory, which is the caller's to choose.
#pragma once

#include <string>
#include <string_view>

#include "formato/vocabolario.h"

// The endings that tell the files apart.
inline constexpr std::string_view coda_linea_sorgente = "_linea.txt";    // NAME_linea.txt
inline constexpr std::string_view coda_treno_sorgente = "-.txt";         // NAME_NUMBER-.txt
inline constexpr std::string_view coda_linea_imballata = "_linea.dat";   // NAME_linea.dat
inline constexpr std::string_view coda_stazioni_imballate = ".sim";      // NAME_NUMBER.sim
inline constexpr std::string_view coda_percorso_imballato = ".dat";      // NAME_NUMBER.dat

std::string file_linea_sorgente(std::string_view nome);                         // X_linea.txt
std::string file_treno_sorgente(std::string_view nome, std::string_view treno);  // X_739-.txt
std::string file_note(std::string_view nome, std::string_view treno);            // X_739_note.txt
std::string file_rallentamenti(std::string_view nome, std::string_view treno);   // X_739_rallentamenti.txt
std::string file_scheda_treno(std::string_view nome, std::string_view treno);    // X_739_scheda_treno.txt
// X_linea.dat, X_739.sim, X_739.dat
std::string file_imballato_di(file_imballato quale, std::string_view nome, std::string_view treno);
