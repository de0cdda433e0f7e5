#include "retouch/QRotateBox.h"

#include "model/CharacterData.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

QRotateBox::QRotateBox(QLayer* layer, QLayerList* layerList, QWidget* parent) : QViewBox(layer, layerList, parent)
{
  setWindowTitle(QStringLiteral("Rotation"));
  QHBoxLayout* angleRow = sliderRow(angleSpin, -180, 180, 0, QStringLiteral("°"));
  optionBox->setText(QStringLiteral("Lissage"));

  QFormLayout* form = new QFormLayout;
  form->addRow(new QLabel(QStringLiteral("Choisissez l'angle de rotation (sens horaire)")));
  form->addRow(QStringLiteral("Angle"), angleRow);
  QVBoxLayout* box = new QVBoxLayout(this);
  box->addLayout(form);
  finishLayout(box, nullptr, QStringLiteral(":/icon/rotation.png"));
}

void QRotateBox::applyOperation()
{
  const double degrees = angleSpin->value();
  character->rotateCells(degrees, optionBox->isChecked(), true);
}

void QRotateBox::updateApercu()
{
  showPreview();
}

void QRotateBox::validModif()
{
  keepResult("Rotation");
}
