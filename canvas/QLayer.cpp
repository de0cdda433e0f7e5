#include "canvas/QLayer.h"

#include "ops/MoveDragView.h"

#include <QEnterEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include <array>

QLayer::QLayer(const QString& name, const QSize& size, int type, QMdiArea* mdiArea, QColorBox* colorBox,
               QLayerList* layerList)
  : QLabel(nullptr)
  , m_layerList(layerList)
  , m_mdiArea(mdiArea)
  , m_colorBox(colorBox)
{
  m_character = CharacterData(type, size);
  m_name = name;
  setPixmap(m_character.render());
  setAlignment(Qt::AlignCenter);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
}

QLayer::~QLayer() = default;

void QLayer::setToolPointer(unsigned char* toolByte)
{
  tool = toolByte;
}

void QLayer::setCharacterData(const CharacterData& document)
{
  m_character = document;
}

void QLayer::setHistory(const UndoHistory& history)
{
  m_history = history;
}

// A full render also ends any drag view: whatever changed the document may
// have changed what lies under or over the moving cells.
void QLayer::refresh()
{
  m_dragView.reset();
  QPixmap view;
  m_character.renderPixmap(view);
  setPixmap(view);
}

void QLayer::updateSize()
{
  resize(m_character.zoomedSize());
  refresh();
}

namespace {
constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 16.0;
constexpr std::array<double, 9> kZoomSteps = {0.5, 1, 1.5, 2, 3, 4, 6, 8, 16};
} // namespace

// Written so that a NaN (a typed "nan") lands on the smallest zoom instead of
// reaching the pixel-size conversions.
void QLayer::setZoom(double zoom)
{
  m_character.setZoom(!(zoom >= kMinZoom) ? kMinZoom : zoom > kMaxZoom ? kMaxZoom : zoom);
}

// A typed zoom between two steps goes to the neighbouring step either way.
void QLayer::stepZoom(int direction)
{
  const double zoom = m_character.zoom();
  for (std::size_t i = 0; i + 1 < kZoomSteps.size(); ++i) {
    if (direction == 0 && kZoomSteps[i] <= zoom && zoom < kZoomSteps[i + 1]) {
      m_character.setZoom(kZoomSteps[i + 1]);
      return;
    }
    if (direction == 1 && kZoomSteps[i] < zoom && zoom <= kZoomSteps[i + 1]) {
      m_character.setZoom(kZoomSteps[i]);
      return;
    }
  }
}

QPoint QLayer::cellPosition(int cell) const
{
  const int columns = m_character.columnCount();
  return QPoint(cell % columns, cell / columns);
}

// The sub-window is found from the widget tree rather than kept, so a canvas
// moved to another area or shown outside one (tests) never holds a stale
// pointer.
void QLayer::setModified(bool modified)
{
  m_modified = modified;
  QWidget* w = parentWidget();
  while (w && !qobject_cast<QMdiSubWindow*>(w))
    w = w->parentWidget();
  if (!w)
    return;
  w->setWindowIcon(QIcon(modified ? QStringLiteral(":/icon/unsaved.png") : QStringLiteral(":/icon/Save.png")));
  w->setWindowTitle(modified ? m_name + QLatin1Char('*') : m_name);
}

void QLayer::addHistory(const CharacterData* document, const std::string& label)
{
  setModified(true);
  m_history.push(document->toLayerData(), label);
}

void QLayer::pushHistory(const LayerData& snapshot, const std::string& label)
{
  setModified(true);
  m_history.push(snapshot, label);
}

// The saved index is negative once its entry was trimmed from the history, so
// no step can then pass for the saved one.
const LayerData& QLayer::goToHistoryStep(int index)
{
  const LayerData& step = m_history.goTo(index);
  setModified(m_history.currentIndex() != m_history.savedIndex());
  return step;
}

bool QLayer::hasDrawingState() const
{
  return tool && pen && gradientHolder && drawScope && rubberMode;
}

void QLayer::keyReleaseEvent(QKeyEvent* event)
{
  if (event->key() == Qt::Key_Control)
    m_ctrlDown = false;
  else if (event->key() == Qt::Key_Shift)
    m_shiftDown = false;
}

void QLayer::enterEvent(QEnterEvent*)
{
  if (!tool)
    return;
  switch (*tool) {
  case SelectTool:
    setCursor(Qt::ArrowCursor);
    break;
  case MoveTool:
    setCursor(Qt::OpenHandCursor);
    break;
  default:
    setCursor(Qt::CrossCursor);
  }
}
