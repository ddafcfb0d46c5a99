#include "compiler/testo_sorgenti.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TestoSorgenti, SoloICampiCheIParserLeggono) {
  // "città, ok" is one accented field whatever surrounds it: told only where
  // the parsers read it, after the general heading.
  struct caso {
    const char* nome;
    std::string testo;
    std::vector<int32_t> righe;  // the lines told, in order
  };
  const caso casi[] = {
      {"a note before the heading, its comma splitting it", "[ una nota: citt\u00e0, ok ]\r\n[generale]\r\nx\r\n", {}},
      {"the same words after it", "[generale]\r\nnome citt\u00e0, ok\r\n", {2}},
      {"before and after", "citt\u00e0\r\n[GENERALE]\r\ncitt\u00e0\r\n", {3}},
      {"on the heading's own line, before it", "citt\u00e0, [generale]\r\ncitt\u00e0\r\n", {2}},
      {"no heading: nothing is read", "citt\u00e0\r\nstazione, citt\u00e0\r\n", {}},
  };
  for (const caso& c : casi) {
    std::string testo = c.testo;
    std::vector<int32_t> righe;
    for (const avviso_registrato& a : rendi_1252(testo, "L")) righe.push_back(a.riga);
    EXPECT_EQ(righe, c.righe) << c.nome;
    EXPECT_EQ(testo.find("\xC3"), std::string::npos) << c.nome << ": converted all the same";
  }
}
