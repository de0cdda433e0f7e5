// The mass save the user waits for: 72 tints (step 5) of one element, into a
// memory file system where there is one (every save syncs its file), and the
// parts of one file: recolouring the element, encoding the PNG.
#include "bench/BenchData.h"

#include "batch/SaveMassSystem.h"
#include "model/StreamImage.h"

#include <QGuiApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {

QString memoryFolder()
{
  const QString shm = QStringLiteral("/dev/shm");
  return QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
}

void BM_MassSave72Tints(benchmark::State& state)
{
  CharacterData doc = bench::makeXpCharacter(static_cast<int>(state.range(0)));
  QTemporaryDir dir(memoryFolder() + QStringLiteral("/masssave-XXXXXX"));
  for (auto _ : state) {
    SaveMassSystem worker(&doc, {static_cast<int>(state.range(0)) / 2}, dir.path(), QString(), 5, false);
    worker.start();
    worker.wait();
  }
}
BENCHMARK(BM_MassSave72Tints)->Arg(50)->Arg(255)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RecolourOneElement(benchmark::State& state)
{
  CharacterData doc = bench::makeXpCharacter(50);
  doc.saveSnapshot();
  doc.setSelectedElements({25});
  float hue = 0.f;
  for (auto _ : state) {
    hue = hue >= 355.f ? 0.f : hue + 5.f;
    doc.changeColoration(TslShift{hue, 0.f, 0.f}, false, true);
  }
}
BENCHMARK(BM_RecolourOneElement)->Unit(benchmark::kMicrosecond);

void BM_EncodeSheetPng(benchmark::State& state)
{
  CharacterData doc = bench::makeXpCharacter(50);
  const QImage sheet = doc.flattenImage();
  for (auto _ : state) {
    QByteArray png;
    benchmark::DoNotOptimize(encodeCellPng(sheet, png));
  }
}
BENCHMARK(BM_EncodeSheetPng)->Unit(benchmark::kMicrosecond);

void BM_WriteSheetPng(benchmark::State& state)
{
  CharacterData doc = bench::makeXpCharacter(50);
  const QImage sheet = doc.flattenImage();
  QTemporaryDir dir(memoryFolder() + QStringLiteral("/masssave-XXXXXX"));
  for (auto _ : state)
    benchmark::DoNotOptimize(writePng(dir.path() + QStringLiteral("/sheet.png"), sheet));
}
BENCHMARK(BM_WriteSheetPng)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QGuiApplication>(argc, argv);
}
