#include "core/ImageUtils.h"

#include "core/BlendImage.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace {

// The tests below read 32-bit words; any other depth is looked at through an
// ARGB32 copy rather than read past its rows.
QImage as32Bit(const QImage& image)
{
  return image.depth() == 32 ? image : image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void makeCheckerboard(QImage& out, const QSize& size, unsigned int square, bool frame,
                      const QRgb& first, const QRgb& second)
{
  const unsigned int side = std::max(square, 1u);
  out = QImage(size, QImage::Format_ARGB32);
  if (out.isNull())
    return;
  for (int y = 0; y < out.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    const unsigned int row = static_cast<unsigned int>(y) / side;
    for (int x = 0; x < out.width(); ++x)
      line[x] = ((static_cast<unsigned int>(x) / side + row) % 2 == 0) ? first : second;
  }
  if (frame) {
    QPainter painter(&out);
    painter.drawRect(0, 0, out.width() - 1, out.height() - 1);
  }
}

void makeCheckerboard(QPixmap& out, const QSize& size, unsigned int square, bool frame,
                      const QRgb& first, const QRgb& second)
{
  QImage image;
  makeCheckerboard(image, size, square, frame, first, second);
  out = QPixmap::fromImage(image);
}

bool isFullyTransparent(const QImage& image)
{
  const QImage img = as32Bit(image);
  // The size is read once: QImage::width() is a library call, not inlined,
  // and the element list runs this over every cell of a blank element.
  const int width = img.width(), height = img.height();
  for (int y = 0; y < height; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    QRgb alpha = 0;
    for (int x = 0; x < width; ++x)
      alpha |= line[x];
    if (qAlpha(alpha) != 0)
      return false;
  }
  return true;
}

bool isUniform(const QImage& image, const QRgb& colour)
{
  const QImage img = as32Bit(image);
  for (int y = 0; y < img.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (line[x] != colour)
        return false;
  }
  return true;
}

void blendImageOver(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int width, int height)
{
  // Clip the block to both images, moving both origins together (in 64 bits,
  // so that far-off coordinates cannot overflow).
  long long x0 = dx, y0 = dy, x1 = sx, y1 = sy, w = width, h = height;
  if (x0 < 0) { x1 -= x0; w += x0; x0 = 0; }
  if (x1 < 0) { x0 -= x1; w += x1; x1 = 0; }
  if (y0 < 0) { y1 -= y0; h += y0; y0 = 0; }
  if (y1 < 0) { y0 -= y1; h += y1; y1 = 0; }
  w = std::min({w, dst.width() - x0, src.width() - x1});
  h = std::min({h, dst.height() - y0, src.height() - y1});
  if (w <= 0 || h <= 0)
    return;
  dx = static_cast<int>(x0); dy = static_cast<int>(y0);
  sx = static_cast<int>(x1); sy = static_cast<int>(y1);
  width = static_cast<int>(w); height = static_cast<int>(h);
  if (dst.format() != QImage::Format_ARGB32)
    dst = dst.convertToFormat(QImage::Format_ARGB32);
  if (src.format() != QImage::Format_ARGB32)
    blendImage(dst, dx, dy, src.convertToFormat(QImage::Format_ARGB32), sx, sy, width, height);
  else
    blendImage(dst, dx, dy, src, sx, sy, width, height);
}
