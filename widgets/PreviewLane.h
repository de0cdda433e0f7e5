#pragma once
// The one worker lane of every preview maker: a picture at a time, makers
// served in the order of their requests. It lives on the GUI thread, as the
// makers do, and belongs to the application, so that it outlives them all.
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QPointer>

#include <deque>

class PreviewMaker;

class PreviewLane : public QObject
{
public:
  // The maker has a new request waiting.
  static void wait(PreviewMaker* maker);
  // The maker is going: its waiting request is dropped.
  static void leave(PreviewMaker* maker);

private:
  explicit PreviewLane(QObject* parent);
  static QPointer<PreviewLane>& lane();
  void startNext();
  void handOver();

  std::deque<PreviewMaker*> m_waiting;
  QPointer<PreviewMaker> m_running;
  bool m_busy = false;
  bool m_startQueued = false;
  QFutureWatcher<QImage> m_watcher;
};
