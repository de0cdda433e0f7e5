#pragma once
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QSize>

#include <cmath>
#include <functional>
#include <QRgb>

class QIODevice;

// Replaces out by an ARGB32 checkerboard of the given size whose top-left
// square is first; squares below 1 pixel count as 1. With frame on, the
// outermost rows and columns are opaque black.
void makeCheckerboard(QImage& out, const QSize& size, unsigned int square, bool frame,
                      const QRgb& first, const QRgb& second);
void makeCheckerboard(QPixmap& out, const QSize& size, unsigned int square, bool frame,
                      const QRgb& first, const QRgb& second);

// The one reader of pictures, files and cells alike: the image that source
// holds (open for reading, random access) as the toolkit decodes it in the
// given format, or as its content says when format is empty, with a 16-bit
// RGB PNG's key colour applied as the PNG rule says: a pixel whose three
// samples equal the key's is clear, every other one opaque. Null when it does
// not decode, or once stop() turns true, which ends the decoding at its next
// read.
QImage readPicture(QIODevice& source, const QByteArray& format, const std::function<bool()>& stop = {});
// The image of a user's file read by readPicture; null when it does not load
// or the path is not a regular file (isSpecialFile), which would keep the
// reader waiting on a pipe or a device.
QImage readImageFile(const QString& path, const std::function<bool()>& stop = {});
// The same in straight Format_ARGB32.
QImage readArgb32Image(const QString& path, const std::function<bool()>& stop = {});

// True when no pixel has a non-zero alpha (also for an empty image).
bool isFullyTransparent(const QImage& image);
// True when every pixel's raw 32-bit value equals colour (also for an empty
// image).
bool isUniform(const QImage& image, const QRgb& colour);

// Lays the width x height block of src at (sx, sy) over dst at (dx, dy),
// source-over on non-premultiplied ARGB32. The block is clipped to both
// images; dst is brought to ARGB32 first if it has another format.
void blendImageOver(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int width, int height);

// The column scan of the ellipse inscribed in a width x height box, with
// a = width / 2 and b = height / 2: x runs from -a in steps of 1 while x < a,
// and visit(column, extent) gets column trunc(x + a) and the half height
// b * sqrt(1 - (x / a)^2) of the ellipse there, the box's middle row being b.
template <class Visit>
void scanEllipseColumns(double width, double height, Visit visit)
{
  const double a = width * 0.5;
  const double b = height * 0.5;
  for (double x = -a; x < a; x += 1.0) {
    const double q = x / a;
    visit(static_cast<int>(x + a), b * std::sqrt(1.0 - q * q));
  }
}

// Plots, pixel by pixel in the colour, the ellipse of rect's size from the
// image's own top-left corner (rect's position is not used): in each column
// the top and bottom pixels, and with filled every pixel between them; a
// height of 0 plots row 0. Pixels outside the image are skipped.
void drawEllipseInImage(QImage& image, const QRect& rect, const QColor& color, bool filled);
