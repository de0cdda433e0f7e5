// The element list rebuilds its thumbnails after every stroke and every list
// edit, so this runs on the GUI thread between two pointer events.
#include "bench/BenchData.h"

#include "canvas/QLayerList.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_UpdateLayout(benchmark::State& state)
{
  CharacterData doc = bench::makeXpCharacter(static_cast<int>(state.range(0)));
  QLayerList list(&doc, nullptr, nullptr);
  for (auto _ : state) {
    list.updateLayout();
    benchmark::DoNotOptimize(list.thumbnailPixmaps().data());
  }
}

// Blank drawing elements: every cell is tested before the last one is taken.
void BM_UpdateLayoutBlank(benchmark::State& state)
{
  CharacterData doc(XP, QSize(128, 192));
  for (int e = 0; e < state.range(0); ++e)
    doc.addElement(std::string(), e);
  QLayerList list(&doc, nullptr, nullptr);
  for (auto _ : state) {
    list.updateLayout();
    benchmark::DoNotOptimize(list.thumbnailPixmaps().data());
  }
}

// A full repaint of the shown rows, thumbnails already built.
void BM_Paint(benchmark::State& state)
{
  CharacterData doc = bench::makeXpCharacter(static_cast<int>(state.range(0)));
  doc.setSelectedElements({0, 2, 4});
  QLayerList list(&doc, nullptr, nullptr);
  for (auto _ : state) {
    QPixmap shot = list.grab();
    benchmark::DoNotOptimize(shot);
  }
}

} // namespace

BENCHMARK(BM_UpdateLayout)->ArgName("elements")->Arg(50)->Arg(255)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateLayoutBlank)->ArgName("elements")->Arg(255)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint)->ArgName("elements")->Arg(255)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QApplication>(argc, argv);
}
