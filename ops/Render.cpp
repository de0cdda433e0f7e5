#include "model/CharacterData.h"
#include "ops/Compose.h"
#include "ops/RenderView.h"

#include <QPainter>
#include <QPen>

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Nearest-pixel scaling (each target pixel takes the source pixel under its
// centre) that keeps every pixel word exactly: the toolkit's fast scaling
// blends through premultiplied values, which would turn the blank word into 0
// and shift the colour of faint pixels, and the pipette reads these words.
// Returns a null image when the target cannot be allocated.
QImage scaleNearest(const QImage& src, int zw, int zh)
{
  QImage out(zw, zh, QImage::Format_ARGB32);
  if (out.isNull())
    return out;
  const int64_t sw = src.width();
  const int64_t sh = src.height();
  std::vector<int> column(zw);
  for (int x = 0; x < zw; ++x)
    column[x] = static_cast<int>(((2 * int64_t(x) + 1) * sw) / (2 * int64_t(zw)));

  const std::size_t rowBytes = static_cast<std::size_t>(zw) * sizeof(uint32_t);
  const uint32_t* previous = nullptr;
  int previousRow = -1;
  for (int y = 0; y < zh; ++y) {
    const int sy = static_cast<int>(((2 * int64_t(y) + 1) * sh) / (2 * int64_t(zh)));
    uint32_t* d = reinterpret_cast<uint32_t*>(out.scanLine(y));
    if (sy == previousRow) {
      std::memcpy(d, previous, rowBytes); // enlarged rows repeat
    } else {
      const uint32_t* s = reinterpret_cast<const uint32_t*>(src.constScanLine(sy));
      for (int x = 0; x < zw; ++x)
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

void drawGrid(QPainter& p, int type, int w, int h)
{
  p.setPen(viewPen(QColor(0, 0, 0, 255), 1.0, Qt::DashLine));
  for (int k = 1; k <= 3; ++k)
    p.drawLine(QLine(0, k * (h / 4), w, k * (h / 4)));
  const int columns = type == XP ? 4 : type == VX ? 3 : 0;
  for (int k = 1; k < columns; ++k)
    p.drawLine(QLine(k * (w / columns), 0, k * (w / columns), h));
}

// A white band between two thin black lines around each selected cell.
void drawSelectionFrames(QPainter& p, int type, int w, int h, const std::vector<int>& cells)
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
    p.setPen(black);
    p.drawRects(&outer, 1);
    p.drawRects(&inner, 1);
    p.setPen(white);
    p.drawRects(&middle, 1);
  }
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
  const double zoom = doc.zoom();
  const QSize size = doc.size();
  if (zoom != 1.0 && zoom > 0) {
    const int zw = zoomedLength(size.width(), zoom);
    const int zh = zoomedLength(size.height(), zoom);
    if (zw >= 1 && zh >= 1) {
      QImage scaled = scaleNearest(picture, zw, zh);
      if (!scaled.isNull())
        picture = scaled;
    }
  }

  const int type = doc.type();
  const bool framed = (type == XP || type == VX) && doc.selectedCellCount() > 0;
  if (doc.isGridShown() || framed) {
    // The pens are opaque and unsmoothed, so they write their exact words
    // whatever the format says; the premultiplied view keeps the painter on its
    // fast path and never converts the pixels it does not touch.
    QImage view(picture.bits(), picture.width(), picture.height(), picture.bytesPerLine(),
                QImage::Format_ARGB32_Premultiplied);
    QPainter p(&view);
    if (doc.isGridShown())
      drawGrid(p, type, picture.width(), picture.height());
    if (framed)
      drawSelectionFrames(p, type, picture.width(), picture.height(), doc.selectedCells());
  }
  doc.lastRender() = picture;
  return picture;
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
