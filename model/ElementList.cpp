#include "model/CharacterData.h"

#include "core/BlendImage.h"
#include "core/ImageUtils.h"
#include "core/SheetCut.h"
#include "model/StreamImage.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

const char kNewNamePrefix[] = "Elément ";
const char kCopySuffix[] = " copie";

// One element taken out of the five per-element lists.
struct Element
{
  std::string name;
  std::string source;
  std::vector<QImage> images;
  std::vector<QPoint> offsets;
  bool visible = true;
};

// The five per-element lists built anew, then installed whole, so that they
// always keep one entry per element.
struct Lists
{
  std::vector<std::string> names;
  std::vector<std::string> sources;
  std::vector<std::vector<QImage>> images;
  std::vector<std::vector<QPoint>> offsets;
  std::vector<bool> visible;

  explicit Lists(std::size_t capacity)
  {
    names.reserve(capacity);
    sources.reserve(capacity);
    images.reserve(capacity);
    offsets.reserve(capacity);
    visible.reserve(capacity);
  }

  int count() const { return static_cast<int>(images.size()); }

  void put(const CharacterData& doc, int e)
  {
    names.push_back(doc.names()[e]);
    sources.push_back(doc.sources()[e]);
    images.push_back(doc.images(e));
    offsets.push_back(doc.offsets(e));
    visible.push_back(doc.visibility()[e]);
  }

  void put(const Element& el)
  {
    names.push_back(el.name);
    sources.push_back(el.source);
    images.push_back(el.images);
    offsets.push_back(el.offsets);
    visible.push_back(el.visible);
  }

  void install(CharacterData& doc)
  {
    doc.names().swap(names);
    doc.sources().swap(sources);
    doc.images().swap(images);
    doc.offsets().swap(offsets);
    doc.visibility().swap(visible);
  }
};

bool hasName(const std::vector<std::string>& names, const std::string& name)
{
  return std::find(names.begin(), names.end(), name) != names.end();
}

// "Elément N" with N rising from first until neither list holds the name.
std::string freeElementName(const std::vector<std::string>& names, int first,
                            const std::vector<std::string>& alsoTaken = {})
{
  int n = first;
  std::string name = kNewNamePrefix + std::to_string(n);
  while (hasName(names, name) || hasName(alsoTaken, name))
    name = kNewNamePrefix + std::to_string(++n);
  return name;
}

// Whether a name already ends like a copy: " copie", optionally followed by a
// number (with or without a space before it). The name is matched backwards
// against the suffix, so a name shorter than the suffix that agrees with its
// end ("pie", "7", "") counts as a copy too.
bool isCopyName(const std::string& name)
{
  int next = static_cast<int>(sizeof(kCopySuffix)) - 2; // last suffix character
  bool matched = false;
  bool digits = false;
  for (int i = static_cast<int>(name.size()) - 1; i >= 0; --i) {
    const char ch = name[i];
    if (!matched) {
      if (ch >= '0' && ch <= '9') {
        digits = true;
        continue;
      }
      if (digits && ch == ' ') {
        matched = true;
        continue;
      }
    }
    if (ch != kCopySuffix[next])
      return false;
    matched = true;
    if (next == 0)
      return true;
    --next;
  }
  return true;
}

std::string cutAfterLastE(const std::string& name)
{
  const std::size_t pos = name.rfind('e');
  return pos == std::string::npos ? std::string() : name.substr(0, pos + 1);
}

// A blank element to draw on, or none for a layout without cells.
void makeDrawingElement(const CharacterData& doc, Element& el)
{
  el.images.clear();
  el.offsets.clear();
  if (doc.type() != XP && doc.type() != VX)
    return;
  el.images.assign(doc.cellCount(), blankImage(doc.cellSize()));
  el.offsets.assign(doc.cellCount(), QPoint(0, 0));
}

// The element read from path (a drawing element for the empty path); false
// when nothing can be read, or the sheet is wider or taller than any file
// can hold: a character made of it could never be saved.
bool makeElementFromPath(const CharacterData& doc, const std::string& path, Element& el)
{
  if (path.empty()) {
    makeDrawingElement(doc, el);
  } else {
    QImage sheet = readImageFile(QString::fromStdString(path));
    if (sheet.isNull() || !isSheetSize(sheet.size()))
      return false;
    if (sheet.format() != QImage::Format_ARGB32)
      sheet = sheet.convertToFormat(QImage::Format_ARGB32);
    cutSheet(sheet, doc.grid(), el.images, el.offsets);
  }
  el.name = freeElementName(doc.names(), static_cast<int>(doc.names().size()) + 1);
  el.source = path;
  el.visible = true;
  return true;
}

void appendElement(CharacterData& doc, Element& el)
{
  doc.names().push_back(std::move(el.name));
  doc.sources().push_back(std::move(el.source));
  doc.images().push_back(std::move(el.images));
  doc.offsets().push_back(std::move(el.offsets));
  doc.visibility().push_back(el.visible);
}

// Brings other to this document's layout; an element list of another layout
// cannot share its cells.
void convertToLayoutOf(const CharacterData& doc, CharacterData& other)
{
  if (other.type() == doc.type())
    return;
  if (doc.type() == XP)
    other.convertVXtoXP();
  else
    other.convertXPtoVX();
}

} // namespace

bool CharacterData::addElement(const std::string& path, const int& position)
{
  const int count = elementCount();
  const int pos = std::clamp(position, 0, count);
  Element el;
  if (!makeElementFromPath(*this, path, el))
    return false;
  Lists out(count + 1);
  for (int i = 0; i <= count; ++i) {
    if (i < pos)
      out.put(*this, i);
    else if (i == pos)
      out.put(el);
    else
      out.put(*this, i - 1);
  }
  out.install(*this);
  return true;
}

bool CharacterData::addElementFromImageFile(const std::string& path)
{
  Element el;
  if (!makeElementFromPath(*this, path, el))
    return false;
  appendElement(*this, el);
  return true;
}

bool CharacterData::addElementFromImage(QImage& sheet, const std::string& source)
{
  Element el;
  if (sheet.isNull()) {
    if (!source.empty())
      return false;
    makeDrawingElement(*this, el);
  } else {
    if (sheet.format() != QImage::Format_ARGB32)
      sheet = sheet.convertToFormat(QImage::Format_ARGB32);
    cutSheet(sheet, grid(), el.images, el.offsets);
  }
  el.name = freeElementName(m_names, static_cast<int>(m_names.size()) + 1);
  el.source = source;
  el.visible = true;
  appendElement(*this, el);
  return true;
}

void CharacterData::appendElements(CharacterData& other, bool rename)
{
  if (&other == this) {
    CharacterData copy(*this);
    appendElements(copy, rename);
    return;
  }
  convertToLayoutOf(*this, other);
  if (other.elementCount() > 0 && other.size() != m_size)
    other.setSize(m_size, true);
  for (int e = 0; e < other.elementCount(); ++e) {
    m_names.push_back(rename ? freeElementName(m_names, static_cast<int>(m_names.size()) + 1) : other.m_names[e]);
    m_sources.push_back(other.m_sources[e]);
    m_images.push_back(other.m_images[e]);
    m_offsets.push_back(other.m_offsets[e]);
    m_visible.push_back(other.m_visible[e]);
  }
}

void CharacterData::insertElements(CharacterData& other, const int& position, bool rename)
{
  if (&other == this) {
    CharacterData copy(*this);
    insertElements(copy, position, rename);
    return;
  }
  const int count = elementCount();
  const int pos = std::clamp(position, 0, count);
  convertToLayoutOf(*this, other);
  const int added = other.elementCount();
  std::vector<std::string> newNames;
  if (rename) {
    for (int k = 0; k < added; ++k)
      newNames.push_back(freeElementName(m_names, static_cast<int>(m_names.size()) + 1 + k, newNames));
  }
  if (other.size() != m_size)
    other.setSize(m_size, true);

  Lists out(count + added);
  for (int u = 0; u < count + added; ++u) {
    if (u < pos) {
      out.put(*this, u);
    } else if (u < pos + added) {
      const int k = u - pos;
      out.put(other, k);
      if (rename)
        out.names.back() = newNames[k];
    } else {
      out.put(*this, u - added);
    }
  }
  out.install(*this);
}

void CharacterData::duplicateElement(const int& element)
{
  const int e = element; // may refer into a list that grows below
  const std::string name = m_names[e];
  const bool copyName = isCopyName(name);
  std::string candidate = copyName ? cutAfterLastE(name) : name + kCopySuffix;
  for (int n = 2; hasName(m_names, candidate); ++n) {
    if (copyName)
      candidate = cutAfterLastE(candidate) + " " + std::to_string(n);
    else
      candidate = name + kCopySuffix + " " + std::to_string(n);
  }

  const std::size_t cells = std::min<std::size_t>(m_type == XP ? 16 : 12, m_images[e].size());
  std::vector<QImage> images(m_images[e].begin(), m_images[e].begin() + cells);
  std::vector<QPoint> offsets(m_offsets[e].begin(), m_offsets[e].begin() + std::min(cells, m_offsets[e].size()));
  const std::string source = m_sources[e];
  const bool visible = m_visible[e];
  m_names.push_back(candidate);
  m_sources.push_back(source);
  m_visible.push_back(visible);
  m_images.push_back(std::move(images));
  m_offsets.push_back(std::move(offsets));
}

// The target is compared as unsigned, so a negative target, like one past the
// top, sends the element to the top.
void CharacterData::moveElement(int target)
{
  if (m_selectedElements.size() != 1)
    return;
  const int count = elementCount();
  const int s = m_selectedElements[0];
  if (s < 0 || s >= count)
    return;
  const unsigned t = static_cast<unsigned>(target);
  Lists out(count);
  int placedAt = -1;
  for (int i = 0; i < count; ++i) {
    if (static_cast<unsigned>(i) == t) {
      placedAt = out.count();
      out.put(*this, s);
    }
    if (i != s)
      out.put(*this, i);
  }
  if (placedAt < 0) {
    placedAt = out.count();
    out.put(*this, s);
  }
  out.install(*this);
  m_selectedElements[0] = placedAt;
}

void CharacterData::duplicateElements(const int& element, const int& position)
{
  const int e = element;
  const int pos = position;
  const int copyIndex = elementCount();
  duplicateElement(e);
  const std::vector<int> kept = m_selectedElements;
  m_selectedElements.assign(1, copyIndex);
  moveElement(pos);
  m_selectedElements = kept;
}

void CharacterData::removeElements()
{
  removeElements(std::vector<int>(m_selectedElements));
}

void CharacterData::removeElements(const std::vector<int>& elements)
{
  const std::vector<int> doomed = elements; // may be the selection cleared below
  const int count = elementCount();
  Lists out(count);
  for (int i = 0; i < count; ++i)
    if (!contains(doomed, i))
      out.put(*this, i);
  out.install(*this);
  m_selectedElements.clear();
}

namespace {

// Whether the document after the merge stays within what its files may hold
// (each side, and all cells together), so that no merge allocates more than
// a reader would ever accept: the merged cells and every cell left unmerged.
bool mergedDocumentFits(const CharacterData& doc, const std::vector<int>& merged,
                        const std::vector<std::array<long long, 4>>& spans)
{
  CellBudget budget;
  for (const auto& [left, top, right, bottom] : spans)
    if (right > left && bottom > top && !budget.take(right - left, bottom - top))
      return false;
  for (int e = 0; e < doc.elementCount(); ++e)
    if (!contains(merged, e))
      for (const QImage& image : doc.images(e))
        if (!image.isNull() && !budget.take(image.width(), image.height()))
          return false;
  return true;
}

} // namespace

// A repeated index would otherwise have the merged element remove itself:
// only the first occurrence of each index counts. Every merged cell is built
// before anything changes, so a refused merge leaves the elements untouched.
bool CharacterData::mergeElements(const std::vector<int>& elements)
{
  std::vector<int> list;
  for (int e : elements)
    if (e >= 0 && e < elementCount() && !contains(list, e))
      list.push_back(e);
  if (list.size() < 2)
    return true;

  const int e0 = list[0];
  const std::size_t cells = std::min(m_images[e0].size(), m_offsets[e0].size());
  std::vector<QImage> merged(cells);
  std::vector<QPoint> corners(cells);
  std::vector<std::array<long long, 4>> spans(cells); // left, top, right, bottom
  for (std::size_t c = 0; c < cells; ++c) {
    // The union in 64 bits: far-apart offsets and sizes overflow an int.
    long long left = m_offsets[e0][c].x();
    long long top = m_offsets[e0][c].y();
    long long right = left + m_images[e0][c].width();
    long long bottom = top + m_images[e0][c].height();
    for (std::size_t k = 1; k < list.size(); ++k) {
      const int ek = list[k];
      if (c >= m_images[ek].size() || c >= m_offsets[ek].size())
        continue;
      const QPoint& o = m_offsets[ek][c];
      const QImage& img = m_images[ek][c];
      left = std::min<long long>(left, o.x());
      top = std::min<long long>(top, o.y());
      right = std::max<long long>(right, static_cast<long long>(o.x()) + img.width());
      bottom = std::max<long long>(bottom, static_cast<long long>(o.y()) + img.height());
    }
    spans[c] = {left, top, right, bottom};
  }
  if (!mergedDocumentFits(*this, list, spans)) {
    m_errorMessage = "Impossible de fusionner ces éléments : l'image d'une cellule fusionnée serait trop grande.";
    return false;
  }
  for (std::size_t c = 0; c < cells; ++c) {
    const auto [left, top, right, bottom] = spans[c];
    QImage canvas;
    if (right > left && bottom > top)
      canvas = blankImage(QSize(static_cast<int>(right - left), static_cast<int>(bottom - top)));
    if (canvas.isNull() && right > left && bottom > top) {
      m_errorMessage = "Impossible de fusionner ces éléments : l'image d'une cellule fusionnée serait trop grande.";
      return false;
    }
    for (int ek : list) {
      if (c >= m_images[ek].size() || c >= m_offsets[ek].size())
        continue;
      const QImage& img = m_images[ek][c];
      const QPoint& o = m_offsets[ek][c];
      blendImage(canvas, static_cast<int>(o.x() - left), static_cast<int>(o.y() - top), img, 0, 0, img.width(),
                 img.height());
    }
    merged[c] = canvas;
    corners[c] = QPoint(static_cast<int>(left), static_cast<int>(top));
  }
  m_images[e0].swap(merged);
  m_offsets[e0].swap(corners);
  removeElements(std::vector<int>(list.begin() + 1, list.end()));
  return true;
}

bool CharacterData::mergeWithLowerElement(int element)
{
  return element <= 0 || mergeElements({element - 1, element});
}

bool CharacterData::mergeSelectedElements()
{
  std::vector<int> list;
  for (int i = 0; i < elementCount(); ++i)
    if (contains(m_selectedElements, i))
      list.push_back(i);
  const bool merged = mergeElements(list);
  m_selectedElements.clear();
  return merged;
}

bool CharacterData::insertElementGroups(CharacterData& below, CharacterData& above)
{
  const int count = elementCount();
  const int belowCount = below.elementCount();
  const int aboveCount = above.elementCount();
  if (belowCount + aboveCount == 0 || !canAddElements(belowCount + aboveCount))
    return false;
  if (count == 0) {
    appendElements(below, true);
    appendElements(above, true);
    return true;
  }
  const bool single = selectedElementCount() == 1;
  const int p = single ? std::clamp(selectedElement(0), 0, count - 1) : count - 1;
  insertElements(below, p, true);
  insertElements(above, belowCount + p + 1, true);
  for (int& selected : m_selectedElements)
    selected = selected < p ? selected : selected == p ? selected + belowCount : selected + belowCount + aboveCount;
  return true;
}

