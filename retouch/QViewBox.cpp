#include "retouch/QViewBox.h"

#include "canvas/QLayer.h"
#include "model/CharacterData.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

QViewBox::QViewBox(QLayer* layer, QLayerList* layerList, QWidget* parent)
    : QDialog(parent), layer(layer), character(layer->characterData()), layerList(layerList), done(false)
{
  setModal(true);
  setAttribute(Qt::WA_DeleteOnClose);
  character->saveSnapshot();

  apercuBox = new QCheckBox(QStringLiteral("Apercu"));
  apercuBox->setChecked(true);
  optionBox = new QCheckBox;
  validButton = new QPushButton(QIcon(QStringLiteral(":/icon/ok.png")), QStringLiteral("Valider"));
  cancelButton = new QPushButton(QIcon(QStringLiteral(":/icon/remove.png")), QStringLiteral("Annuler"));
  previewTimer = new QTimer(this);
  previewTimer->setSingleShot(true);
  previewTimer->setInterval(0);
  connect(previewTimer, &QTimer::timeout, this, &QViewBox::runPreview);

  connect(validButton, &QPushButton::clicked, this, &QViewBox::validModif);
  connect(cancelButton, &QPushButton::clicked, this, &QViewBox::cancelModif);
  connect(apercuBox, &QCheckBox::toggled, this, &QViewBox::changeApercu);
  connect(optionBox, &QCheckBox::toggled, this, &QViewBox::updateApercu);
}

void QViewBox::changeApercu(bool new_apercu)
{
  if (new_apercu) {
    updateApercu();
    return;
  }
  previewTimer->stop();
  character->restoreSnapshot();
  layer->refresh();
}

void QViewBox::restoreDocument()
{
  if (done)
    return;
  previewTimer->stop();
  character->restoreSnapshot();
  character->clearSnapshot();
  layer->refresh();
  done = true;
}

void QViewBox::cancelModif()
{
  restoreDocument();
  close();
}

void QViewBox::reject()
{
  cancelModif();
}

void QViewBox::showPreview()
{
  if (apercuBox->isChecked())
    previewTimer->start();
}

void QViewBox::runPreview()
{
  if (!apercuBox->isChecked())
    return;
  applyOperation();
  layer->refresh();
}

// "Apercu" off or on, the current values are applied: the result is what
// their preview shows.
void QViewBox::keepResult(const char* label)
{
  previewTimer->stop();
  applyOperation();
  layer->recordEdit(label);
  finishModif();
}

void QViewBox::finishModif()
{
  character->clearSnapshot();
  done = true;
  close();
}

void QViewBox::closeEvent(QCloseEvent* event)
{
  restoreDocument();
  event->accept();
  // Hand the keyboard back to the window the dialog blocked, also where no
  // window manager does it, so its shortcuts answer at once.
  if (QWidget* owner = parentWidget())
    owner->activateWindow();
}

QHBoxLayout* QViewBox::sliderRow(QSpinBox*& spin, int minimum, int maximum, int start, const QString& suffix)
{
  QSlider* slider = new QSlider(Qt::Horizontal);
  slider->setRange(minimum, maximum);
  slider->setValue(start);
  slider->setFixedWidth(200);
  spin = new QSpinBox;
  spin->setRange(minimum, maximum);
  spin->setValue(start);
  spin->setSuffix(suffix);
  connect(slider, &QSlider::valueChanged, spin, &QSpinBox::setValue);
  connect(spin, &QSpinBox::valueChanged, slider, &QSlider::setValue);
  connect(spin, &QSpinBox::valueChanged, this, &QViewBox::updateApercu);

  QHBoxLayout* row = new QHBoxLayout;
  row->addWidget(slider);
  row->addWidget(spin);
  return row;
}

void QViewBox::finishLayout(QVBoxLayout* box, QWidget* extraOption, const QString& icon)
{
  QHBoxLayout* options = new QHBoxLayout;
  options->addWidget(optionBox);
  if (extraOption)
    options->addWidget(extraOption);
  options->addWidget(apercuBox);
  QHBoxLayout* buttons = new QHBoxLayout;
  buttons->addWidget(validButton, 10, Qt::AlignRight);
  buttons->addWidget(cancelButton, 0, Qt::AlignRight);
  box->addLayout(options);
  box->addLayout(buttons);
  setFixedSize(sizeHint());
  setWindowIcon(QIcon(icon));
}
