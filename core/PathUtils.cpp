#include "core/PathUtils.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

int lastSeparator(const QString& path)
{
  return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

} // namespace

QString pathDirectory(const QString& path)
{
  const int sep = lastSeparator(path);
  return sep < 0 ? QString() : path.left(sep);
}

QString pathFileName(const QString& path)
{
  return path.mid(lastSeparator(path) + 1);
}

QString pathBaseName(const QString& path)
{
  const QString name = pathFileName(path);
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.left(dot);
}

QString pathExtension(const QString& path)
{
  return path.mid(path.lastIndexOf(QLatin1Char('.')) + 1);
}

bool hasExtension(const QString& path, const QString& ext)
{
  return pathExtension(path).compare(ext, Qt::CaseInsensitive) == 0;
}

void ensureExtension(QString& path, const QString& ext)
{
  if (!hasExtension(path, ext))
    path += QLatin1Char('.') + ext;
}

bool isValidFileName(const QString& name)
{
  static const char forbidden[] = {'\\', '/', '*', '|', '<', '>', ':', '?', '"'};
  for (char c : forbidden)
    if (name.contains(QLatin1Char(c)))
      return false;
  return true;
}

QString listedPath(const QString& path)
{
  if (path.isEmpty() || path.contains(QLatin1Char('|')))
    return QString();
  return QDir::cleanPath(QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

QString richTextEscaped(const QString& text)
{
  const QString escaped = text.toHtmlEscaped();
  QString kept;
  kept.reserve(escaped.size());
  for (qsizetype i = 0; i < escaped.size(); ++i) {
    if (escaped[i] == QLatin1Char(' ') && (i == 0 || i + 1 == escaped.size() || escaped[i - 1] == QLatin1Char(' ')))
      kept += QLatin1String("&nbsp;");
    else
      kept += escaped[i];
  }
  return kept;
}

QString mnemonicEscaped(const QString& text)
{
  return QString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString windowTitleEscaped(const QString& text)
{
  return mnemonicEscaped(text).replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
}

bool isSpecialFile(const QString& path)
{
  const QFileInfo info(path);
  return info.exists() && !info.isFile();
}
