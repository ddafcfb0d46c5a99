#include "formato/scrivi_righe.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ScriviRighe, FermaAllaSentinellaConCrLfDopoOgniRiga) {
  const std::string_view righe[] = {"[generale]", "", "  due spazi ", sentinella, "mai scritta"};
  EXPECT_EQ(scrivi_righe(righe), "[generale]\r\n\r\n  due spazi \r\n");
}

TEST(ScriviRighe, TabellaSenzaSentinellaScriveAlPiuMilleUnaRighe) {
  std::vector<std::string_view> righe(1200, "r");
  EXPECT_EQ(scrivi_righe(righe).size(), 1001u * 3);
}
