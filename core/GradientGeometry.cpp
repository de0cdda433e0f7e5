#include "core/GradientGeometry.h"

#include "core/Complex.h"

#include <QLineF>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

const QPointF kDefaults[GradientGeometry::PointCount] = {
  {0, 100}, {200, 100},              // linear
  {100, 100}, {100, 0}, {100, 50},   // radial
  {100, 100}, {100, 0},              // conical
};

double distance(const QPointF& a, const QPointF& b)
{
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  return std::sqrt(dx * dx + dy * dy);
}

void addStops(QGradient& g, const std::vector<GradientData>& stops)
{
  for (const GradientData& s : stops)
    g.setColorAt(s.position, s.color);
}

int truncated(double v)
{
  if (!(v > INT_MIN))
    return std::isnan(v) ? 0 : INT_MIN;
  if (!(v < INT_MAX))
    return INT_MAX;
  return static_cast<int>(v);
}

// Points leave the view as p / 199 but enter as trunc(v * 200), so without
// the clamp a point at 200 would drift one pixel outward on every save and
// reopen, until the gradient file's byte wrapped it round.
double fromNormalized(double v)
{
  const double p = std::trunc(v * GradientGeometry::kIn);
  if (std::isnan(p))
    return 0;
  return std::clamp(p, 0.0, double(GradientGeometry::kSide));
}

} // namespace

QPoint toPoint(const QPointF& p)
{
  return QPoint(truncated(p.x()), truncated(p.y()));
}

double angleBetween(const QLineF& a, const QLineF& b)
{
  auto isNull = [](const QLineF& l) {
    return qFuzzyCompare(l.x1(), l.x2()) && qFuzzyCompare(l.y1(), l.y2());
  };
  if (isNull(a) || isNull(b))
    return 0;
  const double cosine = (a.dx() * b.dx() + a.dy() * b.dy()) / (distance(a.p1(), a.p2()) * distance(b.p1(), b.p2()));
  // Rounding may push the cosine just outside [-1, 1]; such a case reads 0.
  double rad = 0;
  if (cosine >= -1.0 && cosine <= 1.0)
    rad = std::acos(cosine);
  return rad * 360 / 6.28318530717958647692528676655900576;
}

QGradient::Spread toGradientSpread(int spread)
{
  switch (spread) {
  case 1: return QGradient::ReflectSpread;
  case 2: return QGradient::RepeatSpread;
  default: return QGradient::PadSpread;
  }
}

GradientGeometry::GradientGeometry(const std::vector<GradientData>& stops, int type)
  : m_type(type)
{
  for (int i = 0; i < PointCount; ++i)
    m_points[i] = kDefaults[i];
  addStops(m_linear, stops);
  addStops(m_radial, stops);
  addStops(m_conical, stops);
  update();
}

void GradientGeometry::setStops(const std::vector<GradientData>& stops)
{
  m_linear = QLinearGradient();
  m_radial = QRadialGradient();
  m_conical = QConicalGradient();
  addStops(m_linear, stops);
  addStops(m_radial, stops);
  addStops(m_conical, stops);
  update();
}

void GradientGeometry::reset()
{
  for (int i = 0; i < PointCount; ++i)
    m_points[i] = kDefaults[i];
  update();
}

void GradientGeometry::join()
{
  m_points[RadialFocal] = m_points[RadialCentre];
  update();
}

void GradientGeometry::setType(int type)
{
  m_type = type;
  update();
}

void GradientGeometry::setSpread(int spread)
{
  m_spread = spread;
  update();
}

void GradientGeometry::setPoint(Point which, const QPointF& p)
{
  if (which < 0 || which >= PointCount)
    return;
  m_points[which] = p;
  update();
}

int GradientGeometry::firstPoint() const
{
  switch (m_type) {
  case 0: return LinearStart;
  case 1: return RadialCentre;
  case 2: return ConicalCentre;
  default: return 0;
  }
}

int GradientGeometry::pointCount() const
{
  switch (m_type) {
  case 0: return 2;
  case 1: return 3;
  case 2: return 2;
  default: return 0;
  }
}

void GradientGeometry::setNormalizedPoints(const std::vector<double>& values)
{
  const int first = firstPoint(), n = pointCount();
  if (values.size() >= static_cast<std::size_t>(2 * n)) {
    for (int i = 0; i < n; ++i)
      m_points[first + i] = QPointF(fromNormalized(values[2 * i]), fromNormalized(values[2 * i + 1]));
  }
  update();
}

void GradientGeometry::setPixelPoints(const std::vector<int>& values)
{
  const int first = firstPoint(), n = pointCount();
  if (values.size() >= static_cast<std::size_t>(2 * n)) {
    for (int i = 0; i < n; ++i)
      m_points[first + i] = QPointF(values[2 * i], values[2 * i + 1]);
  }
  update();
}

std::vector<QPointF> GradientGeometry::normalizedPoints() const
{
  std::vector<QPointF> out;
  const int first = firstPoint(), n = pointCount();
  for (int i = 0; i < n; ++i)
    out.emplace_back(m_points[first + i].x() / kOut, m_points[first + i].y() / kOut);
  return out;
}

std::vector<int> GradientGeometry::pixelPoints() const
{
  std::vector<int> out;
  const int first = firstPoint(), n = pointCount();
  for (int i = 0; i < n; ++i) {
    const QPoint p = toPoint(m_points[first + i]);
    out.push_back(p.x());
    out.push_back(p.y());
  }
  return out;
}

QLinearGradient GradientGeometry::linearGradient() const
{
  QLinearGradient g = m_linear;
  g.setSpread(toGradientSpread(m_spread));
  g.setStart(g.start().x() / kOut, g.start().y() / kOut);
  g.setFinalStop(g.finalStop().x() / kOut, g.finalStop().y() / kOut);
  return g;
}

QRadialGradient GradientGeometry::radialGradient() const
{
  QRadialGradient g = m_radial;
  g.setSpread(toGradientSpread(m_spread));
  g.setCenter(g.center().x() / kOut, g.center().y() / kOut);
  g.setRadius(g.radius() / kOut);
  g.setFocalPoint(g.focalPoint().x() / kOut, g.focalPoint().y() / kOut);
  return g;
}

QConicalGradient GradientGeometry::conicalGradient() const
{
  QConicalGradient g = m_conical;
  g.setSpread(toGradientSpread(m_spread));
  g.setCenter(g.center().x() / kOut, g.center().y() / kOut);
  return g;
}

void GradientGeometry::update()
{
  const QGradient::Spread spread = toGradientSpread(m_spread);
  switch (m_type) {
  case 0:
    m_linear.setStart(m_points[LinearStart]);
    m_linear.setFinalStop(m_points[LinearEnd]);
    m_linear.setSpread(spread);
    m_brush = QBrush(m_linear);
    break;
  case 1: {
    const QPointF c = m_points[RadialCentre];
    const QPointF f = m_points[RadialFocal];
    const double r = distance(c, m_points[RadialRadius]);
    m_radial.setCenter(c);
    m_radial.setRadius(r);
    // The focal point is kept well inside the circle; the stored point stays
    // where the user left it.
    if (distance(c, f) > 0.75 * r) {
      const Complex v(f.x() - c.x(), c.y() - f.y()); // y axis turned upward
      const Complex w = Complex::fromPolar(0.75 * r, v.argument());
      m_radial.setFocalPoint(c.x() + w.real(), c.y() - w.imag());
    } else {
      m_radial.setFocalPoint(f);
    }
    m_radial.setSpread(spread);
    m_brush = QBrush(m_radial);
    break;
  }
  case 2: {
    const QPointF c = m_points[ConicalCentre];
    const QPointF a = m_points[ConicalAngle];
    double angle = angleBetween(QLineF(c, a), QLineF(0, 0, 1, 0));
    if (a.y() - c.y() > 0)
      angle = 360 - angle;
    m_conical.setCenter(c);
    m_conical.setAngle(angle);
    m_conical.setSpread(spread);
    m_brush = QBrush(m_conical);
    break;
  }
  default:
    break;
  }
}
