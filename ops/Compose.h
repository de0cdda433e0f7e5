#pragma once
// Placement of cell images on a sheet, shared by the flattening, the view
// renderer and the animation frames.
#include <QImage>
#include <QPoint>
#include <QSize>

class CharacterData;

// A block to blend: destination corner, source corner, size.
struct CellBlock
{
  int dx = 0, dy = 0, sx = 0, sy = 0, w = 0, h = 0;
  bool isEmpty() const { return w < 1 || h < 1; }
};

// An image at offset within a cell of size cell, cut at the cell's edges; the
// destination is relative to the cell's corner.
CellBlock clipToCell(const QPoint& offset, const QSize& image, const QSize& cell);

// An image whose corner lies at origin + offset on a sheet, cut at the sheet's
// edges; the destination is on the sheet.
CellBlock clipToSheet(const QPoint& origin, const QPoint& offset, const QSize& image, const QSize& sheet);

// Lays every visible element's cells on sheet (the document's size), element 0
// at the bottom. With onlySelection, a cell is drawn only when its element or
// the cell itself is selected. Does nothing for a layout other than XP and VX.
void composeSheet(const CharacterData& doc, QImage& sheet, bool onlySelection);
