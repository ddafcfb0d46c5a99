#include "compiler/memorizza_dati.h"

#include <gtest/gtest.h>

#include "compiler/codici_errore.h"
#include "prove/sorgenti.h"

TEST(MemorizzaDati, QualiSorgentiRestanoDopoOgniUscita) {
  const std::string linea = linea_prova(10000);
  struct caso {
    const char* nome;
    std::string linea, treno;  // an empty text: the file is not written
    int32_t codice;
    bool treno_resta;  // the line half ended with its own error: the train source is never opened
  } casi[] = {
      {"a clean compile", linea, treno_prova("numero vetture, 14\n"), 0, false},
      {"no line source", "", treno_prova(), errore_linea_mancante, true},
      {"no [generale] in the line", "[curve]\n[fine]\n", treno_prova(), errore_generale_mancante, true},
      {"route too long", linea_prova(1000001), treno_prova(), errore_lunghezza_percorso, true},
      {"no route length", "[generale]\n[curve]\n[fine]\n", treno_prova(), errore_lunghezza_mancante, true},
      {"occupied board", linea_prova(10000, "cartello_indicatore, 1000, a\ncartello_indicatore, 1000, b\n"),
       treno_prova(), errore_cartello_occupato, true},
      // The common failure exit deletes whatever source is still there.
      {"failed read in the line", linea_prova(10000, "pendenza, x, 1\n"), treno_prova(), errore_lettura, false},
      {"range error in the line", linea_prova(10000, "pendenza, 20000, 1\n"), treno_prova(), errore_fuori_percorso,
       false},
      {"refused signal", linea, treno_prova("segnale, 2000, 2,4,1,0,0,1,3,1,0,0\nsegnale, 2000, 2,4,1,0,0,1,3,1,0,0\n"),
       errore_segnale_occupato, false},
      {"failed read in the train", linea, treno_prova("sabbia, 40000\n"), errore_lettura, false},
      {"no train source", linea, "", errore_lettura, false},
      {"bad kilometre reference", "[generale]\nlunghezza percorso, 10000\nprogressiva chilometrica uno, 10, 0, 0\n",
       treno_prova(), errore_progressive, false},
  };
  for (const caso& c : casi) {
    prova_compilazione p;
    if (!c.linea.empty()) p.linea(c.linea);
    if (!c.treno.empty()) p.treno(c.treno);
    memorizza_dati(p.f);
    EXPECT_EQ(p.f.codice_errore, c.codice) << c.nome;
    EXPECT_FALSE(p.linea_rimasta()) << c.nome;
    EXPECT_EQ(p.treno_rimasto(), c.treno_resta) << c.nome;
    EXPECT_TRUE(p.f.sorgente_file.empty()) << c.nome << ": later errors name no source";
    EXPECT_EQ(p.f.sorgente_riga, 0) << c.nome;
    EXPECT_EQ(p.f.sorgente_colonna, 0) << c.nome;
  }
}

TEST(MemorizzaDati, UscitaComuneNominaIlCampoEPreservaLaPosizione) {
  prova_compilazione p;
  p.f.posizione_errore = 777;
  p.compila(linea_prova(10000),
            "[generale]\n"
            "numero vetture, 14\n"
            "stazione, 1000, 256, 400, 0,0,0, 1,1,0, 4,1,1, 0, 0,0,0, X\n"
            "[fine]\n");
  const Form1& f = p.f;
  EXPECT_EQ(f.codice_errore, errore_lettura);
  EXPECT_EQ(f.posizione_errore, 777);
  ASSERT_EQ(f.errori.size(), 1u);
  EXPECT_EQ(f.errori[0].file, "Prova_Linea_12-.txt");
  EXPECT_EQ(f.errori[0].riga, 3);
  EXPECT_EQ(f.errori[0].colonna, 17) << "the kind 256";
  EXPECT_FALSE(f.errori[0].con_posizione);
  EXPECT_EQ(f.tabella_stazioni[1].valore3, 1000) << "what was read stays";

  // A line source that cannot be read: the exit, and no exception leaves.
  prova_compilazione q;
  std::filesystem::create_directory(file_linea_sorgente(q.f));
  q.treno(treno_prova());
  EXPECT_NO_THROW(memorizza_dati(q.f));
  EXPECT_EQ(q.f.codice_errore, errore_lettura);
  EXPECT_FALSE(std::filesystem::exists(file_treno_sorgente(q.f)));
}

TEST(MemorizzaDati, GliErroriNominanoFileRigaEColonna) {
  auto p = compila_prova(linea_prova(10000,
                                     "pendenza, 1000, 5\n"
                                     "cartello_indicatore, 1000, (Km 1)\n"
                                     "cartello_indicatore,   1000, (Km 2)\n"));
  const Form1& f = p->f;
  EXPECT_EQ(f.codice_errore, errore_cartello_occupato);
  ASSERT_EQ(f.errori.size(), 1u);
  const errore_registrato& e = f.errori[0];
  EXPECT_EQ(e.file, "Prova_Linea_linea.txt");
  EXPECT_EQ(e.riga, 13) << "the second board's row";
  EXPECT_EQ(e.colonna, 30) << "its text, the last field read";
  EXPECT_TRUE(e.con_posizione);
  EXPECT_EQ(e.posizione, 1000);

  // A recorder's refusal gets the row's position afterwards.
  auto q = compila_prova(linea_prova(10000, "indicatori_vmax, 1050, 1,1,1,0,1,1,1,0\nindicatori_vmax, 1050, 1,1,1,0,1,1,1,0\n"));
  ASSERT_EQ(q->f.errori.size(), 1u);
  EXPECT_EQ(q->f.errori[0].codice, errore_indicatore_occupato);
  EXPECT_EQ(q->f.errori[0].posizione, 1050);
  EXPECT_TRUE(q->f.errori[0].con_posizione);
  EXPECT_EQ(q->f.errori[0].riga, 12);
}
