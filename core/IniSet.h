#pragma once
#include "core/IniIndexEntry.h"

#include <QList>
#include <QString>

// One group of the settings store. It carries no name: the store keeps the
// names, by id. A plain value, copied whole.
struct IniSet
{
  int parentId = 0;
  int id = 0;
  QList<int> ints;
  QList<double> doubles;
  QList<QString> strings;
  QList<bool> bools;
  // One entry per key, in the order the keys were added, whatever their types.
  QList<IniIndexEntry> entries;
};
