// A diagnostic's source line with a caret under its column, as compilers
// show them:
//
//   P_12-.txt:14:14: error 8: station position not a multiple of 50 (at 12010 m)
//    14 | stazione,    12010,  12,  400, ...
//       |              ^
//
// Lines and columns are counted as the compiler counts them: a line ends at
// CR LF, LF or CR alike; a column is a byte of the line, from 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The widest stretch of a line shown, in columns of the terminal (a tab
// counted as 8): a longer line is cut around the caret, each cut marked "...".
inline constexpr int larghezza_sorgente = 100;

// Where each line of a text starts, found once, so that a report with many
// diagnostics does not walk a long source again for each.
struct indice_righe {
  std::string_view testo;
  std::vector<std::size_t> inizi;  // offset of line 1, 2, ...
};

// The lines of `testo` (which must outlive the index). The text after the
// last line end is a line too (empty at the end of a text that ends with
// one), since the compiler's reader stands there at the end.
indice_righe indicizza_righe(std::string_view testo);

// The two lines that show line `riga` of `testo` with a caret under column
// `colonna`, each ended by '\n'; an empty text when `testo` has no such line.
// - A tab stays a tab in both lines, so that the caret lines up however the
//   terminal sets its tab stops.
// - The text is the single-byte Windows-1252 text the compiler reads: a byte
//   from 0x80 up that the code page defines is one character, shown in UTF-8
//   with one column under it. Any other byte that is neither printable ASCII
//   nor a tab (a control character, 0x7f, the code page's five holes) is shown
//   as \xNN, and the caret line keeps four columns for it.
// - A column past the line's end puts the caret just after its last byte
//   (where a value was missing); a column below 1 shows the line alone.
std::string sorgente_evidenziata(const indice_righe& testo, int32_t riga, int32_t colonna);
inline std::string sorgente_evidenziata(std::string_view testo, int32_t riga, int32_t colonna) {
  return sorgente_evidenziata(indicizza_righe(testo), riga, colonna);
}
