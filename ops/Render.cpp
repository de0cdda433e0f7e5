#include "model/CharacterData.h"
#include "ops/Compose.h"
#include "ops/RenderView.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Nearest-pixel scaling (each target pixel takes the source pixel under its
// centre) that keeps every pixel word exactly: the toolkit's fast scaling
// blends through premultiplied values, which would turn the blank word into 0
// and shift the colour of faint pixels, and the pipette reads these words.
// Builds only the part `part` of the zw x zh picture, so that a view shows a
// large zoom at the cost of its visible pixels. Returns a null image when the
// target cannot be allocated.
QImage scaleNearest(const QImage& src, int zw, int zh, const QRect& part)
{
  QImage out(part.size(), QImage::Format_ARGB32);
  if (out.isNull())
    return out;
  const int64_t sw = src.width();
  const int64_t sh = src.height();
  std::vector<int> column(part.width());
  for (int x = 0; x < part.width(); ++x)
    column[x] = static_cast<int>(((2 * int64_t(part.x() + x) + 1) * sw) / (2 * int64_t(zw)));

  const std::size_t rowBytes = static_cast<std::size_t>(part.width()) * sizeof(uint32_t);
  const uint32_t* previous = nullptr;
  int previousRow = -1;
  for (int y = 0; y < part.height(); ++y) {
    const int sy = static_cast<int>(((2 * int64_t(part.y() + y) + 1) * sh) / (2 * int64_t(zh)));
    uint32_t* d = reinterpret_cast<uint32_t*>(out.scanLine(y));
    if (sy == previousRow) {
      std::memcpy(d, previous, rowBytes); // enlarged rows repeat
    } else {
      const uint32_t* s = reinterpret_cast<const uint32_t*>(src.constScanLine(sy));
      for (int x = 0; x < part.width(); ++x)
        d[x] = s[column[x]];
    }
    previous = d;
    previousRow = sy;
  }
  return out;
}

// trunc(length x zoom), or 0 when the product does not fit an int.
int zoomedLength(int length, double zoom)
{
  const double v = length * zoom;
  return v < static_cast<double>(INT_MAX) ? static_cast<int>(v) : 0;
}

QPen viewPen(const QColor& colour, double width, Qt::PenStyle style)
{
  return QPen(QBrush(colour, Qt::SolidPattern), width, style, Qt::SquareCap, Qt::BevelJoin);
}

// The lines start at from rather than at 0 when only a part of the view is
// drawn: the painter restarts the dashes where it clips a line, so each line
// must begin inside the part, at a whole number of dash periods from 0.
void drawGrid(QPainter& p, int type, int w, int h, const QPoint& from)
{
  p.setPen(viewPen(QColor(0, 0, 0, 255), 1.0, Qt::DashLine));
  for (int k = 1; k <= 3; ++k)
    p.drawLine(QLine(from.x(), k * (h / 4), w, k * (h / 4)));
  const int columns = type == XP ? 4 : type == VX ? 3 : 0;
  for (int k = 1; k < columns; ++k)
    p.drawLine(QLine(k * (w / columns), from.y(), k * (w / columns), h));
}

// One dash and its gap of the grid pen, in pixels.
constexpr int kDashPeriod = 6;

// The one-pixel outline that drawRects gives a rectangle (its right and
// bottom edges one past the corners), laid as four spans: the painter leaves
// out a corner of an outline it clips, which a part of the view would show.
void outlineRect(QPainter& p, const QRect& r, const QColor& colour)
{
  const int l = r.left(), t = r.top(), rr = r.right() + 1, b = r.bottom() + 1;
  p.fillRect(QRect(QPoint(l, t), QPoint(rr, t)), colour);
  p.fillRect(QRect(QPoint(l, b), QPoint(rr, b)), colour);
  p.fillRect(QRect(QPoint(l, t), QPoint(l, b)), colour);
  p.fillRect(QRect(QPoint(rr, t), QPoint(rr, b)), colour);
}

// A white band between two thin black lines around each selected cell. A
// part of the view draws the black lines with outlineRect.
void drawSelectionFrames(QPainter& p, int type, int w, int h, const std::vector<int>& cells, bool part)
{
  const int columns = type == XP ? 4 : 3;
  const int cw = w / columns;
  const int ch = h / 4;
  const QPen black = viewPen(QColor(0, 0, 0, 255), 1.0, Qt::SolidLine);
  const QPen white = viewPen(QColor(255, 255, 255, 255), 2.0, Qt::SolidLine);
  for (int c : cells) {
    const int x = (c % columns) * cw;
    const int y = (c / columns) * ch;
    const QRect outer(QPoint(x, y), QPoint(x + cw - 2, y + ch - 2));
    const QRect inner(QPoint(x + 3, y + 3), QPoint(x + cw - 5, y + ch - 5));
    const QRect middle(QPoint(x + 2, y + 2), QPoint(x + cw - 3, y + ch - 3));
    if (part) {
      outlineRect(p, outer, black.color());
      outlineRect(p, inner, black.color());
    } else {
      p.setPen(black);
      p.drawRects(&outer, 1);
      p.drawRects(&inner, 1);
    }
    p.setPen(white);
    p.drawRects(&middle, 1);
  }
}

// The grid and the frames of a w x h view, drawn on the part of it that
// starts at corner; part tells that the picture is only a part of it.
void drawViewMarks(const CharacterData& doc, QImage& picture, int w, int h, const QPoint& corner, bool part)
{
  const int type = doc.type();
  const bool framed = (type == XP || type == VX) && doc.selectedCellCount() > 0;
  if (!doc.isGridShown() && !framed)
    return;
  // The pens are opaque and unsmoothed, so they write their exact words
  // whatever the format says; the premultiplied view keeps the painter on its
  // fast path and never converts the pixels it does not touch.
  QImage view(picture.bits(), picture.width(), picture.height(), picture.bytesPerLine(),
              QImage::Format_ARGB32_Premultiplied);
  QPainter p(&view);
  p.translate(-corner.x(), -corner.y());
  if (doc.isGridShown())
    drawGrid(p, type, w, h, corner);
  if (framed)
    drawSelectionFrames(p, type, w, h, doc.selectedCells(), part);
}

} // namespace

QImage CharacterData::renderImage(uint32_t fill)
{
  QImage picture(m_size, QImage::Format_ARGB32);
  if (picture.isNull()) {
    m_lastRender = picture;
    return picture;
  }
  picture.fill(fill);
  composeSheet(*this, picture, false);
  return finishView(*this, picture);
}

QImage finishView(CharacterData& doc, QImage picture)
{
  const QSize zoomed = viewSize(doc);
  if (zoomed != picture.size()) {
    QImage scaled = scaleNearest(picture, zoomed.width(), zoomed.height(), QRect(QPoint(0, 0), zoomed));
    if (!scaled.isNull())
      picture = scaled;
  }
  drawViewMarks(doc, picture, picture.width(), picture.height(), QPoint(0, 0), false);
  doc.lastRender() = picture;
  return picture;
}

QSize viewSize(const CharacterData& doc)
{
  const double zoom = doc.zoom();
  const QSize size = doc.size();
  if (zoom != 1.0 && zoom > 0) {
    const int zw = zoomedLength(size.width(), zoom);
    const int zh = zoomedLength(size.height(), zoom);
    if (zw >= 1 && zh >= 1)
      return QSize(zw, zh);
  }
  return size;
}

QImage composedSheet(const CharacterData& doc)
{
  QImage sheet(doc.size(), QImage::Format_ARGB32);
  if (sheet.isNull())
    return sheet;
  sheet.fill(static_cast<uint32_t>(doc.backgroundPixel()));
  composeSheet(doc, sheet, false);
  return sheet;
}

QRect sheetPartOf(const CharacterData& doc, const QRect& part)
{
  const QSize zoomed = viewSize(doc);
  const QRect inside = part.intersected(QRect(QPoint(0, 0), zoomed));
  if (inside.isEmpty())
    return QRect();
  const int64_t sw = doc.size().width(), sh = doc.size().height();
  auto column = [&](int x) { return static_cast<int>(((2 * int64_t(x) + 1) * sw) / (2 * int64_t(zoomed.width()))); };
  auto row = [&](int y) { return static_cast<int>(((2 * int64_t(y) + 1) * sh) / (2 * int64_t(zoomed.height()))); };
  return QRect(QPoint(column(inside.left()), row(inside.top())), QPoint(column(inside.right()), row(inside.bottom())));
}

std::vector<qint64> compositionKey(const CharacterData& doc)
{
  const int elements = std::min<int>(doc.elementCount(), int(std::min(doc.images().size(), doc.offsets().size())));
  std::vector<qint64> key{doc.size().width(), doc.size().height(), doc.type(), doc.drawsBeyondBorders(),
                          doc.backgroundPixel(), elements};
  for (int e = 0; e < elements; ++e) {
    key.push_back(doc.isVisible(unsigned(e)));
    key.push_back(qint64(doc.images(unsigned(e)).size()));
    for (const QImage& image : doc.images(unsigned(e)))
      key.push_back(qint64(image.cacheKey()));
    for (const QPoint& o : doc.offsets(unsigned(e)))
      key.push_back((qint64(o.x()) << 32) ^ uint32_t(o.y()));
  }
  return key;
}

QImage viewPart(const CharacterData& doc, const QImage& sheet, const QRect& part)
{
  const QSize zoomed = viewSize(doc);
  const QRect inside = part.intersected(QRect(QPoint(0, 0), zoomed));
  if (inside.isEmpty() || sheet.size() != doc.size())
    return QImage();
  // Drawn from a corner on the dash period, then cut to the part.
  const QPoint corner(inside.left() - inside.left() % kDashPeriod, inside.top() - inside.top() % kDashPeriod);
  const QRect drawn(corner, inside.bottomRight());
  QImage picture = scaleNearest(sheet, zoomed.width(), zoomed.height(), drawn);
  if (picture.isNull())
    return picture;
  drawViewMarks(doc, picture, zoomed.width(), zoomed.height(), corner, true);
  return drawn == inside ? picture : picture.copy(inside.translated(-corner));
}

QPixmap CharacterData::render()
{
  return QPixmap::fromImage(renderImage(static_cast<uint32_t>(m_backgroundPixel)));
}

void CharacterData::renderPixmap(QPixmap& out)
{
  out = QPixmap::fromImage(renderImage(static_cast<uint32_t>(m_backgroundPixel)));
}

void CharacterData::renderTo(QPainter* painter)
{
  const QImage picture = renderImage(kBlankPixel);
  if (painter)
    painter->drawImage(QPointF(0.0, 0.0), picture);
}
