// Benchmark of a whole build of the built-in scenario, in a private directory:
// every writer, the compile, the approach pass and the packing.
//
// Builds repeated in one process reuse the memory freed by the build before;
// a real run pays the first touch of every page of the line plan and of its
// packed buffer. To measure that, run with
//   GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072 out/banco_build
#include <benchmark/benchmark.h>

#include "build/fasi.h"
#include "sources/cartella_prova.h"

namespace {

void build_completa(benchmark::State& stato) {
  cartella_prova dir;
  for (auto _ : stato) {
    Form1 f;
    nomina_scenario(f, dir.percorso);
    esegui_build(f);
    benchmark::DoNotOptimize(f.codice_errore);
  }
}
BENCHMARK(build_completa)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
