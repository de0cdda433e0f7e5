#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

#include <QMouseEvent> // complete, so that receivers can connect to clicked

// The 50 x 20 swatch of one colour that its owner edits: painted over a framed
// checkerboard, so translucent colours show as such. The owner calls update()
// after changing the colour.
class QColorLittleBox : public QWidget
{
  Q_OBJECT

public:
  QColorLittleBox(QColor* color, bool alphaEnabled, QWidget* parent = nullptr);

signals:
  // Every press, whatever the button. The event lives only during the emit.
  void clicked(QMouseEvent* event);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  QColor* color;
  QImage background;
  bool alphaEnabled;
};
