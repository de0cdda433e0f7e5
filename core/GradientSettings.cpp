#include "core/GradientSettings.h"

#include "core/GradientFile.h"
#include "core/GradientGeometry.h"
#include "core/IniSettings.h"

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

// The gradient last opened or saved in the editor ("degrade"), as the editor
// would hand it over: the file's pixel points normalised by the view (/ 199).
// Without a readable file, black to white across the middle row of the view
// (pixels 0 and 200); a file without stops gives black to white from (0, 0)
// to (1, 0).
GradientSettings defaultGradientSettings()
{
  GradientSettings g;
  g.type = GradientSettings::Linear;
  g.spread = 0;
  g.stops = {{0.0, QColor(0, 0, 0, 255)}, {1.0, QColor(255, 255, 255, 255)}};
  g.geometry = {0.0, 100 / 199.0, 200 / 199.0, 100 / 199.0};
  QString path;
  IniSettings().getValue("degrade", path);
  if (path.isEmpty())
    return g;
  QString error;
  const std::optional<GradientFileData> file = loadGradientFile(path, error);
  if (!file)
    return g;
  if (file->stops.empty()) {
    g.geometry = {0.0, 0.0, 1.0, 0.0};
    return g;
  }
  g.type = file->type;
  g.spread = file->spread;
  g.stops = file->stops;
  g.geometry.clear();
  for (int v : file->points)
    g.geometry.push_back(v / GradientGeometry::kOut);
  return g;
}
