#pragma once
#include <QPoint>
#include <QRect>

// Where things sit in the custom-painted element lists: rows of 58 pixels
// drawn bottom-up in a strip 150 pixels wide, and a scroll bar of their own at
// x 150 to 179. The lists differ only in their height, their number of rows and
// which entries they count, so one value describes any of them.
//
// Positions are places among the list's entries (0 for the lowest); the bottom
// row shows the entry at position `first`. Every hit test takes a point
// strictly inside its rectangle: the outline belongs to no row, so the lines
// between two drop halves drop nowhere.
struct ElementListGeometry
{
  static constexpr int kRowHeight = 58;
  static constexpr int kWidth = 180;
  static constexpr int kStripWidth = 150;
  static constexpr int kMinThumb = 15;

  int height = 0; // widget height
  int rows = 0;   // rows shown
  int count = 0;  // entries
  int first = 0;  // position shown in the bottom row

  // The rows a screen of that height leaves room for, at least one.
  static int rowsForScreen(int screenHeight);
  static bool strictlyInside(const QRect& rect, const QPoint& point);

  bool hasBar() const { return count > rows; }
  int shownRows() const;
  int rowTop(int row) const { return height - kRowHeight * (row + 1); }
  QRect band(int row) const;      // highlight, thumbnail and name
  QRect hitBox(int row) const;    // clicks
  QRect upperHalf(int row) const; // drop above the row's entry
  QRect lowerHalf(int row) const; // drop below it

  // The shown row under the point (bottom row first), or -1.
  int rowAt(const QPoint& point) const;
  // The gap a moved entry would land in: position + 1 in an upper half,
  // position in a lower half; -1 off every half.
  int dropGapAt(const QPoint& point) const;

  QRect scrollBar() const;
  int thumbLength() const;
  int thumbTop() const;
  // Null (corners (0, 0) and (-1, -1)) when every entry fits.
  QRect thumb() const;
  // Pixels of thumb drag that scroll by one row.
  int thumbStep() const;
  // The first position, kept in 0 .. count - rows.
  int clampFirst(int wanted) const;
};
