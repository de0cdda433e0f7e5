#pragma once
#include <QImage>
#include <QPoint>

// One copied cell: its image and its offset.
struct LayerDataCellule
{
  QImage image;
  QPoint offset;
};
