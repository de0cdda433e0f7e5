#pragma once
// Deterministic test data for the benchmarks.
#include "model/CharacterData.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Small linear congruential generator: the same data on every run.
class Lcg
{
public:
  explicit Lcg(uint32_t seed) : m_state(seed) {}
  uint32_t next()
  {
    m_state = m_state * 1664525u + 1013904223u;
    return m_state >> 8;
  }
  int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }

private:
  uint32_t m_state;
};

// One sprite-like cell image: an oval figure drawn from a small palette (a
// few base colours with shades), fully transparent around it (the blank
// word), with a semi-transparent rim.
inline QImage makeSpriteCell(int w, int h, Lcg& rng)
{
  std::vector<uint32_t> palette;
  const int bases = 3 + rng.below(4);
  for (int i = 0; i < bases; ++i) {
    const int r = rng.below(256), g = rng.below(256), b = rng.below(256);
    for (int shade = 0; shade < 3; ++shade) {
      const int k = 60 + 40 * shade; // darker, base, lighter
      palette.push_back(0xFF000000u | static_cast<uint32_t>(std::min(255, r * k / 100)) << 16 |
                        static_cast<uint32_t>(std::min(255, g * k / 100)) << 8 |
                        static_cast<uint32_t>(std::min(255, b * k / 100)));
    }
  }
  QImage image(w, h, QImage::Format_ARGB32);
  const double cx = w * 0.5 + rng.below(5) - 2, cy = h * 0.55 + rng.below(5) - 2;
  const double rx = w * 0.35, ry = h * 0.4;
  for (int y = 0; y < h; ++y) {
    uint32_t* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
    const uint32_t rowColour = palette[static_cast<size_t>(y * bases / h) * 3 + 1];
    for (int x = 0; x < w; ++x) {
      const double dx = (x - cx) / rx, dy = (y - cy) / ry;
      const double d = dx * dx + dy * dy;
      if (d > 1.0) {
        line[x] = kBlankPixel;
      } else if (d > 0.85) {
        line[x] = (rowColour & 0x00FFFFFFu) | static_cast<uint32_t>(64 + rng.below(128)) << 24;
      } else if (rng.below(8) == 0) {
        line[x] = palette[static_cast<size_t>(rng.below(static_cast<int>(palette.size())))];
      } else {
        // Shading runs: the same word over several pixels, as in drawn sprites.
        line[x] = x > 0 && (line[x - 1] >> 24) == 0xFF ? line[x - 1] : rowColour;
        if (dx < -0.5)
          line[x] = palette[static_cast<size_t>(y * bases / h) * 3];
        else if (dx > 0.5)
          line[x] = palette[static_cast<size_t>(y * bases / h) * 3 + 2];
      }
    }
  }
  return image;
}

// One tileset-like image: 32x32 tiles of flat colours with a darker outline,
// some textured with shades of their colour, about a fifth fully transparent
// (stored as 0x00000000, as drawing programs write them), and some tiles with
// a band of half-transparent pixels (alpha 128).
inline QImage makeTilesetImage(int w, int h, Lcg& rng)
{
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(0u);
  for (int ty = 0; ty < h; ty += 32) {
    for (int tx = 0; tx < w; tx += 32) {
      const int kind = rng.below(10); // 0-1 empty, 2-4 textured, 5 half-transparent band, else flat
      if (kind < 2)
        continue;
      const uint32_t r = static_cast<uint32_t>(rng.below(256)), g = static_cast<uint32_t>(rng.below(256)),
                     b = static_cast<uint32_t>(rng.below(256));
      const uint32_t base = 0xFF000000u | r << 16 | g << 8 | b;
      const uint32_t outline = 0xFF000000u | (r / 2) << 16 | (g / 2) << 8 | (b / 2);
      const uint32_t light = 0xFF000000u | std::min(255u, r + 40) << 16 | std::min(255u, g + 40) << 8 |
                             std::min(255u, b + 40);
      for (int y = ty; y < std::min(h, ty + 32); ++y) {
        uint32_t* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = tx; x < std::min(w, tx + 32); ++x) {
          const bool edge = x == tx || y == ty || x == tx + 31 || y == ty + 31;
          uint32_t word = edge ? outline : base;
          if (!edge && kind <= 4 && rng.below(4) == 0)
            word = rng.below(2) ? light : outline;
          if (!edge && kind == 5 && y - ty >= 20)
            word = (word & 0x00FFFFFFu) | 0x80000000u;
          line[x] = word;
        }
      }
    }
  }
  return image;
}

// An XP character of 128x192 (16 cells of 32x48) or of the given size with
// the given number of elements, every cell a sprite-like image at offset
// (0, 0).
inline CharacterData makeXpCharacter(int elements, uint32_t seed = 1, QSize size = QSize(128, 192))
{
  CharacterData data(XP, size);
  const QSize cell = data.cellSize();
  Lcg rng(seed);
  std::vector<std::vector<QImage>> images(elements);
  std::vector<std::vector<QPoint>> offsets(elements);
  for (int e = 0; e < elements; ++e) {
    for (int c = 0; c < data.cellCount(); ++c) {
      images[e].push_back(makeSpriteCell(cell.width(), cell.height(), rng));
      offsets[e].push_back(QPoint(0, 0));
    }
  }
  data.setImages(images);
  data.setOffsets(offsets);
  std::vector<std::string> names;
  for (int e = 0; e < elements; ++e)
    names.push_back("Elément " + std::to_string(e + 1));
  data.setElementNames(names);
  data.setElementSources(std::vector<std::string>(elements, ""));
  data.setVisibility(std::vector<bool>(elements, true));
  return data;
}

// The main of every benchmark: App is the Qt application the benchmarks need,
// offscreen so that they run without a display.
template <typename App>
int runBenchmarks(int& argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  App app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

} // namespace bench
