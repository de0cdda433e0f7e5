#pragma once
#include <QSize>

// The grid a document cuts its sheets in: how many columns and cells its
// layout has (no cells for an unknown layout), the size of one cell and of
// the whole sheet.
struct SheetGrid
{
  int columns = 0;
  int cells = 0;
  QSize cell;
  QSize sheet;
};
