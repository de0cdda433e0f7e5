#include "canvas/QScrollLayer.h"

#include "canvas/QLayer.h"

QScrollLayer::QScrollLayer(QLayer* canvas)
  : QScrollArea(nullptr)
{
  setWidget(canvas);
  setAlignment(Qt::AlignCenter);
}

QScrollLayer::~QScrollLayer() = default;
