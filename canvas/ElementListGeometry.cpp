#include "canvas/ElementListGeometry.h"

#include <algorithm>
#include <cmath>

int ElementListGeometry::rowsForScreen(int screenHeight)
{
  const double rows = std::floor(((screenHeight - 100) * 0.8 - 10) / kRowHeight);
  // A screen too short for one row still gets one, so the list stays usable.
  return std::max(1, static_cast<int>(rows));
}

bool ElementListGeometry::strictlyInside(const QRect& rect, const QPoint& point)
{
  return rect.contains(point, true);
}

int ElementListGeometry::shownRows() const
{
  return std::clamp(count - first, 0, rows);
}

QRect ElementListGeometry::band(int row) const
{
  return QRect(0, rowTop(row), kStripWidth, 48);
}

QRect ElementListGeometry::hitBox(int row) const
{
  return QRect(0, rowTop(row) - 5, kStripWidth, kRowHeight);
}

QRect ElementListGeometry::upperHalf(int row) const
{
  return QRect(0, rowTop(row) - 5, kStripWidth, 29);
}

QRect ElementListGeometry::lowerHalf(int row) const
{
  return QRect(0, rowTop(row) + 24, kStripWidth, 29);
}

int ElementListGeometry::rowAt(const QPoint& point) const
{
  const int shown = shownRows();
  for (int r = 0; r < shown; ++r)
    if (strictlyInside(hitBox(r), point))
      return r;
  return -1;
}

int ElementListGeometry::dropGapAt(const QPoint& point) const
{
  const int shown = shownRows();
  for (int r = 0; r < shown; ++r) {
    if (strictlyInside(upperHalf(r), point))
      return first + r + 1;
    if (strictlyInside(lowerHalf(r), point))
      return first + r;
  }
  return -1;
}

QRect ElementListGeometry::scrollBar() const
{
  return QRect(kStripWidth, 0, kWidth - kStripWidth, height);
}

int ElementListGeometry::thumbLength() const
{
  if (!hasBar())
    return 0;
  return std::max(kMinThumb, ((height - 60) * rows) / count);
}

int ElementListGeometry::thumbTop() const
{
  if (!hasBar())
    return 0;
  const int length = thumbLength();
  return height - 32 - length - ((height - length - 64) * first) / (count - rows);
}

QRect ElementListGeometry::thumb() const
{
  if (!hasBar())
    return QRect();
  return QRect(157, thumbTop(), 15, thumbLength());
}

int ElementListGeometry::thumbStep() const
{
  if (!hasBar())
    return 0;
  // Beyond a few hundred rows the division gives 0, and a zero step would
  // scroll on every pointer move, both ways at once.
  return std::max(1, (height - thumbLength() - 64) / (count - rows));
}

int ElementListGeometry::clampFirst(int wanted) const
{
  if (wanted < 0 || !hasBar())
    return 0;
  return std::min(wanted, count - rows);
}
