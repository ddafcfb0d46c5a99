// The rows the compiler read and applied, each with the place of its keyword
// field: what the warnings and the culprits of errors point at, and what the
// summary of a build counts.
#pragma once

#include <cstdint>
#include <string_view>

enum class tipo_riga : uint8_t {
  // line source
  lunghezza, progressiva, sfondo, ripetizione, pendenza, curva, montagna, cartello_vmax, indicatore_km,
  // train source
  massa_frenata, vetture, velocita, aderenza, orologio, sabbia, segnale, rallentamento, abbattimento,
  stazione,
};

// The row's kind as the author writes its keyword ("pendenza", "segnale", ...).
std::string_view parola_riga(tipo_riga t);

struct riga_letta {
  tipo_riga tipo = tipo_riga::lunghezza;
  bool nel_treno = false;    // read from the train source (else the line source)
  int32_t riga = 0;          // line and column (from 1) of its keyword field
  int32_t colonna = 0;
  int32_t posizione = 0;     // its first value: a route position in metres where it has one
};
