#pragma once
// The last steps of the view renderer, shared with the move-drag view.
#include <QImage>
#include <QRect>
#include <QSize>

#include <vector>

class CharacterData;

// Turns a composed sheet (the document's size, background and elements laid)
// into the view: zoomed, with the grid and the selection frames. Keeps the
// result as the document's last render and returns it.
QImage finishView(CharacterData& doc, QImage sheet);

// The size of the view renderImage gives: the zoomed sheet, or the sheet
// itself when the zoom is 1, not positive or too small for one pixel.
QSize viewSize(const CharacterData& doc);

// The sheet before the zoom: the background and every visible element laid.
QImage composedSheet(const CharacterData& doc);

// The pixels of part (view coordinates, cut to the view) of the view that
// finishView would make of sheet, word for word, grid and frames included;
// costs the part's pixels only. Null when nothing of part lies in the view or
// sheet is not the document's size.
QImage viewPart(const CharacterData& doc, const QImage& sheet, const QRect& part);

// The sheet pixels that part (view coordinates) of the view shows.
QRect sheetPartOf(const CharacterData& doc, const QRect& part);

// What the composed sheet is made of: the layout, the background, and each
// cell image by identity (an image takes a new key whenever its pixels are
// written) with its offset and its element's visibility. Equal keys, equal
// sheets; far cheaper to compare than a sheet is to compose.
std::vector<qint64> compositionKey(const CharacterData& doc);
