#include "core/RecentFiles.h"

#include "core/IniSettings.h"

namespace {

const char* const kKey = "recentFiles";

} // namespace

RecentFiles RecentFiles::load()
{
  QString stored;
  IniSettings().getValue(kKey, stored);
  return RecentFiles(stored);
}

RecentFiles::RecentFiles(const QString& stored)
    : m_files(stored.split(QLatin1Char('|'), Qt::SkipEmptyParts))
{
}

void RecentFiles::add(const QString& path)
{
  const QString entry = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
  m_files.removeOne(entry);
  while (m_files.size() >= kMaxFiles)
    m_files.removeFirst();
  m_files.append(entry);
}

void RecentFiles::save() const
{
  IniSettings().setValue("Path", kKey, stored());
}
