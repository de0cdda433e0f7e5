#include "ops/SheetCut.h"

#include "model/CharacterData.h"
#include "ops/CropTransparent.h"

void cutSheetCell(const QImage& sheet, const CharacterData& doc, int cell, QImage& image, QPoint& offset)
{
  const int columns = doc.columnCount();
  const QSize docCell = doc.cellSize();
  QSize piece = docCell;
  if (sheet.size() != doc.size())
    piece = QSize(sheet.width() / columns, sheet.height() / 4);

  image = sheet.copy((cell % columns) * piece.width(), (cell / columns) * piece.height(), piece.width(),
                     piece.height());
  QPoint shift;
  cropTransparent(image, shift);
  // The half difference is taken in single precision and truncated, so an odd
  // difference of -1 rounds toward zero like any other.
  const int dx = static_cast<int>((piece.width() - docCell.width()) * 0.5f);
  const int dy = static_cast<int>((piece.height() - docCell.height()) * 0.5f);
  offset = QPoint(shift.x() - dx, shift.y() - dy);
}

void cutSheet(const QImage& sheet, const CharacterData& doc, std::vector<QImage>& images,
              std::vector<QPoint>& offsets)
{
  images.clear();
  offsets.clear();
  if (doc.type() != XP && doc.type() != VX)
    return;
  const QImage argb = sheet.format() == QImage::Format_ARGB32 ? sheet
                                                              : sheet.convertToFormat(QImage::Format_ARGB32);
  const int cells = doc.cellCount();
  images.resize(cells);
  offsets.resize(cells);
  for (int c = 0; c < cells; ++c)
    cutSheetCell(argb, doc, c, images[c], offsets[c]);
}
