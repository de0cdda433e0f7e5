#include "library/QAddLibraryCharacter.h"

#include "core/PathUtils.h"
#include "core/SaveFile.h"
#include "library/ColourSwatch.h"
#include "library/ElementKeying.h"
#include "library/LibraryBrowsing.h"
#include "library/LibraryDirModel.h"
#include "library/QCategoryDialog.h"
#include "library/QElementView.h"
#include "widgets/EscapeCancels.h"
#include "widgets/Prompts.h"
#include "widgets/QListViewKey.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kNoLayoutChosen = QStringLiteral("Choisissez un type d'élément.");

QPushButton* iconButton(const QString& text, const QString& icon)
{
  return new QPushButton(QIcon(icon), text);
}

} // namespace

QAddLibraryCharacter::QAddLibraryCharacter(const QStringList& files) : QWidget(nullptr), files(files)
{
  statusLabel = new QLabel(redStatus(kNoLayoutChosen));
  checkerboard = swatchCheckerboard();
  resetColours();

  preview = new QElementView(files.value(0));
  index = skipUnreadable(*preview, files, 0);
  if (preview->image().isNull()) {
    preview->setParent(this); // owned, never shown
    statusLabel->setParent(this);
    close();
    noValidImage = true;
    return;
  }

  nameField = new QLineEdit(pathFileName(files[index]));
  nameField->selectAll();
  transparencyLabel = new QLabel;
  translucencyLabel = new QLabel;
  transparencyLabel->setPixmap(transparencyPixmap);
  translucencyLabel->setPixmap(translucencyPixmap);
  previewArea = new QScrollArea;
  previewArea->setWidget(preview);
  preview->setMinimumSize(256, 256);

  QPushButton* cancelButton = iconButton(QStringLiteral("Annuler"), QStringLiteral(":/icon/remove.png"));
  newCategoryButton = iconButton(QStringLiteral("Ajouter une catégorie"), QStringLiteral(":/icon/add_folder.png"));
  validButton = iconButton(QStringLiteral("Valider"), QStringLiteral(":/icon/ok.png"));
  backButton = iconButton(QStringLiteral("Précédent"), QStringLiteral(":/icon/previous.png"));
  newCategoryButton->setEnabled(false);
  validButton->setEnabled(false);
  validButton->setDefault(true);
  backButton->setEnabled(false);

  dirModel = new LibraryDirModel(this);
  listView = new QListViewKey;
  listView->setModel(dirModel);
  basePath = libraryBasePath();
  currentPath = QStringLiteral("elements/");
  dirModel->setFolder(basePath + currentPath);

  QLabel* header = new QLabel(QStringLiteral("<strong>Choisir la catégorie de l'élément</strong>"));
  zoomBox = new QComboBox;
  zoomBox->addItems({QStringLiteral("Zoom x1.0"), QStringLiteral("Zoom x2.0"), QStringLiteral("Zoom x4.0")});
  folderLabel = new QLabel;
  folderLabel->setTextFormat(Qt::PlainText); // folder names are shown as they are

  QFormLayout* nameRow = new QFormLayout;
  nameRow->addRow(QStringLiteral("Nom de l'élément"), nameField);
  QHBoxLayout* headerRow = new QHBoxLayout;
  headerRow->addWidget(header);
  headerRow->addWidget(zoomBox);
  QVBoxLayout* browserColumn = new QVBoxLayout;
  browserColumn->addWidget(folderLabel);
  browserColumn->addWidget(listView);
  QFormLayout* swatches = new QFormLayout;
  swatches->addRow(QStringLiteral("Couleur de transparence (clic gauche)"), transparencyLabel);
  swatches->addRow(QStringLiteral("Couleur de translucide (clic droit)"), translucencyLabel);
  QVBoxLayout* previewColumn = new QVBoxLayout;
  previewColumn->addWidget(previewArea);
  previewColumn->addLayout(swatches);
  QHBoxLayout* middleRow = new QHBoxLayout;
  middleRow->addLayout(browserColumn);
  middleRow->addLayout(previewColumn);
  QHBoxLayout* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(backButton, 0, Qt::AlignLeft);
  buttonRow->addWidget(newCategoryButton, 10, Qt::AlignLeft);
  buttonRow->addWidget(validButton, 10, Qt::AlignRight);
  buttonRow->addWidget(cancelButton, 0, Qt::AlignRight);
  QVBoxLayout* layout = new QVBoxLayout(this);
  layout->addWidget(statusLabel);
  layout->addLayout(nameRow);
  layout->addLayout(headerRow);
  layout->addLayout(middleRow);
  layout->addLayout(buttonRow);

  updateInfo();
  connect(listView, &QListView::activated, this, qOverload<const QModelIndex&>(&QAddLibraryCharacter::validModelIndex));
  connect(validButton, &QPushButton::clicked, this, qOverload<>(&QAddLibraryCharacter::validModelIndex));
  connect(backButton, &QPushButton::clicked, this, &QAddLibraryCharacter::backElement);
  connect(newCategoryButton, &QPushButton::clicked, this, &QAddLibraryCharacter::makeADir);
  connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
  EscapeCancels::install(this, cancelButton);
  connect(nameField, &QLineEdit::textChanged, this, &QAddLibraryCharacter::changeValid);
  connect(preview, &QElementView::changeColor, this, &QAddLibraryCharacter::updateColor);
  connect(zoomBox, &QComboBox::currentIndexChanged, this, &QAddLibraryCharacter::updateZoom);
  updateTitle();
  setWindowIcon(QIcon(QStringLiteral(":/icon/SK.png")));
}

void QAddLibraryCharacter::updateTitle()
{
  setWindowTitle(QStringLiteral("Ajouter un élément à la bibliothèque (%1/%2)").arg(index + 1).arg(files.size()));
}

void QAddLibraryCharacter::resetColours()
{
  transparencyColor = translucencyColor = QColor(Qt::transparent);
  transparencyPixmap = blankSwatch(checkerboard);
  translucencyPixmap = blankSwatch(checkerboard);
  if (transparencyLabel) {
    transparencyLabel->setPixmap(transparencyPixmap);
    translucencyLabel->setPixmap(translucencyPixmap);
  }
}

void QAddLibraryCharacter::updateInfo()
{
  const FolderLine line = libraryFolderLine(currentPath, listView->sizeHint().width());
  folderLabel->setText(line.text);
  folderLabel->setToolTip(line.toolTip);
}

void QAddLibraryCharacter::setFolder(const QString& path)
{
  currentPath = path;
  const bool inLayout = !isLibraryRoot(currentPath);
  backButton->setEnabled(inLayout);
  newCategoryButton->setEnabled(inLayout);
  dirModel->setFolder(basePath + currentPath);
  updateInfo();
  changeValid(nameField->text());
}

void QAddLibraryCharacter::validModelIndex(const QModelIndex& modelIndex)
{
  if (!modelIndex.isValid())
    return;
  const QString name = dirModel->fileName(modelIndex);
  if (dirModel->isDir(modelIndex)) {
    setFolder(currentPath + name + QLatin1Char('/'));
    return;
  }
  nameField->setText(name);
  nameField->selectAll();
}

void QAddLibraryCharacter::backElement() { setFolder(libraryParentPath(currentPath)); }

void QAddLibraryCharacter::changeValid(QString str)
{
  QString refusal = elementNameRefusal(str);
  if (refusal.isEmpty() && !backButton->isEnabled())
    refusal = kNoLayoutChosen;
  statusLabel->setText(refusal.isEmpty() ? greenStatus(QStringLiteral("Choisissez une catégorie et validez."))
                                         : redStatus(refusal));
  validButton->setEnabled(refusal.isEmpty());
}

void QAddLibraryCharacter::makeADir()
{
  categoryDialog = new QCategoryDialog(this);
  categoryStatusLabel = categoryDialog->statusLabel;
  categoryNameField = categoryDialog->nameField;
  categoryValidButton = categoryDialog->validButton;
  dirNameChanged(categoryNameField->text());
  connect(categoryValidButton, &QPushButton::clicked, this, &QAddLibraryCharacter::validMkDir);
  connect(categoryNameField, &QLineEdit::textChanged, this, &QAddLibraryCharacter::dirNameChanged);
  categoryDialog->show();
}

void QAddLibraryCharacter::dirNameChanged(QString str)
{
  if (categoryDialog)
    categoryDialog->checkName(str, basePath + currentPath);
}

void QAddLibraryCharacter::validMkDir()
{
  if (!categoryDialog)
    return;
  if (categoryDialog->createIn(basePath + currentPath))
    dirModel->refresh();
  categoryDialog->close();
}

void QAddLibraryCharacter::updateColor(const QColor& rgb, int type)
{
  if (type == 0)
    showPickedColour(transparencyColor, transparencyPixmap, transparencyLabel, checkerboard, rgb);
  else if (type == 1)
    showPickedColour(translucencyColor, translucencyPixmap, translucencyLabel, checkerboard, rgb);
}

void QAddLibraryCharacter::updateZoom(int index)
{
  preview->setZoom(std::ldexp(1.0, index));
  previewArea->widget()->resize(preview->shownSize());
}

void QAddLibraryCharacter::validModelIndex()
{
  const QString folder = basePath + currentPath;
  QString name = nameField->text();
  ensureExtension(name, QStringLiteral("png"));
  nameField->setText(name);
  if (QFileInfo::exists(folder + name) &&
      prompts().question(this, QStringLiteral("Sorvel Kit"),
                         richTextEscaped(name) + QStringLiteral(" existe déjà. Voulez-vous le remplacer ?"),
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton) != QMessageBox::Yes)
    return;
  QString reason;
  if (!savePngFile(keyElementImage(preview->image(), transparencyColor, translucencyColor), folder + name, &reason)) {
    prompts().message(this, QMessageBox::Critical, QStringLiteral("Erreur"),
                      QStringLiteral("Impossible de créer l'élément : ") + richTextEscaped(name) + ".",
                      saveFailureDetail(folder + name, reason));
    return;
  }
  if (index + 1 == files.size()) {
    close();
    return;
  }
  preview->setImage(files[++index]);
  index = skipUnreadable(*preview, files, index);
  if (preview->image().isNull()) {
    close();
    return;
  }
  updateTitle();
  zoomBox->setCurrentIndex(0);
  nameField->setText(pathFileName(files[index]));
  nameField->selectAll();
  resetColours();
  dirModel->refresh();
  previewArea->widget()->resize(preview->shownSize());
  changeValid(nameField->text());
}
