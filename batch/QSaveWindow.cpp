#include "batch/QSaveWindow.h"

#include "batch/ReplacedFiles.h"
#include "batch/SaveMassSystem.h"
#include "canvas/QLayerListSelectable.h"
#include "core/IniSettings.h"
#include "core/PathUtils.h"
#include "model/CharacterData.h"
#include "model/MassSaveGroups.h"
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <set>

namespace {

const char* const kFolderKey = "pathSaveMassSKChar";

QPushButton* button(const QString& text, const char* icon = nullptr)
{
  auto* b = new QPushButton(text);
  if (icon)
    b->setIcon(QIcon(QString::fromLatin1(icon)));
  return b;
}

QLabel* caption(const QString& text, Qt::Alignment alignment)
{
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::RichText);
  label->setAlignment(alignment);
  return label;
}

} // namespace

QSaveWindow::QSaveWindow(CharacterData* document, const QString& defaultFolder, const QString& defaultPrefix,
                         QWidget* parent)
  : QDialog(parent), current(nullptr), groupedCopy(nullptr), plainCopy(new CharacterData(*document)),
    grouped(false), groupButton(nullptr), progressText(nullptr), progressBar(nullptr), progressWindow(nullptr)
{
  current = plainCopy;
  plainCopy->setSelectedElements({});
  for (int e = 0; e < plainCopy->elementCount(); ++e)
    if (!plainCopy->isVisible(e))
      plainCopy->toggleElement(e);
  plainCopy->removeElements();
  plainCopy->setOnlySelection(false); // the lists and files show every element

  folderEdit = new QLineEdit;
  folderEdit->setReadOnly(true);
  prefixEdit = new QLineEdit(defaultPrefix);
  QString folder = QDir::homePath();
  IniSettings().getValue(kFolderKey, folder);
  folderEdit->setText(!folder.isEmpty() && QDir(folder).exists() ? folder : defaultFolder);

  setModal(true);
  setWindowTitle(QStringLiteral("Enregistrer sous différentes teintes..."));
  setWindowIcon(QIcon(QStringLiteral(":/icon/savemass.png")));

  addButton = button(QStringLiteral("Ajouter"), ":/icon/add_dessin.png");
  removeButton = button(QStringLiteral("Enlever"), ":/icon/sub_dessin.png");
  saveButton = button(QStringLiteral("Enregistrer"), ":/icon/savemass.png");
  for (QPushButton* b : {addButton, removeButton, saveButton})
    b->setEnabled(false);
  QPushButton* browseButton = button(QStringLiteral("Parcourir"));
  QPushButton* cancelButton = button(QStringLiteral("Annuler"), ":/icon/remove.png");

  stepBox = new QSpinBox;
  stepBox->setRange(5, 120);
  stepBox->setValue(20);
  stepBox->setSuffix(QStringLiteral("°"));
  redefineBox = new QCheckBox(QStringLiteral("Redéfinir"));

  groups.clear();
  elementList = new QLayerListSelectable(current, &groups);
  saveList = new QLayerListSelectable(current, &groups);
  groups.assign(current->elementCount(), elementList->group());

  if (offersMassSaveGrouping(*plainCopy)) {
    addMassSaveReferences(*plainCopy);
    groupButton = button(QStringLiteral("Dégrouper les éléments ELSK"));
    groupedCopy = new CharacterData(*plainCopy);
    mergeMassSaveGroups(*groupedCopy);
    grouped = true;
    current = groupedCopy;
    elementList->setCharacterData(current);
    saveList->setCharacterData(current);
    groups.assign(current->elementCount(), elementList->group());
  }

  auto* layout = new QVBoxLayout(this);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(folderEdit);
  folderRow->addWidget(browseButton);
  auto* names = new QFormLayout;
  names->addRow(QStringLiteral("Dossier de destination"), folderRow);
  names->addRow(QStringLiteral("Préfixe du nom"), prefixEdit);
  layout->addLayout(names);
  auto* step = new QFormLayout;
  step->addRow(QStringLiteral("Variation de la teinte entre chaque enregistrement"), stepBox);
  layout->addLayout(step);
  layout->addWidget(redefineBox);
  auto* captions = new QHBoxLayout;
  captions->addWidget(caption(QStringLiteral("<strong>Liste des éléments</strong>"), Qt::AlignLeft));
  captions->addWidget(
      caption(QStringLiteral("<strong>Eléments dont la teinte est <br />à modifier</strong>"), Qt::AlignRight));
  layout->addLayout(captions);
  auto* lists = new QHBoxLayout;
  lists->addWidget(elementList);
  auto* moves = new QVBoxLayout;
  moves->addWidget(addButton);
  moves->addWidget(removeButton);
  lists->addLayout(moves);
  lists->addWidget(saveList);
  layout->addLayout(lists);
  auto* buttons = new QHBoxLayout;
  if (groupButton)
    buttons->addWidget(groupButton, 100, Qt::AlignRight);
  buttons->addWidget(saveButton, 10, Qt::AlignRight);
  buttons->addWidget(cancelButton, 0, Qt::AlignRight);
  layout->addLayout(buttons);

  prefixEdit->selectAll();
  setFixedSize(sizeHint());
  saveButton->setDefault(true);

  connect(elementList, &QLayerListSelectable::selected, this, &QSaveWindow::updateAddEnable);
  connect(saveList, &QLayerListSelectable::selected, this, &QSaveWindow::updateSubEnable);
  connect(addButton, &QPushButton::clicked, this, &QSaveWindow::addElement);
  connect(removeButton, &QPushButton::clicked, this, &QSaveWindow::subElement);
  if (groupButton)
    connect(groupButton, &QPushButton::clicked, this, &QSaveWindow::changeELSK);
  connect(cancelButton, &QPushButton::clicked, this, &QSaveWindow::close);
  connect(browseButton, &QPushButton::clicked, this, &QSaveWindow::searchDir);
  connect(saveButton, &QPushButton::clicked, this, &QSaveWindow::beginSave);
}

// The worker, a child, is deleted after this body and waits for its thread;
// it works on a copy of its own, so the copies may go first.
QSaveWindow::~QSaveWindow()
{
  delete plainCopy;
  delete groupedCopy;
}

void QSaveWindow::updateAddEnable(int index)
{
  addButton->setEnabled(index != -1);
}

void QSaveWindow::updateSubEnable(int index)
{
  removeButton->setEnabled(index != -1);
}

void QSaveWindow::addElement()
{
  moveSelected(elementList, saveList);
}

void QSaveWindow::subElement()
{
  moveSelected(saveList, elementList);
}

void QSaveWindow::moveSelected(QLayerListSelectable* from, QLayerListSelectable* to)
{
  const int i = from->selectedIndex;
  if (i < 0 || i >= int(groups.size()))
    return;
  groups[i] = to->group();
  from->selectedIndex = -1;
  (from == elementList ? addButton : removeButton)->setEnabled(false);
  saveList->setFirstRow(saveList->firstRow());
  elementList->setFirstRow(elementList->firstRow());
  saveList->update();
  elementList->update();
  updateSaveEnable();
}

void QSaveWindow::updateSaveEnable()
{
  saveButton->setEnabled(saveList->entryCount() > 0 && !folderEdit->text().isEmpty());
}

void QSaveWindow::searchDir()
{
  const QStringList answer = askInRememberedFolder(FileDialogKind::Folder, this, kFolderKey, folderEdit->text(),
                                                   QStringLiteral("Choisir un dossier"));
  if (answer.isEmpty())
    return;
  folderEdit->setText(answer.first());
  updateSaveEnable();
}

void QSaveWindow::changeELSK()
{
  if (!groupedCopy)
    return;
  current = grouped ? plainCopy : groupedCopy;
  groupButton->setText(grouped ? QStringLiteral("Grouper les éléments ELSK")
                               : QStringLiteral("Dégrouper les éléments ELSK"));
  elementList->setCharacterData(current);
  saveList->setCharacterData(current);
  resetLists();
  grouped = !grouped;
}

void QSaveWindow::resetLists()
{
  groups.assign(current->elementCount(), elementList->group());
  elementList->setFirstRow(elementList->firstRow());
  saveList->setFirstRow(saveList->firstRow());
  elementList->selectedIndex = -1;
  saveList->selectedIndex = -1;
  elementList->update();
  saveList->update();
  for (QPushButton* b : {addButton, removeButton, saveButton})
    b->setEnabled(false);
}

void QSaveWindow::beginSave()
{
  const QString folder = folderEdit->text(), prefix = prefixEdit->text();
  if (!isValidFileName(prefix)) {
    // A separator in the prefix would write outside the chosen folder.
    const QString forbidden = QStringLiteral("\\ / : * ? \" < > |").toHtmlEscaped();
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Erreur"),
                      QStringLiteral("Le nom ne doit pas contenir les caractères : ") + forbidden + ".", QString());
    return;
  }
  const unsigned int step = unsigned(stepBox->value());
  const bool redefine = redefineBox->isChecked();
  std::vector<int> ids, counters;
  QStringList fileParts;
  std::set<std::pair<std::string, int>> chosenGroups;
  for (int i = 0; i < current->elementCount() && i < int(groups.size()); ++i) {
    if (groups[i] != saveList->group())
      continue;
    if (!grouped) {
      ids.push_back(i);
    } else if (const auto group = massSaveGroup(current->source(i))) {
      // A group left unmerged shows its members apart: it is saved once.
      if (chosenGroups.insert(*group).second) {
        counters.push_back(group->second);
        fileParts << QString::fromUtf8(group->first.data(), qsizetype(group->first.size()));
      }
    } else if (const auto plain = SaveMassSystem::plainIndex(current->source(i))) {
      ids.push_back(*plain);
    }
  }

  SaveMassSystem* worker = nullptr;
  if (!grouped) {
    if (!checkReplacedFiles(current, ids, folder, prefix, step, this))
      return;
    worker = new SaveMassSystem(current, ids, folder, prefix, step, redefine, this);
  } else {
    if (!checkReplacedFiles(plainCopy, ids, counters, folder, prefix, step, fileParts, this))
      return;
    worker = new SaveMassSystem(plainCopy, ids, counters, folder, prefix, step, redefine, this, fileParts);
  }

  setEnabled(false);
  startProgress();
  connect(worker, &SaveMassSystem::changeProgess, this, &QSaveWindow::setProgress);
  connect(worker, &SaveMassSystem::unwritten, this, [this](const QStringList& names) { unwrittenFiles = names; });
  connect(worker, &SaveMassSystem::finish, this, &QSaveWindow::endSave);
  saving = true;
  worker->start();
}

void QSaveWindow::startProgress()
{
  progressWindow = new QDialog(this);
  progressWindow->setModal(true);
  progressText = new QLabel;
  progressText->setTextFormat(Qt::PlainText); // tint names are shown as they are
  progressBar = new QProgressBar;
  progressBar->setRange(0, 100);
  progressBar->setFixedSize(300, 30);
  auto* layout = new QVBoxLayout(progressWindow);
  layout->addWidget(progressText);
  layout->addWidget(progressBar);
  progressWindow->setWindowTitle(QStringLiteral("Enregistrement en cours..."));
  progressWindow->show();
}

void QSaveWindow::setProgress(uchar percent, QString info)
{
  progressText->setText(info);
  progressBar->setValue(percent);
}

void QSaveWindow::endSave()
{
  if (!unwrittenFiles.isEmpty())
    prompts().message(this, QMessageBox::Warning, QStringLiteral("Erreur"),
                      QStringLiteral("Certains fichiers n'ont pas pu être enregistrés."),
                      QStringLiteral("Liste des fichiers qui n'ont pas pu être enregistrés :\n- ") +
                          unwrittenFiles.join(QStringLiteral("\n- ")));
  saving = false;
  progressWindow->close();
  close();
}

// Until the run is over, exec() must not return: its caller would delete the
// dialog, wait there for the worker with every window frozen, and the report
// would reach no one.
void QSaveWindow::reject()
{
  if (!saving)
    QDialog::reject();
}

void QSaveWindow::closeEvent(QCloseEvent* event)
{
  if (saving)
    event->ignore();
  else
    QDialog::closeEvent(event);
}

bool QSaveWindow::checkReplacedFiles(CharacterData* document, const std::vector<int>& elementIds,
                                     const QString& folder, const QString& prefix, unsigned int hueStep,
                                     QWidget* parent)
{
  return ReplacedFiles::check(document, elementIds, nullptr, folder, prefix, hueStep, QStringList(), parent);
}

bool QSaveWindow::checkReplacedFiles(CharacterData* document, const std::vector<int>& elementIds,
                                     const std::vector<int>& groupIds, const QString& folder, const QString& prefix,
                                     unsigned int hueStep, const QStringList& fileParts, QWidget* parent)
{
  return ReplacedFiles::check(document, elementIds, &groupIds, folder, prefix, hueStep, fileParts, parent);
}

bool QSaveWindow::confirmReplacedFiles(const QStringList& fileNames, const QString& folder, QWidget* parent)
{
  return ReplacedFiles::confirm(fileNames, folder, parent);
}
