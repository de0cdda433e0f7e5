#pragma once
// The selection-scoped operations whose cells do not depend on one another
// run their elements side by side.
#include "model/CharacterData.h"

#include <QtConcurrent/QtConcurrentMap>

#include <unordered_map>
#include <utility>
#include <vector>

// Runs step(element, cells) once for every element of the selection scope,
// with its cells in scope in scope order, the elements at once on the global
// pool. A step may change only the cells it is given, which keeps the result
// that of the cell-by-cell walk.
template <class Step>
void forEachScopedElementAtOnce(CharacterData& document, Step step)
{
  std::vector<std::pair<int, std::vector<int>>> scope;
  std::unordered_map<int, std::size_t> slot;
  document.forEachScopedCell([&](int e, int c) {
    const auto [at, added] = slot.emplace(e, scope.size());
    if (added)
      scope.push_back({e, {}});
    scope[at->second].second.push_back(c);
  });
  QtConcurrent::blockingMap(scope, [&](const std::pair<int, std::vector<int>>& element) {
    step(element.first, element.second);
  });
}

// step(element, cell) for every cell in scope, the elements at once.
template <class Step>
void forEachScopedCellAtOnce(CharacterData& document, Step step)
{
  forEachScopedElementAtOnce(document, [&](int e, const std::vector<int>& cells) {
    for (int c : cells)
      step(e, c);
  });
}
