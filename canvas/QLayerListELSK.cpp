#include "canvas/QLayerListELSK.h"

#include "model/CharacterData.h"
#include "model/ElementFile.h"

#include <QMenu>
#include <QMouseEvent>

namespace {

int sourceNumber(const std::string& source)
{
  bool ok = false;
  const int n = QString::fromStdString(source).toInt(&ok, 10);
  return ok ? n : 0;
}

} // namespace

QLayerListELSK::QLayerListELSK(CharacterData* document, QWidget* parent)
    : MovableElementList(document, 5, 36, parent)
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
