#include "formato/testo_1252.h"

#include <gtest/gtest.h>

namespace {

// Line `riga` (from 1) of `testo`, lines cut at LF.
std::string riga_di(const std::string& testo, int32_t riga) {
  std::size_t inizio = 0;
  for (int32_t r = 1; r < riga; ++r) inizio = testo.find('\n', inizio) + 1;
  return testo.substr(inizio, testo.find('\n', inizio) - inizio);
}

}  // namespace

TEST(Testo1252, DaUtf8AByteSingoli) {
  struct campo { int32_t riga, colonna; const char* testo; const char* senza_forma; bool parentesi; };
  struct caso {
    const char* cosa;
    std::string sorgente, atteso;
    bool convertita;
    std::vector<campo> campi;
  };
  const caso casi[] = {
      {"plain ASCII", "stazione, 0, ROMA\r\n", "stazione, 0, ROMA\r\n", false, {}},
      {"accented letters", "x, Citt\u00e0,  Per\u00f2 Alta \r\n", "x, Citt\xe0,  Per\xf2 Alta \r\n", true,
       {{1, 8, "Citt\u00e0", "", false}, {1, 15, "Per\u00f2 Alta", "", false}}},
      {"the code page's own 0x80 to 0x9F", "\u20ac \u2019 \u2013 \u0153 \u0178",
       "\x80 \x92 \x96 \x9c \x9f", true, {{1, 1, "\u20ac \u2019 \u2013 \u0153 \u0178", "", false}}},
      {"no single-byte form: '?'", "A\u4e2d\u00e8\u4e2d, B", "A?\xe8?, B", true,
       {{1, 2, "A\u4e2d\u00e8\u4e2d", "\u4e2d", false}}},
      {"the column of the first with no form", "\u00e0 \u2126 \U0001F682", "\xe0 ? ?", true,
       {{1, 3, "\u00e0 \u2126 \U0001F682", "\u2126\U0001F682", false}}},
      {"a letter and its accent as two characters", "Pero\u0300", "Pero?", true,
       {{1, 5, "Pero\u0300", "\u0300", false}}},
      {"a C1 control has no form", "a\u0085", "a?", true, {{1, 2, "a\u0085", "\u0085", false}}},
      {"a comment", "1, [ \u00e8 ]\nx", "1, [ \xe8 ]\nx", true, {{1, 6, "[ \u00e8 ]", "", true}}},
      {"lines: CR LF, LF, CR", "a\r\nb\n\u00e0\rc, \u00e9", "a\r\nb\n\xe0\rc, \xe9", true,
       {{3, 1, "\u00e0", "", false}, {4, 4, "\u00e9", "", false}}},
      {"a byte-order mark is left out", "\xef\xbb\xbf[generale]\r\n", "[generale]\r\n", true, {}},
      {"Latin-1 already: unchanged", "Citt\xe0, \xe8", "Citt\xe0, \xe8", false, {}},
      {"UTF-8 and a stray byte: unchanged", "Citt\u00e0, \xe8", "Citt\u00e0, \xe8", false, {}},
      {"an overlong form: unchanged", "a\xc0\xaf", "a\xc0\xaf", false, {}},
      {"a surrogate: unchanged", "a\xed\xa0\x80", "a\xed\xa0\x80", false, {}},
      {"a sequence cut short: unchanged", "a\xe2\x82", "a\xe2\x82", false, {}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.cosa);
    std::string testo = c.sorgente;
    const esito_1252 s = converti_in_1252(testo);
    EXPECT_EQ(testo, c.atteso);
    EXPECT_EQ(s.convertita, c.convertita);
    ASSERT_EQ(s.campi.size(), c.campi.size());
    for (std::size_t i = 0; i < c.campi.size(); ++i) {
      EXPECT_EQ(s.campi[i].riga, c.campi[i].riga) << i;
      EXPECT_EQ(s.campi[i].colonna, c.campi[i].colonna) << i;
      EXPECT_EQ(s.campi[i].testo, c.campi[i].testo) << i;
      EXPECT_EQ(s.campi[i].senza_forma, c.campi[i].senza_forma) << i;
      EXPECT_EQ(s.campi[i].parentesi, c.campi[i].parentesi) << i;
    }
  }
}

TEST(Testo1252, LaColonnaInCaratteriELaColonnaInByteDelTestoConvertito) {
  // A caret under the author's line falls where the compiler counts bytes.
  const std::string sorgente = "stazione, 0, 8,  Citt\u00e0 Alta, 1\n  Caf\u00e9 \u4e2d\u00ee\n";
  std::string testo = sorgente;
  const esito_1252 s = converti_in_1252(testo);
  ASSERT_EQ(s.campi.size(), 2u);
  const std::string atteso[] = {"\xe0", "?"};
  for (std::size_t i = 0; i < 2; ++i) {
    const campo_convertito& c = s.campi[i];
    EXPECT_EQ(riga_di(testo, c.riga).substr(static_cast<std::size_t>(c.colonna - 1), 1), atteso[i]) << i;
  }
  EXPECT_EQ(s.campi[0].colonna, 22);
  EXPECT_EQ(s.campi[1].colonna, 8);
}

TEST(Testo1252, DaByteSingoliAUtf8SenzaPerdite) {
  EXPECT_EQ(utf8_da_1252("Citt\xe0 \x80 \x92\x93\x94 \x96 \x9f \xff"),
            "Citt\u00e0 \u20ac \u2019\u201c\u201d \u2013 \u0178 \u00ff");
  // The five undefined bytes: the controls of the same number.
  EXPECT_EQ(utf8_da_1252("\x81\x8d\x8f\x90\x9d"), "\u0081\u008d\u008f\u0090\u009d");
  // Every byte that has a character reads back as that byte.
  for (int b = 0x80; b < 0x100; ++b) {
    if (b == 0x81 || b == 0x8d || b == 0x8f || b == 0x90 || b == 0x9d) continue;
    const std::string byte(1, static_cast<char>(b));
    std::string testo = utf8_da_1252(byte);
    converti_in_1252(testo);
    EXPECT_EQ(testo, byte) << b;
  }
}
