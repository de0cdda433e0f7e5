#pragma once
#include "colour/GradientSettings.h"

#include <QColor>
#include <array>

// The painting style of the shape tool, copied whole into the document at
// every press of a drawing tool.
struct GradientHolder
{
  int paintMode = 0; // 0 plain colour, 1 gradient
  int fillMode = 1;  // 0 outline, 1 filled, 2 filled with outline
  GradientSettings gradient;
  std::array<QColor, 2> shapeColors; // [0] outline / plain fill, [1] fill under an outline
};
