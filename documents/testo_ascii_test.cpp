#include "documents/testo_ascii.h"

#include <gtest/gtest.h>

TEST(TestoAscii, LettereVicineInAsciiSemplice) {
  struct caso {
    std::string_view testo, atteso;
  };
  const caso casi[] = {
      {"CORVANA", "CORVANA"},
      {"SANT'ERMIDA", "SANT'ERMIDA"},
      // UTF-8: a grave or acute accent as an apostrophe, other marks dropped.
      {"realt\xc3\xa0", "realta'"},
      {"CITT\xc3\x80", "CITTA'"},
      {"Perch\xc3\xa9 cos\xc3\xac", "Perche' cosi'"},
      {"M\xc3\xbcller Ib\xc3\xa1\xc3\xb1\x65z", "Muller Iba'nez"},
      {"Stra\xc3\x9f\x65 \xc3\x86gir", "Strasse AEgir"},
      {"\xc3\x87\x61\xc3\xa7\xc3\xa3o", "Cacao"},
      // Latin-1: the same letters, one byte each.
      {"realt\xe0", "realta'"},
      {"M\xfcller \xc8 \xf1", "Muller E' n"},
      {"\xd7\xf7\xdf\xff", "??ssy"},
      // A no-break space is a space, in either encoding.
      {"A\xc2\xa0" "B\xa0" "C", "A B C"},
      // Other scripts and symbols, a character beyond the BMP: one '?' each.
      {"\xce\x91\xce\xb8\xce\xae\xce\xbd\xce\xb1", "?????"},
      {"\xe2\x82\xac 5", "? 5"},
      {"\xf0\x9f\x9a\x82", "?"},
      // Control characters and a tab.
      {"A\tB\x01\x7f", "A?B??"},
      // Not UTF-8: a sequence cut short, a lone continuation byte, an overlong
      // form and a surrogate are read byte by byte as Latin-1.
      {"\xc3", "A"},
      {"\xa9x", "?x"},
      {"\xc0\xaf", "A'?"},
      {"\xed\xa0\x80", "i' ?"},
      {"", ""},
  };
  for (const caso& c : casi) EXPECT_EQ(in_ascii(c.testo), c.atteso) << visibile(c.testo);
}

TEST(TestoAscii, VisibileETaglia) {
  EXPECT_EQ(visibile("Citt\xc3\xa0\\\n"), "Citt\\xc3\\xa0\\\\\\x0a");
  EXPECT_EQ(taglia("ROCCAFIALDA", 5), "ROCCA");
  EXPECT_EQ(taglia("ROCCA", 5), "ROCCA");
  EXPECT_EQ(taglia("", 3), "");
}
