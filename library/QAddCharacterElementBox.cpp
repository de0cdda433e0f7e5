#include "library/QAddCharacterElementBox.h"

#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "core/ImageUtils.h"
#include "core/PathUtils.h"
#include "library/LibraryBrowsing.h"
#include "library/LibraryDirModel.h"
#include "model/CharacterData.h"
#include "model/ElementFile.h"
#include "widgets/ElementLimit.h"
#include "widgets/PreviewMaker.h"
#include "widgets/Prompts.h"
#include "widgets/QListViewKey.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kXPRoot = QStringLiteral("elements/XP/");
const QString kVXRoot = QStringLiteral("elements/VX/");
// Sheets with cells of up to 1024 pixels show whole, as ever; a larger picture
// is shrunk, its every pixel being of no use in the box but memory and time.
constexpr int kLargestPreviewSide = 4096;
// In milliseconds.
constexpr int kPreviewPatience = 200;

std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

QPixmap noPreviewPicture()
{
  QPixmap picture(160, 224);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setPen(Qt::black);
  QFont font(QStringLiteral("Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  painter.setFont(font);
  // Wrapped: the sans-serif family may be wider than the box's 128 pixels.
  painter.drawText(QRect(4, 4, 128, 192), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("Aucun aperçu disponible."));
  return picture;
}

void showError(QWidget* parent, const QString& text)
{
  prompts().message(parent, QMessageBox::Critical, QStringLiteral("Erreur"), text, QString());
}

QPushButton* button(const QString& text, const QString& icon, QWidget* parent)
{
  return new QPushButton(QIcon(icon), text, parent);
}

} // namespace

QAddCharacterElementBox::QAddCharacterElementBox(QMdiArea* mdiArea, QLayerList* layerList, QWidget* parent)
    : QDialog(parent), m_layerList(layerList), mdiArea(mdiArea)
{
  setAttribute(Qt::WA_DeleteOnClose);
  setTargetLayer(canvasOf(mdiArea->currentSubWindow()));

  setWindowTitle(QStringLiteral("Ajouter des éléments"));
  QVBoxLayout* layout = new QVBoxLayout;
  QHBoxLayout* browseRow = new QHBoxLayout;
  QHBoxLayout* buttonRow = new QHBoxLayout;
  dirModel = new LibraryDirModel(this);
  listView = new QListViewKey(this);
  listView->setModel(dirModel);
  backButton = button(QStringLiteral("Précédent"), QStringLiteral(":/icon/previous.png"), this);
  QPushButton* dessinButton =
      button(QStringLiteral("Ajouter un calque de dessin"), QStringLiteral(":/icon/add_dessin.png"), this);
  validButton = button(QStringLiteral("Valider"), QStringLiteral(":/icon/ok.png"), this);
  QPushButton* cancelButton = button(QStringLiteral("Annuler"), QStringLiteral(":/icon/remove.png"), this);
  validButton->setEnabled(false);
  validButton->setDefault(true);
  convertBox = new QCheckBox(this);
  closeBox = new QCheckBox(QStringLiteral("Fermer la fenêtre une fois l'élément ajouté."), this);
  closeBox->setChecked(true);
  previewLabel = new QLabel;
  pathLabel = new QLabel(this);
  pathLabel->setTextFormat(Qt::PlainText); // folder names are shown as they are
  previewLabel->setMinimumSize(160, 224);

  basePath = libraryBasePath();
  // With no character the box starts as on an XP one.
  const bool vx = !noDocument && m_targetLayer->characterType() == VX;
  currentPath = vx ? kVXRoot : kXPRoot;
  dirModel->setFolder(basePath + currentPath);
  convertBox->setText(vx ? QStringLiteral("Convertir l'élément de XP vers VX.")
                         : QStringLiteral("Convertir l'élément de VX vers XP."));
  pathLabel->setText(QStringLiteral("Dossier actuel : ") + currentPath.mid(9));

  previewLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  previewLabel->setPixmap(noPreviewPicture());
  previewArea = new QScrollArea(this);
  previewArea->setWidget(previewLabel);
  previewMaker = new PreviewMaker(QSize(kLargestPreviewSide, kLargestPreviewSide), PreviewMaker::Shrink, this);
  connect(previewMaker, &PreviewMaker::made, this, &QAddCharacterElementBox::showPreview);
  // The previous file's picture would pass for this one's while a slow one is
  // made: past a moment the preview is left empty until it comes.
  previewLate = new QTimer(this);
  previewLate->setSingleShot(true);
  previewLate->setInterval(kPreviewPatience);
  connect(previewLate, &QTimer::timeout, previewLabel, &QLabel::clear);

  browseRow->addWidget(listView);
  browseRow->addWidget(previewArea);
  buttonRow->addWidget(backButton, 0, Qt::AlignLeft);
  buttonRow->addWidget(dessinButton, 10, Qt::AlignLeft);
  buttonRow->addWidget(validButton, 10, Qt::AlignRight);
  buttonRow->addWidget(cancelButton, 0, Qt::AlignRight);
  layout->addWidget(pathLabel);
  layout->addLayout(browseRow);
  layout->addWidget(convertBox);
  layout->addWidget(closeBox);
  layout->addLayout(buttonRow);

  connect(listView, &QListViewKey::selectedByKey, this, &QAddCharacterElementBox::showElement);
  connect(listView, &QListView::clicked, this, &QAddCharacterElementBox::showElement);
  connect(listView, &QListView::activated, this,
          qOverload<const QModelIndex&>(&QAddCharacterElementBox::validModelIndex));
  connect(backButton, &QPushButton::clicked, this, &QAddCharacterElementBox::backElement);
  connect(validButton, &QPushButton::clicked, this, qOverload<>(&QAddCharacterElementBox::validModelIndex));
  connect(dessinButton, &QPushButton::clicked, this, &QAddCharacterElementBox::addDessinLayer);
  connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
  connect(mdiArea, &QMdiArea::subWindowActivated, this, &QAddCharacterElementBox::updateActiveWindow);
  setLayout(layout);
  setFixedSize(sizeHint());
  setWindowIcon(QIcon(QStringLiteral(":/icon/Add.png")));
}

void QAddCharacterElementBox::setTargetLayer(QLayer* layer)
{
  m_targetLayer = layer;
  m_targetData = layer ? layer->characterData() : nullptr;
  noDocument = !layer;
}

void QAddCharacterElementBox::showElement(const QModelIndex& index)
{
  validButton->setEnabled(true);
  if (!index.isValid())
    return;
  const QString path = basePath + currentPath + dirModel->fileName(index);
  if (dirModel->isDir(index))
    previewMaker->request([path](const auto& superseded) { return libraryFolderPicture(path, superseded); });
  else
    previewMaker->request([path](const auto& superseded) { return libraryFilePicture(path, superseded); });
  previewLate->start();
}

void QAddCharacterElementBox::showPreview(const QImage& picture)
{
  previewLate->stop();
  const QPixmap shown = picture.isNull() ? noPreviewPicture() : QPixmap::fromImage(picture);
  previewLabel->setPixmap(shown);
  previewLabel->resize(shown.size());
}

void QAddCharacterElementBox::updateInfo()
{
  const FolderLine line = libraryFolderLine(currentPath, sizeHint().width());
  pathLabel->setText(line.text);
  pathLabel->setToolTip(line.toolTip);
}

void QAddCharacterElementBox::backElement()
{
  validButton->setEnabled(false);
  currentPath = libraryParentPath(currentPath);
  backButton->setEnabled(!isLibraryRoot(currentPath));
  dirModel->setFolder(basePath + currentPath);
  updateInfo();
}

void QAddCharacterElementBox::enterFolder(const QString& name)
{
  validButton->setEnabled(false);
  currentPath += name + QLatin1Char('/');
  backButton->setEnabled(true);
  dirModel->setFolder(basePath + currentPath);
  updateInfo();
  if (noDocument || !m_targetLayer)
    return;
  // Entering a layout root tells the layout of what lies under it.
  if (currentPath == kXPRoot)
    convertBox->setChecked(m_targetLayer->characterType() != XP);
  else if (currentPath == kVXRoot)
    convertBox->setChecked(m_targetLayer->characterType() != VX);
}

void QAddCharacterElementBox::validModelIndex()
{
  if (listView->selectionModel())
    validModelIndex(listView->selectionModel()->currentIndex());
}

CharacterData* QAddCharacterElementBox::documentOrInform(const char* text)
{
  CharacterData* document = noDocument ? nullptr : targetData();
  if (!document)
    prompts().message(this, QMessageBox::Information, QStringLiteral("Information"), QString::fromUtf8(text),
                      QString());
  else if (refusedByElementLimit(this, *document, 1, QMessageBox::Critical, QStringLiteral("Erreur")))
    return nullptr;
  return document;
}

void QAddCharacterElementBox::validModelIndex(const QModelIndex& index)
{
  if (!index.isValid())
    return;
  const QString name = dirModel->fileName(index);
  if (dirModel->isDir(index)) {
    enterFolder(name);
    return;
  }
  CharacterData* document =
      documentOrInform("Vous devez d'abord créer un nouveau character ou un ouvrir un existant.");
  if (!document)
    return;
  const QString path = basePath + currentPath + name;
  const bool added = hasExtension(name, QStringLiteral("elsk")) ? addElementFile(*document, path, name)
                                                                : addImageFile(*document, path, name);
  if (added)
    finishAddition("Ajout de " + utf8(name));
}

bool QAddCharacterElementBox::addImageFile(CharacterData& document, const QString& path, const QString& name)
{
  // Read once: the sheet size of a converted element is that of this image.
  QImage image = readImageFile(path);
  bool added = false;
  if (!image.isNull() && !convertBox->isChecked()) {
    added = document.addElementFromImage(image, utf8(path));
  } else if (!image.isNull()) {
    CharacterData other(document.type() == XP ? VX : XP, image.size());
    added = other.addElementFromImage(image, utf8(path));
    if (added)
      document.appendElements(other, true);
  }
  if (!added)
    showError(this, QStringLiteral("Impossible d'ouvrir : ") + richTextEscaped(currentPath + name));
  return added;
}

bool QAddCharacterElementBox::addElementFile(CharacterData& document, const QString& path, const QString& name)
{
  std::string error;
  std::optional<std::array<CharacterData, 2>> groups = loadElementFile(utf8(path), error);
  if (!groups || !error.empty()) {
    showError(this, error.empty() ? QStringLiteral("Impossible d'ouvrir : ") + richTextEscaped(currentPath + name)
                                  : QString::fromUtf8(error.data(), static_cast<qsizetype>(error.size())));
    return false;
  }
  const int added = (*groups)[0].elementCount() + (*groups)[1].elementCount();
  return !refusedByElementLimit(this, document, added, QMessageBox::Critical, QStringLiteral("Erreur")) &&
         document.insertElementGroups((*groups)[0], (*groups)[1]);
}

void QAddCharacterElementBox::addDessinLayer()
{
  CharacterData* document =
      documentOrInform("Vous devez d'abord créer un nouveau character ou en ouvrir un existant.");
  if (!document)
    return;
  document->addElementFromImageFile(std::string());
  finishAddition("Ajout d'un calque de dessin");
}

void QAddCharacterElementBox::finishAddition(const std::string& label)
{
  m_targetLayer->recordEdit(label);
  if (closeBox->isChecked())
    close();
}

void QAddCharacterElementBox::updateActiveWindow(QMdiSubWindow* window)
{
  // A null window also comes in passing while a sub-window closes and
  // another stays current.
  if (!window)
    window = mdiArea->currentSubWindow();
  if (QLayer* canvas = canvasOf(window))
    setTargetLayer(canvas);
  else if (!window)
    noDocument = true;
}
