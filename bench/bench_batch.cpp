// Headless timing of the batch conversion worker, run by bench/batch_compare.sh.
//   bench_batch inputs DIR             1000 2003 sheets in DIR/sheets, 1000 XP singles in DIR/xp
//   bench_batch convert FOLDER DIR RUNS median milliseconds from start() to finishThread
//   bench_batch predict FOLDER DIR      milliseconds of the overwrite prediction
//   bench_batch compare OURS PEER       differing pixels between two output folders
#include "batch/ConversionPrediction.h"
#include "batch/Converter.h"
#include "bench/BenchData.h"

#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

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

// Alpha must match everywhere, colour wherever alpha is above 0; a missing
// or differently sized file counts all its pixels.
int compare(const QString& ours, const QString& peer)
{
  const QStringList names = QDir(ours).entryList({"*.png"}, QDir::Files, QDir::Name);
  long long differing = 0;
  for (const QString& name : names) {
    const QImage a = QImage(ours + "/" + name).convertToFormat(QImage::Format_ARGB32);
    const QImage b = QImage(peer + "/" + name).convertToFormat(QImage::Format_ARGB32);
    if (a.size() != b.size()) {
      differing += qint64(a.width()) * a.height();
      continue;
    }
    for (int y = 0; y < a.height(); ++y) {
      const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
      const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
      for (int x = 0; x < a.width(); ++x)
        if ((pa[x] >> 24) != (pb[x] >> 24) || ((pa[x] >> 24) != 0 && pa[x] != pb[x]))
          ++differing;
    }
  }
  const qsizetype peerFiles = QDir(peer).entryList({"*.png"}, QDir::Files).size();
  std::printf("%lld %lld %lld\n", static_cast<long long>(names.size()), static_cast<long long>(peerFiles),
              differing);
  return 0;
}

} // namespace

int main(int argc, char** argv)
{
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() >= 3 && args[1] == "inputs")
    return makeInputs(args[2]);
  if (args.size() >= 5 && args[1] == "convert")
    return convert(args[2], quint8(args[3].toUInt()), std::max(1, args[4].toInt()));
  if (args.size() >= 4 && args[1] == "predict")
    return predict(args[2], quint8(args[3].toUInt()));
  if (args.size() >= 4 && args[1] == "compare")
    return compare(args[2], args[3]);
  std::fprintf(stderr, "usage: bench_batch inputs DIR | convert FOLDER DIRECTION RUNS | predict FOLDER DIRECTION | "
                       "compare OURS PEER\n");
  return 2;
}
