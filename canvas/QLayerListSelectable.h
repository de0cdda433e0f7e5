#pragma once
#include "canvas/ElementListView.h"

#include <vector>

// One of the mass-save window's two lists over the same document: it shows
// the elements whose group number is its own, lets the user pick one (click,
// Up, Down) and says which; it never changes the document or the groups.
class QLayerListSelectable : public ElementListView
{
  Q_OBJECT

public:
  // The groups hold one number per element of the document; both stay the
  // owner's.
  QLayerListSelectable(CharacterData* document, std::vector<int>* groups, QWidget* parent = nullptr);
  ~QLayerListSelectable() override;

  // Shows another document, whose groups the owner has set; rebuilds the
  // thumbnails, no repaint.
  void setCharacterData(CharacterData* document);
  int group() const { return groupNumber; }
  int entryCount() const override;
  int firstRow() const { return scrollOffset; }
  // Keeps the bottom row's entry in 0 .. entries - 5; no repaint.
  void setFirstRow(int n) { setScrollOffset(n); }

  // Document index of the picked entry, -1 for none; the owner drops the
  // pick by writing -1 after moving the entry to the other list.
  int selectedIndex = -1;

signals:
  // The picked entry's document index; -1 when the list lost its last entry.
  void selected(int element);

protected:
  int entryElement(int position) const override;
  bool isEntrySelected(int element) const override;

  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  // The document indexes whose group is this list's, in increasing order.
  std::vector<int> entries() const;
  void select(int element);

  // Numbers the lists over the program's life, so no two share a group.
  static int instanceCount;

  std::vector<int>* groups;
  int groupNumber;
};
