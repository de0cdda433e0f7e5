#include "model/CharacterData.h"

#include "core/GradientBrushes.h"
#include "core/BlendImage.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// A size below 1 would give an empty footprint that still moves the cell.
int penSize(const PenSettings& pen)
{
  return std::max(pen.size, 1);
}

QPen linePen(const QColor& color, double width)
{
  return QPen(QBrush(color), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

// The radial fill is laid out on a square of the shape's larger side and then
// squeezed to the target, so its circles take the shape's proportions.
void drawRadialPicture(QPainter& painter, const GradientSettings& gradient, int w, int h, const QSize& target,
                       const QPoint& at, bool rectangle)
{
  if (target.width() < 1 || target.height() < 1)
    return;
  const int side = std::max(w, h);
  QImage square = blankImage(QSize(side, side));
  if (square.isNull())
    return;
  {
    QPainter p(&square);
    const QBrush brush(radialGradientBrush(gradient, QSize(side, side)));
    if (rectangle) {
      p.fillRect(square.rect(), brush);
    } else {
      QPainterPath path;
      path.addEllipse(QRectF(-1.0, -1.0, side + 1, side + 1));
      p.fillPath(path, brush);
    }
  }
  painter.drawImage(at, square.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

} // namespace

void CharacterData::beginPath(const DrawScope& scope)
{
  m_pathActive = true;
  m_drawScope = scope;
  m_penPath = QPainterPath();
}

// An even size puts the extra row and column right of and below p.
void CharacterData::addPenPoint(const QPoint& p)
{
  if (!m_pathActive)
    return;
  const int s = penSize(m_pen);
  const int h = s / 2;
  const QRectF box(p.x() - h, p.y() - h, s, s);
  if (m_pen.shape == 0 || s == 1)
    m_penPath.addRect(box);
  else if (m_pen.shape == 1)
    m_penPath.addEllipse(box);
}

void CharacterData::addPenRect(const QRect& r)
{
  if (!m_pathActive)
    return;
  m_penPath.addRect(QRectF(r.left(), r.top(), r.right() - r.left() + 1, r.bottom() - r.top() + 1));
}

void CharacterData::endPath()
{
  if (!m_pathActive)
    return;
  m_pathActive = false;
  if (m_penPath.elementCount() == 0)
    return;

  const QRectF bounds = m_penPath.controlPointRect();
  const double ox = bounds.left(), oy = bounds.top();
  m_penPath.translate(-ox, -oy);
  m_penPath.setFillRule(Qt::WindingFill);

  if (!(bounds.width() < INT_MAX && bounds.height() < INT_MAX))
    return;
  QImage drawing = blankImage(QSize(static_cast<int>(bounds.width()), static_cast<int>(bounds.height())));
  if (drawing.isNull())
    return;
  {
    // Filled as one path so that overlapping footprints are painted once and
    // a translucent colour keeps one alpha over the whole stroke.
    QPainter painter(&drawing);
    painter.fillPath(m_penPath, QBrush(m_pen.color));
  }
  mergeDrawing(drawing, ox, oy);
}

void CharacterData::drawLine(const QPoint& from, const QPoint& to)
{
  if (!m_pathActive)
    return;
  m_pathActive = false;

  const int s = penSize(m_pen);
  const int h = s / 2;
  const int minX = std::min(from.x(), to.x());
  const int minY = std::min(from.y(), to.y());
  // The image's size is the same whichever end comes first.
  const qint64 width = std::abs(qint64(from.x()) - to.x()) + 1 + s;
  const qint64 height = std::abs(qint64(from.y()) - to.y()) + 1 + s;
  if (width > INT_MAX || height > INT_MAX)
    return;
  QImage drawing = blankImage(QSize(int(width), int(height)));
  if (drawing.isNull())
    return;
  {
    QPainter painter(&drawing);
    painter.setPen(linePen(m_pen.color, s));
    painter.drawLine(QPoint(from.x() - minX + h, from.y() - minY + h), QPoint(to.x() - minX + h, to.y() - minY + h));
  }
  mergeDrawing(drawing, double(minX) - h, double(minY) - h);
}

void CharacterData::drawShape(const QRect& rect, int tool)
{
  if (!m_pathActive)
    return;
  m_pathActive = false;

  const QColor& c0 = m_style.shapeColors[0];
  const QColor& c1 = m_style.shapeColors[1];
  const int fillMode = (m_style.fillMode == 0 || m_style.fillMode == 1) ? m_style.fillMode : 2;
  // Absent colours (a holder never given any) would paint as black: paint
  // nothing instead.
  const bool plain = m_style.paintMode == 0;
  if ((!c0.isValid() && (fillMode != 1 || plain)) || (!c1.isValid() && fillMode == 2 && plain))
    return;

  const int w = rect.width();
  const int h = rect.height();
  if (w < 1 || h < 1)
    return;
  QImage shape = blankImage(QSize(w, h));
  if (shape.isNull())
    return;

  const QRect outline(0, 0, std::max(w - 1, 1), std::max(h - 1, 1));
  const QPen outlinePen = linePen(c0, 1.0);

  bool radial = false;
  QBrush fill;
  if (fillMode != 0) {
    if (m_style.paintMode == 0) {
      fill = QBrush(fillMode == 1 ? c0 : c1);
    } else if (m_style.paintMode == 1) {
      switch (m_style.gradient.type) {
      case GradientSettings::Linear: fill = QBrush(linearGradientBrush(m_style.gradient, QSize(w, h))); break;
      case GradientSettings::Radial: radial = true; break;
      case GradientSettings::Conical: fill = QBrush(conicalGradientBrush(m_style.gradient, QSize(w, h))); break;
      default: break;
      }
    }
  }

  const bool rectangle = tool == 5;
  {
    QPainter painter(&shape);
    auto drawOutline = [&] {
      painter.setPen(outlinePen);
      painter.setBrush(Qt::NoBrush);
      if (rectangle)
        painter.drawRect(outline);
      else
        painter.drawEllipse(outline);
    };
    if (fillMode == 0) {
      drawOutline();
    } else if (fillMode == 1) {
      if (radial) {
        drawRadialPicture(painter, m_style.gradient, w, h, QSize(w, h), QPoint(0, 0), rectangle);
      } else if (rectangle) {
        painter.fillRect(shape.rect(), fill);
      } else {
        QPainterPath path;
        path.addEllipse(QRectF(-1.0, -1.0, w + 1, h + 1));
        painter.fillPath(path, fill);
      }
    } else {
      if (radial) {
        drawRadialPicture(painter, m_style.gradient, w, h, QSize(w - 2, h - 2), QPoint(1, 1), rectangle);
      } else if (rectangle) {
        if (w > 2 && h > 2)
          painter.fillRect(QRect(1, 1, w - 2, h - 2), fill);
      } else {
        QPainterPath path;
        path.addEllipse(QRectF(0.0, 0.0, w - 1, h - 1));
        painter.fillPath(path, fill);
      }
      drawOutline();
    }
  }
  mergeDrawing(shape, toPointF(rect.topLeft()).x(), toPointF(rect.topLeft()).y());
}

// The drawing is never clipped to its cell: a cell image too small for it
// grows to the union of both rectangles, keeping its pixels' sheet positions.
void CharacterData::mergeDrawing(const QImage& drawing, double ox, double oy)
{
  if (drawing.isNull() || drawing.width() < 1 || drawing.height() < 1)
    return;
  const int w = drawing.width(), h = drawing.height();

  // Targets come from the canvas; any index outside the document is skipped.
  auto mergeInto = [&](int e, int c) {
    if (c < 0 || c >= static_cast<int>(m_images[e].size()) || c >= static_cast<int>(m_offsets[e].size()))
      return;
    QImage& image = m_images[e][c];
    QPoint& offset = m_offsets[e][c];
    if (!image.isNull() && image.format() != QImage::Format_ARGB32)
      image = image.convertToFormat(QImage::Format_ARGB32);
    // In 64 bits: an offset near the int limits overflows any sum with a size.
    const long long x0 = offset.x(), y0 = offset.y();
    const long long W = image.width(), H = image.height();

    if (ox >= x0 && oy >= y0 && ox + w <= double(x0 + W) && oy + h <= double(y0 + H)) {
      blendImage(image, static_cast<int>(ox - x0), static_cast<int>(oy - y0), drawing, 0, 0, w, h);
      return;
    }
    // The origin comes from int points; anything else cannot be cast safely.
    if (!(std::abs(ox) <= INT_MAX && std::abs(oy) <= INT_MAX))
      return;
    const long long dx = static_cast<long long>(ox), dy = static_cast<long long>(oy);
    const long long nx = std::min(x0, dx), ny = std::min(y0, dy);
    const long long right = std::max(x0 + W, static_cast<long long>(ox + w));
    const long long bottom = std::max(y0 + H, static_cast<long long>(oy + h));
    const long long px = static_cast<long long>(ox - nx), py = static_cast<long long>(oy - ny);
    // A cell grown past the side the readers accept could never be saved;
    // such a stroke leaves the cell as it was.
    if (right - nx > kMaxSheetSide || bottom - ny > kMaxSheetSide)
      return;
    QImage grown = blankImage(QSize(static_cast<int>(right - nx), static_cast<int>(bottom - ny)));
    // Both blocks must lie inside the grown image before either is blended;
    // only a fractional origin could leave the drawing outside the union.
    auto fits = [&](long long x, long long y, long long bw, long long bh) {
      return x >= 0 && y >= 0 && x + bw <= grown.width() && y + bh <= grown.height();
    };
    if (grown.isNull() || !fits(x0 - nx, y0 - ny, W, H) || !fits(px, py, w, h))
      return;
    blendImage(grown, static_cast<int>(x0 - nx), static_cast<int>(y0 - ny), image, 0, 0, static_cast<int>(W),
               static_cast<int>(H));
    blendImage(grown, static_cast<int>(px), static_cast<int>(py), drawing, 0, 0, w, h);
    image = grown;
    offset = QPoint(static_cast<int>(nx), static_cast<int>(ny));
  };

  const int elementTotal = elementCount();
  for (int e : m_drawScope.elements) {
    if (e < 0 || e >= elementTotal || e >= static_cast<int>(m_offsets.size()))
      continue;
    switch (m_drawScope.scope) {
    case 0:
      mergeInto(e, m_drawScope.cell);
      break;
    case 1:
      for (int c : m_selectedCells)
        mergeInto(e, c);
      break;
    case 2:
      for (int c = 0; c < static_cast<int>(m_images[e].size()); ++c)
        mergeInto(e, c);
      break;
    default:
      break;
    }
  }
}
