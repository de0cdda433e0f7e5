#include "widgets/PreviewMaker.h"

#include <QtConcurrent/QtConcurrentRun>

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

PreviewMaker::PreviewMaker(const QSize& size, Fit fit, QObject* parent) : QObject(parent), m_size(size), m_fit(fit)
{
  connect(&m_watcher, &QFutureWatcher<QImage>::finished, this, &PreviewMaker::handOver);
}

PreviewMaker::~PreviewMaker()
{
  // Nothing will show the running picture: its worker stops at its next check.
  ++*m_newest;
}

void PreviewMaker::request(Picture picture)
{
  m_next = std::move(picture);
  ++*m_newest;
  // Started from the event loop, so that of requests made in one go only the
  // last is ever started.
  if (!m_running && !m_startQueued) {
    m_startQueued = true;
    QMetaObject::invokeMethod(this, &PreviewMaker::startNext, Qt::QueuedConnection);
  }
}

void PreviewMaker::startNext()
{
  m_startQueued = false;
  if (m_running || !m_next)
    return;
  m_running = true;
  Picture picture;
  picture.swap(m_next);
  const quint64 mine = *m_newest;
  m_watcher.setFuture(QtConcurrent::run(
      [picture = std::move(picture), newest = m_newest, mine, size = m_size, fit = m_fit]() -> QImage {
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

void PreviewMaker::handOver()
{
  m_running = false;
  const QImage picture = m_watcher.result();
  if (m_next)
    startNext(); // the picture is no longer wanted
  else
    emit made(picture);
}
