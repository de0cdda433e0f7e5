#pragma once
#include <QColor>

// The pen of the drawing tools.
struct PenSettings
{
  int size = 1;  // pixels
  int shape = 0; // 0 square, 1 round
  QColor color;
};
