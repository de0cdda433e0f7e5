#include "batch/QTilesetView.h"

#include "canvas/ElementListGeometry.h"
#include "core/ImageUtils.h"
#include "core/PathUtils.h"
#include "widgets/Prompts.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>

namespace {

const QColor kSelectedCell(50, 101, 255);
const QColor kBarHover(200, 222, 255);
const QColor kThumbFill(166, 166, 246);
const QColor kThumbActive(127, 127, 246);
const QColor kThumbIdle(200, 200, 246);

constexpr int kThumbHeight = 115;
constexpr int kThumbWidth = 130;
// Room of the thumb between the two arrows.
constexpr int kTrackTop = 32;
constexpr int kTrackLength = 411;

bool inside(const QRect& rect, const QPoint& point)
{
  return ElementListGeometry::strictlyInside(rect, point);
}

int columnLeft(int index)
{
  return 140 * (index % 3);
}

// Runs in the pool: only the thumbnail leaves the task.
QImage thumbnailOf(const QString& path)
{
  const QImage image = readImageFile(path);
  if (image.isNull())
    return image;
  if (image.width() * kThumbHeight / image.height() <= kThumbWidth)
    return image.scaledToHeight(kThumbHeight, Qt::FastTransformation);
  return image.scaledToWidth(kThumbWidth, Qt::FastTransformation);
}

QString fileNameOf(const QString& path)
{
  return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

int QTilesetView::dragMoveCount = 0;

QTilesetView::QTilesetView(QWidget* parent)
    : QWidget(parent),
      upIcon(QStringLiteral(":/icon/up2.png")),
      downIcon(QStringLiteral(":/icon/down2.png")),
      movingIcon(QStringLiteral(":/icon/moving.png")),
      // A core left to the window keeps it repainting while the rest decode.
      decoding(thumbnailOf, std::max(1, QThread::idealThreadCount() - 1))
{
  connect(&watcher, &QFutureWatcher<QImage>::finished, this, &QTilesetView::handOver);
  setMouseTracking(true);
  setFixedSize(460, 475);
  show();
}

QTilesetView::~QTilesetView() = default;

// Decoding tall tilesets is the slow part, so it runs in the pool while the
// window goes on answering; the pixmaps, the warnings and the order stay on
// the GUI thread.
void QTilesetView::addFiles(const QStringList& paths)
{
  decoding.append(paths);
  batches.push_back(paths.size());
  handOver();
}

void QTilesetView::handOver()
{
  // A warning's event loop may deliver the watcher's next signal: the loop
  // below takes that entry once the warning is answered.
  if (handingOver)
    return;
  handingOver = true;
  while (!batches.empty()) {
    if (batches.front() == 0) {
      batches.pop_front();
      emit changeFileList(entryCount() >= 2);
      continue;
    }
    const QFuture<QImage> next = decoding.head();
    if (!next.isFinished()) {
      watcher.setFuture(next);
      break;
    }
    const QString path = decoding.headPath();
    const QImage thumbnail = decoding.take();
    --batches.front();
    if (thumbnail.isNull()) {
      prompts().message(this, QMessageBox::Warning, QStringLiteral("Sorvel de tilesets"),
                        QStringLiteral("Impossible d'ouvrir :") + richTextEscaped(path), QString());
      continue;
    }
    thumbnails.push_back(QPixmap::fromImage(thumbnail));
    files << path;
    update();
  }
  handingOver = false;
}

void QTilesetView::refresh()
{
  update();
}

QStringList QTilesetView::fileList() const
{
  return files;
}

int QTilesetView::rowCount() const
{
  return (entryCount() + 2) / 3;
}

QRect QTilesetView::scrollBarRect() const
{
  return QRect(QPoint(430, 0), QPoint(459, 474));
}

QRect QTilesetView::thumbRect() const
{
  if (entryCount() <= 9)
    return QRect();
  const int rows = rowCount();
  const int length = std::max(15, 1245 / rows);
  const int top = kTrackTop + ((kTrackLength - length) * firstRow) / (rows - 3);
  return QRect(QPoint(437, top), QPoint(451, top + length - 1));
}

void QTilesetView::setFirstRow(int row)
{
  firstRow = std::min(row, rowCount() - 3);
  if (firstRow < 0 || entryCount() <= 9)
    firstRow = 0;
}

int QTilesetView::endVisible() const
{
  return std::min(entryCount(), firstVisible() + 9);
}

QRect QTilesetView::cellRect(int index) const
{
  const int left = columnLeft(index) + 10;
  const int top = cellTop(index);
  return QRect(QPoint(left, top), QPoint(left + 129, top + 144));
}

QPoint QTilesetView::markerPosition() const
{
  const int rel = dropIndex - firstVisible();
  const int row = dropAtRowEnd ? (rel - 1) / 3 : rel / 3;
  return QPoint(dropAtRowEnd ? 420 : columnLeft(rel), 10 + 155 * row + 9);
}

int QTilesetView::entryAt(const QPoint& point) const
{
  for (int i = firstVisible(); i < endVisible(); ++i)
    if (inside(cellRect(i), point))
      return i;
  return -1;
}

void QTilesetView::selectEntry(int index)
{
  selectedIndex = index;
  emit changeFileName(files[index]);
  update();
}

bool QTilesetView::findDropPosition(const QPoint& point)
{
  for (int i = firstVisible(); i < endVisible(); ++i) {
    const int left = columnLeft(i);
    const int top = cellTop(i);
    if (inside(QRect(QPoint(left, top), QPoint(left + 74, top + 144)), point)) {
      dropIndex = i;
      dropAtRowEnd = false;
    } else if (inside(QRect(QPoint(left + 75, top), QPoint(left + 149, top + 144)), point)) {
      dropIndex = i + 1;
      dropAtRowEnd = (i + 1) % 3 == 0;
    } else {
      continue;
    }
    update();
    return true;
  }
  return false;
}

void QTilesetView::updateThumbHover(const QPoint& point)
{
  thumbHovered = thumbHoverShown = inside(thumbRect(), point);
}

void QTilesetView::dragThumb(const QPoint& point)
{
  if (!thumbDragging || entryCount() <= 9)
    return;
  const int rows = rowCount();
  // From about 400 rows on the division gives 0, which would scroll a row on
  // every pointer event.
  const int step = std::max(1, (kTrackLength - thumbRect().height()) / (rows - 3));
  const int dy = dragAnchor.y() - point.y();
  if (dy >= step && firstRow > 0) {
    setFirstRow(firstRow - 1);
    dragAnchor.ry() -= step;
    update();
  }
  if (dy <= -step && firstRow < rows - 3) {
    setFirstRow(firstRow + 1);
    dragAnchor.ry() += step;
    update();
  }
}

QStringList QTilesetView::movedList()
{
  const int count = entryCount();
  if (selectedIndex < 0 || selectedIndex >= count) {
    dropIndex = -1;
    return files;
  }
  std::vector<int> order;
  order.reserve(static_cast<size_t>(count));
  int newIndex = -1;
  for (int i = 0; i < count; ++i) {
    if (i == dropIndex) {
      newIndex = static_cast<int>(order.size());
      order.push_back(selectedIndex);
      dropIndex = -1;
    }
    if (i != selectedIndex)
      order.push_back(i);
  }
  // Dropped after the last entry, or nowhere.
  if (static_cast<int>(order.size()) < count) {
    newIndex = static_cast<int>(order.size());
    order.push_back(selectedIndex);
  }
  dropIndex = -1;
  QStringList paths;
  std::vector<QPixmap> pixmaps;
  pixmaps.reserve(order.size());
  for (int i : order) {
    paths << files[i];
    pixmaps.push_back(thumbnails[static_cast<size_t>(i)]);
  }
  thumbnails = std::move(pixmaps);
  selectedIndex = newIndex;
  return paths;
}

void QTilesetView::mousePressEvent(QMouseEvent* event)
{
  if (event->button() != Qt::LeftButton)
    return;
  const QPoint point = event->position().toPoint();
  // A press left over from an earlier gesture never starts this one's drag.
  dragMoveCount = 0;
  if (moving) {
    files = movedList();
    moving = entryPressed = false;
    update();
    return;
  }
  const int entry = entryAt(point);
  if (entry >= 0) {
    selectEntry(entry);
    entryPressed = true;
    return;
  }
  if (!inside(scrollBarRect(), point))
    return;
  const QRect thumb = thumbRect();
  if (point.y() < thumb.top() || point.y() > thumb.bottom() + 1) {
    setFirstRow(point.y() < thumb.top() ? firstRow - 1 : firstRow + 1);
    updateThumbHover(point);
    update();
    return;
  }
  if (inside(thumb, point)) {
    thumbDragging = true;
    dragAnchor = point;
  }
}

void QTilesetView::mouseMoveEvent(QMouseEvent* event)
{
  const QPoint point = event->position().toPoint();
  if (!moving && entryPressed && entryCount() >= 2)
    ++dragMoveCount;
  barHovered = inside(scrollBarRect(), point);
  if (barHovered != barHoverShown) {
    update();
    barHoverShown = barHovered;
  }
  thumbHovered = inside(thumbRect(), point);
  if (thumbHovered != thumbHoverShown) {
    update();
    thumbHoverShown = thumbHovered;
  }
  if (dragMoveCount > 19 || moving) {
    dragMoveCount = 0;
    moving = true;
    if (findDropPosition(point))
      return;
  }
  dragThumb(point);
}

void QTilesetView::mouseReleaseEvent(QMouseEvent* event)
{
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    thumbDragging = entryPressed = false;
    if (moving)
      files = movedList();
    moving = false;
    update();
  } else if (event->button() == Qt::RightButton) {
    menuPoint = point;
    const int entry = entryAt(point);
    if (entry < 0)
      return;
    selectEntry(entry);
    popUpMenu(event->globalPosition().toPoint());
  }
}

void QTilesetView::wheelEvent(QWheelEvent* event)
{
  setFirstRow(event->angleDelta().y() > 0 ? firstRow - 1 : firstRow + 1);
  updateThumbHover(event->position().toPoint());
  update();
}

void QTilesetView::popUpMenu(const QPoint& globalPos)
{
  QMenu* menu = new QMenu(QStringLiteral("Actions"), this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addAction(QIcon(QStringLiteral(":/icon/dupliquer.png")), QStringLiteral("Dupliquer"), this,
                  &QTilesetView::aDoubler);
  if (entryCount() >= 2)
    menu->addAction(QIcon(QStringLiteral(":/icon/move.png")), QStringLiteral("Déplacer"), this,
                    &QTilesetView::aMove);
  menu->addAction(QIcon(QStringLiteral(":/icon/remove.png")), QStringLiteral("Supprimer"), this,
                  &QTilesetView::aSupprimer);
  menu->popup(globalPos);
}

void QTilesetView::aDoubler()
{
  if (selectedIndex < 0 || selectedIndex >= entryCount())
    return;
  addFiles(QStringList{files[selectedIndex]});
  update();
}

void QTilesetView::aMove()
{
  entryPressed = moving = true;
  findDropPosition(menuPoint);
}

void QTilesetView::aSupprimer()
{
  // A move pending from the menu has no entry left to move.
  moving = entryPressed = false;
  dropIndex = -1;
  if (selectedIndex < 0 || selectedIndex >= entryCount())
    return;
  files.removeAt(selectedIndex);
  thumbnails.erase(thumbnails.begin() + selectedIndex);
  setFirstRow(firstRow);
  selectedIndex = -1;
  update();
  emit changeFileList(entryCount() >= 2);
}

void QTilesetView::paintEvent(QPaintEvent*)
{
  static const QFont font = [] {
    QFont f(QStringLiteral("Sans Serif"), 10);
    f.setStyleHint(QFont::SansSerif);
    return f;
  }();
  QPainter painter(this);
  painter.setPen(Qt::black);
  painter.setFont(font);
  if (files.isEmpty()) {
    painter.drawText(QPoint(5, 15), QStringLiteral("Aucun tileset à sorvelner."));
    return;
  }
  for (int i = firstVisible(); i < endVisible(); ++i) {
    const QRect cell = cellRect(i);
    if (i == selectedIndex)
      painter.fillRect(cell, kSelectedCell);
    const QPixmap& thumbnail = thumbnails[static_cast<size_t>(i)];
    // Centred on the cell, the half width rounded towards the left.
    painter.drawPixmap(static_cast<int>(cell.left() + 65 - thumbnail.width() / 2.0), cell.top(), thumbnail);
    painter.drawText(QRect(cell.left(), cell.top() + 116, 130, 30), Qt::AlignCenter, fileNameOf(files[i]));
  }
  if (moving && dropIndex >= 0)
    painter.drawPixmap(markerPosition(), movingIcon);
  if (entryCount() <= 9)
    return;
  if (barHovered)
    painter.fillRect(scrollBarRect(), kBarHover);
  painter.drawPixmap(429, 0, upIcon);
  painter.drawPixmap(429, 444, downIcon);
  const QRect thumb = thumbRect();
  painter.fillRect(thumb, kThumbFill);
  painter.setPen(thumbHovered || thumbDragging ? kThumbActive : kThumbIdle);
  painter.drawRect(thumb.adjusted(0, 0, -1, -1));
}
