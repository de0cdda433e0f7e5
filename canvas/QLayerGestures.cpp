// The canvas's mouse and key gestures: cell selection, moving cells, the
// pipette and the drawing tools with their checks, previews and undo steps.
#include "canvas/QLayer.h"

#include "canvas/QLayerList.h"
#include "colour/QColorBox.h"
#include "core/IniSettings.h"
#include "widgets/ElementLimit.h"
#include "widgets/Prompts.h"
#include "widgets/Questions.h"
#include "ops/MoveDragView.h"
#include "ops/RenderView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {


const QString kDrawTitle = QStringLiteral("Dessin");

void tellDrawing(QWidget* parent, const QString& text)
{
  prompts().message(parent, QMessageBox::Information, kDrawTitle, text, QString());
}

void storeShowDrawElement(int value)
{
  IniSettings settings;
  settings.setValue("showAgain", "showDrawElement", value);
}

} // namespace

// ---- coordinates

QPoint QLayer::viewOrigin() const
{
  const QSize shown = viewSize();
  return QPoint(static_cast<int>(width() * 0.5 - shown.width() * 0.5),
                static_cast<int>(height() * 0.5 - shown.height() * 0.5));
}

QPoint QLayer::labelPoint(const QPointF& position) const
{
  return QPoint(static_cast<int>(position.x()), static_cast<int>(position.y())) - viewOrigin();
}

QPoint QLayer::sheetPixel(const QPoint& labelPoint) const
{
  const double zoom = m_character.zoom() > 0 ? m_character.zoom() : 1.0;
  return QPoint(static_cast<int>(labelPoint.x() / zoom), static_cast<int>(labelPoint.y() / zoom));
}

// From the sheet pixel, as the drawing point is: a zoomed cell need not be a
// whole number of pixels, and dividing the picture would then send a press
// to the neighbouring cell or to none.
int QLayer::cellAt(const QPoint& labelPoint) const
{
  const int type = m_character.type();
  if ((type != XP && type != VX) || !QRect(QPoint(0, 0), viewSize()).contains(labelPoint))
    return -1;
  const QPoint p = sheetPixel(labelPoint);
  const QSize cell = m_character.cellSize();
  if (cell.width() <= 0 || cell.height() <= 0 || !QRect(QPoint(0, 0), m_character.size()).contains(p))
    return -1;
  const int columns = m_character.columnCount();
  const int column = p.x() / cell.width();
  const int row = p.y() / cell.height();
  if (column >= columns || row >= 4)
    return -1;
  return column + columns * row;
}

QPoint QLayer::cellPoint(int cell, const QPoint& sheetPixel) const
{
  const int type = m_character.type();
  if (type != XP && type != VX)
    return sheetPixel;
  return sheetPixel - m_character.cellOrigin(cell);
}

QPoint QLayer::minPoint(const QPoint& a, const QPoint& b)
{
  return QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y()));
}

QPoint QLayer::maxPoint(const QPoint& a, const QPoint& b)
{
  return QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()));
}

// ---- selection, move, pipette

// With Shift the rectangle between the anchor (the last selected cell) and
// the clicked cell is selected, or with Ctrl as well toggled, column by
// column; the clicked cell always comes last, so it becomes the new anchor.
void QLayer::selectCell(const int& cell)
{
  m_character.clickCell(cell, m_ctrlDown, m_shiftDown);
  refresh();
}

// From the last selected cell; at an edge of the sheet nothing happens, but
// Left and Right run on from one row into the next.
void QLayer::selectNeighbour(int key)
{
  const int target = m_character.neighbourCell(key);
  if (target >= 0)
    selectCell(target);
}

// The word of the zoomed picture under the pointer, grid and frames
// included. The label can be larger than the picture: a click beside it
// picks nothing.
void QLayer::pickColour(const QPoint& labelPoint)
{
  if (!m_colorBox)
    return;
  ensureSheet();
  const QImage view = viewPart(m_character, m_sheet, QRect(labelPoint, QSize(1, 1)));
  if (!view.isNull())
    m_colorBox->setColor(QColor::fromRgba(view.pixel(0, 0)));
}

// ---- the checks before a stroke

int QLayer::readShowDrawElement() const
{
  int value = 4;
  IniSettings settings;
  settings.getValue("showDrawElement", value);
  return value;
}

bool QLayer::addDrawingElement(int index)
{
  if (!m_character.addElement(std::string(), index))
    return false;
  m_character.setSelectedElements({index});
  elementsRedrawn();
  addHistory(&m_character, "Ajouter un calque de dessin");
  return true;
}

bool QLayer::checkElements()
{
  const std::vector<int>& selected = m_character.selectedElements();
  const int count = m_character.elementCount();
  if (!selected.empty()) {
    // A stale index would reach the element's source below.
    if (std::all_of(selected.begin(), selected.end(), [&](int e) { return e >= 0 && e < count; }))
      return true;
  } else {
    const int show = readShowDrawElement();
    if (count < CharacterData::kMaxElements && *tool != RubberTool && show == 2)
      return addDrawingElement(count);
    if (show == 3 && count > 0) {
      m_character.setSelectedElements({count - 1});
      return true;
    }
  }
  tellDrawing(this, QStringLiteral("Aucun élément n'est sélectionné."));
  return false;
}

bool QLayer::checkZone()
{
  if (drawScope->scope != 1 || m_character.selectedCellCount() > 0)
    return true;
  tellDrawing(this, QStringLiteral("Aucune cellule n'est sélectionnée."));
  return false;
}

// An image element is better left untouched: drawing goes on a drawing
// element above it, which the question offers (once per element selection)
// and "showDrawElement" may make the rule.
bool QLayer::checkDrawOnElement()
{
  m_character.sortSelectedElements();
  const int top = m_character.selectedElements().back();
  if (m_character.source(top).empty() || *tool == RubberTool)
    return true;
  const int show = readShowDrawElement();
  if (!m_drawLayerAsked && show == 4) {
    bool ticked = false;
    const QMessageBox::StandardButton answer = askWithCheckBox(
        this, tr("Dessin", "Titre de fenêtre"), QStringLiteral("<h3>Dessiner sur un élément</h3>"),
        QStringLiteral("Vous êtes sur le point de dessiner sur un élément. Il est recommandé de dessiner sur un "
                       "calque de dessin.<br />Créer un calque de dessin ?"),
        QStringLiteral("Ne plus afficher ce message"), ticked, QMessageBox::Yes | QMessageBox::No,
        QMessageBox::Question);
    if (answer == QMessageBox::Yes) {
      storeShowDrawElement(ticked ? 2 : 4);
      if (refusedByElementLimit(this, m_character, 1, QMessageBox::Critical, QStringLiteral("Erreur")))
        return false;
      addDrawingElement(top + 1);
    } else if (answer == QMessageBox::No && ticked) {
      storeShowDrawElement(3);
    }
    m_drawLayerAsked = true;
    return false;
  }
  if (show == 2) {
    if (refusedByElementLimit(this, m_character, 1, QMessageBox::Critical, QStringLiteral("Erreur")))
      return false;
    return addDrawingElement(top + 1);
  }
  return true;
}

// ---- strokes

QColor QLayer::currentColour() const
{
  return m_colorBox ? m_colorBox->currentColor() : QColor(Qt::black);
}

QColor QLayer::otherColour() const
{
  return m_colorBox ? m_colorBox->otherColor() : QColor(Qt::white);
}

bool QLayer::rubberBySelection() const
{
  return *tool == RubberTool && *rubberMode == 1;
}

void QLayer::startStroke(const QPoint& p, int cell)
{
  const double zoom = m_character.zoom();
  const ToolKind kind = static_cast<ToolKind>(*tool);
  if (kind == PenTool) {
    // No pen or line stroke reads the shape colours; the next shape press
    // sets both again.
    gradientHolder->shapeColors = {QColor(), QColor()};
    pen->color = currentColour();
    m_character.setPen(*pen);
    m_character.setStyle(*gradientHolder);
    m_character.beginPath(*drawScope);
    m_drawing = true;
    m_lastPoint = cellPoint(cell, p);
    m_character.addPenPoint(m_lastPoint);
    beginPreview();
    previewPenPoint(QPoint(static_cast<int>(p.x() * zoom), static_cast<int>(p.y() * zoom)));
  } else if (kind == CircleTool || kind == RectTool || rubberBySelection()) {
    // Renewed at every press whatever the modes: an outline drawn with a
    // gradient fill still takes the first colour.
    gradientHolder->shapeColors = {currentColour(), otherColour()};
    m_character.setStyle(*gradientHolder);
    m_character.setPen(*pen);
    if (kind != RubberTool)
      m_character.beginPath(*drawScope);
    m_drawing = true;
    m_startPoint = p;
    m_lastPoint = p;
    m_startCellPoint = cellPoint(cell, p);
    beginPreview();
    const int side = static_cast<int>(zoom);
    previewShape(QRect(qRound(p.x() * zoom), qRound(p.y() * zoom), side, side));
  } else if (kind == LineTool) {
    pen->color = currentColour();
    m_character.setPen(*pen);
    m_character.setStyle(*gradientHolder);
    m_character.beginPath(*drawScope);
    m_drawing = true;
    m_startPoint = p;
    m_startCellPoint = cellPoint(cell, p);
    m_lastPoint = p;
    beginPreview();
  } else if (kind == RubberTool) {
    m_character.setStyle(*gradientHolder);
    m_character.setPen(*pen);
    m_drawing = true;
    const QPoint q = cellPoint(cell, p);
    eraseBrush(q);
    m_lastPoint = q;
    refresh();
  }
}

void QLayer::continueStroke(const QPoint& p)
{
  const double zoom = m_character.zoom();
  const ToolKind kind = static_cast<ToolKind>(*tool);
  if (kind == PenTool) {
    const QPoint q = cellPoint(m_character.drawScope().cell, p);
    if (q != m_lastPoint)
      penTo(q);
  } else if (kind == CircleTool || kind == RectTool || rubberBySelection()) {
    // Whole zoomed pixels, both corners included.
    const QPoint tl = minPoint(p, m_startPoint);
    const QPoint br = maxPoint(p, m_startPoint);
    const QRect rect = QRect(QPoint(qRound(tl.x() * zoom), qRound(tl.y() * zoom)),
                             QPoint(qRound((br.x() + 1) * zoom) - 1, qRound((br.y() + 1) * zoom) - 1))
                           .normalized();
    if (p != m_lastPoint)
      previewShape(rect);
    m_lastPoint = p;
  } else if (kind == RubberTool) {
    // Relative to the pressed cell, so the brush never leaves it.
    const QPoint q = cellPoint(drawScope->cell, p);
    if (q != m_lastPoint) {
      walkSegment(m_lastPoint, q, [this](const QPoint& at) { eraseBrush(at); });
      refresh();
      m_lastPoint = q;
    }
  } else if (kind == LineTool) {
    if (p != m_lastPoint) {
      previewLine(QPoint(qRound(m_startPoint.x() * zoom), qRound(m_startPoint.y() * zoom)),
                  QPoint(qRound(p.x() * zoom), qRound(p.y() * zoom)));
      m_lastPoint = p;
    }
  }
}

void QLayer::walkSegment(const QPoint& from, const QPoint& to, const std::function<void(const QPoint&)>& visit)
{
  const QPoint delta = to - from;
  const int steps = std::max(std::abs(delta.x()), std::abs(delta.y()));
  for (int i = 1; i <= steps; ++i)
    visit(from + QPoint(qRound(double(delta.x()) * i / steps), qRound(double(delta.y()) * i / steps)));
}

void QLayer::penTo(const QPoint& q)
{
  const double zoom = m_character.zoom();
  const QPoint origin = cellPoint(m_character.drawScope().cell, QPoint(0, 0));
  walkSegment(m_lastPoint, q, [&](const QPoint& at) {
    m_character.addPenPoint(at);
    const QPoint sheet = at - origin;
    previewPenPoint(QPoint(static_cast<int>(sheet.x() * zoom), static_cast<int>(sheet.y() * zoom)));
  });
  m_lastPoint = q;
}

void QLayer::finishStroke(const QPoint& p)
{
  m_drawing = false;
  const QPoint q = cellPoint(drawScope->cell, p);
  const QRect rect(minPoint(q, m_startCellPoint), maxPoint(q, m_startCellPoint));
  const ToolKind kind = static_cast<ToolKind>(*tool);
  std::string label;
  if (kind == RectTool) {
    m_character.drawShape(rect, RectTool);
    label = "Rectangle";
  } else if (kind == CircleTool) {
    m_character.drawShape(rect, CircleTool);
    label = "Cercle";
  } else if (kind == LineTool) {
    m_character.drawLine(m_startCellPoint, q);
    label = "Ligne";
  } else if (rubberBySelection()) {
    eraseZone(rect);
    label = "Gomme";
  } else {
    // Fills the pen's stroke; the rubber brush has none open.
    m_character.endPath();
    label = kind == RubberTool ? "Gomme" : "Pinceau";
  }
  endPreview();
  pushStep(label);
  refresh();
  elementsRedrawn();
}

void QLayer::eraseBrush(const QPoint& q)
{
  const int size = m_character.pen().size;
  const int half = size / 2;
  eraseZone(QRect(q.x() - half, q.y() - half, size, size).normalized());
}

// The document's rubbers follow the cell selection; the zone of effect
// stands in for it while erasing.
void QLayer::eraseZone(const QRect& rect)
{
  const std::vector<int> saved = m_character.selectedCells();
  if (drawScope->scope == 0)
    m_character.setSelectedCells({drawScope->cell});
  else if (drawScope->scope == 2)
    m_character.setSelectedCells({});
  const int shape = m_character.pen().shape;
  if (shape == 0)
    m_character.eraseRect(rect);
  else if (shape == 1)
    m_character.eraseEllipse(rect);
  m_character.setSelectedCells(saved);
}

// ---- previews: marks over the view, never on the document nor kept past
// their gesture; each change repaints only where it was and where it is.

namespace {

QRect lineBox(const QLine& line)
{
  return QRect(line.p1(), line.p2()).normalized().adjusted(-1, -1, 1, 1);
}

} // namespace

void QLayer::beginPreview()
{
  endPreview(); // a gesture whose release never came may have left marks
  m_previewBrush = QBrush(QColor(128, 128, 128, 255));
}

void QLayer::previewPenPoint(const QPoint& point)
{
  const int side = static_cast<int>(m_character.zoom());
  const QRect mark(point, QSize(side, side));
  m_penMarks.push_back(mark);
  update(mark.translated(viewOrigin()));
}

void QLayer::previewLine(const QPoint& from, const QPoint& to)
{
  if (m_previewLine)
    update(lineBox(*m_previewLine).translated(viewOrigin()));
  m_previewLine = QLine(from, to);
  update(lineBox(*m_previewLine).translated(viewOrigin()));
}

void QLayer::previewShape(const QRect& rect)
{
  const int shape = pen->shape;
  const bool rubber = *tool == RubberTool;
  if (m_previewShape)
    update(m_previewShape->adjusted(-1, -1, 1, 1).translated(viewOrigin()));
  m_previewShape.reset();
  if (*tool == RectTool || (rubber && shape == 0))
    m_previewEllipse = false;
  else if (*tool == CircleTool || (rubber && shape == 1))
    m_previewEllipse = true;
  else
    return;
  m_previewShape = rect;
  update(rect.adjusted(-1, -1, 1, 1).translated(viewOrigin()));
}

void QLayer::endPreview()
{
  if (!m_penMarks.empty() || m_previewLine || m_previewShape)
    update();
  std::vector<QRect>().swap(m_penMarks);
  m_previewLine.reset();
  m_previewShape.reset();
}

// With the painter's default pen, as the marks were always drawn.
void QLayer::drawPreview(QPainter& painter) const
{
  for (const QRect& mark : m_penMarks)
    painter.fillRect(mark, m_previewBrush);
  if (m_previewLine)
    painter.drawLine(*m_previewLine);
  if (m_previewShape && m_previewEllipse)
    painter.drawEllipse(*m_previewShape);
  else if (m_previewShape)
    painter.drawRect(*m_previewShape);
}

// ---- steps and repaints

void QLayer::pushStep(const std::string& label)
{
  pushHistory(m_character.toLayerData(), label);
}

void QLayer::elementsRedrawn()
{
  m_character.setListUpdatePending(true);
  if (m_layerList)
    m_layerList->refresh();
}

// The drag view composes at sheet scale, only what is seen; the paint scales
// it. The sheet is whole again at the next paint after the drag.
void QLayer::refreshDrag(const QRect& part)
{
  if (!m_dragView)
    m_dragView = std::make_unique<MoveDragView>(m_character);
  m_sheet = m_dragView->sheet(m_character, part);
  m_sheetValid = part.isNull() ? QRect(QPoint(0, 0), m_character.size()) : part;
  premultiplyShown(m_sheetValid);
  m_sheetKey.clear();
  m_sheetStale = true;
}

// ---- events: every button drives the same gesture

void QLayer::mousePressEvent(QMouseEvent* event)
{
  if (!hasDrawingState()) {
    event->ignore();
    return;
  }
  takeModifiers(event->modifiers());
  m_moving = false;
  m_drawing = false;
  const QPoint label = labelPoint(event->position());
  const QPoint p = sheetPixel(label);
  switch (*tool) {
  case SelectTool:
    selectCell(cellAt(label));
    return;
  case MoveTool:
    m_moving = true;
    m_dragPoint = p;
    setCursor(Qt::ClosedHandCursor);
    m_dragView = std::make_unique<MoveDragView>(m_character);
    return;
  case PipetteTool:
    pickColour(label);
    return;
  case PenTool:
  case CircleTool:
  case RectTool:
  case RubberTool:
  case LineTool:
    break;
  default:
    return;
  }
  if (!checkElements() || !checkZone() || !checkDrawOnElement())
    return;
  const int cell = cellAt(label);
  if (cell < 0)
    return;
  drawScope->cell = static_cast<unsigned char>(cell);
  drawScope->elements = m_character.selectedElements();
  startStroke(p, cell);
}

void QLayer::mouseMoveEvent(QMouseEvent* event)
{
  if (!hasDrawingState()) {
    event->ignore();
    return;
  }
  const QPoint p = sheetPixel(labelPoint(event->position()));
  // A modal window that swallowed the release leaves a gesture under a bare
  // pointer: it ends where the button was let go.
  if ((m_moving || m_drawing) && event->buttons() == Qt::NoButton) {
    endGesture(p);
    return;
  }
  if (m_moving) {
    m_character.moveCells(p - m_dragPoint);
    refreshDrag(visibleSheetPart());
    update();
    m_dragPoint = p;
    return;
  }
  if (m_drawing)
    continueStroke(p);
}

void QLayer::mouseReleaseEvent(QMouseEvent* event)
{
  if (!hasDrawingState()) {
    event->ignore();
    return;
  }
  endGesture(sheetPixel(labelPoint(event->position())));
}

void QLayer::endGesture(const QPoint& p)
{
  if (m_moving) {
    m_moving = false;
    m_dragView.reset();
    pushStep("Déplacement");
    setCursor(Qt::OpenHandCursor);
    return;
  }
  if (m_drawing)
    finishStroke(p);
}

void QLayer::takeModifiers(Qt::KeyboardModifiers modifiers)
{
  m_ctrlDown = modifiers & Qt::ControlModifier;
  m_shiftDown = modifiers & Qt::ShiftModifier;
}

void QLayer::keyPressEvent(QKeyEvent* event)
{
  const int key = event->key();
  // The flags follow each event: a key released while a dialog had the
  // focus must not stay held.
  takeModifiers(event->modifiers());
  if (key == Qt::Key_Control) {
    m_ctrlDown = true;
    return;
  }
  if (key == Qt::Key_Shift) {
    m_shiftDown = true;
    return;
  }
  if (!hasDrawingState()) {
    event->ignore();
    return;
  }
  if (key == Qt::Key_Delete) {
    m_character.clearCells();
    pushStep("Suppression de cellules");
    refresh();
    elementsRedrawn();
    return;
  }
  if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)
    return;
  if (*tool == MoveTool) {
    const QPoint delta = key == Qt::Key_Right ? QPoint(1, 0)
        : key == Qt::Key_Left                 ? QPoint(-1, 0)
        : key == Qt::Key_Up                   ? QPoint(0, -1)
                                              : QPoint(0, 1);
    m_character.moveCells(delta);
    refresh();
    pushStep("Déplacement");
  } else if (*tool == SelectTool) {
    selectNeighbour(key);
  }
}
