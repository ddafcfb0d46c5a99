#include "compiler/minimo.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Minimo, IlPrimoQuandoUguali) {
  EXPECT_EQ(minimo(4, 2), 2);
  EXPECT_EQ(minimo(2, 4), 2);
  // Equal values return the first argument itself.
  const double piu_zero = 0.0, meno_zero = -0.0;
  EXPECT_FALSE(std::signbit(minimo(piu_zero, meno_zero)));
  EXPECT_TRUE(std::signbit(minimo(meno_zero, piu_zero)));
}
