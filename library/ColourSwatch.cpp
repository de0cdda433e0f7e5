#include "library/ColourSwatch.h"

#include "core/ImageUtils.h"

#include <QLabel>
#include <QPainter>

namespace {
const QSize kSwatchSize(50, 20);
}

QImage swatchCheckerboard()
{
  QImage board;
  makeCheckerboard(board, kSwatchSize, 5, true, QColor(Qt::white).rgba(), QColor(Qt::gray).rgba());
  return board;
}

QPixmap blankSwatch(const QImage& checkerboard)
{
  QPixmap swatch(kSwatchSize);
  swatch.fill(Qt::transparent);
  QPainter painter(&swatch);
  painter.drawImage(0, 0, checkerboard);
  return swatch;
}

QPixmap pickedSwatch(const QImage& checkerboard, const QColor& colour)
{
  QPixmap swatch(kSwatchSize);
  QPainter painter(&swatch);
  painter.drawImage(0, 0, checkerboard);
  painter.fillRect(swatch.rect(), colour);
  painter.drawRect(0, 0, 49, 19);
  return swatch;
}

void showPickedColour(QColor& stored, QPixmap& picture, QLabel* label, const QImage& checkerboard,
                      const QColor& colour)
{
  stored = colour;
  picture = pickedSwatch(checkerboard, colour);
  label->setPixmap(picture);
}
