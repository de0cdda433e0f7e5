#pragma once
#include <QImage>
#include <QPoint>
#include <QSize>
#include <string>
#include <vector>

// A value snapshot of a document's element data: an undo step, or the
// clipboard's copy of whole elements. Cell images share their pixels with the
// document until one side writes.
struct LayerData
{
  int type = 0;
  QSize size{0, 0};
  std::vector<std::string> names;
  std::vector<std::string> sources;
  std::vector<std::vector<QImage>> images;
  std::vector<std::vector<QPoint>> offsets;
  std::vector<bool> visibility;
  std::vector<int> selectedElements;
};
