// The text of the packed files: single bytes, Windows-1252, the code page of
// the ANSI Windows program that loads them. A name or board text is stored
// byte for byte as the source holds it, so a source written in UTF-8 is made
// single-byte before it is compiled, and a packed text is read back through
// the same table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A field of a source that held characters beyond ASCII: a run of text
// between commas and line ends, as the field reader cuts text fields.
struct campo_convertito {
  int32_t riga = 0;             // line, from 1
  int32_t colonna = 0;          // the column, in characters from 1, of its first
                                // character beyond ASCII; of the first with no
                                // single-byte form when it holds one
  std::string testo;            // the field as written (UTF-8), blanks around it left out
  std::string senza_forma;      // each character with no single-byte form, once, in order (UTF-8)
  bool parentesi = false;       // the field holds both '[' and ']': a heading or a comment
};

struct esito_1252 {
  bool convertita = false;               // the text was UTF-8 with characters beyond ASCII
  std::vector<campo_convertito> campi;   // every field that held such characters
};

// The length of the well-formed UTF-8 sequence beyond ASCII at `s[i]` (2 to
// 4) and its character in `c`, or 0 when the bytes there are not one: a lone
// continuation byte, a sequence cut short, an overlong form, a surrogate or a
// value past U+10FFFF.
std::size_t sequenza_utf8(std::string_view s, std::size_t i, uint32_t& c);

// Makes the source `testo` single-byte Windows-1252 text, in place.
// - Plain ASCII, or text that is not well-formed UTF-8 (taken to be single
//   bytes already), is left unchanged, with no field.
// - Well-formed UTF-8 holding characters beyond ASCII is converted: each
//   character becomes the one byte that Windows-1252 gives it, or '?' when it
//   has none (other scripts, most symbols, the C1 controls, a letter and an
//   accent written as two characters). A byte-order mark at the start is left
//   out. One character, one byte: a column counted in the result's bytes is the
//   author's column counted in characters.
esito_1252 converti_in_1252(std::string& testo);

// Single-byte Windows-1252 text as UTF-8. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of
// the same number, so that nothing is lost.
std::string utf8_da_1252(std::string_view testo);

// Single-byte Windows-1252 text as a terminal may show it: UTF-8, with each
// control byte and each byte the code page leaves undefined written as \xNN,
// so that a name from a source never acts on the author's terminal.
std::string stampabile_da_1252(std::string_view testo);

// The characters of UTF-8 text, as a column of a table counts them.
std::size_t caratteri_utf8(std::string_view testo);
