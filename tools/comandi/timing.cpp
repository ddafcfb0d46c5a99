// scenario timing: the fastest run of an author's scenario against its timetable.
#include <algorithm>

#include "tools/compila.h"
#include "tools/orari.h"
#include "tools/rapporto.h"
#include "tools/riga_di_comando.h"

namespace {

constexpr uso_opzione opzioni[] = {
    {&opzione_nome},
    {&opzione_treno},
    {&opzione_json,
     "one JSON object on standard output: the build's errors as 'check --json' gives them, then scenario, treno, "
     "modello, righe, sezioni, senza_limite, anomalie, fuori_corsa, mantenibile"},
    {&opzione_csv, "the rows of the table as comma-separated values, with a header row; times and durations in "
                   "seconds",
     true},
};

verdetto esegui(const richiesta& r, ambiente& a) {
  esito_comando esito = compila_scenario(r);
  // The table tells each section's verdict: the timetable's warnings would say it twice.
  std::erase_if(esito.c.registro.avvisi, [](const avviso_registrato& x) {
    return x.codice == avviso_tratta_impossibile || x.codice == avviso_margine_scarso ||
           x.codice == avviso_senza_limite;
  });
  verdetto v = verdetto_di(esito.c);
  // Errors or not, the run is timed over what was compiled, once the route grid stands.
  const bool griglia = esito.c.marcia.has_value();
  const marcia nessuna;
  const marcia& m = griglia ? *esito.c.marcia : nessuna;
  v.orario_impossibile = !tutte_mantenibili(m);

  if (r.forma == formato::json) {
    a.out << orario_json(esito, r.marcia, griglia ? &m : nullptr)
                 .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
          << '\n';
    return v;
  }
  scrivi_diagnostica(esito, false, a.err);
  if (v.errori > 0 || v.rifiuto)
    a.err << (griglia ? "scenario: errors found; the run is timed over the scenario as compiled\n"
                      : "scenario: errors found and no route grid built; nothing to time\n");
  if (griglia) {
    if (r.forma == formato::csv) scrivi_orario_csv(m, a.out);
    else scrivi_orario_testo(esito.c.scenario, r.marcia, m, a.out);
  }
  return v;
}

}  // namespace

extern const comando comando_timing{
    "timing",
    azione::timing,
    "LINE TRAIN",
    "the same compile, then the fastest run against the timetable: the margin of every section between two stops",
    "Compiles LINE and TRAIN exactly as 'scenario check' does and works out the\n"
    "fastest run of the train against its timetable: leaving each stop from\n"
    "standstill, full acceleration up to the most restrictive limit (line limits,\n"
    "slow orders, speed-reduction points, the top speed), braking in time for every\n"
    "lower limit and for the next stop, gradients acting on both. Prints the values\n"
    "of the train model used and where each came from, then, station by station,\n"
    "the scheduled and the fastest times: departures, stations passed (the\n"
    "scheduled passing time is the section's margin spread over it, to the minute)\n"
    "and arrivals with the section's margin; then each section between two stops\n"
    "with its distance, scheduled and fastest running times and margin. A section\n"
    "whose margin is below 0 cannot be kept. The model is told in docs/marcia.md.\n"
    "Errors found are reported as 'scenario check' reports them; the run is timed\n"
    "over the scenario as compiled, when its route grid was built.\n",
    opzioni,
    true,
    "0 every section can be kept; 1 a section cannot be kept, or an error found; 2 usage or file error; 3 refused "
    "by error 1250 or 1251.",
    completa::sorgenti,
    concludi_sorgenti,
    esegui,
};
