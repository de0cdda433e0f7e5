#include "widgets/QOptionWidget.h"

#include <QPainter>
#include <QPainterPath>
#include <QPointer>

namespace {

QPen framePen(const QColor& colour)
{
  return QPen(QBrush(colour), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

// Gradients are kept in unit coordinates (top to bottom) and stretched over
// the frame at each rendering.
QLinearGradient unitGradient(const QGradientStops& stops)
{
  QLinearGradient g(QPointF(0, 0), QPointF(0, 1));
  g.setStops(stops);
  return g;
}

QLinearGradient mappedTo(const QLinearGradient& unit, const QRectF& r)
{
  auto map = [&r](const QPointF& p) { return QPointF(r.x() + p.x() * r.width(), r.y() + p.y() * r.height()); };
  QLinearGradient g(map(unit.start()), map(unit.finalStop()));
  g.setStops(unit.stops());
  return g;
}

} // namespace

QOptionWidget::QOptionWidget(const QPixmap& icon, const QString& caption, const QString& text, QWidget* parent)
    : QWidget(parent), text(text), caption(caption), icon(icon), normalPen(framePen(QColor(192, 233, 243))),
      hoveredPen(framePen(QColor(189, 189, 189))), pressedPen(framePen(QColor(0, 0, 255))),
      normalGradient(unitGradient({{0.0, QColor(0, 0, 0, 0)}})),
      hoveredGradient(unitGradient({{0.0, QColor(255, 255, 255)}, {1.0, QColor(0, 0, 0, 0)}})),
      pressedGradient(unitGradient({{0.0, QColor(0, 0, 255, 90)}, {1.0, QColor(0, 0, 0, 0)}})),
      leftMargin(icon.width())
{
  updatePixmaps();
}

QOptionWidget::QOptionWidget(const QString& caption, const QString& text, QWidget* parent)
    : QOptionWidget(QPixmap(), caption, text, parent)
{
}

QOptionWidget::QOptionWidget(const QString& text, QWidget* parent) : QOptionWidget(QPixmap(), QString(), text, parent)
{
}

QOptionWidget::QOptionWidget(QWidget* parent) : QOptionWidget(QPixmap(), QString(), QString(), parent) {}

QSize QOptionWidget::sizeHint() const
{
  return preferredSize;
}

void QOptionWidget::updatePixmaps()
{
  captionLabel.setText(caption);
  textLabel.setText(text);
  const QSize captionSize = captionLabel.sizeHint();
  const QSize textSize = textLabel.sizeHint();
  captionLabel.resize(captionSize);
  textLabel.resize(textSize);

  const QPixmap& shownIcon = scaled ? scaledIcon : icon;
  const int indent = pixmapMargin ? (scaled ? pixmapSize.width() : icon.width()) + 8 : leftMargin;
  const int iconHeight = scaled ? pixmapSize.height() : icon.height();
  preferredSize = QSize(indent + qMax(captionSize.width(), textSize.width()) + 20,
                        qMax(captionSize.height() + textSize.height(), iconHeight) + 20);

  const QSize imageSize(qMax(width(), preferredSize.width()), qMax(height(), preferredSize.height()));
  QPixmap* images[3] = {&normalImage, &hoveredImage, &pressedImage};
  const QPen* pens[3] = {&normalPen, &hoveredPen, &pressedPen};
  const QLinearGradient* gradients[3] = {&normalGradient, &hoveredGradient, &pressedGradient};

  const QRectF frame(2.0, 2.0, imageSize.width() - 4, imageSize.height() - 4);
  QPainterPath framePath;
  framePath.setFillRule(Qt::WindingFill);
  framePath.addRoundedRect(frame, 6.0, 6.0);

  for (int i = 0; i < 3; ++i) {
    *images[i] = QPixmap(imageSize);
    images[i]->fill(Qt::transparent);
    QPainter painter(images[i]);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(*pens[i]);
    auto paintFrame = [&] {
      painter.fillPath(framePath, mappedTo(*gradients[i], frame));
      painter.setBrush(Qt::NoBrush);
      painter.drawRoundedRect(frame, 6.0, 6.0);
    };
    if (drawGradientBeforeText)
      paintFrame();
    // Children only: the labels' window background would hide the frame.
    captionLabel.render(&painter, QPoint(indent + 5, 10), QRegion(), QWidget::DrawChildren);
    textLabel.render(&painter, QPoint(indent + 5, captionSize.height() + 10), QRegion(), QWidget::DrawChildren);
    painter.setClipping(false);
    painter.drawPixmap(QPointF(8.0, 10.0), shownIcon);
    if (!drawGradientBeforeText)
      paintFrame();
  }
}

void QOptionWidget::rescaleIcon()
{
  scaledIcon = icon.scaled(pixmapSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void QOptionWidget::refresh()
{
  updatePixmaps();
  update();
}

void QOptionWidget::setIcon(QPixmap icon)
{
  this->icon = icon;
  if (scaled)
    rescaleIcon();
  refresh();
}

void QOptionWidget::setCaption(QString caption)
{
  this->caption = caption;
  refresh();
}

void QOptionWidget::setText(QString text)
{
  this->text = text;
  refresh();
}

void QOptionWidget::setPixmapSize(QSize pixmapSize)
{
  this->pixmapSize = pixmapSize;
  if (!scaled)
    return;
  rescaleIcon();
  refresh();
}

void QOptionWidget::setScaled(bool scaled)
{
  this->scaled = scaled;
  if (scaled)
    rescaleIcon();
  refresh();
}

void QOptionWidget::setPixmapMargin(bool pixmapMargin)
{
  this->pixmapMargin = pixmapMargin;
  refresh();
}

void QOptionWidget::setLeftMargin(int leftMargin)
{
  this->leftMargin = leftMargin;
  refresh();
}

void QOptionWidget::setDrawGradientBeforeText(bool drawGradientBeforeText)
{
  this->drawGradientBeforeText = drawGradientBeforeText;
  refresh();
}

void QOptionWidget::mousePressEvent(QMouseEvent*)
{
  mouseDown = true;
  // A receiver may close and destroy the dialog that holds this tile.
  QPointer<QOptionWidget> alive(this);
  emit clicked();
  if (alive)
    update();
}

void QOptionWidget::mouseReleaseEvent(QMouseEvent*)
{
  mouseDown = false;
  QPointer<QOptionWidget> alive(this);
  emit release();
  if (alive)
    update();
}

void QOptionWidget::enterEvent(QEnterEvent*)
{
  mouseOver = true;
  emit hovered();
  update();
}

void QOptionWidget::leaveEvent(QEvent*)
{
  mouseOver = false;
  emit left();
  update();
}

void QOptionWidget::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.drawPixmap(0, 0, mouseDown ? pressedImage : mouseOver ? hoveredImage : normalImage);
}

void QOptionWidget::resizeEvent(QResizeEvent*)
{
  updatePixmaps();
}
