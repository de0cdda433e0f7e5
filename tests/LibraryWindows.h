#pragma once
// Driving the library windows as a user does: their buttons by text, their
// folder browser by entry name.
#include "library/LibraryDirModel.h"
#include "widgets/QListViewKey.h"

#include <QPushButton>
#include <QTest>

inline QPushButton* button(QWidget* w, const QString& text)
{
  for (QPushButton* b : w->findChildren<QPushButton*>())
    if (b->text() == text)
      return b;
  return nullptr;
}
inline void press(QWidget* w, const QString& text) { QTest::mouseClick(button(w, text), Qt::LeftButton); }

// Activates the browser's entry of that name, as a double click does.
inline void activate(QWidget* w, const QString& name)
{
  QListViewKey* view = w->findChild<QListViewKey*>();
  auto* model = static_cast<LibraryDirModel*>(view->model());
  for (int row = 0; row < model->rowCount(); ++row)
    if (model->fileName(model->index(row)) == name)
      emit view->activated(model->index(row));
}
