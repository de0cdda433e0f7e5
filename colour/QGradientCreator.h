#pragma once
#include "core/GradientData.h"

#include <QImage>
#include <QLinearGradient>
#include <QWidget>

#include <vector>

// The gradient editor's stop bar: the colour ramp over a checkerboard, and a
// row of cursors, one per stop, under it. A press on an empty place of the
// row adds a stop, a press on a cursor selects that stop and drags it.
class QGradientCreator : public QWidget
{
  Q_OBJECT

public:
  // color: the colour of every stop a click adds.
  explicit QGradientCreator(const QColor& color, QWidget* parent = nullptr);

  // In the order of creation, never sorted.
  const std::vector<GradientData>& gradientData() const { return stops; }
  // The next setPos is ignored, so that the owner can show a selected stop's
  // position as a whole percentage without moving the stop onto it.
  void ignoreNextPos() { acceptPos = false; }
  void updateGradient();

signals:
  // The selected stop, or position -1.0 in black when none is selected.
  void changeIndex(GradientData stop);
  void changeGradient(const std::vector<GradientData>& stops);

public slots:
  void setGradientData(GradientData stop);
  void setGradient(const std::vector<GradientData>& newStops);
  void destroy();
  void destroyAll();
  void setPos(int percent);
  void setColor(QColor color);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  void emitSelection();

  std::vector<GradientData> stops;
  QLinearGradient preview;
  QImage background;
  QImage cursor;
  QImage selectedCursor;
  QColor newStopColor;
  int selected = -1;
  bool pressed = false;
  bool acceptPos = true;
};
