#include "canvas/QLayer.h"

#include "canvas/QLayerList.h"
#include "core/IniSettings.h"
#include "core/PathUtils.h"
#include "widgets/Prompts.h"
#include "widgets/Questions.h"
#include "core/SaveFile.h"
#include "ops/MoveDragView.h"
#include "ops/RenderView.h"

#include <QCloseEvent>
#include <QDir>
#include <QEnterEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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

// Also ends any drag view: whatever changed the document may have changed
// what lies under or over the moving cells.
void QLayer::refresh()
{
  m_dragView.reset();
  m_sheetStale = true;
  update();
}

void QLayer::updateSize()
{
  resize(viewSize());
  refresh();
}

QSize QLayer::viewSize() const
{
  return ::viewSize(m_character);
}

QSize QLayer::sizeHint() const
{
  return viewSize();
}

namespace {

// The words the screen takes, premultiplied, over area of the sheet: done
// at sheet scale, once per composition, rather than by the painter for each
// zoomed pixel (on its thread pool, for a large part: a frame's worth of
// waking threads on a busy machine).
void premultiply(const QImage& sheet, QImage& shown, const QRect& area)
{
  if (shown.size() != sheet.size())
    shown = QImage(sheet.size(), QImage::Format_ARGB32);
  if (shown.isNull())
    return;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const uint32_t* s = reinterpret_cast<const uint32_t*>(sheet.constScanLine(y));
    uint32_t* d = reinterpret_cast<uint32_t*>(shown.scanLine(y));
    for (int x = area.left(); x <= area.right(); ++x) {
      const uint32_t a = s[x] >> 24;
      d[x] = a == 255 ? s[x] : a == 0 ? 0 : qPremultiply(s[x]);
    }
  }
}

} // namespace

// A zoom or a selection change leaves the sheet as it is. The old sheet goes
// before the new one is built, so a large sheet is never held twice.
void QLayer::ensureSheet()
{
  const QRect whole(QPoint(0, 0), m_character.size());
  if (!m_sheetStale && m_sheetValid == whole)
    return;
  m_sheetStale = false;
  std::vector<qint64> key = compositionKey(m_character);
  if (m_sheetValid == whole && key == m_sheetKey)
    return;
  m_sheet = QImage();
  m_shownSheet = QImage();
  m_sheet = composedSheet(m_character);
  m_sheetKey = std::move(key);
  m_sheetValid = whole;
  premultiplyShown(whole);
}

void QLayer::premultiplyShown(const QRect& area)
{
  premultiply(m_sheet, m_shownSheet, area.intersected(m_sheet.rect()));
}

QRect QLayer::visibleSheetPart() const
{
  const QRect seen = visibleRegion().boundingRect().translated(-viewOrigin());
  return seen.isEmpty() ? QRect() : sheetPartOf(m_character, seen);
}

// Only the exposed part of the zoomed picture is ever built: a scroll or a
// preview mark costs its own pixels, whatever the zoom and the sheet.
void QLayer::paintEvent(QPaintEvent* event)
{
  const QPoint at = viewOrigin();
  if (m_dragView) {
    // A drag composes what is seen; a scroll meanwhile may ask for more.
    const QRect needed = sheetPartOf(m_character, event->rect().translated(-at));
    if (!m_sheetValid.contains(needed))
      refreshDrag(needed.united(visibleSheetPart()));
  } else {
    ensureSheet();
  }
  QPainter painter(this);
  for (const QRect& exposed : event->region()) {
    const QImage part = viewPart(m_character, m_shownSheet, exposed.translated(-at));
    if (part.isNull())
      continue;
    const QPoint corner = exposed.translated(-at).topLeft();
    painter.drawImage(QPoint(std::max(corner.x(), 0), std::max(corner.y(), 0)) + at,
                      QImage(part.constBits(), part.width(), part.height(), part.bytesPerLine(),
                             QImage::Format_ARGB32_Premultiplied));
    m_character.lastRender() = viewPart(m_character, m_sheet, exposed.translated(-at));
  }
  painter.translate(at);
  drawPreview(painter);
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
  const QString title = windowTitleEscaped(m_name);
  w->setWindowTitle(modified ? title + QLatin1Char('*') : title);
}

void QLayer::addHistory(const CharacterData* document, const std::string& label)
{
  setModified(true);
  m_history.push(document->toLayerData(), label);
}

void QLayer::recordEdit(const std::string& label)
{
  addHistory(&m_character, label);
  refresh();
  if (m_layerList)
    m_layerList->elementsChanged();
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
  setModified(m_history.currentIndex() != m_history.savedIndex() || m_changedOutsideHistory);
  return step;
}

void QLayer::markChangedOutsideHistory()
{
  m_changedOutsideHistory = true;
  setModified(true);
}

namespace {

const QString kProjectFilter = QStringLiteral("Fichier Sorvel Kit (*.sk)");
const QString kBetaFilter = QStringLiteral("Fichier Sorvel Kit Bêta (*.sk)");
const QString kImageFilter = QStringLiteral("Image (*.png)");

std::string utf8(const QString& text)
{
  return text.toUtf8().toStdString();
}

// The writers append the extension the answer lacks; a file of that name is
// only replaced once the user agreed.
bool mayWrite(QWidget* parent, const QString& title, const QString& answer, const QString& extension)
{
  QString path = answer;
  ensureExtension(path, extension);
  return mayReplaceAppendedName(parent, title, answer, path);
}

} // namespace

// Each settings object lives only while it is read or written: one held
// across the dialog would overwrite, when released, whatever another window
// stored meanwhile.
QString QLayer::askSavePath(const QString& title, QString& selectedFilter)
{
  return askInRememberedFolder(FileDialogKind::SaveFile, this, "pathSaveSKFile", QDir::homePath(), title,
                               kProjectFilter + QStringLiteral(";;") + kBetaFilter + QStringLiteral(";;") + kImageFilter,
                               &selectedFilter)
      .value(0);
}

// The flattened image keeps straight alpha; a pixmap's premultiplied round
// trip would alter the colours of semi-transparent pixels.
bool QLayer::writeImage(QString path)
{
  ensureExtension(path, QStringLiteral("png"));
  QString reason;
  if (savePngFile(m_character.flattenImage(), path, &reason))
    return true;
  m_saveFailure = saveFailureDetail(path, reason);
  return false;
}

bool QLayer::writeProject(QString path)
{
  ensureExtension(path, QStringLiteral("sk"));
  if (!saveTo(path))
    return false;
  m_filePath = path;
  m_name = pathBaseName(path);
  setModified(false); // again, for the title under the new name
  return true;
}

unsigned char QLayer::saveAs()
{
  QString filter;
  const QString title = QStringLiteral("Enregistrer sous...");
  const QString answer = askSavePath(title, filter);
  if (answer.isEmpty())
    return 2;
  const bool image = filter == kImageFilter;
  if (!mayWrite(this, title, answer, image ? QStringLiteral("png") : QStringLiteral("sk")))
    return 2;
  if (image)
    return writeImage(answer) ? 1 : 0;
  currentFormat = filter == kBetaFilter ? 0 : 1;
  return writeProject(answer) ? 1 : 0;
}

// A document saved in or opened from the older layout keeps it on every plain
// save, until a save-as picks the current one.
unsigned char QLayer::save()
{
  QString filter;
  if (m_filePath.isEmpty()) {
    const QString title = QStringLiteral("Enregistrer");
    const QString answer = askSavePath(title, filter);
    if (answer.isEmpty())
      return 2;
    const bool image = filter == kImageFilter;
    if (!mayWrite(this, title, answer, image ? QStringLiteral("png") : QStringLiteral("sk")))
      return 2;
    if (image)
      return writeImage(answer) ? 1 : 0; // no project path: the next save asks again
    m_filePath = answer;
  }
  currentFormat = filter != kBetaFilter && currentFormat == 1 ? 1 : 0;
  return writeProject(m_filePath) ? 1 : 0;
}

// The reader empties the document before it finds a file damaged, so it
// reads into a copy and the open document only changes on success.
bool QLayer::loadFrom(const QString& path)
{
  CharacterData read;
  unsigned char version = currentFormat;
  if (!read.loadProjectFile(utf8(path), &version)) {
    m_character.errorMessage() = read.errorMessage();
    return false;
  }
  m_character = read;
  currentFormat = version;
  return true;
}

bool QLayer::saveTo(const QString& path)
{
  QString reason;
  if (!m_character.saveProjectFile(utf8(path), currentFormat, &reason)) {
    m_saveFailure = saveFailureDetail(path, reason);
    return false;
  }
  m_history.markSaved();
  m_changedOutsideHistory = false;
  setModified(false);
  return true;
}

QMessageBox::StandardButton QLayer::askCloseModified(bool offerSaveAll, QWidget* parent)
{
  const QPixmap thumbnail = QPixmap::fromImage(
      m_character.flattenImage().scaled(64, 96, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  const QString shown = m_filePath.isEmpty() ? m_name : m_filePath;
  return offerSaveAll ? askCloseCharacters(shown, thumbnail, parent) : askCloseCharacter(shown, thumbnail, parent);
}

bool QLayer::saveBeforeClose(QWidget* parent)
{
  const unsigned char result = save();
  if (result == 0)
    reportSaveFailure(parent, QStringLiteral("Fermeture"));
  return result == 1;
}

void QLayer::reportSaveFailure(QWidget* parent, const QString& title) const
{
  prompts().message(parent, QMessageBox::Critical, title, QStringLiteral("Impossible de sauvegarder le fichier."),
                    m_saveFailure);
}

// The "don't ask again" choice is stored only when the question was put, so a
// later silent close never turns it back on.
bool QLayer::confirmClose()
{
  bool ask = true;
  {
    IniSettings settings;
    settings.getValue("showCloseFile", ask);
  }
  if (!ask)
    return true;
  bool ticked = false;
  const QString shown = m_filePath.isEmpty() ? m_name : pathFileName(m_filePath);
  const QMessageBox::StandardButton answer = askWithCheckBox(
      this, QStringLiteral("Fermeture"), QStringLiteral("<h3>Fermer un character</h3>"),
      QStringLiteral("Etes-vous sûr(e) de vouloir fermer ") + richTextEscaped(shown) + QStringLiteral(" ?"),
      QStringLiteral("Ne plus afficher ce message"), ticked, QMessageBox::Yes | QMessageBox::No,
      QMessageBox::Question, Qt::RichText);
  if (answer != QMessageBox::Yes)
    return false;
  IniSettings settings;
  settings.setValue("showAgain", "showCloseFile", !ticked);
  return true;
}

void QLayer::closeEvent(QCloseEvent* event)
{
  bool goAhead = true;
  if (m_askOnClose) {
    if (!m_modified) {
      goAhead = confirmClose();
    } else {
      switch (askCloseModified(false, this)) {
      case QMessageBox::Save:
        goAhead = saveBeforeClose(this);
        break;
      case QMessageBox::Discard:
        break;
      default: // Cancel, or the question escaped
        goAhead = false;
      }
    }
  }
  event->setAccepted(goAhead);
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
  else
    takeModifiers(event->modifiers());
}

// A key released while another window has the focus never comes back here.
void QLayer::focusOutEvent(QFocusEvent* event)
{
  m_ctrlDown = false;
  m_shiftDown = false;
  QLabel::focusOutEvent(event);
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
