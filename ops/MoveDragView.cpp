#include "ops/MoveDragView.h"

#include "core/BlendImage.h"
#include "model/CharacterData.h"
#include "ops/Compose.h"
#include "ops/RenderView.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>

namespace {

// The per-pixel tables cost about 17 bytes a sheet pixel while they are built;
// past these sizes a drag renders in full instead of risking the memory.
constexpr std::size_t kMaxPixels = std::size_t(1) << 24;
constexpr std::size_t kMaxTranslucentWords = std::size_t(1) << 26;

// Where a cell image lands on the sheet, cut as composeSheet cuts it.
CellBlock blockOf(const CharacterData& doc, int element, int cell, bool beyond)
{
  const QImage& image = doc.image(element, cell);
  const QPoint origin = doc.cellOrigin(cell);
  if (beyond)
    return clipToSheet(origin, doc.offset(element, cell), image.size(), doc.size());
  CellBlock b = clipToCell(doc.offset(element, cell), image.size(), doc.cellSize());
  b.dx += origin.x();
  b.dy += origin.y();
  return b;
}

// Calls row(y, x, source words, count) for each row of the block within the
// rows y0..y1-1.
template <class Row>
void forRows(const CharacterData& doc, int element, int cell, bool beyond, int y0, int y1, Row row)
{
  const CellBlock b = blockOf(doc, element, cell, beyond);
  if (b.isEmpty())
    return;
  const QImage& image = doc.image(element, cell);
  const int top = std::max(b.dy, y0);
  const int bottom = std::min(b.dy + b.h, y1);
  for (int y = top; y < bottom; ++y)
    row(y, b.dx, reinterpret_cast<const uint32_t*>(image.constScanLine(b.sy + y - b.dy)) + b.sx, b.w);
}

int cellsOf(const CharacterData& doc, int element)
{
  return std::min<int>(doc.cellCount(),
                       std::min(doc.images(element).size(), doc.offsets(element).size()));
}

} // namespace

MoveDragView::MoveDragView(CharacterData& doc)
  : m_size(doc.size())
  , m_type(doc.type())
  , m_elements(doc.elementCount())
  , m_beyond(doc.drawsBeyondBorders())
{
  const std::size_t pixels = std::size_t(std::max(m_size.width(), 0)) * std::max(m_size.height(), 0);
  if (pixels > kMaxPixels)
    return;
  m_below = QImage(m_size, QImage::Format_ARGB32);
  if (m_below.isNull())
    return;
  m_below.fill(static_cast<uint32_t>(doc.backgroundPixel()));
  if (m_type != XP && m_type != VX)
    return;

  const int cells = doc.cellCount();
  std::vector<std::vector<bool>> moving(m_elements, std::vector<bool>(cells, false));
  doc.forEachScopedCell([&](int e, int c) {
    if (c < cells)
      moving[e][c] = true;
  });

  m_aboveKind.assign(pixels, Through);
  m_aboveWord.assign(pixels, 0);
  m_aboveStart.assign(pixels + 1, 0);

  // A region's layers in the order composeSheet lays them: element by
  // element, and within an element cell by cell.
  std::vector<Layer> layers;
  std::vector<bool> flags;
  auto addLayers = [&](int onlyCell) {
    layers.clear();
    flags.clear();
    for (int e = 0; e < m_elements; ++e) {
      if (!doc.isVisible(e))
        continue;
      const int n = cellsOf(doc, e);
      for (int c = 0; c < n; ++c) {
        if (onlyCell >= 0 && c != onlyCell)
          continue;
        layers.push_back(Layer{e, c});
        flags.push_back(moving[e][c]);
      }
    }
  };

  std::vector<std::pair<QRect, std::vector<Layer>>> aboveLists;
  auto split = [&](const QRect& area) {
    const auto first = std::find(flags.begin(), flags.end(), true);
    const std::size_t lo = first == flags.end() ? layers.size() : std::size_t(first - flags.begin());
    const std::size_t hi = first == flags.end() ? layers.size()
                                                : flags.size() - 1 - (std::find(flags.rbegin(), flags.rend(), true) - flags.rbegin());
    const int y0 = area.top(), y1 = area.bottom() + 1;
    for (std::size_t i = 0; i < lo; ++i)
      forRows(doc, layers[i].element, layers[i].cell, m_beyond, y0, y1, [&](int y, int x, const uint32_t* s, int n) {
        blendSpan(reinterpret_cast<uint32_t*>(m_below.scanLine(y)) + x, s, n);
      });
    if (lo == layers.size())
      return;
    Region region{area, std::vector<Layer>(layers.begin() + lo, layers.begin() + hi + 1), QImage(), QPoint(), {}};
    if (!m_beyond && lo == 0 && std::all_of(flags.begin(), flags.end(), [](bool f) { return f; }))
      buildPlane(doc, region);
    m_regions.push_back(region);
    aboveLists.emplace_back(area, std::vector<Layer>(layers.begin() + hi + 1, layers.end()));
  };

  if (m_beyond) {
    addLayers(-1);
    split(QRect(QPoint(0, 0), m_size));
  } else {
    const QSize cell = doc.cellSize();
    for (int c = 0; c < cells; ++c) {
      addLayers(c);
      split(QRect(doc.cellOrigin(c), cell).intersected(QRect(QPoint(0, 0), m_size)));
    }
  }
  reduceAbove(doc, aboveLists);
}

// Two passes over the layers above: the first finds, per pixel, the last
// opaque word (under it nothing shows) and counts the translucent words over
// it; the second folds what lies on an opaque word into one fixed word and
// lists the translucent words of the other pixels.
void MoveDragView::reduceAbove(const CharacterData& doc,
                               const std::vector<std::pair<QRect, std::vector<Layer>>>& lists)
{
  const int width = m_size.width();
  const std::size_t pixels = m_aboveKind.size();
  std::vector<int> lastOpaque(pixels, -1);
  std::vector<uint32_t> count(pixels, 0);
  for (const auto& [area, above] : lists) {
    const int y0 = area.top(), y1 = area.bottom() + 1;
    for (std::size_t k = 0; k < above.size(); ++k)
      forRows(doc, above[k].element, above[k].cell, m_beyond, y0, y1, [&](int y, int x, const uint32_t* s, int n) {
        const std::size_t at = std::size_t(y) * width + x;
        for (int i = 0; i < n; ++i) {
          const uint32_t alpha = s[i] >> 24;
          if (alpha == 255) {
            lastOpaque[at + i] = int(k);
            count[at + i] = 0;
          } else if (alpha != 0) {
            ++count[at + i];
          }
        }
      });
  }

  std::size_t total = 0;
  for (std::size_t i = 0; i < pixels; ++i) {
    const bool translucent = lastOpaque[i] < 0 && count[i] > 0;
    m_aboveKind[i] = lastOpaque[i] >= 0 ? Fixed : translucent ? Translucent : Through;
    total += translucent ? count[i] : 0;
    if (total > kMaxTranslucentWords) {
      m_below = QImage();
      return;
    }
    m_aboveStart[i + 1] = static_cast<uint32_t>(total);
  }
  m_aboveWords.assign(m_aboveStart[pixels], 0);

  std::vector<uint32_t> next(m_aboveStart.begin(), m_aboveStart.end() - 1);
  for (const auto& [area, above] : lists) {
    const int y0 = area.top(), y1 = area.bottom() + 1;
    for (std::size_t k = 0; k < above.size(); ++k)
      forRows(doc, above[k].element, above[k].cell, m_beyond, y0, y1, [&](int y, int x, const uint32_t* s, int n) {
        const std::size_t at = std::size_t(y) * width + x;
        for (int i = 0; i < n; ++i) {
          const std::size_t p = at + i;
          if (m_aboveKind[p] == Fixed) {
            if (int(k) == lastOpaque[p])
              m_aboveWord[p] = s[i];
            else if (int(k) > lastOpaque[p])
              blendSpan(&m_aboveWord[p], s + i, 1);
          } else if (m_aboveKind[p] == Translucent && (s[i] >> 24) != 0) {
            m_aboveWords[next[p]++] = s[i];
          }
        }
      });
  }
}

void MoveDragView::buildPlane(const CharacterData& doc, Region& region) const
{
  qint64 left = 0, top = 0, right = 0, bottom = 0;
  bool any = false;
  for (const Layer& layer : region.middle) {
    const QImage& image = doc.image(layer.element, layer.cell);
    const QPoint& offset = doc.offset(layer.element, layer.cell);
    region.pressOffsets.push_back(offset);
    if (image.width() < 1 || image.height() < 1)
      continue;
    left = any ? std::min<qint64>(left, offset.x()) : offset.x();
    top = any ? std::min<qint64>(top, offset.y()) : offset.y();
    right = any ? std::max<qint64>(right, qint64(offset.x()) + image.width()) : qint64(offset.x()) + image.width();
    bottom = any ? std::max<qint64>(bottom, qint64(offset.y()) + image.height()) : qint64(offset.y()) + image.height();
    any = true;
  }
  // Far-flung offsets would make a plane mostly empty: compose instead.
  const qint64 cellArea = qint64(region.area.width()) * region.area.height();
  if (!any || (right - left) * (bottom - top) > std::max<qint64>(16 * cellArea, 1 << 16))
    return;
  QImage plane(int(right - left), int(bottom - top), QImage::Format_ARGB32);
  if (plane.isNull())
    return;
  plane.fill(m_below.pixel(region.area.topLeft()));
  for (const Layer& layer : region.middle) {
    const QImage& image = doc.image(layer.element, layer.cell);
    const QPoint& offset = doc.offset(layer.element, layer.cell);
    if (image.width() >= 1 && image.height() >= 1)
      blendImage(plane, int(offset.x() - left), int(offset.y() - top), image, 0, 0, image.width(), image.height());
  }
  region.plane = plane;
  region.planeAt = QPoint(int(left), int(top));
}

bool MoveDragView::planeShift(const CharacterData& doc, const Region& region, QPoint& delta) const
{
  if (region.plane.isNull())
    return false;
  for (std::size_t i = 0; i < region.middle.size(); ++i) {
    const QPoint shift = doc.offset(region.middle[i].element, region.middle[i].cell) - region.pressOffsets[i];
    if (i == 0)
      delta = shift;
    else if (shift != delta)
      return false;
  }
  return true;
}

// Only the part of the cell that the plane covers changes: the rest holds
// the background already.
void MoveDragView::copyPlane(const Region& region, const QPoint& delta, uchar* bits, qsizetype stride, int y0,
                             int y1, const QRect& clip) const
{
  const QRect& area = region.area;
  const qint64 px0 = qint64(region.planeAt.x()) + delta.x() + area.left();
  const qint64 py0 = qint64(region.planeAt.y()) + delta.y() + area.top();
  const qint64 xa = std::max<qint64>(px0, std::max(area.left(), clip.left()));
  const qint64 xb = std::min<qint64>(px0 + region.plane.width(), std::min(area.right(), clip.right()) + 1);
  const qint64 ya = std::max<qint64>(py0, y0);
  const qint64 yb = std::min<qint64>(py0 + region.plane.height(), y1);
  if (xa >= xb || ya >= yb)
    return;
  for (qint64 y = ya; y < yb; ++y) {
    const uint32_t* s = reinterpret_cast<const uint32_t*>(region.plane.constScanLine(int(y - py0))) + (xa - px0);
    uint32_t* d = reinterpret_cast<uint32_t*>(bits + y * stride) + xa;
    std::copy(s, s + (xb - xa), d);
  }
}

bool MoveDragView::matches(const CharacterData& doc) const
{
  return !m_below.isNull() && doc.size() == m_size && doc.type() == m_type && doc.elementCount() == m_elements
      && doc.drawsBeyondBorders() == m_beyond;
}

void MoveDragView::composeMiddle(const CharacterData& doc, const Region& region, uchar* bits, qsizetype stride,
                                 int y0, int y1, const QRect& clip) const
{
  const int left = clip.left(), right = clip.right() + 1;
  for (const Layer& layer : region.middle)
    forRows(doc, layer.element, layer.cell, m_beyond, y0, y1, [&](int y, int x, const uint32_t* s, int n) {
      const int from = std::max(x, left), to = std::min(x + n, right);
      if (from < to)
        blendSpan(reinterpret_cast<uint32_t*>(bits + y * stride) + from, s + (from - x), to - from);
    });
}

void MoveDragView::layAbove(const QRect& area, uchar* bits, qsizetype stride, int y0, int y1) const
{
  const int width = m_size.width();
  for (int y = y0; y < y1; ++y) {
    uint32_t* d = reinterpret_cast<uint32_t*>(bits + y * stride);
    const std::size_t row = std::size_t(y) * width;
    for (int x = area.left(); x <= area.right(); ++x) {
      const std::size_t p = row + x;
      if (m_aboveKind[p] == Fixed)
        d[x] = m_aboveWord[p];
      else if (m_aboveKind[p] == Translucent)
        for (uint32_t w = m_aboveStart[p]; w < m_aboveStart[p + 1]; ++w)
          blendSpan(d + x, &m_aboveWords[w], 1);
    }
  }
}

QImage MoveDragView::render(CharacterData& doc) const
{
  const QImage composed = sheet(doc);
  if (composed.isNull())
    return doc.renderImage(static_cast<uint32_t>(doc.backgroundPixel()));
  return finishView(doc, composed);
}

QImage MoveDragView::sheet(const CharacterData& doc, const QRect& part) const
{
  const QRect clip = part.isNull() ? QRect(QPoint(0, 0), m_size) : part.intersected(QRect(QPoint(0, 0), m_size));
  if (!matches(doc))
    return composedSheet(doc);
  QImage sheet = m_below.copy();
  if (sheet.isNull())
    return composedSheet(doc);
  uchar* bits = sheet.bits(); // detach once, before any band runs
  const qsizetype stride = sheet.bytesPerLine();

  struct Band
  {
    const Region* region;
    QRect area; // the region's area within the clip
    int y0, y1;
  };
  std::vector<Band> bands;
  qint64 work = 0;
  std::vector<QPoint> shifts(m_regions.size());
  std::vector<bool> shifted(m_regions.size());
  for (std::size_t i = 0; i < m_regions.size(); ++i) {
    shifted[i] = planeShift(doc, m_regions[i], shifts[i]);
    const QRect area = m_regions[i].area.intersected(clip);
    if (!shifted[i])
      work += qint64(m_regions[i].middle.size()) * area.width() * area.height();
  }
  // Splitting pays only when there is real work (see composeSheet).
  const int perRegion = work < 400000 ? 1 : std::max(1, 16 / int(m_regions.size()));
  for (const Region& region : m_regions) {
    const QRect area = region.area.intersected(clip);
    if (area.isEmpty())
      continue;
    const int top = area.top(), h = area.height();
    const int n = std::min(perRegion, h);
    for (int i = 0; i < n; ++i)
      bands.push_back(Band{&region, area, top + h * i / n, top + h * (i + 1) / n});
  }
  auto run = [&](const Band& band) {
    const std::size_t i = std::size_t(band.region - m_regions.data());
    if (shifted[i]) {
      copyPlane(*band.region, shifts[i], bits, stride, band.y0, band.y1, band.area);
      return;
    }
    composeMiddle(doc, *band.region, bits, stride, band.y0, band.y1, band.area);
    layAbove(band.area, bits, stride, band.y0, band.y1);
  };
  if (bands.size() > 1 && work >= 400000)
    QtConcurrent::blockingMap(bands, run);
  else
    for (const Band& band : bands)
      run(band);
  return sheet;
}
