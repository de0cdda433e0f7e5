#include "canvas/QLayerListSelectable.h"

#include "model/CharacterData.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

int QLayerListSelectable::instanceCount = 0;

QLayerListSelectable::QLayerListSelectable(CharacterData* document, std::vector<int>* groups, QWidget* parent)
    : ElementListView(document, 5, parent), groups(groups), groupNumber(instanceCount++)
{
  setFocusPolicy(Qt::StrongFocus);
  updateLayout();
}

QLayerListSelectable::~QLayerListSelectable() = default;

void QLayerListSelectable::setCharacterData(CharacterData* document)
{
  character = document;
  updateLayout();
}

std::vector<int> QLayerListSelectable::entries() const
{
  std::vector<int> found;
  if (!groups || !character)
    return found;
  // A vector longer than the element list must not show elements that are
  // not there.
  const int count = std::min(static_cast<int>(groups->size()), character->elementCount());
  for (int e = 0; e < count; ++e)
    if ((*groups)[e] == groupNumber)
      found.push_back(e);
  return found;
}

int QLayerListSelectable::entryCount() const
{
  return static_cast<int>(entries().size());
}

int QLayerListSelectable::entryElement(int position) const
{
  return entries()[position];
}

bool QLayerListSelectable::isEntrySelected(int element) const
{
  return element == selectedIndex;
}

void QLayerListSelectable::select(int element)
{
  selectedIndex = element;
  emit selected(element);
}

// ---- painting

void QLayerListSelectable::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  preparePainter(painter);
  if (entryCount() == 0) {
    paintEmpty(painter);
    // The owner's button for this list must learn there is nothing to pick.
    if (selectedIndex != -1)
      select(-1);
    return;
  }
  paintRows(painter, 36);
  paintScrollBar(painter);
}

// ---- mouse and keys

void QLayerListSelectable::mousePressEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton)
    return;
  const QPoint point = event->position().toPoint();
  const int row = listGeometry().rowAt(point);
  if (row >= 0) {
    select(entryElement(scrollOffset + row));
    update();
    return;
  }
  pressScrollBar(point);
}

void QLayerListSelectable::mouseReleaseEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton)
    return;
  thumbDrag = false;
  update();
}

void QLayerListSelectable::mouseMoveEvent(QMouseEvent* event)
{
  const QPoint point = event->position().toPoint();
  trackHover(point);
  dragThumb(point);
}

void QLayerListSelectable::keyPressEvent(QKeyEvent* event)
{
  event->accept();
  const bool up = event->key() == Qt::Key_Up;
  if (selectedIndex == -1 || (!up && event->key() != Qt::Key_Down))
    return;
  const std::vector<int> list = entries();
  // Entries are in increasing order: Up is the first one past the pick,
  // Down the last one before it.
  const auto next = std::upper_bound(list.begin(), list.end(), selectedIndex);
  const auto previous = std::lower_bound(list.begin(), list.end(), selectedIndex);
  std::vector<int>::const_iterator target;
  if (up) {
    if (next == list.end())
      return;
    target = next;
  } else {
    if (previous == list.begin())
      return;
    target = previous - 1;
  }
  select(*target);
  const int p = static_cast<int>(target - list.cbegin());
  if (p < scrollOffset)
    setFirstRow(p);
  else if (p >= scrollOffset + nbreVertical)
    setFirstRow(p - nbreVertical + 1);
  update();
}
