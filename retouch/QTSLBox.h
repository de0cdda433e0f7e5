#pragma once
#include "retouch/QViewBox.h"

// Recolours the cells in scope: shifts the hue, or sets one hue for all
// ("Redéfinir"), and moves saturation and lightness by a percentage.
class QTSLBox : public QViewBox
{
  Q_OBJECT

public:
  QTSLBox(QLayer* layer, QLayerList* layerList, QWidget* parent);

public slots:
  void updateApercu() override;
  void validModif() override;

private:
  void applyOperation() override;

  QSpinBox* hueSpin;
  QSpinBox* saturationSpin;
  QSpinBox* lightnessSpin;
};
