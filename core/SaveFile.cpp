#include "core/SaveFile.h"

#include <QSaveFile>

bool commitSaveFile(QSaveFile& file)
{
  if (!file.flush() || file.error() != QFileDevice::NoError) {
    file.cancelWriting(); // the temporary file goes with the object
    return false;
  }
  return file.commit();
}
