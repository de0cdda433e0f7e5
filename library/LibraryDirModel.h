#pragma once
#include <QAbstractListModel>
#include <QFileInfoList>
#include <QString>

// The entries of one library folder, listed at once on the calling thread, so
// that a window shows (and a test reads) the folder as soon as it is set:
// every sub-folder whatever its name, then the "*.png" and "*.elsk" files
// (the case of the extension does not matter), each group by name ignoring
// case, with no hidden entry, no "." or ".." and nothing that is neither a
// folder nor a regular file (a device, a FIFO or a socket, even through a
// link). A folder that does not exist lists nothing.
class LibraryDirModel : public QAbstractListModel
{
  Q_OBJECT

public:
  explicit LibraryDirModel(QObject* parent = nullptr);

  // Lists path (relative to the current folder or absolute) in place of the
  // folder shown before.
  void setFolder(const QString& path);
  QString folder() const { return m_folder; }
  // Lists the same folder again, after files were added or removed there.
  void refresh();

  bool isDir(const QModelIndex& index) const;
  // The entry's name with its extension, as the list shows it; empty for an
  // index of no entry.
  QString fileName(const QModelIndex& index) const;
  // The folder's path, "/" and the entry's name.
  QString filePath(const QModelIndex& index) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  // The name as display text; the toolkit's folder or file icon.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
  QString m_folder;
  QFileInfoList m_entries;
};
