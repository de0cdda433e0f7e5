#pragma once
// Cutting a whole character sheet into the cell images of a document's layout:
// used when an element is made from an image and when elements are reloaded
// from their sources.
#include "core/SheetGrid.h"

#include <QImage>
#include <QPoint>
#include <vector>

// Cuts cell `cell` out of sheet: the sheet is divided in the grid's columns
// and 4 rows, the piece is cropped to its visible pixels, and offset places it
// so that a sheet whose cells differ in size from the grid's is centred on
// them.
void cutSheetCell(const QImage& sheet, const SheetGrid& grid, int cell, QImage& image, QPoint& offset);

// Cuts every cell of the grid (none for an unknown layout); images and offsets
// are replaced.
void cutSheet(const QImage& sheet, const SheetGrid& grid, std::vector<QImage>& images,
              std::vector<QPoint>& offsets);
