#include "retouch/QResizeBox.h"

#include "model/CharacterData.h"
#include "ops/ResizeBound.h"
#include "widgets/Prompts.h"

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

bool QResizeBox::fitsBound()
{
  return resizeKeepsCellsReadable(*character, widthSpin->value() / 100.0, heightSpin->value() / 100.0, true);
}

// Cells past the bound could be neither saved nor opened again: their
// preview shows the character as it was.
void QResizeBox::applyOperation()
{
  if (!fitsBound()) {
    character->restoreSnapshot();
    return;
  }
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
  if (!fitsBound()) {
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Erreur"),
                      QStringLiteral("La taille obtenue dépasserait %1 pixels.").arg(kMaxSheetSide), QString());
    return;
  }
  keepResult("Redimension");
}
