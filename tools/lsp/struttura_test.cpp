#include "tools/lsp/struttura.h"

#include <gtest/gtest.h>

// The rows as the editor sees them: each keyword and its values where they
// stand, as the parsers read them.
TEST(StrutturaLsp, RigheEValoriDoveStanno) {
  const std::string linea =
      "note before\n[generale]\nlunghezza percorso, 20000\n[ a comment ]\nsfondo uno, 1\n"
      "[curve]\npendenza,   2000,  6\n-[ passed over ]\ncartello_indicatore, 950, (Km 1)\nmontagna, 100\npendenza, 5\n";
  const struttura_sorgente s = leggi_struttura(linea, false);
  ASSERT_TRUE(s.con_generale);
  EXPECT_EQ(s.generale.riga, 2);
  // The comment without its hyphen ends the general section, as the parser reads it.
  EXPECT_EQ(s.fine_generale.riga, 4);
  EXPECT_EQ(s.intestazioni.size(), 2u) << "[generale] and [curve]; a comment is no heading";
  ASSERT_EQ(s.righe.size(), 5u) << "the route length, then the body: sfondo uno is no body row";
  EXPECT_EQ(s.righe[0].tipo, tipo_riga::lunghezza);
  const riga_sorgente& p = s.righe[1];
  EXPECT_EQ(p.tipo, tipo_riga::pendenza);
  ASSERT_EQ(p.valori.size(), 2u);
  EXPECT_EQ(p.valori[1].riga, 7);
  EXPECT_EQ(p.valori[1].colonna, 20);
  EXPECT_EQ(p.valori[1].fine, 21);
  EXPECT_TRUE(p.valori[1].numero);
  EXPECT_EQ(p.valori[1].valore, 6);
  EXPECT_EQ(s.righe[2].valori[1].testo, "(Km 1)");
  // A value missing: the row ends before the next keyword, which is read as a row.
  EXPECT_EQ(s.righe[3].tipo, tipo_riga::montagna);
  EXPECT_EQ(s.righe[3].valori.size(), 1u);
  EXPECT_EQ(s.righe[4].tipo, tipo_riga::pendenza);
  EXPECT_EQ(s.righe[4].valori.size(), 1u);

  sezione_riga sezione{};
  EXPECT_FALSE(sezione_a(s, 1, 1, sezione)) << "before [generale] nothing is read";
  ASSERT_TRUE(sezione_a(s, 3, 1, sezione));
  EXPECT_EQ(sezione, sezione_riga::generale_linea);
  ASSERT_TRUE(sezione_a(s, 5, 1, sezione));
  EXPECT_EQ(sezione, sezione_riga::corpo_linea);
}
