#pragma once
#include "retouch/QViewBox.h"

// Turns the cells in scope by whole degrees, clockwise for positive angles.
class QRotateBox : public QViewBox
{
  Q_OBJECT

public:
  QRotateBox(QLayer* layer, QLayerList* layerList, QWidget* parent);

public slots:
  void updateApercu() override;
  void validModif() override;

private:
  void applyOperation() override;

  QSpinBox* angleSpin;
};
