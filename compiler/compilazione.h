// A compile in progress: the scenario being filled, the register being
// written, and the parsers' cursor. It lives inside the compiler only; what
// comes out of it is the scenario and the register (compiler/memorizza_dati.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "compiler/registro.h"
#include "formato/scenario.h"

// Mountain spans recorded by the line parser: entries 1..80 used.
inline constexpr int numero_voci_montagne = 81;

struct compilazione {
  ::scenario scenario;
  ::registro registro;

  int32_t salva_linea = 0;        // non-zero: lay the line plan

  std::string riga;               // the last text field read from a source
  // Where the last field read stands: the source's label, line and column (from 1).
  std::string sorgente_file;
  int32_t sorgente_riga = 0;
  int32_t sorgente_colonna = 0;
  // The row being laid: the cells a recorder lays name it (an index into
  // `registro.righe_lette`, or none).
  int32_t riga_in_posa = nessuna_riga;

  // A route length under 1 km with rows far beyond it has been told (356):
  // the rows past the end are its consequence, not told again.
  bool percorso_corto_detto = false;

  int32_t numero_montagne = 0;
  std::array<int32_t, numero_voci_montagne> inizio_montagne{};
  std::array<int32_t, numero_voci_montagne> fine_montagne{};
};

// Records `codice` as the build's error at the place of the last field read;
// `posizione_errore` stays as it was.
void registra_errore(compilazione& f, int32_t codice);
// Records `codice` with the route position `posizione` (metres), at the place
// of the last field read.
void registra_errore(compilazione& f, int32_t codice, int32_t posizione);

// The cell `c` now holds a point feature, or an approach mark, of the row
// being laid (`f.riga_in_posa`), in the cells' origins.
void posa_elemento(compilazione& f, int64_t c);
void posa_segno(compilazione& f, int64_t c);
