#include "library/QELSKCreator.h"

#include "canvas/QLayerListELSK.h"
#include "core/PathUtils.h"
#include "core/SaveFile.h"
#include "library/LibraryBrowsing.h"
#include "library/LibraryDirModel.h"
#include "library/QCategoryDialog.h"
#include "library/QElementViewer.h"
#include "model/ElementFile.h"
#include "model/FileErrors.h"
#include "widgets/EscapeCancels.h"
#include "widgets/Prompts.h"
#include "widgets/QListViewKey.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTooFew = QStringLiteral("L'élément doit être composé d'au moins 2 éléments simples.");

QPushButton* iconButton(const QString& text, const QString& icon)
{
  return new QPushButton(QIcon(icon), text);
}

QString layoutRoot(int type)
{
  return type == 0 ? QStringLiteral("elements/XP/") : QStringLiteral("elements/VX/");
}

} // namespace

QELSKCreator::QELSKCreator(char type, QWidget* parent)
    : QWidget(parent), elementData(type == 0 ? 0 : 1, QSize())
{
  informationLabel = new QLabel(redStatus(kTooFew));
  nameEdit = new QLineEdit;
  QPushButton* cancelButton = iconButton(QStringLiteral("Annuler"), QStringLiteral(":/icon/remove.png"));

  elementData.addElementFromImageFile(std::string());
  elementData.setName("Elément sélectionné", 0);
  elementData.setSource(kPlaceholderSource, 0);

  mkDirButton = iconButton(QStringLiteral("Ajouter une catégorie"), QStringLiteral(":/icon/add_folder.png"));
  validButton = iconButton(QStringLiteral("Valider"), QStringLiteral(":/icon/ok.png"));
  validButton->setEnabled(false);
  validButton->setDefault(true);
  backButton = iconButton(QStringLiteral("Précédent"), QStringLiteral(":/icon/previous.png"));
  backButton->setEnabled(false);
  QPushButton* addButton =
      iconButton(QStringLiteral("Ajouter des éléments simples"), QStringLiteral(":/icon/add_qt.png"));

  dirModel = new LibraryDirModel(this);
  dirView = new QListViewKey;
  dirView->setModel(dirModel);
  basePath = libraryBasePath();
  currentPath = layoutRoot(elementData.type());
  dirModel->setFolder(basePath + currentPath);

  layerList = new QLayerListELSK(&elementData);
  pathLabel = new QLabel;
  pathLabel->setTextFormat(Qt::PlainText); // folder names are shown as they are

  QFormLayout* nameForm = new QFormLayout;
  nameForm->addRow(QStringLiteral("Nom de l'élément"), nameEdit);
  QHBoxLayout* nameRow = new QHBoxLayout;
  nameRow->addLayout(nameForm);
  nameRow->addWidget(addButton);
  QHBoxLayout* headings = new QHBoxLayout;
  headings->addWidget(new QLabel(QStringLiteral("<strong>Choisir la catégorie de l'élément</strong>")), 0,
                      Qt::AlignLeft);
  headings->addWidget(new QLabel(QStringLiteral("<strong>Position relative des éléments</strong>")), 0,
                      Qt::AlignRight);
  QVBoxLayout* browserColumn = new QVBoxLayout;
  browserColumn->addWidget(pathLabel);
  browserColumn->addWidget(dirView);
  QHBoxLayout* middleRow = new QHBoxLayout;
  middleRow->addLayout(browserColumn);
  middleRow->addWidget(layerList);
  QHBoxLayout* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(backButton, 0, Qt::AlignLeft);
  buttonRow->addWidget(mkDirButton, 10, Qt::AlignLeft);
  buttonRow->addWidget(validButton, 10, Qt::AlignRight);
  buttonRow->addWidget(cancelButton, 0, Qt::AlignRight);
  QVBoxLayout* layout = new QVBoxLayout;
  layout->addWidget(informationLabel);
  layout->addLayout(nameRow);
  layout->addLayout(headings);
  layout->addLayout(middleRow);
  layout->addLayout(buttonRow);

  updateInfo();
  setLayout(layout);

  connect(dirView, &QListView::activated, this, qOverload<const QModelIndex&>(&QELSKCreator::validModelIndex));
  connect(validButton, &QPushButton::clicked, this, qOverload<>(&QELSKCreator::validModelIndex));
  connect(backButton, &QPushButton::clicked, this, &QELSKCreator::backElement);
  connect(mkDirButton, &QPushButton::clicked, this, &QELSKCreator::makeADir);
  connect(nameEdit, &QLineEdit::textChanged, this, &QELSKCreator::changeValid);
  connect(layerList, &QLayerListELSK::deleteElement, this, &QELSKCreator::updateInformation);
  connect(addButton, &QPushButton::clicked, this, &QELSKCreator::addSingleElement);
  connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
  EscapeCancels::install(this, cancelButton);

  setWindowTitle(elementData.type() == 0 ? QStringLiteral("Ajouter un Elément Sorvel Kit XP à la bibliothèque")
                                         : QStringLiteral("Ajouter un Elément Sorvel Kit VX à la bibliothèque"));
  setWindowIcon(QIcon(QStringLiteral(":/icon/SK.png")));
  setFixedSize(sizeHint());
}

// The list points into elementData, which members' destruction ends before
// the toolkit deletes the children.
QELSKCreator::~QELSKCreator() { delete layerList; }

void QELSKCreator::updateInfo()
{
  const FolderLine line = libraryFolderLine(currentPath, dirView->sizeHint().width());
  pathLabel->setText(line.text);
  pathLabel->setToolTip(line.toolTip);
}

void QELSKCreator::showFolder(const QString& path)
{
  currentPath = path;
  updateInfo();
  dirModel->setFolder(basePath + currentPath);
  changeValid(nameEdit->text());
}

void QELSKCreator::validModelIndex(const QModelIndex& modelIndex)
{
  if (!modelIndex.isValid())
    return;
  const QString name = dirModel->fileName(modelIndex);
  if (!dirModel->isDir(modelIndex)) {
    nameEdit->setText(name);
    nameEdit->selectAll();
    return;
  }
  backButton->setEnabled(true);
  mkDirButton->setEnabled(true);
  showFolder(currentPath + name + QLatin1Char('/'));
}

// Unlike the store window, which climbs to "elements/", this window never
// leaves its layout's root.
void QELSKCreator::backElement()
{
  QString path = currentPath.left(currentPath.size() - 1);
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  if (slash >= 1)
    path.truncate(slash + 1);
  const QString root = layoutRoot(elementData.type());
  if (path.size() < root.size())
    path = root;
  if (path == root)
    backButton->setEnabled(false);
  showFolder(path);
}

void QELSKCreator::makeADir()
{
  mkDirDialog = new QCategoryDialog(this);
  dirInformationLabel = mkDirDialog->statusLabel;
  dirNameEdit = mkDirDialog->nameField;
  validMkDirButton = mkDirDialog->validButton;
  dirNameChanged(dirNameEdit->text());
  connect(validMkDirButton, &QPushButton::clicked, this, &QELSKCreator::validMkDir);
  connect(dirNameEdit, &QLineEdit::textChanged, this, &QELSKCreator::dirNameChanged);
  mkDirDialog->show();
}

void QELSKCreator::dirNameChanged(QString str)
{
  if (mkDirDialog)
    mkDirDialog->checkName(str, basePath + currentPath);
}

void QELSKCreator::validMkDir()
{
  if (!mkDirDialog)
    return;
  if (mkDirDialog->createIn(basePath + currentPath))
    dirModel->refresh();
  mkDirDialog->close();
}

void QELSKCreator::changeValid(QString str)
{
  const int simpleElements = elementData.elementCount() - 1;
  QString refusal;
  if (simpleElements < 2)
    refusal = kTooFew;
  else if (simpleElements > kMaxElementFileSheets)
    refusal = QStringLiteral("L'élément ne peut pas contenir plus de %1 éléments simples.").arg(kMaxElementFileSheets);
  else
    refusal = elementNameRefusal(str);
  informationLabel->setText(refusal.isEmpty() ? greenStatus(QStringLiteral("Choisissez une catégorie et validez."))
                                              : redStatus(refusal));
  validButton->setEnabled(refusal.isEmpty());
}

void QELSKCreator::addSingleElement()
{
  const QStringList files =
      askInRememberedFolder(FileDialogKind::OpenFiles, this, "pathLoadSingleElement", QDir::homePath(),
                            QStringLiteral("Ouvrir des éléments simples"), QStringLiteral("Images (*.png)"));
  if (files.isEmpty())
    return;
  const std::size_t first = elementImages.size();
  QElementViewer viewer(files, &elementImages, this);
  if (viewer.hasImage())
    prompts().runDialog(viewer);
  for (std::size_t i = first; i < elementImages.size(); ++i) {
    const int source = nextSource++;
    elementData.addElementFromImage(elementImages[i].image, std::to_string(source));
    elementData.setName(elementImages[i].name.toUtf8().toStdString(), elementData.elementCount() - 1);
  }
  layerList->updateLayout();
  layerList->update();
  changeValid(nameEdit->text());
}

void QELSKCreator::updateInformation(int index)
{
  if (index >= 0 && index < static_cast<int>(elementImages.size()))
    elementImages.erase(elementImages.begin() + index);
  --nextSource;
  for (int e = 0; e < elementData.elementCount(); ++e) {
    if (elementData.source(e) == kPlaceholderSource)
      continue;
    const int k = QString::fromStdString(elementData.source(e)).toInt();
    if (k > index)
      elementData.setSource(std::to_string(k - 1), e);
  }
  changeValid(nameEdit->text());
}

void QELSKCreator::validModelIndex()
{
  // Only what the status line accepts is saved, whoever asks.
  if (!validButton->isEnabled())
    return;
  const QString folder = basePath + currentPath;
  QString name = nameEdit->text();
  ensureExtension(name, QStringLiteral("elsk"));
  nameEdit->setText(name);
  if (QDir(folder).exists(name) &&
      prompts().question(this, QStringLiteral("Sorvel Kit"),
                         richTextEscaped(name) + QStringLiteral(" existe déjà. Voulez-vous le remplacer ?"),
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton) != QMessageBox::Yes)
    return;

  std::vector<QImage> records;
  records.reserve(elementImages.size());
  for (const ElementImage& record : elementImages)
    records.push_back(record.image);
  int marker = 0;
  const std::vector<QImage> sheets = elementFileSheets(elementData, records, marker);
  const QString path = folder + name;
  QString reason;
  const int result = saveElementFile(path.toUtf8().constData(), sheets, static_cast<char>(marker),
                                     static_cast<char>(elementData.type()), &reason);
  if (result == 0) {
    close();
    return;
  }
  // Linux refuses a write as a plain open error: the access rights tell.
  QString prefix;
  if (result == QFileDevice::PermissionsError || permissionRefused(path, true))
    prefix = QStringLiteral("Vous n'avez pas la permission d'écrire dans ce fichier :<br />");
  else if (result == QFileDevice::OpenError)
    prefix = QStringLiteral("Ce fichier n'a pas pu s'ouvrir :<br />");
  else
    prefix = QStringLiteral("Impossible de créer l'élément :<br />");
  prompts().message(this, QMessageBox::Critical, QStringLiteral("Erreur"), prefix + richTextEscaped(path) + ".",
                    saveFailureDetail(path, reason));
}
