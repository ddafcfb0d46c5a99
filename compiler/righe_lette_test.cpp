#include "compiler/righe_lette.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "compiler/descrizioni.h"
#include "compiler/memorizza_dati.h"
#include "prove/scenario_piccolo.h"

namespace {

struct compilato {
  std::unique_ptr<scenario_compilato> p;
  explicit compilato(const std::string& linea, const std::string& treno)
      : p(std::make_unique<scenario_compilato>(memorizza_dati("Piccolo", "7", 1, {"L", linea}, {"T", treno}))) {}
};

std::string luogo(const riga_letta& r) {
  return std::string(r.nel_treno ? "T:" : "L:") + std::to_string(r.riga) + ":" + std::to_string(r.colonna);
}

}  // namespace

TEST(RigheLette, OgniRigaApplicataColSuoPosto) {
  compilato c(linea_piccola(), treno_piccolo());
  const scenario_compilato& f = *c.p;
  ASSERT_TRUE(f.registro.errori.empty());
  EXPECT_TRUE(f.registro.avvisi.empty());
  struct attesa {
    tipo_riga tipo;
    const char* luogo;
    int32_t posizione, valore, lunghezza;
  } attese[] = {
      {tipo_riga::lunghezza, "L:2:1", 0, 20000, 0},
      {tipo_riga::progressiva, "L:3:1", 0, 0, 0},
      {tipo_riga::progressiva, "L:4:1", 0, 0, 0},
      {tipo_riga::progressiva, "L:5:1", 0, 0, 0},
      {tipo_riga::sfondo, "L:6:1", 0, 1, 0},
      {tipo_riga::sfondo, "L:7:1", 0, 0, 0},
      {tipo_riga::sfondo, "L:8:1", 0, 0, 0},
      {tipo_riga::ripetizione, "L:9:1", 0, 0, 0},
      {tipo_riga::curva, "L:11:1", 1000, 0, 600},
      {tipo_riga::curva, "L:12:1", 3000, 0, 200},
      {tipo_riga::pendenza, "L:14:1", 2000, 6, 0},
      {tipo_riga::pendenza, "L:15:1", 4000, -3, 0},
      {tipo_riga::montagna, "L:17:1", 10000, 11, 11000},
      {tipo_riga::cartello_vmax, "L:19:1", 1050, 0, 0},
      {tipo_riga::indicatore_km, "L:21:1", 9950, 80, 0},
      {tipo_riga::vetture, "T:2:1", 0, 14, 0},
      {tipo_riga::massa_frenata, "T:3:1", 0, 130, 0},
      {tipo_riga::sabbia, "T:4:1", 0, 200, 0},
      {tipo_riga::orologio, "T:5:1", 0, 0, 0},
      {tipo_riga::aderenza, "T:7:1", 0, 100, 0},
      {tipo_riga::velocita, "T:9:1", 0, 160, 0},
      {tipo_riga::velocita, "T:10:1", 6000, 120, 0},
      {tipo_riga::stazione, "T:12:1", 0, 1, 500},
      {tipo_riga::stazione, "T:13:1", 5000, 2, 400},
      {tipo_riga::rallentamento, "T:15:1", 8000, 60, 600},
      {tipo_riga::segnale, "T:17:1", 2000, 0, 0},
  };
  ASSERT_EQ(f.registro.righe_lette.size(), std::size(attese));
  for (std::size_t i = 0; i < std::size(attese); ++i) {
    const riga_letta& r = f.registro.righe_lette[i];
    const attesa& a = attese[i];
    EXPECT_EQ(r.tipo, a.tipo) << i << " " << parola_riga(a.tipo);
    EXPECT_EQ(luogo(r), a.luogo) << parola_riga(a.tipo);
    EXPECT_EQ(r.posizione, a.posizione) << a.luogo;
    EXPECT_EQ(r.valore, a.valore) << a.luogo;
    EXPECT_EQ(r.lunghezza, a.lunghezza) << a.luogo;
  }

  // Each cell names the row that laid what it holds.
  ASSERT_EQ(f.registro.origini_celle.size(), f.scenario.percorso.size());
  EXPECT_EQ(descrivi_cella(f.scenario, f.registro, 41), "cell 41 holds the signal from T:17");
  EXPECT_EQ(f.registro.origini_celle[39].segno, 25) << "the signal's approach mark";
  EXPECT_EQ(descrivi_cella(f.scenario, f.registro, 103), "cell 103 holds the station point of 'BORGO' from T:13");
  EXPECT_EQ(f.registro.origini_celle[102].segno, 23) << "the station's approach mark";
  EXPECT_EQ(descrivi_cella(f.scenario, f.registro, 161), "cell 161 holds the slow order start from T:15");
  EXPECT_EQ(descrivi_cella(f.scenario, f.registro, 22), "cell 22 holds the maximum-speed board from L:19");
  EXPECT_EQ(f.registro.origini_celle[203].elemento, 12) << "a mountain marker, free for a feature, from L:17";
  EXPECT_EQ(descrivi_cella(f.scenario, f.registro, 40), "cell 40 is free");
}

TEST(RigheLette, UnaRigaRifiutataNonELetta) {
  // The second signal on the first's cell is refused: it laid nothing.
  compilato c(linea_piccola(), treno_piccolo("segnale,    2000,   2, 4, 1,  0, 0,    1,  3,1,0, 0\r\n"));
  const scenario_compilato& f = *c.p;
  ASSERT_EQ(f.registro.errori.size(), 1u);
  int segnali = 0;
  for (const riga_letta& r : f.registro.righe_lette) segnali += r.tipo == tipo_riga::segnale;
  EXPECT_EQ(segnali, 1);
  EXPECT_EQ(f.registro.righe_lette.back().riga, 17);

  // A keyword with two rows' words reads both rows, each logged at the keyword.
  compilato d(linea_piccola(), treno_piccolo("velocita aderenza,  9000, 100,  9000, 90\r\n"));
  ASSERT_TRUE(d.p->registro.errori.empty());
  const auto& r = d.p->registro.righe_lette;
  ASSERT_GE(r.size(), 2u);
  EXPECT_EQ(r[r.size() - 2].tipo, tipo_riga::velocita);
  EXPECT_EQ(r.back().tipo, tipo_riga::aderenza);
  EXPECT_EQ(r.back().riga, 18);
  EXPECT_EQ(r.back().colonna, 1);
  EXPECT_EQ(r.back().valore, 90);
}
