#pragma once
#include "canvas/MovableElementList.h"

#include <QPointer>

#include <string>

class ClipBoard;
class QCheckBox;
class QDialog;
class QLayer;
class QLineEdit;
class QPushButton;

// The "Eléments" dock: the elements of the active character, lowest at the
// bottom. Selects with the mouse (Ctrl, Shift) and the keys, moves an element
// by dragging it, and edits the element list through its "Actions" menu,
// recording each edit as an undo step of the canvas.
class QLayerList : public MovableElementList
{
  Q_OBJECT

public:
  // The clipboard is the address of the main window's clipboard pointer: a
  // copy replaces the object it holds.
  QLayerList(CharacterData* document, ClipBoard** clipboard, QWidget* parent = nullptr);
  ~QLayerList() override;

  // Shows another document (never deleted by the list) and rebuilds the
  // thumbnails; no repaint.
  void setCharacterData(CharacterData* document);
  // The canvas of the document; without one, nothing that records an undo
  // step or redraws a canvas runs.
  void setLayer(QLayer* canvas);
  void refresh();
  // Elements were added, removed, reordered or redrawn: the rows and their
  // thumbnails are rebuilt, the first row shown clamped to what remains.
  void elementsChanged();
  void showPropertiesDialog();

public slots:
  void aCut();
  void aCopier();
  void aColler();
  void aDoubler();
  void aDeselect();
  void aSupprimer();
  void aCacher();
  void changeProperties();
  void aProperty();
  void aSorvel();
  void aSorvelSelection();
  void aAddElement();
  void updateButtonEnable(QString text);
  void setNbreVertical(int rows);

protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool dragStartsMove() const override;
  void commitMove() override;
  void elementMoved() override;
  void popUpMenu(int element, const QPoint& globalPos) override;

private:
  void selectByClick(int element, bool ctrl, bool shift);
  bool askDelete();
  // Shows the limit warning when adding that many elements would pass it.
  bool refusedByLimit(int added);
  void showMergeRefusal();
  int firstSelected() const;
  // A first selected element that exists.
  bool hasFirstSelected() const;
  void pushStep(const std::string& label);

  QLayer* layer = nullptr;
  bool shiftDown = false;
  bool ctrlDown = false;
  // The widgets of the open properties dialog, which deletes itself on close.
  QPointer<QLineEdit> nameEdit;
  QPointer<QCheckBox> hideBox;
  QPointer<QDialog> propertiesDialog;
  QPointer<QPushButton> validateButton;
  ClipBoard** clipboard;
};
