#include "porta/compila.h"

#include <utility>
#include <vector>

#include "compiler/testo_sorgenti.h"

esito_compilazione compila(const testo_sorgente& linea, const testo_sorgente& treno, const opzioni_compilazione& o) {
  esito_compilazione e;
  e.sorgenti = {sorgente_compilata{std::string(linea.etichetta), std::string(linea.testo)},
                sorgente_compilata{std::string(treno.etichetta), std::string(treno.testo)}};
  // The packed files hold single-byte text: a UTF-8 source is made so first.
  std::vector<avviso_registrato> avvisi_testo;
  if (o.da_utf8)
    for (sorgente_compilata& s : e.sorgenti)
      for (avviso_registrato& a : rendi_1252(s.testo, s.etichetta)) avvisi_testo.push_back(std::move(a));

  scenario_compilato c =
      memorizza_dati(o.nome_scenario, o.numero_treno, o.piano_linea ? 1 : 0,
                     {e.sorgenti[0].etichetta, e.sorgenti[0].testo, linea.stato},
                     {e.sorgenti[1].etichetta, e.sorgenti[1].testo, treno.stato});
  e.scenario = std::move(c.scenario);
  e.registro = std::move(c.registro);
  e.treno_preso = c.treno_preso;
  // They come first: they are about reading the sources.
  e.registro.avvisi.insert(e.registro.avvisi.begin(), avvisi_testo.begin(), avvisi_testo.end());

  e.rifiuto = completa_scenario(e.scenario, e.registro);

  // The timetable is judged also after an error, over what was read: a limit
  // the build did not read could only have slowed the run, so a section found
  // too short stays so.
  if (o.con_marcia && ha_percorso(e.scenario)) {
    e.marcia = calcola_marcia(e.scenario, modello_da_scenario(e.scenario, o.marcia),
                              o.con_decisioni ? &e.decisioni : nullptr);
    for (avviso_registrato& a : avvisi_marcia(e.registro, *e.marcia))
      e.registro.avvisi.push_back(std::move(a));
  }
  return e;
}
