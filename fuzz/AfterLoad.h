#pragma once
// What the fuzz targets and the hostile-file test run on a document that a
// reader accepted: the views, then the edits whose arithmetic reaches the
// values a file carries (offsets, sizes, zoom).
#include "model/CharacterData.h"

#include <QColor>

#include <algorithm>
#include <climits>

namespace fuzz {

// A fuzz run has about a gigabyte: a sheet or a grown cell within the side
// limit but above this area is left alone (the limit refuses larger ones
// without allocating, and those are run).
constexpr long long kLargestArea = 4096LL * 4096;
// The stroke and merge results of the whole document together: each cell
// within kLargestArea is not enough, as a document holds many cells.
constexpr long long kLargestEditArea = 2 * kLargestArea;
// The zoomed view costs the most per pixel (zoom, grid, frames); under the
// fuzzer's instrumentation a large one alone outlasts the per-input timeout.
constexpr long long kLargestViewArea = 2048LL * 2048;

struct Span
{
  long long left = LLONG_MAX, top = LLONG_MAX, right = LLONG_MIN, bottom = LLONG_MIN;

  void add(long long x, long long y, long long w, long long h)
  {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x + w);
    bottom = std::max(bottom, y + h);
  }
  // The pixels an edit allocates for the span: none when the side limit
  // refuses it without allocating.
  long long allocated() const
  {
    const long long w = right - left, h = bottom - top;
    return w > kMaxSheetSide || h > kMaxSheetSide ? 0 : w * h;
  }
};

inline void addCell(Span& span, const CharacterData& doc, int e, int c)
{
  const QImage& image = doc.image(e, c);
  span.add(doc.offset(e, c).x(), doc.offset(e, c).y(), image.width(), image.height());
}

// Whether a one-pixel stroke at the sheet's origin on every cell, and then
// merging all elements, stay within the run's memory: the grown cells all
// live on while the merged ones are built.
inline bool editsAffordable(const CharacterData& doc)
{
  long long total = 0;
  for (int c = 0; c < doc.cellCount(); ++c) {
    Span merged;
    merged.add(0, 0, 1, 1); // the stroke runs first
    for (int e = 0; e < doc.elementCount(); ++e) {
      if (c >= static_cast<int>(doc.images(e).size()) || c >= static_cast<int>(doc.offsets(e).size()))
        continue;
      addCell(merged, doc, e, c);
      Span stroked;
      addCell(stroked, doc, e, c);
      stroked.add(0, 0, 1, 1);
      total += stroked.allocated();
    }
    if (doc.elementCount() > 0)
      total += merged.allocated();
    if (total > kLargestEditArea)
      return false;
  }
  return true;
}

inline void runAfterLoad(CharacterData& doc)
{
  const qint64 area = qint64(doc.size().width()) * doc.size().height();
  if (area <= kLargestArea) {
    doc.flattenImage();
    if (area <= kLargestViewArea) {
      doc.setZoom(area * 4 <= kLargestViewArea ? 2.0 : 1.0);
      doc.selectAllCells();
      doc.renderImage(kBlankPixel);
    }
    doc.previewImages();
    doc.setDrawBeyondBorders(true);
    doc.flattenImage();
    doc.previewImages();
  }
  if (editsAffordable(doc)) {
    DrawScope scope;
    scope.scope = 2;
    for (int e = 0; e < doc.elementCount(); ++e)
      scope.elements.push_back(e);
    doc.setPen(PenSettings{1, 0, QColor(255, 0, 0)});
    doc.beginPath(scope);
    doc.addPenPoint(QPoint(0, 0));
    doc.endPath();
    doc.selectAllElements();
    doc.mergeSelectedElements();
  }
  doc.selectAllElements();
  doc.moveCells(QPoint(INT_MAX, INT_MIN));
  doc.setSize(QSize(kMaxSheetSide, kMaxSheetSide), true);
  doc.zoomedSize();
}

} // namespace fuzz
