// Adding tilesets to the merge list decodes every file and scales its
// thumbnail; the window must keep repainting meanwhile, and the decoded
// pictures must not pile up in memory.
#include "bench/BenchData.h"

#include "batch/QTilesetView.h"
#include "model/StreamImage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

QTemporaryDir& folder()
{
  static QTemporaryDir dir;
  return dir;
}

// 50 tall tilesets of 256 x 4096, written once for every run of the program.
const QStringList& tilesetFiles()
{
  static const QStringList paths = [] {
    QStringList out;
    bench::Lcg rng(42);
    for (int i = 0; i < 50; ++i) {
      const QString path = folder().filePath(QStringLiteral("tileset%1.png").arg(i));
      bench::makeTilesetImage(256, 4096, rng).save(path);
      out << path;
    }
    return out;
  }();
  return paths;
}

// One file of w x h given count times: the decoding is the same work.
QStringList repeated(int w, int h, int count)
{
  const QString path = folder().filePath(QStringLiteral("t%1x%2.png").arg(w).arg(h));
  if (!QFile::exists(path)) {
    bench::Lcg rng(7);
    bench::makeTilesetImage(w, h, rng).save(path);
  }
  return QStringList(count, path);
}

// The resident peak of the process since the last reset, in MiB.
double peakMiB()
{
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly))
    return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

double residentMiB()
{
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly))
    return 0;
  return statm.readAll().split(' ').value(1).toDouble() * 4096 / (1 << 20);
}

void resetPeak()
{
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  if (clear.open(QIODevice::WriteOnly))
    clear.write("5");
}

// Returns the longest time between two repaints of the view while the
// files were added, in ms; the view asks for a repaint every 5 ms.
double addAndWait(QTilesetView& view, const QStringList& paths)
{
  bool done = false;
  const auto connection = QObject::connect(&view, &QTilesetView::changeFileList, &view, [&] { done = true; });
  struct Painted : QObject
  {
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
      if (event->type() == QEvent::Paint) {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
      }
      return false;
    }
  } painted;
  QTimer ticks;
  QObject::connect(&ticks, &QTimer::timeout, &view, [&] { view.update(); });
  ticks.start(5);
  view.installEventFilter(&painted);
  painted.clock.start();
  view.addFiles(paths);
  while (!done)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  painted.longest = std::max(painted.longest, painted.clock.elapsed() - painted.last);
  QObject::disconnect(connection);
  view.removeEventFilter(&painted);
  return double(painted.longest);
}

void BM_AddFiles(benchmark::State& state)
{
  const QStringList& paths = tilesetFiles();
  for (auto _ : state) {
    QTilesetView view;
    addAndWait(view, paths);
    benchmark::DoNotOptimize(view.thumbnailPixmaps().data());
  }
}

// Eight of 8192 x 8192: the growth of the resident peak over the start.
void BM_AddLarge(benchmark::State& state)
{
  allowLargestImages();
  const QStringList paths = repeated(8192, 8192, 8);
  double grown = 0;
  for (auto _ : state) {
    QTilesetView view;
    const double before = residentMiB();
    resetPeak();
    addAndWait(view, paths);
    grown = std::max(grown, peakMiB() - before);
  }
  state.counters["peak_growth_MiB"] = grown;
}

// 500 of 256 x 16384 into a shown view: the longest gap between repaints.
void BM_RepaintGap(benchmark::State& state)
{
  allowLargestImages();
  const QStringList paths = repeated(256, 16384, 500);
  double gap = 0;
  for (auto _ : state) {
    QTilesetView view;
    view.show();
    gap = std::max(gap, addAndWait(view, paths));
  }
  state.counters["longest_gap_ms"] = gap;
}

} // namespace

BENCHMARK(BM_AddFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddLarge)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_RepaintGap)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QApplication>(argc, argv);
}
