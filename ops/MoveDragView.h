#pragma once
// The view of a document while the cells of its selection scope are dragged.
//
// A full render composes every element at every step, too slow for a drag
// over a few hundred elements. Here what lies under the moving cell images is
// composed once; what lies over them is reduced once, pixel by pixel, to what
// it does to whatever is below (nothing, a fixed word, or a short list of
// translucent words to lay again); each step composes only the moving images
// and the elements between them. The blend rounds, so layers cannot be
// grouped in advance: the reduction keeps the exact order and gives the same
// words as renderImage.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <utility>
#include <vector>

class CharacterData;

class MoveDragView
{
public:
  // Takes the document as it is when the drag starts; the cells that move are
  // those of the selection scope (as moveCells sees them). The document is
  // only read.
  explicit MoveDragView(CharacterData& doc);

  // The view of the document with the moving cells at their current offsets,
  // kept as its last render like renderImage(background). A document whose
  // elements, size, layout or border mode changed since the start is rendered
  // in full.
  QImage render(CharacterData& doc) const;
  // The same before the zoom, grid and frames: the sheet as composedSheet
  // gives it, which a view scales where it is seen; with a part (sheet
  // pixels), right only within it, at the cost of its pixels. The last render
  // is left alone.
  QImage sheet(const CharacterData& doc, const QRect& part = QRect()) const;

private:
  struct Layer
  {
    int element;
    int cell;
  };
  // An area of the sheet that only its own layers reach: one cell, or the
  // whole sheet when images may cross cell borders.
  struct Region
  {
    QRect area;
    std::vector<Layer> middle; // recomposed at each step, in order
    // When every layer of a cell moves, the cell is a window onto one picture
    // of them all, composed once: the plane, its corner relative to the cell,
    // and each layer's offset at the press.
    QImage plane;
    QPoint planeAt;
    std::vector<QPoint> pressOffsets;
  };

  bool matches(const CharacterData& doc) const;
  void reduceAbove(const CharacterData& doc, const std::vector<std::pair<QRect, std::vector<Layer>>>& lists);
  // Each writes only the rows y0..y1-1 of the sheet's words, so bands run
  // side by side.
  void composeMiddle(const CharacterData& doc, const Region& region, uchar* bits, qsizetype stride, int y0,
                     int y1, const QRect& clip) const;
  void layAbove(const QRect& area, uchar* bits, qsizetype stride, int y0, int y1) const;
  void buildPlane(const CharacterData& doc, Region& region) const;
  // The common shift of the region's layers since the press, or false when
  // they no longer moved together.
  bool planeShift(const CharacterData& doc, const Region& region, QPoint& delta) const;
  void copyPlane(const Region& region, const QPoint& delta, uchar* bits, qsizetype stride, int y0, int y1,
                 const QRect& clip) const;

  QSize m_size;
  int m_type = 0;
  int m_elements = 0;
  bool m_beyond = false;
  QImage m_below;                // the background and every layer under the moving ones
  std::vector<Region> m_regions; // only those where something moves

  // What the layers over the moving ones do, per sheet pixel (row-major).
  enum : uint8_t { Through = 0, Fixed = 1, Translucent = 2 };
  std::vector<uint8_t> m_aboveKind;
  std::vector<uint32_t> m_aboveWord;  // the Fixed result
  std::vector<uint32_t> m_aboveStart; // Translucent: words [start[i], start[i + 1])
  std::vector<uint32_t> m_aboveWords;
};
