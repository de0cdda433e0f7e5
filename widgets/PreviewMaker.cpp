#include "widgets/PreviewMaker.h"

#include "widgets/PreviewLane.h"

PreviewMaker::PreviewMaker(const QSize& size, Fit fit, QObject* parent) : QObject(parent), m_size(size), m_fit(fit)
{
}

PreviewMaker::~PreviewMaker()
{
  // Nothing will show the running picture: its worker stops at its next check.
  ++*m_newest;
  PreviewLane::leave(this);
}

void PreviewMaker::request(Picture picture)
{
  m_next = std::move(picture);
  ++*m_newest;
  PreviewLane::wait(this);
}
