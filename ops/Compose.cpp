#include "ops/Compose.h"

#include "model/CharacterData.h"
#include "ops/BlendImage.h"

#include <algorithm>

CellBlock clipToCell(const QPoint& offset, const QSize& image, const QSize& cell)
{
  CellBlock b;
  b.dx = std::max(offset.x(), 0);
  b.sx = std::max(-offset.x(), 0);
  b.dy = std::max(offset.y(), 0);
  b.sy = std::max(-offset.y(), 0);
  b.w = std::min(cell.width() - b.dx, image.width() - b.sx);
  b.h = std::min(cell.height() - b.dy, image.height() - b.sy);
  return b;
}

CellBlock clipToSheet(const QPoint& origin, const QPoint& offset, const QSize& image, const QSize& sheet)
{
  return clipToCell(origin + offset, image, sheet);
}

void composeSheet(const CharacterData& doc, QImage& sheet, bool onlySelection)
{
  if (doc.type() != XP && doc.type() != VX)
    return;
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
      if (!b.isEmpty())
        blendImage(sheet, b.dx, b.dy, img, b.sx, b.sy, b.w, b.h);
    }
  }
}
