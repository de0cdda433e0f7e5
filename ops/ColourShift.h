#pragma once
#include "core/TslShift.h"

#include <QImage>

// Recolours every pixel of image whose input pixel is visible (alpha above 0)
// by converting it to hue, saturation and lightness, shifting it and
// converting it back; the alpha passes through. The input pixel is the one at
// the same place in source when fromSource is set, otherwise the image's own;
// the part of image that source does not cover is left untouched.
// With absoluteHue every pixel takes shift.hue as its hue.
void applyTslShift(const TslShift& shift, QImage& image, bool absoluteHue, bool fromSource, const QImage& source);
