#include "app/QNewCharacter.h"

#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "core/PathUtils.h"
#include "model/CharacterData.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

int QNewCharacter::untitledCount = 0;

namespace {

const QString kGreenMessage = QStringLiteral("<font color=\"#009900\">Choisissez les paramètres et validez.</font>");
const QString kRedMessage = QStringLiteral("<font color=\"#FF0000\">Le nom ne doit pas être vide.</font>");

struct Limits
{
  int minimum;
  int maximum;
  int step;
  int value;
};

// XP sheets are 4 cells wide, VX sheets 3; both are 4 cells high.
Limits widthLimits(int type)
{
  return type == VX ? Limits{48, 384, 3, 96} : Limits{64, 512, 4, 128};
}

Limits heightLimits(int type)
{
  return type == VX ? Limits{64, 512, 4, 128} : Limits{64, 512, 4, 192};
}

QSpinBox* sizeBox(const Limits& limits, int given)
{
  QSpinBox* box = new QSpinBox;
  box->setRange(limits.minimum, limits.maximum);
  box->setSingleStep(limits.step);
  box->setValue(limits.value);
  if (given > 0)
    box->setValue(given);
  box->setSuffix(QStringLiteral(" pixels"));
  return box;
}

} // namespace

QNewCharacter::QNewCharacter(int type, QWidget* parent, const QString& name, bool editMode,
                             QScrollLayer* scrollLayer, int width, int height)
  : QDialog(parent)
{
  setWindowIcon(QIcon(type == VX ? QStringLiteral(":/icon/newVX.png") : QStringLiteral(":/icon/newXP.png")));
  if (editMode)
    setWindowTitle(QStringLiteral("Editer le character"));
  else if (type == VX)
    setWindowTitle(QStringLiteral("Nouveau character (RPG Maker VX)"));
  else
    setWindowTitle(QStringLiteral("Nouveau character (RPG Maker XP)"));

  this->type = type;
  setModal(true);
  // Nobody keeps a pointer to it once shown.
  setAttribute(Qt::WA_DeleteOnClose);
  this->editMode = editMode;
  this->scrollLayer = scrollLayer;

  messageLabel = new QLabel(kGreenMessage);
  nameEdit = new QLineEdit(name.isEmpty() ? QStringLiteral("Sans titre ") + QString::number(untitledCount + 1) : name);
  nameEdit->selectAll();

  // Both sizes count: a single given size would pair with an unrelated default.
  const bool sizeGiven = width > 0 && height > 0;
  widthBox = sizeBox(widthLimits(type), sizeGiven ? width : 0);
  heightBox = sizeBox(heightLimits(type), sizeGiven ? height : 0);

  cellWidthLabel = new QLabel(QStringLiteral("Largeur d'une cellule : "));
  cellHeightLabel = new QLabel(QStringLiteral("Hauteur d'une cellule : "));
  changeValue(0);

  QFormLayout* form = new QFormLayout;
  form->addRow(QStringLiteral("Nom"), nameEdit);
  form->addRow(QStringLiteral("Largeur"), widthBox);
  form->addRow(QStringLiteral("Hauteur"), heightBox);

  QGroupBox* info = new QGroupBox(QStringLiteral("Informations"));
  QVBoxLayout* infoLayout = new QVBoxLayout(info);
  infoLayout->addWidget(cellWidthLabel);
  infoLayout->addWidget(cellHeightLabel);

  validButton = new QPushButton(QIcon(QStringLiteral(":/icon/ok.png")), QStringLiteral("Valider"));
  QPushButton* cancelButton = new QPushButton(QIcon(QStringLiteral(":/icon/remove.png")), QStringLiteral("Annuler"));
  QHBoxLayout* buttons = new QHBoxLayout;
  buttons->addWidget(validButton, 10, Qt::AlignRight);
  buttons->addWidget(cancelButton, 0, Qt::AlignRight);

  QVBoxLayout* column = new QVBoxLayout(this);
  column->addWidget(messageLabel);
  column->addLayout(form);
  column->addWidget(info);
  column->addLayout(buttons);
  setMinimumSize(500, 197);

  connect(widthBox, &QSpinBox::valueChanged, this, &QNewCharacter::changeValue);
  connect(heightBox, &QSpinBox::valueChanged, this, &QNewCharacter::changeValue);
  connect(cancelButton, &QPushButton::clicked, this, &QNewCharacter::close);
  connect(validButton, &QPushButton::clicked, this, &QNewCharacter::create);
  connect(nameEdit, &QLineEdit::textChanged, this, &QNewCharacter::activeButton);
}

QNewCharacter::~QNewCharacter() = default;

QSize QNewCharacter::roundedSize() const
{
  const int width = widthBox->value();
  const int height = heightBox->value();
  return QSize(width - width % widthLimits(type).step, height - height % heightLimits(type).step);
}

void QNewCharacter::changeValue(int)
{
  const QSize size = roundedSize();
  const int columns = type == VX ? 3 : 4;
  cellWidthLabel->setText(QStringLiteral("Largeur d'une cellule : ") + QString::number(size.width() / columns)
                          + QStringLiteral(" pixels."));
  cellHeightLabel->setText(QStringLiteral("Hauteur d'une cellule : ") + QString::number(size.height() / 4)
                           + QStringLiteral(" pixels."));
}

void QNewCharacter::activeButton()
{
  const bool named = !nameEdit->text().trimmed().isEmpty();
  validButton->setEnabled(named);
  messageLabel->setText(named ? kGreenMessage : kRedMessage);
}

void QNewCharacter::create()
{
  const QSize size = roundedSize();
  if (!editMode) {
    emit validNewChar(nameEdit->text(), size.width(), size.height(), type);
    ++untitledCount;
    close();
    return;
  }

  QLayer* canvas = scrollLayer ? qobject_cast<QLayer*>(scrollLayer->widget()) : nullptr;
  if (canvas) {
    scrollLayer->setWindowTitle(windowTitleEscaped(nameEdit->text()));
    canvas->setName(nameEdit->text());
    CharacterData* document = canvas->characterData();
    document->setSize(size, true);
    canvas->recordEdit("Changement de la taille des cellules");
    canvas->resize(canvas->viewSize());
  }
  close();
}
