#include "ops/Compose.h"

#include "model/CharacterData.h"
#include "core/BlendImage.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>

namespace {

// In 64 bits: offsets read from a file may lie anywhere in the int range.
CellBlock clip(qint64 ox, qint64 oy, const QSize& image, const QSize& area)
{
  const qint64 dx = std::max<qint64>(ox, 0), sx = std::max<qint64>(-ox, 0);
  const qint64 dy = std::max<qint64>(oy, 0), sy = std::max<qint64>(-oy, 0);
  const qint64 w = std::min<qint64>(area.width() - dx, image.width() - sx);
  const qint64 h = std::min<qint64>(area.height() - dy, image.height() - sy);
  if (w < 1 || h < 1)
    return CellBlock{};
  // Each value now lies inside one of the two images.
  return CellBlock{int(dx), int(dy), int(sx), int(sy), int(w), int(h)};
}

} // namespace

CellBlock clipToCell(const QPoint& offset, const QSize& image, const QSize& cell)
{
  return clip(offset.x(), offset.y(), image, cell);
}

CellBlock clipToSheet(const QPoint& origin, const QPoint& offset, const QSize& image, const QSize& sheet)
{
  return clip(qint64(origin.x()) + offset.x(), qint64(origin.y()) + offset.y(), image, sheet);
}

namespace {

struct Band
{
  int y0, y1;
};

// Composes the rows y0..y1-1 of the sheet. Blocks are cut to the band, so
// bands can run side by side: each writes only its own rows.
void composeBand(const CharacterData& doc, uchar* bits, qsizetype stride, bool onlySelection, Band band)
{
  const int cells = doc.cellCount();
  const QSize cell = doc.cellSize();
  const QSize sheetSize = doc.size();
  const bool beyond = doc.drawsBeyondBorders();
  for (int e = 0; e < doc.elementCount(); ++e) {
    if (!doc.isVisible(e))
      continue;
    const bool elementSelected = onlySelection && doc.isElementSelected(e);
    const auto& images = doc.images(e);
    const auto& offsets = doc.offsets(e);
    const int n = std::min<int>(cells, std::min(images.size(), offsets.size()));
    for (int c = 0; c < n; ++c) {
      if (onlySelection && !elementSelected && !doc.isCellSelected(c))
        continue;
      const QImage& img = images[c];
      const QPoint origin = doc.cellOrigin(c);
      CellBlock b;
      if (beyond) {
        b = clipToSheet(origin, offsets[c], img.size(), sheetSize);
      } else {
        b = clipToCell(offsets[c], img.size(), cell);
        b.dx += origin.x();
        b.dy += origin.y();
      }
      const int top = std::max(b.dy, band.y0);
      const int bottom = std::min(b.dy + b.h, band.y1);
      if (b.w < 1 || top >= bottom)
        continue;
      for (int y = top; y < bottom; ++y) {
        const uint32_t* s = reinterpret_cast<const uint32_t*>(img.constScanLine(b.sy + y - b.dy)) + b.sx;
        uint32_t* d = reinterpret_cast<uint32_t*>(bits + y * stride) + b.dx;
        blendSpan(d, s, b.w);
      }
    }
  }
}

} // namespace

void composeSheet(const CharacterData& doc, QImage& sheet, bool onlySelection)
{
  if (doc.type() != XP && doc.type() != VX)
    return;
  const int height = std::min(sheet.height(), doc.size().height());
  if (height <= 0 || sheet.width() < doc.size().width())
    return;
  uchar* bits = sheet.bits(); // detach once, before any band runs
  const qsizetype stride = sheet.bytesPerLine();

  // Splitting pays only when there is real work: a few layers compose faster
  // on the calling thread than the pool can wake up.
  const qint64 work = qint64(doc.elementCount()) * doc.size().width() * height;
  const int bands = work < 400000 ? 1 : std::min(height, 16);
  if (bands == 1) {
    composeBand(doc, bits, stride, onlySelection, Band{0, height});
    return;
  }
  std::vector<Band> list;
  for (int i = 0; i < bands; ++i)
    list.push_back(Band{height * i / bands, height * (i + 1) / bands});
  QtConcurrent::blockingMap(list, [&](const Band& band) { composeBand(doc, bits, stride, onlySelection, band); });
}
