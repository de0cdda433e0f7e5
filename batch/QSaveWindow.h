#pragma once
// The mass-save dialog: the user picks elements of the open character, a
// folder, a prefix, a hue step and the hue mode, and runs the mass save.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <vector>

class CharacterData;

class QSaveWindow : public QDialog
{
  Q_OBJECT

public:
  // The question asked before a save: true means go on. Each builds the
  // names the worker given the same arguments would write (without folder)
  // and hands them to confirmReplacedFiles.
  static bool checkReplacedFiles(CharacterData* document, const std::vector<int>& elementIds, const QString& folder,
                                 const QString& prefix, unsigned int hueStep, QWidget* parent = nullptr);
  static bool checkReplacedFiles(CharacterData* document, const std::vector<int>& elementIds,
                                 const std::vector<int>& groupIds, const QString& folder, const QString& prefix,
                                 unsigned int hueStep, const QStringList& fileParts = QStringList(),
                                 QWidget* parent = nullptr);
  // Warns, with the existing names in the detailed text, when some of
  // fileNames exist in folder; true when none does or the user applies.
  static bool confirmReplacedFiles(const QStringList& fileNames, const QString& folder, QWidget* parent = nullptr);
};
