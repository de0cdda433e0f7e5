#include "retouch/QRotateBox.h"

#include "model/CharacterData.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
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
  QHBoxLayout* options = new QHBoxLayout;
  options->addWidget(optionBox);
  options->addWidget(apercuBox);
  QVBoxLayout* box = new QVBoxLayout(this);
  box->addLayout(form);
  box->addLayout(options);
  box->addLayout(buttonRow());
  setFixedSize(sizeHint());
  setWindowIcon(QIcon(QStringLiteral(":/icon/rotation.png")));
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
