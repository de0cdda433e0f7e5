#include "model/CharacterData.h"

#include "core/BlendImage.h"
#include "core/ImageUtils.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
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
  const double b = height * 0.5;
  scanEllipseColumns(static_cast<double>(width), static_cast<double>(height), [&](int column, double extent) {
    points.emplace_back(column, static_cast<int>(b - extent));
    points.emplace_back(column, static_cast<int>(b + extent));
    for (double y = -extent; y < extent; y += 1.0)
      points.emplace_back(column, static_cast<int>(b - y));
  });
  return points;
}

// Grows image, with blank pixels, just enough to hold p (cell coordinates),
// moving offset to the new top-left corner. A growth past the side the
// readers accept is refused: the cell stays as it was.
void growToPoint(QImage& image, QPoint& offset, const QPoint& p)
{
  const long long W = image.isNull() ? 0 : image.width(), H = image.isNull() ? 0 : image.height();
  const long long ox = offset.x(), oy = offset.y();
  const long long left = std::min<long long>(ox, p.x()), top = std::min<long long>(oy, p.y());
  const long long right = std::max<long long>(ox + W, p.x() + 1LL);
  const long long bottom = std::max<long long>(oy + H, p.y() + 1LL);
  if (left == ox && top == oy && right == ox + W && bottom == oy + H)
    return;
  if (right - left > kMaxSheetSide || bottom - top > kMaxSheetSide)
    return;
  QImage grown = blankImage(QSize(static_cast<int>(right - left), static_cast<int>(bottom - top)));
  if (grown.isNull())
    return;
  if (W > 0 && H > 0) {
    const QImage old = image.format() == QImage::Format_ARGB32 ? image : image.convertToFormat(QImage::Format_ARGB32);
    blendImage(grown, static_cast<int>(ox - left), static_cast<int>(oy - top), old, 0, 0, static_cast<int>(W),
               static_cast<int>(H));
  }
  image = grown;
  offset = QPoint(static_cast<int>(left), static_cast<int>(top));
}

// Lays picture, whose top-left corner is at corner in cell coordinates, over
// the cell; whatever falls outside the cell image is dropped.
void layOver(QImage& image, const QPoint& offset, const QImage& picture, const QPoint& corner)
{
  const long long dx = static_cast<long long>(corner.x()) - offset.x();
  const long long dy = static_cast<long long>(corner.y()) - offset.y();
  if (dx < INT_MIN || dx > INT_MAX || dy < INT_MIN || dy > INT_MAX)
    return;
  blendImageOver(image, static_cast<int>(dx), static_cast<int>(dy), picture, 0, 0, picture.width(),
                 picture.height());
}

// The picture a rectangle operation lays: null when the rectangle is empty or
// larger than any cell may grow.
QImage rectPicture(const QRect& rect)
{
  if (rect.width() <= 0 || rect.height() <= 0 || rect.width() > kMaxSheetSide || rect.height() > kMaxSheetSide)
    return QImage();
  return blankImage(rect.size());
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

void CharacterData::moveCellsFromSnapshot(const QPoint& delta)
{
  const auto& saved = m_snapshot.offsets;
  forEachScopedCell([&](int e, int c) {
    if (e < static_cast<int>(saved.size()) && c < static_cast<int>(saved[e].size()))
      setOffset(saved[e][c] + delta, e, c);
  });
}

void CharacterData::growCellsToPoint(const QPoint& p)
{
  forEachScopedCell([&](int e, int c) { growToPoint(m_images[e][c], m_offsets[e][c], p); },
                    ScopeRule::WithoutEverything);
}

void CharacterData::growAllCellsToPoint(const QPoint& p)
{
  for (int e = 0; e < elementCount(); ++e)
    for (std::size_t c = 0; c < m_images[e].size() && c < m_offsets[e].size(); ++c)
      growToPoint(m_images[e][c], m_offsets[e][c], p);
}

void CharacterData::plotCells(const QPoint& p, const QColor& colour)
{
  growAllCellsToPoint(p);
  const uint32_t word = colour.rgba();
  forEachScopedCell(
      [&](int e, int c) {
        QImage& image = m_images[e][c];
        const long long x = static_cast<long long>(p.x()) - m_offsets[e][c].x();
        const long long y = static_cast<long long>(p.y()) - m_offsets[e][c].y();
        if (x < 0 || y < 0 || x >= image.width() || y >= image.height() || !ensureWritable(image))
          return;
        uint32_t& pixel = reinterpret_cast<uint32_t*>(image.scanLine(static_cast<int>(y)))[x];
        pixel = blendPixelRounded(word, pixel);
      },
      ScopeRule::WithoutEverything);
}

void CharacterData::drawLineCells(const QPoint& p1, const QPoint& p2, const QColor& colour, int width)
{
  const int margin = std::max(width, 0);
  const long long left = std::min(p1.x(), p2.x()) - static_cast<long long>(margin);
  const long long top = std::min(p1.y(), p2.y()) - static_cast<long long>(margin);
  const long long right = std::max(p1.x(), p2.x()) + static_cast<long long>(margin);
  const long long bottom = std::max(p1.y(), p2.y()) + static_cast<long long>(margin);
  if (right - left + 1 > kMaxSheetSide || bottom - top + 1 > kMaxSheetSide)
    return;
  const QRect box(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left + 1),
                  static_cast<int>(bottom - top + 1));
  QImage line = blankImage(box.size());
  {
    QPainter painter(&line);
    painter.setPen(QPen(colour, margin, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawLine(p1 - box.topLeft(), p2 - box.topLeft());
  }
  forEachScopedCell(
      [&](int e, int c) {
        growToPoint(m_images[e][c], m_offsets[e][c], box.topLeft());
        growToPoint(m_images[e][c], m_offsets[e][c], box.bottomRight());
        layOver(m_images[e][c], m_offsets[e][c], line, box.topLeft());
      },
      ScopeRule::WithoutEverything);
}

void CharacterData::fillRectCells(const QRect& rect, const QColor& colour)
{
  // The cells grow to both corners even when there is nothing to lay.
  growAllCellsToPoint(rect.topLeft());
  growAllCellsToPoint(rect.bottomRight());
  QImage picture = rectPicture(rect);
  if (picture.isNull())
    return;
  picture.fill(colour.rgba());
  forEachScopedCell([&](int e, int c) { layOver(m_images[e][c], m_offsets[e][c], picture, rect.topLeft()); });
}

void CharacterData::drawEllipseCells(const QRect& rect, const QColor& colour)
{
  growAllCellsToPoint(rect.topLeft());
  growAllCellsToPoint(rect.bottomRight());
  QImage picture = rectPicture(rect);
  if (picture.isNull())
    return;
  drawEllipseInImage(picture, rect, colour, false);
  forEachScopedCell([&](int e, int c) { layOver(m_images[e][c], m_offsets[e][c], picture, rect.topLeft()); });
}
