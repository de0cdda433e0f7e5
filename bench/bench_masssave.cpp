// The mass save the user waits for: 72 tints (step 5) of one element, into a
// memory file system where there is one (every save syncs its file), and the
// parts of one file: recolouring the element, encoding the PNG.
#include "bench/BenchData.h"

#include "batch/SaveMassSystem.h"
#include "model/StreamImage.h"

#include <QGuiApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QThreadPool>

namespace {

QString memoryFolder()
{
  const QString shm = QStringLiteral("/dev/shm");
  return QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
}

// threads 0: one per core; 1: the same run on one thread (the flattening's
// global pool too). The counter tells whether the run wrote the same bytes as
// the one-thread run.
QMap<QString, QByteArray> filesOf(const QString& folder)
{
  QMap<QString, QByteArray> files;
  for (const QString& name : QDir(folder).entryList(QDir::Files)) {
    QFile file(folder + QLatin1Char('/') + name);
    file.open(QIODevice::ReadOnly);
    files.insert(name, file.readAll());
  }
  return files;
}

void saveMass(CharacterData& doc, int element, const QString& folder, int threads)
{
  SaveMassSystem worker(&doc, {element}, folder, QString(), 5, false);
  worker.setThreadCount(threads);
  worker.start();
  worker.wait();
}

void BM_MassSave72Tints(benchmark::State& state)
{
  const int elements = static_cast<int>(state.range(0)), threads = static_cast<int>(state.range(1));
  CharacterData doc = bench::makeXpCharacter(elements);
  QTemporaryDir dir(memoryFolder() + QStringLiteral("/masssave-XXXXXX"));
  const int globalThreads = QThreadPool::globalInstance()->maxThreadCount();
  if (threads == 1)
    QThreadPool::globalInstance()->setMaxThreadCount(1);
  for (auto _ : state)
    saveMass(doc, elements / 2, dir.path(), threads);
  QThreadPool::globalInstance()->setMaxThreadCount(globalThreads);
  if (threads != 1) {
    QTemporaryDir one(memoryFolder() + QStringLiteral("/masssave-XXXXXX"));
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    saveMass(doc, elements / 2, one.path(), 1);
    QThreadPool::globalInstance()->setMaxThreadCount(globalThreads);
    const auto files = filesOf(dir.path());
    state.counters["sameFiles"] = files.size() == 72 && files == filesOf(one.path());
  }
}
BENCHMARK(BM_MassSave72Tints)
    ->ArgNames({"elements", "threads"})
    ->Args({50, 0})
    ->Args({50, 1})
    ->Args({255, 0})
    ->Args({255, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

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
