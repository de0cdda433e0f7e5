#include "canvas/QLayerListELSK.h"

#include "model/CharacterData.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The source that marks the placeholder of an element file.
const char kPlaceholderSource[] = "?SK?";

int sourceNumber(const std::string& source)
{
  bool ok = false;
  const int n = QString::fromStdString(source).toInt(&ok, 10);
  return ok ? n : 0;
}

} // namespace

QLayerListELSK::QLayerListELSK(CharacterData* document, QWidget* parent)
    : ElementListView(document, 5, parent),
      movingPixmap(QStringLiteral(":/icon/movingVertical.png"))
{
  updateLayout();
}

QLayerListELSK::~QLayerListELSK() = default;

QMenu* QLayerListELSK::actionsMenu() const
{
  return menu;
}

bool QLayerListELSK::isPlaceholder(int element) const
{
  return character->source(element) == kPlaceholderSource;
}

void QLayerListELSK::updateLayout()
{
  ElementListView::updateLayout();
  if (!character)
    return;
  const QPixmap icon(QStringLiteral(":/icon/SK.png"));
  for (int e = 0; e < static_cast<int>(thumbnails.size()); ++e)
    if (isPlaceholder(e))
      thumbnails[e] = icon;
}

// ---- painting

void QLayerListELSK::paintEvent(QPaintEvent*)
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
  paintRows(painter, 36);
  if (moveMode && dropRow >= 0)
    painter.drawPixmap(12, listHeight - (dropRow - scrollOffset) * ElementListGeometry::kRowHeight - 10,
                       movingPixmap);
  paintScrollBar(painter);
}

// ---- mouse

void QLayerListELSK::mousePressEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton)
    return;
  const QPoint point = event->position().toPoint();
  pressPos = point;
  if (moveMode)
    return;
  const int row = listGeometry().rowAt(point);
  if (row >= 0) {
    character->setSelectedElements({scrollOffset + row});
    pressArmed = true;
    update();
    return;
  }
  pressScrollBar(point);
}

void QLayerListELSK::startMoveMode()
{
  pressArmed = true;
  moveMode = true;
  // A gap left from an earlier move must not be taken for this one.
  dropRow = -1;
}

void QLayerListELSK::mouseMoveEvent(QMouseEvent* event)
{
  const QPoint point = event->position().toPoint();
  if (pressArmed && !moveMode && (point - pressPos).manhattanLength() >= QApplication::startDragDistance()
      && entryCount() > 1)
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

void QLayerListELSK::commitMove()
{
  if (!character || character->selectedElementCount() != 1)
    return;
  const int s0 = character->selectedElement(0);
  if (dropRow < 0 || dropRow > character->elementCount() || dropRow == s0 || dropRow == s0 + 1)
    return;
  character->moveElement(dropRow);
  updateLayout();
}

void QLayerListELSK::mouseReleaseEvent(QMouseEvent* event)
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

void QLayerListELSK::popUpMenu(int element, const QPoint& globalPos)
{
  menu = new QMenu(QStringLiteral("Actions"), this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (character->elementCount() > 1 && character->selectedElementCount() == 1)
    menu->addAction(QIcon(QStringLiteral(":/icon/move.png")), QStringLiteral("Déplacer"), this,
                    &QLayerListELSK::aMove);
  QAction* remove = menu->addAction(QIcon(QStringLiteral(":/icon/remove.png")), QStringLiteral("Supprimer"), this,
                                    &QLayerListELSK::aSupprimer);
  remove->setEnabled(!isPlaceholder(element));
  menu->popup(globalPos);
}

// ---- actions

void QLayerListELSK::aMove()
{
  startMoveMode();
  const int gap = listGeometry().dropGapAt(menuPos);
  if (gap >= 0) {
    dropRow = gap;
    update();
  }
}

void QLayerListELSK::aSupprimer()
{
  if (!character)
    return;
  const std::vector<int>& selected = character->selectedElements();
  if (selected.empty())
    return;
  const int count = character->elementCount();
  for (int e : selected)
    // The builder writes the file around its placeholder: it must survive.
    if (e < 0 || e >= count || isPlaceholder(e))
      return;
  const int n = sourceNumber(character->source(selected.front()));
  character->removeElements();
  setScrollOffset(scrollOffset);
  updateLayout();
  emit deleteElement(n);
  update();
}
