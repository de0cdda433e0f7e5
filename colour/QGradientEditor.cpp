#include "colour/QGradientEditor.h"

#include "colour/QColorBox.h"
#include "colour/QColorPalette.h"
#include "colour/QGradientCreator.h"
#include "colour/QGradientRender.h"
#include "core/GradientFile.h"
#include "core/GradientSettings.h"
#include "core/IniSettings.h"
#include "core/SaveFile.h"
#include "widgets/Prompts.h"
#include "widgets/QLabelClickable.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The chosen file is remembered as the gradient of the next start before it
// is read or written, whatever that then gives.
QString askGradientFile(FileDialogKind kind, QWidget* parent, const char* key, const char* caption)
{
  const QString path = askInRememberedFolder(kind, parent, key, QStringLiteral("degrade/"), QString::fromUtf8(caption),
                                             QStringLiteral("Dégradé Sorvel Kit (*.skd)"))
                           .value(0);
  if (!path.isEmpty() && !path.contains(QLatin1Char('?')))
    IniSettings().setValue("Color", "degrade", path);
  return path;
}

QLabel* iconLabel(const char* icon)
{
  auto* label = new QLabel;
  label->setPixmap(QPixmap(QString::fromLatin1(icon)));
  return label;
}

template <class W>
W* named(W* widget, const char* name)
{
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

} // namespace

QGradientEditor::QGradientEditor(GradientSettings* settings, QColor color, QWidget* parent) : QDialog(parent)
{
  setWindowIcon(QIcon(QStringLiteral(":/icon/SK.png")));

  creator = new QGradientCreator(color);
  render = new QGradientRender({}, 0);
  typeBox = named(new QComboBox, "typeBox");
  typeBox->addItem(QIcon(QStringLiteral(":/icon/lgradient.png")), QStringLiteral("Dégradé linéaire"));
  typeBox->addItem(QIcon(QStringLiteral(":/icon/rgradient.png")), QStringLiteral("Dégradé radial"));
  typeBox->addItem(QIcon(QStringLiteral(":/icon/cgradient.png")), QStringLiteral("Dégradé conique"));
  spreadBox = named(new QComboBox, "spreadBox");
  spreadBox->addItem(QIcon(QStringLiteral(":/icon/normalspread.png")), QStringLiteral("Normale"));
  spreadBox->addItem(QIcon(QStringLiteral(":/icon/reflectspread.png")), QStringLiteral("Réfléchie"));
  spreadBox->addItem(QIcon(QStringLiteral(":/icon/repeatspread.png")), QStringLiteral("Répétée"));
  auto* kindRow = new QHBoxLayout;
  kindRow->addWidget(new QLabel(QStringLiteral("Type de dégradé")));
  kindRow->addWidget(typeBox);
  kindRow->addWidget(new QLabel(QStringLiteral("Type de répétition")));
  kindRow->addWidget(spreadBox);

  colorLabel = named(new QLabelClickable, "colorLabel");
  positionBox = named(new QSpinBox, "positionBox");
  positionBox->setRange(0, 100);
  positionBox->setSuffix(QStringLiteral(" %"));
  deleteButton = new QPushButton(QStringLiteral("Supprimer"));
  auto* colourForm = new QFormLayout;
  colourForm->addRow(QStringLiteral("Couleur"), colorLabel);
  auto* positionForm = new QFormLayout;
  positionForm->addRow(QStringLiteral("Position"), positionBox);
  auto* stopRow = new QHBoxLayout;
  stopRow->addLayout(colourForm);
  stopRow->addLayout(positionForm);
  stopRow->addWidget(deleteButton);

  startLabel = named(new QLabel(QStringLiteral("Début")), "startLabel");
  endLabel = named(new QLabel(QStringLiteral("Fin")), "endLabel");
  focalIcon = named(iconLabel(":/icon/pointB.png"), "focalIcon");
  focalLabel = named(new QLabel(QStringLiteral("Focale")), "focalLabel");
  auto* legend = new QHBoxLayout;
  legend->addWidget(iconLabel(":/icon/pointR.png"));
  legend->addWidget(startLabel);
  legend->addWidget(iconLabel(":/icon/pointV.png"));
  legend->addWidget(endLabel);
  legend->addWidget(focalIcon);
  legend->addWidget(focalLabel);

  auto* options = new QPushButton(QStringLiteral("Options"));
  auto* menu = new QMenu(options);
  QAction* saveAction = menu->addAction(QStringLiteral("Enregistrer le dégradé"));
  QAction* loadAction = menu->addAction(QStringLiteral("Ouvrir un dégradé"));
  menu->addSeparator();
  QAction* resetAction = menu->addAction(QStringLiteral("Restaurer la position des points"));
  QAction* destroyAllAction = menu->addAction(QStringLiteral("Supprimer tous les curseurs"));
  menu->addSeparator();
  joinAction = menu->addAction(QStringLiteral("Superposer le centre et la focale"));
  options->setMenu(menu);
  auto* validate = new QPushButton(QIcon(QStringLiteral(":/icon/ok.png")), QStringLiteral("Valider"));
  auto* cancel = new QPushButton(QIcon(QStringLiteral(":/icon/remove.png")), QStringLiteral("Annuler"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(options, 100, Qt::AlignLeft);
  buttons->addWidget(validate, 10, Qt::AlignRight);
  buttons->addWidget(cancel, 0, Qt::AlignRight);

  auto* column = new QVBoxLayout;
  column->addLayout(kindRow);
  column->addWidget(creator);
  column->addLayout(stopRow);
  column->addLayout(legend);
  column->addLayout(buttons);
  auto* top = new QHBoxLayout;
  top->addWidget(render);
  top->addLayout(column);

  for (QWidget* w : {static_cast<QWidget*>(colorLabel), static_cast<QWidget*>(positionBox),
                     static_cast<QWidget*>(deleteButton), static_cast<QWidget*>(focalIcon),
                     static_cast<QWidget*>(focalLabel)})
    w->setEnabled(false);
  joinAction->setEnabled(false);

  transparencyCheckerboard(checkerboard, QSize(75, 20), 5);
  this->settings = settings;

  // A type change reaches the view before updateJoiner.
  connect(colorLabel, &QLabelClickable::clicked, this, &QGradientEditor::updateColor);
  connect(positionBox, &QSpinBox::valueChanged, creator, &QGradientCreator::setPos);
  connect(deleteButton, &QPushButton::clicked, creator, &QGradientCreator::destroy);
  connect(destroyAllAction, &QAction::triggered, creator, &QGradientCreator::destroyAll);
  connect(creator, &QGradientCreator::changeIndex, this, &QGradientEditor::updateOption);
  connect(creator, &QGradientCreator::changeGradient, render, &QGradientRender::setGradientData);
  connect(typeBox, &QComboBox::currentIndexChanged, render, &QGradientRender::setGradientType);
  connect(typeBox, &QComboBox::currentIndexChanged, this, &QGradientEditor::updateJoiner);
  connect(resetAction, &QAction::triggered, render, &QGradientRender::reset);
  connect(joinAction, &QAction::triggered, render, &QGradientRender::join);
  connect(spreadBox, &QComboBox::currentIndexChanged, render, &QGradientRender::setSpreadType);
  connect(saveAction, &QAction::triggered, this, &QGradientEditor::save);
  connect(loadAction, &QAction::triggered, this, &QGradientEditor::load);
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  connect(validate, &QPushButton::clicked, this, &QGradientEditor::finishCG);

  if (!settings->stops.empty()) {
    creator->setGradient(settings->stops);
    typeBox->setCurrentIndex(settings->type);
    spreadBox->setCurrentIndex(settings->spread);
    render->setNormalizedPoints(settings->geometry);
  } else {
    QString path;
    IniSettings().getValue("degrade", path);
    // Nothing is shown for a remembered file that fails; the view then shows
    // the stop bar's stops rather than none.
    if (path.isEmpty() || !readGradientFile(path.toStdString()))
      render->setGradientData(creator->gradientData());
  }

  updateLabel();
  setLayout(top);
}

QGradientEditor::~QGradientEditor() = default;

void QGradientEditor::getGradient(GradientSettings* settings, bool* ok, QColor color, QString title,
                                  QWidget* parent)
{
  bool accepted = false;
  if (prompts().gradient) {
    accepted = prompts().gradient(parent, *settings, color, title);
  } else {
    QGradientEditor editor(settings, color, parent);
    editor.setWindowTitle(title);
    editor.setModal(true);
    editor.setFixedSize(editor.sizeHint());
    accepted = prompts().runDialog(editor) == QDialog::Accepted;
  }
  if (ok)
    *ok = accepted;
}

void QGradientEditor::updateJoiner(int type)
{
  joinAction->setEnabled(type == 1);
  if (type < 0 || type > 2)
    return;
  static const char* const starts[] = {"Début", "Centre", "Centre"};
  static const char* const ends[] = {"Fin", "Rayon", "Angle"};
  startLabel->setText(QString::fromUtf8(starts[type]));
  endLabel->setText(QString::fromUtf8(ends[type]));
  focalIcon->setEnabled(type == 1);
  focalLabel->setEnabled(type == 1);
  spreadBox->setEnabled(type != 2);
}

void QGradientEditor::updateLabel()
{
  QPixmap swatch(75, 20);
  swatch.fill(Qt::transparent);
  QPainter painter(&swatch);
  painter.drawImage(0, 0, checkerboard);
  painter.setBrush(QBrush(currentColor));
  painter.drawRect(0, 0, 73, 18);
  painter.end();
  colorLabel->setPixmap(swatch);
}

void QGradientEditor::updateOption(GradientData stop)
{
  if (stop.position == -1.0) {
    colorLabel->setEnabled(false);
    deleteButton->setEnabled(false);
    positionBox->setEnabled(false);
    return;
  }
  currentColor = stop.color;
  colorLabel->setEnabled(true);
  updateLabel();
  deleteButton->setEnabled(true);
  positionBox->setEnabled(true);
  // Compared as the box will show it: a stop outside 0..1 shows 0 or 100,
  // and arming ignoreNextPos for a value the box already shows would swallow
  // the user's next edit.
  const int percent = int(std::clamp(stop.position * 100.0, 0.0, 100.0));
  if (positionBox->value() == percent)
    return;
  creator->ignoreNextPos();
  positionBox->setValue(percent);
}

void QGradientEditor::updateColor()
{
  QColor chosen = currentColor;
  bool ok = false;
  QColorBox::getColor(chosen, &ok, true, QStringLiteral("Choisir une couleur"), this);
  if (!ok)
    return;
  currentColor = chosen;
  updateLabel();
  creator->setColor(chosen);
}

void QGradientEditor::finishCG()
{
  std::vector<double> geometry;
  for (const QPointF& p : render->normalizedPoints()) {
    geometry.push_back(p.x());
    geometry.push_back(p.y());
  }
  settings->geometry = geometry;
  settings->spread = uint8_t(spreadBox->currentIndex());
  settings->type = uint8_t(typeBox->currentIndex());
  settings->stops = creator->gradientData();
  accept();
}

bool QGradientEditor::readGradientFile(const std::string& path)
{
  QString error;
  const std::optional<GradientFileData> data = loadGradientFile(QString::fromStdString(path), error);
  if (!data) {
    errorMessage = error.toStdString();
    return false;
  }
  typeBox->setCurrentIndex(data->type);
  spreadBox->setCurrentIndex(data->spread);
  render->setPixelPoints(data->points);
  creator->setGradient(data->stops);
  return true;
}

bool QGradientEditor::writeGradientFile(const std::string& path, QString* reason)
{
  GradientFileData data;
  // The combos and the view's type and spread are kept in step.
  data.type = uint8_t(typeBox->currentIndex());
  data.spread = uint8_t(spreadBox->currentIndex());
  data.points = render->pixelPoints();
  data.stops = creator->gradientData();
  return saveGradientFile(QString::fromStdString(path), data, reason);
}

void QGradientEditor::load()
{
  const QString path = askGradientFile(FileDialogKind::OpenFile, this, "pathLoadDegrade", "Ouvrir un dégradé");
  if (!path.isEmpty() && !readGradientFile(path.toStdString()))
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Erreur"), QString::fromStdString(errorMessage),
                      QString());
}

void QGradientEditor::save()
{
  const QString path = askGradientFile(FileDialogKind::SaveFile, this, "pathSaveDegrade", "Sauvegarder une palette");
  QString reason;
  if (!path.isEmpty() && !writeGradientFile(path.toStdString(), &reason))
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Erreur"),
                      QStringLiteral("Impossible de sauvegarder le dégradé."), saveFailureDetail(path, reason));
}
