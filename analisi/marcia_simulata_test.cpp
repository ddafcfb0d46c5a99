// The fastest run checked by a second, independent way to it: a train driven
// in steps of 0.02 s over the route grid (prove/simulazione_marcia.h).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "analisi/marcia.h"
#include "compiler/memorizza_dati.h"
#include "packer/imballa.h"
#include "prove/simulazione_marcia.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

TEST(MarciaSimulata, LoScenarioIncorporatoSezionePerSezione) {
  // The built-in scenario with its line plan (its curves): the run of each
  // section agrees with the simulation to half a second, for the default
  // train, for it with limits let go at the head, and for a multiple unit.
  const std::string linea = dati_linea(), treno = dati_treno();
  auto c = std::make_unique<scenario_compilato>(
      memorizza_dati("Corvana_Telmisa", "739", 1, {"linea", linea}, {"treno", treno}));
  ASSERT_FALSE(completa_scenario(c->scenario, c->registro));
  const scenario* f = &c->scenario;
  ASSERT_FALSE(f->griglia_linea.tratti.empty());
  opzioni_marcia testa;
  testa.rilascio_in_coda = false;
  opzioni_marcia unita;
  unita.riferimento = treno_riferimento::elettrotreno;
  for (const opzioni_marcia& o : {opzioni_marcia{}, testa, unita}) {
    const modello_treno m = modello_da_scenario(*f, o);
    const marcia r = calcola_marcia(*f, m);
    ASSERT_EQ(r.sezioni.size(), 7u);
    for (const sezione& s : r.sezioni) {
      const double passi = simulazione_marcia::tempo(*f, m, s.da.posizione_m, s.a.posizione_m);
      EXPECT_NEAR(s.tempo_minimo_s, passi, 0.5) << s.da.nome << " - " << s.a.nome;
    }
  }
}
