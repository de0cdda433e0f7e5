#pragma once
#include "canvas/MovableElementList.h"

#include <QPointer>

class QMenu;

// The elements of an element file being built, lowest at the bottom. The user
// orders them by dragging a row (or with "Déplacer") and deletes the simple
// ones; the placeholder "?SK?", standing for the element a character will
// have selected when the file is added to it, shows the program's icon and
// cannot be deleted. Edits change the builder's document only: no undo step,
// no canvas.
class QLayerListELSK : public MovableElementList
{
  Q_OBJECT

public:
  // The document stays the builder's: the list never deletes it.
  explicit QLayerListELSK(CharacterData* document, QWidget* parent = nullptr);
  ~QLayerListELSK() override;

  void updateLayout() override;

  // The menu of the last right click on a row, while it is open.
  QMenu* actionsMenu() const;

signals:
  // The element just deleted, by its source read as a number (its image's
  // index in the builder's list), 0 when the source is not a number.
  void deleteElement(int source);

protected slots:
  void aSupprimer();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void popUpMenu(int element, const QPoint& globalPos) override;

private:
  bool isPlaceholder(int element) const;

  QPointer<QMenu> menu;
};
