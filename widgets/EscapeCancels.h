#pragma once
#include <QObject>

class QAbstractButton;
class QWidget;

// Escape in a window that is not a dialog clicks its "Annuler" button, so the
// key takes the button's own path, as it does in every dialog. Keys a child
// used never reach the window.
class EscapeCancels : public QObject
{
  Q_OBJECT

public:
  // Owned by window.
  static void install(QWidget* window, QAbstractButton* cancel);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  EscapeCancels(QWidget* window, QAbstractButton* cancel);

  QWidget* m_window;
  QAbstractButton* m_cancel;
};
