#include "model/MassSaveGroups.h"

#include "model/CharacterData.h"
#include "model/ElementFileSource.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

std::string filePart(const std::string& source)
{
  const auto file = elementFileSource(source);
  return file ? file->path : source;
}

} // namespace

std::optional<std::pair<std::string, int>> massSaveGroup(const std::string& source)
{
  const auto file = elementFileSource(source);
  if (!file)
    return std::nullopt;
  const auto counter = parseSourceNumber(file->counter);
  if (!counter)
    return std::nullopt;
  return std::make_pair(file->path, *counter);
}

bool offersMassSaveGrouping(const CharacterData& document)
{
  const int count = document.elementCount();
  for (int i = 0; i < count; ++i) {
    if (!massSaveGroup(document.source(i)))
      continue;
    const std::string part = filePart(document.source(i));
    for (int j = 0; j < count; ++j)
      if (j != i && filePart(document.source(j)) == part && document.source(j) != document.source(i))
        return true;
  }
  return false;
}

void addMassSaveReferences(CharacterData& document)
{
  for (int i = 0; i < document.elementCount(); ++i)
    if (!massSaveGroup(document.source(i)))
      document.setSource(document.source(i) + '|' + std::to_string(i), i);
}

void mergeMassSaveGroups(CharacterData& document)
{
  // Every merge removes elements and moves the indexes behind them: the
  // members are looked up again for each group.
  std::set<std::pair<std::string, int>> done;
  for (;;) {
    std::optional<std::pair<std::string, int>> key;
    std::vector<std::pair<int, int>> members; // number, index
    for (int i = 0; i < document.elementCount(); ++i) {
      const auto group = massSaveGroup(document.source(i));
      if (!group || done.count(*group) || (key && *group != *key))
        continue;
      key = group;
      members.emplace_back(parseSourceNumber(elementFileSource(document.source(i))->number).value_or(0), i);
    }
    if (!key)
      return;
    done.insert(*key);
    if (members.size() < 2)
      continue;
    std::stable_sort(members.begin(), members.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> list;
    for (const auto& member : members)
      list.push_back(member.second);
    document.mergeElements(list);
  }
}
