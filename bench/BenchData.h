#pragma once
// Deterministic characters for the benchmarks.
#include "model/CharacterData.h"

#include <QImage>
#include <cstdint>
#include <string>

namespace bench {

// A small linear congruential generator: the same data on every run.
class Lcg
{
public:
  explicit Lcg(uint32_t seed) : m_state(seed) {}
  uint32_t next()
  {
    m_state = m_state * 1664525u + 1013904223u;
    return m_state >> 8;
  }
  int range(int low, int high) { return low + static_cast<int>(next() % static_cast<uint32_t>(high - low + 1)); }

private:
  uint32_t m_state;
};

// A sprite-like cell image: an opaque blob with a semi-transparent rim, fully
// transparent around it, and a few transparent holes.
inline QImage spriteCell(Lcg& rng, int w, int h)
{
  QImage img(w, h, QImage::Format_ARGB32);
  const uint32_t colour = rng.next() & 0x00FFFFFFu;
  const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
  for (int y = 0; y < h; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const double dx = (x - cx) / (cx + 0.5), dy = (y - cy) / (cy + 0.5);
      const double d = dx * dx + dy * dy;
      uint32_t word = kBlankPixel;
      if (d < 0.85)
        word = (rng.next() % 23 == 0) ? kBlankPixel : (0xFF000000u | (colour ^ (rng.next() & 0x0F0F0F)));
      else if (d < 1.0)
        word = (static_cast<uint32_t>(rng.range(40, 200)) << 24) | colour;
      row[x] = word;
    }
  }
  return img;
}

// An XP 128x192 character of `elements` visible elements, each cell a sprite
// of 16..32 x 24..48 pixels placed inside its 32x48 cell.
inline CharacterData makeCharacter(int elements, uint32_t seed = 1)
{
  CharacterData doc(XP, QSize(128, 192));
  Lcg rng(seed);
  for (int e = 0; e < elements; ++e) {
    doc.addElementFromImageFile("");
    doc.setName("bench " + std::to_string(e), e);
    for (int c = 0; c < 16; ++c) {
      const int w = rng.range(16, 32), h = rng.range(24, 48);
      doc.setImage(spriteCell(rng, w, h), e, c);
      doc.setOffset(QPoint(rng.range(0, 32 - w), rng.range(0, 48 - h)), e, c);
    }
  }
  return doc;
}

} // namespace bench
