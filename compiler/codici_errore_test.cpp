#include "compiler/codici_errore.h"

#include <gtest/gtest.h>

TEST(CodiciErrore, TabellaOrdinataSenzaDoppioniEConDescrizioni) {
  int32_t precedente = 0;
  for (const voce_errore& v : tabella_errori()) {
    EXPECT_GT(v.codice, precedente) << "codes ascend, each once";
    EXPECT_FALSE(v.descrizione.empty()) << v.codice;
    precedente = v.codice;
  }
  EXPECT_EQ(descrizione_errore(25), descrizione_errore(errore_lettura));
  EXPECT_TRUE(descrizione_errore(14).empty());
}
