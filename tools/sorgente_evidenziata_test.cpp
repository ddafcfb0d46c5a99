#include "tools/sorgente_evidenziata.h"

#include <gtest/gtest.h>

#include <string>

TEST(SorgenteEvidenziata, LaRigaEIlCursoreSottoLaColonna) {
  // 200 digits: a line too wide to show whole.
  std::string lunga;
  for (int i = 0; i < 20; ++i) lunga += "0123456789";
  const std::string sotto_lunga = "   |    ";  // the gutter, then "..." kept blank
  struct caso {
    const char* nome;
    std::string testo;
    int32_t riga, colonna;
    std::string atteso;
  };
  const caso casi[] = {
      {"a plain line", "abc,def\n", 1, 5, " 1 | abc,def\n   |     ^\n"},
      {"tabs kept in both lines", "\tstazione,\t12010\r\n", 1, 12,
       " 1 | \tstazione,\t12010\n   | \t         \t^\n"},
      {"CR LF is one line end", "a\r\nbb,cc\r\nd\r\n", 2, 4, " 2 | bb,cc\n   |    ^\n"},
      {"a lone CR ends a line too", "a\rb,c\nd", 2, 3, " 2 | b,c\n   |   ^\n"},
      {"bytes not printable shown escaped", std::string("x\x01y\x81z\x7f!\n"), 1, 4,
       " 1 | x\\x01y\\x81z\\x7f!\n   |       ^\n"},
      {"a single-byte letter shown as one character", std::string("citt\xe0 \x80,5\n"), 1, 8,
       " 1 | citt\xc3\xa0 \xe2\x82\xac,5\n   |        ^\n"},
      {"after an escaped byte", std::string("\x1b,5\n"), 1, 3, " 1 | \\x1b,5\n   |      ^\n"},
      {"the column just past the end", "abc\r\n", 1, 4, " 1 | abc\n   |    ^\n"},
      {"a column far past the end", "abc\r\n", 1, 40, " 1 | abc\n   |    ^\n"},
      {"no column: the line alone", "abc\n", 1, 0, " 1 | abc\n"},
      {"the end of a file that ends with a line end", "a\nb\n", 3, 1, " 3 | \n   | ^\n"},
      {"a line the file does not have", "a\nb", 3, 1, ""},
      {"line 0", "a\n", 0, 1, ""},
      {"a wider line number", std::string(11, '\n') + "xy", 12, 2, " 12 | xy\n    |  ^\n"},
      {"long: cut on both sides", lunga + "\n", 1, 101,
       " 1 | ..." + lunga.substr(51, 100) + "...\n" + sotto_lunga + std::string(49, ' ') + "^\n"},
      {"long: near its start", lunga, 1, 5,
       " 1 | " + lunga.substr(0, 100) + "...\n   |     ^\n"},
      {"long: near its end", lunga, 1, 199,
       " 1 | ..." + lunga.substr(100) + "\n" + sotto_lunga + std::string(98, ' ') + "^\n"},
      {"long, past its end", lunga, 1, 300,
       " 1 | ..." + lunga.substr(101) + "\n" + sotto_lunga + std::string(99, ' ') + "^\n"},
      {"long with tabs: each counted as 8 columns", std::string(30, '\t') + "x,y", 1, 32,
       " 1 | ..." + std::string(12, '\t') + "x,y\n" + sotto_lunga + std::string(12, '\t') + " ^\n"},
  };
  for (const caso& c : casi)
    EXPECT_EQ(sorgente_evidenziata(c.testo, c.riga, c.colonna), c.atteso) << c.nome;
}
