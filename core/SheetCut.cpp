#include "core/SheetCut.h"

#include "core/CropTransparent.h"

#include <QColorSpace>

void cutSheetCell(const QImage& sheet, const SheetGrid& grid, int cell, QImage& image, QPoint& offset)
{
  const int columns = grid.columns;
  const QSize docCell = grid.cell;
  QSize piece = docCell;
  if (sheet.size() != grid.sheet)
    piece = QSize(sheet.width() / columns, sheet.height() / 4);

  image = sheet.copy((cell % columns) * piece.width(), (cell / columns) * piece.height(), piece.width(),
                     piece.height());
  // Cells are plain ARGB words: a sheet's colour profile would otherwise be
  // copied into every cell and stored again with each one.
  if (image.colorSpace().isValid())
    image.setColorSpace(QColorSpace());
  QPoint shift;
  cropTransparent(image, shift);
  // The half difference is taken in single precision and truncated, so an odd
  // difference of -1 rounds toward zero like any other.
  const int dx = static_cast<int>((piece.width() - docCell.width()) * 0.5f);
  const int dy = static_cast<int>((piece.height() - docCell.height()) * 0.5f);
  offset = QPoint(shift.x() - dx, shift.y() - dy);
}

void cutSheet(const QImage& sheet, const SheetGrid& grid, std::vector<QImage>& images,
              std::vector<QPoint>& offsets)
{
  images.clear();
  offsets.clear();
  if (grid.cells <= 0)
    return;
  const QImage argb = sheet.format() == QImage::Format_ARGB32 ? sheet
                                                              : sheet.convertToFormat(QImage::Format_ARGB32);
  const int cells = grid.cells;
  images.resize(cells);
  offsets.resize(cells);
  for (int c = 0; c < cells; ++c)
    cutSheetCell(argb, grid, c, images[c], offsets[c]);
}
