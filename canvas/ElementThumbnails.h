#pragma once
#include <QImage>
#include <QPixmap>

#include <vector>

class CharacterData;

// The thumbnails of the element lists: for each element, its first cell that
// shows something, reduced to fit a 32 x 48 box.

// The k-th cell tried for a VX element: the middle column of each row first,
// then the left one, then the right one.
int thumbnailCell(int k);
// The cell image an element is known by (the last cell tried when all are
// transparent), unscaled; a null image for an element without cells.
const QImage& thumbnailSource(const CharacterData& document, int element);
// The image reduced to fit 32 x 48 with its aspect ratio (unsmoothed);
// smaller images are kept.
QImage fitThumbnail(const QImage& image);
std::vector<QPixmap> makeThumbnails(const CharacterData& document);
