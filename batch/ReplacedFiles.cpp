#include "batch/ReplacedFiles.h"

#include "batch/SaveMassSystem.h"
#include "widgets/Prompts.h"

#include <QDir>
#include <QMessageBox>

bool ReplacedFiles::check(const CharacterData* document, const std::vector<int>& elementIds,
                          const std::vector<int>* groupIds, const QString& folder, const QString& prefix,
                          unsigned int hueStep, const QStringList& fileParts, QWidget* parent)
{
  const auto plan = SaveMassSystem::plan(document, groupIds != nullptr, elementIds,
                                         groupIds ? *groupIds : std::vector<int>(), fileParts);
  return confirm(SaveMassSystem::fileNames(plan, prefix, hueStep), folder, parent);
}

bool ReplacedFiles::confirm(const QStringList& fileNames, const QString& folder, QWidget* parent)
{
  const QDir dir(folder);
  QString details = QStringLiteral("Liste des fichiers qui seront remplacés après l'enregistrement :\n");
  bool any = false;
  for (const QString& name : fileNames)
    if (dir.exists(name)) {
      details += QStringLiteral("- ") + name + QLatin1Char('\n');
      any = true;
    }
  if (!any)
    return true;
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Fichiers remplacés"),
                  QStringLiteral("Plusieurs fichiers seront remplacés (et ainsi supprimés définitivement) par les "
                                 "nouveaux characters créés. Pour palier à ce problème, vous pouvez changer le "
                                 "dossier de destination ou le prefixe du nom."),
                  QMessageBox::Apply | QMessageBox::Cancel, parent);
  box.setDetailedText(details);
  return prompts().runMessageBox(box) == QMessageBox::Apply;
}
