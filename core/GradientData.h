#pragma once
#include <QColor>

// One colour stop of a gradient.
struct GradientData
{
  double position = 0.0;
  QColor color;
};
