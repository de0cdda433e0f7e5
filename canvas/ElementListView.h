#pragma once
#include "canvas/ElementListGeometry.h"

#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <vector>

class CharacterData;
class QPainter;

// What the element lists have in common: entries of a document drawn bottom-up
// with their thumbnail, name and hidden mark, the blue band of the selected
// ones, and a scroll bar of their own with hover feedback, thumb dragging and
// wheel scrolling. The subclasses decide which entries they show, which are
// selected, and what clicks, keys and menus do.
class ElementListView : public QWidget
{
  Q_OBJECT

public:
  // The widget is 180 pixels wide and tall enough for the rows.
  ElementListView(CharacterData* document, int rows, QWidget* parent);
  ~ElementListView() override;

  CharacterData* characterData() const { return character; }
  int rowCount() const { return nbreVertical; }
  int scrollPosition() const { return scrollOffset; }
  const std::vector<QPixmap>& thumbnailPixmaps() const { return thumbnails; }
  ElementListGeometry listGeometry() const;

  QRect scrollBarRect() const;
  // Null when every entry fits.
  QRect thumbRect() const;
  // Keeps the bottom row's position in 0 .. entries - rows; no repaint.
  void setScrollOffset(int first);
  // Rebuilds the thumbnails from the document; no repaint.
  virtual void updateLayout();

protected:
  // The entries shown, in order; by default every element of the document.
  virtual int entryCount() const;
  virtual int entryElement(int position) const;
  virtual bool isEntrySelected(int element) const;

  // A press on the scroll bar: one row up or down beside the thumb, or the
  // start of a thumb drag. False when the point is not on a working bar.
  bool pressScrollBar(const QPoint& point);
  // Hover of the bar and the thumb; repaints only when either changed.
  void trackHover(const QPoint& point);
  // Scrolls by whole rows while the thumb is dragged.
  void dragThumb(const QPoint& point);

  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

  static void preparePainter(QPainter& painter);
  static void paintEmpty(QPainter& painter);
  // The shown rows; the hidden mark's rectangle starts at invisibleLeft.
  void paintRows(QPainter& painter, int invisibleLeft) const;
  void paintScrollBar(QPainter& painter) const;

  int nbreVertical;
  int listHeight;
  CharacterData* character;
  std::vector<QPixmap> thumbnails;
  QPixmap upPixmap;
  QPixmap downPixmap;
  int scrollOffset = 0;
  bool thumbHover = false;
  bool barHover = false;
  bool barHoverDrawn = false;
  bool thumbHoverDrawn = false;
  bool thumbDrag = false;
  QPoint thumbDragStart;
};
