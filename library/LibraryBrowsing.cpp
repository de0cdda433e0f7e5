#include "library/LibraryBrowsing.h"

#include "core/ImageUtils.h"
#include "core/PathUtils.h"
#include "model/ElementFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {

const QString kRoot = QStringLiteral("elements/");
const QString kLinePrefix = QStringLiteral("Dossier actuel : ");

} // namespace

QString libraryBasePath()
{
  if (QDir(QStringLiteral("elements/XP")).exists() && QDir(QStringLiteral("elements/VX")).exists())
    return QString();
  return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString libraryParentPath(const QString& currentPath)
{
  QString path = currentPath.left(currentPath.size() - 1);
  for (qsizetype i = path.size() - 1; i >= 1; --i)
    if (path[i] == QLatin1Char('/')) {
      path.truncate(i + 1);
      break;
    }
  return path.size() < kRoot.size() ? kRoot : path;
}

FolderLine libraryFolderLine(const QString& currentPath, int referenceWidth)
{
  const QString inLibrary = currentPath.mid(kRoot.size());
  // A tool tip takes a text that looks like markup as rich text: this one is
  // made rich text that shows the folder names as they are.
  const QString tip = inLibrary.isEmpty() ? inLibrary
                                          : QStringLiteral("<p style='white-space:pre'>") +
                                                inLibrary.toHtmlEscaped() + QStringLiteral("</p>");
  FolderLine line{kLinePrefix + inLibrary, tip};
  const int width = QLabel(line.text).sizeHint().width();
  if (width > referenceWidth - 30)
    line.text = kLinePrefix + currentPath.mid(kRoot.size(), 3) + QStringLiteral(".../") +
                pathFileName(currentPath.left(currentPath.size() - 1)) + QLatin1Char('/');
  return line;
}

QImage libraryFilePicture(const QString& path, const std::function<bool()>& superseded)
{
  if (!QFileInfo(path).isFile())
    return QImage();
  if (hasExtension(path, QStringLiteral("elsk")))
    return elementFilePreviewImage(path.toUtf8().toStdString(), superseded);
  return readImageFile(path, superseded);
}

QImage libraryFolderPicture(const QString& path, const std::function<bool()>& superseded)
{
  QDir dir(path);
  dir.setNameFilters({QStringLiteral("*.png"), QStringLiteral("*.elsk")});
  dir.setSorting(QDir::Name | QDir::IgnoreCase);
  for (const QString& name : dir.entryList(QDir::Files)) {
    if (superseded && superseded())
      break;
    QImage picture = libraryFilePicture(dir.absolutePath() + QLatin1Char('/') + name, superseded);
    if (!picture.isNull())
      return picture;
  }
  return QImage();
}
