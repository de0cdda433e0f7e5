#pragma once
#include "library/ElementImage.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QStringList>

#include <vector>

class QComboBox;
class QElementView;
class QLabel;
class QScrollArea;

// Walks through PNG files one by one; for each, the user clicks a
// transparency colour (left) and a translucency colour (right) on a zoomable
// view, and "Valider" appends the keyed image to the caller's list. Writes
// nothing to disk.
class QElementViewer : public QDialog
{
  Q_OBJECT

public:
  QElementViewer(const QStringList& paths, std::vector<ElementImage>* elementImages, QWidget* parent);

  // False when no path could be read: the dialog closed itself empty, and
  // running it would show a blank, untitled window.
  bool hasImage() const;

protected slots:
  void updateZoom(int index);
  void validModelIndex();
  void updateColor(const QColor& rgb, int type);

private:
  void updateTitle();
  void resetColours();

  QStringList paths;
  std::vector<ElementImage>* elementImages;
  QElementView* view = nullptr;
  QScrollArea* scrollArea = nullptr;
  QComboBox* zoomBox = nullptr;
  QLabel* transparencyLabel = nullptr;
  QLabel* translucencyLabel = nullptr;
  QImage checkerboard;
  QPixmap transparencyPixmap;
  QPixmap translucencyPixmap;
  QColor transparencyColor;
  QColor translucencyColor;
  int current = 0;
};
