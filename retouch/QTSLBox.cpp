#include "retouch/QTSLBox.h"

#include "core/TslShift.h"
#include "model/CharacterData.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

QTSLBox::QTSLBox(QLayer* layer, QLayerList* layerList, QWidget* parent) : QViewBox(layer, layerList, parent)
{
  setWindowTitle(QStringLiteral("Coloration"));
  QVBoxLayout* box = new QVBoxLayout(this);
  auto addRow = [this, box](const QString& text, QSpinBox*& spin, int range) {
    QHBoxLayout* row = sliderRow(spin, -range, range, 0, QString());
    QLabel* label = new QLabel(text);
    label->setFixedWidth(75);
    row->insertWidget(0, label);
    box->addLayout(row);
  };
  addRow(QStringLiteral("Teinte"), hueSpin, 180);
  addRow(QStringLiteral("Saturation"), saturationSpin, 100);
  addRow(QStringLiteral("Luminosité"), lightnessSpin, 100);
  optionBox->setText(QStringLiteral("Redéfinir"));
  optionBox->setToolTip(QStringLiteral("Assigne une même teinte"));

  finishLayout(box, nullptr, QStringLiteral(":/icon/cerclechrom.png"));
}

void QTSLBox::applyOperation()
{
  TslShift shift;
  shift.hue = float(hueSpin->value());
  shift.saturation = float(saturationSpin->value());
  shift.lightness = float(lightnessSpin->value());
  character->changeColoration(shift, optionBox->isChecked(), true);
}

void QTSLBox::updateApercu()
{
  showPreview();
}

void QTSLBox::validModif()
{
  keepResult("Changement de coloration");
}
