#include "documents/progressiva.h"

#include <gtest/gtest.h>

#include <array>

TEST(Progressiva, LaRiferimentoPiuAltoNonOltreIlPunto) {
  // The three references as the compiler leaves them: slot 81 the largest
  // first value, slot 83 the smallest.
  using terne = std::array<std::array<int32_t, 3>, 3>;
  struct caso {
    const char* nome;
    terne slot;  // 81, 82, 83: first, second, third
    int64_t posizione, atteso;
  };
  const terne incorporata = {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}};
  const terne tre = {{{200000, 250000, 0}, {100000, 99996 + 4, 0}, {50000, 60000, 0}}};
  const caso casi[] = {
      {"no references: the route position", incorporata, 0, 0},
      {"no references", incorporata, 272650, 272650},
      {"before every reference", tre, 49950, 49950},
      {"at the first reference", tre, 50000, 60000},
      {"after the first", tre, 99950, 109950},
      {"at the second", tre, 100000, 100000},
      {"after the second", tre, 150000, 150000},
      {"after the third", tre, 250000, 300000},
      // From the start of the route: one reference at 0 moves every kilometre.
      {"one reference at 0", {{{0, 5000, 0}, {0, 0, 0}, {0, 0, 0}}}, 1000, 6000},
      {"one reference at 0, third value 1 already added", {{{0, 100, 1}, {0, 0, 0}, {0, 0, 0}}}, 0, 100},
      // Equal first values: the higher slot, as the ordering chose it.
      {"equal first values", {{{300, 900, 0}, {200, 700, 0}, {200, 400, 0}}}, 250, 750},
      // A line whose kilometres count down is not what the references say:
      // they always grow with the route.
      {"a kilometre below the position", {{{10000, 2000, 0}, {0, 0, 0}, {0, 0, 0}}}, 12000, 4000},
  };
  for (const caso& c : casi) {
    scenario f;
    for (int i = 0; i < 3; ++i) {
      record_stazione& r = f.tabella_stazioni[slot_progressiva_alta + i];
      r.valore1 = c.slot[i][0];
      r.valore2 = c.slot[i][1];
      r.valore3 = c.slot[i][2];
    }
    EXPECT_EQ(progressiva(f, c.posizione), c.atteso) << c.nome;
  }
}
