#include "model/CharacterData.h"

#include <algorithm>
#include <cmath>

namespace {

// Cell images are ARGB32 by contract; anything else (a stray null image, an
// image straight from a reader) is brought to it before raw words are written.
bool ensureWritable(QImage& image)
{
  if (image.isNull() || image.width() <= 0 || image.height() <= 0)
    return false;
  if (image.format() != QImage::Format_ARGB32)
    image = image.convertToFormat(QImage::Format_ARGB32);
  return true;
}

// The pixels that the round rubber erases, relative to the top-left corner of
// its rectangle. The scan is lopsided (it may reach one row below the
// rectangle), and the canvas's rubber has always erased exactly this shape.
std::vector<QPoint> ellipseScan(long long width, long long height)
{
  std::vector<QPoint> points;
  const double a = width * 0.5;
  const double b = height * 0.5;
  for (double x = -a; x < a; x += 1.0) {
    const double q = x / a;
    const double extent = b * std::sqrt(1.0 - q * q);
    const int column = static_cast<int>(x + a);
    points.emplace_back(column, static_cast<int>(b - extent));
    points.emplace_back(column, static_cast<int>(b + extent));
    for (double y = -extent; y < extent; y += 1.0)
      points.emplace_back(column, static_cast<int>(b - y));
  }
  return points;
}

} // namespace

void CharacterData::eraseRect(const QRect& rect)
{
  const long long w = static_cast<long long>(rect.right()) - rect.left() + 1;
  const long long h = static_cast<long long>(rect.bottom()) - rect.top() + 1;
  if (w <= 0 || h <= 0)
    return;
  forEachScopedCell([&](int e, int c) {
    QImage& image = m_images[e][c];
    const QPoint& o = m_offsets[e][c];
    // The rectangle in image coordinates, clipped to the image.
    const long long x0 = static_cast<long long>(rect.left()) - o.x();
    const long long y0 = static_cast<long long>(rect.top()) - o.y();
    const long long xa = std::max<long long>(x0, 0);
    const long long ya = std::max<long long>(y0, 0);
    const long long xb = std::min<long long>(x0 + w, image.width());
    const long long yb = std::min<long long>(y0 + h, image.height());
    if (xa >= xb || ya >= yb || !ensureWritable(image))
      return;
    for (long long y = ya; y < yb; ++y) {
      uint32_t* line = reinterpret_cast<uint32_t*>(image.scanLine(static_cast<int>(y)));
      std::fill(line + xa, line + xb, kBlankPixel);
    }
  });
}

void CharacterData::eraseEllipse(const QRect& rect)
{
  const long long w = static_cast<long long>(rect.right()) - rect.left() + 1;
  const long long h = static_cast<long long>(rect.bottom()) - rect.top() + 1;
  if (w <= 0)
    return;
  const std::vector<QPoint> scan = ellipseScan(w, h);
  forEachScopedCell([&](int e, int c) {
    QImage& image = m_images[e][c];
    const QPoint& o = m_offsets[e][c];
    const long long x0 = static_cast<long long>(rect.left()) - o.x();
    const long long y0 = static_cast<long long>(rect.top()) - o.y();
    bool writable = false;
    for (const QPoint& p : scan) {
      const long long x = x0 + p.x();
      const long long y = y0 + p.y();
      if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        continue;
      if (!writable && !(writable = ensureWritable(image)))
        return;
      reinterpret_cast<uint32_t*>(image.scanLine(static_cast<int>(y)))[x] = kBlankPixel;
    }
  });
}

void CharacterData::clearCells()
{
  forEachScopedCell([&](int e, int c) {
    QImage& image = m_images[e][c];
    if (ensureWritable(image))
      image.fill(kBlankPixel);
  });
}

// Unlike the scope rule, a cut clears only what is selected on both axes.
void CharacterData::clearSelectedCells()
{
  for (int e : m_selectedElements) {
    if (e < 0 || e >= elementCount())
      continue;
    for (int c : m_selectedCells) {
      if (c < 0 || c >= static_cast<int>(m_images[e].size()))
        continue;
      QImage& image = m_images[e][c];
      if (ensureWritable(image))
        image.fill(kBlankPixel);
    }
  }
}

void CharacterData::mirrorCells(bool horizontal, bool vertical)
{
  forEachScopedCell([&](int e, int c) {
    QImage& image = m_images[e][c];
    if (image.isNull())
      return;
    image = image.mirrored(horizontal, vertical);
    if (image.format() != QImage::Format_ARGB32)
      image = image.convertToFormat(QImage::Format_ARGB32);
  });
}

void CharacterData::moveCells(const QPoint& delta)
{
  forEachScopedCell([&](int e, int c) { setOffset(saturatedSum(m_offsets[e][c], delta), e, c); });
}
