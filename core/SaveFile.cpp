#include "core/SaveFile.h"

#include <QImage>
#include <QSaveFile>

bool commitSaveFile(QSaveFile& file)
{
  if (!file.flush() || file.error() != QFileDevice::NoError) {
    file.cancelWriting(); // the temporary file goes with the object
    return false;
  }
  return file.commit();
}

bool savePngFile(const QImage& image, const QString& path)
{
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  if (!image.save(&file, "PNG")) {
    file.cancelWriting();
    return false;
  }
  return commitSaveFile(file);
}

bool saveWholeFile(const QString& path, const QByteArray& bytes)
{
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return commitSaveFile(file);
}
