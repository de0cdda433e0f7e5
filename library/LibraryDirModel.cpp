#include "library/LibraryDirModel.h"

#include <QDir>
#include <QFileIconProvider>

LibraryDirModel::LibraryDirModel(QObject* parent) : QAbstractListModel(parent) {}

void LibraryDirModel::setFolder(const QString& path)
{
  m_folder = path;
  refresh();
}

void LibraryDirModel::refresh()
{
  beginResetModel();
  m_entries.clear();
  QDir dir(m_folder);
  if (!m_folder.isEmpty() && dir.exists())
    m_entries = dir.entryInfoList({QStringLiteral("*.png"), QStringLiteral("*.elsk")},
                                  QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot,
                                  QDir::DirsFirst | QDir::Name | QDir::IgnoreCase);
  // A link passes the filter whatever it points at: one to a device or a
  // FIFO would never end reading, or never start.
  m_entries.removeIf([](const QFileInfo& entry) { return !entry.isDir() && !entry.isFile(); });
  endResetModel();
}

bool LibraryDirModel::isDir(const QModelIndex& index) const
{
  return index.isValid() && index.row() < m_entries.size() && m_entries[index.row()].isDir();
}

QString LibraryDirModel::fileName(const QModelIndex& index) const
{
  return index.isValid() && index.row() < m_entries.size() ? m_entries[index.row()].fileName() : QString();
}

QString LibraryDirModel::filePath(const QModelIndex& index) const
{
  return index.isValid() && index.row() < m_entries.size() ? m_entries[index.row()].filePath() : QString();
}

int LibraryDirModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant LibraryDirModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || index.row() >= m_entries.size())
    return QVariant();
  const QFileInfo& entry = m_entries[index.row()];
  if (role == Qt::DisplayRole)
    return entry.fileName();
  if (role == Qt::DecorationRole) {
    static const QFileIconProvider icons;
    return icons.icon(entry.isDir() ? QFileIconProvider::Folder : QFileIconProvider::File);
  }
  return QVariant();
}
