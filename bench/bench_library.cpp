// What the library windows make the user wait for: picturing an entry that
// is hostile to the reader (a link to a device, a huge file with a valid
// header), as the preview worker does, and zooming the store window's preview
// of a large image, on the GUI thread. Memory is the growth of the process's
// peak (run one benchmark per process, --benchmark_filter, for a clean figure)
// and, for the zoom, the resident memory at x4.0 less that at x1.0.
#include "bench/BenchData.h"

#include "library/LibraryBrowsing.h"
#include "library/QAddLibraryCharacter.h"
#include "model/StreamImage.h"

#include <QApplication>
#include <QComboBox>
#include <QDataStream>
#include <QFile>
#include <QScrollArea>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

namespace {

double peakMB()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

double residentMB()
{
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly))
    return 0;
  return statm.readAll().split(' ').value(1).toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

void picture(benchmark::State& state, const QString& path)
{
  const double before = peakMB();
  for (auto _ : state) {
    QImage shown = libraryFilePicture(path);
    benchmark::DoNotOptimize(shown);
  }
  state.counters["peak_MB_more"] = peakMB() - before;
}

void BM_PictureDeviceLink(benchmark::State& state)
{
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("zero.elsk"));
  QFile::link(QStringLiteral("/dev/zero"), path);
  picture(state, path);
}

// A valid header for one XP element whose first cell, of 1 x 1 pixel, then
// announces a chunk of 2 GB: the rest of the file, a hole.
void BM_PictureSparseFile(benchmark::State& state)
{
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("sparse.elsk"));
  QFile file(path);
  QByteArray png;
  if (!file.open(QIODevice::WriteOnly) || !encodeCellPng(QImage(1, 1, QImage::Format_ARGB32), png))
    return state.SkipWithError("cannot write");
  file.putChar('\0');
  QDataStream out(&file);
  out.setVersion(QDataStream::Qt_4_5);
  out << QSize(128, 192) << qint8(1) << qint8(0) << qint8(XP) << QPoint() << qint32(1);
  out.writeRawData(png.constData(), 33); // the signature and the header chunk
  out << quint32(0x7ffffff0) << quint32(0x49444154); // "IDAT"
  file.resize((qint64(2) << 30) + 4096); // the chunk fits in the file
  file.close();
  picture(state, path);
}

// One iteration is three zoom steps (x1.0, x2.0, x4.0), each painted.
void BM_StoreWindowZoom(benchmark::State& state)
{
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("large.png"));
  QImage image(4096, 4096, QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      row[x] = qRgba(x & 0xFF, y & 0xFF, (x >> 4) & 0xFF, 255);
  }
  image.save(path);
  image = QImage();
  QAddLibraryCharacter window({path});
  window.resize(800, 600);
  window.show();
  QComboBox* zoom = window.findChild<QComboBox*>();
  QWidget* viewport = window.findChild<QScrollArea*>()->viewport();
  const auto showAt = [&](int index) {
    zoom->setCurrentIndex(index);
    QPixmap shot = viewport->grab();
    benchmark::DoNotOptimize(shot);
  };
  showAt(0);
  const double atOne = residentMB(), before = peakMB();
  showAt(2);
  state.counters["x4_MB_more"] = residentMB() - atOne;
  for (auto _ : state)
    for (int index : {0, 1, 2})
      showAt(index);
  state.counters["peak_MB_more"] = peakMB() - before;
}

} // namespace

BENCHMARK(BM_PictureDeviceLink)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureSparseFile)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StoreWindowZoom)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QApplication>(argc, argv);
}
