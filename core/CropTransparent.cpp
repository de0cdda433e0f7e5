#include "core/CropTransparent.h"

#include <cstdint>

namespace {

bool rowHasAlpha(const QImage& img, int y, int x0, int x1)
{
  const uint32_t* p = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
  for (int x = x0; x <= x1; ++x)
    if (p[x] >> 24)
      return true;
  return false;
}

bool columnHasAlpha(const QImage& img, int x, int y0, int y1)
{
  for (int y = y0; y <= y1; ++y)
    if (reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x] >> 24)
      return true;
  return false;
}

} // namespace

void cropTransparent(QImage& image, QPoint& shift)
{
  shift = QPoint(0, 0);
  if (image.format() != QImage::Format_ARGB32)
    image = image.convertToFormat(QImage::Format_ARGB32);
  const int w = image.width();
  const int h = image.height();
  if (w <= 0 || h <= 0)
    return;

  int top = 0;
  while (top < h && !rowHasAlpha(image, top, 0, w - 1))
    ++top;
  if (top == h)
    return; // nothing visible: keep the image as it is
  int bottom = h - 1;
  while (bottom > top && !rowHasAlpha(image, bottom, 0, w - 1))
    --bottom;
  int left = 0;
  while (left < w - 1 && !columnHasAlpha(image, left, top, bottom))
    ++left;
  int right = w - 1;
  while (right > left && !columnHasAlpha(image, right, top, bottom))
    --right;

  if (left == 0 && top == 0 && right == w - 1 && bottom == h - 1)
    return;
  image = image.copy(left, top, right - left + 1, bottom - top + 1);
  shift = QPoint(left, top);
}
