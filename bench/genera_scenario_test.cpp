#include "bench/genera_scenario.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "analisi/marcia.h"
#include "documents/orari_marcia.h"
#include "packer/imballa.h"
#include "prove/forma_documenti.h"

namespace {

// The measured scenarios must be ones the build accepts whole: a build that
// stops early on an error would measure less work than a real one.
TEST(genera_scenario, compila_senza_errori_a_ogni_lunghezza) {
  for (const int32_t lunghezza : {100000, 358000, 1000000}) {
    SCOPED_TRACE(lunghezza);
    const scenario_generato s = genera_scenario(lunghezza);
    const std::unique_ptr<esito_compilazione> p = compila_generato(s);
    EXPECT_TRUE(da_imballare(*p));
    for (const errore_registrato& e : p->registro.errori)
      ADD_FAILURE() << "error " << e.codice << " at line " << e.riga << " of " << e.file;
    // A sound scenario: nothing an author would be warned of.
    for (const avviso_registrato& a : p->registro.avvisi)
      ADD_FAILURE() << "warning " << a.codice << " at line " << a.riga << " of " << a.file << ": " << a.testo;
    const scenario& f = p->scenario;
    EXPECT_EQ(f.percorso.size(), static_cast<std::size_t>((lunghezza + 7000) / 50 + 1));
    EXPECT_EQ(f.griglia_linea.punti, lunghezza + 7001);
    // Every kind of row is there, with a density that grows with the route.
    int stazioni = 0, segnali = 0, rallentamenti = 0, cartelli = 0;
    for (const cella_percorso& c : f.percorso) {
      stazioni += c.tipo == tipo_punto_stazione;
      segnali += c.tipo == tipo_segnale;
      rallentamenti += c.tipo >= tipo_fine_rallentamento && c.tipo <= tipo_conto_rallentamento;
      cartelli += c.tipo == tipo_indicatore_km;
    }
    EXPECT_EQ(segnali, lunghezza / 10000 * 5);  // five in every whole 10 km
    EXPECT_GE(stazioni, 2);
    EXPECT_GE(rallentamenti, 1);
    if (lunghezza >= 358000) {
      EXPECT_GE(cartelli, 2);
    }
  }
}

// The fastest run over the longest generated route: a section between each
// two stops, standing still at each, every number finite.
TEST(genera_scenario, marcia_sul_percorso_piu_lungo) {
  const scenario_generato s = genera_scenario(1000000);
  const std::unique_ptr<esito_compilazione> p_f = compila_generato(s);
  ASSERT_TRUE(da_imballare(*p_f));
  ASSERT_EQ(p_f->registro.codice_errore, 0);
  const scenario& f = p_f->scenario;

  const modello_treno m = modello_da_scenario(f);
  const marcia r = calcola_marcia(f, m);
  const profilo_corsa p = profilo_da_scenario(f);
  ASSERT_GE(p.fermate.size(), 10u);
  ASSERT_EQ(r.sezioni.size(), p.fermate.size() - 1);
  EXPECT_TRUE(r.senza_limite.empty());  // a limit from 0 m to the end
  EXPECT_TRUE(r.anomalie.empty()) << "the stop times rise, crossing midnight once";
  for (const sezione& z : r.sezioni) {
    EXPECT_TRUE(z.mantenibile) << "the timetable can be kept, from " << z.da.nome;
    EXPECT_GT(z.distanza_m, 0);
    EXPECT_GT(z.tempo_minimo_s, 0);
    EXPECT_TRUE(std::isfinite(z.tempo_minimo_s) && std::isfinite(z.margine_s) && std::isfinite(z.margine_percento));
    for (const passaggio& q : z.passaggi) EXPECT_TRUE(std::isfinite(q.ora_orario_s));
  }
  std::size_t fermata = 0;
  for (const punto_marcia& q : r.profilo) {
    EXPECT_TRUE(std::isfinite(q.ora_s));
    EXPECT_LE(q.velocita_kmh, m.velocita_massima_kmh * (1 + 1e-12));
    if (fermata < p.fermate.size() && q.posizione_m == p.fermate[fermata]) {
      EXPECT_EQ(q.velocita_kmh, 0) << "at the stop at " << q.posizione_m << " m";
      ++fermata;
    }
  }
  EXPECT_EQ(fermata, p.fermate.size());

  // The driver's documents with the run's times: well formed over many pages,
  // every stop with its times, every section's margin.
  const documenti_derivati d = documenti_da_marcia(f, r, std::nullopt, {});
  int fermate = 0, recuperi = 0;
  for (const riga_scheda& x : d.scheda.righe) {
    fermate += x.orario.forma != forma_orario::nessuna && x.orario.forma != forma_orario::transito;
    recuperi += x.recupero.has_value();
  }
  EXPECT_EQ(fermate, static_cast<int>(p.fermate.size()));
  EXPECT_EQ(recuperi, static_cast<int>(r.sezioni.size()));
  EXPECT_EQ(forma_documenti::problemi_scheda(testo_documento(impagina_scheda(d.scheda)), righe_per_pagina),
            std::vector<std::string>{});
  EXPECT_EQ(forma_documenti::problemi_rallentamenti(testo_documento(impagina_rallentamenti(d.rallentamenti))),
            std::vector<std::string>{});
  EXPECT_EQ(forma_documenti::problemi_note(testo_documento(impagina_note(d.note))), std::vector<std::string>{});
}

}  // namespace
