#include "colour/QColorLittleBox.h"

#include "colour/QColorPalette.h"

#include <QMouseEvent>
#include <QPainter>

QColorLittleBox::QColorLittleBox(QColor* color, bool alphaEnabled, QWidget* parent)
    : QWidget(parent), color(color), alphaEnabled(alphaEnabled)
{
  setFixedSize(50, 20);
  transparencyCheckerboard(background, QSize(50, 20), 5);
  const int w = background.width();
  const int h = background.height();
  QPainter painter(&background);
  painter.drawLine(0, 0, 0, h - 1);
  painter.drawLine(0, 0, w - 1, 0);
  painter.drawLine(0, h - 1, w - 1, h - 1);
  painter.drawLine(w - 1, 0, w - 1, h - 1);
}

void QColorLittleBox::mousePressEvent(QMouseEvent* event)
{
  emit clicked(event);
}

void QColorLittleBox::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.drawImage(0, 0, background);
  const QColor shown = alphaEnabled ? *color : QColor(color->rgb());
  painter.fillRect(1, 1, background.width() - 2, background.height() - 2, shown);
}
