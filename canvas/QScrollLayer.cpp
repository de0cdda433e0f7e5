#include "canvas/QScrollLayer.h"

#include "canvas/QLayer.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

QScrollLayer::QScrollLayer(QLayer* canvas)
  : QScrollArea(nullptr)
{
  setWidget(canvas);
  setAlignment(Qt::AlignCenter);
}

QScrollLayer::~QScrollLayer() = default;

// Asks the canvas itself rather than looking at its visibility afterwards: a
// canvas in a minimised sub-window or a hidden tab is not visible either, and
// its refused close must still keep the sub-window.
void QScrollLayer::closeEvent(QCloseEvent* event)
{
  QWidget* canvas = widget();
  event->setAccepted(!canvas || canvas->close());
}

QLayer* canvasOf(QMdiSubWindow* window)
{
  QScrollArea* scroll = window ? qobject_cast<QScrollArea*>(window->widget()) : nullptr;
  return scroll ? qobject_cast<QLayer*>(scroll->widget()) : nullptr;
}
