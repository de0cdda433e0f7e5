#include "batch/QSaveWindow.h"

#include "batch/ReplacedFiles.h"

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
