#pragma once
// Makes the preview pictures of a window's files on a worker thread, so that
// a huge or hostile file never holds the window. Every maker of the program
// shares one lane, one picture at a time: closing a window and opening it
// again never starts a second decode beside a running one. Only a maker's
// newest request's picture is handed over: a request replaced before its turn
// is never started, and one replaced while it runs is told so and its picture
// dropped. Nothing waits for the worker, not even the destructor: a picture
// still being made when its window closes is told so and thrown away.
#include <QImage>
#include <QObject>
#include <QSize>

#include <atomic>
#include <functional>
#include <memory>

class PreviewMaker : public QObject
{
  Q_OBJECT

public:
  // Pictures one file on the worker thread: it touches no widget and no
  // pixmap, and may give up with a null image once superseded() is true.
  using Picture = std::function<QImage(const std::function<bool()>& superseded)>;
  // Shrink scales a picture larger than the size down into it, keeping its
  // proportions; Stretch scales every picture to exactly the size.
  enum Fit { Shrink, Stretch };

  PreviewMaker(const QSize& size, Fit fit, QObject* parent);
  ~PreviewMaker() override;

  void request(Picture picture);

signals:
  // The newest request's picture, in Format_ARGB32_Premultiplied so that a
  // pixmap takes it as it is; null when the file gives none.
  void made(const QImage& picture);

private:
  friend class PreviewLane;

  const QSize m_size;
  const Fit m_fit;
  Picture m_next;
  // Counts requests: a running picture whose count is no longer the newest is
  // superseded. Shared with the worker, which may outlive this object.
  std::shared_ptr<std::atomic<quint64>> m_newest = std::make_shared<std::atomic<quint64>>(0);
};
