#include "packer/completa_approcci.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/codici_errore.h"
#include "compiler/descrizioni.h"
#include "compiler/memorizza_dati.h"
#include "prove/sorgenti.h"

namespace {

constexpr uint8_t segnale = 1, fine = 2, inizio = 3, avviso = 4, cartello = 6, montagna = 11,
                  abbattimento = 12;

struct griglia {
  scenario_compilato f;
  explicit griglia(int n) { f.scenario.percorso.assign(static_cast<std::size_t>(n) + 1, cella_percorso{}); }
  griglia& metti(int c, uint8_t tipo, int16_t dato1 = 0) {
    f.scenario.percorso.at(static_cast<std::size_t>(c)).tipo = tipo;
    f.scenario.percorso.at(static_cast<std::size_t>(c)).dato1 = dato1;
    return *this;
  }
  // A slow order: start at i with its speed, end at e.
  griglia& rallentamento(int i, int16_t v, int e) { return metti(i, inizio, v).metti(e, fine, v); }
  cella_percorso& operator[](int c) { return f.scenario.percorso.at(static_cast<std::size_t>(c)); }
};

// The cells the pass turned into points: tipo 12 with the speed 180.
std::vector<int> punti(const scenario_compilato& f) {
  std::vector<int> v;
  for (std::size_t c = 0; c < f.scenario.percorso.size(); ++c)
    if (f.scenario.percorso[c].tipo == abbattimento && f.scenario.percorso[c].dato1 == 180) v.push_back(static_cast<int>(c));
  return v;
}

using celle = std::vector<int>;

}  // namespace

TEST(CompletaApprocci, EsempioDiUnRallentamentoConSegnaleDopo) {
  // Slow order at 10000 m, 600 m long, speed 60, a signal at 11000 m.
  griglia g(400);
  g.metti(177, avviso, 60).rallentamento(201, 60, 213).metti(221, segnale);
  completa_approcci(g.f.scenario, g.f.registro);
  EXPECT_EQ(punti(g.f), (celle{183, 190, 196, 209, 220}));
  EXPECT_EQ(g.f.registro.codice_errore, 0);
  EXPECT_TRUE(g.f.registro.errori.empty());
  // Only tipo and dato1 of the points change.
  EXPECT_EQ(g[220].dato2, 0);
  EXPECT_EQ(g[220].avviso_segnale, 0);
}

TEST(CompletaApprocci, SegnaliDietroIlCartelloDiAvviso) {
  struct caso {
    const char* nome;
    int cartello;
    celle segnali;
    celle attesi;
  };
  const caso casi[] = {
      {"20 cells behind: treated", 100, {80}, {79}},
      {"21 cells behind: not", 100, {79}, {}},
      {"right behind the board", 100, {99}, {98}},
      {"two signals, a point each", 100, {90, 85}, {84, 89}},
      {"board in cell 4, signal in 3", 4, {3}, {2}},
      {"board in cell 3 looks at nothing", 3, {2}, {}},
  };
  for (const caso& c : casi) {
    griglia g(200);
    g.metti(c.cartello, avviso, 60);
    for (int s : c.segnali) g.metti(s, segnale);
    completa_approcci(g.f.scenario, g.f.registro);
    EXPECT_EQ(punti(g.f), c.attesi) << c.nome;
    EXPECT_EQ(g.f.registro.codice_errore, 0) << c.nome;
  }
}

TEST(CompletaApprocci, SegnaleConLeCellePrimaOccupate) {
  // Signal in cell 90 behind a board in 100: what cells 89 and 88 hold decides.
  struct cella { uint8_t tipo; int16_t dato1; };
  struct caso {
    const char* nome;
    cella c89, c88;
    int16_t atteso89, atteso88;
    uint8_t tipo89, tipo88;
    int32_t errore;
  };
  const caso casi[] = {
      {"mountain marker is free", {montagna, 0}, {0, 0}, 180, 0, abbattimento, 0, 0},
      {"occupied: the cell before", {cartello, 7}, {0, 0}, 7, 180, cartello, abbattimento, 0},
      {"a point before is not free", {abbattimento, 200}, {0, 0}, 200, 180, abbattimento, abbattimento, 0},
      {"point of 200 lowered to 180", {abbattimento, 200}, {cartello, 7}, 180, 7, abbattimento, cartello, 0},
      {"point of 150 kept", {abbattimento, 150}, {cartello, 7}, 150, 7, abbattimento, cartello, 0},
      {"the farther point lowered", {cartello, 7}, {abbattimento, 300}, 7, 180, cartello, abbattimento, 0},
      {"nowhere to go: 11", {cartello, 7}, {fine, 60}, 7, 60, cartello, fine, 11},
  };
  for (const caso& c : casi) {
    griglia g(200);
    g.metti(100, avviso, 60).metti(90, segnale).metti(89, c.c89.tipo, c.c89.dato1).metti(88, c.c88.tipo, c.c88.dato1);
    completa_approcci(g.f.scenario, g.f.registro);
    EXPECT_EQ(g[89].tipo, c.tipo89) << c.nome;
    EXPECT_EQ(g[89].dato1, c.atteso89) << c.nome;
    EXPECT_EQ(g[88].tipo, c.tipo88) << c.nome;
    EXPECT_EQ(g[88].dato1, c.atteso88) << c.nome;
    EXPECT_EQ(g.f.registro.codice_errore, c.errore) << c.nome;
    EXPECT_EQ(g.f.registro.posizione_errore, c.errore != 0 ? 90 * 50 : 0) << c.nome;
  }
}

TEST(CompletaApprocci, PuntiPrimaDellInizio) {
  // Speed 110: no walk, only the three groups before the start.
  struct caso {
    const char* nome;
    int inizio;
    celle occupate;
    celle attesi;
  };
  const caso casi[] = {
      {"start in cell 7: no group", 7, {}, {}},
      {"start in cell 8: first group from cell 3", 8, {}, {3}},
      {"first group falls back to cell 1", 8, {3, 2}, {1}},
      {"start in cell 13: one group", 13, {}, {8}},
      {"start in cell 14: two groups", 14, {}, {3, 9}},
      {"start in cell 21: three groups", 21, {}, {3, 10, 16}},
      {"each group takes its first free cell", 100, {95, 94, 89, 88}, {82, 87, 93}},
  };
  for (const caso& c : casi) {
    griglia g(200);
    g.rallentamento(c.inizio, 110, c.inizio + 10);
    for (int o : c.occupate) g.metti(o, cartello);
    completa_approcci(g.f.scenario, g.f.registro);
    EXPECT_EQ(punti(g.f), c.attesi) << c.nome;
    EXPECT_EQ(g.f.registro.codice_errore, 0) << c.nome;
  }
}

TEST(CompletaApprocci, GruppoSenzaCellaLiberaEErroriSuccessivi) {
  griglia g(300);
  g.f.registro.codice_errore = 25;  // an error of the compiler stays until the pass records its own
  g.rallentamento(100, 110, 110).metti(95, cartello).metti(94, cartello).metti(93, cartello);
  // A later signal behind a board with no room before it.
  g.metti(220, avviso, 60).metti(210, segnale).metti(209, cartello).metti(208, cartello);
  completa_approcci(g.f.scenario, g.f.registro);
  EXPECT_EQ(punti(g.f), (celle{82, 89}));  // the other groups are still placed
  ASSERT_EQ(g.f.registro.errori.size(), 2u);
  EXPECT_EQ(g.f.registro.errori[0].codice, 12);
  EXPECT_EQ(g.f.registro.errori[0].posizione, 100 * 50);
  EXPECT_EQ(g.f.registro.errori[1].codice, 11);
  EXPECT_EQ(g.f.registro.codice_errore, 11);  // the last error found
  EXPECT_EQ(g.f.registro.posizione_errore, 210 * 50);

  griglia h(300);
  h.f.registro.codice_errore = 25;
  completa_approcci(h.f.scenario, h.f.registro);
  EXPECT_EQ(h.f.registro.codice_errore, 25);
}

TEST(CompletaApprocci, CamminoLungoIlRallentamento) {
  // Start in 100, end in 130, signal in 135; the groups before take 95, 89, 82.
  struct caso {
    const char* nome;
    int16_t velocita;
    celle occupate;
    celle montagne;
    celle attesi;  // walk and after-the-end points
    int32_t errore;
    int32_t posizione;
  };
  const caso casi[] = {
      {"speed 110: no walk, nothing after", 110, {}, {}, {}, 0, 0},
      {"speed 109 walks", 109, {}, {}, {108, 116, 124, 134}, 0, 0},
      {"mountain marker on the due cell is free", 60, {}, {108}, {108, 116, 124, 134}, 0, 0},
      {"due cell taken: the one before, counted from it", 60, {108}, {}, {107, 115, 123, 134}, 0, 0},
      {"due and before taken: the one after", 60, {108, 107}, {}, {109, 117, 125, 134}, 0, 0},
      {"all three taken: 13, no further point", 60, {108, 107, 109}, {}, {134}, 13, 108 * 50},
      {"signal with both cells before taken: 13 at the end", 60, {134, 133}, {}, {108, 116, 124}, 13,
       130 * 50},
  };
  for (const caso& c : casi) {
    griglia g(300);
    g.rallentamento(100, c.velocita, 130).metti(135, segnale);
    for (int o : c.occupate) g.metti(o, cartello);
    for (int m : c.montagne) g.metti(m, montagna);
    completa_approcci(g.f.scenario, g.f.registro);
    celle attesi{82, 89, 95};
    attesi.insert(attesi.end(), c.attesi.begin(), c.attesi.end());
    EXPECT_EQ(punti(g.f), attesi) << c.nome;
    EXPECT_EQ(g.f.registro.codice_errore, c.errore) << c.nome;
    EXPECT_EQ(g.f.registro.posizione_errore, c.posizione) << c.nome;
  }
}

TEST(CompletaApprocci, SegnaleDopoLaFine) {
  struct caso {
    const char* nome;
    celle segnali;
    celle attesi;
  };
  // Start in 100, end in 104 (no walk point), so only the search after the end acts.
  const caso casi[] = {
      {"12 cells after the end: found", {116}, {115}},
      {"13 cells after the end: not", {117}, {}},
      {"only the first signal", {108, 112}, {107}},
      {"signal right after the end: the cell before the end", {105}, {103}},
  };
  for (const caso& c : casi) {
    griglia g(300);
    g.rallentamento(100, 60, 104);
    for (int s : c.segnali) g.metti(s, segnale);
    completa_approcci(g.f.scenario, g.f.registro);
    celle attesi{82, 89, 95};
    attesi.insert(attesi.end(), c.attesi.begin(), c.attesi.end());
    EXPECT_EQ(punti(g.f), attesi) << c.nome;
    EXPECT_EQ(g.f.registro.codice_errore, 0) << c.nome;
  }
}

TEST(CompletaApprocci, CamminoSenzaFineSiFermaAllUltimaCella) {
  // A start with no end cell after it walks to the grid's last cell and no further.
  griglia g(150);
  g.metti(120, inizio, 60).metti(150, segnale);
  completa_approcci(g.f.scenario, g.f.registro);
  EXPECT_EQ(punti(g.f), (celle{102, 109, 115, 128, 136, 144, 149}));

  // The due cell is the last one and it and the one before are taken: the
  // cell after lies outside the grid, so the walk records 13.
  griglia h(150);
  h.metti(142, inizio, 60).metti(150, cartello).metti(149, cartello);
  completa_approcci(h.f.scenario, h.f.registro);
  EXPECT_EQ(h.f.registro.codice_errore, 13);
  EXPECT_EQ(h.f.registro.posizione_errore, 150 * 50);
  EXPECT_EQ(punti(h.f), (celle{124, 131, 137}));
}

// An error of the pass names the rows: the signal or slow order the point was
// for, and what holds each cell it tried.
TEST(CompletaApprocci, GliErroriNominanoLeRighe) {
  const std::string treno_rallentamento = "velocita, 0, 160\nrallentamento, 8000, 60, 600, 0, 1, 60\n";
  struct caso {
    const char* nome;
    std::string linea, treno;
    int32_t codice;
    const char* dettaglio;
    std::vector<std::string> colpevoli;  // the rows the detail names, in its order, where they stand
  } casi[] = {
      {"no cell before a signal behind a warning board", "cartello_indicatore, 6400, a\ncartello_indicatore, 6350, b\n",
       "velocita, 0, 160\nsegnale, 6450, 2,4,1,0,0,1,3,1,0,0\nrallentamento, 8000, 60, 600, 0, 1, 60\n",
       errore_approccio_segnale,
       "the signal from Prova_Linea_12-.txt:3 on cell 130 stands 350 m behind the warning board of the slow order from "
       "Prova_Linea_12-.txt:4 on cell 137, and neither cell before it is free: cell 129 holds the kilometre board from "
       "Prova_Linea_linea.txt:11; cell 128 holds the kilometre board from Prova_Linea_linea.txt:12",
       {"Prova_Linea_12-.txt:3", "Prova_Linea_12-.txt:4", "Prova_Linea_linea.txt:11", "Prova_Linea_linea.txt:12"}},
      {"no cell before a slow order's start", "",
       "velocita, 0, 160\nabbattimento, 7800, 100\nabbattimento, 7750, 100\nabbattimento, 7700, 100\n"
       "rallentamento, 8000, 60, 600, 0, 1, 60\n",
       errore_approccio_rallentamento,
       "before the start of the slow order from Prova_Linea_12-.txt:6 on cell 161: cell 156 holds the speed-reduction "
       "point from Prova_Linea_12-.txt:3; cell 155 holds the speed-reduction point from Prova_Linea_12-.txt:4; cell 154 "
       "holds the speed-reduction point from Prova_Linea_12-.txt:5",
       {"Prova_Linea_12-.txt:6", "Prova_Linea_12-.txt:3", "Prova_Linea_12-.txt:4", "Prova_Linea_12-.txt:5"}},
      {"no cell along a slow order",
       "cartello_indicatore, 8400, a\ncartello_indicatore, 8350, b\ncartello_indicatore, 8450, c\n",
       treno_rallentamento, errore_cammino_rallentamento,
       "along the slow order from Prova_Linea_12-.txt:3 on cell 161, no point every 400 m from cell 169 on: cell 169 "
       "holds the kilometre board from Prova_Linea_linea.txt:11; cell 168 holds the kilometre board from "
       "Prova_Linea_linea.txt:12; cell 170 holds the kilometre board from Prova_Linea_linea.txt:13",
       {"Prova_Linea_12-.txt:3", "Prova_Linea_linea.txt:11", "Prova_Linea_linea.txt:12", "Prova_Linea_linea.txt:13"}},
      {"no cell before the signal after a slow order", "cartello_indicatore, 8900, a\ncartello_indicatore, 8850, b\n",
       treno_rallentamento + "segnale, 8950, 2,4,1,0,0,1,3,1,0,0\n", errore_cammino_rallentamento,
       "the signal from Prova_Linea_12-.txt:4 on cell 180 follows the end of the slow order from Prova_Linea_12-.txt:3 "
       "on cell 173, and neither cell before it is free: cell 179 holds the kilometre board from "
       "Prova_Linea_linea.txt:11; cell 178 holds the kilometre board from Prova_Linea_linea.txt:12",
       {"Prova_Linea_12-.txt:4", "Prova_Linea_12-.txt:3", "Prova_Linea_linea.txt:11", "Prova_Linea_linea.txt:12"}},
  };
  for (const caso& c : casi) {
    auto p = compila_prova(linea_prova(20000, c.linea), treno_prova(c.treno));
    scenario_compilato& f = p->f;
    ASSERT_TRUE(f.registro.errori.empty()) << c.nome;
    completa_approcci(f.scenario, f.registro);
    ASSERT_EQ(f.registro.errori.size(), 1u) << c.nome;
    EXPECT_EQ(f.registro.errori[0].codice, c.codice) << c.nome;
    EXPECT_EQ(f.registro.errori[0].dettaglio, c.dettaglio) << c.nome;
    std::vector<std::string> colpevoli;
    for (const int32_t r : f.registro.errori[0].righe_colpevoli) colpevoli.push_back(luogo_riga(f.registro, r));
    EXPECT_EQ(colpevoli, c.colpevoli) << c.nome;
  }

  // A point the pass laid is named as the pass's, for the row it was for.
  auto p = compila_prova(linea_prova(20000), treno_prova(treno_rallentamento));
  completa_approcci(p->f.scenario, p->f.registro);
  EXPECT_EQ(descrivi_cella(p->f.scenario, p->f.registro, 156),
            "cell 156 holds a speed-reduction point the approach pass laid for the slow order from Prova_Linea_12-.txt:3");
}
