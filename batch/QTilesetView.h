#pragma once
#include "batch/TilesetDecoding.h"

#include <QFutureWatcher>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <vector>

// The ordered list of tilesets to merge, drawn as a grid of thumbnails, three
// per row and three rows at a time, with a scroll bar of its own. Its order is
// the merge order; the same path may stand in it several times.
class QTilesetView : public QWidget
{
  Q_OBJECT

public:
  explicit QTilesetView(QWidget* parent = nullptr);
  ~QTilesetView() override;

  // Appends the readable files among paths, in their order, as they are
  // decoded, after those of earlier calls still decoding; warns about the
  // others. changeFileList follows the last one.
  void addFiles(const QStringList& paths);
  bool isAdding() const { return !batches.empty(); }
  void refresh();
  QStringList fileList() const;

  int rowCount() const;
  QRect scrollBarRect() const;
  // Empty while every entry fits.
  QRect thumbRect() const;
  // Keeps the first row in 0 .. rows - 3; no repaint.
  void setFirstRow(int row);

  int firstShownRow() const { return firstRow; }
  int selectedEntry() const { return selectedIndex; }
  bool isMoving() const { return moving; }
  const std::vector<QPixmap>& thumbnailPixmaps() const { return thumbnails; }
  QRect cellRect(int index) const;
  // Top left corner of the drop marker of the pending move.
  QPoint markerPosition() const;

signals:
  void changeFileName(QString path);
  void changeFileList(bool severalEntries);

public slots:
  void aDoubler();
  void aMove();
  void aSupprimer();

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  int entryCount() const { return static_cast<int>(files.size()); }
  int firstVisible() const { return firstRow * 3; }
  int endVisible() const;
  int cellTop(int index) const { return 10 + 155 * ((index - firstVisible()) / 3); }
  int entryAt(const QPoint& point) const;
  void selectEntry(int index);
  // Looks for the drop position under the point; true (and a repaint) when
  // one was found.
  bool findDropPosition(const QPoint& point);
  void dragThumb(const QPoint& point);
  void updateThumbHover(const QPoint& point);
  // Applies the pending move to the thumbnails and the selection and returns
  // the reordered paths.
  QStringList movedList();
  void popUpMenu(const QPoint& globalPos);
  // Takes the decoded entries in order, up to the first still decoding.
  void handOver();

  QStringList files;
  int selectedIndex = -1;
  int dropIndex = -1;
  int firstRow = 0;
  QPixmap upIcon;
  QPixmap downIcon;
  QPixmap movingIcon;
  bool thumbHovered = false;
  bool barHovered = false;
  bool moving = false;
  bool barHoverShown = false;
  bool thumbHoverShown = false;
  bool thumbDragging = false;
  bool entryPressed = false;
  bool dropAtRowEnd = false;
  QPoint dragAnchor;
  QPoint menuPoint;
  std::vector<QPixmap> thumbnails;
  TilesetDecoding decoding;
  QFutureWatcher<QImage> watcher;
  // Paths still to take, per call of addFiles.
  std::deque<qsizetype> batches;
  bool handingOver = false;

  // Pointer moves made while an entry is pressed, shared by every view.
  static int dragMoveCount;
};
