#pragma once
#include "model/CharacterData.h"
#include "model/ToolKind.h"
#include "model/UndoHistory.h"

#include <QBrush>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPoint>
#include <QString>

#include <string>

class QColorBox;
class QLayerList;
class QMdiArea;
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

  void refresh();
  void updateSize();
  // Both leave the view alone: the caller calls updateSize().
  void setZoom(double zoom);
  void stepZoom(int direction); // 0 in, 1 out
  QPoint cellPosition(int cell) const;

  // Results: 0 the write failed (the reason in the document's error text),
  // 1 written, 2 the user cancelled the file dialog.
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

  void setModified(bool modified);
  void addHistory(const CharacterData* document, const std::string& label);
  void pushHistory(const LayerData& snapshot, const std::string& label);
  const LayerData& goToHistoryStep(int index);

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

  QLayerList* m_layerList;
  bool m_askOnClose = true;
  bool m_modified = false;
  bool m_ctrlDown = false;
  bool m_shiftDown = false;
  bool m_moving = false;
  bool m_drawing = false;
  bool m_drawLayerAsked = false;
  CharacterData m_character;
  UndoHistory m_history;
  QString m_name;
  QString m_filePath;
  QMdiArea* m_mdiArea;
  QColorBox* m_colorBox;
  QPoint m_dragPoint;
  QPoint m_startCellPoint;
  QPoint m_startPoint;
  QPoint m_lastPoint;
  QPixmap m_previewPixmap;
  QPainter m_previewPainter;
  QPixmap m_renderPixmap;
  QBrush m_previewBrush{QColor(128, 128, 128, 255)};
};
