#pragma once
#include <vector>

// Where a drawing stroke lands.
struct DrawScope
{
  int scope = 0;             // 0 targeted cell, 1 selected cells, 2 all cells
  std::vector<int> elements; // elements the stroke is drawn into
  unsigned char cell = 0;    // targeted cell
};
