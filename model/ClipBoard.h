#pragma once

class CharacterData;

// The program's own clipboard for character data. The main window holds one
// object through a ClipBoard pointer and replaces it at every copy; the kind
// tells a reader what data() points at.
class ClipBoard
{
public:
  enum Kind : signed char { Elements = 0, Cell = 1, Empty = 2 };

  explicit ClipBoard(signed char kind = Empty) : m_kind(kind) {}
  virtual ~ClipBoard() = default;
  ClipBoard(const ClipBoard&) = delete;
  ClipBoard& operator=(const ClipBoard&) = delete;

  signed char kind() const { return m_kind; }
  void setKind(signed char kind) { m_kind = kind; }

  // The held record, or null for an empty clipboard.
  virtual void* data() { return nullptr; }

private:
  signed char m_kind;
};

// Holds a copy of one record: a LayerData (kind Elements) or a
// LayerDataCellule (kind Cell).
template <class T>
class ClipBoardData : public ClipBoard
{
public:
  ClipBoardData(const T& value, signed char kind) : ClipBoard(kind), m_value(value) {}
  ~ClipBoardData() override = default;

  void* data() override { return &m_value; }

private:
  T m_value;
};

// The clipboard rules, shared by the edit commands and the element list.
// Each returns whether it changed anything; the caller records the step.

// Copies the selected elements, or with cells selected (unless elementsOnly)
// the first selected cell of the first selected element. The clipboard is
// replaced only when there is something to copy.
bool copySelection(CharacterData& document, ClipBoard*& clipboard, bool elementsOnly = false);
// Copies as above, then removes the elements or blanks the cells copied from.
bool cutSelection(CharacterData& document, ClipBoard*& clipboard, bool elementsOnly = false);
// Held elements go above the one selected element, otherwise on top. False
// when the clipboard holds no elements or the element limit would be passed.
bool pasteElements(CharacterData& document, ClipBoard& clipboard);
// The held cell replaces the one selected cell of the one selected element.
// False without such an element and cell in the sheet, or without a cell held.
bool pasteCell(CharacterData& document, ClipBoard& clipboard);

