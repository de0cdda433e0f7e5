#include "widgets/QListViewKey.h"

#include <QKeyEvent>

QListViewKey::QListViewKey(QWidget* parent) : QListView(parent) {}

void QListViewKey::keyPressEvent(QKeyEvent* event)
{
  QListView::keyPressEvent(event);
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
    emit selectedByKey(selectionModel() ? selectionModel()->currentIndex() : QModelIndex());
  // The list has emitted activated for the entry: passed on, the key would
  // press a dialog's default button on the same entry a second time.
  const bool activation = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (activation && currentIndex().isValid())
    event->accept();
}
