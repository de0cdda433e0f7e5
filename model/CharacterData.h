#pragma once
// One character sheet document: its elements (name, source, one image and one
// offset per cell, visibility), its size and layout, the selection, the view
// state, the preview snapshot and the drawing stroke in progress.
//
// The member definitions are split by subject:
//   model/CharacterData.cpp   fields, accessors, selection, size
//   model/Snapshot.cpp        copies, LayerData, preview snapshot
//   model/ProjectFile.cpp     .sk reader and writer
//   model/Conversion.cpp      XP <-> VX layout conversion
//   model/ElementList.cpp     adding, duplicating, moving, removing, merging
//   model/Reload.cpp          reloading elements from their sources
//   ops/Flatten.cpp           flattening
//   ops/Render.cpp            view renderer
//   ops/PreviewFrames.cpp     animation frames
//   ops/CellOps.cpp           rubbers, clear, mirror, move, plot and grow
//   ops/KernelFilters.cpp     kernel filters
//   ops/Transform.cpp         resize and rotate
//   ops/ColourShift.cpp       hue / saturation / lightness
//   ops/Drawing.cpp           pen, line and shape tools
#include "core/SheetGrid.h"
#include "core/TslShift.h"
#include "model/DrawScope.h"
#include "model/GradientHolder.h"
#include "model/LayerData.h"
#include "model/LayerDataCellule.h"
#include "model/PenSettings.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPainter;

// The blank pixel: alpha 0, and the word every blank cell holds.
constexpr uint32_t kBlankPixel = 0x00000013u;

// An ARGB32 image of that size holding only the blank pixel (null when the
// size is empty or cannot be allocated).
inline QImage blankImage(const QSize& size)
{
  QImage image(size, QImage::Format_ARGB32);
  image.fill(kBlankPixel);
  return image;
}

// The largest sheet side the readers accept: far beyond any character sheet,
// and small enough that a damaged header never sizes gigabyte images.
constexpr int kMaxSheetSide = 16384;
// Whether a sheet of that size is one the readers accept and so the writers write.
inline bool isSheetSize(const QSize& size)
{
  return size.width() >= 0 && size.height() >= 0 && size.width() <= kMaxSheetSide && size.height() <= kMaxSheetSide;
}

// Offsets the readers keep: far beyond anything a sheet can show, and small
// enough that sums of offsets and sizes never overflow.
constexpr int kMaxCellOffset = 4 * kMaxSheetSide;

inline QPoint clampedOffset(const QPoint& p)
{
  return QPoint(std::clamp(p.x(), -kMaxCellOffset, kMaxCellOffset), std::clamp(p.y(), -kMaxCellOffset, kMaxCellOffset));
}

// a + b with each coordinate held within the int range.
inline QPoint saturatedSum(const QPoint& a, const QPoint& b)
{
  auto add = [](int x, int y) {
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(x) + y, INT_MIN, INT_MAX));
  };
  return QPoint(add(a.x(), b.x()), add(a.y(), b.y()));
}

// Layout of a character.
enum CharacterType : int { XP = 0, VX = 1 };

// Whether the sheet named in the question, which looks like one of the other
// layout's, is to be converted; the question is in French, ready to show, as
// rich text (its path escaped).
using LayoutQuestion = std::function<bool(const std::string& question)>;

class CharacterData
{
public:
  // The view's zoom range; a file's zoom is brought into it on read.
  // The element count is one byte in both file formats.
  static constexpr int kMaxElements = 255;
  static constexpr const char* kTooManyElements = "Impossible de créer plus de 255 éléments !";
  static constexpr double kMinZoom = 0.5;
  static constexpr double kMaxZoom = 16.0;

  // ---- construction (model/CharacterData.cpp, model/Snapshot.cpp)
  CharacterData();
  // A 0x0 size becomes 128x192 (XP) or 96x128 (VX); any other size is kept.
  CharacterData(int type, const QSize& size);
  CharacterData(const CharacterData& other);
  explicit CharacterData(const LayerData& data);
  CharacterData& operator=(const CharacterData& other);
  CharacterData& operator=(const LayerData& data);

  // ---- layout and view
  signed char type() const { return static_cast<signed char>(m_type); }
  int cellCount() const { return m_type == XP ? 16 : 12; }
  int columnCount() const { return m_type == XP ? 4 : 3; }
  QSize cellSize() const;
  QPoint cellOrigin(int cell) const; // top-left corner of a cell on the sheet
  SheetGrid grid() const;             // what cutting a sheet for this layout needs
  const QSize& size() const { return m_size; }
  void setSize(const QSize& newSize, bool keepCentred);
  QSize zoomedSize() const; // each side saturates within 0 .. INT_MAX
  double zoom() const { return m_zoom; }
  void setZoom(const double& zoom) { m_zoom = zoom; }
  bool isGridShown() const { return m_showGrid; }
  void setGridShown(bool shown) { m_showGrid = shown; }
  bool drawsBeyondBorders() const { return m_drawBeyondBorders; }
  void setDrawBeyondBorders(bool on) { m_drawBeyondBorders = on; }
  bool isOnlySelection() const { return m_onlySelection; }
  void setOnlySelection(bool on) { m_onlySelection = on; }
  int backgroundPixel() const { return m_backgroundPixel; }
  void setBackgroundPixel(int pixel) { m_backgroundPixel = pixel; }

  // ---- element lists (no index is validated)
  int elementCount() const { return static_cast<int>(m_images.size()); }
  std::vector<std::string>& names() { return m_names; }
  const std::vector<std::string>& names() const { return m_names; }
  std::vector<std::string>& sources() { return m_sources; }
  const std::vector<std::string>& sources() const { return m_sources; }
  std::vector<bool>& visibility() { return m_visible; }
  const std::vector<bool>& visibility() const { return m_visible; }
  std::vector<std::vector<QImage>>& images() { return m_images; }
  const std::vector<std::vector<QImage>>& images() const { return m_images; }
  std::vector<std::vector<QPoint>>& offsets() { return m_offsets; }
  const std::vector<std::vector<QPoint>>& offsets() const { return m_offsets; }

  std::string name(unsigned element) const { return m_names[element]; }
  void setName(const std::string& name, unsigned element) { m_names[element] = name; }
  std::string& source(unsigned element) { return m_sources[element]; }
  const std::string& source(unsigned element) const { return m_sources[element]; }
  void setSource(const std::string& source, unsigned element) { m_sources[element] = source; }
  bool isVisible(unsigned element) const { return m_visible[element]; }
  void setVisible(bool visible, unsigned element) { m_visible[element] = visible; }
  std::vector<QImage>& images(unsigned element) { return m_images[element]; }
  const std::vector<QImage>& images(unsigned element) const { return m_images[element]; }
  std::vector<QPoint>& offsets(unsigned element) { return m_offsets[element]; }
  const std::vector<QPoint>& offsets(unsigned element) const { return m_offsets[element]; }
  QImage& image(unsigned element, unsigned cell) { return m_images[element][cell]; }
  const QImage& image(unsigned element, unsigned cell) const { return m_images[element][cell]; }
  QPoint& offset(unsigned element, unsigned cell) { return m_offsets[element][cell]; }
  const QPoint& offset(unsigned element, unsigned cell) const { return m_offsets[element][cell]; }
  void setImage(const QImage& image, unsigned element, unsigned cell) { m_images[element][cell] = image; }
  void setOffset(const QPoint& offset, unsigned element, unsigned cell) { m_offsets[element][cell] = offset; }
  LayerDataCellule cellule(unsigned element, unsigned cell) const;
  void setCellImages(const std::vector<QImage>& images, unsigned element) { m_images[element] = images; }
  void setCellOffsets(const std::vector<QPoint>& offsets, unsigned element) { m_offsets[element] = offsets; }
  void setImages(const std::vector<std::vector<QImage>>& images) { m_images = images; }
  void setOffsets(const std::vector<std::vector<QPoint>>& offsets) { m_offsets = offsets; }
  void setElementNames(const std::vector<std::string>& names) { m_names = names; }
  void setElementSources(const std::vector<std::string>& sources) { m_sources = sources; }
  void setVisibility(const std::vector<bool>& visible) { m_visible = visible; }

  // ---- selection
  std::vector<int>& selectedElements() { return m_selectedElements; }
  const std::vector<int>& selectedElements() const { return m_selectedElements; }
  std::vector<int>& selectedCells() { return m_selectedCells; }
  const std::vector<int>& selectedCells() const { return m_selectedCells; }
  void setSelectedElements(const std::vector<int>& list) { m_selectedElements = list; }
  void setSelectedCells(const std::vector<int>& list) { m_selectedCells = list; }
  int selectedElementCount() const { return static_cast<int>(m_selectedElements.size()); }
  int selectedCellCount() const { return static_cast<int>(m_selectedCells.size()); }
  int selectedElement(unsigned i) const { return m_selectedElements[i]; }
  int selectedCell(unsigned i) const { return m_selectedCells[i]; }
  bool isElementSelected(const int& value) const;
  bool isCellSelected(const int& value) const;
  void selectAllElements();
  void selectAllCells();
  void invertElementSelection();
  void invertCellSelection();
  void toggleElement(const int& value);
  void toggleCell(const int& value);
  void sortSelectedElements();
  // A click on a cell of the sheet: alone it selects that cell, with Ctrl it
  // toggles it, with Shift it selects the rectangle of cells from the last
  // one picked (with Ctrl as well, toggling them). Nothing for a cell < 0.
  void clickCell(int cell, bool ctrl, bool shift);
  // The same rule along the element list, whose rectangle is a range.
  void clickElement(int element, bool ctrl, bool shift);
  // The cell next to the last one picked in the direction of an arrow key
  // (Qt::Key_Up, Down, Left, Right); -1 at the sheet's edge or without one.
  int neighbourCell(int key) const;

  // ---- caches, messages, drawing state
  std::string& errorMessage() { return m_errorMessage; }
  const std::string& errorMessage() const { return m_errorMessage; }
  QImage& lastRender() { return m_lastRender; }
  const QImage& lastRender() const { return m_lastRender; }
  QImage& lastFlatten() { return m_lastFlatten; }
  const QImage& lastFlatten() const { return m_lastFlatten; }
  DrawScope& drawScope() { return m_drawScope; }
  const DrawScope& drawScope() const { return m_drawScope; }
  void setPen(const PenSettings& pen) { m_pen = pen; }
  const PenSettings& pen() const { return m_pen; }
  void setStyle(const GradientHolder& style) { m_style = style; }
  const GradientHolder& style() const { return m_style; }
  bool isPathActive() const { return m_pathActive; }
  const QPainterPath& penPath() const { return m_penPath; }
  bool isListUpdatePending() const { return m_listUpdatePending; }
  void setListUpdatePending(bool pending) { m_listUpdatePending = pending; }

  // ---- snapshots (model/Snapshot.cpp)
  void saveSnapshot();
  void restoreSnapshot();
  void clearSnapshot();
  LayerData toLayerData() const;
  void setLayerData(const LayerData& data);
  LayerData copySelectedElements();
  LayerData copyElement(unsigned element) const;

  // The state saved before a previewed operation.
  struct Snapshot
  {
    std::vector<std::string> names;
    QSize size; // -1 x -1 while empty
    std::vector<std::string> sources;
    std::vector<std::vector<QImage>> images;
    std::vector<std::vector<QPoint>> offsets;
    int type = 0;
    std::vector<int> selectedElements;
    std::vector<int> selectedCells;
    std::vector<bool> visible;
    double zoom = 1.0;
    bool showGrid = true;
    bool drawBeyondBorders = false;
    bool onlySelection = false;
  };
  const Snapshot& snapshot() const { return m_snapshot; }

  // ---- project file (model/ProjectFile.cpp)
  // On failure errorMessage() holds the message and reason, when given, why.
  bool saveProjectFile(const std::string& fileName, unsigned char version, QString* reason = nullptr);
  bool loadProjectFile(const std::string& path, unsigned char* version = nullptr);

  // ---- layout conversion (model/Conversion.cpp)
  void convertXPtoVX();
  void convertVXtoXP();

  // ---- element list (model/ElementList.cpp)
  // The sheet of the file at path as a new element, or a drawing element for
  // the empty path; false when the file does not read or its sheet passes
  // kMaxSheetSide.
  bool addElement(const std::string& path, const int& position);
  bool addElementFromImageFile(const std::string& path);
  bool addElementFromImage(QImage& sheet, const std::string& source);
  void appendElements(CharacterData& other, bool rename);
  void insertElements(CharacterData& other, const int& position, bool rename);
  // Whether that many more elements stay within kMaxElements.
  bool canAddElements(int added) const { return added <= kMaxElements - elementCount(); }
  // An element file's two groups, renamed after their sources: `below` goes
  // under the one selected element and `above` right over it (without a
  // single selection, around the topmost element; into an empty character,
  // one after the other). The same elements stay selected wherever they
  // went. False, nothing changed, when both groups are empty or the sum would
  // pass kMaxElements.
  bool insertElementGroups(CharacterData& below, CharacterData& above);
  void duplicateElement(const int& element);
  void moveElement(int target);
  void duplicateElements(const int& element, const int& position);
  void removeElements();
  void removeElements(const std::vector<int>& elements);
  // False, with errorMessage set and every element left as it was, when a
  // merged cell would pass the sheet side limit or cannot be allocated.
  bool mergeElements(const std::vector<int>& elements);
  bool mergeWithLowerElement(int element);
  bool mergeSelectedElements();

  // ---- reloading (model/Reload.cpp)
  // ask is put the question once for each element whose image source lies in
  // the other layout's library folder; without it no sheet is converted.
  bool reloadElements(const LayoutQuestion& ask = {});
  bool reloadElementCells(const std::vector<int>& elements, const std::vector<int>& cells,
                          const LayoutQuestion& ask = {});
  bool reloadElements(const std::vector<int>& elements, const LayoutQuestion& ask = {});
  bool reloadAllElements(const LayoutQuestion& ask = {});

  // ---- flattening (ops/Flatten.cpp)
  // Pixels only: safe off the GUI thread. Also stores the result in lastFlatten.
  QImage flattenImage();
  QPixmap toImage();

  // ---- view renderer (ops/Render.cpp)
  QImage renderImage(uint32_t fill); // stores the result in lastRender
  QPixmap render();
  void renderPixmap(QPixmap& out);
  void renderTo(QPainter* painter);

  // ---- animation frames (ops/PreviewFrames.cpp)
  std::array<QPixmap, 4> previewPixmaps() const;
  // Advances the step that every preview shares: call it from the GUI thread
  // only, so that all previews walk in step.
  std::array<QImage, 4> previewImages() const;

  // ---- cell operations (ops/CellOps.cpp)
  void eraseRect(const QRect& rect);
  void eraseEllipse(const QRect& rect);
  void clearCells();
  void clearSelectedCells();
  void mirrorCells(bool horizontal, bool vertical);
  // Offsets saturate at the int range instead of wrapping.
  void moveCells(const QPoint& delta);
  void moveAllCells(const QPoint& delta);
  void moveCellsFromSnapshot(const QPoint& delta);
  // Cells grow, with blank pixels, to hold the point (cell coordinates); a
  // growth beyond kMaxSheetSide is refused and the cell stays as it was.
  void growCellsToPoint(const QPoint& p);
  void growAllCellsToPoint(const QPoint& p);
  void plotCells(const QPoint& p, const QColor& colour);
  void drawLineCells(const QPoint& p1, const QPoint& p2, const QColor& colour, int width);
  void fillRectCells(const QRect& rect, const QColor& colour);
  void drawEllipseCells(const QRect& rect, const QColor& colour);

  // ---- kernel filters (ops/KernelFilters.cpp)
  // kind 0 tent, 1 edge-weighted; any other kind changes nothing.
  void filterCells(int kind, int size, int strength, bool fromSnapshot);

  // ---- resize and rotate (ops/Transform.cpp)
  void resizeCells(const double& sx, const double& sy, bool recentre, bool smooth, bool fromSnapshot);
  void rotateCells(const double& degrees, bool smooth, bool fromSnapshot);

  // ---- colour shift (ops/ColourShift.cpp)
  void changeColoration(const TslShift& shift, bool absoluteHue, bool fromSnapshot);

  // ---- drawing tools (ops/Drawing.cpp)
  void beginPath(const DrawScope& scope);
  void addPenPoint(const QPoint& p);
  void addPenRect(const QRect& r);
  void endPath();
  void drawLine(const QPoint& from, const QPoint& to);
  void drawShape(const QRect& rect, int tool);

  // Runs step(element, cell) over the cells that the current selection
  // designates: cells without elements -> all elements x those cells (the
  // element selection is empty again afterwards); cells and elements -> both;
  // nothing -> everything, unless the rule leaves that case out (then
  // nothing); elements only -> all their cells.
  enum class ScopeRule { Full, WithoutEverything };
  template <class Step>
  void forEachScopedCell(Step step, ScopeRule rule = ScopeRule::Full);

private:
  void mergeDrawing(const QImage& drawing, double ox, double oy);

  int m_backgroundPixel = static_cast<int>(kBlankPixel);
  std::vector<std::string> m_names;
  QSize m_size{128, 192};
  std::vector<std::string> m_sources;
  std::vector<std::vector<QImage>> m_images;
  std::vector<std::vector<QPoint>> m_offsets;
  int m_type = XP;
  std::vector<int> m_selectedElements;
  std::vector<int> m_selectedCells;
  std::vector<bool> m_visible;
  double m_zoom = 1.0;
  bool m_showGrid = true;
  bool m_drawBeyondBorders = false;
  bool m_onlySelection = false;
  Snapshot m_snapshot{{}, QSize(), {}, {}, {}, 0, {}, {}, {}, 1.0, true, false, false};
  QImage m_lastRender{0, 0, QImage::Format_ARGB32};
  QImage m_lastFlatten{0, 0, QImage::Format_ARGB32};
  std::string m_errorMessage;
  DrawScope m_drawScope;
  PenSettings m_pen;
  GradientHolder m_style;
  bool m_pathActive = false;
  QPainterPath m_penPath;
  bool m_listUpdatePending = false;
};

// Whether value occurs in list.
bool contains(const std::vector<int>& list, const int& value);
// The sum of the bytes of a zero-terminated string, each taken as a signed
// 8-bit value; 0 for a null pointer.
int byteSum(const char* text);
// Writes the next value of a program-wide counter (0 first) and a line end to
// the standard output.
void traceCounter();

template <class Step>
void CharacterData::forEachScopedCell(Step step, ScopeRule rule)
{
  auto run = [&](const std::vector<int>& elements, const std::vector<int>* cells) {
    for (int e : elements) {
      if (e < 0 || e >= elementCount())
        continue;
      if (cells) {
        for (int c : *cells)
          if (c >= 0 && c < static_cast<int>(m_images[e].size()))
            step(e, c);
      } else {
        const int n = static_cast<int>(m_images[e].size());
        for (int c = 0; c < n; ++c)
          step(e, c);
      }
    }
  };
  if (!m_selectedCells.empty() && m_selectedElements.empty()) {
    selectAllElements();
    run(m_selectedElements, &m_selectedCells);
    m_selectedElements.clear();
  } else if (!m_selectedCells.empty()) {
    run(m_selectedElements, &m_selectedCells);
  } else if (m_selectedElements.empty()) {
    if (rule == ScopeRule::WithoutEverything)
      return;
    std::vector<int> all(elementCount());
    for (int i = 0; i < elementCount(); ++i)
      all[i] = i;
    run(all, nullptr);
  } else {
    run(m_selectedElements, nullptr);
  }
}
