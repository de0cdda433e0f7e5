#include "canvas/ElementThumbnails.h"

#include "core/ImageUtils.h"
#include "model/CharacterData.h"

int thumbnailCell(int k)
{
  static const int column[3] = {1, 0, 2};
  return 3 * (k / 3) + column[k % 3];
}

const QImage& thumbnailSource(const CharacterData& document, int element)
{
  static const QImage none;
  const std::vector<QImage>& cells = document.images(element);
  const int tried = document.cellCount();
  const QImage* last = nullptr;
  for (int k = 0; k < tried; ++k) {
    const std::size_t cell = document.type() == VX ? thumbnailCell(k) : k;
    // A damaged document may hold fewer cells than its layout.
    if (cell >= cells.size())
      continue;
    last = &cells[cell];
    if (!isFullyTransparent(*last))
      return *last;
  }
  return last ? *last : none;
}

QImage fitThumbnail(const QImage& image)
{
  const int w = image.width(), h = image.height();
  if (w <= 32 && h <= 48)
    return image;
  if (w > 0 && h * 32.0 / w <= 48.0)
    return image.scaledToWidth(32, Qt::FastTransformation);
  return image.scaledToHeight(48, Qt::FastTransformation);
}

std::vector<QPixmap> makeThumbnails(const CharacterData& document)
{
  const int count = document.elementCount();
  std::vector<QPixmap> thumbnails;
  thumbnails.reserve(count);
  for (int e = 0; e < count; ++e)
    thumbnails.push_back(QPixmap::fromImage(fitThumbnail(thumbnailSource(document, e))));
  return thumbnails;
}
