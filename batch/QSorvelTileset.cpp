#include "batch/QSorvelTileset.h"

#include "batch/QTilesetView.h"
#include "batch/Sorveler.h"
#include "core/ImageUtils.h"
#include "model/FileErrors.h"
#include "widgets/EscapeCancels.h"
#include "widgets/Prompts.h"

#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString kTitle = QStringLiteral("Sorvel");

QPushButton* button(const QString& text, const char* icon)
{
  return new QPushButton(QIcon(QString::fromLatin1(icon)), text);
}

void showProgress(QProgressBar* bar, QLabel* text, uint value, const QString& info)
{
  bar->setValue(int(value));
  text->setText(info);
}

} // namespace

QSorvelTileset::QSorvelTileset()
{
  setWindowTitle(QStringLiteral("Sorvel de tilesets - Etape 1"));
  setWindowIcon(QIcon(QStringLiteral(":/icon/sorvel.png")));
  QPushButton* add = button(QStringLiteral("Ajouter un tileset"), ":/icon/add_qt.png");
  QPushButton* cancel = button(QStringLiteral("Annuler"), ":/icon/remove.png");
  sorvelButton = button(QStringLiteral("Sorvelner >"), ":/icon/suivant.png");
  sorvelButton->setEnabled(false);
  tilesetView = new QTilesetView(this);
  previewLabel = new QLabel;
  previewLabel->setMinimumSize(256, 502);
  preview = placeholder();
  previewLabel->setPixmap(preview);
  previewArea = new QScrollArea;
  previewArea->setWidget(previewLabel);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add);
  buttons->addWidget(sorvelButton);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout;
  column->addLayout(buttons);
  column->addWidget(tilesetView);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(column);
  layout->addWidget(previewArea);
  setFixedSize(sizeHint());

  connect(add, &QPushButton::clicked, this, &QSorvelTileset::addFiles);
  connect(sorvelButton, &QPushButton::clicked, this, &QSorvelTileset::sorvelInterface);
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  EscapeCancels::install(this, cancel);
  connect(tilesetView, &QTilesetView::changeFileName, this, &QSorvelTileset::updateFileName);
  connect(tilesetView, &QTilesetView::changeFileList, this, &QSorvelTileset::setEnabledButton);
}

// The progress windows go with the window, each taking its worker, whose
// destructor waits for the run.
QSorvelTileset::~QSorvelTileset() = default;

QPixmap QSorvelTileset::placeholder()
{
  QPixmap pixmap(256, 502);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  font.setFamily(font.defaultFamily());
  font.setPointSize(10);
  painter.setFont(font);
  painter.drawText(5, 15, QStringLiteral("Aucun aperçu disponible."));
  return pixmap;
}

QString QSorvelTileset::pathDirectory(const QString& path)
{
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? path : path.left(slash);
}

void QSorvelTileset::addFiles()
{
  const QStringList chosen = askInRememberedFolder(
      FileDialogKind::OpenFiles, this, "pathSelectTilesetSorvel", QDir::homePath(),
      QStringLiteral("Choisir les tilesets à sorvelner"), QStringLiteral("Images (*.png *.gif *.jpg *.jpeg)"));
  if (chosen.isEmpty())
    return;
  tilesetView->addFiles(chosen);
  tilesetView->refresh();
}

void QSorvelTileset::updateFileName(const QString& str)
{
  preview = QPixmap::fromImage(readArgb32Image(str));
  if (preview.isNull())
    preview = placeholder();
  previewLabel->setPixmap(preview);
  previewLabel->resize(preview.size());
}

void QSorvelTileset::setEnabledButton(bool b)
{
  sorvelButton->setEnabled(b);
}

// The save dialog keeps its own question before replacing a file.
void QSorvelTileset::sorvelInterface()
{
  const QStringList chosen =
      askInRememberedFolder(FileDialogKind::SaveFile, this, "pathSaveTilesetSorvel", QDir::homePath(),
                            QStringLiteral("Choisir l'emplacement du nouveau tileset"), QStringLiteral("Images (*.png)"));
  if (!chosen.isEmpty())
    beginSorvel(chosen.first());
}

// Each worker reports to the progress window it was started with, so that a
// second merge started meanwhile never receives the first one's progress.
void QSorvelTileset::beginSorvel(const QString& outputPath)
{
  auto* window = new QDialog(this);
  window->move(pos() + QPoint(30, 30));
  window->setWindowTitle(QStringLiteral("Sorvel en cours..."));
  auto* bar = new QProgressBar;
  bar->setRange(0, 100);
  bar->setValue(0);
  auto* text = new QLabel;
  text->setTextFormat(Qt::PlainText); // paths are shown as they are
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(text);
  layout->addWidget(bar);
  window->show();
  progressWindow = window;
  progressBar = bar;
  progressText = text;

  auto* worker = new Sorveler(tilesetView->fileList(), outputPath, window);
  auto written = std::make_shared<bool>(true);
  connect(worker, &Sorveler::changeProgress, window,
          [bar, text](uint value, const QString& info) { showProgress(bar, text, value, info); });
  connect(worker, &Sorveler::outputFailed, window, [written] { *written = false; });
  connect(worker, &Sorveler::finishThread, window, [=](const QStringList& failed) {
    conclude(window, bar, text, failed, *written ? QString() : outputPath);
  });
  worker->start();
}

void QSorvelTileset::setAvancement(uint value, const QString& info)
{
  if (progressWindow)
    showProgress(progressBar, progressText, value, info);
}

void QSorvelTileset::setConclusion(const QStringList& info)
{
  if (progressWindow)
    conclude(progressWindow, progressBar, progressText, info, QString());
}

// unwrittenPath names the output when nothing was written.
void QSorvelTileset::conclude(QDialog* window, QProgressBar* bar, QLabel* text, const QStringList& failed,
                              const QString& unwrittenPath)
{
  showProgress(bar, text, 100, QStringLiteral("Sorvel finie"));
  if (!failed.isEmpty())
    prompts().message(window, QMessageBox::Warning, kTitle, QStringLiteral("Certains fichiers n'ont pas pu être ouverts."),
                      QStringLiteral("Liste des fichiers n'ayant pu être ouverts :\n- ") +
                          failed.join(QStringLiteral("\n- ")));
  if (unwrittenPath.isEmpty())
    prompts().message(window, QMessageBox::Information, kTitle, QStringLiteral("Sorvel effectuée !"), QString());
  else
    prompts().message(window, QMessageBox::Critical, kTitle,
                      QString::fromStdString(saveErrorMessage(unwrittenPath.toStdString())), QString());
  window->close();
  close();
}
