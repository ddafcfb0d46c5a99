// Benchmarks of the build: the field reader, each stage of the built-in
// build, the whole build, the compile and pack of generated scenarios up to
// the longest route (1000 km), the fastest run over a generated scenario and
// the driver's documents derived from one. Files go to a private directory.
//
// Builds repeated in one process reuse the memory freed by the build before;
// a real run pays the first touch of every page it uses. To see that, run with
//   GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072 out/banco_build
// Whole processes are compared with `cp` by bench/confronta.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>

#include "analisi/marcia.h"
#include "bench/genera_scenario.h"
#include "impacchetta/fasi.h"
#include "compiler/lettore_campi.h"
#include "compiler/memorizza_dati.h"
#include "documents/deriva_documenti.h"
#include "prove/forma_documenti.h"
#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda_treno.h"
#include "formato/file.h"
#include "formato/nomi_file.h"
#include "packer/file_imballati.h"
#include "packer/imballa.h"
#include "prove/cartella.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace {

// A benchmark that measures a build which recorded an error measures the wrong thing.
void senza_errori(benchmark::State& stato, const esito_compilazione& e) {
  if (e.registro.codice_errore != 0 || e.rifiuto)
    stato.SkipWithError(("the build recorded error " + std::to_string(e.registro.codice_errore)).c_str());
}

// Every field of the generated 1000 km train source, read as text.
void lettore_campi_testo(benchmark::State& stato) {
  const std::string testo = genera_scenario(1000000).treno;
  std::string campo;
  for (auto _ : stato) {
    lettore_campi l = apri_campi(testo);
    while (leggi_testo(l, campo)) benchmark::DoNotOptimize(campo.data());
  }
  stato.SetBytesProcessed(static_cast<int64_t>(stato.iterations()) * static_cast<int64_t>(testo.size()));
}
BENCHMARK(lettore_campi_testo)->Unit(benchmark::kMicrosecond);

// One writer of the built-in build, alone: the text of its file.
template <std::string (*fase)()>
void scrittore(benchmark::State& stato) {
  for (auto _ : stato) benchmark::DoNotOptimize(fase());
}
BENCHMARK(scrittore<dati_linea>)->Name("fase/dati_linea")->Unit(benchmark::kMicrosecond);
BENCHMARK(scrittore<dati_treno>)->Name("fase/dati_treno")->Unit(benchmark::kMicrosecond);
BENCHMARK(scrittore<dati_note>)->Name("fase/dati_note")->Unit(benchmark::kMicrosecond);
BENCHMARK(scrittore<dati_rallentamenti>)->Name("fase/dati_rallentamenti")->Unit(benchmark::kMicrosecond);
BENCHMARK(scrittore<dati_scheda>)->Name("fase/dati_scheda")->Unit(benchmark::kMicrosecond);

// The driver's last stage on the built-in sources (written again, untimed,
// before each): read back, deleted, compiled, finished and packed into files.
void fase_memorizza_percorso(benchmark::State& stato) {
  cartella_prova dir;
  Form1 f;
  nomina_scenario(f);
  for (auto _ : stato) {
    stato.PauseTiming();
    sostituisci_file(dir.percorso / file_linea_sorgente(f.nome_scenario), dati_linea());
    sostituisci_file(dir.percorso / file_treno_sorgente(f.nome_scenario, f.numero_treno), dati_treno());
    stato.ResumeTiming();
    memorizza_percorso(f, dir.percorso, 1);
  }
  senza_errori(stato, f.esito);
}
BENCHMARK(fase_memorizza_percorso)->Name("fase/memorizza_percorso")->Unit(benchmark::kMillisecond);

// The packed line plan alone, worked out from the built-in plan's stretches
// and encoded piece by piece, as the build writes it (without the file).
void fase_codifica_linea(benchmark::State& stato) {
  const std::string linea = dati_linea(), treno = dati_treno();
  const scenario_compilato f = memorizza_dati("Corvana_Telmisa", "739", 1, {"linea", linea}, {"treno", treno});
  if (f.registro.codice_errore != 0) stato.SkipWithError("the build recorded an error");
  int64_t byte = 0;
  for (auto _ : stato)
    codifica_linea(f.scenario, [&byte](uint64_t, std::string_view pezzo) {
      benchmark::DoNotOptimize(pezzo.data());
      byte += static_cast<int64_t>(pezzo.size());
    });
  stato.SetBytesProcessed(byte);
}
BENCHMARK(fase_codifica_linea)->Name("fase/codifica_linea")->Unit(benchmark::kMillisecond);

// The one-shot program's whole build, its files in a private directory.
void build_completa(benchmark::State& stato) {
  cartella_prova dir;
  for (auto _ : stato) {
    Form1 f;
    nomina_scenario(f);
    esegui_build(f, dir.percorso);
    benchmark::DoNotOptimize(f.esito.registro.codice_errore);
    if (f.esito.registro.codice_errore != 0) senza_errori(stato, f.esito);
  }
}
BENCHMARK(build_completa)->Unit(benchmark::kMillisecond);

// A generated scenario compiled from memory, finished and packed into files,
// as `scenario pack` does it.
void scenario_generato_km(benchmark::State& stato) {
  const int32_t lunghezza = static_cast<int32_t>(stato.range(0)) * 1000;
  const scenario_generato s = genera_scenario(lunghezza);
  cartella_prova dir;
  for (auto _ : stato) {
    std::unique_ptr<esito_compilazione> f = compila_generato(s);
    if (da_imballare(*f))
      imballa_scenario(f->scenario, [&](file_imballato quale, const produttore& produci) {
        sostituisci_file(dir.percorso / file_imballato_di(quale, f->scenario.nome_scenario, f->scenario.numero_treno),
                         produci);
      });
    stato.PauseTiming();
    senza_errori(stato, *f);
    f.reset();  // freed outside the timing
    stato.ResumeTiming();
  }
}
BENCHMARK(scenario_generato_km)->Arg(100)->Arg(358)->Arg(1000)->Unit(benchmark::kMillisecond);

// The fastest run over a generated scenario, compiled once beforehand: the
// train from its source, the route from the grid, the run section by section.
void marcia_scenario_generato_km(benchmark::State& stato) {
  const int32_t lunghezza = static_cast<int32_t>(stato.range(0)) * 1000;
  const scenario_generato s = genera_scenario(lunghezza);
  const std::unique_ptr<esito_compilazione> p = compila_generato(s);
  senza_errori(stato, *p);
  const scenario& f = p->scenario;
  for (auto _ : stato) {
    const marcia r = calcola_marcia(f, modello_da_scenario(f));
    benchmark::DoNotOptimize(r.sezioni.data());
  }
}
BENCHMARK(marcia_scenario_generato_km)->Arg(358)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The same run with what decides each section worked out with it: each
// restriction lifted in turn, the run with none, the traction that keeps a
// section that cannot be kept.
void marcia_e_decisioni_scenario_generato_km(benchmark::State& stato) {
  const int32_t lunghezza = static_cast<int32_t>(stato.range(0)) * 1000;
  const scenario_generato s = genera_scenario(lunghezza);
  const std::unique_ptr<esito_compilazione> p = compila_generato(s);
  senza_errori(stato, *p);
  const scenario& f = p->scenario;
  std::vector<decisione_sezione> d;
  for (auto _ : stato) {
    const marcia r = calcola_marcia(f, modello_da_scenario(f), &d);
    benchmark::DoNotOptimize(r.sezioni.data());
    benchmark::DoNotOptimize(d.data());
  }
}
BENCHMARK(marcia_e_decisioni_scenario_generato_km)->Arg(358)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The driver's three documents of the generated 1000 km scenario, derived from
// the compiled scenario and laid out as text (the compile runs once, untimed;
// documents that break a form rule skip the measure).
void documenti_scenario_generato(benchmark::State& stato) {
  const scenario_generato s = genera_scenario(1000000);
  const std::unique_ptr<esito_compilazione> p = compila_generato(s, 0);
  senza_errori(stato, *p);
  const scenario& f = p->scenario;
  const auto testi = [&f] {
    const documenti_derivati d = deriva_documenti(f, {}, {});
    return std::array<std::string, 3>{testo_documento(impagina_scheda(d.scheda)),
                                      testo_documento(impagina_rallentamenti(d.rallentamenti)),
                                      testo_documento(impagina_note(d.note))};
  };
  const std::array<std::string, 3> t = testi();
  std::vector<std::string> problemi = forma_documenti::problemi_scheda(t[0], righe_per_pagina);
  for (const std::string& p : forma_documenti::problemi_rallentamenti(t[1])) problemi.push_back(p);
  for (const std::string& p : forma_documenti::problemi_note(t[2])) problemi.push_back(p);
  if (!problemi.empty()) stato.SkipWithError(("a document breaks a form rule: " + problemi.front()).c_str());
  int64_t byte = 0;
  for (auto _ : stato) {
    const std::array<std::string, 3> x = testi();
    benchmark::DoNotOptimize(x[0].data());
    byte += static_cast<int64_t>(x[0].size() + x[1].size() + x[2].size());
  }
  stato.SetBytesProcessed(byte);
  stato.counters["righe_scheda"] = static_cast<double>(std::count(t[0].begin(), t[0].end(), '\n'));
}
BENCHMARK(documenti_scenario_generato)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
