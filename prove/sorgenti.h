// Small source fixtures for the compiler's tests: a line and a train source
// compiled from memory, and looked at afterwards.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "compiler/memorizza_dati.h"

// `testo` with every line ended by CR LF, as the writers write it.
inline std::string con_crlf(std::string_view testo) {
  std::string out;
  out.reserve(testo.size() + testo.size() / 16);
  for (char c : testo) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The general section of a line source as the writers write it, rows ended
// by '\n': the route length, three kilometre references at 0, one
// background, the cab-signal span from 0 to `fine_ripetizione`.
inline std::string sezione_generale(int32_t lunghezza, int32_t fine_ripetizione = 0) {
  return "[generale]\n"
         "lunghezza percorso,    " + std::to_string(lunghezza) + "\n"
         "progressiva chilometrica uno,    0,    0,    0\n"
         "progressiva chilometrica due,    0,    0,    0\n"
         "progressiva chilometrica tre,    0,    0,    0\n"
         "sfondo uno,    1\n"
         "sfondo due,    0\n"
         "sfondo tre,    0\n"
         "ripetizione segnali 4 codici,    0,    " + std::to_string(fine_ripetizione) + "\n";
}

// A line of `lunghezza` metres: the general section, then `corpo` (rows ended
// by '\n'), then "[fine]".
inline std::string linea_prova(int32_t lunghezza, std::string_view corpo = "") {
  return sezione_generale(lunghezza) + "[curve]\n" + std::string(corpo) + "[fine]\n";
}

// A train source: "[generale]", `corpo`, "[fine]".
inline std::string treno_prova(std::string_view corpo = "") {
  return "[generale]\n" + std::string(corpo) + "[fine]\n";
}

// The labels the compiler's errors give the two sources in these tests.
inline constexpr std::string_view etichetta_linea = "Prova_Linea_linea.txt";
inline constexpr std::string_view etichetta_treno = "Prova_Linea_12-.txt";

// The scenario's identity in these tests.
inline constexpr std::string_view nome_prova = "Prova_Linea";
inline constexpr std::string_view treno_di_prova = "12";

struct prova_compilazione {
  scenario_compilato f;  // the scenario and the register the compile made
  int32_t salva_linea = 0;

  explicit prova_compilazione(int32_t salva = 0) : salva_linea(salva) {}

  // Compiles both sources, lines ended by '\n' made CR LF, exactly as given.
  scenario_compilato& compila(std::string_view testo_linea, std::string_view testo_treno) {
    const std::string linea = con_crlf(testo_linea), treno = con_crlf(testo_treno);
    f = memorizza_dati(std::string(nome_prova), std::string(treno_di_prova), salva_linea, {etichetta_linea, linea},
                       {etichetta_treno, treno});
    return f;
  }
};

// Compiles `testo_linea` and `testo_treno` into a fresh build state.
inline std::unique_ptr<prova_compilazione> compila_prova(std::string_view testo_linea,
                                                         std::string_view testo_treno = treno_prova(),
                                                         int32_t salva_linea = 0) {
  auto p = std::make_unique<prova_compilazione>(salva_linea);
  p->compila(testo_linea, testo_treno);
  return p;
}
