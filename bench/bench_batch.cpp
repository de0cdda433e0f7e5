// Headless timing of the batch conversion worker, run by bench/batch_compare.sh.
//   bench_batch inputs DIR             1000 2003 sheets in DIR/sheets, 1000 XP singles in DIR/xp
//   bench_batch convert FOLDER DIR RUNS median milliseconds from start() to finishThread
//   bench_batch predict FOLDER DIR      milliseconds of the overwrite prediction
//   bench_batch compare OURS PEER       differing pixels between two output folders
//   bench_batch tilesets DIR            50 tilesets of 256 x 4096 in DIR
//   bench_batch merge DIR OUT RUNS      median milliseconds of one merge of DIR's tilesets, by name, into OUT;
//                                       then the phase split of that run and the peak memory
//   bench_batch compare-exact A B       differing pixels of two files, all four channels
#include "batch/ConversionPrediction.h"
#include "batch/Converter.h"
#include "batch/Sorveler.h"
#include "bench/BenchData.h"
#include "model/StreamImage.h"

#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

constexpr int kFiles = 1000;

double msSince(std::chrono::steady_clock::time_point t0)
{
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// Sprite frames of 24 x 32 in a grid: mostly opaque or clear (stored as
// 0x00000000), with a rim of alpha 128.
QImage spriteSheet(int columns, int rows, uint32_t seed)
{
  bench::Lcg rng(seed);
  QImage sheet(columns * 24, rows * 32, QImage::Format_ARGB32);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const QImage frame = bench::makeSpriteCell(24, 32, rng);
      for (int y = 0; y < 32; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(sheet.scanLine(r * 32 + y)) + c * 24;
        for (int x = 0; x < 24; ++x) {
          const QRgb a = in[x] >> 24;
          out[x] = a == 0 ? 0u : a == 255 ? in[x] : (in[x] & 0x00FFFFFFu) | 0x80000000u;
        }
      }
    }
  return sheet;
}

int makeInputs(const QString& dir)
{
  QDir().mkpath(dir + "/sheets");
  QDir().mkpath(dir + "/xp");
  std::vector<int> indexes(kFiles);
  for (int i = 0; i < kFiles; ++i)
    indexes[i] = i;
  QtConcurrent::blockingMap(indexes, [&](int i) {
    const QString name = QString::asprintf("/c%04d.png", i);
    spriteSheet(12, 8, uint32_t(2 * i + 1)).save(dir + "/sheets" + name, "PNG");
    spriteSheet(4, 4, uint32_t(2 * i + 2)).save(dir + "/xp" + name, "PNG");
  });
  return 0;
}

int convert(const QString& folder, quint8 direction, int runs)
{
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    QDir(folder + "/" + conversionSubFolder(direction)).removeRecursively();
    Converter worker({folder}, 0, direction);
    QEventLoop loop;
    int failures = 0;
    QObject::connect(&worker, &Converter::finishThread, &loop,
                     [&](const QStringList& failed) { failures += int(failed.size()); loop.quit(); });
    QObject::connect(&worker, &Converter::unwrittenFiles, &loop,
                     [&](const QStringList& unwritten) { failures += int(unwritten.size()); });
    const auto t0 = std::chrono::steady_clock::now();
    worker.start();
    loop.exec();
    times.push_back(msSince(t0));
    worker.wait();
    if (failures != 0) {
      std::fprintf(stderr, "bench_batch: %d inputs or outputs failed\n", failures);
      return 1;
    }
  }
  std::sort(times.begin(), times.end());
  std::printf("%.3f\n", times[times.size() / 2]);
  return 0;
}

int predict(const QString& folder, quint8 direction)
{
  QStringList replaced;
  const auto t0 = std::chrono::steady_clock::now();
  ConversionPrediction::buildOutputNames(replaced, {folder}, 0, direction, 0);
  std::printf("%.3f %lld\n", msSince(t0), static_cast<long long>(replaced.size()));
  return 0;
}

// Alpha must match everywhere, and colour wherever alpha is above 0 or, when
// exact, everywhere. A file that does not decode, or of another size, counts
// all its pixels (at least one).
long long differingPixels(const QString& ours, const QString& peer, bool exact)
{
  const QImage a = QImage(ours).convertToFormat(QImage::Format_ARGB32);
  const QImage b = QImage(peer).convertToFormat(QImage::Format_ARGB32);
  if (a.isNull() || b.isNull() || a.size() != b.size())
    return std::max<long long>({1, qint64(a.width()) * a.height(), qint64(b.width()) * b.height()});
  long long differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x)
      if (pa[x] != pb[x] && (exact || (pa[x] >> 24) != (pb[x] >> 24) || (pa[x] >> 24) != 0))
        ++differing;
  }
  return differing;
}

int compare(const QString& ours, const QString& peer)
{
  const QStringList names = QDir(ours).entryList({"*.png"}, QDir::Files, QDir::Name);
  long long differing = 0;
  for (const QString& name : names)
    differing += differingPixels(ours + "/" + name, peer + "/" + name, false);
  const qsizetype peerFiles = QDir(peer).entryList({"*.png"}, QDir::Files).size();
  std::printf("%lld %lld %lld\n", static_cast<long long>(names.size()), static_cast<long long>(peerFiles),
              differing);
  return 0;
}

int makeTilesets(const QString& dir)
{
  QDir().mkpath(dir);
  std::vector<int> indexes(50);
  for (int i = 0; i < 50; ++i)
    indexes[i] = i;
  QtConcurrent::blockingMap(indexes, [&](int i) {
    bench::Lcg rng(uint32_t(7919 * (i + 1)));
    bench::makeTilesetImage(256, 4096, rng).save(dir + QString::asprintf("/t%02d.png", i + 1), "PNG");
  });
  return 0;
}

// The phases run from start() to the canvas (load), to the write (place) and
// to the end (encode), as the progress signals mark them.
int merge(const QString& dir, const QString& output, int runs)
{
  QStringList inputs;
  for (const QString& name : QDir(dir).entryList({"*.png"}, QDir::Files, QDir::Name))
    inputs << dir + "/" + name;
  struct Timing
  {
    double total, load, place, encode;
  };
  std::vector<Timing> timings;
  for (int run = 0; run < runs; ++run) {
    QFile::remove(output);
    Sorveler worker(inputs, output);
    std::chrono::steady_clock::time_point canvas, write;
    bool failed = false;
    QObject::connect(&worker, &Sorveler::changeProgress, &worker, [&](uint value, const QString&) {
      if (value == 20)
        canvas = std::chrono::steady_clock::now();
      else if (value == 90)
        write = std::chrono::steady_clock::now();
    }, Qt::DirectConnection);
    QObject::connect(&worker, &Sorveler::outputFailed, &worker, [&] { failed = true; }, Qt::DirectConnection);
    QEventLoop loop;
    QObject::connect(&worker, &Sorveler::finishThread, &loop, [&](const QStringList& unreadable) {
      failed = failed || !unreadable.isEmpty();
      loop.quit();
    });
    const auto t0 = std::chrono::steady_clock::now();
    worker.start();
    loop.exec();
    const double total = msSince(t0);
    worker.wait();
    if (failed) {
      std::fprintf(stderr, "bench_batch: the merge failed\n");
      return 1;
    }
    const auto ms = [](auto from, auto to) { return std::chrono::duration<double, std::milli>(to - from).count(); };
    timings.push_back({total, ms(t0, canvas), ms(canvas, write), total - ms(t0, write)});
  }
  std::sort(timings.begin(), timings.end(), [](const Timing& a, const Timing& b) { return a.total < b.total; });
  const Timing& median = timings[timings.size() / 2];
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%.3f\nload %.1f ms, place %.1f ms, encode %.1f ms\n%.1f MiB\n", median.total, median.load,
              median.place, median.encode, usage.ru_maxrss / 1024.0);
  return 0;
}

} // namespace

int main(int argc, char** argv)
{
  QGuiApplication app(argc, argv);
  allowLargestImages(); // as the program's start-up does
  const QStringList args = app.arguments();
  if (args.size() >= 3 && args[1] == "inputs")
    return makeInputs(args[2]);
  if (args.size() >= 5 && args[1] == "convert")
    return convert(args[2], quint8(args[3].toUInt()), std::max(1, args[4].toInt()));
  if (args.size() >= 4 && args[1] == "predict")
    return predict(args[2], quint8(args[3].toUInt()));
  if (args.size() >= 4 && args[1] == "compare")
    return compare(args[2], args[3]);
  if (args.size() >= 3 && args[1] == "tilesets")
    return makeTilesets(args[2]);
  if (args.size() >= 5 && args[1] == "merge")
    return merge(args[2], args[3], std::max(1, args[4].toInt()));
  if (args.size() >= 4 && args[1] == "compare-exact") {
    std::printf("%lld\n", differingPixels(args[2], args[3], true));
    return 0;
  }
  std::fprintf(stderr, "usage: bench_batch inputs DIR | convert FOLDER DIRECTION RUNS | predict FOLDER DIRECTION | "
                       "compare OURS PEER | tilesets DIR | merge DIR OUT RUNS | compare-exact A B\n");
  return 2;
}
