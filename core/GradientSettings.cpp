#include "core/GradientSettings.h"

std::size_t GradientSettings::geometrySizeFor(uint8_t type)
{
  return type == Radial ? 6 : 4;
}

GradientSettings::GradientSettings(const GradientSettings& other)
{
  *this = other;
}

// The geometry is resized to what the copied type needs, so a radial record
// copied over a linear one brings its third point along, and a short source is
// padded rather than read past its end.
GradientSettings& GradientSettings::operator=(const GradientSettings& other)
{
  if (this == &other)
    return *this;
  type = other.type;
  spread = other.spread;
  stops = other.stops;
  if (other.geometry.empty()) {
    geometry.clear();
  } else {
    std::vector<double> g(geometrySizeFor(type), 0.0);
    for (std::size_t i = 0; i < g.size() && i < other.geometry.size(); ++i)
      g[i] = other.geometry[i];
    geometry.swap(g);
  }
  return *this;
}

// The points are the editor view's pixels 0 and 200 on its middle row, stored
// the way the editor normalises them (pixel / 199).
GradientSettings defaultGradientSettings()
{
  GradientSettings g;
  g.type = GradientSettings::Linear;
  g.spread = 0;
  g.stops = {{0.0, QColor(0, 0, 0, 255)}, {1.0, QColor(255, 255, 255, 255)}};
  g.geometry = {0.0, 100 / 199.0, 200 / 199.0, 100 / 199.0};
  return g;
}
