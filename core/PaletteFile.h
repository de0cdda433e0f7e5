#pragma once
// The palette file ".skp" and the computed default palette, without any
// widget, so that the reader can run where no display exists.
//
// Layout: a version byte 0, a 16-bit little-endian colour count, then red,
// green, blue and alpha bytes per colour in column-major cell order.
#include <QColor>
#include <QString>

#include <vector>

// The default palette of columns x rows cells, column-major.
std::vector<QColor> defaultPalette(int columns, int rows);

// Reads the file over cells: each record read lands at once, so a damaged file
// keeps the cells read before the damage. Records beyond cells.size() are not
// read. On failure returns false with the French message in error.
bool readPaletteFile(const QString& path, std::vector<QColor>& cells, QString& error);

// Writes every cell. False, with the save file's reason, when the file cannot
// be written; an existing file then stays as it was.
bool writePaletteFile(const QString& path, const std::vector<QColor>& cells, QString* reason = nullptr);
