#include "core/GradientBrushes.h"

#include "core/GradientGeometry.h"

#include <cmath>

namespace {

// The view loaded with the settings' stops, points and spread, as the
// gradient editor would show them.
GradientGeometry loadView(const GradientSettings& settings, int type)
{
  GradientGeometry view(settings.stops, type);
  if (!settings.stops.empty() && settings.geometry.size() >= GradientSettings::geometrySizeFor(type))
    view.setNormalizedPoints(settings.geometry);
  view.setSpread(settings.spread);
  return view;
}

QPointF scaled(const QPointF& p, double w, double h)
{
  return QPointF(w * p.x(), h * p.y());
}

} // namespace

QLinearGradient linearGradientBrush(const GradientSettings& settings, const QSize& size)
{
  const double w = size.width(), h = size.height();
  QLinearGradient g = loadView(settings, GradientSettings::Linear).linearGradient();
  g.setStart(scaled(g.start(), w, h));
  g.setFinalStop(scaled(g.finalStop(), w, h));
  return g;
}

// The radius is measured to the scaled radius point, so a wide target keeps a
// circular gradient rather than one stretched along x.
QRadialGradient radialGradientBrush(const GradientSettings& settings, const QSize& size)
{
  const double w = size.width(), h = size.height();
  const GradientGeometry view = loadView(settings, GradientSettings::Radial);
  QRadialGradient g = view.radialGradient();
  const QPointF radiusPoint = scaled(view.normalizedPoints()[1], w, h);
  const QPointF centre = scaled(g.center(), w, h);
  const double dx = radiusPoint.x() - centre.x();
  const double dy = radiusPoint.y() - centre.y();
  g.setCenter(centre);
  g.setRadius(std::sqrt(dx * dx + dy * dy));
  g.setFocalPoint(scaled(g.focalPoint(), w, h));
  return g;
}

QConicalGradient conicalGradientBrush(const GradientSettings& settings, const QSize& size)
{
  const double w = size.width(), h = size.height();
  QConicalGradient g = loadView(settings, GradientSettings::Conical).conicalGradient();
  g.setCenter(scaled(g.center(), w, h));
  return g;
}

QPointF toPointF(const QPoint& p)
{
  return QPointF(p.x(), p.y());
}
