// scenario timing: the fastest run of an author's scenario against its timetable.
#include <algorithm>

#include "tools/compila.h"
#include "tools/orari.h"
#include "tools/rapporto.h"
#include "tools/riga_di_comando.h"

namespace {

const opzione profilo{"--profile", "",
                      "with --csv: the run's speed profile instead (position, speed, time of day, what the train "
                      "does to the next point, braking points marked)",
                      accendi<&richiesta::profilo>};

constexpr uso_opzione opzioni[] = {
    {&opzione_nome},
    {&opzione_treno},
    {&opzione_json,
     "one JSON object on standard output: the build's errors as 'check --json' gives them, then scenario, treno, "
     "modello, righe, sezioni, profilo, senza_limite, anomalie, fuori_corsa, mantenibile, con_recupero"},
    {&opzione_csv, "the rows of the table as comma-separated values, with a header row; times and durations in "
                   "seconds",
     true},
    {&profilo},
};

bool concludi(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore) {
  if (r.profilo && r.forma != formato::csv) {
    errore = "option --profile goes with --csv (the JSON holds the profile always)";
    return false;
  }
  return concludi_sorgenti(r, posizionali, errore);
}

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
    scrivi_orario_json(esito, r.marcia, griglia ? &m : nullptr, esito.c.decisioni, a.out);
    a.out << '\n';
    return v;
  }
  scrivi_diagnostica(esito, false, a.err);
  if (v.errori > 0 || v.rifiuto)
    a.err << (griglia ? "scenario: errors found; the run is timed over the scenario as compiled\n"
                      : "scenario: errors found and no route grid built; nothing to time\n");
  if (griglia) {
    if (r.forma == formato::csv && r.profilo) scrivi_profilo_csv(m, a.out);
    else if (r.forma == formato::csv) scrivi_orario_csv(m, a.out);
    else scrivi_orario_testo(esito.c.scenario, r.marcia, m, esito.c.decisioni, a.out, &esito.c.registro);
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
    "standstill, full traction (the tractive effort the drive and the adhesion\n"
    "allow, then the power, against the running resistance, gradients and curves)\n"
    "up to the most restrictive limit (line limits, slow orders, speed-reduction\n"
    "points, the top speed), a lower limit kept until the train's tail has cleared\n"
    "it, braking in time for every lower limit and for the next stop. Prints every\n"
    "input of the run and where it came from, then, station by station, the\n"
    "scheduled and the fastest times: departures, stations passed (the scheduled\n"
    "passing time is the section's margin spread over it, to the minute) and\n"
    "arrivals (the next departure less the dwell, marked *); then each section with\n"
    "its distance, scheduled and fastest running times, the recovery margin, the\n"
    "time the fastest run and the margin need and what is left; and what decides\n"
    "each section: its time with no restriction, what each restriction costs, and\n"
    "for a section that cannot be kept, the dwell or the traction that would keep\n"
    "it. A section whose margin over the fastest run is below 0 cannot be kept. The\n"
    "model is told in docs/marcia.md. Errors found are reported as 'scenario check'\n"
    "reports them; the run is timed over the scenario as compiled, when its route\n"
    "grid was built.\n",
    opzioni,
    true,
    "0 every section can be kept; 1 a section cannot be kept, or an error found; 2 usage or file error; 3 refused "
    "by error 1250 or 1251.",
    completa::sorgenti,
    concludi,
    esegui,
};
