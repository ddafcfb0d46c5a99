#include "documents/note.h"

#include <gtest/gtest.h>

#include "build/fasi.h"
#include "build/nomi_file.h"
#include "prove/documenti.h"
#include "prove/cartella.h"

namespace {

Form1 scenario(const cartella_prova& dir) {
  Form1 f;
  nomina_scenario(f, dir.percorso);
  return f;
}

}  // namespace

TEST(Note, SetteRigheComeScritte) {
  cartella_prova dir;
  const Form1 f = scenario(dir);
  dati_note(f);
  const auto righe = leggi_righe_documento(file_note(f));
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
