#include "compiler/memorizza_dati.h"

#include <gtest/gtest.h>

#include "compiler/sorgenti_prova.h"

TEST(MemorizzaDati, SmokeProva) {
  prova_compilazione p(1);
  Form1& f = p.compila(linea_prova(358000, "curvad4, 10, 3\npendenza, 2000, 6\n"),
                       treno_prova("velocita, 0, 100\nsegnale, 2000, 2, 4, 1, 0, 0, 1, 3,1,0, 0\n"));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.percorso.size(), 7301u);
  EXPECT_FALSE(p.sorgenti_rimasti());
  for (auto& e : f.errori) std::printf("%d %s %d %d\n", e.codice, e.file.c_str(), e.riga, e.colonna);
}
