#include "retouch/QResizeBox.h"

#include "model/CharacterData.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

QResizeBox::QResizeBox(QLayer* layer, QLayerList* layerList, QWidget* parent) : QViewBox(layer, layerList, parent)
{
  setWindowTitle(QStringLiteral("Redimension"));
  const QString percent = QStringLiteral(" %");
  QHBoxLayout* widthRow = sliderRow(widthSpin, 25, 200, 100, percent);
  QHBoxLayout* heightRow = sliderRow(heightSpin, 25, 200, 100, percent);
  optionBox->setText(QStringLiteral("Lissage"));
  recenterBox = new QCheckBox(QStringLiteral("Recentrer"));
  recenterBox->setChecked(true);

  QFormLayout* form = new QFormLayout;
  form->addRow(QStringLiteral("Largeur"), widthRow);
  form->addRow(QStringLiteral("Hauteur"), heightRow);
  QVBoxLayout* box = new QVBoxLayout(this);
  box->addLayout(form);
  finishLayout(box, recenterBox, QStringLiteral(":/icon/redimension.png"));

  connect(recenterBox, &QCheckBox::toggled, this, &QResizeBox::updateApercu);
}

void QResizeBox::applyOperation()
{
  const double sx = widthSpin->value() / 100.0;
  const double sy = heightSpin->value() / 100.0;
  character->resizeCells(sx, sy, recenterBox->isChecked(), optionBox->isChecked(), true);
}

void QResizeBox::updateApercu()
{
  showPreview();
}

void QResizeBox::validModif()
{
  keepResult("Redimension");
}
