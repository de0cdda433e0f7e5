#pragma once
// The two 50 x 20 colour swatches of the picking windows, drawn over a framed
// checkerboard so that a colour's transparency shows.
#include <QColor>
#include <QImage>
#include <QPixmap>

class QLabel;

QImage swatchCheckerboard();
// The swatch of a fresh image: the bare checkerboard.
QPixmap blankSwatch(const QImage& checkerboard);
// The checkerboard, the colour blended over it, and a one-pixel outline.
QPixmap pickedSwatch(const QImage& checkerboard, const QColor& colour);
// Keeps the picked colour and shows its swatch on the label.
void showPickedColour(QColor& stored, QPixmap& picture, QLabel* label, const QImage& checkerboard,
                      const QColor& colour);
