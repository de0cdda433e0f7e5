#pragma once
#include "model/CharacterData.h"
#include "model/ToolKind.h"
#include "model/UndoHistory.h"

#include <QBrush>
#include <QLabel>
#include <QMessageBox>
#include <QImage>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QColorBox;
class QLayerList;
class QMdiArea;
class QPainter;
class MoveDragView;
struct DrawScope;
struct GradientHolder;
struct PenSettings;

// The editing canvas of one open character: shows the rendered document and
// owns it with its undo history. The drawing state belongs to the main window
// and is read through pointers, so that every open canvas follows the tool
// bars at once.
class QLayer : public QLabel
{
  Q_OBJECT

public:
  QLayer(const QString& name, const QSize& size, int type, QMdiArea* mdiArea, QColorBox* colorBox,
         QLayerList* layerList);
  ~QLayer() override;

  void setToolPointer(unsigned char* toolByte);
  // Neither renders nor resizes: the caller follows with updateSize().
  void setCharacterData(const CharacterData& document);
  void setHistory(const UndoHistory& history);

  CharacterData* characterData() { return &m_character; }
  int characterType() const { return m_character.type(); }
  UndoHistory* history() { return &m_history; }
  QString name() const { return m_name; }
  void setName(const QString& name) { m_name = name; }
  QString filePath() const { return m_filePath; }
  void setFilePath(const QString& path) { m_filePath = path; }
  bool isModified() const { return m_modified; }
  void setAskOnClose(const bool& ask) { m_askOnClose = ask; }
  // Cleared by the element list when the user picks other elements, so that
  // drawing on them asks again.
  void setDrawLayerAsked(bool asked) { m_drawLayerAsked = asked; }

  // Every change of the document, by any window, is followed by this: the
  // sheet is composed again at the next paint, which scales only what is
  // exposed.
  void refresh();
  void updateSize();
  // The zoomed picture's size, which the canvas takes in its scroll area.
  QSize viewSize() const;
  QSize sizeHint() const override;
  // Both leave the view alone: the caller calls updateSize().
  void setZoom(double zoom);
  void stepZoom(int direction); // 0 in, 1 out
  QPoint cellPosition(int cell) const;

  // Results: 0 the write failed (see reportSaveFailure), 1 written, 2 the
  // user cancelled the file dialog.
  unsigned char saveAs();
  // Asks for a file only when the document has none yet.
  unsigned char save();
  // On failure the document is left as it was, with the reader's message in
  // its error text.
  bool loadFrom(const QString& path);
  // Writes the project in the currentFormat layout; the path is taken as is.
  bool saveTo(const QString& path);

  // The question put before a modified document closes, with its thumbnail:
  // Save, Discard or Cancel, and Save All as well when offerSaveAll.
  QMessageBox::StandardButton askCloseModified(bool offerSaveAll, QWidget* parent);
  // Save answered to a close question: true once saved; a failed write is
  // reported under "Fermeture", a cancelled file dialog silently.
  bool saveBeforeClose(QWidget* parent);
  // The message of the last failed write, under title, with the file's path
  // and the reason as its detailed text.
  void reportSaveFailure(QWidget* parent, const QString& title) const;

  void setModified(bool modified);
  // A change the snapshots do not hold (the background colour): the document
  // stays modified across undo and redo until it is saved.
  void markChangedOutsideHistory();
  void addHistory(const CharacterData* document, const std::string& label);
  // The one door for a finished edit of the document, by any window: the
  // undo step (with the modified mark), the render, the element list rebuilt.
  void recordEdit(const std::string& label);
  void pushHistory(const LayerData& snapshot, const std::string& label);
  const LayerData& goToHistoryStep(int index);

  // Whether the draw-on-element question was put for the current elements.
  bool isDrawLayerAsked() const { return m_drawLayerAsked; }

  // The main window's drawing state; none is owned.
  unsigned char* tool = nullptr;
  PenSettings* pen = nullptr;
  GradientHolder* gradientHolder = nullptr;
  DrawScope* drawScope = nullptr;
  unsigned char* rubberMode = nullptr;
  // Project-file version of a plain save: 1 data-stream layout, 0 the older one.
  unsigned char currentFormat = 1;

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  // The save dialog in the remembered folder; remembers the chosen one. An
  // empty answer means cancelled.
  QString askSavePath(const QString& title, QString& selectedFilter);
  bool writeImage(QString path);
  // Writes in the currentFormat layout, then names the document after the file.
  bool writeProject(QString path);
  bool confirmClose();

  // Events that reach a canvas before the main window handed over its drawing
  // state are ignored rather than read through a null pointer.
  bool hasDrawingState() const;

  // Coordinates: the label point is a pixel of the zoomed picture, the sheet
  // pixel one of the unzoomed sheet, the cell point one relative to a cell.
  QPoint labelPoint(const QPointF& position) const;
  // Where the picture's corner lies in the label, which centres it.
  QPoint viewOrigin() const;
  QPoint sheetPixel(const QPoint& labelPoint) const;
  int cellAt(const QPoint& labelPoint) const;
  QPoint cellPoint(int cell, const QPoint& sheetPixel) const;
  static QPoint minPoint(const QPoint& a, const QPoint& b);
  static QPoint maxPoint(const QPoint& a, const QPoint& b);

  void selectCell(const int& cell);
  void selectNeighbour(int key);
  void pickColour(const QPoint& labelPoint);

  // The checks before a stroke; false when the press ends there.
  bool checkElements();
  bool checkZone();
  bool checkDrawOnElement();
  bool addDrawingElement(int index);
  int readShowDrawElement() const;

  // The modifiers held, as the event that is handled says.
  void takeModifiers(Qt::KeyboardModifiers modifiers);
  // A release, or a move with no button held while a gesture runs.
  void endGesture(const QPoint& sheetPixel);
  void startStroke(const QPoint& sheetPixel, int cell);
  // Calls visit at every point of the straight segment after from up to to,
  // so a fast stroke leaves no gaps between two pointer positions.
  static void walkSegment(const QPoint& from, const QPoint& to, const std::function<void(const QPoint&)>& visit);
  void penTo(const QPoint& cellPoint);
  void continueStroke(const QPoint& sheetPixel);
  void finishStroke(const QPoint& sheetPixel);
  bool rubberBySelection() const;
  void eraseBrush(const QPoint& cellPoint);
  void eraseZone(const QRect& rect);

  void beginPreview();
  void previewPenPoint(const QPoint& point);
  void previewLine(const QPoint& from, const QPoint& to);
  void previewShape(const QRect& rect);
  void endPreview();
  void drawPreview(QPainter& painter) const;
  // The whole sheet, composed again only when what it is made of changed.
  void ensureSheet();
  void premultiplyShown(const QRect& area);
  // The sheet pixels the scroll area shows, or a null rectangle when the
  // canvas is not on screen.
  QRect visibleSheetPart() const;

  QColor currentColour() const;
  QColor otherColour() const;
  void pushStep(const std::string& label);
  // The element list rebuilds its thumbnails at its next paint.
  void elementsRedrawn();
  // The sheet during a move drag, from the layers composed at the press,
  // right within part (sheet pixels; a null part, all of it).
  void refreshDrag(const QRect& part);

  QLayerList* m_layerList;
  bool m_askOnClose = true;
  bool m_modified = false;
  bool m_changedOutsideHistory = false;
  bool m_ctrlDown = false;
  bool m_shiftDown = false;
  bool m_moving = false;
  bool m_drawing = false;
  bool m_drawLayerAsked = false;
  CharacterData m_character;
  UndoHistory m_history;
  QString m_name;
  QString m_filePath;
  QString m_saveFailure; // path and reason of the last failed write
  QMdiArea* m_mdiArea;
  QColorBox* m_colorBox;
  QPoint m_dragPoint;
  QPoint m_startCellPoint;
  QPoint m_startPoint;
  QPoint m_lastPoint;
  // The sheet before the zoom, which the paint scales where it is exposed:
  // right within m_sheetValid (during a drag, what is seen), made of what
  // m_sheetKey says; looked at again at the next paint once stale.
  QImage m_sheet;
  QImage m_shownSheet; // the same words premultiplied, as the screen takes them
  QRect m_sheetValid;
  std::vector<qint64> m_sheetKey;
  bool m_sheetStale = true;
  // The previews of the gesture under way, in picture coordinates, drawn
  // over the view: the pen's squares, the line, the shape's box.
  std::vector<QRect> m_penMarks;
  std::optional<QLine> m_previewLine;
  std::optional<QRect> m_previewShape;
  bool m_previewEllipse = false;
  QBrush m_previewBrush{QColor(128, 128, 128, 255)};
  std::unique_ptr<MoveDragView> m_dragView;
};
