#pragma once
#include <QImage>

// The 8-bit indexed copy of a 2003 sheet. The 2003 engine shows palette
// index 0 as transparent, so the key colour sits there, exact. A sheet of 256
// colours or fewer keeps every colour exact, in the order they first appear;
// a richer one has its other colours reduced to 255 entries, without
// dithering, none of which is the key colour: no pixel turns transparent by
// accident, and no key pixel is lost in a dither.
QImage keyedIndexed8(const QImage& sheet, QRgb key);
