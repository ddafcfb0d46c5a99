#include "compiler/memorizza_dati.h"

#include <gtest/gtest.h>

#include "compiler/codici_errore.h"
#include "prove/sorgenti.h"

namespace {

// A source as a test gives it: text, or none at all.
testo_sorgente letta(std::string_view etichetta, const std::string& testo) { return {etichetta, testo}; }
testo_sorgente senza(std::string_view etichetta, stato_sorgente stato) { return {etichetta, {}, stato}; }

}  // namespace

TEST(MemorizzaDati, QuandoIlTrenoEPreso) {
  const std::string linea = con_crlf(linea_prova(10000));
  const std::string treno = con_crlf(treno_prova("numero vetture, 14\n"));
  struct caso {
    const char* nome;
    testo_sorgente linea, treno;
    int32_t codice;
    bool treno_preso;  // false: the line half ended with its own error, the train is never taken up
  };
  const std::string generale_mancante = con_crlf("[curve]\n[fine]\n");
  const std::string troppo_lunga = con_crlf(linea_prova(1000001));
  const std::string senza_lunghezza = con_crlf("[generale]\n[curve]\n[fine]\n");
  const std::string cartello_occupato =
      con_crlf(linea_prova(10000, "cartello_indicatore, 1000, a\ncartello_indicatore, 1000, b\n"));
  const std::string lettura_fallita = con_crlf(linea_prova(10000, "pendenza, x, 1\n"));
  const std::string fuori_percorso = con_crlf(linea_prova(10000, "pendenza, 20000, 1\n"));
  const std::string segnale_doppio =
      con_crlf(treno_prova("segnale, 2000, 2,4,1,0,0,1,3,1,0,0\nsegnale, 2000, 2,4,1,0,0,1,3,1,0,0\n"));
  const std::string sabbia_larga = con_crlf(treno_prova("sabbia, 40000\n"));
  const std::string progressiva =
      con_crlf("[generale]\nlunghezza percorso, 10000\nprogressiva chilometrica uno, 10, 0, 0\n");
  const caso casi[] = {
      {"a clean compile", letta("l", linea), letta("t", treno), 0, true},
      {"no line source", senza("l", stato_sorgente::mancante), letta("t", treno), errore_linea_mancante, false},
      {"no [generale] in the line", letta("l", generale_mancante), letta("t", treno), errore_generale_mancante, false},
      {"route too long", letta("l", troppo_lunga), letta("t", treno), errore_lunghezza_percorso, false},
      {"no route length", letta("l", senza_lunghezza), letta("t", treno), errore_lunghezza_mancante, false},
      {"occupied board", letta("l", cartello_occupato), letta("t", treno), errore_cartello_occupato, false},
      // The common failure exit is done with both sources, whichever half it left.
      {"failed read in the line", letta("l", lettura_fallita), letta("t", treno), errore_lettura, true},
      {"unreadable line source", senza("l", stato_sorgente::illeggibile), letta("t", treno), errore_lettura, true},
      {"range error in the line", letta("l", fuori_percorso), letta("t", treno), errore_fuori_percorso, true},
      {"refused signal", letta("l", linea), letta("t", segnale_doppio), errore_segnale_occupato, true},
      {"failed read in the train", letta("l", linea), letta("t", sabbia_larga), errore_lettura, true},
      {"no train source", letta("l", linea), senza("t", stato_sorgente::mancante), errore_lettura, true},
      {"unreadable train source", letta("l", linea), senza("t", stato_sorgente::illeggibile), errore_lettura, true},
      // The line half's own error stops nothing: no train source is needed to see it.
      {"no train after a refused line", letta("l", cartello_occupato), senza("t", stato_sorgente::mancante),
       errore_cartello_occupato, false},
      {"bad kilometre reference", letta("l", progressiva), letta("t", treno), errore_progressive, true},
  };
  for (const caso& c : casi) {
    const scenario_compilato f = memorizza_dati("Prova", "1", 0, c.linea, c.treno);
    EXPECT_EQ(f.treno_preso, c.treno_preso) << c.nome;
    EXPECT_EQ(f.registro.codice_errore, c.codice) << c.nome;
  }
}

TEST(MemorizzaDati, UscitaComuneNominaIlCampoEPreservaLaPosizione) {
  // A range error gives the pair its position; the common failure exit after
  // it names no position, and the earlier one stays.
  prova_compilazione p;
  p.compila(linea_prova(10000, "pendenza, 20000, 1\n"),
            "[generale]\n"
            "numero vetture, 14\n"
            "stazione, 1000, 256, 400, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, X\n"
            "[fine]\n");
  const scenario_compilato& f = p.f;
  EXPECT_EQ(f.registro.codice_errore, errore_lettura);
  EXPECT_EQ(f.registro.posizione_errore, 20000);
  ASSERT_EQ(f.registro.errori.size(), 2u);
  EXPECT_EQ(f.registro.errori[0].codice, errore_fuori_percorso);
  EXPECT_EQ(f.registro.errori[1].file, etichetta_treno);
  EXPECT_EQ(f.registro.errori[1].riga, 3);
  EXPECT_EQ(f.registro.errori[1].colonna, 17) << "the kind 256";
  EXPECT_FALSE(f.registro.errori[1].con_posizione);
  EXPECT_EQ(f.scenario.tabella_stazioni[1].valore3, 1000) << "what was read stays";

  // A source that could not be read: the exit names it, with no place in it.
  prova_compilazione q;
  const std::string treno = treno_prova();
  q.f = memorizza_dati("Prova", "1", 0, senza(etichetta_linea, stato_sorgente::illeggibile), letta(etichetta_treno, treno));
  EXPECT_EQ(q.f.registro.codice_errore, errore_lettura);
  ASSERT_EQ(q.f.registro.errori.size(), 1u);
  EXPECT_EQ(q.f.registro.errori[0].file, etichetta_linea);
  EXPECT_EQ(q.f.registro.errori[0].riga, 0);
}

TEST(MemorizzaDati, GliErroriNominanoFileRigaEColonna) {
  auto p = compila_prova(linea_prova(10000,
                                     "pendenza, 1000, 5\n"
                                     "cartello_indicatore, 1000, (Km 1)\n"
                                     "cartello_indicatore,   1000, (Km 2)\n"));
  const scenario_compilato& f = p->f;
  EXPECT_EQ(f.registro.codice_errore, errore_cartello_occupato);
  ASSERT_EQ(f.registro.errori.size(), 1u);
  const errore_registrato& e = f.registro.errori[0];
  EXPECT_EQ(e.file, etichetta_linea);
  EXPECT_EQ(e.riga, 13) << "the second board's row";
  EXPECT_EQ(e.colonna, 30) << "its text, the last field read";
  EXPECT_TRUE(e.con_posizione);
  EXPECT_EQ(e.posizione, 1000);

  // A recorder's refusal gets the row's position afterwards.
  auto q = compila_prova(linea_prova(10000, "indicatori_vmax, 1050, 1,1,1,0,1,1,1,0\nindicatori_vmax, 1050, 1,1,1,0,1,1,1,0\n"));
  ASSERT_EQ(q->f.registro.errori.size(), 1u);
  EXPECT_EQ(q->f.registro.errori[0].codice, errore_indicatore_occupato);
  EXPECT_EQ(q->f.registro.errori[0].posizione, 1050);
  EXPECT_TRUE(q->f.registro.errori[0].con_posizione);
  EXPECT_EQ(q->f.registro.errori[0].riga, 12);
}

