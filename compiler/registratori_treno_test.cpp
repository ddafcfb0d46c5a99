#include "compiler/registratori_treno.h"

#include <gtest/gtest.h>

#include <memory>

#include "compiler/codici_errore.h"

namespace {

std::unique_ptr<compilazione> con_percorso(std::size_t celle = 7301) {
  auto f = std::make_unique<compilazione>();
  f->scenario.percorso.assign(celle, cella_percorso{});
  return f;
}

bool stessa_griglia(const compilazione& a, const compilazione& b) { return a.scenario.percorso == b.scenario.percorso; }

}  // namespace

TEST(MemoSegnale, CelleDelSegnaleEDegliAvvisi) {
  struct caso {
    int32_t v[11];  // posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo
    int64_t cella;
    int16_t dato1, dato2, dato3, dato4;
    uint8_t tempo_segnale, primo_avviso;
  } casi[] = {
      {{2000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0}, 41, 43, 11, 0, 7, 0, 71},
      {{3000, 2, 4, 1, 1, 0, 2, 2, 1, 1, 0}, 61, 42, 11, 11, 8, 0, 81},
      {{224500, 2, 3, 1, 0, 0, 2, 3, 1, 0, 120}, 4491, 33, 11, 0, 8, 120, 81},
      {{5000, 2, 0, 0, 0, 1, 2, 0, 0, 0, 0}, 101, 0, 0, 0, 18, 0, 81},
      {{1025, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 22, 0, 0, 0, 6, 0, 61},   // 21.5 rounds to 22
      {{325, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 8, 0, 0, 0, 3, 0, 31},     // farthest mark on cell 0
  };
  for (const caso& c : casi) {
    auto f = con_percorso();
    int32_t tempo = c.v[10];
    ASSERT_TRUE(memo_segnale(*f, c.v[0], c.v[1], c.v[2], c.v[3], c.v[4], c.v[5], c.v[6], c.v[7], c.v[8], c.v[9], tempo))
        << c.v[0];
    const cella_percorso& s = f->scenario.percorso[c.cella];
    EXPECT_EQ(s.tipo, 1) << c.v[0];
    EXPECT_EQ(s.dato1, c.dato1) << c.v[0];
    EXPECT_EQ(s.dato2, c.dato2) << c.v[0];
    EXPECT_EQ(s.dato3, c.dato3) << c.v[0];
    EXPECT_EQ(s.dato4, c.dato4) << c.v[0];
    EXPECT_EQ(s.tempo_segnale, c.tempo_segnale) << c.v[0];
    for (int k = 1; k <= 4; ++k)
      EXPECT_EQ(f->scenario.percorso[c.cella - 2 * k].avviso_segnale, c.primo_avviso + k - 1) << c.v[0] << " k " << k;
    EXPECT_EQ(f->scenario.percorso[c.cella - 1].avviso_segnale, 0) << c.v[0];
    EXPECT_EQ(f->scenario.percorso[c.cella - 3].tipo, 0) << c.v[0];
  }
}

TEST(MemoSegnale, TempoAlzatoA101ESoloConSx2) {
  struct caso {
    int32_t sx, tempo;
    uint8_t tempo_segnale;
    int32_t tempo_dopo;
  } casi[] = {
      {2, 50, 101, 101}, {1, 50, 0, 101}, {2, 1, 101, 101},  {2, 100, 101, 101},
      {2, 0, 0, 0},      {2, 101, 101, 101}, {2, 300, 44, 300}, {2, -5, 251, -5},
  };
  for (const caso& c : casi) {
    auto f = con_percorso();
    int32_t tempo = c.tempo;
    ASSERT_TRUE(memo_segnale(*f, 2000, c.sx, 4, 1, 0, 0, 1, 3, 1, 0, tempo));
    EXPECT_EQ(f->scenario.percorso[41].tempo_segnale, c.tempo_segnale) << c.sx << " " << c.tempo;
    EXPECT_EQ(tempo, c.tempo_dopo) << c.sx << " " << c.tempo;
  }
}

TEST(MemoSegnale, CelleOccupateEFuoriPercorso) {
  struct caso {
    int32_t posizione;
    uint8_t tipo_prima;
    bool posato;
    int32_t codice;
  } casi[] = {
      {2000, 11, true, 0},  // a mountain marker gives way
      {2000, 10, false, errore_segnale_occupato},
      {2000, 3, false, errore_segnale_occupato},
      {2000, 12, false, errore_segnale_occupato},
      {324, 0, false, errore_segnale_fuori_percorso},  // the farthest mark would be cell -1
      {-2000, 0, false, errore_segnale_fuori_percorso},
  };
  for (const caso& c : casi) {
    auto f = con_percorso();
    f->scenario.percorso[41].tipo = c.tipo_prima;
    const auto prima = std::make_unique<compilazione>(*f);
    int32_t tempo = 50;
    EXPECT_EQ(memo_segnale(*f, c.posizione, 2, 4, 1, 0, 0, 1, 3, 1, 0, tempo), c.posato) << c.posizione;
    EXPECT_EQ(f->registro.codice_errore, c.codice) << c.posizione;
    if (!c.posato) {
      EXPECT_TRUE(stessa_griglia(*f, *prima)) << "a refused signal lays nothing: " << c.posizione;
      EXPECT_EQ(tempo, 50);
    } else {
      EXPECT_EQ(f->scenario.percorso[41].tipo, 1);
    }
  }

  // A taken cell is refused as taken, also where the marks would fall before the grid.
  auto g = con_percorso();
  g->scenario.percorso[7].tipo = 10;
  int32_t tempo = 0;
  EXPECT_FALSE(memo_segnale(*g, 300, 2, 4, 1, 0, 0, 1, 3, 1, 0, tempo));
  EXPECT_EQ(g->registro.codice_errore, errore_segnale_occupato);
}

TEST(MemoRallentamento, CelleDelRallentamento) {
  auto f = con_percorso();
  ASSERT_TRUE(memo_rallentamento(*f, 134500, 80, 800, 0, 1, 80));
  const struct {
    int64_t cella;
    uint8_t tipo;
    int16_t dato1, dato2, dato3;
  } attese[] = {
      {2667, 4, 80, 80, 0}, {2691, 3, 80, 80, 0}, {2707, 2, 80, 80, 0},
      {2666, 5, 1, 1, 0},   {2665, 5, 2, 2, 0},   {2664, 5, 3, 3, 0},   {2663, 5, 4, 4, 0},
  };
  for (const auto& a : attese) {
    const cella_percorso& c = f->scenario.percorso[a.cella];
    EXPECT_EQ(c.tipo, a.tipo) << a.cella;
    EXPECT_EQ(c.dato1, a.dato1) << a.cella;
    EXPECT_EQ(c.dato2, a.dato2) << a.cella;
    EXPECT_EQ(c.dato3, a.dato3) << a.cella;
  }
  EXPECT_EQ(f->scenario.percorso[2662].tipo, 0);
  EXPECT_EQ(f->scenario.percorso[2668].tipo, 0);

  auto g = con_percorso();
  ASSERT_TRUE(memo_rallentamento(*g, 324900, 60, 200, 1, 1, 60));
  EXPECT_EQ(g->scenario.percorso[6499].tipo, 3);
  EXPECT_EQ(g->scenario.percorso[6499].dato3, 1);
  EXPECT_EQ(g->scenario.percorso[6503].tipo, 2);
  EXPECT_EQ(g->scenario.percorso[6503].dato3, 1);
}

TEST(MemoRallentamento, AvvisoEContoSoloOltre1500) {
  auto f = con_percorso();
  ASSERT_TRUE(memo_rallentamento(*f, 1500, 30, 500, 0, 1, 30));
  for (int c = 0; c <= 30; ++c)
    EXPECT_EQ(f->scenario.percorso[c].tipo, 0) << "no warning board, no countdown: cell " << c;
  EXPECT_EQ(f->scenario.percorso[31].tipo, 3);
  EXPECT_EQ(f->scenario.percorso[41].tipo, 2);

  auto g = con_percorso();
  ASSERT_TRUE(memo_rallentamento(*g, 1550, 30, 500, 0, 1, 30));
  EXPECT_EQ(g->scenario.percorso[8].tipo, 4);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(g->scenario.percorso[7 - k].tipo, 5);
    EXPECT_EQ(g->scenario.percorso[7 - k].dato1, k + 1);
  }
  EXPECT_EQ(g->scenario.percorso[3].tipo, 0);
}

TEST(MemoRallentamento, SenzaSecondaVelocitaEFineSullInizio) {
  // d_v = 0: dato2 of every laid cell keeps what it held.
  auto f = con_percorso();
  for (auto& c : f->scenario.percorso) c.dato2 = 77;
  ASSERT_TRUE(memo_rallentamento(*f, 134500, 80, 800, 0, 1, 0));
  for (int64_t c : {2667, 2691, 2707, 2666, 2663}) EXPECT_EQ(f->scenario.percorso[c].dato2, 77) << c;
  EXPECT_EQ(f->scenario.percorso[2663].dato1, 4);

  // Shorter than 25 m: the end falls on the start, which is written last.
  auto g = con_percorso();
  ASSERT_TRUE(memo_rallentamento(*g, 5000, 40, 20, 1, 0, 40));
  EXPECT_EQ(g->scenario.percorso[101].tipo, 3);
  EXPECT_EQ(g->scenario.percorso[101].dato1, 40);
  EXPECT_EQ(g->scenario.percorso[102].tipo, 0);
}

TEST(MemoRallentamento, Rifiuti) {
  struct caso {
    const char* nome;
    int32_t x, l, f_ta;
    int64_t occupata;  // cell given a signal first, -1 for none
    int32_t codice;
    bool griglia_intatta;
  } casi[] = {
      {"warning board taken", 134500, 800, 1, 2667, errore_avviso_occupato, true},
      {"start taken", 134500, 800, 1, 2691, errore_inizio_occupato, true},
      {"end taken", 134500, 800, 1, 2707, errore_fine_occupato, true},
      {"countdown taken", 134500, 800, 1, 2664, errore_conto_occupato, false},
      // 2475: the board and the countdown base both round to cell 26.
      {"board on the countdown base", 2475, 800, 1, -1, errore_conto_occupato, false},
      {"end beyond the grid", 360000, 5000, 1, -1, errore_rallentamento_fuori_percorso, true},
      {"negative start", -3000, 800, 1, -1, errore_rallentamento_fuori_percorso, true},
      {"end before the grid", 1000, -2000, 0, -1, errore_rallentamento_fuori_percorso, true},
      // A taken cell tested before the end's is refused as taken.
      {"warning board taken, end beyond the grid", 134500, 500000, 1, 2667, errore_avviso_occupato, true},
      {"start taken, end beyond the grid", 134500, 500000, 1, 2691, errore_inizio_occupato, true},
      {"start taken, end before the grid", 1000, -2000, 0, 21, errore_inizio_occupato, true},
  };
  for (const caso& c : casi) {
    auto f = con_percorso();
    if (c.occupata >= 0) f->scenario.percorso[c.occupata].tipo = 1;
    const auto prima = std::make_unique<compilazione>(*f);
    EXPECT_FALSE(memo_rallentamento(*f, c.x, 80, c.l, 0, c.f_ta, 80)) << c.nome;
    EXPECT_EQ(f->registro.codice_errore, c.codice) << c.nome;
    EXPECT_EQ(stessa_griglia(*f, *prima), c.griglia_intatta) << c.nome;
  }

  // Refused countdown: board, start and end stay, no countdown cell is laid.
  auto f = con_percorso();
  f->scenario.percorso[2664].tipo = 1;
  EXPECT_FALSE(memo_rallentamento(*f, 134500, 80, 800, 0, 1, 80));
  EXPECT_EQ(f->scenario.percorso[2667].tipo, 4);
  EXPECT_EQ(f->scenario.percorso[2691].tipo, 3);
  EXPECT_EQ(f->scenario.percorso[2707].tipo, 2);
  for (int64_t c : {2666, 2665, 2663}) EXPECT_EQ(f->scenario.percorso[c].tipo, 0) << c;
  auto g = con_percorso();
  EXPECT_FALSE(memo_rallentamento(*g, 2475, 80, 800, 0, 1, 80));
  EXPECT_EQ(g->scenario.percorso[26].tipo, 4);
  EXPECT_EQ(g->scenario.percorso[25].tipo, 0);
}
