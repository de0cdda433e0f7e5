#pragma once
// The files a mass save would overwrite, and the question asked before it
// starts. The mass-save dialog's static members of the same names forward
// here.

#include <QString>
#include <QStringList>

#include <vector>

class CharacterData;
class QWidget;

class ReplacedFiles
{
public:
  // Builds the names that the worker given the same arguments writes (groupIds
  // null: ungrouped) and asks through confirm; true means go on.
  static bool check(const CharacterData* document, const std::vector<int>& elementIds,
                    const std::vector<int>* groupIds, const QString& folder, const QString& prefix,
                    unsigned int hueStep, const QStringList& fileParts, QWidget* parent);
  // True, asking nothing, when no name exists in folder; else true only when
  // the user applies the warning.
  static bool confirm(const QStringList& fileNames, const QString& folder, QWidget* parent);
};
