#include "canvas/ElementListView.h"

#include "canvas/ElementThumbnails.h"
#include "model/CharacterData.h"

#include <QPainter>
#include <QWheelEvent>

namespace {

const QColor kSelectedBand(50, 101, 255);
const QColor kBarHover(200, 222, 255);
const QColor kThumbFill(166, 166, 246);
const QColor kThumbActive(127, 127, 246);
const QColor kThumbIdle(200, 200, 246);

} // namespace

ElementListView::ElementListView(CharacterData* document, int rows, QWidget* parent)
    : QWidget(parent),
      nbreVertical(rows),
      listHeight(rows * ElementListGeometry::kRowHeight + 10),
      character(document),
      upPixmap(QStringLiteral(":/icon/up2.png")),
      downPixmap(QStringLiteral(":/icon/down2.png"))
{
  setMouseTracking(true);
  setFixedSize(ElementListGeometry::kWidth, listHeight);
}

ElementListView::~ElementListView() = default;

ElementListGeometry ElementListView::listGeometry() const
{
  return ElementListGeometry{listHeight, nbreVertical, entryCount(), scrollOffset};
}

QRect ElementListView::scrollBarRect() const
{
  return listGeometry().scrollBar();
}

QRect ElementListView::thumbRect() const
{
  return listGeometry().thumb();
}

void ElementListView::setScrollOffset(int first)
{
  scrollOffset = listGeometry().clampFirst(first);
}

void ElementListView::updateLayout()
{
  if (character)
    thumbnails = makeThumbnails(*character);
  else
    thumbnails.clear();
  // Another document may hold fewer elements: an offset past its end would
  // show no row at all.
  setScrollOffset(scrollOffset);
}

int ElementListView::entryCount() const
{
  return character ? character->elementCount() : 0;
}

int ElementListView::entryElement(int position) const
{
  return position;
}

bool ElementListView::isEntrySelected(int element) const
{
  return character->isElementSelected(element);
}

bool ElementListView::pressScrollBar(const QPoint& point)
{
  const ElementListGeometry g = listGeometry();
  if (!g.hasBar() || !ElementListGeometry::strictlyInside(g.scrollBar(), point))
    return false;
  const int top = g.thumbTop();
  const int length = g.thumbLength();
  if (point.y() < top || point.y() > top + length) {
    setScrollOffset(point.y() < top ? scrollOffset + 1 : scrollOffset - 1);
    thumbHover = thumbHoverDrawn = ElementListGeometry::strictlyInside(thumbRect(), point);
    update();
  } else if (ElementListGeometry::strictlyInside(g.thumb(), point)) {
    thumbDrag = true;
    thumbDragStart = point;
  }
  return true;
}

void ElementListView::trackHover(const QPoint& point)
{
  barHover = ElementListGeometry::strictlyInside(scrollBarRect(), point);
  if (barHover != barHoverDrawn) {
    update();
    barHoverDrawn = barHover;
  }
  thumbHover = ElementListGeometry::strictlyInside(thumbRect(), point);
  if (thumbHover != thumbHoverDrawn) {
    update();
    thumbHoverDrawn = thumbHover;
  }
}

void ElementListView::dragThumb(const QPoint& point)
{
  const ElementListGeometry g = listGeometry();
  if (!thumbDrag || !g.hasBar())
    return;
  const int step = g.thumbStep();
  const int d = thumbDragStart.y() - point.y();
  // Dragging the thumb down shows lower entries.
  if (d <= -step && scrollOffset > 0) {
    setScrollOffset(scrollOffset - 1);
    thumbDragStart.ry() += step;
    update();
  }
  if (d >= step && scrollOffset < g.count - g.rows) {
    setScrollOffset(scrollOffset + 1);
    thumbDragStart.ry() -= step;
    update();
  }
}

void ElementListView::wheelEvent(QWheelEvent* event)
{
  // Rolling away from the user brings higher entries into view.
  setScrollOffset(event->angleDelta().y() > 0 ? scrollOffset + 1 : scrollOffset - 1);
  thumbHover = thumbHoverDrawn = ElementListGeometry::strictlyInside(thumbRect(), event->position().toPoint());
  update();
}

void ElementListView::leaveEvent(QEvent*)
{
  barHover = false;
  if (barHoverDrawn) {
    update();
    barHoverDrawn = false;
  }
}

void ElementListView::preparePainter(QPainter& painter)
{
  static const QFont font = [] {
    QFont f(QStringLiteral("Sans Serif"), 8);
    f.setStyleHint(QFont::SansSerif);
    return f;
  }();
  painter.setPen(Qt::black);
  painter.setFont(font);
}

void ElementListView::paintEmpty(QPainter& painter)
{
  painter.drawText(QPoint(5, 12), QStringLiteral("Aucun élément présent."));
}

void ElementListView::paintRows(QPainter& painter, int invisibleLeft) const
{
  const ElementListGeometry g = listGeometry();
  const int shown = g.shownRows();
  for (int r = 0; r < shown; ++r) {
    const int e = entryElement(g.first + r);
    const QRect band = g.band(r);
    if (isEntrySelected(e))
      painter.fillRect(band, kSelectedBand);
    if (!character->isVisible(e))
      painter.drawText(QRect(invisibleLeft, band.top(), 114, band.height()),
                       Qt::AlignRight | Qt::AlignBottom, QStringLiteral("(invisible)"));
    if (static_cast<std::size_t>(e) < thumbnails.size()) {
      const QPixmap& thumb = thumbnails[e];
      const int x = static_cast<int>(18.0 - thumb.width() * 0.5);
      const int y = static_cast<int>(band.top() + 24.0 - thumb.height() * 0.5);
      painter.drawPixmap(x, y, thumb);
    }
    painter.drawText(QRect(36, band.top(), 114, band.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(character->name(e)));
  }
}

void ElementListView::paintScrollBar(QPainter& painter) const
{
  const ElementListGeometry g = listGeometry();
  if (!g.hasBar())
    return;
  if (barHover)
    painter.fillRect(g.scrollBar(), kBarHover);
  painter.drawPixmap(149, 0, upPixmap);
  painter.drawPixmap(149, listHeight - 31, downPixmap);
  const QRect thumb = g.thumb();
  painter.fillRect(thumb, kThumbFill);
  painter.setPen(thumbHover || thumbDrag ? kThumbActive : kThumbIdle);
  painter.setBrush(Qt::NoBrush);
  // A one-pixel outline of a rectangle covers one more column and row.
  painter.drawRect(thumb.adjusted(0, 0, -1, -1));
}
