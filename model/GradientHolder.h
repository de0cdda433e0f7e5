#pragma once
#include "core/GradientSettings.h"

#include <QColor>
#include <array>

// The painting style of the shape tool, copied whole into the document at
// every press of a drawing tool.
struct GradientHolder
{
  int paintMode = 0; // 0 plain colour, any other value gradient
  int fillMode = 1;  // 0 outline, 1 filled, 2 filled with outline
  GradientSettings gradient;
  // [0] outline / plain fill, [1] fill under an outline. Both invalid while
  // absent: in a new holder, and once a pen press released them.
  std::array<QColor, 2> shapeColors;
};
