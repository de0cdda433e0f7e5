#include "batch/KeyedPalette.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <vector>

namespace {

struct Colour
{
  QRgb word;
  qint64 count;
};

int channel(QRgb word, int c)
{
  return int(word >> (8 * c)) & 0xFF;
}

// One box of the median cut: a slice [begin, end) of the colour list.
struct Box
{
  std::size_t begin, end;
  int widest = 0; // the channel of the largest range
  int range = 0;
};

Box measured(const std::vector<Colour>& colours, std::size_t begin, std::size_t end)
{
  Box box{begin, end};
  for (int c = 0; c < 4; ++c) {
    int low = 255, high = 0;
    for (std::size_t i = begin; i < end; ++i) {
      low = std::min(low, channel(colours[i].word, c));
      high = std::max(high, channel(colours[i].word, c));
    }
    if (high - low > box.range) {
      box.range = high - low;
      box.widest = c;
    }
  }
  return box;
}

// Splits the boxes of the widest range at their pixel-weighted median until
// there are `entries` of them or none can be split.
std::vector<Box> medianCut(std::vector<Colour>& colours, int entries)
{
  std::vector<Box> boxes{measured(colours, 0, colours.size())};
  while (int(boxes.size()) < entries) {
    auto widest = std::max_element(boxes.begin(), boxes.end(),
                                   [](const Box& a, const Box& b) { return a.range < b.range; });
    if (widest->range == 0)
      break;
    const Box box = *widest;
    const int c = box.widest;
    std::sort(colours.begin() + qsizetype(box.begin), colours.begin() + qsizetype(box.end),
              [c](const Colour& a, const Colour& b) { return channel(a.word, c) < channel(b.word, c); });
    qint64 total = 0;
    for (std::size_t i = box.begin; i < box.end; ++i)
      total += colours[i].count;
    std::size_t split = box.begin + 1;
    for (qint64 seen = colours[box.begin].count; split < box.end - 1 && seen * 2 < total; ++split)
      seen += colours[split].count;
    *widest = measured(colours, box.begin, split);
    boxes.push_back(measured(colours, split, box.end));
  }
  return boxes;
}

QRgb meanOf(const std::vector<Colour>& colours, const Box& box)
{
  std::array<qint64, 4> sums{};
  qint64 total = 0;
  for (std::size_t i = box.begin; i < box.end; ++i) {
    for (int c = 0; c < 4; ++c)
      sums[std::size_t(c)] += channel(colours[i].word, c) * colours[i].count;
    total += colours[i].count;
  }
  QRgb word = 0;
  for (int c = 0; c < 4; ++c)
    word |= QRgb((sums[std::size_t(c)] + total / 2) / total) << (8 * c);
  return word;
}

int distance(QRgb a, QRgb b)
{
  int d = 0;
  for (int c = 0; c < 4; ++c) {
    const int delta = channel(a, c) - channel(b, c);
    d += delta * delta;
  }
  return d;
}

} // namespace

QImage keyedIndexed8(const QImage& sheet, QRgb key)
{
  const QImage image = sheet.format() == QImage::Format_ARGB32 ? sheet : sheet.convertToFormat(QImage::Format_ARGB32);
  if (image.isNull())
    return QImage();
  const int w = image.width(), h = image.height();

  // The colours in the order they first appear, with their pixel counts.
  QHash<QRgb, int> position;
  std::vector<Colour> colours;
  bool keyShown = false;
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      if (row[x] == key) {
        keyShown = true;
        continue;
      }
      auto it = position.find(row[x]);
      if (it == position.end()) {
        it = position.insert(row[x], int(colours.size()));
        colours.push_back({row[x], 0});
      }
      ++colours[std::size_t(it.value())].count;
    }
  }

  QList<QRgb> table;
  QHash<QRgb, int> index;
  if (colours.size() <= 255 || (!keyShown && colours.size() == 256)) {
    if (keyShown || colours.size() <= 255)
      table << key;
    for (const Colour& colour : colours) {
      index.insert(colour.word, int(table.size()));
      table << colour.word;
    }
  } else {
    table << key;
    std::vector<Colour> cut = colours;
    for (const Box& box : medianCut(cut, 255)) {
      const QRgb mean = meanOf(cut, box);
      table << (mean == key ? key ^ 1u : mean);
    }
    for (const Colour& colour : colours) {
      int best = 1;
      for (int i = 2; i < int(table.size()); ++i)
        if (distance(colour.word, table[i]) < distance(colour.word, table[best]))
          best = i;
      index.insert(colour.word, best);
    }
  }
  index.insert(key, 0);

  QImage out(w, h, QImage::Format_Indexed8);
  out.setColorTable(table);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* line = out.scanLine(y);
    for (int x = 0; x < w; ++x)
      line[x] = uchar(index.value(row[x]));
  }
  return out;
}
