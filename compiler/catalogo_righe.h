// The row catalogue: for every row kind of both sources its keyword as the
// writers write it, where it stands, what it means, and for each of its
// values its name, meaning, unit, range and how the packer keeps it where
// that differs from the value written. The one table that the messages'
// names of rows and values, the nearest-keyword suggestions and the editor's
// hover and completion read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "compiler/righe_lette.h"

// Where a row kind is read.
enum class sezione_riga : uint8_t {
  generale_linea,  // the line source's general section, before its first heading
  corpo_linea,     // the line source's body
  treno,           // the train source, after its [generale]
};

// How a value's field is read: a whole number into 32, 16 or 8 bits (one that
// does not fit is unreadable), or a text to the next comma or line end.
enum class lettura_valore : uint8_t { intero_32, intero_16, intero_8, testo };

struct voce_valore {
  std::string_view nome;         // as the messages name it: "gradient", "kind (column 2)"
  std::string_view significato;  // one line, in the author's terms
  std::string_view unita;        // "m", "km/h", "per mille" ...; empty for a count or a code
  std::string_view campo;        // the values that make sense
  std::string_view memorizzato;  // how the packer keeps it, where that is not as written; else empty
  lettura_valore lettura = lettura_valore::intero_32;
};

// A keyword as the writers write it, with its own one line.
struct forma_parola {
  std::string_view parola;       // "curvad2"
  std::string_view significato;  // "a curve to the right, class 2 ..."
};

struct voce_riga {
  tipo_riga tipo;
  sezione_riga sezione;
  std::string_view parola;          // the kind as the messages name it ("ripetizione segnali")
  std::string_view riconoscimento;  // what the parser looks for in a keyword field
  std::string_view significato;     // one line
  std::span<const forma_parola> forme;  // its keywords as written, at least one
  std::span<const voce_valore> valori;  // in the order read
};

// Every row kind, in the order of `tipo_riga`.
std::span<const voce_riga> catalogo_righe();
const voce_riga& voce_di(tipo_riga t);

// The keywords as written of the kinds read in `s`, in the order the
// nearest-keyword suggestion weighs them.
std::span<const forma_parola> forme_sezione(sezione_riga s);

// The section headings the writers write by custom, each with one line: those
// of the line source (from [generale] to [fine]) and of the train source.
struct voce_intestazione {
  std::string_view intestazione;  // "[curve]"
  std::string_view significato;
};
std::span<const voce_intestazione> intestazioni_linea();
std::span<const voce_intestazione> intestazioni_treno();

// What the packer makes of value `i` of a row of kind `t` whose values, as
// read, are `valori` (a value that was not read may be missing): the cell a
// position falls on, a speed divided by 5, a code combined with another, a
// time in seconds. Empty where the value is kept as written or too little
// was read to say.
std::string valore_memorizzato(tipo_riga t, int i, std::span<const int64_t> valori);
