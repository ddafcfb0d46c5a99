// Places in a source as the editor counts them and as the compiler does.
//
// The editor holds a source as UTF-8 text and counts a column in the
// position encoding agreed at the start (UTF-8 bytes, UTF-16 units or
// characters). The compiler reads single-byte text, one byte a character,
// and counts lines and columns from 1. Both end a line at CR LF, LF or CR,
// so a line is the same line for both, and the compiler's column N is the
// Nth character of the editor's line: all this file converts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class codifica_posizioni : uint8_t { utf8, utf16, utf32 };

// A place as the protocol gives it: line and column from 0, the column in
// the agreed encoding.
struct posizione_lsp {
  int64_t riga = 0;
  int64_t carattere = 0;
  bool operator==(const posizione_lsp&) const = default;
  auto operator<=>(const posizione_lsp&) const = default;
};
struct intervallo_lsp {
  posizione_lsp inizio, fine;
  bool operator==(const intervallo_lsp&) const = default;
};

// True when `testo` is well-formed UTF-8.
bool utf8_valido(std::string_view testo);

// The offset of each line's first byte; line ends as the compiler counts them.
std::vector<std::size_t> inizi_righe(std::string_view testo);

// A text and its lines, as the editor holds it (UTF-8).
struct testo_righe {
  std::string testo;
  std::vector<std::size_t> inizi{0};
  // The text begins with a byte-order mark, which the compiler's text leaves
  // out: its first line's columns count one character fewer.
  bool bom = false;

  void imposta(std::string nuovo);
  std::size_t righe() const { return inizi.size(); }
  // Line `r` (from 0) without its line end; empty past the last.
  std::string_view riga(std::size_t r) const;
};

// The protocol's place as a byte offset into `t.testo`: a line past the last
// is the end of the text, a column past the line's end is its end, a column
// inside a character is that character's start.
std::size_t byte_di(const testo_righe& t, posizione_lsp p, codifica_posizioni c);

// The protocol's place of byte offset `byte` on line `r`.
posizione_lsp posizione_di_byte(const testo_righe& t, std::size_t r, std::size_t byte, codifica_posizioni c);

// The protocol's place of the compiler's line `riga` and column `colonna`
// (from 1, in characters of the compiler's text); held within the text.
posizione_lsp posizione_compilatore(const testo_righe& t, int32_t riga, int32_t colonna, codifica_posizioni c);

// The compiler's line and column (from 1) of a protocol place.
struct luogo_compilatore {
  int32_t riga = 1;
  int32_t colonna = 1;
};
luogo_compilatore luogo_di(const testo_righe& t, posizione_lsp p, codifica_posizioni c);

// UTF-8 text as single bytes, Windows-1252: each character as the editor
// decoded it from such a file, be it read as Windows-1252 or as Latin-1 (the
// control characters U+0080 to U+009F become their own bytes); a character
// the code page cannot hold becomes '?'. One character, one byte.
std::string a_byte_singolo(std::string_view utf8);

// The compiler's text of UTF-8 `testo`: one byte a character, a byte-order
// mark left out, as the tool makes a UTF-8 source before it compiles it.
std::string byte_del_compilatore(std::string_view utf8);
