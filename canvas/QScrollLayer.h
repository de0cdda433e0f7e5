#pragma once
#include <QScrollArea>

class QLayer;
class QMdiSubWindow;

// The scroll area that an MDI sub-window shows around one canvas, centred.
class QScrollLayer : public QScrollArea
{
public:
  explicit QScrollLayer(QLayer* canvas);
  ~QScrollLayer() override;

protected:
  void closeEvent(QCloseEvent* event) override;
};

// The canvas an MDI sub-window shows, or null for any other window.
QLayer* canvasOf(QMdiSubWindow* window);
