#pragma once
#include "canvas/ElementListView.h"

// An element list whose rows the user reorders: dragging the selected row, or
// "Déplacer" from its menu, shows a drop mark between two rows, and releasing
// the button moves the element there. The subclasses say what a right click
// offers and what else a move changes. The rows are drawn here, with the
// drop mark over them.
class MovableElementList : public ElementListView
{
  Q_OBJECT

public:
  // The hidden mark's rectangle of each row starts at invisibleLeft.
  MovableElementList(CharacterData* document, int rows, int invisibleLeft, QWidget* parent);
  ~MovableElementList() override;

  int dropPosition() const { return dropRow; }
  bool isMoving() const { return moveMode; }

public slots:
  // Starts a move from the row under the last right click.
  void aMove();

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

  // Whether a drag from the pressed row may start a move now.
  virtual bool dragStartsMove() const { return true; }
  // Moves the single selected element to the drop mark, when that changes
  // the order.
  virtual void commitMove();
  // The element was just moved, before the thumbnails are rebuilt.
  virtual void elementMoved() {}
  // A right click on a row, once that row is selected.
  virtual void popUpMenu(int element, const QPoint& globalPos) = 0;

  void startMoveMode();

  const int invisibleLeft;
  QPixmap movingPixmap;
  int dropRow = -1;
  bool moveMode = false;
  bool pressArmed = false;
  QPoint pressPos;
  QPoint menuPos;
};
