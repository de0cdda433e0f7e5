#pragma once
#include <QColor>
#include <QImage>
#include <QWidget>

// A 73 x 15 hand-painted slider for one channel of a colour. The track shows
// the range the channel can take with the other channels of the colour; the
// cursor marks the value. A press or drag reports the changed colour (the
// alpha slider reports the alpha alone); the owner answers with setColor or
// setValue, which move the cursor.
class QColorSlide : public QWidget
{
  Q_OBJECT

public:
  enum Mode { Alpha = 0, Red = 4, Green = 5, Blue = 6, Hue = 7, Saturation = 8, Value = 9 };

  QColorSlide(QColor color, int mode, QWidget* parent = nullptr);

  // Off while the owner writes the paired spin box, whose valueChanged drives
  // setValue, so that the refresh does not echo back as a colour change.
  void setEmitChange(bool on);

  QColor color() const { return m_color; }
  double value() const { return m_value; }

signals:
  void changeColor(QColor color);
  void changeValue(int alpha);

public slots:
  // In alpha mode without alpha, only red, green and blue are taken.
  void setColor(QColor new_color, bool alpha);
  void setColor(QColor new_color);
  void setValue(int value);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  double channelValue() const;
  void setChannel(double t);

  QImage m_channelImage;
  QImage m_checkerboard;
  QImage m_cursor;
  int m_mode;
  QColor m_color;
  bool m_emitChange = true;
  double m_value = 0.0;
};
