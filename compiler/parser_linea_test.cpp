#include "compiler/parser_linea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "compiler/codici_errore.h"
#include "formato/piano_linea.h"
#include "prove/sorgenti.h"

namespace {

// The general section as the built-in line has it.
const std::string generale_di_serie = sezione_generale(358000, 356000) + "[curve]\n";

}  // namespace

TEST(ParserLinea, SezioneGenerale) {
  struct caso {
    const char* nome;
    std::string testo;
    int32_t codice;
    std::size_t celle;              // size of the grid, 0 when never sized
    int32_t lunghezza, s81[3], s85[3], s86[3];
  } casi[] = {
      {"the written rows", std::string(generale_di_serie) + "[fine]\n", 0, 7301, 358000,
       {0, 0, 0}, {1, 0, 0}, {0, 356000, 4}},
      {"route length in capitals", "[generale]\nLUNGHEZZA PERCORSO, 5000\n[curve]\n[fine]\n", 0, 241, 5000,
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"longest route", "[generale]\nlunghezza percorso, 1000000\n[curve]\n[fine]\n", 0, 20141, 1000000,
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"route too long", "[generale]\nlunghezza percorso, 1000001\n[curve]\n[fine]\n",
       errore_lunghezza_percorso, 0, 1000001, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      // Only "above 1000000" is refused: a short negative route still has a grid.
      {"negative route", "[generale]\nlunghezza percorso, -50\n[curve]\n[fine]\n", 0, 140, -50,
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"no route length", "[generale]\nsfondo uno, 1\n[curve]\npendenza, 100, 1\n[fine]\n",
       errore_lunghezza_mancante, 0, 0, {0, 0, 0}, {1, 0, 0}, {0, 0, 0}},
      {"no route length: the references are still put in order",
       "[generale]\nprogressiva chilometrica uno, 300, 0, 0\n[curve]\n[fine]\n", errore_lunghezza_mancante, 0, 0,
       {300, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"hyphenated keyword passed over", "[generale]\nlunghezza-percorso, 5000\n[curve]\n[fine]\n",
       errore_lunghezza_mancante, 0, 0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"a hyphenated field before a keyword", "[generale]\n--nota--\nlunghezza percorso, 5000\n[curve]\n[fine]\n",
       0, 241, 5000, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"rows before [generale] ignored", "lunghezza percorso, 9000\n[generale]\nlunghezza percorso, 5000\n[curve]\n[fine]\n",
       0, 241, 5000, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      // The kilometre-reference keywords are case-sensitive.
      {"Progressiva with a capital",
       "[generale]\nlunghezza percorso, 5000\nProgressiva chilometrica tre, 100, 200, 0\n[curve]\n[fine]\n",
       0, 241, 5000, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"progressiva in lower case",
       "[generale]\nlunghezza percorso, 5000\nprogressiva chilometrica tre, 100, 200, 0\n[curve]\n[fine]\n",
       0, 241, 5000, {100, 200, 0}, {0, 0, 0}, {0, 0, 0}},
      {"backgrounds: due and tre crossed",
       "[generale]\nlunghezza percorso, 5000\nsfondo uno, 1\nsfondo due, 2\nsfondo tre, 3\n[curve]\n[fine]\n",
       0, 241, 5000, {0, 0, 0}, {1, 3, 2}, {0, 0, 0}},
      {"cab signal, 9 codes, no span",
       "[generale]\nlunghezza percorso, 5000\nripetizione segnali 9 codici, 0, 0\n[curve]\n[fine]\n",
       0, 241, 5000, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"cab signal, 9 codes",
       "[generale]\nlunghezza percorso, 5000\nripetizione segnali 9 codici, 0, 100\n[curve]\n[fine]\n",
       0, 241, 5000, {0, 0, 0}, {0, 0, 0}, {0, 100, 9}},
      {"cab signal without a code count",
       "[generale]\nlunghezza percorso, 5000\nripetizione segnali codici, 0, 100\n[curve]\n[fine]\n",
       errore_codici_ripetizione, 241, 5000, {0, 0, 0}, {0, 0, 0}, {0, 100, 0}},
      {"cab signal start 25",
       "[generale]\nlunghezza percorso, 5000\nripetizione segnali 4 codici, 25, 100\n[curve]\n[fine]\n",
       errore_inizio_ripetizione, 241, 5000, {0, 0, 0}, {0, 0, 0}, {25, 100, 0}},
      {"cab signal end 75",
       "[generale]\nlunghezza percorso, 5000\nripetizione segnali 4 codici, 0, 75\n[curve]\n[fine]\n",
       errore_fine_ripetizione, 241, 5000, {0, 0, 0}, {0, 0, 0}, {0, 75, 0}},
      {"no [generale]", "lunghezza percorso, 5000\n[curve]\n[fine]\n", errore_generale_mancante, 0, 0,
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"[generale] as the last field", "lunghezza percorso, 5000\n[generale]\n", errore_generale_mancante, 0, 0,
       {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"empty file", "", errore_generale_mancante, 0, 0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
  };
  for (const caso& c : casi) {
    auto p = compila_prova(c.testo);
    const scenario_compilato& f = p->f;
    EXPECT_EQ(f.registro.codice_errore, c.codice) << c.nome;
    EXPECT_EQ(f.scenario.percorso.size(), c.celle) << c.nome;
    const auto& t = f.scenario.tabella_stazioni;
    EXPECT_EQ(t[84].valore2, c.lunghezza) << c.nome;
    EXPECT_EQ((std::array{t[81].valore1, t[81].valore2, t[81].valore3}), std::to_array(c.s81)) << c.nome;
    EXPECT_EQ((std::array{t[85].valore1, t[85].valore2, t[85].valore3}), std::to_array(c.s85)) << c.nome;
    EXPECT_EQ((std::array{t[86].valore1, t[86].valore2, t[86].valore3}), std::to_array(c.s86)) << c.nome;
    EXPECT_EQ(t[85].nome, "Prova_Linea") << c.nome;
    EXPECT_EQ(t[86].nome, "12") << c.nome;
    EXPECT_EQ(p->f.treno_preso, c.codice == 0) << c.nome << ": an error here ends the compile before the train";
  }

  prova_compilazione senza_linea;
  const std::string treno = treno_prova();
  senza_linea.f = memorizza_dati(std::string(nome_prova), std::string(treno_di_prova), 0,
                                 {etichetta_linea, {}, stato_sorgente::mancante}, {etichetta_treno, treno});
  EXPECT_FALSE(senza_linea.f.treno_preso);
  EXPECT_EQ(senza_linea.f.registro.codice_errore, errore_linea_mancante);
  EXPECT_EQ(senza_linea.f.scenario.tabella_stazioni[slot_scenario].nome, "Prova_Linea");
}

TEST(ParserLinea, LunghezzeNegativeFinCheGrigliaEPianoHannoPosto) {
  // N = (L + 7000) / 50 rounded half to even must be a cell at least; the plan,
  // when built, must hold its points 0 and 1 (L + 7000 >= 1).
  struct caso {
    int32_t lunghezza, salva_linea, codice;
    std::size_t celle;
  } casi[] = {
      {-7025, 0, 0, 1},  // -0.5 rounds to 0: one cell
      {-7026, 0, errore_lunghezza_negativa, 0},
      {-6999, 1, 0, 1},
      {-7000, 1, errore_lunghezza_negativa, 0},
  };
  for (const caso& c : casi) {
    auto p = compila_prova("[generale]\nlunghezza percorso, " + std::to_string(c.lunghezza) + "\n[curve]\n[fine]\n",
                           treno_prova("velocita, -100, 100\n"), c.salva_linea);
    const scenario_compilato& f = p->f;
    EXPECT_EQ(f.registro.codice_errore, c.codice) << c.lunghezza;
    if (c.codice != 0) continue;
    ASSERT_EQ(f.scenario.percorso.size(), c.celle) << c.lunghezza;
    EXPECT_EQ(f.scenario.percorso[0].pendenza, 100) << c.lunghezza << ": the tails write cell 0";
    EXPECT_EQ(f.scenario.percorso[0].velocita, 20) << c.lunghezza;
    if (c.salva_linea != 0) {
      const auto g = punti_linea(f.scenario.griglia_linea);
      EXPECT_EQ(g[1].tag.size(), 2u) << c.lunghezza;
      EXPECT_EQ(g[1].valore.size(), 2u) << c.lunghezza;
      EXPECT_EQ(g[1].tag[1], elemento_intero) << c.lunghezza;
      EXPECT_EQ(g[1].valore[1], 1.0) << c.lunghezza;
    }
  }
}

TEST(ParserLinea, GrigliaEPianoDellaLineaDiSerie) {
  auto p = compila_prova(std::string(generale_di_serie) + "[fine]\n", treno_prova(), 1);
  const scenario_compilato& f = p->f;
  ASSERT_EQ(f.registro.codice_errore, 0);
  ASSERT_EQ(f.scenario.percorso.size(), 7301u);
  for (int c = 0; c <= 7300; ++c) EXPECT_EQ(f.scenario.percorso[c].pendenza, c <= 7297 ? 100 : 0) << "cell " << c;

  const auto g = punti_linea(f.scenario.griglia_linea);
  const asse_linea& x = g[0];
  const asse_linea& y = g[1];
  for (const asse_linea* a : {&x, &y}) {
    ASSERT_EQ(a->tag.size(), 365001u);
    ASSERT_EQ(a->valore.size(), 365001u);
  }
  EXPECT_EQ(x.tag[0], elemento_intero);
  EXPECT_EQ(y.tag[1], elemento_intero);
  EXPECT_EQ(y.valore[1], 1.0);
  for (int j = 2; j <= 364998; ++j) {
    ASSERT_EQ(y.tag[j], elemento_reale) << j;
    ASSERT_EQ(y.valore[j], j) << j;
    ASSERT_EQ(x.valore[j], 0.0) << j;
  }
  EXPECT_EQ(x.tag[364999], elemento_vuoto);
  EXPECT_EQ(y.tag[365000], elemento_vuoto);

  auto q = compila_prova(std::string(generale_di_serie) + "[fine]\n", treno_prova(), 0);
  EXPECT_EQ(q->f.scenario.griglia_linea.punti, 0) << "no plan unless asked for";
  EXPECT_TRUE(q->f.scenario.griglia_linea.tratti.empty());
}

TEST(ParserLinea, Pendenze) {
  // L = 10000: cells 0 to 340, gradients to cell 337.
  struct caso {
    const char* nome;
    const char* corpo;
    std::vector<std::pair<int, int>> tratti;  // (last cell, code) from cell 0 on
  } casi[] = {
      {"2025 rounds to cell 40", "pendenza, 2025, 6\n", {{39, 100}, {337, 106}, {340, 0}}},
      {"2075 rounds to cell 42", "pendenza, 2075, -7\n", {{41, 100}, {337, 93}, {340, 0}}},
      {"same position twice writes one more cell", "pendenza, 1000, 5\npendenza, 1000, 7\n",
       {{19, 100}, {20, 105}, {337, 107}, {340, 0}}},
      {"a row at 0 writes nothing", "pendenza, 0, 5\n", {{337, 105}, {340, 0}}},
      {"only the low 8 bits", "pendenza, 0, 200\n", {{337, 44}, {340, 0}}},
      {"the last accepted position reaches cell N - 2", "pendenza, 16900, 1\n",
       {{337, 100}, {338, 101}, {340, 0}}},
  };
  for (const caso& c : casi) {
    auto p = compila_prova(linea_prova(10000, c.corpo));
    const scenario_compilato& f = p->f;
    ASSERT_EQ(f.registro.codice_errore, 0) << c.nome;
    int cella = 0;
    for (auto [ultima, codice] : c.tratti)
      for (; cella <= ultima; ++cella) EXPECT_EQ(f.scenario.percorso[cella].pendenza, codice) << c.nome << ", cell " << cella;
  }
}

TEST(ParserLinea, PendenzeFuoriOrdineOltreLaGriglia) {
  // L = 0: cells 0 to 140. Each row at 50 m writes one more cell.
  std::string righe;
  for (int i = 0; i < 141; ++i) righe += "pendenza, 50, 1\n";
  auto p = compila_prova(linea_prova(0, righe));
  EXPECT_EQ(p->f.registro.codice_errore, errore_pendenze_oltre_percorso) << "141 cells written, the tail would write cell 141";
  EXPECT_EQ(p->f.scenario.percorso[140].pendenza, 101);

  auto q = compila_prova(linea_prova(0, righe + "pendenza, 50, 1\npendenza, 7000, 3\n"));
  EXPECT_EQ(q->f.registro.codice_errore, errore_pendenze_oltre_percorso);
  EXPECT_EQ(q->f.registro.posizione_errore, 50);
}

TEST(ParserLinea, PianoDelleCurve) {
  // The worked plan: a right curve of class 4 from metre 10 over 3 metres.
  auto p = compila_prova(linea_prova(1000, "curvad4, 10, 3\n"), treno_prova(), 1);
  const scenario_compilato& f = p->f;
  ASSERT_EQ(f.registro.codice_errore, 0);
  const auto g = punti_linea(f.scenario.griglia_linea);
  const asse_linea& x = g[0];
  const asse_linea& y = g[1];
  for (int j = 2; j <= 10; ++j) {
    EXPECT_EQ(x.tag[j], elemento_reale);
    EXPECT_EQ(x.valore[j], 0.0) << j;
    EXPECT_EQ(y.valore[j], j) << j;
  }
  const struct {
    int j;
    double x, y;
  } punti[] = {{11, 0.001, 11}, {12, 0.003, 11.999999}, {13, 0.005999999, 12.999996}};
  for (const auto& q : punti) {
    EXPECT_NEAR(x.valore[q.j], q.x, 5e-10) << q.j;
    EXPECT_NEAR(y.valore[q.j], q.y, 5e-10) << q.j;
  }
  // Then straight on with the last step.
  EXPECT_EQ(x.valore[14], x.valore[13] + (x.valore[13] - x.valore[12]));
  EXPECT_EQ(y.valore[14], y.valore[13] + (y.valore[13] - y.valore[12]));
  EXPECT_EQ(x.tag[7998], elemento_reale);
  EXPECT_EQ(x.tag[7999], elemento_vuoto);

  // The plan agrees bit for bit with the plain arithmetic (no fused multiply-add):
  // a long left curve of class 6, where any other order of evaluation shows.
  auto q = compila_prova(linea_prova(10000, "curvas6, 100, 3000\n"), treno_prova(), 1);
  const auto h = punti_linea(q->f.scenario.griglia_linea);
  EXPECT_EQ(h[0].valore[3100], -0x1.40caea407506fp+9);
  EXPECT_EQ(h[1].valore[3100], 0x1.daa643e394659p+7);
}

TEST(ParserLinea, ParoleDelleCurve) {
  struct caso {
    const char* riga;
    int32_t codice;
    double x11;  // x of point 11 for a curve from metre 10
  } casi[] = {
      {"curvad4, 10, 3", 0, 0.001},      {"curvas4, 10, 3", 0, -0.001},
      {"CURVAS4, 10, 3", 0, -0.001},     {"curva14, 10, 3", 0, 0.0001},
      {"curvad6, 10, 3", 0, 0.003},      {"curvad3, 10, 3", 0, 0.0004},
      {"curva, 10, 3", errore_curva, 0}, {"curvad7, 10, 3", errore_curva, 0},
  };
  for (const caso& c : casi) {
    auto p = compila_prova(linea_prova(1000, std::string(c.riga) + "\n"), treno_prova(), 1);
    EXPECT_EQ(p->f.registro.codice_errore, c.codice) << c.riga;
    if (c.codice == 0) {
      EXPECT_DOUBLE_EQ(punti_linea(p->f.scenario.griglia_linea)[0].valore[11], c.x11) << c.riga;
    }
  }

  // Without the plan a curve row is no row: its numbers match nothing.
  auto p = compila_prova(linea_prova(1000, "curva, 10, 3\n"), treno_prova(), 0);
  EXPECT_EQ(p->f.registro.codice_errore, 0);
}

TEST(ParserLinea, CurveSovrapposteEOltreIlPiano) {
  // The second curve starts inside the first: no straight run, it goes on
  // from the cursor with its own curvature.
  auto p = compila_prova(linea_prova(1000, "curvad1, 10, 10\ncurvad2, 15, 10\n"), treno_prova(), 1);
  const std::vector<double> x = punti_linea(p->f.scenario.griglia_linea)[0].valore;
  auto svolta = [&](int j) { return (x[j] - x[j - 1]) - (x[j - 1] - x[j - 2]); };
  EXPECT_NEAR(svolta(18), 0.0001, 1e-9);
  EXPECT_NEAR(svolta(23), 0.0002, 1e-9);
  EXPECT_NEAR(svolta(30), 0.0, 1e-12);

  // L = 0: the plan ends at metre 7000.
  auto q = compila_prova(linea_prova(0, "curvad1, 6800, 500\n"), treno_prova(), 1);
  EXPECT_EQ(q->f.registro.codice_errore, errore_curva_oltre_linea);
  EXPECT_EQ(punti_linea(q->f.scenario.griglia_linea)[0].tag[7000], elemento_reale);
  auto r = compila_prova(linea_prova(0, "curvad1, 6800, 200\n"), treno_prova(), 1);
  EXPECT_EQ(r->f.registro.codice_errore, 0) << "ends on the last point";

  // On the longest route the plan stops at metre 1000000.
  auto s = compila_prova(linea_prova(1000000, "curvad1, 999000, 2000\n"), treno_prova(), 1);
  EXPECT_EQ(s->f.registro.codice_errore, errore_curva);
  const auto g = punti_linea(s->f.scenario.griglia_linea);
  EXPECT_EQ(g[0].tag[1000000], elemento_reale);
  EXPECT_EQ(g[0].tag[1000001], elemento_vuoto);
}

TEST(ParserLinea, MontagneECartelli) {
  auto p = compila_prova(linea_prova(358000,
                                     "montagna,   135400,  137400,  11\n"
                                     "indicatori_vmax,  135500,  140,  160,  160,  0,  140,  160,  160,  0\n"
                                     "indicatori_vmax,  1050,  100,  105,  110,  2,  100,  105,  110,  2\n"
                                     "cartello_indicatore,  99950,   (Km 99+996)\n"
                                     "cartello_indicatore,  208550,   (Km 208+500)\n"));
  const scenario_compilato& f = p->f;
  ASSERT_EQ(f.registro.codice_errore, 0);
  EXPECT_EQ(std::count_if(f.registro.righe_lette.begin(), f.registro.righe_lette.end(),
                          [](const riga_letta& r) { return r.tipo == tipo_riga::montagna; }),
            1);
  EXPECT_EQ(f.scenario.percorso[2711].tipo, 6) << "a board replaces a mountain marker";
  EXPECT_EQ(f.scenario.percorso[2711].dato1, 2828);
  EXPECT_EQ(f.scenario.percorso[2715].tipo, 11);
  EXPECT_EQ(f.scenario.percorso[22].dato4, 22);
  EXPECT_EQ(f.scenario.percorso[2000].tipo, 14);
  EXPECT_EQ(f.scenario.percorso[2000].dato1, 80);
  EXPECT_EQ(f.scenario.tabella_stazioni[80].nome, "(Km 99+996)");
  EXPECT_EQ(f.scenario.percorso[4172].dato1, 79);
  EXPECT_EQ(f.scenario.tabella_stazioni[79].nome, "(Km 208+500)");
}

TEST(ParserLinea, RifiutiDelleRighe) {
  std::string ottanta_cartelli, ottantuno_montagne;
  for (int i = 1; i <= 80; ++i) ottanta_cartelli += "cartello_indicatore, " + std::to_string(i * 1000) + ", km\n";
  for (int i = 1; i <= 81; ++i)
    ottantuno_montagne += "montagna, " + std::to_string(i * 1000) + ", " + std::to_string(i * 1000 + 500) + ", 1\n";
  struct caso {
    const char* nome;
    std::string corpo;
    int32_t codice, posizione;
  } casi[] = {
      {"board on a speed board", "indicatori_vmax, 1050, 1,1,1,0,1,1,1,0\ncartello_indicatore, 1050, x\n",
       errore_cartello_occupato, 1050},
      {"speed board on a board", "cartello_indicatore, 1050, x\nindicatori_vmax, 1050, 1,1,1,0,1,1,1,0\n",
       errore_indicatore_occupato, 1050},
      {"speed board that does not fit", "indicatori_vmax, 1050, 2000,1,1,0,1,1,1,0\n", errore_lettura, 0},
      {"81 boards", ottanta_cartelli + "cartello_indicatore, 90000, km\n", errore_cartelli_troppi, 90000},
      {"an 81st board on a taken cell", ottanta_cartelli + "cartello_indicatore, 80000, km\n",
       errore_cartello_occupato, 80000},
      {"board before the route", "cartello_indicatore, -100, x\n", errore_cartello_fuori_percorso, -100},
      {"speed board before the route", "indicatori_vmax, -100, 1,1,1,0,1,1,1,0\n",
       errore_indicatore_fuori_percorso, -100},
      {"81 mountain spans", ottantuno_montagne, errore_montagne_troppe, 81000},
      {"mountain beyond the grid", "montagna, 300000, 400000, 1\n", errore_montagna_fuori_percorso, 300000},
  };
  for (const caso& c : casi) {
    auto p = compila_prova(linea_prova(358000, c.corpo + "pendenza, 5000, 3\n"),
                           treno_prova("numero vetture, 14\n"));
    const scenario_compilato& f = p->f;
    EXPECT_EQ(f.registro.codice_errore, c.codice) << c.nome;
    EXPECT_EQ(f.registro.posizione_errore, c.posizione) << c.nome;
    EXPECT_EQ(f.scenario.percorso[50].pendenza, 0) << c.nome << ": rows after it are not read, no tail";
    EXPECT_EQ(f.scenario.tabella_stazioni[84].valore3, 0) << c.nome << ": the train is not read";
  }
  auto p = compila_prova(linea_prova(358000, ottanta_cartelli));
  EXPECT_EQ(p->f.registro.codice_errore, 0) << "80 boards fit";
  EXPECT_EQ(p->f.scenario.tabella_stazioni[1].nome, "km");
}

TEST(ParserLinea, PosizioneOltreLaGriglia) {
  // L = 10000, N = 340: (p + 100) / 50 may reach 340, so p up to 16900.
  auto p = compila_prova(linea_prova(10000,
                                     "pendenza, 1000, 5\n"
                                     "pendenza, 16950, 3\n"
                                     "montagna, 2000, 3000, 1\n"),
                         treno_prova("numero vetture, 14\n"), 1);
  const scenario_compilato& f = p->f;
  EXPECT_EQ(f.registro.codice_errore, errore_fuori_percorso);
  EXPECT_EQ(f.registro.posizione_errore, 16950);
  EXPECT_EQ(f.scenario.percorso[19].pendenza, 100);
  EXPECT_EQ(f.scenario.percorso[337].pendenza, 105) << "the gradients read so far are laid";
  EXPECT_EQ(f.scenario.percorso[50].montagna, 0) << "rows after it are not read";
  EXPECT_EQ(punti_linea(f.scenario.griglia_linea)[1].tag[16998], elemento_reale) << "the plan is extended";
  EXPECT_EQ(f.scenario.tabella_stazioni[84].valore3, 14) << "the train is read";
  EXPECT_TRUE(p->f.treno_preso);

  for (const char* riga : {"curvad1, 16950, 10\n", "montagna, 16950, 17000, 1\n",
                           "indicatori_vmax, 16950, 1,1,1,0,1,1,1,0\n", "cartello_indicatore, 16950, x\n"}) {
    auto q = compila_prova(linea_prova(10000, riga), treno_prova(), 1);
    EXPECT_EQ(q->f.registro.codice_errore, errore_fuori_percorso) << riga;
    EXPECT_EQ(q->f.registro.posizione_errore, 16950) << riga;
  }
}

TEST(ParserLinea, LUltimoCampoNonEInterpretato) {
  const std::string generale = "[generale]\nlunghezza percorso, 10000\n[curve]\n";
  // A row whose values end the file is applied.
  auto p = compila_prova(generale + "pendenza, 1000, 5");
  EXPECT_EQ(p->f.registro.codice_errore, 0);
  EXPECT_EQ(p->f.scenario.percorso[100].pendenza, 105);
  // A keyword that ends the file is not: its missing values are no failed read.
  auto q = compila_prova(generale + "pendenza, 1000, 5\npendenza");
  EXPECT_EQ(q->f.registro.codice_errore, 0);
  // A row cut short by the end of the file is a failed read.
  auto r = compila_prova(generale + "pendenza, 1000\n[fine]\n");
  EXPECT_EQ(r->f.registro.codice_errore, errore_lettura);
  EXPECT_TRUE(r->f.treno_preso);
}

TEST(ParserLinea, TrattiniNelCorpo) {
  // At most two hyphenated fields are passed over; a third is tested.
  struct caso {
    const char* corpo;
    uint8_t pendenza;
  } casi[] = {
      {"-a, pendenza, 0, 5\n", 105},
      {"-a, -pendenza, 0, 5\n", 100},
      {"-a, -b, -pendenza, 0, 5\n", 105},
  };
  for (const caso& c : casi) {
    auto p = compila_prova(linea_prova(10000, c.corpo));
    EXPECT_EQ(p->f.registro.codice_errore, 0) << c.corpo;
    EXPECT_EQ(p->f.scenario.percorso[10].pendenza, c.pendenza) << c.corpo;
  }
}
