#pragma once
#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QSize>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class CharacterData;
class QCheckBox;
class QDialog;
class QSpinBox;
class QTimer;

// The animated preview of the "Rendu" dock: at each tick of its timer, the
// current frame of each of the four rows of the sheet side by side, with a
// play/pause strip on the right. The period and the background colour are
// remembered in the settings group "Render".
class QLayerRender : public QLabel
{
  Q_OBJECT

public:
  // The width of the play/pause strip, and the least height of the widget.
  static constexpr int kStripWidth = 45;

  QLayerRender(CharacterData* character, QWidget* parent);
  ~QLayerRender() override;

  // Takes effect at the next refresh().
  void setCharacterData(CharacterData* character);
  // (sheet width + strip, sheet height / 4): the least size of the dock at
  // start-up.
  QSize renderSize() const;
  // Redraws the play/pause strip into the canvas and shows the canvas.
  void drawButtons();

public slots:
  // Shows the next animation step (every call advances the program-wide step).
  void refresh();
  void showProperty();
  void changeProperty();
  void changeColor();

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  bool inStrip(const QPoint& p) const;
  // The frames of the current step, computed only when the document changed
  // since they were kept (or never were); advances the step either way.
  std::array<QPixmap, 4> currentFrames();

  QTimer* timer;
  CharacterData* character;
  QPixmap canvas;
  // The frames of each step for the document as it was when they were
  // computed: what they are made of (its composition key), and the frames.
  const CharacterData* framesOf = nullptr;
  std::vector<qint64> framesKey;
  std::array<std::optional<std::array<QPixmap, 4>>, 4> frames;
  QColor background;
  QSize lastCellSize;
  bool buttonHover;
  bool buttonHoverDrawn;
  int period;
  // Guarded: each dialog deletes itself when it closes.
  QPointer<QDialog> propertyDialog;
  QColor pendingColor;
  QWidget* container;
  QSpinBox* periodBox;
  QCheckBox* stopBox;
};
