// The main window's new, open, recent files, drops, save and close commands.
#include "app/MainWindow.h"

#include "app/QNewCharacter.h"
#include "batch/QConvertChara.h"
#include "batch/QSaveWindow.h"
#include "batch/QSorvelTileset.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerList.h"
#include "canvas/QLayerRender.h"
#include "canvas/QScrollLayer.h"
#include "core/ImageUtils.h"
#include "core/IniSettings.h"
#include "core/PathUtils.h"
#include "core/RecentFiles.h"
#include "library/QAddLibraryCharacter.h"
#include "library/QELSKCreator.h"
#include "model/CharacterData.h"
#include "model/ElementFile.h"
#include "model/FileErrors.h"
#include "widgets/ElementLimit.h"
#include "widgets/Prompts.h"
#include "widgets/QComboWidget.h"
#include "widgets/QDropWidget.h"
#include "widgets/Questions.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

const QString kNoRecent = QStringLiteral("?NoRecent?");
const QString kProjectFilter = QStringLiteral("Fichier Sorvel Kit (*.sk)");
const QString kImageFilter = QStringLiteral("Image (*.png)");

std::string utf8(const QString& text)
{
  return text.toUtf8().toStdString();
}

QString fromUtf8(const std::string& text)
{
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void showError(QWidget* parent, const QString& text)
{
  prompts().message(parent, QMessageBox::Critical, QStringLiteral("Erreur"), text, QString());
}

void cannotOpen(QWidget* parent, const QString& path, const QString& reason = QString())
{
  showError(parent, QStringLiteral("Impossible d'ouvrir : ") + richTextEscaped(path) +
                        (reason.isEmpty() ? reason : QStringLiteral("<br />") + reason));
}

// A picture that does not read, or that the files could not hold as a sheet,
// is refused before the layout is asked; the second says why.
bool refusedPicture(QWidget* parent, const QString& path, const QImage& image)
{
  if (!image.isNull() && isSheetSize(image.size()))
    return false;
  cannotOpen(parent, path, image.isNull() ? QString() : sheetSideReason());
  return true;
}

} // namespace

QLayer* MainWindow::newCanvas(const CharacterData& document, const QString& name)
{
  QLayer* canvas = new QLayer(name, document.size(), document.type(), mdiArea, colorBox, layerList);
  canvas->setCharacterData(document);
  canvas->refresh();
  return canvas;
}

void MainWindow::showCanvas(QLayer* canvas, const QString& title, const QSize& minimumSize, bool modified)
{
  canvas->drawScope = &drawScope;
  canvas->pen = &pen;
  canvas->gradientHolder = &drawMode;
  canvas->rubberMode = &rubberMode;
  canvas->setToolPointer(reinterpret_cast<unsigned char*>(&tool));

  QMdiSubWindow* window = mdiArea->addSubWindow(new QScrollLayer(canvas));
  keepWindowShortcuts(window);
  window->setWindowTitle(windowTitleEscaped(title));
  // The scroll area shows the rest of a sheet larger than half the screen; a
  // larger least size would push the main window off the screen.
  if (minimumSize.isValid()) {
    const QSize half = (screen() ? screen()->availableSize() : QSize(1280, 800)) / 2;
    window->setMinimumSize(minimumSize.boundedTo(half));
  }
  window->show();

  CharacterData* document = canvas->characterData();
  canvas->addHistory(document, "Etat d'origine");
  canvas->setModified(modified);

  layerList->setCharacterData(document);
  layerList->setLayer(canvas);
  layerList->refresh();
  layerRender->setCharacterData(document);
  layerRender->refresh();
  zoomEdit->setText(QString::number(static_cast<int>(document->zoom() * 100)) + QStringLiteral(" %"));
}

void MainWindow::newCharXP()
{
  QNewCharacter* dialog = new QNewCharacter(XP, nullptr, QString(), false, nullptr, 0, 0);
  connect(dialog, &QNewCharacter::validNewChar, this, &MainWindow::addCharacter);
  dialog->show();
}

void MainWindow::newCharVX()
{
  QNewCharacter* dialog = new QNewCharacter(VX, nullptr, QString(), false, nullptr, 0, 0);
  connect(dialog, &QNewCharacter::validNewChar, this, &MainWindow::addCharacter);
  dialog->show();
}

void MainWindow::addCharacter(QString str, int largeur, int hauteur, int type)
{
  QLayer* canvas = new QLayer(str, QSize(largeur, hauteur), type, mdiArea, colorBox, layerList);
  showCanvas(canvas, str, QSize(), true);
}

void MainWindow::openDefault()
{
  CharacterData document;
  if (!document.loadProjectFile("default.sk")) {
    askDefaultCharacter(this, SLOT(showHelp_Create_Character()), SLOT(assignAsDefault()), this);
    return;
  }
  const QString name = QStringLiteral("Sans titre");
  showCanvas(newCanvas(document, name), name, document.size(), true);
}

void MainWindow::assignAsDefault()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  CharacterData* document = canvas->characterData();
  if (!document->saveProjectFile("default.sk", 1))
    showError(this, QStringLiteral("Erreur : ") + fromUtf8(document->errorMessage()));
}

void MainWindow::openSKFile()
{
  // The folder is stored before any opener runs: each opener writes the
  // recent files through its own settings.
  QString filter;
  const QStringList paths = askInRememberedFolder(
      FileDialogKind::OpenFiles, this, "pathLoadSKFile", QDir::homePath(), QStringLiteral("Ouvrir un fichier"),
      kProjectFilter + QStringLiteral(";;Elément Sorvel Kit (*.elsk);;") + kImageFilter, &filter);

  // A name typed in the dialog need not match the filter: a known suffix
  // names the opener, the filter only decides for other names.
  for (const QString& path : paths) {
    const bool project = hasExtension(path, QStringLiteral("sk"));
    const bool image = hasExtension(path, QStringLiteral("png"));
    const bool known = project || image || hasExtension(path, QStringLiteral("elsk"));
    if (known ? project : filter == kProjectFilter)
      openSKDocument(path, true);
    else if (known ? image : filter == kImageFilter)
      openPNGDocument(path);
    else
      openELSKDocument(path);
  }
}

void MainWindow::openRecent()
{
  QAction* action = qobject_cast<QAction*>(sender());
  if (!action)
    return;
  const QString path = action->data().toString();
  if (hasExtension(path, QStringLiteral("sk")))
    openSKDocument(path, true);
  else if (hasExtension(path, QStringLiteral("png")))
    openPNGDocument(path);
  else
    openELSKDocument(path);
}

void MainWindow::openSKDocument(const QString& path, bool reportErrors)
{
  CharacterData document;
  unsigned char version = 0;
  if (!document.loadProjectFile(utf8(path), &version)) {
    if (reportErrors)
      showError(this, QStringLiteral("Erreur : ") + fromUtf8(document.errorMessage()));
    return;
  }
  const QString name = pathBaseName(path);
  QLayer* canvas = newCanvas(document, name);
  canvas->currentFormat = version;
  canvas->setFilePath(path);
  showCanvas(canvas, name, document.size(), false);
  addRecentFile(path);
  updateRecentFiles();
}

void MainWindow::openELSKDocument(const QString& path)
{
  std::string error;
  std::optional<std::array<CharacterData, 2>> groups = loadElementFile(utf8(path), error);
  if (!groups) {
    if (error.empty())
      cannotOpen(this, path);
    else
      showError(this, fromUtf8(error));
    return;
  }
  CharacterData& document = (*groups)[0];
  document.appendElements((*groups)[1], true);
  const QString name = pathBaseName(path);
  showCanvas(newCanvas(document, name), name, document.size(), true);
  addRecentFile(path);
  updateRecentFiles();
}

void MainWindow::openPNGDocument(const QString& path)
{
  const QImage image = readImageFile(path);
  if (refusedPicture(this, path, image))
    return;
  const int type = askElementType(this);
  if (type < 0)
    return;
  CharacterData document(type, image.size());
  if (!document.addElementFromImageFile(utf8(path))) {
    cannotOpen(this, path);
    return;
  }
  const QString name = pathBaseName(path);
  showCanvas(newCanvas(document, name), name, document.size(), true);
  addRecentFile(path);
  updateRecentFiles();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
  if (event->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
    event->acceptProposedAction();
  else
    event->ignore();
}

void MainWindow::dropEvent(QDropEvent* event)
{
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile())
      paths << url.toLocalFile();
  if (paths.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // The questions run from the event loop, so that the drag source is not
  // kept waiting while the user answers them.
  QTimer::singleShot(0, this, [this, paths] { openDroppedFiles(paths); });
}

void MainWindow::openDroppedFiles(const QStringList& paths)
{
  for (const QString& path : paths) {
    const bool image = hasExtension(path, QStringLiteral("png"));
    if (!image && !hasExtension(path, QStringLiteral("elsk"))) {
      openSKDocument(path, true);
      continue;
    }
    int action = 1;
    if (activeLayer()) {
      QDropWidget question(path, this);
      prompts().runDialog(question);
      action = question.action;
    }
    if (action == 0) {
      if (image)
        addFileToActive(path);
      else
        addElementFileToActive(path);
    } else if (action == 1) {
      if (image)
        openPNGDocument(path);
      else
        openELSKDocument(path);
    } else if (action != 2) {
      return;
    }
  }
}

// An element file that would pass the limit is refused later, whole.
QLayer* MainWindow::activeLayerWithRoom()
{
  QLayer* canvas = activeLayer();
  if (canvas && refusedByElementLimit(this, *canvas->characterData(), 1, QMessageBox::Critical,
                                      QStringLiteral("Erreur")))
    return nullptr;
  return canvas;
}

bool MainWindow::addFileToActive(const QString& path)
{
  QLayer* canvas = activeLayerWithRoom();
  if (!canvas)
    return false;
  CharacterData* document = canvas->characterData();
  QImage image = readImageFile(path);
  if (refusedPicture(this, path, image))
    return false;
  const int type = askElementType(this);
  if (type < 0)
    return false;
  // The image read above is the one added: the file may change meanwhile.
  bool added;
  if (type == canvas->characterType()) {
    added = document->addElementFromImage(image, utf8(path));
  } else {
    CharacterData other(type, image.size());
    added = other.addElementFromImage(image, utf8(path));
    if (added)
      document->appendElements(other, true);
  }
  if (!added) {
    cannotOpen(this, path);
    return false;
  }
  canvas->recordEdit("Ajout de " + utf8(path));
  return true;
}

bool MainWindow::addElementFileToActive(const QString& path)
{
  QLayer* canvas = activeLayerWithRoom();
  if (!canvas)
    return false;
  CharacterData* document = canvas->characterData();
  std::string error;
  std::optional<std::array<CharacterData, 2>> groups = loadElementFile(utf8(path), error);
  if (!groups || !error.empty()) {
    if (error.empty())
      cannotOpen(this, path);
    else
      showError(this, fromUtf8(error));
    return false;
  }
  // Refused whole: the files store the count in one byte.
  const int added = (*groups)[0].elementCount() + (*groups)[1].elementCount();
  if (refusedByElementLimit(this, *document, added) || !document->insertElementGroups((*groups)[0], (*groups)[1]))
    return false;
  canvas->recordEdit("Ajout de " + utf8(path));
  return true;
}

void MainWindow::addRecentFile(const QString& path)
{
  RecentFiles files = RecentFiles::load();
  files.add(path);
  files.save();
}

void MainWindow::updateRecentFiles()
{
  // The menu is rebuilt from the settings every time; the old entries are
  // never reused.
  const QList<QAction*> old = recentFilesMenu->actions();
  for (QAction* action : old) {
    recentFilesMenu->removeAction(action);
    delete action;
  }

  const QStringList files = RecentFiles::load().files();
  for (int i = std::min<int>(RecentFiles::kMaxFiles, files.size()) - 1; i >= 0; --i) {
    const QString& path = files[i];
    QAction* action = recentFilesMenu->addAction(mnemonicEscaped(pathFileName(path)));
    const QString tip = QStringLiteral("Ouvre le fichier : ") + path;
    action->setStatusTip(tip);
    action->setToolTip(tip);
    action->setData(path);
    connect(action, &QAction::triggered, this, &MainWindow::openRecent);
  }
  if (files.isEmpty()) {
    QAction* none = recentFilesMenu->addAction(QStringLiteral("Aucun"));
    none->setEnabled(false);
    none->setData(kNoRecent);
  }
}

// The main window keeps no pointer: each tool window lives, hidden once
// closed, until the program ends.
void MainWindow::newConversion()
{
  auto* wizard = new QConvertChara;
  wizard->show();
  wizard->activateWindow();
}

void MainWindow::newSorvel()
{
  auto* window = new QSorvelTileset;
  window->show();
  window->activateWindow();
}

namespace {

void reportSave(QWidget* parent, const QLayer* canvas, unsigned char result)
{
  if (result == 0)
    canvas->reportSaveFailure(parent, QStringLiteral("Sauvegarde"));
}

// One open document in the closing pass. Once its sub-window is closed it is
// never touched again: the toolkit deletes it later, at a time the pass does
// not know, so its path is kept as it stood then.
struct ClosingDocument
{
  QMdiSubWindow* window;
  QLayer* canvas;
  bool closed = false;
  QString path;
};

void closeDocument(ClosingDocument& document)
{
  document.path = document.canvas->filePath();
  document.closed = document.window->close();
}

} // namespace

void MainWindow::save()
{
  if (QLayer* canvas = activeLayer())
    reportSave(this, canvas, canvas->save());
}

void MainWindow::saveAs()
{
  if (QLayer* canvas = activeLayer())
    reportSave(this, canvas, canvas->saveAs());
}

void MainWindow::saveAll()
{
  for (QMdiSubWindow* window : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
    mdiArea->setActiveSubWindow(window);
    if (QLayer* canvas = canvasOf(window))
      reportSave(this, canvas, canvas->save());
  }
}

// The folder of the absolute path: a project opened as a bare relative name
// has no separator in its path.
void MainWindow::saveMass()
{
  QLayer* canvas = activeLayer();
  if (!canvas)
    return;
  const QString path = canvas->filePath();
  const QString folder = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
  auto* dialog = new QSaveWindow(canvas->characterData(), folder, canvas->name(), this);
  prompts().runDialog(*dialog);
  delete dialog;
}

// Settings are written once, after every question and save: a settings object
// held across them would, when released, overwrite the folder a save dialog
// stored meanwhile.
void MainWindow::closeEvent(QCloseEvent* event)
{
  std::vector<ClosingDocument> documents;
  for (QMdiSubWindow* window : mdiArea->subWindowList(QMdiArea::CreationOrder))
    if (QLayer* canvas = canvasOf(window))
      documents.push_back({window, canvas, false, QString()});
  int modified = 0;
  for (ClosingDocument& document : documents) {
    document.canvas->setAskOnClose(false);
    modified += document.canvas->isModified() ? 1 : 0;
  }

  bool accepted = true;
  bool saveAll = false;
  for (ClosingDocument& document : documents) {
    if (!document.canvas->isModified())
      continue;
    mdiArea->setActiveSubWindow(document.window);
    const QMessageBox::StandardButton answer = document.canvas->askCloseModified(modified > 1, this);
    if (answer == QMessageBox::SaveAll) {
      saveAll = true;
      break;
    }
    if (answer == QMessageBox::Save)
      accepted = document.canvas->saveBeforeClose(this);
    else if (answer != QMessageBox::Discard)
      accepted = false;
    if (!accepted)
      break;
    closeDocument(document);
    --modified;
  }

  // A document answered Discard is closed already, so it is never saved here.
  if (saveAll) {
    for (ClosingDocument& document : documents) {
      if (document.closed)
        continue;
      mdiArea->setActiveSubWindow(document.window);
      if (document.canvas->isModified() && !document.canvas->saveBeforeClose(this)) {
        accepted = false;
        break;
      }
      closeDocument(document);
    }
  }

  QString opened;
  if (accepted) {
    for (const ClosingDocument& document : documents) {
      const QString path = listedPath(document.closed ? document.path : document.canvas->filePath());
      if (!path.isEmpty())
        opened += path + QLatin1Char('|');
    }
    mdiArea->closeAllSubWindows();
    // The sub-windows are deleted later: nothing may point into them by then.
    layerList->setCharacterData(placeholderCharacter);
    layerList->setLayer(nullptr);
    layerRender->setCharacterData(placeholderCharacter);
  } else {
    for (ClosingDocument& document : documents)
      if (!document.closed)
        document.canvas->setAskOnClose(true);
  }
  event->setAccepted(accepted);

  IniSettings settings;
  settings.setValue("Color", "primary", static_cast<int>(primaryColor.rgba()));
  settings.setValue("Color", "secondary", static_cast<int>(secondaryColor.rgba()));
  if (accepted)
    settings.setValue("Path", "opened", opened);
}

// The two element-file items open the element-file creator, which is still to
// come; until then they do nothing.
void MainWindow::addElementLibrary()
{
  const QStringList items = {QStringLiteral("Elément normal (image PNG)"),
                             QStringLiteral("Elément Sorvel Kit XP (fichier ELSK)"),
                             QStringLiteral("Elément Sorvel Kit VX (fichier ELSK)")};
  bool ok = false;
  const QString kind = prompts().item(this, QStringLiteral("Type d'élément"),
                                      QStringLiteral("Quel est le type de l'élément à rajouter ?"), items, 0, false, &ok);
  if (!ok)
    return;
  if (kind != items.first()) {
    auto* creator = new QELSKCreator(kind == items[1] ? 0 : 1);
    creator->setAttribute(Qt::WA_DeleteOnClose);
    creator->show();
    return;
  }
  const QStringList files =
      askInRememberedFolder(FileDialogKind::OpenFiles, this, "pathLoadSingleElement", QDir::homePath(),
                            QStringLiteral("Chercher un élément"), QStringLiteral("Images (*.png)"));
  if (files.isEmpty())
    return;
  auto* window = new QAddLibraryCharacter(files);
  if (window->noValidImage) {
    delete window;
    return;
  }
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
}
