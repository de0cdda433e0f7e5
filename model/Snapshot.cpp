#include "model/CharacterData.h"

#include <algorithm>

// A copy carries the document and the two caches, never the preview snapshot,
// the error message or the drawing state: those belong to one editing session.
CharacterData::CharacterData(const CharacterData& other)
  : m_backgroundPixel(other.m_backgroundPixel),
    m_names(other.m_names),
    m_size(other.m_size),
    m_sources(other.m_sources),
    m_images(other.m_images),
    m_offsets(other.m_offsets),
    m_type(other.m_type),
    m_selectedElements(other.m_selectedElements),
    m_selectedCells(other.m_selectedCells),
    m_visible(other.m_visible),
    m_zoom(other.m_zoom),
    m_showGrid(other.m_showGrid),
    m_drawBeyondBorders(other.m_drawBeyondBorders),
    m_onlySelection(other.m_onlySelection),
    m_lastRender(other.m_lastRender),
    m_lastFlatten(other.m_lastFlatten)
{
}

CharacterData::CharacterData(const LayerData& data)
{
  m_lastRender = QImage();
  m_lastFlatten = QImage();
  setLayerData(data);
}

// Assignment keeps the target's caches, snapshot, message and drawing state.
CharacterData& CharacterData::operator=(const CharacterData& other)
{
  if (this == &other)
    return *this;
  m_type = other.m_type;
  m_size = other.m_size;
  m_names = other.m_names;
  m_sources = other.m_sources;
  m_images = other.m_images;
  m_offsets = other.m_offsets;
  m_zoom = other.m_zoom;
  m_showGrid = other.m_showGrid;
  m_drawBeyondBorders = other.m_drawBeyondBorders;
  m_onlySelection = other.m_onlySelection;
  m_selectedElements = other.m_selectedElements;
  m_selectedCells = other.m_selectedCells;
  m_visible = other.m_visible;
  m_backgroundPixel = other.m_backgroundPixel;
  return *this;
}

CharacterData& CharacterData::operator=(const LayerData& data)
{
  setLayerData(data);
  return *this;
}

void CharacterData::saveSnapshot()
{
  m_snapshot.names = m_names;
  m_snapshot.size = m_size;
  m_snapshot.sources = m_sources;
  m_snapshot.images = m_images;
  m_snapshot.offsets = m_offsets;
  m_snapshot.type = m_type;
  m_snapshot.selectedElements = m_selectedElements;
  m_snapshot.selectedCells = m_selectedCells;
  m_snapshot.visible = m_visible;
  m_snapshot.zoom = m_zoom;
  m_snapshot.showGrid = m_showGrid;
  m_snapshot.drawBeyondBorders = m_drawBeyondBorders;
  m_snapshot.onlySelection = m_onlySelection;
}

void CharacterData::restoreSnapshot()
{
  m_images = m_snapshot.images;
  m_offsets = m_snapshot.offsets;
  m_names = m_snapshot.names;
  m_sources = m_snapshot.sources;
  m_visible = m_snapshot.visible;
  m_selectedElements = m_snapshot.selectedElements;
  m_selectedCells = m_snapshot.selectedCells;
  m_showGrid = m_snapshot.showGrid;
  m_zoom = m_snapshot.zoom;
  m_size = m_snapshot.size;
  m_drawBeyondBorders = m_snapshot.drawBeyondBorders;
  m_onlySelection = m_snapshot.onlySelection;
  m_type = m_snapshot.type;
}

void CharacterData::clearSnapshot()
{
  m_snapshot.images.clear();
  m_snapshot.offsets.clear();
  m_snapshot.names.clear();
  m_snapshot.sources.clear();
  m_snapshot.visible.clear();
  m_snapshot.selectedElements.clear();
  m_snapshot.selectedCells.clear();
}

LayerData CharacterData::toLayerData() const
{
  LayerData d;
  d.type = m_type;
  d.size = m_size;
  d.names = m_names;
  d.sources = m_sources;
  d.images = m_images;
  d.offsets = m_offsets;
  d.visibility = m_visible;
  d.selectedElements = m_selectedElements;
  return d;
}

void CharacterData::setLayerData(const LayerData& data)
{
  m_images = data.images;
  m_offsets = data.offsets;
  m_names = data.names;
  m_sources = data.sources;
  m_size = data.size;
  m_type = data.type;
  m_visible = data.visibility;
  m_selectedElements = data.selectedElements;
  // The cell selection is not part of the record, but the record may bring
  // fewer cells (a VX sheet after an XP one): a cell left selected beyond them
  // would send the next operation to an image that does not exist.
  const int cells = cellCount();
  m_selectedCells.erase(std::remove_if(m_selectedCells.begin(), m_selectedCells.end(),
                                       [cells](int c) { return c < 0 || c >= cells; }),
                        m_selectedCells.end());
}

namespace {

void appendElement(LayerData& d, const CharacterData& doc, int e)
{
  d.type = doc.type();
  d.size = doc.size();
  d.sources.push_back(doc.source(e));
  d.images.push_back(doc.images(e));
  d.names.push_back(doc.name(e));
  d.offsets.push_back(doc.offsets(e));
  d.visibility.push_back(doc.isVisible(e));
}

} // namespace

LayerData CharacterData::copySelectedElements()
{
  sortSelectedElements();
  LayerData d;
  for (int e : m_selectedElements)
    appendElement(d, *this, e);
  return d;
}

LayerData CharacterData::copyElement(unsigned element) const
{
  LayerData d;
  if (element < static_cast<unsigned>(elementCount()))
    appendElement(d, *this, static_cast<int>(element));
  return d;
}
