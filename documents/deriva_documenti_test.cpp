#include "documents/deriva_documenti.h"

#include <gtest/gtest.h>

#include "prove/derivati.h"
#include "prove/forma_documenti.h"

using namespace prova_derivati;

namespace {

constexpr int32_t ore(int h, int m, int s = 0) { return h * 3600 + m * 60 + s; }

// Five stations over 40 km: stops at the origin, the middle one and the
// destination; 100 km/h to 10 km, then 140, 160 from the fourth station on.
scenario linea_cinque() {
  scenario f = percorso_vuoto(40000, "2345");
  metti_velocita(f, 0, 100);
  metti_velocita(f, 10000, 140);
  metti_velocita(f, 25000, 160);
  metti_velocita(f, 37000, 80);  // beyond the destination: no row
  metti_stazione(f, 0, "ALFA", ore(8, 0));
  metti_stazione(f, 7000, "BETA");
  metti_stazione(f, 15000, "GAMMA", ore(8, 20));
  metti_stazione(f, 25000, "DELTA");
  metti_stazione(f, 33000, "EPSILON", ore(9, 0));
  f.tabella_stazioni[slot_treno_percorso].valore1 = 140;
  return f;
}

std::vector<const riga_scheda*> stazioni(const modello_scheda& m) {
  std::vector<const riga_scheda*> s;
  for (const riga_scheda& r : m.righe)
    if (r.stazione) s.push_back(&r);
  return s;
}

bool avvisato(const std::vector<avviso_documento>& a, std::string_view dove, std::string_view testo) {
  for (const avviso_documento& x : a)
    if (x.dove == dove && x.testo.find(testo) != std::string::npos) return true;
  return false;
}

std::string elenco(const std::vector<avviso_documento>& a) {
  std::string s;
  for (const avviso_documento& x : a) s += x.dove + ": " + x.testo + "\n";
  return s;
}

}  // namespace

TEST(DerivaScheda, OrariDelleStazioni) {
  const scenario f = linea_cinque();
  using o = orario_riga;
  using fo = forma_orario;
  struct caso {
    const char* nome;
    std::vector<orari_stazione> orari;
    int32_t sosta;
    std::vector<orario_riga> attesi;
    std::vector<std::optional<int32_t>> recuperi;
  };
  const caso casi[] = {
      {"from the train source alone: stops keep two minutes, passed stations no time",
       {},
       120,
       {o{fo::partenza, 0, ore(8, 0), 0}, o{}, o{fo::fermata, ore(8, 18), ore(8, 20), 0}, o{},
        o{fo::arrivo, ore(9, 0), 0, 0}},
       {{}, {}, {}, {}, {}}},
      {"a shorter dwell", {}, 60,
       {o{fo::partenza, 0, ore(8, 0), 0}, o{}, o{fo::fermata, ore(8, 19), ore(8, 20), 0}, o{},
        o{fo::arrivo, ore(9, 0), 0, 0}},
       {{}, {}, {}, {}, {}}},
      {"the timing's times and margins; the sheet's own departure",
       {{{}, ore(7, 50), {}, {}},
        {{}, {}, ore(8, 7, 40), {}},
        {ore(8, 17), {}, {}, 1.0},
        {{}, {}, {}, 0.25},  // half a tenth: to the even tenth below
        {{}, {}, {}, 1.35}},
       120,
       {o{fo::partenza, 0, ore(7, 50), 0}, o{fo::transito, 0, 0, ore(8, 7, 40)}, o{fo::fermata, ore(8, 17), ore(8, 20), 0},
        o{}, o{fo::arrivo, ore(9, 0), 0, 0}},
       {{}, {}, 10, 2, 14}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    opzioni_documenti op;
    op.sosta = c.sosta;
    const documenti_derivati d = deriva_documenti(f, c.orari, op);
    const std::vector<const riga_scheda*> s = stazioni(d.scheda);
    ASSERT_EQ(s.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(s[i]->orario.forma, c.attesi[i].forma) << i;
      EXPECT_EQ(s[i]->orario.arrivo, c.attesi[i].arrivo) << i;
      EXPECT_EQ(s[i]->orario.partenza, c.attesi[i].partenza) << i;
      EXPECT_EQ(s[i]->orario.transito, c.attesi[i].transito) << i;
      EXPECT_EQ(s[i]->recupero, c.recuperi[i]) << i;
    }
  }
}

TEST(DerivaScheda, StazioniEPuntiDiRiferimentoInOrdine) {
  scenario f = linea_cinque();
  metti_galleria(f, 18000, 19500);
  metti_galleria(f, 38000, 38500);  // beyond the destination
  metti_cartello(f, 21000, "(Km 21+000)");
  opzioni_documenti op;
  op.velocita_massima = 150;
  op.classificazione = "R";
  const documenti_derivati d = deriva_documenti(f, {}, op);
  EXPECT_EQ(elenco(d.avvisi), "");
  struct attesa {
    bool stazione;
    std::optional<int32_t> limite, marcia;
    int64_t km;
    std::string luogo;
  };
  const std::vector<attesa> attese = {
      {true, 100, 100, 0, "ALFA"},
      {true, 100, {}, 7000, "BETA"},
      {false, 140, 140, 10000, "Km 10.000"},
      {true, 140, {}, 15000, "GAMMA"},
      {false, 140, {}, 18000, "Imb.Gall. Km 18.000"},
      {false, 140, {}, 19500, "Usc.Gall. Km 19.500"},
      {false, 140, {}, 21000, "Cartello (Km 21+000)"},
      // The change at the station's own position is its row's: no point of its own.
      {true, 160, 150, 25000, "DELTA"},
      {true, 160, {}, 33000, "EPSILON"},
  };
  ASSERT_EQ(d.scheda.righe.size(), attese.size());
  for (std::size_t i = 0; i < attese.size(); ++i) {
    const riga_scheda& r = d.scheda.righe[i];
    SCOPED_TRACE(attese[i].luogo);
    EXPECT_EQ(r.stazione, attese[i].stazione);
    EXPECT_EQ(r.velocita_linea, attese[i].limite);
    EXPECT_EQ(r.velocita_marcia, attese[i].marcia);
    EXPECT_EQ(r.chilometro, attese[i].km);
    EXPECT_EQ(r.luogo, attese[i].luogo);
    if (!r.stazione) {
      EXPECT_EQ(r.orario.forma, forma_orario::nessuna);
    }
  }
  const intestazione_scheda& t = d.scheda.intestazione;
  EXPECT_EQ(t.treno, "2345");
  EXPECT_EQ(t.origine, "ALFA");
  EXPECT_EQ(t.destinazione, "EPSILON");
  EXPECT_EQ(t.velocita_massima, 150);
  EXPECT_EQ(t.massa_frenata, 140);
  EXPECT_EQ(t.classificazione, "R");
  EXPECT_EQ(t.massa, std::nullopt);

  // Through the line's kilometre references: from 20 km the line counts from 120 km.
  f.tabella_stazioni[slot_progressiva_bassa].valore1 = 20000;
  f.tabella_stazioni[slot_progressiva_bassa].valore2 = 120000;
  const documenti_derivati k = deriva_documenti(f, {}, op);
  ASSERT_EQ(k.scheda.righe.size(), attese.size());
  EXPECT_EQ(k.scheda.righe[5].chilometro, 19500);
  EXPECT_EQ(k.scheda.righe[5].luogo, "Usc.Gall. Km 19.500");
  EXPECT_EQ(k.scheda.righe[6].chilometro, 121000);
  EXPECT_EQ(k.scheda.righe[8].chilometro, 133000);
}

TEST(DerivaRallentamenti, StazioniChilometroLunghezzaEPrescrizioni) {
  scenario f = percorso_vuoto(40000, "77");
  metti_velocita(f, 0, 120);
  metti_stazione(f, 2000, "ALFA");      // span 1800 - 2200
  metti_stazione(f, 10000, "BETA");     // 9800 - 10200
  metti_stazione(f, 20000, "GAMMA");    // 19800 - 20200
  metti_stazione(f, 30000, "DELTA");
  f.tabella_stazioni[slot_progressiva_bassa].valore1 = 22000;
  f.tabella_stazioni[slot_progressiva_bassa].valore2 = 122000;
  metti_rallentamento(f, 500, 30, 300);           // before the origin
  metti_rallentamento(f, 1500, 35, 350);          // ends on the origin's span, short of its point
  metti_rallentamento(f, 3025, 80, 800);          // off the 50 m grid: read at 3050
  metti_rallentamento(f, 9500, 50, 1000);         // takes in BETA
  metti_rallentamento(f, 19850, 40, 300);         // lies in GAMMA
  metti_rallentamento(f, 25000, 60, 200, 1);      // to be respected with the whole train; km 125
  metti_rallentamento(f, 27000, 70, 10);          // its end on its start's cell
  metti_rallentamento(f, 35000, 90, 400);         // beyond the destination
  const documenti_derivati d = deriva_documenti(f, {}, {});
  struct attesa {
    std::string stazioni;
    int64_t km;
    int32_t velocita;
    int64_t lunghezza;
    bool a;
    std::vector<std::string> b;
  };
  const std::vector<attesa> attese = {
      {"ALFA", 0, 30, 300, false, {}},
      {"ALFA", 1, 35, 350, false, {"ALFA"}},
      {"ALFA - BETA", 3, 80, 800, false, {}},
      {"BETA - GAMMA", 9, 50, 1000, false, {"BETA"}},
      {"GAMMA", 19, 40, 300, false, {"GAMMA"}},
      {"GAMMA - DELTA", 125, 60, 200, true, {}},
      {"GAMMA - DELTA", 127, 70, 0, false, {}},
      {"DELTA", 135, 90, 400, false, {}},
  };
  const modello_rallentamenti& m = d.rallentamenti;
  EXPECT_EQ(m.treno, "77");
  EXPECT_EQ(m.linea, "ALFA - DELTA");
  ASSERT_EQ(m.righe.size(), attese.size());
  for (std::size_t i = 0; i < attese.size(); ++i) {
    SCOPED_TRACE("order " + std::to_string(i + 1));
    const riga_rallentamento& r = m.righe[i];
    EXPECT_EQ(r.numero, static_cast<int32_t>(i + 1));
    EXPECT_EQ(r.stazioni, attese[i].stazioni);
    EXPECT_EQ(r.chilometro, attese[i].km);
    EXPECT_EQ(r.velocita, attese[i].velocita);
    EXPECT_EQ(r.lunghezza, attese[i].lunghezza);
    EXPECT_EQ(r.prescrizione_a, attese[i].a);
    EXPECT_EQ(r.stazioni_b, attese[i].b);
  }
  EXPECT_TRUE(avvisato(d.avvisi, "slow-order form, order 7", "no end cell of its own")) << elenco(d.avvisi);
  EXPECT_EQ(d.avvisi.size(), 1u) << elenco(d.avvisi);
  const std::vector<std::string> righe = impagina_rallentamenti(m);
  EXPECT_EQ(righe[42], " B - Interessa anche le stazioni di ALFA, BETA, GAMMA");
}

TEST(DerivaDocumenti, NomiTagliatiETraslitteratiConIlLoroAvviso) {
  scenario f = percorso_vuoto(40000, "IC\xc3\xa9 123456789");
  metti_velocita(f, 0, 120);
  metti_stazione(f, 0, "SANTA MARIA DEGLI ANGELI E DEI MARTIRI");  // 38 characters
  metti_stazione(f, 10000, "CITT\xc3\x80 DI CASTELLO");
  metti_stazione(f, 20000, "FORL\xcc");                               // Latin-1
  metti_cartello(f, 15000, "Km 15|000 \xe2\x86\x92 nord");
  metti_rallentamento(f, 5000, 60, 400);
  opzioni_documenti op;
  op.firma = "Jos\xc3\xa9";
  const documenti_derivati d = deriva_documenti(f, {}, op);
  struct caso {
    std::string_view dove, testo;
    int32_t codice;  // a text cut, or written in plain letters
  };
  constexpr int32_t tagliato = avviso_documento_tagliato, piano = avviso_documento_traslitterato;
  const caso casi[] = {
      {"station 2", "written \"CITTA' DI CASTELLO\"", piano},
      {"station 3", "written \"FORLI'\"", piano},
      {"train number", "written \"ICe' 123456789\"", piano},
      {"train sheet, heading", "cut to \"ICe' 123\"", tagliato},
      {"train sheet, heading (origin)", "cut to \"SANTA MARIA DEGLI ANGE\"", tagliato},
      {"train sheet, station 1", "cut to \"SANTA MARIA DEGLI ANGELI E \"", tagliato},
      {"train sheet, kilometre board at km 15.000", "characters outside plain ASCII and a bar: written \"Km 15/000 ? nord\"",
       piano},
      {"slow-order form, order 1", "written \"SANTA MARIA D-CITTA' DI CAS\"", tagliato},
      {"notes", "signature \"Jos\\xc3\\xa9\" has characters outside plain ASCII: written \"Jose'\"", piano},
  };
  for (const caso& c : casi) {
    EXPECT_TRUE(avvisato(d.avvisi, c.dove, c.testo)) << c.dove << "\n" << elenco(d.avvisi);
    for (const avviso_documento& a : d.avvisi) {
      if (a.dove == c.dove && a.testo.find(c.testo) != std::string::npos) {
        EXPECT_EQ(a.codice, c.codice) << c.dove;
      }
    }
  }
  EXPECT_EQ(d.avvisi.size(), std::size(casi)) << elenco(d.avvisi);
  EXPECT_EQ(d.scheda.righe.front().luogo, "SANTA MARIA DEGLI ANGELI E ");
  EXPECT_EQ(d.note.origine, "SANTA MARIA DEGLI ANGELI E DEI MARTIRI");  // the notes have room
  EXPECT_EQ(d.note.destinazione, "FORLI'");
  EXPECT_EQ(d.note.firma, "Jose'");

  // Every text laid out stays plain ASCII, within its cell.
  EXPECT_EQ(forma_documenti::problemi_scheda(testo_documento(impagina_scheda(d.scheda)), righe_per_pagina),
            std::vector<std::string>{});
  EXPECT_EQ(forma_documenti::problemi_rallentamenti(testo_documento(impagina_rallentamenti(d.rallentamenti))),
            std::vector<std::string>{});
  EXPECT_EQ(forma_documenti::problemi_note(testo_documento(impagina_note(d.note))), std::vector<std::string>{});
}

TEST(DerivaNote, RitardoSoloQuandoLaPartenzaDellaSchedaDiffersce) {
  struct caso {
    const char* nome;
    int32_t origine;                  // the train source's time at the origin
    std::optional<int32_t> partenza;  // the sheet's departure
    int32_t ritardo;
  };
  const caso casi[] = {
      {"no departure of the sheet's own", ore(17, 13), {}, 0},
      {"the same departure", ore(17, 13), ore(17, 13), 0},
      {"ten minutes early on the sheet", ore(17, 13), ore(17, 3), 10},
      {"later on the sheet", ore(17, 13), ore(17, 18), -5},
      {"twenty seconds: no minute", ore(17, 13, 20), ore(17, 13), 0},
      {"across midnight", ore(0, 5), ore(23, 55), 10},
      {"an origin without a time", 0, ore(17, 3), 0},
  };
  for (const caso& c : casi) {
    scenario f = percorso_vuoto(20000, "739");
    metti_stazione(f, 0, "CORVANA", c.origine);
    metti_stazione(f, 10000, "TELMISA", ore(20, 30));
    std::vector<orari_stazione> orari(1);
    orari[0].partenza = c.partenza;
    const documenti_derivati d = deriva_documenti(f, orari, {});
    EXPECT_EQ(d.note.ritardo_minuti, c.ritardo) << c.nome;
    EXPECT_EQ(d.note.treno, "739");
    EXPECT_EQ(d.note.origine, "CORVANA");
  }
}

TEST(DerivaDocumenti, ScenariGeneratiBenFormati) {
  struct caso {
    int stazioni, rallentamenti;
    int32_t lunghezza;  // 0: as the generator sizes it
  };
  // 78 stations: as many as the station table holds without boards.
  const caso casi[] = {
      {1, 0, 0},  {1, 4, 0},  {1, 40, 0},  {20, 0, 0}, {20, 4, 0},
      {20, 40, 0}, {78, 0, 0}, {78, 4, 0}, {78, 40, 0},
      {70, 40, 1000000},  // the longest route
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(std::to_string(c.stazioni) + " stations, " + std::to_string(c.rallentamenti) + " slow orders, " +
                 std::to_string(c.lunghezza) + " m");
    const scenario f = scenario_generato(c.stazioni, c.rallentamenti, c.lunghezza);
    const documenti_derivati d = deriva_documenti(f, {}, {});
    EXPECT_EQ(elenco(d.avvisi), "");
    EXPECT_EQ(stazioni(d.scheda).size(), static_cast<std::size_t>(c.stazioni));
    EXPECT_EQ(d.rallentamenti.righe.size(), static_cast<std::size_t>(c.rallentamenti));
    for (const riga_rallentamento& r : d.rallentamenti.righe) EXPECT_EQ(r.lunghezza, 400) << r.numero;
    int64_t km = -1;
    for (const riga_scheda& r : d.scheda.righe) {
      ASSERT_TRUE(r.chilometro.has_value());
      EXPECT_GE(*r.chilometro, km) << r.luogo;
      km = *r.chilometro;
    }
    EXPECT_EQ(forma_documenti::problemi_scheda(testo_documento(impagina_scheda(d.scheda)), righe_per_pagina),
              std::vector<std::string>{});
    EXPECT_EQ(forma_documenti::problemi_rallentamenti(testo_documento(impagina_rallentamenti(d.rallentamenti))),
              std::vector<std::string>{});
    EXPECT_EQ(forma_documenti::problemi_note(testo_documento(impagina_note(d.note))), std::vector<std::string>{});
  }
}

TEST(DerivaDocumenti, PiuOrariCheStazioni) {
  scenario f = percorso_vuoto(20000);
  metti_stazione(f, 0, "A", ore(8, 0));
  metti_stazione(f, 10000, "B", ore(8, 10));
  const std::vector<orari_stazione> orari(3);
  const documenti_derivati d = deriva_documenti(f, orari, {});
  EXPECT_TRUE(avvisato(d.avvisi, "train sheet", "times given for 3 stations, the scenario has 2")) << elenco(d.avvisi);
}

TEST(DerivaDocumenti, UnoScenarioSenzaStazioniNePercorso) {
  const scenario f;  // a build that stopped before sizing its grid
  const documenti_derivati d = deriva_documenti(f, {}, {});
  EXPECT_TRUE(d.scheda.righe.empty());
  EXPECT_TRUE(d.rallentamenti.righe.empty());
  EXPECT_EQ(forma_documenti::problemi_scheda(testo_documento(impagina_scheda(d.scheda)), righe_per_pagina),
            std::vector<std::string>{});
  EXPECT_EQ(forma_documenti::problemi_note(testo_documento(impagina_note(d.note))), std::vector<std::string>{});
}

TEST(DerivaScheda, UnaFermataSubitoDopoMezzanotte) {
  scenario f = percorso_vuoto(30000);
  metti_stazione(f, 0, "A", ore(23, 50));
  metti_stazione(f, 10000, "B", ore(0, 1));
  metti_stazione(f, 20000, "C", ore(0, 30));
  const documenti_derivati d = deriva_documenti(f, {}, {});
  const riga_scheda& b = *stazioni(d.scheda).at(1);
  EXPECT_EQ(b.orario.arrivo, ore(23, 59));
  EXPECT_EQ(b.orario.partenza, ore(0, 1));
  EXPECT_EQ(riga_tabella_scheda(b).substr(59, 18), "|  23.59 - 00.01 |");
}
