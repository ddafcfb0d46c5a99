// The train sheet's times from the fastest run, on a run whose numbers can be
// worked by hand.
#include "documents/orari_marcia.h"

#include <gtest/gtest.h>

#include "prove/derivati.h"
#include "prove/documenti.h"
#include "prove/treno_costante.h"

using namespace prova_derivati;

namespace {

constexpr int32_t ore(int h, int m, int s = 0) { return h * 3600 + m * 60 + s; }

// A level 20 km route at 100 km/h: stops A (0 m, 8:00), B (10 km, 8:10) and D
// (20 km, arrival 8:22), stations P1 and P2 passed midway, a kilometre board
// at 12 km. With acceleration and braking both a constant 0.5 m/s² the run
// between two stops is symmetric: it passes the midway station at half its
// time. Its fastest time over 10 km is 10000 / 27.78 + 27.78 / 0.5 = 415.56 s.
struct corsa_a_mano {
  scenario f = percorso_vuoto(20000);
  marcia m;
  corsa_a_mano() {
    metti_velocita(f, 0, 100);
    metti_stazione(f, 0, "A", ore(8, 0));
    metti_stazione(f, 5000, "P1");
    metti_stazione(f, 10000, "B", ore(8, 10));
    metti_stazione(f, 15000, "P2");
    metti_stazione(f, 20000, "D", ore(8, 22));
    metti_cartello(f, 12000, "(Km 12)");
    m = calcola_marcia(f, modello_da_scenario(f, opzioni_costanti(0.5, 0.5)));
  }
};

// The time and Rec cells of each row of the sheet, in order.
std::vector<std::pair<std::string, std::string>> tempi_e_recupero(const documenti_derivati& d) {
  std::vector<std::pair<std::string, std::string>> r;
  for (const riga_scheda& x : d.scheda.righe) {
    const std::vector<std::string> c = celle(riga_tabella_scheda(x));
    r.emplace_back(c.at(5), c.at(6));
  }
  return r;
}

}  // namespace

TEST(OrariMarcia, LeCinqueFormeDellaCellaEIlRecupero) {
  const corsa_a_mano c;
  ASSERT_EQ(c.m.sezioni.size(), 2u);
  struct caso {
    std::optional<int32_t> partenza;  // the sheet's own departure
    std::vector<std::pair<std::string, std::string>> righe;
  };
  const caso casi[] = {
      // The first section: 480 s scheduled (8:00 to the arrival 8:08, a dwell
      // of 120 s before 8:10), margin 64.4 s: 1.0; P1 at 8:04. The second: 720
      // s, margin 304.4 s: 5.0; P2 at 8:10 + 360 s.
      {std::nullopt,
       {{"          08.00 ", "     "},
        {"      08.04     ", "     "},
        {"  08.08 - 08.10 ", " 1.0 "},
        {"                ", "     "},  // the board
        {"      08.16     ", "     "},
        {" 08.22          ", " 5.0 "}}},
      // Departing 7:56 by the sheet: 720 s to B, margin 304.4 s: 5.0; P1 at
      // 7:56 + 360 s. The second section as before.
      {ore(7, 56),
       {{"          07.56 ", "     "},
        {"      08.02     ", "     "},
        {"  08.08 - 08.10 ", " 5.0 "},
        {"                ", "     "},
        {"      08.16     ", "     "},
        {" 08.22          ", " 5.0 "}}},
      // A departure later than the train's own: the first section is shorter
      // than the fastest run, its margin negative (240 - 415.6 s: -3.0).
      {ore(8, 4),
       {{"          08.04 ", "     "},
        {"      08.06     ", "     "},
        {"  08.08 - 08.10 ", "-3.0 "},
        {"                ", "     "},
        {"      08.16     ", "     "},
        {" 08.22          ", " 5.0 "}}},
  };
  for (const caso& k : casi) {
    const documenti_derivati d = documenti_da_marcia(c.f, c.m, k.partenza, {});
    EXPECT_EQ(tempi_e_recupero(d), k.righe) << (k.partenza ? *k.partenza : -1);
    EXPECT_EQ(d.scheda.intestazione.velocita_massima, 100);  // the train's, from the route
  }
  // The notes tell a departure that differs from the train's own.
  EXPECT_EQ(documenti_da_marcia(c.f, c.m, ore(7, 56), {}).note.ritardo_minuti, 4);
  EXPECT_EQ(documenti_da_marcia(c.f, c.m, ore(8, 4), {}).note.ritardo_minuti, -4);
  EXPECT_EQ(documenti_da_marcia(c.f, c.m, std::nullopt, {}).note.ritardo_minuti, 0);
}

TEST(OrariMarcia, SostaDelModelloEStazioniFuoriCorsa) {
  // A station before the first stop and one after the last have no times; the
  // arrival at a stop is a dwell of the model before its departure.
  scenario f = percorso_vuoto(30000);
  metti_velocita(f, 0, 100);
  metti_stazione(f, 0, "PRIMA");
  metti_stazione(f, 5000, "A", ore(23, 50));
  metti_stazione(f, 15000, "B", ore(0, 5));  // after midnight
  metti_stazione(f, 25000, "C", ore(0, 20));
  metti_stazione(f, 30000, "DOPO");
  opzioni_marcia o;
  o.sosta_s = 45;
  const marcia m = calcola_marcia(f, modello_da_scenario(f, o));
  const std::vector<orari_stazione> t = orari_da_marcia(f, m);
  ASSERT_EQ(t.size(), 5u);
  EXPECT_FALSE(t[0].partenza || t[0].arrivo || t[0].transito || t[0].recupero);
  EXPECT_EQ(t[1].partenza, ore(23, 50));
  EXPECT_EQ(t[2].arrivo, ore(0, 4, 15));
  EXPECT_EQ(t[2].partenza, ore(0, 5));
  EXPECT_EQ(t[3].arrivo, ore(0, 20));
  EXPECT_FALSE(t[3].partenza);
  EXPECT_TRUE(t[2].recupero && t[3].recupero);
  EXPECT_FALSE(t[4].partenza || t[4].arrivo || t[4].transito || t[4].recupero);
}

TEST(OrariMarcia, RecuperoAlMezzoMinuto) {
  struct caso {
    double margine_s, minuti;
  };
  const caso casi[] = {
      // To the nearest half minute, a tie to an even count of half minutes.
      {0, 0.0}, {14.9, 0.0}, {15, 0.0}, {45, 1.0}, {64.4, 1.0}, {75, 1.0}, {105, 2.0},
      {-54, -1.0}, {-15, 0.0}, {-285, -5.0},
      // Within what the cell holds.
      {5955, 99.0}, {5970, 99.5}, {1e7, 99.5}, {-555, -9.0}, {-600, -9.5}, {-1e7, -9.5}, {std::nan(""), 0.0},
  };
  for (const caso& c : casi) EXPECT_EQ(recupero_in_minuti(c.margine_s), c.minuti) << c.margine_s;
}
