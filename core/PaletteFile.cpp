#include "core/PaletteFile.h"

#include "core/PathUtils.h"
#include "core/SaveFile.h"

#include <QFile>

#include <cmath>
#include <cstdint>

namespace {

QColor hsv(int h, int s, int v, int a)
{
  QColor c;
  c.setHsv(h, s, v, a);
  return c;
}

QColor greyColumnCell(int column, int row, int rows)
{
  if (column == 0) {
    if (row == 0)
      return QColor(0, 0, 0);
    if (row == 1)
      return QColor(255, 255, 255);
    if (row == rows - 2)
      return QColor(0, 0, 0, 128);
    if (row == rows - 1)
      return QColor(255, 255, 255, 128);
    const int level = int(255.0 * (row - 1) / (rows - 3));
    return QColor(level, level, level);
  }
  if (row == rows - 2)
    return QColor(64, 64, 64, 128);
  if (row == rows - 1)
    return QColor(128, 128, 128, 128);
  const int level = int(255.0 * (row + 1) / (rows - 1));
  return QColor(level, level, level);
}

QColor hueColumnCell(int hue, int row, int rows)
{
  if (row == 0)
    return hsv(hue, 255, 255, 255);
  if (row == rows - 2)
    return hsv(hue, 255, 255, 128);
  if (row == rows - 1)
    return hsv(hue, 255, 128, 128);
  const int k = row - 1;
  const int q = k / 3;
  const int t = int(255.0 * (q + 1) / (std::ceil((rows - 3) / 3.0) + 1));
  switch (k % 3) {
  case 0:
    return hsv(hue, t, 255, 255);
  case 1:
    return hsv(hue, 255, t, 255);
  default:
    return hsv(hue, t, t, 255);
  }
}

QString damaged(const QString& path)
{
  return richTextEscaped(path) + QStringLiteral(" est endommagé.<br />Il est impossible de l'ouvrir.");
}

} // namespace

std::vector<QColor> defaultPalette(int columns, int rows)
{
  std::vector<QColor> cells;
  cells.reserve(std::size_t(std::max(columns, 0)) * std::size_t(std::max(rows, 0)));
  for (int c = 0; c < columns; ++c) {
    // Divided by columns - 1, not by the number of hue columns, so the last
    // hue stays short of a full turn.
    const int hue = c >= 2 ? int(360.0 * (c - 2) / (columns - 1)) : 0;
    for (int r = 0; r < rows; ++r)
      cells.push_back(c < 2 ? greyColumnCell(c, r, rows) : hueColumnCell(hue, r, rows));
  }
  return cells;
}

bool readPaletteFile(const QString& path, std::vector<QColor>& cells, QString& error)
{
  QFile file(path);
  if (isSpecialFile(path) || !file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Impossible d'ouvrir : ") + richTextEscaped(path);
    return false;
  }
  char version = 0;
  if (!file.getChar(&version)) {
    error = damaged(path);
    return false;
  }
  if (version != 0) {
    error = richTextEscaped(path) + QStringLiteral(" a été enregistré avec une version de Sorvel Kit plus récente.");
    return false;
  }
  unsigned char countBytes[2];
  if (file.read(reinterpret_cast<char*>(countBytes), 2) != 2) {
    error = damaged(path);
    return false;
  }
  // Signed on disk, compared as unsigned: a "negative" count reads until the
  // cells are full, as files of the first version expect.
  const int16_t signedCount = int16_t(uint16_t(countBytes[0] | (countBytes[1] << 8)));
  const unsigned int count = static_cast<unsigned int>(int(signedCount));
  for (unsigned int i = 0; i < count && i < cells.size(); ++i) {
    unsigned char rgba[4];
    if (file.read(reinterpret_cast<char*>(rgba), 4) != 4) {
      error = damaged(path);
      return false;
    }
    cells[i] = QColor(rgba[0], rgba[1], rgba[2], rgba[3]);
  }
  return true;
}

bool writePaletteFile(const QString& path, const std::vector<QColor>& cells, QString* reason)
{
  QByteArray bytes;
  bytes.reserve(int(3 + 4 * cells.size()));
  const uint16_t count = uint16_t(cells.size());
  bytes.append(char(0));
  bytes.append(char(count & 0xFF));
  bytes.append(char(count >> 8));
  for (const QColor& c : cells) {
    bytes.append(char(c.red()));
    bytes.append(char(c.green()));
    bytes.append(char(c.blue()));
    bytes.append(char(c.alpha()));
  }
  return saveWholeFile(path, bytes, reason);
}
