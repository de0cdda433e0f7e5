#include "model/FileErrors.h"

#include "model/CharacterData.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QString>

std::string escapedPath(const std::string& path)
{
  return richTextEscaped(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()))).toStdString();
}

std::string cannotOpenMessage(const std::string& path)
{
  return "Ce fichier n'a pas pu s'ouvrir :<br />" + escapedPath(path) + ".";
}

bool permissionRefused(const QString& path, bool writing)
{
  const QFileInfo info(path);
  if (!writing)
    return info.exists() && !info.isReadable();
  if (info.exists() && !info.isWritable())
    return true;
  const QFileInfo folder(info.absolutePath());
  return folder.isDir() && !folder.isWritable();
}

std::string openErrorMessage(const QFileDevice& file, bool writing, const std::string& path)
{
  std::string prefix;
  if (permissionRefused(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())), writing)
      || file.error() == QFileDevice::PermissionsError) {
    prefix = writing ? "Vous n'avez pas la permission d'écrire dans ce fichier :<br />"
                     : "Vous n'avez pas la permission de lire ce fichier :<br />";
  } else if (file.error() == QFileDevice::OpenError) {
    return cannotOpenMessage(path);
  } else {
    prefix = "Impossible d'ouvrir le fichier :<br />";
  }
  return prefix + escapedPath(path) + ".";
}

std::string saveErrorMessage(const std::string& path)
{
  return "Impossible d'enregistrer le fichier :<br />" + escapedPath(path) + ".";
}

QString cellSideReason()
{
  return QStringLiteral("Une cellule dépasse %1 pixels de côté : le fichier ne pourrait pas être rouvert.")
      .arg(kMaxSheetSide);
}

QString sheetSideReason()
{
  return QStringLiteral("L'image dépasse %1 pixels de côté : un fichier qui la contiendrait ne pourrait pas être "
                        "rouvert.")
      .arg(kMaxSheetSide);
}

QString cellBudgetReason()
{
  return QStringLiteral("Les cellules dépasseraient 2 Go une fois décodées : le fichier ne pourrait pas être rouvert.");
}

QString formatReason()
{
  return QStringLiteral("Ce format ne peut pas contenir ce character.");
}

QString latin1Reason(const QString& character, const QString& text)
{
  return QStringLiteral("Ce format ne peut pas contenir le caractère « %1 » de « %2 ».").arg(character, text);
}

std::string damagedFileMessage(const std::string& path)
{
  return escapedPath(path) + " est endommagé.<br />Il est impossible de l'ouvrir.";
}
