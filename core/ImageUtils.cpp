#include "core/ImageUtils.h"

#include "core/BlendImage.h"
#include "core/PathUtils.h"
#include "core/PictureDevice.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace {

// The tests below read ARGB words. Other 32-bit formats order or scale their
// channels differently, so only these two are read as they are.
QImage as32Bit(const QImage& image)
{
  const QImage::Format f = image.format();
  return f == QImage::Format_ARGB32 || f == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_ARGB32);
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
  if (!clipBlock(dst.size(), dx, dy, src.size(), sx, sy, width, height))
    return;
  if (dst.format() != QImage::Format_ARGB32)
    dst = dst.convertToFormat(QImage::Format_ARGB32);
  if (src.format() != QImage::Format_ARGB32)
    blendImage(dst, dx, dy, src.convertToFormat(QImage::Format_ARGB32), sx, sy, width, height);
  else
    blendImage(dst, dx, dy, src, sx, sy, width, height);
}

void drawEllipseInImage(QImage& image, const QRect& rect, const QColor& color, bool filled)
{
  if (image.isNull() || rect.width() <= 0)
    return;
  if (image.format() != QImage::Format_ARGB32)
    image = image.convertToFormat(QImage::Format_ARGB32);
  const uint32_t word = color.rgba();
  auto plot = [&](long long x, long long y) {
    if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
      reinterpret_cast<uint32_t*>(image.scanLine(static_cast<int>(y)))[x] = word;
  };
  const double b = rect.height() * 0.5;
  scanEllipseColumns(rect.width(), rect.height(), [&](int column, double extent) {
    const long long first = static_cast<int>(b - extent), last = static_cast<int>(b + extent);
    if (filled) {
      for (long long y = first; y <= last; ++y)
        plot(column, y);
    } else {
      plot(column, first);
      plot(column, last);
    }
  });
}

namespace {

// What the reader left to the caller: the key of a 16-bit RGB PNG.
void applyKey(QImage& image, const QRgba64& key)
{
  if (image.format() != QImage::Format_RGBX64)
    return;
  const QRgba64 clear = QRgba64::fromRgba64(key.red(), key.green(), key.blue(), 0);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgba64*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (line[x] == key)
        line[x] = clear;
  }
  image.reinterpretAsFormat(QImage::Format_RGBA64);
}

} // namespace

QImage readPicture(QIODevice& source, const QByteArray& format, const std::function<bool()>& stop)
{
  PictureDevice device(source, stop);
  if (!device.open(QIODevice::ReadOnly))
    return QImage();
  QImageReader reader(&device, format);
  QImage image = reader.read();
  if (!image.isNull() && device.key())
    applyKey(image, *device.key());
  return image;
}

QImage readImageFile(const QString& path, const std::function<bool()>& stop)
{
  QFile file(path);
  if (isSpecialFile(path) || !file.open(QIODevice::ReadOnly))
    return QImage();
  return readPicture(file, QByteArray(), stop);
}

QImage readArgb32Image(const QString& path, const std::function<bool()>& stop)
{
  QImage image = readImageFile(path, stop);
  if (!image.isNull() && image.format() != QImage::Format_ARGB32)
    image = std::move(image).convertToFormat(QImage::Format_ARGB32);
  return image;
}
