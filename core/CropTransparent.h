#pragma once
#include <QImage>
#include <QPoint>

// Trims the border rows and columns whose pixels all have alpha 0. The image
// comes out ARGB32; shift receives the kept rectangle's top-left corner within
// the former image, (0, 0) when nothing was trimmed.
void cropTransparent(QImage& image, QPoint& shift);
