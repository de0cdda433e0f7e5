#pragma once
// The gradient file ".skd", without any widget, so that the reader can run
// where no display exists.
//
// Layout (little-endian): a version byte 0, a signed 16-bit stop count, the
// type and spread bytes, the points as x, y bytes in the editor view's pixels
// (2 points, 3 for radial), then per stop an 8-byte double position and red,
// green, blue and alpha bytes.
#include "core/GradientData.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct GradientFileData
{
  uint8_t type = 0;   // 0 linear, 1 radial, 2 conical
  uint8_t spread = 0; // 0 pad, 1 reflect, 2 repeat
  std::vector<int> points; // x, y pairs: 4 values, 6 for radial
  std::vector<GradientData> stops;
};

// The whole file or nothing: on any failure returns nothing with the French
// message in error, so that a caller never shows half a file.
std::optional<GradientFileData> loadGradientFile(const QString& path, QString& error);

// False, with the save file's reason, when the file cannot be written; an
// existing file then stays as it was. Coordinates outside one byte are
// saturated to 0..255.
bool saveGradientFile(const QString& path, const GradientFileData& data, QString* reason = nullptr);
