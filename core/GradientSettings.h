#pragma once
#include "core/GradientData.h"

#include <cstdint>
#include <vector>

// The gradient in use: kind, spread, stops and geometry points normalised to
// 0..1 (x, y pairs: two points, three for radial).
class GradientSettings
{
public:
  enum Type : uint8_t { Linear = 0, Radial = 1, Conical = 2 };

  GradientSettings() = default;
  GradientSettings(const GradientSettings& other);
  GradientSettings& operator=(const GradientSettings& other);

  // 6 doubles for radial, 4 otherwise.
  static std::size_t geometrySizeFor(uint8_t type);

  uint8_t type = 0;
  uint8_t spread = 0;
  std::vector<GradientData> stops;
  std::vector<double> geometry; // empty: nobody filled the points yet
};

// The gradient the program starts with: the gradient file last opened or
// saved in the gradient editor, else opaque black to opaque white, linear,
// pad, across the middle of the editor's 200-pixel view.
GradientSettings defaultGradientSettings();
