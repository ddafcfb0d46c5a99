#include "compiler/lettore_campi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Reads every field of `testo` as text.
std::vector<std::string> campi_di(std::string_view testo) {
  lettore_campi l = apri_campi(testo);
  std::vector<std::string> out;
  std::string campo;
  while (leggi_testo(l, campo)) out.push_back(campo);
  EXPECT_TRUE(fine_campi(l));
  return out;
}

}  // namespace

TEST(LettoreCampi, TestiSpaziEFineRiga) {
  using v = std::vector<std::string>;
  struct caso {
    const char* testo;
    v attesi;
  } casi[] = {
      {"[generale]\r\nsfondo uno,    1\r\n", v{"[generale]", "sfondo uno", "1"}},
      // Blanks inside a text stay; blanks before and after it do not.
      {"  cartello_indicatore,  99950,   (Km 99+996)  \r\n", v{"cartello_indicatore", "99950", "(Km 99+996)"}},
      {"\ta b\t,c", v{"a b", "c"}},
      // Fields are read regardless of lines; blank lines hold no field.
      {"a\r\n\r\n   \r\n\tb\r\n\r\n", v{"a", "b"}},
      {"a\nb\rc\r\n", v{"a", "b", "c"}},
      // Between two commas, or after a comma at a line end, stands an empty field.
      {"a,,b", v{"a", "", "b"}},
      {"a,\r\nb", v{"a", "", "b"}},
      {"a, \r\n\r\nb", v{"a", "", "b"}},
      {"a,", v{"a", ""}},
      // A double quote is an ordinary character: no quoting, a comma still ends the field.
      {"\"Porta, Nuova\",x", v{"\"Porta", "Nuova\"", "x"}},
      {"", v{}},
      {" \r\n \r\n", v{}},
  };
  for (const caso& c : casi) EXPECT_EQ(campi_di(c.testo), c.attesi) << "text: " << c.testo;
}

TEST(LettoreCampi, NumeriFinisconoAVirgolaSpazioOFineRiga) {
  // The clock row: three numbers apart by blanks, one blank before the line end.
  lettore_campi l = apri_campi("orologio,    17              12            30 \r\n[fine]\r\n");
  std::string parola;
  int64_t n = 0;
  ASSERT_TRUE(leggi_testo(l, parola));
  EXPECT_EQ(parola, "orologio");
  for (int64_t atteso : {17, 12, 30}) {
    ASSERT_TRUE(leggi_numero(l, -32768, 32767, n));
    EXPECT_EQ(n, atteso);
  }
  ASSERT_TRUE(leggi_testo(l, parola));
  EXPECT_EQ(parola, "[fine]");
  EXPECT_TRUE(fine_campi(l));
  EXPECT_FALSE(leggi_numero(l, -32768, 32767, n)) << "a read past the end fails";
  EXPECT_FALSE(leggi_testo(l, parola));

  // A number, blanks, then its comma: one field, and the next follows the comma.
  l = apri_campi("5   ,-7,x");
  ASSERT_TRUE(leggi_numero(l, -100, 100, n));
  EXPECT_EQ(n, 5);
  ASSERT_TRUE(leggi_numero(l, -100, 100, n));
  EXPECT_EQ(n, -7);
  ASSERT_TRUE(leggi_testo(l, parola));
  EXPECT_EQ(parola, "x");
}

TEST(LettoreCampi, NumeriNellaLarghezzaDellaDestinazione) {
  constexpr int64_t i32_min = -2147483648LL, i32_max = 2147483647LL;
  struct caso {
    const char* testo;
    int64_t minimo, massimo;
    bool letto;
    int64_t valore;
  } casi[] = {
      {"2147483647", i32_min, i32_max, true, 2147483647LL},
      {"-2147483648", i32_min, i32_max, true, i32_min},
      {"2147483648", i32_min, i32_max, false, 0},
      {"99999999999999999999999", i32_min, i32_max, false, 0},
      {"32767", -32768, 32767, true, 32767},
      {"32768", -32768, 32767, false, 0},
      {"-32769", -32768, 32767, false, 0},
      {"255", 0, 255, true, 255},
      {"256", 0, 255, false, 0},
      {"-1", 0, 255, false, 0},
      {"007", 0, 255, true, 7},
      {"-0", 0, 255, true, 0},
      // Fields that hold no whole number.
      {"12a", i32_min, i32_max, false, 0},
      {"1.5", i32_min, i32_max, false, 0},
      {"+5", i32_min, i32_max, false, 0},
      {"-", i32_min, i32_max, false, 0},
      {"--5", i32_min, i32_max, false, 0},
      {"dodici", i32_min, i32_max, false, 0},
      {",5", i32_min, i32_max, false, 0},  // an empty field
  };
  for (const caso& c : casi) {
    lettore_campi l = apri_campi(c.testo);
    int64_t n = -99;
    EXPECT_EQ(leggi_numero(l, c.minimo, c.massimo, n), c.letto) << c.testo;
    EXPECT_EQ(n, c.letto ? c.valore : -99) << c.testo;
  }
}

TEST(LettoreCampi, FineDelFileQuandoNonRestaAlcunCampo) {
  lettore_campi l = apri_campi("pendenza, 2000, 6\r\n[fine]\r\n\r\n   \r\n");
  std::string campo;
  int64_t n = 0;
  ASSERT_TRUE(leggi_testo(l, campo));
  ASSERT_TRUE(leggi_numero(l, -1000000, 1000000, n));
  ASSERT_TRUE(leggi_numero(l, -1000000, 1000000, n));
  EXPECT_FALSE(fine_campi(l));
  ASSERT_TRUE(leggi_testo(l, campo));
  EXPECT_TRUE(fine_campi(l)) << "trailing blank lines hold no field";

  // A comma at the very end announces one more, empty, field.
  l = apri_campi("x,");
  ASSERT_TRUE(leggi_testo(l, campo));
  EXPECT_FALSE(fine_campi(l));
  ASSERT_TRUE(leggi_testo(l, campo));
  EXPECT_EQ(campo, "");
  EXPECT_TRUE(fine_campi(l));
}

TEST(LettoreCampi, RigaEColonnaDellUltimoCampo) {
  lettore_campi l = apri_campi("\r\n  segnale,  2000\r\nx\n\n\tabc , 12  99");
  std::string campo;
  int64_t n = 0;
  struct atteso {
    bool testo;
    int32_t riga, colonna;
  } attesi[] = {{true, 2, 3}, {false, 2, 13}, {true, 3, 1}, {true, 5, 2}, {false, 5, 8}, {false, 5, 12}};
  for (const atteso& a : attesi) {
    ASSERT_TRUE(a.testo ? leggi_testo(l, campo) : leggi_numero(l, 0, 10000, n));
    EXPECT_EQ(l.ultimo.riga, a.riga);
    EXPECT_EQ(l.ultimo.colonna, a.colonna);
  }
  // A faulty number is named where it stands.
  l = apri_campi("a\r\n  1x2");
  ASSERT_TRUE(leggi_testo(l, campo));
  EXPECT_FALSE(leggi_numero(l, 0, 10000, n));
  EXPECT_EQ(l.ultimo.riga, 2);
  EXPECT_EQ(l.ultimo.colonna, 3);
}
