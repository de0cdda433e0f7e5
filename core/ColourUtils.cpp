#include "core/ColourUtils.h"

#include <algorithm>

double hueToChannel(double p, double q, double h)
{
  if (h < 0)
    h += 1;
  if (h > 1)
    h -= 1;
  if (6 * h < 1)
    return p + (q - p) * 6 * h;
  if (2 * h < 1)
    return q;
  if (3 * h < 2)
    return p + (q - p) * (2.0 / 3.0 - h) * 6;
  return p;
}

void hslToColor(const float hsl[3], QColor& colour)
{
  const double h = hsl[0];
  const double s = hsl[1];
  const double l = hsl[2];
  const int alpha = colour.alpha();
  if (s == 0) {
    const int v = static_cast<int>(255 * l);
    colour.setRgb(v, v, v, alpha);
    return;
  }
  const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  const double p = 2 * l - q;
  colour.setRgb(static_cast<int>(255 * hueToChannel(p, q, h + 1.0 / 3.0)),
                static_cast<int>(255 * hueToChannel(p, q, h)),
                static_cast<int>(255 * hueToChannel(p, q, h - 1.0 / 3.0)), alpha);
}

void colorToHsl(const QColor& colour, float hsl[3])
{
  const double r = colour.red() / 255.0;
  const double g = colour.green() / 255.0;
  const double b = colour.blue() / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double l = (max + min) / 2;
  const double d = max - min;
  if (d == 0) {
    hsl[0] = 0;
    hsl[1] = 0;
    hsl[2] = static_cast<float>(255 * l);
    return;
  }
  const double s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
  const double dR = ((max - r) / 6 + d / 2) / d;
  const double dG = ((max - g) / 6 + d / 2) / d;
  const double dB = ((max - b) / 6 + d / 2) / d;
  double h;
  if (r == max)
    h = dB - dG;
  else if (g == max)
    h = 1.0 / 3.0 + dR - dB;
  else
    h = 2.0 / 3.0 + dG - dR;
  // Hue is a turn: wrap it, the same way hueToChannel does, rather than
  // flatten every red-magenta to pure red.
  if (h < 0)
    h += 1;
  if (h > 1)
    h -= 1;
  float hue = static_cast<float>(h);
  clampFloat(hue, 0.0f, 1.0f);
  hsl[0] = 360 * hue;
  hsl[1] = static_cast<float>(255 * s);
  hsl[2] = static_cast<float>(255 * l);
}

void clampFloat(float& value, float low, float high)
{
  if (!(value >= low))
    value = low;
  else if (value > high)
    value = high;
}

int clampValue(int value, int low, int high)
{
  if (value < low)
    return low;
  return value < high ? value : high;
}
