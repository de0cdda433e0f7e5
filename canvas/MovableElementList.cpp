#include "canvas/MovableElementList.h"

#include "model/CharacterData.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

MovableElementList::MovableElementList(CharacterData* document, int rows, int invisibleLeft, QWidget* parent)
    : ElementListView(document, rows, parent),
      invisibleLeft(invisibleLeft),
      movingPixmap(QStringLiteral(":/icon/movingVertical.png"))
{
}

MovableElementList::~MovableElementList() = default;

void MovableElementList::startMoveMode()
{
  pressArmed = true;
  moveMode = true;
  // A gap left from an earlier move must not be taken for this one.
  dropRow = -1;
}

void MovableElementList::aMove()
{
  startMoveMode();
  const int gap = listGeometry().dropGapAt(menuPos);
  if (gap >= 0) {
    dropRow = gap;
    update();
  }
}

void MovableElementList::paintEvent(QPaintEvent*)
{
  if (character && character->isListUpdatePending()) {
    updateLayout();
    character->setListUpdatePending(false);
  }
  QPainter painter(this);
  preparePainter(painter);
  if (entryCount() == 0) {
    paintEmpty(painter);
    return;
  }
  paintRows(painter, invisibleLeft);
  if (moveMode && dropRow >= 0)
    painter.drawPixmap(12, listHeight - (dropRow - scrollOffset) * ElementListGeometry::kRowHeight - 10,
                       movingPixmap);
  paintScrollBar(painter);
}

void MovableElementList::mouseMoveEvent(QMouseEvent* event)
{
  const QPoint point = event->position().toPoint();
  if (pressArmed && !moveMode && (point - pressPos).manhattanLength() >= QApplication::startDragDistance()
      && entryCount() > 1 && dragStartsMove())
    startMoveMode();
  trackHover(point);
  if (moveMode) {
    const int gap = listGeometry().dropGapAt(point);
    if (gap >= 0) {
      dropRow = gap;
      update();
      return;
    }
  }
  dragThumb(point);
}

void MovableElementList::commitMove()
{
  if (!character || character->selectedElementCount() != 1)
    return;
  const int s0 = character->selectedElement(0);
  if (dropRow < 0 || dropRow > character->elementCount() || dropRow == s0 || dropRow == s0 + 1)
    return;
  character->moveElement(dropRow);
  elementMoved();
  updateLayout();
}

void MovableElementList::mouseReleaseEvent(QMouseEvent* event)
{
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    thumbDrag = false;
    pressArmed = false;
    if (moveMode)
      commitMove();
    moveMode = false;
    update();
  } else if (event->button() == Qt::RightButton) {
    menuPos = point;
    const int row = listGeometry().rowAt(point);
    if (row < 0)
      return;
    const int i = scrollOffset + row;
    if (!character->isElementSelected(i))
      character->setSelectedElements({i});
    update();
    popUpMenu(i, event->globalPosition().toPoint());
  }
}
