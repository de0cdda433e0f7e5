#pragma once
#include "retouch/QViewBox.h"

// Scales the cells in scope by a width and a height percentage, each on its
// own; "Recentrer" keeps each cell image centred where it was.
class QResizeBox : public QViewBox
{
  Q_OBJECT

public:
  QResizeBox(QLayer* layer, QLayerList* layerList, QWidget* parent);

public slots:
  void updateApercu() override;
  void validModif() override;

private:
  // Whether the current factors keep every cell within the readers' side.
  bool fitsBound();
  void applyOperation() override;

  QSpinBox* widthSpin;
  QSpinBox* heightSpin;
  QCheckBox* recenterBox;
};
