#include "tools/lsp/posizioni.h"

#include <gtest/gtest.h>

#include "formato/testo_1252.h"

namespace {

testo_righe testo(std::string t, bool bom = false) {
  testo_righe r;
  r.imposta(std::move(t));
  r.bom = bom;
  return r;
}

}  // namespace

// The compiler's line and column (characters, from 1) as the protocol's place
// in each encoding, and back.
TEST(PosizioniLsp, DalCompilatoreAlProtocolloEIndietro) {
  // "a" + "è" (2 bytes, 1 unit) + "€" (3 bytes, 1 unit) + "𝄞" (4 bytes, 2 units) + "z"
  const std::string riga = "a\xC3\xA8\xE2\x82\xAC\xF0\x9D\x84\x9Ez";
  struct caso {
    const char* nome;
    std::string testo;
    bool bom;
    int32_t riga, colonna;    // the compiler's
    int64_t r, utf8, utf16, utf32;  // the protocol's line, and column in each encoding
  } casi[] = {
      {"after a character of two bytes", riga, false, 1, 3, 0, 3, 2, 2},
      {"after one beyond the BMP", riga, false, 1, 5, 0, 10, 5, 4},
      {"past the line's end: held at it", riga, false, 1, 99, 0, 11, 6, 5},
      {"a later line, ended by CR LF", "x\r\n" + riga, false, 2, 5, 1, 10, 5, 4},
      {"lines ended by CR alone, and LF alone", "x\ry\n" + riga, false, 3, 2, 2, 1, 1, 1},
      {"a line past the last: the last", "x\n" + riga, false, 9, 2, 1, 1, 1, 1},
      {"the first line after a byte-order mark", "\xEF\xBB\xBF" + riga, true, 1, 2, 0, 4, 2, 2},
      {"a later line: the mark counts for nothing", "\xEF\xBB\xBFx\n" + riga, true, 2, 2, 1, 1, 1, 1},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const testo_righe t = testo(c.testo, c.bom);
    const int64_t attese[] = {c.utf8, c.utf16, c.utf32};
    const codifica_posizioni codifiche[] = {codifica_posizioni::utf8, codifica_posizioni::utf16, codifica_posizioni::utf32};
    for (int i = 0; i < 3; ++i) {
      const posizione_lsp p = posizione_compilatore(t, c.riga, c.colonna, codifiche[i]);
      EXPECT_EQ(p, (posizione_lsp{c.r, attese[i]})) << "encoding " << i;
      // Back to the compiler's place, where the place was within the text.
      if (c.colonna < 99 && c.riga < 9) {
        const luogo_compilatore l = luogo_di(t, p, codifiche[i]);
        EXPECT_EQ(l.riga, c.riga) << "encoding " << i;
        EXPECT_EQ(l.colonna, c.colonna) << "encoding " << i;
      }
    }
  }
  // A column inside a character is that character's start; a place past the
  // text is its end; one before it, its start.
  const testo_righe t = testo(riga + "\nb");
  EXPECT_EQ(byte_di(t, {0, 8}, codifica_posizioni::utf8), 6u);
  EXPECT_EQ(byte_di(t, {0, 4}, codifica_posizioni::utf16), 6u);
  EXPECT_EQ(byte_di(t, {7, 0}, codifica_posizioni::utf16), t.testo.size());
  EXPECT_EQ(byte_di(t, {-1, 5}, codifica_posizioni::utf16), 0u);
  EXPECT_EQ(byte_di(t, {1, -3}, codifica_posizioni::utf16), riga.size() + 1);
}

// A text the editor decoded from single bytes goes back to exactly those
// bytes, whether it was read as Windows-1252 or as Latin-1.
TEST(PosizioniLsp, ByteSingoliAndataERitorno) {
  std::string tutti;
  for (int b = 1; b < 256; ++b) tutti += static_cast<char>(b);
  EXPECT_EQ(a_byte_singolo(utf8_da_1252(tutti)), tutti);
  std::string latino;
  for (const char b : tutti) {
    const auto u = static_cast<unsigned char>(b);
    if (u < 0x80) latino += b;
    else latino += static_cast<char>(0xC0 | (u >> 6)), latino += static_cast<char>(0x80 | (u & 0x3F));
  }
  EXPECT_EQ(a_byte_singolo(latino), tutti);
  EXPECT_EQ(a_byte_singolo("\xF0\x9D\x84\x9E\xE2\x86\x92"), "??") << "no single-byte form: one '?' each";
  EXPECT_EQ(byte_del_compilatore("\xEF\xBB\xBFper\xC3\xB2"), "per\xF2") << "the mark left out";
}
