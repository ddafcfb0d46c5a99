// A source's rows as the editor shows them: every keyword field and its
// values where they stand, read with the compiler's own field reader and
// keyword tests whether or not the compile got that far, so the outline,
// hover and completion work on a source that does not compile yet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/catalogo_righe.h"

// A field where it stands: line and columns (from 1, in the compiler's
// characters), `fine` one past its last character.
struct campo_sorgente {
  int32_t riga = 0;
  int32_t colonna = 0;
  int32_t fine = 0;
  std::string testo;      // as written, single-byte text
  bool numero = false;    // read as a whole number: `valore` holds it
  int64_t valore = 0;

  bool contiene(int32_t r, int32_t c) const { return r == riga && c >= colonna && c <= fine; }
};

struct riga_sorgente {
  tipo_riga tipo = tipo_riga::lunghezza;
  campo_sorgente parola;
  std::vector<campo_sorgente> valori;  // as many as were there to read, up to the kind's own

  // The last field of the row.
  const campo_sorgente& ultimo() const { return valori.empty() ? parola : valori.back(); }
  // Its first value where that is a route position.
  bool con_posizione() const;
  int64_t posizione() const;
};

struct struttura_sorgente {
  bool treno = false;
  bool con_generale = false;
  campo_sorgente generale;       // the [generale] heading
  // The line source's field that ended its general section (a heading, or a
  // comment written without its hyphen); line 0 when none did.
  campo_sorgente fine_generale;
  std::vector<campo_sorgente> intestazioni;  // every field of the form [word], in order
  std::vector<riga_sorgente> righe;           // every keyword field of a row kind, in order
};

// Reads `testo`, single-byte text as the compiler reads it, as a train
// source or a line source (whose curves are read, as the tool builds the plan).
struttura_sorgente leggi_struttura(std::string_view testo, bool treno);

// True for a field of the form [word]: a section heading, not a comment.
bool forma_intestazione(std::string_view campo);

// The section of a source at line `riga`, column `colonna`: where the row
// keywords of that section are read. False before [generale], where nothing is.
bool sezione_a(const struttura_sorgente& s, int32_t riga, int32_t colonna, sezione_riga& sezione);
