#include "model/CharacterData.h"

#include "core/ImageUtils.h"
#include "core/SheetCut.h"
#include "model/ElementFile.h"
#include "model/ElementFileSource.h"
#include "model/FileErrors.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <climits>
#include <optional>

namespace {

// One reload call: the failures it collects and where the library-folder test
// looks in the source.
class Reloader
{
public:
  Reloader(CharacterData& doc, bool layoutFolderAtStartOnly, const LayoutQuestion& ask)
    : m_doc(doc), m_atStartOnly(layoutFolderAtStartOnly), m_ask(ask)
  {
  }

  // cells: the listed cells, or every cell of the layout when null.
  void reload(int element, const std::vector<int>* cells)
  {
    if (element < 0 || element >= m_doc.elementCount())
      return;
    std::vector<int> scope;
    if (cells) {
      for (int c : *cells)
        if (c >= 0 && c < static_cast<int>(m_doc.images(element).size()))
          scope.push_back(c);
    } else {
      for (int c = 0; c < m_doc.cellCount(); ++c)
        scope.push_back(c);
    }
    const std::string source = m_doc.source(element);
    if (source.empty())
      clearCells(element, scope);
    else if (auto file = elementFileSource(source))
      reloadFromElementFile(element, scope, cells == nullptr, *file);
    else
      reloadFromImage(element, scope, source);
  }

  bool finish()
  {
    if (m_failures.empty())
      return true;
    std::string message = "Certains éléments n'ont pas pu être ouverts.";
    for (const std::string& f : m_failures)
      message += "|" + f;
    m_doc.errorMessage() = message;
    return false;
  }

private:
  void clearCells(int element, const std::vector<int>& cells)
  {
    const QSize cell = m_doc.cellSize();
    for (int c : cells) {
      m_doc.setImage(blankImage(cell), element, c);
      m_doc.setOffset(QPoint(0, 0), element, c);
    }
  }

  void reloadFromElementFile(int element, const std::vector<int>& cells, bool whole, const ElementFileSource& file)
  {
    std::string error;
    const std::optional<int> number = parseSourceNumber(file.number);
    auto groups = number ? loadElementFile(file.path, error) : std::nullopt;
    const int total = groups ? (*groups)[0].elementCount() + (*groups)[1].elementCount() : 0;
    if (!groups || !error.empty() || *number >= total) {
      if (std::find(m_failures.begin(), m_failures.end(), file.path) == m_failures.end())
        m_failures.push_back(file.path);
      return;
    }
    CharacterData& all = (*groups)[0];
    all.appendElements((*groups)[1], true);
    if (all.type() != m_doc.type()) {
      if (m_doc.type() == XP)
        all.convertVXtoXP();
      else
        all.convertXPtoVX();
    }
    if (whole) {
      m_doc.setCellImages(all.images(*number), element);
      m_doc.setCellOffsets(all.offsets(*number), element);
      return;
    }
    for (int c : cells)
      if (c < static_cast<int>(all.images(*number).size())) {
        m_doc.setImage(all.image(*number, c), element, c);
        m_doc.setOffset(all.offset(*number, c), element, c);
      }
  }

  // Whether the user wants a sheet from the other layout's library converted.
  bool askConversion(const std::string& source)
  {
    const bool xp = m_doc.type() == XP;
    const std::string folder = xp ? "elements/VX/" : "elements/XP/";
    const std::size_t at = source.find(folder);
    if (at == std::string::npos || (m_atStartOnly && at != 0) || !m_ask)
      return false;
    return m_ask(escapedPath(source) + (xp ? " semble être un élément de VX. Faut-il le reconvertir vers XP ?"
                              : " semble être un élément de XP. Faut-il le reconvertir vers VX ?"));
  }

  void reloadFromImage(int element, const std::vector<int>& cells, const std::string& source)
  {
    const bool convert = askConversion(source);
    QImage sheet = readImageFile(QString::fromStdString(source));
    if (convert && !sheet.isNull())
      sheet = convertedSheet(source);
    if (sheet.isNull()) {
      m_failures.push_back(source);
      return;
    }
    if (sheet.format() != QImage::Format_ARGB32)
      sheet = sheet.convertToFormat(QImage::Format_ARGB32);
    for (int c : cells) {
      QImage image;
      QPoint offset;
      cutSheetCell(sheet, m_doc.grid(), c, image, offset);
      m_doc.setImage(image, element, c);
      m_doc.setOffset(offset, element, c);
    }
  }

  // The sheet read in the other layout, converted to this one and flattened;
  // null when it cannot be an element.
  QImage convertedSheet(const std::string& source)
  {
    const QSize size = m_doc.size();
    const bool xp = m_doc.type() == XP;
    CharacterData other(xp ? VX : XP,
                        QSize(xp ? size.width() * 3 / 4 : size.width() * 4 / 3, size.height()));
    if (!other.addElementFromImageFile(source))
      return QImage();
    if (xp)
      other.convertVXtoXP();
    else
      other.convertXPtoVX();
    return other.flattenImage();
  }

  CharacterData& m_doc;
  bool m_atStartOnly;
  const LayoutQuestion& m_ask;
  std::vector<std::string> m_failures;
};

} // namespace

bool CharacterData::reloadElements(const LayoutQuestion& ask)
{
  if (!m_selectedCells.empty() && m_selectedElements.empty()) {
    selectAllElements();
    const bool ok = reloadElementCells(m_selectedElements, m_selectedCells, ask);
    m_selectedElements.clear();
    return ok;
  }
  if (!m_selectedCells.empty())
    return reloadElementCells(m_selectedElements, m_selectedCells, ask);
  if (!m_selectedElements.empty())
    return reloadElements(m_selectedElements, ask);
  return reloadAllElements(ask);
}

bool CharacterData::reloadElementCells(const std::vector<int>& elements, const std::vector<int>& cells,
                                       const LayoutQuestion& ask)
{
  Reloader reloader(*this, false, ask);
  const std::vector<int> list = elements, scope = cells; // the lists may be the document's own
  for (int e : list)
    reloader.reload(e, &scope);
  return reloader.finish();
}

bool CharacterData::reloadElements(const std::vector<int>& elements, const LayoutQuestion& ask)
{
  Reloader reloader(*this, false, ask);
  const std::vector<int> list = elements;
  for (int e : list)
    reloader.reload(e, nullptr);
  return reloader.finish();
}

bool CharacterData::reloadAllElements(const LayoutQuestion& ask)
{
  Reloader reloader(*this, true, ask);
  for (int e = 0; e < elementCount(); ++e)
    reloader.reload(e, nullptr);
  return reloader.finish();
}
