#pragma once
#include <QString>
#include <QStringList>

// The recent-files record: paths oldest first, at most kMaxFiles of them,
// stored in the settings key "recentFiles" joined by "|".
class RecentFiles
{
public:
  static constexpr int kMaxFiles = 15;

  // The record as the settings hold it now.
  static RecentFiles load();
  explicit RecentFiles(const QString& stored = QString());

  // Oldest first. A record written by hand may hold more than kMaxFiles;
  // the menu shows its first kMaxFiles.
  const QStringList& files() const { return m_files; }
  // Moves the path to the newest end, dropping the oldest beyond the limit.
  // Folders are written with "/".
  void add(const QString& path);
  QString stored() const { return m_files.join(QLatin1Char('|')); }
  // Writes the record through a settings object of its own.
  void save() const;

private:
  QStringList m_files;
};
