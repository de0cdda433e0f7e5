#pragma once
// Small XP characters for the cell-operation tests: every cell of every
// element gets its own copy of one image, at offset (0, 0).
#include "model/CharacterData.h"

#include <QImage>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

inline QImage imageOf(int w, int h, std::initializer_list<uint32_t> words)
{
  QImage image(w, h, QImage::Format_ARGB32);
  auto it = words.begin();
  for (int y = 0; y < h; ++y) {
    uint32_t* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < w; ++x)
      line[x] = it != words.end() ? *it++ : kBlankPixel;
  }
  return image;
}

inline QImage filled(int w, int h, uint32_t word)
{
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(word);
  return image;
}

inline uint32_t word(const QImage& image, int x, int y)
{
  return reinterpret_cast<const uint32_t*>(image.constScanLine(y))[x];
}

inline CharacterData makeCharacter(int elements, const QImage& cell)
{
  CharacterData data(XP, QSize(128, 192));
  std::vector<std::vector<QImage>> images;
  std::vector<std::vector<QPoint>> offsets;
  for (int e = 0; e < elements; ++e) {
    std::vector<QImage> row;
    for (int c = 0; c < data.cellCount(); ++c)
      row.push_back(cell.copy());
    images.push_back(row);
    offsets.emplace_back(data.cellCount(), QPoint(0, 0));
  }
  data.setImages(images);
  data.setOffsets(offsets);
  data.setElementNames(std::vector<std::string>(elements, "e"));
  data.setElementSources(std::vector<std::string>(elements, ""));
  data.setVisibility(std::vector<bool>(elements, true));
  return data;
}
