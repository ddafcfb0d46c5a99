// Benchmarks of the build: the field reader, each stage of the built-in
// build, the whole build, and the compile and pack of a generated scenario of
// the longest route (1000 km). Every build runs in a private directory.
//
// Builds repeated in one process reuse the memory freed by the build before;
// a real run pays the first touch of every page it uses. To see that, run with
//   GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072 out/banco_build
// Whole processes are compared with `cp` by bench/confronta.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/genera_scenario.h"
#include "build/fasi.h"
#include "compiler/lettore_campi.h"
#include "documents/note.h"
#include "documents/rallentamenti.h"
#include "documents/scheda_treno.h"
#include "packer/file_imballati.h"
#include "packer/memorizza_percorso.h"
#include "prove/cartella.h"
#include "sources/dati_linea.h"
#include "sources/dati_treno.h"

namespace {

// A benchmark that measures a build which recorded an error measures the wrong thing.
void senza_errori(benchmark::State& stato, const Form1& f) {
  if (f.codice_errore != 0 || f.errore_imballaggio != 0)
    stato.SkipWithError(("the build recorded error " + std::to_string(f.codice_errore)).c_str());
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

// One writer stage of the built-in build, alone.
template <void (*fase)(const Form1&)>
void scrittore(benchmark::State& stato) {
  cartella_prova dir;
  Form1 f;
  nomina_scenario(f, dir.percorso);
  for (auto _ : stato) fase(f);
}
BENCHMARK(scrittore<dati_linea>)->Name("fase/dati_linea")->Unit(benchmark::kMicrosecond);
BENCHMARK(scrittore<dati_treno>)->Name("fase/dati_treno")->Unit(benchmark::kMicrosecond);
BENCHMARK(scrittore<dati_note>)->Name("fase/dati_note")->Unit(benchmark::kMicrosecond);
BENCHMARK(scrittore<dati_rallentamenti>)->Name("fase/dati_rallentamenti")->Unit(benchmark::kMicrosecond);
BENCHMARK(scrittore<dati_scheda>)->Name("fase/dati_scheda")->Unit(benchmark::kMicrosecond);

// The compile and pack of the built-in sources (written again, untimed, before each).
void fase_memorizza_percorso(benchmark::State& stato) {
  cartella_prova dir;
  Form1 f;
  nomina_scenario(f, dir.percorso);
  for (auto _ : stato) {
    stato.PauseTiming();
    dati_linea(f);
    dati_treno(f);
    stato.ResumeTiming();
    memorizza_percorso(f, 1);
  }
  senza_errori(stato, f);
}
BENCHMARK(fase_memorizza_percorso)->Name("fase/memorizza_percorso")->Unit(benchmark::kMillisecond);

// The packed line plan alone, worked out from the built-in plan's stretches
// and encoded piece by piece, as the build writes it (without the file).
void fase_codifica_linea(benchmark::State& stato) {
  cartella_prova dir;
  Form1 f;
  nomina_scenario(f, dir.percorso);
  esegui_build(f);
  senza_errori(stato, f);
  int64_t byte = 0;
  for (auto _ : stato)
    codifica_linea(f, [&byte](uint64_t, std::string_view pezzo) {
      benchmark::DoNotOptimize(pezzo.data());
      byte += static_cast<int64_t>(pezzo.size());
    });
  stato.SetBytesProcessed(byte);
}
BENCHMARK(fase_codifica_linea)->Name("fase/codifica_linea")->Unit(benchmark::kMillisecond);

void build_completa(benchmark::State& stato) {
  cartella_prova dir;
  for (auto _ : stato) {
    Form1 f;
    nomina_scenario(f, dir.percorso);
    esegui_build(f);
    benchmark::DoNotOptimize(f.codice_errore);
    if (f.codice_errore != 0) senza_errori(stato, f);
  }
}
BENCHMARK(build_completa)->Unit(benchmark::kMillisecond);

// A generated scenario, compiled and packed; the sources are written, untimed, before each build.
void scenario_generato_km(benchmark::State& stato) {
  const int32_t lunghezza = static_cast<int32_t>(stato.range(0)) * 1000;
  const scenario_generato s = genera_scenario(lunghezza);
  cartella_prova dir;
  for (auto _ : stato) {
    stato.PauseTiming();
    Form1 f;
    f.nome_scenario = "Generato";
    f.numero_treno = "1";
    f.cartella = dir.percorso;
    scrivi_sorgenti(f, s);
    stato.ResumeTiming();
    memorizza_percorso(f, 1);
    stato.PauseTiming();
    senza_errori(stato, f);
    f = Form1{};  // freed outside the timing
    stato.ResumeTiming();
  }
}
BENCHMARK(scenario_generato_km)->Arg(100)->Arg(358)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
