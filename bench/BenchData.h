#pragma once
// Deterministic sprite-like characters for the benchmarks: each cell holds a
// blob of opaque pixels with a semi-transparent rim, over blank pixels, like
// the clothes and hair layers of a real character.
#include "model/CharacterData.h"

#include <cstdint>

namespace bench {

inline uint32_t nextRandom(uint32_t& state)
{
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

inline QImage spriteCell(int w, int h, uint32_t& state)
{
  QImage img(w, h, QImage::Format_ARGB32);
  const double cx = w * (0.3 + 0.4 * (nextRandom(state) % 100) / 100.0);
  const double cy = h * (0.3 + 0.4 * (nextRandom(state) % 100) / 100.0);
  const double rx = w * (0.15 + 0.25 * (nextRandom(state) % 100) / 100.0);
  const double ry = h * (0.15 + 0.25 * (nextRandom(state) % 100) / 100.0);
  const uint32_t colour = nextRandom(state) & 0x00FFFFFFu;
  for (int y = 0; y < h; ++y) {
    uint32_t* line = reinterpret_cast<uint32_t*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const double dx = (x - cx) / rx, dy = (y - cy) / ry;
      const double d = dx * dx + dy * dy;
      if (d < 0.8)
        line[x] = 0xFF000000u | (colour ^ (nextRandom(state) & 0x0F0F0F));
      else if (d < 1.0)
        line[x] = (uint32_t(64 + nextRandom(state) % 128) << 24) | colour;
      else
        line[x] = kBlankPixel;
    }
  }
  return img;
}

// An XP 128x192 character of n elements, each cell a full 32x48 sprite cell.
inline CharacterData spriteCharacter(int n, uint32_t seed = 1)
{
  CharacterData doc(XP, QSize(128, 192));
  uint32_t state = seed;
  for (int e = 0; e < n; ++e) {
    std::vector<QImage> cells;
    for (int c = 0; c < 16; ++c)
      cells.push_back(spriteCell(32, 48, state));
    doc.images().push_back(cells);
    doc.offsets().push_back(std::vector<QPoint>(16, QPoint(0, 0)));
    doc.names().push_back("Elément " + std::to_string(e + 1));
    doc.sources().push_back("");
    doc.visibility().push_back(true);
  }
  return doc;
}

} // namespace bench
