#include "widgets/QListViewKey.h"

#include <QKeyEvent>

QListViewKey::QListViewKey(QWidget* parent) : QListView(parent) {}

void QListViewKey::keyPressEvent(QKeyEvent* event)
{
  QListView::keyPressEvent(event);
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
    emit selectedByKey(selectionModel() ? selectionModel()->currentIndex() : QModelIndex());
}
