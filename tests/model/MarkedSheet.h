#pragma once
// A sheet whose cell j holds one opaque pixel at (j % 3 + 1, j % 5 + 2) of the
// cell, in a colour that names the sheet (tag) and the cell: after a cut, each
// cell image and offset tells where it came from.
#include "model/CharacterData.h"

inline QImage markedSheet(int w, int h, int columns, uint32_t tag)
{
  QImage sheet = blankImage(QSize(w, h));
  const int cw = w / columns, ch = h / 4;
  for (int j = 0; j < columns * 4; ++j)
    sheet.setPixel((j % columns) * cw + j % 3 + 1, (j / columns) * ch + j % 5 + 2, 0xFF000000u | tag << 8 | uint32_t(j));
  return sheet;
}
