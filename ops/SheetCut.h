#pragma once
// Cutting a whole character sheet into the cell images of a document's layout:
// used when an element is made from an image and when elements are reloaded
// from their sources.
#include <QImage>
#include <QPoint>
#include <vector>

class CharacterData;

// Cuts cell `cell` out of sheet: the sheet is divided in the document's grid
// (4 or 3 columns, 4 rows), the piece is cropped to its visible pixels, and
// offset places it so that a sheet whose cells differ in size from the
// document's is centred on them.
void cutSheetCell(const QImage& sheet, const CharacterData& doc, int cell, QImage& image, QPoint& offset);

// Cuts every cell of the document's layout (none for a layout other than XP
// and VX); images and offsets are replaced.
void cutSheet(const QImage& sheet, const CharacterData& doc, std::vector<QImage>& images,
              std::vector<QPoint>& offsets);
