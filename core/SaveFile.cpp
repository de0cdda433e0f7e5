#include "core/SaveFile.h"

#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <cerrno>

namespace {

bool failed(QSaveFile& file, const QString& why, QString* reason)
{
  if (reason)
    *reason = why;
  file.cancelWriting(); // the temporary file goes with the object
  return false;
}

bool openFailed(const QSaveFile& file, QString* reason)
{
  if (reason)
    *reason = file.errorString();
  return false;
}

} // namespace

QString writeReason(const QSaveFile& file)
{
  return errno ? qt_error_string(errno) : file.errorString();
}

bool commitSaveFile(QSaveFile& file, QString* reason)
{
  errno = 0;
  if (!file.flush() || file.error() != QFileDevice::NoError)
    return failed(file, writeReason(file), reason);
  if (file.commit())
    return true;
  if (reason)
    *reason = file.errorString();
  return false;
}

bool savePngFile(const QImage& image, const QString& path, QString* reason)
{
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return openFailed(file, reason);
  QImageWriter writer(&file, "PNG");
  errno = 0;
  if (!writer.write(image))
    return failed(file, file.error() != QFileDevice::NoError ? writeReason(file) : writer.errorString(), reason);
  return commitSaveFile(file, reason);
}

bool saveWholeFile(const QString& path, const QByteArray& bytes, QString* reason)
{
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return openFailed(file, reason);
  errno = 0;
  if (file.write(bytes) != bytes.size())
    return failed(file, writeReason(file), reason);
  return commitSaveFile(file, reason);
}

QString saveFailureDetail(const QString& path, const QString& reason)
{
  return QStringLiteral("Fichier : ") + path + QStringLiteral("\nCause : ") + reason;
}
