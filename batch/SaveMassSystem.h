#pragma once
// The mass save: for each chosen element, or group of elements, one PNG file
// per tint, each the whole character flattened with the chosen elements
// recoloured. Works on a copy of the character made at construction and
// reports only through its signals.

#include "model/CharacterData.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QThread>

#include <optional>
#include <string>
#include <vector>

class SaveMassSystem : public QThread
{
  Q_OBJECT

public:
  // One element or group to save: the elements recoloured together and the
  // number its files are named after. No elements when its id matched none:
  // nothing is written for it.
  struct Entry
  {
    std::vector<int> elements;
    int number = 0;
  };

  // Ungrouped: elementIds are element indexes of document.
  SaveMassSystem(CharacterData* document, const std::vector<int>& elementIds, const QString& folder,
                 const QString& prefix, unsigned int hueStep, bool redefine, QObject* parent = nullptr);
  // Grouped: elementIds are plain indexes (the number after the last "|" of a
  // source), groupIds load counters of element-file sources. With fileParts
  // (one per counter), a group also matches on the element file.
  SaveMassSystem(CharacterData* document, const std::vector<int>& elementIds, const std::vector<int>& groupIds,
                 const QString& folder, const QString& prefix, unsigned int hueStep, bool redefine,
                 QObject* parent = nullptr, const QStringList& fileParts = QStringList());
  // Waits for the run: the thread must be over before its object goes.
  ~SaveMassSystem() override;

  // How many tints are prepared at once; 0, the default, one per core. Set
  // before the start.
  void setThreadCount(int threads) { m_threadCount = threads; }

  // 360 / step, a step below 1 counting as 1.
  static unsigned int tintCount(unsigned int hueStep);
  static QString fileName(const QString& prefix, int number, unsigned int hue);
  // The elements and numbers a run saves, in order. A null document holds no
  // element, but ungrouped indexes are then taken as they are.
  static std::vector<Entry> plan(const CharacterData* document, bool grouped, const std::vector<int>& elementIds,
                                 const std::vector<int>& groupIds, const QStringList& fileParts);
  // The names of the files that plan writes, without folder.
  static QStringList fileNames(const std::vector<Entry>& plan, const QString& prefix, unsigned int hueStep);
  // The number after the last "|"; nothing when there is none or it does not
  // parse.
  static std::optional<int> plainIndex(const std::string& source);

  const CharacterData& document() const { return m_document; }
  bool redefine() const { return m_redefine; }
  bool grouped() const { return m_grouped; }
  const std::vector<int>& elementIds() const { return m_elementIds; }
  const std::vector<int>& groupIds() const { return m_groupIds; }
  const QStringList& fileParts() const { return m_fileParts; }
  unsigned int hueStep() const { return m_hueStep; }
  const QString& folder() const { return m_folder; }
  const QString& prefix() const { return m_prefix; }

signals:
  // Before each file, and once at the end with 100.
  void changeProgess(uchar percent, QString info);
  // Just before finish(), the names of the files that could not be written.
  void unwritten(QStringList fileNames);
  void finish();

protected:
  void run() override;

private:
  // One file of the run: its name, the elements recoloured and their hue.
  struct Tint
  {
    QString name;
    std::vector<int> elements;
    unsigned int hue = 0;
    std::size_t done = 0; // files handled before this one
  };

  void createFolder();
  std::vector<Tint> tints() const;
  // Recolours, flattens and writes one file; false when it was not written.
  bool saveTint(const Tint& tint) const;

  CharacterData m_document; // the worker's own copy: nobody else reads it during a run
  bool m_redefine;
  bool m_grouped;
  std::vector<int> m_elementIds;
  std::vector<int> m_groupIds;
  QStringList m_fileParts;
  unsigned int m_hueStep;
  QString m_folder;
  QString m_prefix;
  QDir m_folderDir;
  int m_threadCount = 0;
};
