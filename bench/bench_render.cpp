// The canvas re-renders on every mouse move of a drawing gesture.
#include "bench/BenchData.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

CharacterData prepared(int elements, double zoom)
{
  CharacterData doc = bench::makeXpCharacter(elements);
  doc.setZoom(zoom);
  doc.setGridShown(true);
  doc.setSelectedCells({0, 5, 10, 15});
  return doc;
}

void BM_Render(benchmark::State& state)
{
  CharacterData doc = prepared(static_cast<int>(state.range(0)), static_cast<double>(state.range(1)));
  for (auto _ : state) {
    QPixmap picture = doc.render();
    benchmark::DoNotOptimize(picture);
  }
}

// The same without the hand-off to a pixmap.
void BM_RenderImage(benchmark::State& state)
{
  CharacterData doc = prepared(static_cast<int>(state.range(0)), static_cast<double>(state.range(1)));
  for (auto _ : state) {
    QImage picture = doc.renderImage(kBlankPixel);
    benchmark::DoNotOptimize(picture);
  }
}

void renderArgs(benchmark::internal::Benchmark* b)
{
  b->ArgNames({"elements", "zoom"});
  for (int elements : {50, 255})
    for (int zoom : {1, 4})
      b->Args({elements, zoom});
  b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Render)->Apply(renderArgs);
BENCHMARK(BM_RenderImage)->Apply(renderArgs);

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QGuiApplication>(argc, argv);
}
