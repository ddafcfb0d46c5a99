// The field reader shared by the line and the train source parsers.
//
// A source is read as a stream of fields, regardless of lines:
// - blanks (spaces, tabs) before a field are skipped, and so are line ends,
//   except right after a comma: a comma at a line end announces one more,
//   empty, field;
// - a text field runs to the next comma or line end, blanks inside it
//   included; blanks at its end are not part of it (the written sources have
//   none, and a name or keyword with a stray blank after it should not differ
//   from one without);
// - a double quote is an ordinary character: there is no quoting, so a text
//   never holds a comma (the writers write no quotes);
// - a number field is a whole number with an optional minus sign and ends at
//   a comma, a blank or a line end, so "17   12   30" gives three numbers;
// - the end of the file is reached when no further field remains.
// Lines end with CR LF, LF or CR alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Where a field begins in its file: line and column, counted from 1.
struct posizione_campo {
  int32_t riga = 0;
  int32_t colonna = 0;
};

struct lettore_campi {
  std::string_view testo;
  std::size_t pos = 0;          // start of the next field, blanks already skipped
  bool virgola = false;         // the last field ended at a comma
  int32_t riga = 1;             // line of `pos`
  std::size_t inizio_riga = 0;  // offset of that line's first byte
  posizione_campo ultimo;       // the last field read (or the one that failed)
  std::string_view testo_ultimo;  // and its text, as it stands in the source
  std::size_t inizio_ultimo = 0;  // and the offset of its first byte
};

// A reader standing before the first field of `testo` (which must outlive it).
lettore_campi apri_campi(std::string_view testo);

// True when no further field remains: the end of the file is reached.
inline bool fine_campi(const lettore_campi& l) { return l.pos >= l.testo.size() && !l.virgola; }

// Reads the next text field into `out`. False, with nothing consumed, when no
// field remains.
bool leggi_testo(lettore_campi& l, std::string& out);

// Reads the next number field into `out`. False when no field remains, or the
// field holds no whole number from `minimo` to `massimo` (`out` is then
// untouched; `ultimo` names the faulty field).
bool leggi_numero(lettore_campi& l, int64_t minimo, int64_t massimo, int64_t& out);
