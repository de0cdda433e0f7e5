#include "widgets/EscapeCancels.h"

#include <QAbstractButton>
#include <QKeyEvent>

EscapeCancels::EscapeCancels(QWidget* window, QAbstractButton* cancel)
  : QObject(window), m_window(window), m_cancel(cancel)
{
  window->installEventFilter(this);
}

void EscapeCancels::install(QWidget* window, QAbstractButton* cancel)
{
  new EscapeCancels(window, cancel);
}

bool EscapeCancels::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == m_window && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
    m_cancel->click();
    return true;
  }
  return QObject::eventFilter(watched, event);
}
