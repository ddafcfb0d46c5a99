#include "compiler/parser_treno.h"

#include <gtest/gtest.h>

#include "compiler/codici_errore.h"
#include "prove/sorgenti.h"

namespace {

// The 358 km line, no features: cells 0 to 7300.
const std::string linea_358 = linea_prova(358000);

std::unique_ptr<prova_compilazione> treno(std::string_view corpo, const std::string& linea = linea_358) {
  return compila_prova(linea, treno_prova(corpo));
}

const char* riga_origine = "stazione,       0,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,13, 0, ORIGINE\n";

std::string stazione(int32_t posizione, int marca, int32_t lunghezza, int ottetto4 = 0, int ottetto3 = 0,
                     const char* nome = "FERMATA") {
  return "stazione, " + std::to_string(posizione) + ", " + std::to_string(marca) + ", " +
         std::to_string(lunghezza) + ", 0, " + std::to_string(ottetto4) + ", " + std::to_string(ottetto3) +
         ", 1,1,0, 4,1,1, 0, 0,0,0, " + nome + "\n";
}

}  // namespace

TEST(ParserTreno, ValoriDiTestata) {
  auto p = treno("numero vetture,    14\n"
                 "percentuale massa frenata,    130\n"
                 "sabbia,    200\n"
                 "orologio,    17              12            30 \n");
  const scenario_compilato& f = p->f;
  EXPECT_EQ(f.registro.codice_errore, 0);
  EXPECT_EQ(f.scenario.tabella_stazioni[84].valore3, 14);
  EXPECT_EQ(f.scenario.tabella_stazioni[84].valore1, 130);
  EXPECT_EQ(f.scenario.tabella_stazioni[86].intero1, 200);
  EXPECT_EQ(f.scenario.tabella_stazioni[86].intero3, 17);
  EXPECT_EQ(f.scenario.tabella_stazioni[86].intero4, 12);
  EXPECT_EQ(f.scenario.tabella_stazioni[86].intero5, 30);
  EXPECT_EQ(f.scenario.tabella_stazioni[84].valore2, 358000) << "the route length stays";
}

TEST(ParserTreno, VelocitaEAderenza) {
  struct caso {
    const char* nome;
    const char* corpo;
    std::vector<std::pair<int, int>> velocita;  // (last cell, value) from cell 0 on
    std::vector<std::pair<int, int>> aderenza;
  } casi[] = {
      {"129340 falls in cell 2587", "velocita, 0, 100\nvelocita, 129340, 150\naderenza, 0, 100\n",
       {{2586, 20}, {7297, 30}, {7300, 0}}, {{7297, 100}, {7300, 0}}},
      {"first row at 1000", "velocita, 1000, 100\n", {{19, 0}, {7297, 20}, {7300, 0}}, {{7300, 0}}},
      {"115 as 23", "velocita, 0, 115\n", {{7297, 23}}, {}},
      {"117 as 23", "velocita, 0, 117\n", {{7297, 23}}, {}},
      {"118 as 24", "velocita, 0, 118\n", {{7297, 24}}, {}},
      {"1277 as 255", "velocita, 0, 1277\n", {{7297, 255}}, {}},
      {"adhesion 300 as 44", "aderenza, 0, 300\n", {}, {{7297, 44}, {7300, 0}}},
      {"the last accepted position reaches cell N - 2", "velocita, 0, 50\nvelocita, 364900, 100\n",
       {{7297, 10}, {7298, 20}, {7300, 0}}, {}},
  };
  for (const caso& c : casi) {
    auto p = treno(c.corpo);
    const scenario_compilato& f = p->f;
    ASSERT_EQ(f.registro.codice_errore, 0) << c.nome;
    int cella = 0;
    for (auto [ultima, v] : c.velocita)
      for (; cella <= ultima; ++cella) EXPECT_EQ(f.scenario.percorso[cella].velocita, v) << c.nome << ", cell " << cella;
    cella = 0;
    for (auto [ultima, v] : c.aderenza)
      for (; cella <= ultima; ++cella) EXPECT_EQ(f.scenario.percorso[cella].aderenza, v) << c.nome << ", cell " << cella;
  }
}

TEST(ParserTreno, CursoriFuoriOrdine) {
  // L = 0: cells 0 to 140. Every row at 50 m writes one more cell.
  std::string velocita, aderenze;
  for (int i = 0; i < 200; ++i) velocita += "velocita, 50, 100\n";
  for (int i = 0; i < 141; ++i) aderenze += "aderenza, 50, 7\n";
  const std::string linea = linea_prova(0);

  auto p = treno(velocita, linea);
  EXPECT_EQ(p->f.registro.codice_errore, 0) << "the speed stops at cell N - 1, its tail at N";
  EXPECT_EQ(p->f.scenario.percorso[139].velocita, 20);
  EXPECT_EQ(p->f.scenario.percorso[140].velocita, 20);

  auto q = treno(aderenze, linea);
  EXPECT_EQ(q->f.registro.codice_errore, errore_aderenze_oltre_percorso) << "the tail would write cell 141";
  auto r = treno(aderenze + "aderenza, 50, 7\nnumero vetture, 3\n", linea);
  EXPECT_EQ(r->f.registro.codice_errore, errore_aderenze_oltre_percorso);
  EXPECT_EQ(r->f.registro.posizione_errore, 50);
  EXPECT_EQ(r->f.scenario.tabella_stazioni[84].valore3, 0);
  EXPECT_TRUE(r->f.treno_preso);
}

TEST(ParserTreno, Stazioni) {
  struct caso {
    const char* nome;
    std::string righe;    // the station looked at is the last row
    int slot;
    int32_t valore1, valore2;
    uint8_t ottetto3, ottetto4;
    int64_t punto;        // cell of the station point, -1 for none
    bool avvisi;
  } casi[] = {
      {"the origin: kind 8", riga_origine, 1, -500, 500, 0, 0, 9, true},
      {"kind 12, 600 m", riga_origine + stazione(10900, 12, 600, 1), 2, 10600, 11200, 0, 1, 223, true},
      {"kind 28 leaves the grid alone", riga_origine + stazione(116300, 28, 200), 2, 116200, 116400, 0, 0, -1, false},
      {"kind 2 with ottetto3: end 50 m further", riga_origine + stazione(288500, 2, 600, 1, 1), 2, 288200, 288850,
       1, 1, 5776, true},
      {"kind 5: no marks, ottetto4 cleared", riga_origine + stazione(10000, 5, 300, 1, 1), 2, 9700, 10150, 0, 0,
       202, false},
      {"kind 7: span on both sides", riga_origine + stazione(10000, 7, 300, 1, 1), 2, 9700, 10300, 0, 0, 205, true},
      {"the first station clears ottetto3 and 4", stazione(10000, 12, 800, 1, 1), 1, 9600, 10450, 0, 0, 208, true},
  };
  for (const caso& c : casi) {
    auto p = treno(c.righe);
    const scenario_compilato& f = p->f;
    ASSERT_EQ(f.registro.codice_errore, 0) << c.nome;
    const record_stazione& r = f.scenario.tabella_stazioni[c.slot];
    EXPECT_EQ(r.valore1, c.valore1) << c.nome;
    EXPECT_EQ(r.valore2, c.valore2) << c.nome;
    EXPECT_EQ(r.ottetto3, c.ottetto3) << c.nome;
    EXPECT_EQ(r.ottetto4, c.ottetto4) << c.nome;
    int toccate = 0;
    for (std::size_t i = 0; i < f.scenario.percorso.size(); ++i)
      if (f.scenario.percorso[i].tipo != 0 || f.scenario.percorso[i].avviso_segnale != 0) ++toccate;
    const int attese_prima = c.slot == 2 ? 5 : 0;  // the origin's point and marks
    if (c.punto < 0) {
      EXPECT_EQ(toccate, attese_prima) << c.nome;
      continue;
    }
    EXPECT_EQ(toccate, attese_prima + 1 + (c.avvisi ? 4 : 0)) << c.nome;
    EXPECT_EQ(f.scenario.percorso[c.punto].tipo, 10) << c.nome;
    EXPECT_EQ(f.scenario.percorso[c.punto].dato1, c.slot) << c.nome;
    for (int k = 1; k <= 4; ++k)
      EXPECT_EQ(f.scenario.percorso[c.punto - k].avviso_segnale, c.avvisi ? 80 + k : 0) << c.nome << " k " << k;
  }
}

TEST(ParserTreno, CampiDellaStazioneComeLetti) {
  auto p = treno(std::string(riga_origine) +
                 "stazione,  288500,  2,  600,  7, 9, 1,  -4,300,250,  -2,1000,3, 99,  19, 2, 5, SAN MARCO  \n");
  const scenario_compilato& f = p->f;
  ASSERT_EQ(f.registro.codice_errore, 0);
  const record_stazione& o = f.scenario.tabella_stazioni[1];
  EXPECT_EQ(o.nome, "ORIGINE");
  EXPECT_EQ(o.valore3, 0);
  EXPECT_EQ(o.marca, 8);
  EXPECT_EQ(o.marca2, 1);
  EXPECT_EQ(o.codice, 61980);
  const record_stazione& r = f.scenario.tabella_stazioni[2];
  EXPECT_EQ(r.nome, "SAN MARCO");
  EXPECT_EQ(r.valore3, 288500);
  EXPECT_EQ(r.marca2, 7);
  EXPECT_EQ(r.ottetto4, 9);
  EXPECT_EQ(r.ottetto3, 1);
  EXPECT_EQ(r.intero1, -4);
  EXPECT_EQ(r.intero2, 300);
  EXPECT_EQ(r.ottetto1, 250);
  EXPECT_EQ(r.intero3, -2);
  EXPECT_EQ(r.intero4, 1000);
  EXPECT_EQ(r.intero5, 3);
  EXPECT_EQ(r.ottetto2, 99);
  EXPECT_EQ(r.codice, 19 * 3600 + 2 * 60 + 5);
}

TEST(ParserTreno, RifiutiDelleStazioni) {
  const std::string l10000 = linea_prova(10000);  // cells 0 to 340
  std::string ottanta_cartelli, settantanove_cartelli;
  for (int i = 1; i <= 80; ++i) {
    const std::string riga = "cartello_indicatore, " + std::to_string(i * 1000) + ", km\n";
    ottanta_cartelli += riga;
    if (i < 80) settantanove_cartelli += riga;
  }
  struct caso {
    const char* nome;
    std::string linea, righe;
    int32_t codice, posizione;  // posizione_errore: 0 where the error names no position
  } casi[] = {
      {"position not a multiple of 50", linea_358, stazione(1025, 12, 400), errore_stazione_posizione, 1025},
      {"length not a multiple of 100", linea_358, stazione(1000, 12, 450), errore_stazione_lunghezza, 1000},
      {"span ends at 100 m", linea_358, stazione(50, 12, 100), errore_stazione_troppo_presto, 0},
      {"exactly 350 m apart", linea_358, stazione(1000, 12, 400) + stazione(1750, 12, 400), 0, 0},
      {"less than 350 m apart", linea_358, stazione(1000, 12, 400) + stazione(1700, 12, 400),
       errore_stazioni_vicine, 1700},
      {"out of order", linea_358, stazione(5000, 12, 400) + stazione(2000, 12, 400), errore_stazioni_vicine, 2000},
      {"position fails its range check", l10000, stazione(16250, 12, 400), errore_fuori_percorso, 16250},
      {"span beyond the grid", l10000, stazione(16000, 7, 2000), errore_stazione_fuori_percorso, 16000},
      {"80 boards leave no slot", linea_prova(358000, ottanta_cartelli), stazione(1000, 12, 400),
       errore_stazione_senza_slot, 1000},
      {"79 boards: one station, then no slot", linea_prova(358000, settantanove_cartelli), stazione(1000, 12, 400),
       errore_stazioni_troppe, 0},
      {"a kind above 255", linea_358, "stazione, 1000, 256, 400, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, X\n",
       errore_lettura, 0},
      {"a time beyond 32 bits", linea_358, "stazione, 1000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 0, 600000,0,0, X\n",
       errore_lettura, 0},
  };
  for (const caso& c : casi) {
    auto p = std::make_unique<prova_compilazione>();
    p->compila(c.linea, treno_prova(c.righe + "numero vetture, 14\n"));
    const scenario_compilato& f = p->f;
    EXPECT_EQ(f.registro.codice_errore, c.codice) << c.nome;
    EXPECT_EQ(f.registro.posizione_errore, c.posizione) << c.nome;
    EXPECT_EQ(f.scenario.tabella_stazioni[84].valore3, c.codice == 0 ? 14 : 0) << c.nome << ": rows after it";
    if (c.codice == errore_stazione_senza_slot) {
      EXPECT_EQ(f.scenario.tabella_stazioni[1].nome, "km") << "the board stays";
    }
    EXPECT_TRUE(p->f.treno_preso) << c.nome;
  }
}

TEST(ParserTreno, SettantottoStazioniSenzaCartelli) {
  std::string righe;
  for (int i = 0; i < 79; ++i) righe += stazione(1000 + i * 1000, 12, 400);
  auto p = treno(righe);
  EXPECT_EQ(p->f.registro.codice_errore, errore_stazioni_troppe);
  EXPECT_EQ(p->f.scenario.tabella_stazioni[79].valore3, 79000) << "the 79th is stored, then refused";
  EXPECT_EQ(p->f.scenario.percorso[79000 / 50 + 3].tipo, 10);
  auto q = treno(righe.substr(0, righe.rfind("stazione")));
  EXPECT_EQ(q->f.registro.codice_errore, 0) << "78 stations fit";
  EXPECT_EQ(q->f.scenario.tabella_stazioni[78].valore3, 78000);
}

TEST(ParserTreno, PuntiDiAbbattimento) {
  struct caso {
    const char* nome;
    std::string righe;
    int64_t cella;
    uint8_t tipo;
    int16_t dato1;
    int32_t codice, posizione;
  } casi[] = {
      {"without a speed", "abbattimento, 1000, 0\n", 20, 13, 0, 0, 0},
      {"with a speed", "abbattimento, 1000, 60\n", 20, 12, 60, 0, 0},
      {"1025 rounds to cell 20", "abbattimento, 1025, 60\n", 20, 12, 60, 0, 0},
      {"low 16 bits of the speed", "abbattimento, 1000, 70000\n", 20, 12, 4464, 0, 0},
      {"on a signal", "segnale, 950, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0\nabbattimento, 1000, 60\n", 20, 1, 43,
       errore_abbattimento_occupato, 1000},
      {"before the route", "abbattimento, -100, 60\n", 0, 0, 0, errore_abbattimento_fuori_percorso, -100},
  };
  for (const caso& c : casi) {
    auto p = treno(c.righe);
    const scenario_compilato& f = p->f;
    EXPECT_EQ(f.registro.codice_errore, c.codice) << c.nome;
    EXPECT_EQ(f.registro.posizione_errore, c.posizione) << c.nome;
    EXPECT_EQ(f.scenario.percorso[c.cella].tipo, c.tipo) << c.nome;
    EXPECT_EQ(f.scenario.percorso[c.cella].dato1, c.dato1) << c.nome;
  }
}

TEST(ParserTreno, SegnaliERallentamentiRifiutati) {
  const char* segnale = "segnale, 2000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0\n";
  struct caso {
    const char* nome;
    std::string righe;
    int32_t codice, posizione;
  } casi[] = {
      {"signal on a signal", std::string(segnale) + segnale, errore_segnale_occupato, 2000},
      {"warning board on a signal", "segnale, 2800, 2,4,1,0,0,1,3,1,0,0\nrallentamento, 4000, 80, 800, 0, 1, 80\n",
       errore_avviso_occupato, 4000},
      {"start on a signal", std::string(segnale) + "rallentamento, 2000, 80, 800, 0, 1, 80\n", errore_inizio_occupato, 2000},
      {"end on a signal", std::string(segnale) + "rallentamento, 1000, 80, 1000, 0, 1, 80\n", errore_fine_occupato, 1000},
      {"countdown on a signal", "segnale, 2700, 2,4,1,0,0,1,3,1,0,0\nrallentamento, 4000, 80, 800, 0, 1, 80\n",
       errore_conto_occupato, 4000},
      {"countdown on its own board", "rallentamento, 2475, 80, 800, 0, 1, 80\n", errore_conto_occupato, 2475},
      {"signal before 325 m", "segnale, 300, 2,4,1,0,0,1,3,1,0,0\n", errore_segnale_fuori_percorso, 300},
      {"slow order ending beyond the grid", "rallentamento, 350000, 80, 20000, 0, 1, 80\n",
       errore_rallentamento_fuori_percorso, 350000},
      {"slow order before the route", "rallentamento, -5000, 80, 800, 0, 0, 80\n",
       errore_rallentamento_fuori_percorso, -5000},
  };
  for (const caso& c : casi) {
    auto p = treno(c.righe + "velocita, 0, 100\nnumero vetture, 14\n");
    const scenario_compilato& f = p->f;
    EXPECT_EQ(f.registro.codice_errore, c.codice) << c.nome;
    EXPECT_EQ(f.registro.posizione_errore, c.posizione) << c.nome;
    ASSERT_FALSE(f.registro.errori.empty());
    EXPECT_EQ(f.registro.errori.back().posizione, c.posizione) << c.nome;
    EXPECT_EQ(f.scenario.tabella_stazioni[84].valore3, 0) << c.nome << ": rows after it are not read";
    EXPECT_EQ(f.scenario.percorso[5].aderenza, 0) << c.nome << ": no tails";
    EXPECT_TRUE(p->f.treno_preso) << c.nome;
  }
}

TEST(ParserTreno, ErroreDiPosizioneLasciatoDallaLinea) {
  // A range error in the line: the train is still read, up to its first signal
  // or slow order, which is laid and then ends the half with the code still 15.
  auto p = compila_prova(linea_prova(10000, "pendenza, 16950, 3\n"),
                         treno_prova("numero vetture, 14\n"
                                     "velocita, 0, 100\n"
                                     "segnale, 2000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0\n"
                                     "sabbia, 200\n"));
  const scenario_compilato& f = p->f;
  EXPECT_EQ(f.registro.codice_errore, errore_fuori_percorso);
  EXPECT_EQ(f.registro.posizione_errore, 2000);
  EXPECT_EQ(f.scenario.tabella_stazioni[84].valore3, 14);
  EXPECT_EQ(f.scenario.percorso[41].tipo, 1);
  EXPECT_EQ(f.scenario.tabella_stazioni[86].intero1, 0);
  EXPECT_EQ(f.scenario.percorso[0].velocita, 0) << "no tails";
  // Both reach the author: the line's, and where the train source's reading
  // stopped because of it, naming it; the pair is the second's.
  ASSERT_EQ(f.registro.errori.size(), 2u);
  EXPECT_EQ(f.registro.errori[0].posizione, 16950);
  EXPECT_EQ(f.registro.errori[0].file, "Prova_Linea_linea.txt");
  const errore_registrato& fermo = f.registro.errori[1];
  EXPECT_EQ(fermo.codice, errore_fuori_percorso);
  EXPECT_EQ(fermo.posizione, 2000);
  EXPECT_EQ(fermo.file, "Prova_Linea_12-.txt");
  EXPECT_EQ(fermo.riga, 4) << "the signal's row";
  EXPECT_EQ(fermo.dettaglio,
            "the train source is read no further: error 15 recorded earlier at Prova_Linea_linea.txt:11 ends its "
            "reading at the first signal or slow-order row; mend that error first");
  EXPECT_TRUE(p->f.treno_preso);

  // A range error in the train itself ends its body; the end steps run.
  auto q = compila_prova(linea_prova(10000),
                         treno_prova("velocita, 0, 100\n"
                                     "segnale, 16950, 2, 4, 1, 0, 0, 1, 3, 1, 0, 0\n"
                                     "numero vetture, 14\n"));
  EXPECT_EQ(q->f.registro.codice_errore, errore_fuori_percorso);
  EXPECT_EQ(q->f.registro.posizione_errore, 16950);
  EXPECT_EQ(q->f.scenario.percorso[337].velocita, 20);
  EXPECT_EQ(q->f.scenario.tabella_stazioni[84].valore3, 0);
}

TEST(ParserTreno, ControlloDelleProgressive) {
  const std::string con_progressiva =
      "[generale]\nlunghezza percorso, 10000\nprogressiva chilometrica uno, 1025, 0, 0\n[curve]\n[fine]\n";
  auto p = compila_prova(con_progressiva);
  EXPECT_EQ(p->f.registro.codice_errore, errore_progressive);

  // It may replace a range error left by the line.
  auto q = compila_prova(
      "[generale]\nlunghezza percorso, 10000\nprogressiva chilometrica uno, 1000, 25, 0\n[curve]\n"
      "pendenza, 16950, 3\n[fine]\n");
  EXPECT_EQ(q->f.registro.codice_errore, errore_progressive);
  EXPECT_EQ(q->f.registro.posizione_errore, 16950);

  // Not when an error ended the train half.
  auto r = compila_prova(con_progressiva, treno_prova("abbattimento, -100, 0\n"));
  EXPECT_EQ(r->f.registro.codice_errore, errore_abbattimento_fuori_percorso);
}

TEST(ParserTreno, ParoleChiaveTrattiniEFineDelFile) {
  struct caso {
    const char* nome;
    std::string testo;
    int32_t vetture, codice;
  } casi[] = {
      {"keyword", "[generale]\nnumero vetture, 14\n[fine]\n", 14, 0},
      {"keyword in capitals", "[generale]\nNUMERO VETTURE, 14\n[fine]\n", 14, 0},
      {"hyphenated keyword lost", "[generale]\nnumero-vetture, 14\n[fine]\n", 0, 0},
      {"one hyphenated field passed over", "[generale]\n-x, numero vetture, 14\n[fine]\n", 14, 0},
      {"the second hyphenated field is passed over too", "[generale]\n-x, -vetture, 14\n[fine]\n", 0, 0},
      {"the third is tested", "[generale]\n-x, -y, -vetture, 14\n[fine]\n", 14, 0},
      {"before [generale]: not read", "numero vetture, 14\n[fine]\n", 0, 0},
      {"values ending the file", "[generale]\nnumero vetture, 14", 14, 0},
      {"keyword ending the file", "[generale]\nnumero vetture", 0, 0},
      {"values cut short", "[generale]\nsegnale, 2000, 2\n[fine]\n", 0, errore_lettura},
      {"not a number", "[generale]\nnumero vetture, quattordici\n[fine]\n", 0, errore_lettura},
      {"clock beyond 16 bits", "[generale]\norologio, 32768, 0, 0\n[fine]\n", 0, errore_lettura},
      // A row at 0 writes nothing: 1278 fails where it is first laid, in the tail.
      {"speed whose fifth passes 255", "[generale]\nvelocita, 0, 1278\nnumero vetture, 14\n[fine]\n", 14,
       errore_lettura},
      {"speed whose fifth passes 255, laid by the next row",
       "[generale]\nvelocita, 0, 1278\nvelocita, 1000, 100\nnumero vetture, 14\n[fine]\n", 0, errore_lettura},
  };
  for (const caso& c : casi) {
    auto p = compila_prova(linea_358, c.testo);
    EXPECT_EQ(p->f.registro.codice_errore, c.codice) << c.nome;
    EXPECT_EQ(p->f.scenario.tabella_stazioni[84].valore3, c.vetture) << c.nome;
    EXPECT_TRUE(p->f.treno_preso) << c.nome;
  }
}
