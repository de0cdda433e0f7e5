#include "colour/QGradientCreator.h"

#include "colour/QColorPalette.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRampLeft = 5;
constexpr double kRampWidth = 400.0;
constexpr int kRowTop = 60;
constexpr int kRowBottom = 81;
constexpr int kRowRight = 409;
constexpr int kCursorWidth = 10;

// trunc(400 * position + offset). Positions outside 0..1 stay in the list, so
// they are bounded first: a huge one must not overflow the int (its cursor
// lies off the bar either way).
int barX(double position, double offset = 0)
{
  const double p = std::isnan(position) ? 0.0 : std::clamp(position, -10.0, 10.0);
  return static_cast<int>(kRampWidth * p + offset);
}

double positionAt(int x)
{
  return std::clamp((x - kRampLeft) / kRampWidth, 0.0, 1.0);
}

void addCheckerboard(QImage& cursorImage)
{
  QImage window;
  transparencyCheckerboard(window, QSize(8, 11), 3);
  QPainter painter(&cursorImage);
  painter.drawImage(1, 10, window);
}

} // namespace

QGradientCreator::QGradientCreator(const QColor& color, QWidget* parent)
    : QWidget(parent), stops{{0.0, QColor(Qt::black)}, {1.0, QColor(Qt::white)}}, newStopColor(color)
{
  setFixedSize(410, 82);
  updateGradient();
  transparencyCheckerboard(background, QSize(400, 60), 5);
  cursor.load(QStringLiteral(":/icon/cursorColor.png"));
  selectedCursor.load(QStringLiteral(":/icon/cursorColorSelected.png"));
  if (!cursor.isNull())
    addCheckerboard(cursor);
  if (!selectedCursor.isNull())
    addCheckerboard(selectedCursor);
}

void QGradientCreator::updateGradient()
{
  preview = QLinearGradient(0, 0, kRampWidth, 0);
  for (const GradientData& s : stops)
    preview.setColorAt(s.position, s.color);
}

void QGradientCreator::emitSelection()
{
  if (selected >= 0)
    emit changeIndex(stops[selected]);
  else
    emit changeIndex(GradientData{-1.0, QColor(Qt::black)});
}

void QGradientCreator::setGradientData(GradientData stop)
{
  if (selected < 0)
    return;
  stops[selected] = stop;
  // The ramp follows the replaced stop, as after setPos and setColor.
  updateGradient();
  update();
  emit changeGradient(stops);
}

void QGradientCreator::setGradient(const std::vector<GradientData>& newStops)
{
  stops = newStops;
  selected = -1;
  emitSelection();
  pressed = false;
  updateGradient();
  update();
  emit changeGradient(stops);
}

void QGradientCreator::destroy()
{
  if (selected < 0)
    return;
  stops.erase(stops.begin() + selected);
  selected = -1;
  updateGradient();
  emitSelection();
  emit changeGradient(stops);
  update();
}

void QGradientCreator::destroyAll()
{
  selected = -1;
  stops.clear();
  updateGradient();
  emitSelection();
  emit changeGradient(stops);
  update();
}

void QGradientCreator::setPos(int percent)
{
  if (selected >= 0 && acceptPos) {
    stops[selected].position = percent / 100.0;
    updateGradient();
    update();
    emit changeGradient(stops);
  }
  acceptPos = true;
}

void QGradientCreator::setColor(QColor color)
{
  if (selected < 0)
    return;
  stops[selected].color = color;
  updateGradient();
  update();
  emit changeGradient(stops);
}

void QGradientCreator::mousePressEvent(QMouseEvent* event)
{
  const QPoint at = event->position().toPoint();
  if (at.x() < 0 || at.x() > kRowRight || at.y() < kRowTop || at.y() > kRowBottom)
    return;
  selected = -1;
  // The last cursor that covers the press is the one drawn on top.
  for (std::size_t i = 0; i < stops.size(); ++i) {
    const int left = barX(stops[i].position);
    if (at.x() >= left && at.x() <= left + kCursorWidth - 1)
      selected = static_cast<int>(i);
  }
  if (selected < 0) {
    stops.push_back(GradientData{positionAt(at.x()), newStopColor});
    selected = static_cast<int>(stops.size()) - 1;
    updateGradient();
  }
  update();
  pressed = true;
  emitSelection();
  emit changeGradient(stops);
}

void QGradientCreator::mouseReleaseEvent(QMouseEvent*)
{
  pressed = false;
}

void QGradientCreator::mouseMoveEvent(QMouseEvent* event)
{
  if (!pressed || selected < 0)
    return;
  stops[selected].position = positionAt(event->position().toPoint().x());
  updateGradient();
  emit changeGradient(stops);
  emitSelection();
  update();
}

void QGradientCreator::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.drawImage(kRampLeft, 0, background);
  painter.fillRect(kRampLeft, 0, background.width(), background.height(), QBrush(preview));
  for (std::size_t i = 0; i < stops.size(); ++i) {
    const GradientData& s = stops[i];
    painter.drawImage(barX(s.position), kRowTop, static_cast<int>(i) == selected ? selectedCursor : cursor);
    painter.fillRect(barX(s.position, 1), 70, 8, 11, QBrush(s.color));
  }
}
