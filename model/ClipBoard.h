#pragma once

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
