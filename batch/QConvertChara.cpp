#include "batch/QConvertChara.h"

#include "batch/ConversionPrediction.h"
#include "batch/Converter.h"
#include "core/PathUtils.h"
#include "widgets/EscapeCancels.h"
#include "widgets/Prompts.h"
#include "widgets/QComboWidget.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString kTitle = QStringLiteral("Conversion");

QPushButton* rightButton(QHBoxLayout* row, const QString& text, const char* icon, int stretch = 0)
{
  auto* button = new QPushButton(text);
  if (icon)
    button->setIcon(QIcon(QString::fromLatin1(icon)));
  row->addWidget(button, stretch, Qt::AlignRight);
  return button;
}

QString listed(const QString& heading, const QStringList& paths)
{
  return heading + paths.join(QStringLiteral("\n- "));
}

} // namespace

QConvertChara::QConvertChara()
{
  setWindowTitle(tr("Convertion de characters - Etape 1", "Titre de fenêtre"));
  setWindowIcon(QIcon(QStringLiteral(":/icon/conversionMode.png")));
  auto* layout = new QVBoxLayout(this);
  // Made in the layout's order, so that Tab goes from the choices to "Suivant".
  filesRadio = new QRadioButton(tr("Convertir un ou plusieurs characters.", "Bouton radio"));
  folderRadio = new QRadioButton(tr("Convertir l'ensemble des characters d'un dossier.", "Bouton radio"));
  filesRadio->setChecked(true);
  layout->addWidget(filesRadio);
  layout->addWidget(folderRadio);
  auto* row = new QHBoxLayout;
  QPushButton* next = rightButton(row, tr("Suivant", "Bouton"), ":/icon/suivant.png", 10);
  next->setDefault(true);
  QPushButton* cancel = rightButton(row, tr("Annuler", "Bouton"), ":/icon/remove.png");
  layout->addLayout(row);
  connect(next, &QPushButton::clicked, this, &QConvertChara::convertWindow);
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  EscapeCancels::install(this, cancel);
  setFixedSize(sizeHint());
}

QConvertChara::~QConvertChara()
{
  // A step-3 window takes its worker with it, whose destructor waits for the run.
  delete stepWindow;
}

void QConvertChara::buildOutputNames(QStringList& replaced, const QStringList& files, quint8 filesMode,
                                     quint8 direction, qint8 characterCount)
{
  ConversionPrediction::buildOutputNames(replaced, files, filesMode, direction, characterCount);
}

void QConvertChara::predictOutputName(const QString& path, quint8 direction, QString* result, qint8 characterCount)
{
  ConversionPrediction::predictOutputName(path, direction, result, characterCount);
}

void QConvertChara::convertWindow()
{
  auto* window = new QDialog(this);
  stepWindow = window;
  window->setWindowTitle(QStringLiteral("Convertion de characters - Etape 2"));
  window->setModal(true);
  auto* layout = new QVBoxLayout(window);

  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(new QLabel(filesRadio->isChecked() ? QStringLiteral("Character(s) à convertir :")
                                                        : QStringLiteral("Dossier à convertir :")));
  pathEdit = new QLineEdit;
  pathEdit->setReadOnly(true);
  pathEdit->setMinimumWidth(300);
  pathRow->addWidget(pathEdit);
  auto* browse = new QPushButton(QStringLiteral("Parcourir"));
  pathRow->addWidget(browse);
  layout->addLayout(pathRow);

  auto* directionRow = new QHBoxLayout;
  directionRow->addWidget(new QLabel(QStringLiteral("Sens de conversion :")));
  directionCombo = new QComboBox;
  directionCombo->addItems({QStringLiteral("RPG Maker 2003 -> RPG Maker XP"),
                            QStringLiteral("RPG Maker 2003 -> RPG Maker VX"),
                            QStringLiteral("RPG Maker XP -> RPG Maker 2003"),
                            QStringLiteral("RPG Maker XP -> RPG Maker VX"),
                            QStringLiteral("RPG Maker VX -> RPG Maker 2003"),
                            QStringLiteral("RPG Maker VX -> RPG Maker XP")});
  directionRow->addWidget(directionCombo);
  layout->addLayout(directionRow);

  auto* buttonRow = new QHBoxLayout;
  QPushButton* previous = rightButton(buttonRow, QStringLiteral("Précédent"), ":/icon/previous.png", 10);
  nextButton = rightButton(buttonRow, QStringLiteral("Suivant"), ":/icon/suivant.png");
  nextButton->setEnabled(false);
  nextButton->setDefault(true);
  QPushButton* cancel = rightButton(buttonRow, QStringLiteral("Annuler"), ":/icon/remove.png");
  layout->addLayout(buttonRow);

  connect(previous, &QPushButton::clicked, window, &QDialog::close);
  connect(browse, &QPushButton::clicked, this, &QConvertChara::searchFileNames);
  connect(nextButton, &QPushButton::clicked, this, &QConvertChara::convert);
  connect(cancel, &QPushButton::clicked, this, &QConvertChara::closeAll);
  window->setFixedSize(window->sizeHint());
  window->show();
}

void QConvertChara::closeAll()
{
  if (stepWindow)
    stepWindow->close();
  close();
}

void QConvertChara::searchFileNames()
{
  const bool filesMode = filesRadio->isChecked();
  const QStringList chosen =
      filesMode ? askInRememberedFolder(FileDialogKind::OpenFiles, stepWindow, "pathSelectCharactersConvert",
                                        QDir::homePath(), QStringLiteral("Choisir les fichiers à convertir"),
                                        QStringLiteral("Images (*.png)"))
                : askInRememberedFolder(FileDialogKind::Folder, stepWindow, "pathSelectDirectoryCharacterConvert",
                                        QDir::homePath(), QStringLiteral("Choisir le dossier à convertir"));
  if (chosen.isEmpty())
    return;
  files = chosen;
  nextButton->setEnabled(!files.isEmpty());
  QStringList shown;
  if (filesMode) {
    for (const QString& path : files)
      shown << pathFileName(path);
  } else {
    shown << files.first();
  }
  pathEdit->setText(shown.join(QStringLiteral(", ")));
}

void QConvertChara::convert()
{
  const quint8 direction = quint8(directionCombo->currentIndex());
  const quint8 sourceKind = filesRadio->isChecked() ? 1 : 0;
  int count = 0;
  if (direction == FromVxTo2003 || direction == FromVxToXp) {
    count = askCharacterCount(stepWindow);
    if (count == -1)
      return;
  }
  QStringList replaced;
  buildOutputNames(replaced, files, sourceKind, direction, qint8(count));
  if (!replaced.isEmpty()) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Fichiers remplacés"),
                    QStringLiteral("Plusieurs fichiers seront remplacés (et ainsi supprimés définitivement) par les "
                                   "nouveaux characters convertis."),
                    QMessageBox::Apply | QMessageBox::Cancel, stepWindow);
    box.setDetailedText(
        listed(QStringLiteral("Liste des fichiers qui seront remplacés après l'enregistrement :\n- "), replaced));
    if (prompts().runMessageBox(box) != QMessageBox::Apply)
      return;
  }
  stepWindow->close();

  auto* window = new QDialog(this);
  window->move(pos() + QPoint(30, 30));
  window->setWindowTitle(QStringLiteral("Convertion de characters - Etape 3"));
  auto* layout = new QVBoxLayout(window);
  auto* label = new QLabel;
  label->setTextFormat(Qt::PlainText); // paths are shown as they are
  auto* bar = new QProgressBar;
  bar->setRange(0, 100);
  bar->setValue(0);
  layout->addWidget(label);
  layout->addWidget(bar);
  stepWindow = window;
  progressBar = bar;
  infoLabel = label;
  window->show();

  // Each run reports to its own window, whatever step window came after it;
  // the window as context delivers the reports on this thread.
  auto* worker = new Converter(files, sourceKind, direction, window, quint8(count));
  auto unwritten = std::make_shared<QStringList>();
  connect(worker, &Converter::changeProgress, window,
          [this, bar, label](uint value, const QString& info) { showProgress(bar, label, value, info); });
  connect(worker, &Converter::unwrittenFiles, window, [unwritten](const QStringList& paths) { *unwritten = paths; });
  connect(worker, &Converter::finishThread, window,
          [this, window, bar, label, unwritten](const QStringList& info, const QString& infoDir) {
            showReport(window, bar, label, info, *unwritten, infoDir);
          });
  connect(worker, &Converter::fatalError, window, [this, window](const QString& error) { showFatal(window, error); });
  worker->start();
}

void QConvertChara::fatalError(const QString& error)
{
  showFatal(stepWindow, error);
}

void QConvertChara::setAvancement(uint value, const QString& info)
{
  showProgress(progressBar, infoLabel, value, info);
}

void QConvertChara::setConclusion(const QStringList& info, const QString& infoDir)
{
  showReport(stepWindow, progressBar, infoLabel, info, QStringList(), infoDir);
}

void QConvertChara::showProgress(QProgressBar* bar, QLabel* label, uint value, const QString& info)
{
  if (!bar)
    return;
  bar->setValue(int(value));
  label->setText(info);
}

void QConvertChara::showReport(QDialog* window, QProgressBar* bar, QLabel* label, const QStringList& failed,
                               const QStringList& unwritten, const QString& infoDir)
{
  showProgress(bar, label, 100, QStringLiteral("Conversion(s) finie(s)"));
  if (!failed.isEmpty())
    prompts().message(this, QMessageBox::Warning, kTitle, QStringLiteral("Certains fichiers n'ont pas pu être ouverts"),
                      listed(QStringLiteral("Fichiers qui n'ont pas pu être ouverts :\n- "), failed));
  if (!unwritten.isEmpty())
    prompts().message(this, QMessageBox::Warning, kTitle,
                      QStringLiteral("Certains fichiers n'ont pas pu être enregistrés"),
                      listed(QStringLiteral("Fichiers qui n'ont pas pu être enregistrés :\n- "), unwritten));
  prompts().message(this, QMessageBox::Information, kTitle,
                    QStringLiteral("Conversion effectuée. Les characters convertis sont dans : ")
                        + richTextEscaped(infoDir),
                    QString());
  if (window)
    window->close();
  close();
}

void QConvertChara::showFatal(QDialog* window, const QString& error)
{
  prompts().message(this, QMessageBox::Critical, kTitle, error, QString());
  if (window)
    window->close();
  close();
}
