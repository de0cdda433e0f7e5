#include "widgets/QLabelClickable.h"

#include <QMouseEvent>

QLabelClickable::QLabelClickable(QWidget* parent, Qt::WindowFlags f) : QLabel(parent, f) {}

void QLabelClickable::mousePressEvent(QMouseEvent* event)
{
  emit clicked(event);
}
