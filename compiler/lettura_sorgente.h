// Reading one source into the build state: the field reads of the parsers,
// which keep `f.riga` and the source location of the last field current.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/campi_ignorati.h"
#include "compiler/fallimento_comune.h"
#include "compiler/compilazione.h"
#include "compiler/lettore_campi.h"
#include "compiler/parole_chiave.h"

struct sorgente {
  compilazione& f;
  lettore_campi campi;
  bool nel_treno = false;     // the train source (else the line source)
  posizione_campo parola{};   // the last keyword field read (`leggi_riga`)
  // The row whose values are being read, for the row log and for telling a
  // failed read: its kind, the place of its keyword field and how many of its
  // values were read.
  bool in_riga = false;
  tipo_riga tipo = tipo_riga::lunghezza;
  posizione_campo parola_riga{};
  int valori_letti = 0;
  // What the last field read was, and what the field before the last keyword
  // field was: a row's number, a row's text, or neither (a keyword).
  enum class valore : uint8_t { nessuno, numero, testo };
  valore ultimo = valore::nessuno;
  valore prima_della_parola = valore::nessuno;
};

// A source over `testo`; `f.sorgente_riga` and `f.sorgente_colonna` follow
// every field read from it.
sorgente apri_sorgente(compilazione& f, std::string_view testo);

// True when no further field remains.
inline bool fine(const sorgente& s) { return fine_campi(s.campi); }

// The reads that follow are the values of a row of kind `t`, whose keyword
// field is the last keyword field read.
void inizia_riga(sorgente& s, tipo_riga t);
// Logs the row being read as applied (`f.registro.righe_lette`), with the values the
// checks need, and makes it the row being laid; returns its index.
int32_t annota_riga(sorgente& s, int32_t posizione = 0, int32_t valore = 0, int32_t lunghezza = 0);
// Takes the row just logged off the log again: it was refused before it laid anything.
void togli_riga(sorgente& s);
// "the 'stazione' row at 31:1": the row being read, for a message.
std::string riga_in_lettura(const sorgente& s);
// "the 'stazione' row at F_1-.txt:31": the row being read, with its source.
std::string riga_nominata(const sorgente& s);
// What stands just before the last field read, on its line: for telling why
// a field is left over.
vicino_campo vicino(const sorgente& s);
// A read of the source failed with `e`: the fields skipped before it are
// told, the row being read is named in its detail, and no row is being laid.
void lettura_fallita(sorgente& s, campi_ignorati& ignorati, fallimento_comune& e);

// Reads the next keyword field into `f.riga` (no row is being read then), or
// the next text field into `out`. Every read below
// throws `fallimento_comune` when no field remains or the field does not fit,
// its detail saying what was expected and what was found.
void leggi_riga(sorgente& s);
void leggi_testo(sorgente& s, std::string& out);
int32_t leggi_32(sorgente& s);
int16_t leggi_16(sorgente& s);
uint8_t leggi_8(sorgente& s);
