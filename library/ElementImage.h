#pragma once
#include <QImage>
#include <QString>

// A keyed element image waiting to join an element file, with the base name
// of the file it came from.
struct ElementImage
{
  QImage image;
  QString name;
};
