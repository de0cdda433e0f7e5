#include "bench/BenchData.h"

#include <benchmark/benchmark.h>

static void BM_Flatten255(benchmark::State& state)
{
  CharacterData doc = bench::makeXpCharacter(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QImage flat = doc.flattenImage();
    benchmark::DoNotOptimize(flat.constBits());
  }
  const double pixels = 128.0 * 192.0;
  state.counters["ns_per_sheet_pixel"] =
      benchmark::Counter(pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Flatten255)->Arg(50)->Arg(255)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
