#include "compiler/registratori_linea.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "compiler/codici_errore.h"
#include "compiler/fallimento_comune.h"

namespace {

// A build state with the grid of the 358 km line (cells 0 to 7300).
std::unique_ptr<compilazione> con_percorso(std::size_t celle = 7301) {
  auto f = std::make_unique<compilazione>();
  f->scenario.percorso.assign(celle, cella_percorso{});
  return f;
}

struct terna {
  int32_t primo, secondo, terzo;
  bool operator==(const terna&) const = default;
};

terna in(const compilazione& f, int slot) {
  const record_stazione& r = f.scenario.tabella_stazioni[slot];
  return {r.valore1, r.valore2, r.valore3};
}

}  // namespace

TEST(ProgressiveOrdina, OrdineDeiTerneNegliSlot81_83) {
  const terna z{0, 0, 0};
  struct caso {
    const char* nome;
    terna t, d, u;            // read into slots 81, 82, 83
    terna in81, in82, in83;   // expected after the ordering
  } casi[] = {
      {"all zero", z, z, z, z, z, z},
      {"descending stays", {300, 50, 0}, {200, 100, 0}, {100, 150, 0}, {300, 50, 0}, {200, 100, 0}, {100, 150, 0}},
      {"ascending reversed", {100, 50, 0}, {200, 100, 0}, {300, 150, 0}, {300, 150, 0}, {200, 100, 0}, {100, 50, 0}},
      {"largest shared: all cleared", {200, 50, 7}, {200, 100, 7}, {100, 150, 7}, z, z, z},
      {"tie below: the slot-83 triple to 82", {300, 1, 0}, {200, 2, 0}, {200, 3, 0}, {300, 1, 0}, {200, 3, 0}, {200, 2, 0}},
      {"middle largest, tie below", {100, 1, 0}, {300, 2, 0}, {100, 3, 0}, {300, 2, 0}, {100, 3, 0}, {100, 1, 0}},
      {"last largest, tie below", {100, 1, 0}, {100, 2, 0}, {300, 3, 0}, {300, 3, 0}, {100, 2, 0}, {100, 1, 0}},
      // First values summing to 0: the second values decide.
      {"uno's second above 0", {0, 10, 0}, {0, 20, 0}, {0, 30, 0}, {0, 30, 0}, {0, 20, 0}, {0, 10, 0}},
      {"due's second above 0", {0, 10, 0}, {0, 20, 0}, {0, 0, 0}, {0, 20, 0}, {0, 10, 0}, {0, 0, 0}},
      {"only tre's second above 0", {0, 10, 0}, {0, -5, 0}, {0, 0, 0}, {0, 10, 0}, {0, -5, 0}, {0, 0, 0}},
      {"sum 0 with first values set", {100, 0, 0}, {-100, 0, 0}, {0, 0, 0}, z, z, z},
      // A third value of 1 raises the second by 100 wherever the triple lands.
      {"third value 1", {100, 50, 1}, {200, 100, 0}, {300, 150, 1}, {300, 250, 1}, {200, 100, 0}, {100, 150, 1}},
  };
  for (const caso& c : casi) {
    auto f = con_percorso(1);
    for (auto [slot, t] : {std::pair{81, c.t}, {82, c.d}, {83, c.u}}) {
      f->scenario.tabella_stazioni[slot].valore1 = t.primo;
      f->scenario.tabella_stazioni[slot].valore2 = t.secondo;
      f->scenario.tabella_stazioni[slot].valore3 = t.terzo;
    }
    progressive_ordina(*f);
    EXPECT_EQ(in(*f, 81), c.in81) << c.nome;
    EXPECT_EQ(in(*f, 82), c.in82) << c.nome;
    EXPECT_EQ(in(*f, 83), c.in83) << c.nome;
  }

  auto f = con_percorso(1);
  f->scenario.tabella_stazioni[81] = {};
  f->scenario.tabella_stazioni[81].valore1 = 100;
  f->scenario.tabella_stazioni[81].valore2 = INT_MAX;
  f->scenario.tabella_stazioni[81].valore3 = 1;
  EXPECT_THROW(progressive_ordina(*f), fallimento_comune) << "a second value that overflows";
}

TEST(MemoMontagna, LeDueMontagneDellaLinea) {
  auto f = con_percorso();
  f->scenario.percorso[2715].tipo = 1;  // a signal already there keeps its cell
  ASSERT_TRUE(memo_montagna(*f, 135400, 137400, 11));
  ASSERT_TRUE(memo_montagna(*f, 204400, 209250, 11));
  EXPECT_EQ(f->numero_montagne, 2);
  EXPECT_EQ(f->inizio_montagne[2], 204400);
  EXPECT_EQ(f->fine_montagne[2], 209250);
  for (int c = 0; c <= 7300; ++c) {
    const bool in1 = c >= 2708 && c <= 2747, in2 = c >= 4088 && c <= 4184;
    EXPECT_EQ(f->scenario.percorso[c].montagna, in1 || in2 ? 1 : 0) << "cell " << c;
    const int primo = in1 ? 2708 : 4088;
    const int tipo_atteso = c == 2715 ? 1 : (in1 || in2) && (c - primo + 1) % 4 == 0 ? 11 : 0;
    EXPECT_EQ(f->scenario.percorso[c].tipo, tipo_atteso) << "cell " << c;
  }
}

TEST(MemoMontagna, TipiEDistanzaDallaPrecedente) {
  struct caso {
    const char* nome;
    int32_t inizio2, tipo2;
    uint8_t montagna;
    bool marcatori;
  } casi[] = {
      {"150 m after the last: type 3", 2150, 5, 3, false},
      {"151 m after: own type", 2151, 5, 5, false},
      {"overlapping: type 3", 1500, 5, 3, false},
      {"marked and close: 3 with markers", 2150, 15, 3, true},
      {"type 13: 3 with markers", 9000, 13, 3, true},
      {"type 5: no markers", 9000, 5, 5, false},
  };
  for (const caso& c : casi) {
    auto f = con_percorso();
    ASSERT_TRUE(memo_montagna(*f, 1000, 2000, 5));
    ASSERT_TRUE(memo_montagna(*f, c.inizio2, c.inizio2 + 1000, c.tipo2));
    const int64_t c0 = std::llround(c.inizio2 / 50.0);
    EXPECT_EQ(f->scenario.percorso[c0 + 5].montagna, c.montagna) << c.nome;
    EXPECT_EQ(f->scenario.percorso[c0 + 3].tipo, c.marcatori ? 11 : 0) << c.nome;
    EXPECT_EQ(f->scenario.percorso[c0 + 4].tipo, 0) << c.nome;
  }
}

TEST(MemoMontagna, RifiutiPrimaDiScrivereFuoriDalleTabelle) {
  // A span that lays no cell is still counted.
  auto f = con_percorso();
  ASSERT_TRUE(memo_montagna(*f, 5000, 5000, 11));
  EXPECT_EQ(f->numero_montagne, 1);
  EXPECT_EQ(f->scenario.percorso[100].montagna, 0);
  ASSERT_TRUE(memo_montagna(*f, -500, -500, 1)) << "lays nothing, so nothing is refused";

  struct caso {
    const char* nome;
    int32_t inizio, fine;
  } casi[] = {
      {"negative start", -100, 1000},
      {"end beyond the grid", 364000, 365100},  // last cell 7301
  };
  for (const caso& c : casi) {
    auto g = con_percorso();
    EXPECT_FALSE(memo_montagna(*g, c.inizio, c.fine, 11)) << c.nome;
    EXPECT_EQ(g->registro.codice_errore, errore_montagna_fuori_percorso) << c.nome;
    EXPECT_EQ(g->numero_montagne, 0) << c.nome;
  }
  auto g = con_percorso();
  ASSERT_TRUE(memo_montagna(*g, 364000, 365050, 11)) << "ends on the last cell, 7300";

  auto h = con_percorso();
  for (int i = 1; i <= 80; ++i) ASSERT_TRUE(memo_montagna(*h, i * 1000, i * 1000 + 500, 1));
  EXPECT_FALSE(memo_montagna(*h, 90000, 90500, 1));
  EXPECT_EQ(h->registro.codice_errore, errore_montagne_troppe);
  EXPECT_EQ(h->numero_montagne, 80);
  EXPECT_EQ(h->scenario.percorso[1800].montagna, 0);
}

TEST(MemoIndicatoriVMax, ValoriDelCartello) {
  struct caso {
    int32_t v[9];
    int16_t dato1, dato2, dato3, dato4;
  } casi[] = {
      {{1050, 140, 160, 160, 0, 140, 160, 160, 0}, 2828, 3232, 3232, 0},
      {{1050, 100, 105, 110, 2, 100, 105, 110, 2}, 2020, 2121, 2222, 22},
      {{1050, 60, 65, 70, 1, 62, 67, 73, 0}, 1212, 1313, 1415, 10},  // 12.4, 13.4, 14.6
  };
  for (const caso& c : casi) {
    auto f = con_percorso();
    f->scenario.percorso[22].tipo = 11;  // a mountain marker gives way
    ASSERT_TRUE(memo_indicatori_v_max(*f, c.v[0], c.v[1], c.v[2], c.v[3], c.v[4], c.v[5], c.v[6], c.v[7], c.v[8]));
    const cella_percorso& cella = f->scenario.percorso[22];
    EXPECT_EQ(cella.tipo, 6);
    EXPECT_EQ(cella.dato1, c.dato1);
    EXPECT_EQ(cella.dato2, c.dato2);
    EXPECT_EQ(cella.dato3, c.dato3);
    EXPECT_EQ(cella.dato4, c.dato4);
  }
}

TEST(MemoIndicatoriVMax, RifiutiEConversioniCheNonStanno) {
  auto f = con_percorso();
  f->scenario.percorso[22].tipo = 1;
  f->scenario.percorso[22].dato1 = 43;
  EXPECT_FALSE(memo_indicatori_v_max(*f, 1050, 140, 160, 160, 0, 140, 160, 160, 0));
  EXPECT_EQ(f->registro.codice_errore, errore_indicatore_occupato);
  EXPECT_EQ(f->scenario.percorso[22].tipo, 1);
  EXPECT_EQ(f->scenario.percorso[22].dato1, 43);

  auto g = con_percorso();
  EXPECT_FALSE(memo_indicatori_v_max(*g, -200, 140, 160, 160, 0, 140, 160, 160, 0));
  EXPECT_EQ(g->registro.codice_errore, errore_indicatore_fuori_percorso);

  // 20 * 1700 = 34000; a stripe count of 40000; 10 * 3300 = 33000.
  EXPECT_THROW(memo_indicatori_v_max(*g, 1050, 1700, 0, 0, 0, 0, 0, 0, 0), fallimento_comune);
  EXPECT_THROW(memo_indicatori_v_max(*g, 2050, 0, 0, 0, 40000, 0, 0, 0, 0), fallimento_comune);
  EXPECT_THROW(memo_indicatori_v_max(*g, 3050, 0, 0, 0, 3300, 0, 0, 0, 0), fallimento_comune);
  // The stripes are combined in 16 bits step by step: 10 * 3277 does not fit, whatever follows.
  EXPECT_THROW(memo_indicatori_v_max(*g, 5050, 0, 0, 0, 3277, 0, 0, 0, -10), fallimento_comune);
  EXPECT_TRUE(memo_indicatori_v_max(*g, 4050, 1638, 0, 0, 3276, 35, 0, 0, 7)) << "32767 fits";
  EXPECT_EQ(g->scenario.percorso[82].dato1, 32767);
  EXPECT_EQ(g->scenario.percorso[82].dato4, 32767);
}
