#include "bench/BenchData.h"
#include "ops/ColourShift.h"

#include <benchmark/benchmark.h>

// What the hue/saturation/lightness dialog does at every slider move: the
// whole character recoloured from the snapshot taken when it opened.
static void BM_ChangeColorationFromSnapshot(benchmark::State& state)
{
  CharacterData data = bench::makeXpCharacter(50);
  data.saveSnapshot();
  float hue = 0.f;
  for (auto _ : state) {
    hue = hue >= 170.f ? -180.f : hue + 10.f;
    data.changeColoration(TslShift{hue, 20.f, -10.f}, false, true);
    benchmark::DoNotOptimize(data.image(0, 0).constBits());
  }
  state.SetItemsProcessed(state.iterations() * 50 * 16 * 32 * 48);
}
BENCHMARK(BM_ChangeColorationFromSnapshot)->Unit(benchmark::kMillisecond);

// The same shift without the colour cache's help: every pixel a new colour.
static void BM_ShiftNoisyImage(benchmark::State& state)
{
  QImage source(128, 192, QImage::Format_ARGB32);
  bench::Lcg rng(7);
  for (int y = 0; y < source.height(); ++y) {
    uint32_t* line = reinterpret_cast<uint32_t*>(source.scanLine(y));
    for (int x = 0; x < source.width(); ++x)
      line[x] = 0xFF000000u | rng.next();
  }
  QImage image = source.copy();
  for (auto _ : state) {
    applyTslShift(TslShift{45.f, 20.f, -10.f}, image, false, true, source);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetItemsProcessed(state.iterations() * 128 * 192);
}
BENCHMARK(BM_ShiftNoisyImage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
