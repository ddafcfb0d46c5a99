#include "packer/codici_gara.h"

#include <gtest/gtest.h>

namespace {

scenario con_nomi(const std::string& treno, const std::string& nome) {
  scenario f;
  f.tabella_stazioni[86].nome = treno;
  f.tabella_stazioni[85].nome = nome;
  return f;
}

}  // namespace

TEST(CodiciGara, DaiVenticinquePrimiCaratteri) {
  struct caso {
    const char* treno;
    const char* scenario;
    int32_t og, st;
  };
  const caso casi[] = {
      {"12345", "ABCDEFGHIJKLMNOPQRST", 2385, 34455},
      {"12345", "abcdefghijklmnopqrst", 2385, 34455},  // case does not count
      {"ABCDEFGHIJKLMNOPQRST", "12345", 2385, 28905},  // the train number comes first
      {"", "", 2879, 37634},                           // the filler alone
      {"739", "Corvana_Telmisa", 2548, 35263},
      // Past the 25th character nothing counts, neither name nor filler.
      {"12345", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 2385, 34455},
  };
  for (const caso& c : casi) {
    const scenario f = con_nomi(c.treno, c.scenario);
    EXPECT_EQ(codice_gara_og(f), c.og) << c.treno << "/" << c.scenario;
    EXPECT_EQ(codice_gara_st(f), c.st) << c.treno << "/" << c.scenario;
  }
}

TEST(CodiciGara, LettereAccentateESegniDelCodiceAOttoBit) {
  // Accented capitals count as their small letters; the multiplication sign
  // (0xD7) is no letter and keeps its code, as does a byte above 0x7F.
  EXPECT_EQ(codice_gara_st(con_nomi("", "\xC9\x8A")), codice_gara_st(con_nomi("", "\xE9\x9A")));
  EXPECT_NE(codice_gara_st(con_nomi("", "\xD7")), codice_gara_st(con_nomi("", "\xF7")));
  const std::string alti(25, '\xFF');
  EXPECT_EQ(codice_gara_og(con_nomi(alti, "")), 6375);
  EXPECT_EQ(codice_gara_st(con_nomi(alti, "")), 82875);
}
