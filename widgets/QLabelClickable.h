#pragma once
#include <QLabel>

#include <QMouseEvent> // complete, so that receivers can connect to clicked

// A label that acts as a button: every press, whatever the button, is
// reported and consumed, so it does not travel on to the parent.
class QLabelClickable : public QLabel
{
  Q_OBJECT

public:
  explicit QLabelClickable(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());

signals:
  // The event lives only during the emit.
  void clicked(QMouseEvent* event);

protected:
  void mousePressEvent(QMouseEvent* event) override;
};
