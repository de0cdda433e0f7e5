// Adding tilesets to the merge list decodes every file and scales its
// thumbnail while the user waits for the window to answer again.
#include "bench/BenchData.h"

#include "batch/QTilesetView.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// 50 tall tilesets of 256 x 4096, written once for every run of the program.
const QStringList& tilesetFiles()
{
  static QTemporaryDir dir;
  static const QStringList paths = [] {
    QStringList out;
    bench::Lcg rng(42);
    for (int i = 0; i < 50; ++i) {
      const QString path = dir.filePath(QStringLiteral("tileset%1.png").arg(i));
      bench::makeTilesetImage(256, 4096, rng).save(path);
      out << path;
    }
    return out;
  }();
  return paths;
}

void BM_AddFiles(benchmark::State& state)
{
  const QStringList& paths = tilesetFiles();
  for (auto _ : state) {
    QTilesetView view;
    view.addFiles(paths);
    benchmark::DoNotOptimize(view.thumbnailPixmaps().data());
  }
}

} // namespace

BENCHMARK(BM_AddFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QApplication>(argc, argv);
}
