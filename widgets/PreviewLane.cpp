#include "widgets/PreviewLane.h"

#include "widgets/PreviewMaker.h"

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <exception>

namespace {

QImage fitted(QImage picture, const QSize& size, PreviewMaker::Fit fit)
{
  // In place on the worker's own copy, and before scaling, which would
  // otherwise make a premultiplied copy of a huge picture first.
  picture.convertTo(QImage::Format_ARGB32_Premultiplied);
  if (fit == PreviewMaker::Stretch)
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (picture.width() <= size.width() && picture.height() <= size.height())
    return picture;
  const QSize shrunk = picture.size().scaled(size, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
  return picture.scaled(shrunk, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QPointer<PreviewLane>& PreviewLane::lane()
{
  static QPointer<PreviewLane> theLane;
  return theLane;
}

PreviewLane::PreviewLane(QObject* parent) : QObject(parent)
{
  connect(&m_watcher, &QFutureWatcher<QImage>::finished, this, &PreviewLane::handOver);
}

void PreviewLane::wait(PreviewMaker* maker)
{
  if (!lane())
    lane() = new PreviewLane(QCoreApplication::instance());
  PreviewLane& it = *lane();
  if (std::find(it.m_waiting.begin(), it.m_waiting.end(), maker) == it.m_waiting.end())
    it.m_waiting.push_back(maker);
  // Started from the event loop, so that of requests made in one go only the
  // last is ever started.
  if (!it.m_busy && !it.m_startQueued) {
    it.m_startQueued = true;
    QMetaObject::invokeMethod(&it, &PreviewLane::startNext, Qt::QueuedConnection);
  }
}

void PreviewLane::leave(PreviewMaker* maker)
{
  if (PreviewLane* it = lane())
    it->m_waiting.erase(std::remove(it->m_waiting.begin(), it->m_waiting.end(), maker), it->m_waiting.end());
}

void PreviewLane::startNext()
{
  m_startQueued = false;
  if (m_busy || m_waiting.empty())
    return;
  PreviewMaker* maker = m_waiting.front();
  m_waiting.pop_front();
  m_busy = true;
  m_running = maker;
  PreviewMaker::Picture picture;
  picture.swap(maker->m_next);
  m_watcher.setFuture(QtConcurrent::run(
      [picture = std::move(picture), newest = maker->m_newest, mine = quint64(*maker->m_newest),
       size = maker->m_size, fit = maker->m_fit]() -> QImage {
        const std::function<bool()> superseded = [&newest, mine] { return *newest != mine; };
        try {
          QImage made = picture(superseded);
          return made.isNull() || superseded() ? QImage() : fitted(std::move(made), size, fit);
        } catch (const std::exception&) {
          // A picture too large to allocate is no picture.
          return QImage();
        }
      }));
}

void PreviewLane::handOver()
{
  m_busy = false;
  const QImage picture = m_watcher.result();
  // A maker with a newer request waits in the lane again; its picture is no
  // longer wanted.
  if (m_running && !m_running->m_next)
    emit m_running->made(picture);
  m_running = nullptr;
  startNext();
}
