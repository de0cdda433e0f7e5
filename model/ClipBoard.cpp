#include "model/ClipBoard.h"

#include "model/CharacterData.h"

namespace {

// A selection left over from another sheet must not reach past its cells.
bool validCell(const CharacterData& document, int element, int cell)
{
  return element >= 0 && element < document.elementCount() && cell >= 0 && cell < document.cellCount();
}

} // namespace

bool copySelection(CharacterData& document, ClipBoard*& clipboard, bool elementsOnly)
{
  if (document.selectedElementCount() == 0)
    return false;
  ClipBoard* copied;
  if (elementsOnly || document.selectedCellCount() == 0) {
    copied = new ClipBoardData<LayerData>(document.copySelectedElements(), ClipBoard::Elements);
  } else {
    const int element = document.selectedElement(0);
    const int cell = document.selectedCell(0);
    if (!validCell(document, element, cell))
      return false;
    copied = new ClipBoardData<LayerDataCellule>(document.cellule(element, cell), ClipBoard::Cell);
  }
  delete clipboard;
  clipboard = copied;
  return true;
}

bool cutSelection(CharacterData& document, ClipBoard*& clipboard, bool elementsOnly)
{
  if (!copySelection(document, clipboard, elementsOnly))
    return false;
  if (elementsOnly || document.selectedCellCount() == 0)
    document.removeElements();
  else
    document.clearSelectedCells();
  return true;
}

bool pasteElements(CharacterData& document, ClipBoard& clipboard)
{
  const LayerData* held = clipboard.kind() == ClipBoard::Elements ? static_cast<const LayerData*>(clipboard.data())
                                                                   : nullptr;
  if (!held)
    return false;
  CharacterData pasted(*held);
  if (!document.canAddElements(pasted.elementCount()))
    return false;
  if (document.selectedElementCount() == 1)
    document.insertElements(pasted, document.selectedElement(0) + 1, false);
  else
    document.appendElements(pasted, false);
  return true;
}

bool pasteCell(CharacterData& document, ClipBoard& clipboard)
{
  const LayerDataCellule* held =
      clipboard.kind() == ClipBoard::Cell ? static_cast<const LayerDataCellule*>(clipboard.data()) : nullptr;
  const bool one = document.selectedElementCount() == 1 && document.selectedCellCount() == 1;
  const int element = one ? document.selectedElement(0) : -1;
  const int cell = one ? document.selectedCell(0) : -1;
  if (!held || !validCell(document, element, cell))
    return false;
  document.setImage(held->image, element, cell);
  document.setOffset(held->offset, element, cell);
  return true;
}
