#include "formato/numeri.h"

#include <gtest/gtest.h>

TEST(Numeri, ArrotondaMetaAlPari) {
  struct caso { double x; double atteso; };
  const caso casi[] = {
      {2025 / 50.0, 40}, {2075 / 50.0, 42}, {40.5, 40}, {41.5, 42}, {-0.5, 0},
      {-1.5, -2}, {-2.5, -2}, {117 / 5.0, 23}, {118 / 5.0, 24}, {115 / 5.0, 23},
      {1277 / 5.0, 255}, {1278 / 5.0, 256}, {0.49999999999999994, 0}, {2586.8, 2587},
  };
  for (const caso& c : casi) EXPECT_EQ(arrotonda(c.x), c.atteso) << "x = " << c.x;
}

TEST(Numeri, ConversioniCheDevonoStareNellaLarghezza) {
  uint8_t u8 = 7;
  EXPECT_TRUE(converti(1277 / 5.0, u8));
  EXPECT_EQ(u8, 255);
  EXPECT_FALSE(converti(1278 / 5.0, u8));
  EXPECT_EQ(u8, 255) << "a failed conversion leaves the destination alone";
  EXPECT_TRUE(converti(-0.5, u8));
  EXPECT_EQ(u8, 0);
  EXPECT_FALSE(converti(-0.6, u8));

  int16_t i16 = 0;
  EXPECT_TRUE(converti(32767.4, i16));
  EXPECT_EQ(i16, 32767);
  EXPECT_FALSE(converti(32767.5, i16)) << "32767.5 rounds to 32768";
  EXPECT_TRUE(converti(-32768.5, i16)) << "-32768.5 rounds to -32768";
  EXPECT_EQ(i16, -32768);
  EXPECT_FALSE(converti(std::nan(""), i16));

  int32_t i32 = 0;
  EXPECT_TRUE(converti(2147483647.0, i32));
  EXPECT_FALSE(converti(2147483648.0, i32));
}

TEST(Numeri, BitBassi) {
  EXPECT_EQ(bassi_8(300), 44);      // an adhesion of 300 is stored as 44
  EXPECT_EQ(bassi_8(100 - 7), 93);  // gradient -7
  EXPECT_EQ(bassi_8(-1), 255);
  EXPECT_EQ(bassi_16(65536 + 80), 80);
  EXPECT_EQ(bassi_16(40000), -25536);
  EXPECT_EQ(bassi_16(-1), -1);
}
