#pragma once
// The mass-save dialog: the user picks elements of the open character, a
// folder, a prefix, a hue step and the hue mode, and runs the mass save.
// It works on copies of the character only: the open one is never touched.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <vector>

class CharacterData;
class QCheckBox;
class QCloseEvent;
class QLabel;
class QLayerListSelectable;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

class QSaveWindow : public QDialog
{
  Q_OBJECT

public:
  // document is only copied; defaultFolder stands in when no remembered
  // folder exists on disk, defaultPrefix is the proposed prefix.
  QSaveWindow(CharacterData* document, const QString& defaultFolder, const QString& defaultPrefix,
              QWidget* parent = nullptr);
  ~QSaveWindow() override;

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

public slots:
  void updateAddEnable(int index);
  void updateSubEnable(int index);
  void addElement();
  void subElement();
  void searchDir();
  void changeELSK();
  void beginSave();
  void setProgress(uchar percent, QString info);
  // Nothing during a run: the dialog closes at its end, after its report.
  void reject() override;

protected:
  void closeEvent(QCloseEvent* event) override;

private slots:
  // The worker is done: reports the files it could not write, then closes.
  void endSave();

private:
  // Every element of current back in the element list, nothing picked.
  void resetLists();
  void moveSelected(QLayerListSelectable* from, QLayerListSelectable* to);
  void updateSaveEnable();
  void startProgress();

  CharacterData* current;     // plainCopy or groupedCopy, whichever the lists show
  CharacterData* groupedCopy; // element-file groups merged; null when grouping is not offered
  CharacterData* plainCopy;   // the visible elements of the character
  bool grouped;
  std::vector<int> groups; // per element of current, the group number of the list showing it
  QLineEdit* folderEdit;
  QLineEdit* prefixEdit;
  QCheckBox* redefineBox;
  QSpinBox* stepBox;
  QPushButton* addButton;
  QPushButton* removeButton;
  QPushButton* saveButton;
  QPushButton* groupButton;
  QLayerListSelectable* elementList;
  QLayerListSelectable* saveList;
  QLabel* progressText;
  QProgressBar* progressBar;
  QDialog* progressWindow;
  QStringList unwrittenFiles;
  bool saving = false; // from the worker's start to its finish()
};
