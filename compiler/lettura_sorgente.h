// Reading one source into the build state: the field reads of the parsers,
// which keep `f.riga` and the source location of the last field current.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/form1.h"
#include "compiler/lettore_campi.h"

struct sorgente {
  Form1& f;
  lettore_campi campi;
};

// A source over `testo`; `f.sorgente_riga` and `f.sorgente_colonna` follow
// every field read from it.
sorgente apri_sorgente(Form1& f, std::string_view testo);

// True when no further field remains.
inline bool fine(const sorgente& s) { return fine_campi(s.campi); }

// Reads the next text field into `f.riga`, or into `out`. Every read below
// throws `fallimento_comune` when no field remains or the field does not fit.
void leggi_riga(sorgente& s);
void leggi_testo(sorgente& s, std::string& out);
int32_t leggi_32(sorgente& s);
int16_t leggi_16(sorgente& s);
uint8_t leggi_8(sorgente& s);

// Keyword tests are substring tests; `minuscole` serves the case-insensitive ones.
inline bool contiene(std::string_view campo, std::string_view parola) {
  return campo.find(parola) != std::string_view::npos;
}
std::string minuscole(std::string_view testo);
