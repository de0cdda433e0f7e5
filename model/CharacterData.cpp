#include "model/CharacterData.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

bool contains(const std::vector<int>& list, const int& value)
{
  return std::find(list.begin(), list.end(), value) != list.end();
}

int byteSum(const char* text)
{
  int sum = 0;
  for (const char* p = text; p && *p; ++p)
    sum += static_cast<signed char>(*p);
  return sum;
}

void traceCounter()
{
  static std::atomic<int> counter{0};
  std::printf("%d\n", counter++);
  std::fflush(stdout);
}

CharacterData::CharacterData() = default;

CharacterData::CharacterData(int type, const QSize& size)
  : m_size(size), m_type(type)
{
  if (size.width() == 0 && size.height() == 0) {
    if (type == XP)
      m_size = QSize(128, 192);
    else if (type == VX)
      m_size = QSize(96, 128);
  }
}

QSize CharacterData::cellSize() const
{
  switch (m_type) {
  case XP: return QSize(m_size.width() / 4, m_size.height() / 4);
  case VX: return QSize(m_size.width() / 3, m_size.height() / 4);
  default: return QSize(0, 0);
  }
}

QPoint CharacterData::cellOrigin(int cell) const
{
  const int columns = columnCount();
  const QSize cs = cellSize();
  return QPoint((cell % columns) * cs.width(), (cell / columns) * cs.height());
}

SheetGrid CharacterData::grid() const
{
  const bool known = m_type == XP || m_type == VX;
  return SheetGrid{columnCount(), known ? cellCount() : 0, cellSize(), m_size};
}

QSize CharacterData::zoomedSize() const
{
  // A zoom set from outside may be anything; the cast of an out-of-range
  // double is undefined.
  auto side = [&](int length) {
    const double scaled = length * m_zoom;
    if (!(scaled > 0))
      return 0;
    return scaled >= double(INT_MAX) ? INT_MAX : static_cast<int>(scaled);
  };
  return QSize(side(m_size.width()), side(m_size.height()));
}

// Each cell image keeps its place relative to the centre of its growing or
// shrinking cell.
void CharacterData::setSize(const QSize& newSize, bool keepCentred)
{
  if (keepCentred) {
    const int columns = m_type == XP ? 4 : 3;
    const int oldW = m_size.width() / columns, oldH = m_size.height() / 4;
    const int newW = newSize.width() / columns, newH = newSize.height() / 4;
    const int dx = static_cast<int>((newW - oldW) * 0.5);
    const int dy = static_cast<int>((newH - oldH) * 0.5);
    moveAllCells(QPoint(dx, dy));
  }
  m_size = newSize;
}

void CharacterData::moveAllCells(const QPoint& delta)
{
  for (auto& element : m_offsets)
    for (QPoint& p : element)
      p = saturatedSum(p, delta);
}

LayerDataCellule CharacterData::cellule(unsigned element, unsigned cell) const
{
  return LayerDataCellule{m_images[element][cell], m_offsets[element][cell]};
}

bool CharacterData::isElementSelected(const int& value) const
{
  return contains(m_selectedElements, value);
}

bool CharacterData::isCellSelected(const int& value) const
{
  return contains(m_selectedCells, value);
}

void CharacterData::selectAllElements()
{
  m_selectedElements.resize(elementCount());
  for (int i = 0; i < elementCount(); ++i)
    m_selectedElements[i] = i;
}

void CharacterData::selectAllCells()
{
  const int n = m_type == XP ? 16 : 12;
  m_selectedCells.resize(n);
  for (int i = 0; i < n; ++i)
    m_selectedCells[i] = i;
}

namespace {

std::vector<int> complement(const std::vector<int>& list, int count)
{
  std::vector<int> out;
  for (int i = 0; i < count; ++i)
    if (!contains(list, i))
      out.push_back(i);
  return out;
}

void toggle(std::vector<int>& list, int value)
{
  auto it = std::find(list.begin(), list.end(), value);
  if (it != list.end())
    list.erase(it);
  else
    list.push_back(value);
}

} // namespace

void CharacterData::invertElementSelection()
{
  m_selectedElements = complement(m_selectedElements, elementCount());
}

void CharacterData::invertCellSelection()
{
  m_selectedCells = complement(m_selectedCells, m_type == XP ? 16 : 12);
}

void CharacterData::toggleElement(const int& value)
{
  toggle(m_selectedElements, value);
}

void CharacterData::toggleCell(const int& value)
{
  toggle(m_selectedCells, value);
}

void CharacterData::clickCell(int cell, bool ctrl, bool shift)
{
  if (cell < 0 || (m_type != XP && m_type != VX))
    return;
  std::vector<int>& cells = m_selectedCells;
  if (!ctrl && !shift) {
    cells = {cell};
  } else if (!shift) {
    toggleCell(cell);
  } else if (cells.empty()) {
    if (ctrl)
      toggleCell(cell);
    else
      cells = {cell};
  } else if (cells.back() != cell) {
    const int anchor = cells.back();
    const int columns = columnCount();
    const int ax = anchor % columns, ay = anchor / columns;
    const int bx = cell % columns, by = cell / columns;
    if (!ctrl)
      cells.clear();
    for (int x = std::min(ax, bx); x <= std::max(ax, bx); ++x) {
      for (int y = std::min(ay, by); y <= std::max(ay, by); ++y) {
        const int c = x + columns * y;
        if (c == cell)
          continue;
        if (!ctrl)
          cells.push_back(c);
        else if (c != anchor)
          toggleCell(c);
      }
    }
    if (ctrl)
      toggleCell(cell);
    else
      cells.push_back(cell);
  }
}

void CharacterData::clickElement(int element, bool ctrl, bool shift)
{
  if (!shift) {
    if (ctrl)
      toggleElement(element);
    else
      m_selectedElements = {element};
    return;
  }
  if (m_selectedElements.empty()) {
    toggleElement(element);
    return;
  }
  const int last = m_selectedElements.back();
  if (last == element)
    return;
  const int step = element > last ? 1 : -1;
  if (ctrl) {
    // Extends from the last pick, toggling what lies between.
    for (int e = last + step; e != element + step; e += step)
      toggleElement(e);
  } else {
    m_selectedElements.clear();
    for (int e = last; e != element + step; e += step)
      toggleElement(e);
  }
}

int CharacterData::neighbourCell(int key) const
{
  if (m_selectedCells.empty() || (m_type != XP && m_type != VX))
    return -1;
  const int last = m_selectedCells.back();
  const int columns = columnCount();
  switch (key) {
  case Qt::Key_Up:
    return last >= columns ? last - columns : -1;
  case Qt::Key_Down:
    return last < cellCount() - columns ? last + columns : -1;
  case Qt::Key_Left:
    return last >= 1 ? last - 1 : -1;
  case Qt::Key_Right:
    return last < cellCount() - 1 ? last + 1 : -1;
  default:
    return -1;
  }
}

void CharacterData::sortSelectedElements()
{
  std::vector<int> sorted;
  for (int i = 0; i < elementCount(); ++i)
    if (contains(m_selectedElements, i))
      sorted.push_back(i);
  m_selectedElements.swap(sorted);
}
