#pragma once
#include <QColor>
#include <QImage>

// The image stored for an element once the user picked its colours. With
// neither colour opaque, the source in ARGB32, every pixel kept. Otherwise
// each pixel p, starting from the blank 0x00000013, takes the first rule that
// applies:
//  a. an opaque translucency colour of p's red, green and blue, p not fully
//     transparent: that colour at alpha 128;
//  b. p differs from the transparency colour in any channel: p unchanged;
//  c. p is exactly the transparency colour: it stays blank.
// Pixels of alpha 0 skip rule a, so that picking black or white for
// translucency does not turn the transparent ground into a grey veil.
QImage keyElementImage(const QImage& source, const QColor& transparency, const QColor& translucency);
