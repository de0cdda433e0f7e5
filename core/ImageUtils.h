#pragma once
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QRgb>

// Replaces out by an ARGB32 checkerboard of the given size whose top-left
// square is first; squares below 1 pixel count as 1. With frame on, the
// outermost rows and columns are opaque black.
void makeCheckerboard(QImage& out, const QSize& size, unsigned int square, bool frame,
                      const QRgb& first, const QRgb& second);
void makeCheckerboard(QPixmap& out, const QSize& size, unsigned int square, bool frame,
                      const QRgb& first, const QRgb& second);

// True when no pixel has a non-zero alpha (also for an empty image).
bool isFullyTransparent(const QImage& image);
// True when every pixel's raw 32-bit value equals colour (also for an empty
// image).
bool isUniform(const QImage& image, const QRgb& colour);

// Lays the width x height block of src at (sx, sy) over dst at (dx, dy),
// source-over on non-premultiplied ARGB32. The block is clipped to both
// images; dst is brought to ARGB32 first if it has another format.
void blendImageOver(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int width, int height);
