#include "colour/QGradientRender.h"

#include "colour/QColorPalette.h"
#include "core/GradientBrushes.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <algorithm>

namespace {

using Point = GradientGeometry::Point;

// The current kind's points, the one drawn on top (and tried first) last.
std::vector<Point> handlePoints(int type)
{
  switch (type) {
  case 0: return {GradientGeometry::LinearStart, GradientGeometry::LinearEnd};
  case 1: return {GradientGeometry::RadialCentre, GradientGeometry::RadialRadius, GradientGeometry::RadialFocal};
  case 2: return {GradientGeometry::ConicalCentre, GradientGeometry::ConicalAngle};
  default: return {};
  }
}

} // namespace

QGradientRender::QGradientRender(const std::vector<GradientData>& stops, int type, QWidget* parent)
    : QWidget(parent), geometry(stops, type)
{
  setFixedSize(GradientGeometry::kSide, GradientGeometry::kSide);
  transparencyCheckerboard(background, QSize(GradientGeometry::kSide, GradientGeometry::kSide), 5);
  redHandle.load(QStringLiteral(":/icon/pointR.png"));
  greenHandle.load(QStringLiteral(":/icon/pointV.png"));
  blueHandle.load(QStringLiteral(":/icon/pointB.png"));
  updateGradient();
}

void QGradientRender::updateGradient()
{
  geometry.update();
}

void QGradientRender::setNormalizedPoints(const std::vector<double>& values)
{
  geometry.setNormalizedPoints(values);
  update();
}

void QGradientRender::setPixelPoints(const std::vector<int>& values)
{
  geometry.setPixelPoints(values);
  update();
}

std::vector<QPointF> QGradientRender::normalizedPoints() const
{
  return geometry.normalizedPoints();
}

std::vector<int> QGradientRender::pixelPoints() const
{
  return geometry.pixelPoints();
}

QLinearGradient QGradientRender::linearGradient() const
{
  return geometry.linearGradient();
}

QRadialGradient QGradientRender::radialGradient() const
{
  return geometry.radialGradient();
}

QConicalGradient QGradientRender::conicalGradient() const
{
  return geometry.conicalGradient();
}

QPointF QGradientRender::toPointF(const QPoint& p)
{
  return ::toPointF(p);
}

QPoint QGradientRender::toPoint(const QPointF& p)
{
  return ::toPoint(p);
}

void QGradientRender::setGradientData(const std::vector<GradientData>& stops)
{
  geometry.setStops(stops);
  update();
}

void QGradientRender::reset()
{
  geometry.reset();
  update();
}

void QGradientRender::join()
{
  geometry.join();
  update();
}

void QGradientRender::setGradientType(int type)
{
  geometry.setType(type);
  update();
}

void QGradientRender::setSpreadType(int type)
{
  geometry.setSpread(type);
  update();
}

void QGradientRender::mousePressEvent(QMouseEvent* event)
{
  const QPointF at = toPointF(event->position().toPoint());
  const double radius = redHandle.width() / 2;
  const std::vector<Point> points = handlePoints(geometry.type());
  for (auto it = points.rbegin(); it != points.rend(); ++it) {
    const QPointF d = geometry.point(*it) - at;
    if (std::sqrt(d.x() * d.x() + d.y() * d.y()) <= radius) {
      dragged = *it;
      pressed = true;
      return;
    }
  }
}

void QGradientRender::mouseReleaseEvent(QMouseEvent*)
{
  pressed = false;
  dragged.reset();
}

void QGradientRender::mouseMoveEvent(QMouseEvent* event)
{
  if (!pressed || !dragged)
    return;
  // The last pixel is 199, not the 200 a normalised 1.0 gives.
  const int last = GradientGeometry::kSide - 1;
  const QPoint at = event->position().toPoint();
  geometry.setPoint(*dragged, QPointF(std::clamp(at.x(), 0, last), std::clamp(at.y(), 0, last)));
  update();
}

void QGradientRender::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.drawImage(0, 0, background);
  painter.fillRect(0, 0, GradientGeometry::kSide, GradientGeometry::kSide, geometry.brush());
  const QPointF half(redHandle.width() / 2, redHandle.height() / 2);
  const QImage* images[] = {&redHandle, &greenHandle, &blueHandle};
  const std::vector<Point> points = handlePoints(geometry.type());
  for (std::size_t i = 0; i < points.size(); ++i)
    painter.drawImage(toPoint(geometry.point(points[i]) - half), *images[i]);
}
