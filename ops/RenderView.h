#pragma once
// The last steps of the view renderer, shared with the move-drag view.
#include <QImage>

class CharacterData;

// Turns a composed sheet (the document's size, background and elements laid)
// into the view: zoomed, with the grid and the selection frames. Keeps the
// result as the document's last render and returns it.
QImage finishView(CharacterData& doc, QImage sheet);
