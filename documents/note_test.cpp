#include "documents/note.h"

#include <gtest/gtest.h>

#include "prove/documenti.h"

TEST(Note, SetteRigheComeScritte) {
  const auto righe = righe_documento(dati_note());
  ASSERT_EQ(righe.size(), 7u);
  struct caso { int numero; std::string_view testo; };
  const caso casi[] = {
      {1, "Simulazione del treno Intercity 739 'Cometa Argentea' nel tratto Corvana - Telmisa."},
      {2, "Il tratto Corvana-Gravelleno non rispecchia la realta' dal punto di vista planimetrico."},
      {3, "Il treno parte da Corvana con un ritardo di 10 minuti, facilmente recuperabili."},
      {4, "Buon divertimento"},
      {5, ""},
      {6, "                   AUTORE Anonimo"},
      // The contact line keeps its one trailing space.
      {7, "                  (autore.scenari@example.org) "},
  };
  for (const caso& c : casi) EXPECT_EQ(righe[c.numero - 1], c.testo) << "line " << c.numero;
}
