// Times the core on a deterministic 255-element character and exports the
// same pixels for the peer script (bench/compare.sh runs both).
//   bench_compare OUTDIR RUNS
// Prints "name milliseconds" lines (median of RUNS), then "history_mib N".
#include "bench/BenchData.h"
#include "model/LayerData.h"
#include "model/UndoHistory.h"

#include <QFile>
#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <set>

namespace {

double medianMs(int runs, const std::function<void()>& job)
{
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    job();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void appendRgba(QByteArray& out, const QImage& image)
{
  for (int y = 0; y < image.height(); ++y) {
    const uint32_t* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const uint32_t p = line[x];
      const char rgba[4] = {char(p >> 16), char(p >> 8), char(p), char(p >> 24)};
      out.append(rgba, 4);
    }
  }
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Each element alone on a blank sheet: the layers the peer composites.
QByteArray exportLayers(const CharacterData& doc)
{
  QByteArray out;
  for (int e = 0; e < doc.elementCount(); ++e) {
    CharacterData one(doc.type(), doc.size());
    one.images().push_back(doc.images(e));
    one.offsets().push_back(doc.offsets(e));
    one.names().push_back(doc.name(e));
    one.sources().push_back(doc.source(e));
    one.visibility().push_back(true);
    appendRgba(out, one.flattenImage());
  }
  return out;
}

// Every cell as (width, height as little-endian 16-bit) then its RGBA bytes.
QByteArray exportCells(const CharacterData& doc)
{
  QByteArray out;
  for (int e = 0; e < doc.elementCount(); ++e)
    for (const QImage& cell : doc.images(e)) {
      const char size[4] = {char(cell.width()), char(cell.width() >> 8), char(cell.height()), char(cell.height() >> 8)};
      out.append(size, 4);
      appendRgba(out, cell);
    }
  return out;
}

// Bytes of pixel buffers held by the history and not by the document.
double historyExtraMiB(CharacterData& doc)
{
  UndoHistory history;
  history.push(doc.toLayerData(), "Etat d'origine");
  PenSettings pen;
  pen.size = 1;
  pen.color = QColor(255, 0, 0);
  for (int step = 0; step < 271; ++step) {
    DrawScope scope;
    scope.scope = 0;
    scope.elements = {step % doc.elementCount()};
    scope.cell = static_cast<unsigned char>(step % 16);
    doc.setPen(pen);
    doc.beginPath(scope);
    doc.addPenPoint(QPoint(step % 32, step % 48));
    doc.endPath();
    history.push(doc.toLayerData(), "Pinceau");
  }
  std::set<const uchar*> inDocument;
  for (const auto& element : doc.images())
    for (const QImage& image : element)
      inDocument.insert(image.constBits());
  std::set<const uchar*> counted;
  qint64 bytes = 0;
  for (int i = 0; i < history.count(); ++i)
    for (const auto& element : history.goTo(i).images)
      for (const QImage& image : element)
        if (!inDocument.count(image.constBits()) && counted.insert(image.constBits()).second)
          bytes += image.sizeInBytes();
  return bytes / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_compare OUTDIR RUNS\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  const int runs = std::max(1, std::atoi(argv[2]));

  CharacterData doc = bench::makeXpCharacter(255);
  if (!writeFile(dir + "/layers.raw", exportLayers(doc)) || !writeFile(dir + "/cells.raw", exportCells(doc))) {
    std::fprintf(stderr, "cannot write to %s\n", argv[1]);
    return 1;
  }
  const std::string project = (dir + "/ours.sk").toStdString();

  std::printf("flatten %.3f\n", medianMs(runs, [&] { doc.flattenImage(); }));
  std::printf("save %.3f\n", medianMs(runs, [&] { doc.saveProjectFile(project, 1); }));
  std::printf("load %.3f\n", medianMs(runs, [&] {
    CharacterData loaded;
    if (!loaded.loadProjectFile(project))
      std::fprintf(stderr, "load failed: %s\n", loaded.errorMessage().c_str());
  }));
  doc.setZoom(4.0);
  doc.setGridShown(true);
  std::printf("render %.3f\n", medianMs(runs, [&] { doc.renderImage(static_cast<uint32_t>(doc.backgroundPixel())); }));
  doc.saveSnapshot();
  std::printf("colourshift %.3f\n", medianMs(runs, [&] { doc.changeColoration(TslShift{30.f, 10.f, -10.f}, false, true); }));
  doc.restoreSnapshot();
  doc.clearSnapshot();
  std::printf("history_mib %.3f\n", historyExtraMiB(doc));
  return 0;
}
