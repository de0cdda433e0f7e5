// What the library windows make the user wait for: picturing an entry that
// is hostile to the reader (a link to a device, a huge file with a valid
// header), as the preview worker does, and zooming the store window's preview
// of a large image, on the GUI thread, and the "Ajouter des éléments" box
// reopened over a huge picture. Memory is the growth of the process's
// peak (run one benchmark per process, --benchmark_filter, for a clean figure)
// and, for the zoom, the resident memory at x4.0 less that at x1.0.
#include "bench/BenchData.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "library/LibraryBrowsing.h"
#include "library/QAddCharacterElementBox.h"
#include "library/QAddLibraryCharacter.h"
#include "model/StreamImage.h"
#include "widgets/QListViewKey.h"

#include <QApplication>
#include <QComboBox>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

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

// A valid 16384 x 16384 RGBA PNG of clear pixels: 1 MB on disk, 1 GiB decoded.
bool writeHugePng(const QString& path)
{
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  const auto writeChunk = [&file](const char* type, const QByteArray& data) {
    QByteArray bytes(8, '\0');
    qToBigEndian(quint32(data.size()), bytes.data());
    bytes.replace(4, 4, type, 4);
    bytes += data;
    QByteArray crc(4, '\0');
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(bytes.constData() + 4), uInt(bytes.size() - 4))),
                 crc.data());
    file.write(bytes + crc);
  };
  constexpr int kSide = 16384;
  file.write("\x89PNG\r\n\x1a\n", 8);
  QByteArray header(13, '\0');
  qToBigEndian(quint32(kSide), header.data());
  qToBigEndian(quint32(kSide), header.data() + 4);
  header[8] = 8;
  header[9] = 6;
  writeChunk("IHDR", header);
  z_stream z{};
  deflateInit(&z, 9);
  const QByteArray row(1 + kSide * 4, '\0');
  QByteArray out(1 << 16, '\0'), data;
  for (int y = 0; y <= kSide; ++y) {
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(row.constData()));
    z.avail_in = y < kSide ? uInt(row.size()) : 0;
    do {
      z.next_out = reinterpret_cast<Bytef*>(out.data());
      z.avail_out = uInt(out.size());
      deflate(&z, y < kSide ? Z_NO_FLUSH : Z_FINISH);
      data.append(out.constData(), out.size() - z.avail_out);
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  writeChunk("IDAT", data);
  writeChunk("IEND", QByteArray());
  return true;
}

void runEventsFor(int ms)
{
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms)
    QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The "Ajouter des éléments" box closed and opened again four times while it
// pictures the huge PNG, then a fifth time, where a plain sheet is picked
// right after it: how long that sheet takes to show, the longest wait between
// two turns of the event loop (what a repaint waits) and the peak's growth.
void BM_BoxReopenedOverHugePng(benchmark::State& state)
{
  QTemporaryDir dir;
  const QString start = QDir::currentPath();
  QDir::setCurrent(dir.path());
  QDir().mkpath(QStringLiteral("elements/XP"));
  QDir().mkpath(QStringLiteral("elements/VX"));
  QImage plain(128, 192, QImage::Format_ARGB32);
  plain.fill(0xFF3060A0u);
  if (!writeHugePng(QStringLiteral("elements/XP/a_huge.png")) || !plain.save(QStringLiteral("elements/XP/b_plain.png")))
    return state.SkipWithError("cannot write");
  allowLargestImages(); // as the program's start-up does
  MainWindow window;
  const double before = peakMB();
  qint64 longestGap = 0, shown = 0;
  QElapsedTimer sinceBeat;
  QTimer beat;
  beat.setInterval(5);
  QObject::connect(&beat, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceBeat.restart()); });
  for (auto _ : state) {
    sinceBeat.start();
    beat.start();
    for (int opened = 0; opened < 5; ++opened) {
      auto* box = new QAddCharacterElementBox(window.mdiArea, window.layerList, &window);
      box->show();
      QListViewKey* list = box->findChild<QListViewKey*>();
      QLabel* preview = qobject_cast<QLabel*>(box->findChild<QScrollArea*>()->widget());
      runEventsFor(50); // the folder is listed
      const auto pick = [list](const QString& name) {
        const QModelIndexList found =
            list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        if (!found.isEmpty()) {
          list->setCurrentIndex(found[0]);
          emit list->clicked(found[0]);
        }
      };
      pick(QStringLiteral("a_huge.png"));
      runEventsFor(300);
      if (opened == 4) {
        pick(QStringLiteral("b_plain.png"));
        QElapsedTimer waited;
        waited.start();
        while (preview->pixmap().size() != plain.size() && waited.elapsed() < 60000)
          QApplication::processEvents(QEventLoop::AllEvents, 5);
        shown = waited.elapsed();
      }
      delete box;
    }
    beat.stop();
  }
  state.counters["plain_shown_ms"] = double(shown);
  state.counters["longest_gap_ms"] = double(longestGap);
  state.counters["peak_MB_more"] = peakMB() - before;
  QDir::setCurrent(start);
}

} // namespace

BENCHMARK(BM_PictureDeviceLink)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureSparseFile)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StoreWindowZoom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoxReopenedOverHugePng)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QApplication>(argc, argv);
}
