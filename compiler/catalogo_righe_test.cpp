#include "compiler/catalogo_righe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/codici_avviso.h"
#include "prove/sorgenti.h"

namespace {

// A row of kind `v` written with `parola` and as many values as the
// catalogue gives it: text where it reads a text, else a position that fits a
// 20 km line first and 0 for the rest (a route length of 20000, a station of
// a kind that touches no cell).
std::string riga_dal_catalogo(const voce_riga& v, std::string_view parola) {
  std::string riga(parola);
  for (std::size_t i = 0; i < v.valori.size(); ++i) {
    std::string valore = "0";
    if (v.valori[i].lettura == lettura_valore::testo) valore = "X";
    else if (v.tipo == tipo_riga::lunghezza) valore = "20000";
    else if (i == 0 && ha_posizione(v.tipo)) valore = "1000";
    else if (v.tipo == tipo_riga::stazione && i == 1) valore = "30";
    riga += ", " + valore;
  }
  return riga + "\n";
}

}  // namespace

// Every keyword the catalogue writes is read by the parser as its own kind,
// with exactly the catalogue's values: one more would swallow the next row's
// keyword (error 25), one fewer would leave a value read as a keyword (301).
TEST(CatalogoRighe, OgniParolaELettaConISuoiValori) {
  for (const voce_riga& v : catalogo_righe()) {
    ASSERT_FALSE(v.forme.empty()) << v.parola;
    ASSERT_FALSE(v.valori.empty()) << v.parola;
    for (const forma_parola& forma : v.forme) {
      const std::string riga = riga_dal_catalogo(v, forma.parola);
      std::string linea, treno = treno_prova();
      tipo_riga dopo = tipo_riga::sfondo;
      switch (v.sezione) {
        case sezione_riga::generale_linea:
          linea = "[generale]\n" + riga + "sfondo due, 0\n" +
                  (v.tipo == tipo_riga::lunghezza ? "" : "lunghezza percorso, 20000\n") + "[curve]\n[fine]\n";
          break;
        case sezione_riga::corpo_linea:
          linea = linea_prova(20000, riga + "pendenza, 500, 0\n");
          dopo = tipo_riga::pendenza;
          break;
        case sezione_riga::treno:
          linea = linea_prova(20000);
          treno = treno_prova(riga + "sabbia, 5\n");
          dopo = tipo_riga::sabbia;
          break;
      }
      auto p = compila_prova(linea, treno, 1);
      const registro& f = p->f.registro;
      EXPECT_TRUE(f.errori.empty()) << riga << "error " << (f.errori.empty() ? 0 : f.errori[0].codice);
      for (const avviso_registrato& a : f.avvisi)
        EXPECT_NE(a.codice, avviso_campo_ignorato) << riga << a.testo;
      // The row and the one after it, in their source.
      std::vector<tipo_riga> lette;
      for (const riga_letta& r : f.righe_lette)
        if (r.nel_treno == (v.sezione == sezione_riga::treno) && (r.tipo == v.tipo || r.tipo == dopo))
          lette.push_back(r.tipo);
      ASSERT_GE(lette.size(), 2u) << riga;
      EXPECT_EQ(lette[lette.size() - 2], v.tipo) << riga;
      EXPECT_EQ(lette.back(), dopo) << riga;
    }
  }
}

// What the packer makes of a value, with the figures of the reference's own examples.
TEST(CatalogoRighe, IlValoreComeLoTieneIlPacker) {
  struct caso {
    tipo_riga tipo;
    int indice;
    std::vector<int64_t> valori;
    const char* atteso;
  } casi[] = {
      {tipo_riga::velocita, 1, {0, 117}, "kept as 23 (the speed divided by 5, rounded): it reads 115 km/h"},
      {tipo_riga::velocita, 1, {0, 120}, "kept as 24 (the speed divided by 5)"},
      {tipo_riga::pendenza, 0, {2025, 6}, "it starts in cell 40 (2000 m)"},  // 40.5 rounds to 40
      {tipo_riga::pendenza, 1, {2000, 6}, "kept as 106 (the gradient plus 100)"},
      {tipo_riga::pendenza, 1, {2000, 160}, "kept as 4, which reads back as a gradient of -96"},
      {tipo_riga::aderenza, 1, {0, 300}, "kept in 8 bits as 44"},
      {tipo_riga::aderenza, 1, {0, 100}, ""},
      {tipo_riga::segnale, 0, {1025, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0},
       "the signal stands in cell 22 (1100 m), its approach marks in cells 20 to 14"},
      {tipo_riga::segnale, 2, {2000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0}, "dato1 = 10 x 4 + 3 = 43"},
      {tipo_riga::segnale, 5, {2000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0},
       "dato4 = 10 x 0 + 3 x 2 + 1 = 7; approach marks 71 to 74"},
      {tipo_riga::segnale, 10, {2000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 50}, "kept as 101"},
      {tipo_riga::segnale, 10, {2000, 1, 4, 1, 0, 0, 1, 3, 1, 0, 50}, "not kept: sx is not 2"},
      {tipo_riga::cartello_vmax, 1, {1050, 140, 160, 160, 0, 140, 160, 160, 0}, "dato1 = 20 x 140 + 140 / 5 = 2828"},
      {tipo_riga::rallentamento, 0, {134500, 80, 800, 0, 1, 80},
       "the start stands in cell 2691 (134550 m), the warning board in cell 2667 (133350 m)"},
      {tipo_riga::rallentamento, 2, {134500, 80, 800, 0, 1, 80}, "the end stands in cell 2707 (135350 m)"},
      {tipo_riga::stazione, 0, {10900, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
       "span 10600 to 11200 m; station point in cell 223 (11150 m)"},
      {tipo_riga::stazione, 1, {5000, 28, 200, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0},
       "span 4900 to 5100 m; no cell is touched"},
      {tipo_riga::stazione, 14, {0, 8, 500, 1, 0, 0, 4, 1, 0, 2, 1, 1, 1, 17, 13, 0},
       "the time is kept as 61980 s from midnight (17:13:00)"},
      {tipo_riga::montagna, 2, {135400, 137400, 11}, "kept as type 1, with a marker every 200 m"},
      {tipo_riga::lunghezza, 0, {20000}, "the grid has cells 0 to 540; the line plan runs to 27000 m"},
      // Too little read, or a value no arithmetic is tried on: nothing said.
      {tipo_riga::segnale, 2, {2000, 2, 4}, ""},
      {tipo_riga::velocita, 1, {0, int64_t{1} << 50}, ""},
  };
  for (const caso& c : casi)
    EXPECT_EQ(valore_memorizzato(c.tipo, c.indice, c.valori), c.atteso)
        << parola_riga(c.tipo) << " value " << c.indice;
}
