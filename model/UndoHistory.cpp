#include "model/UndoHistory.h"

namespace {
constexpr int kDefaultLimit = 271;
constexpr int kNoLimit = -2;
constexpr int kNotInHistory = -1;
} // namespace

UndoHistory::UndoHistory()
{
  setLimit(-1);
}

// A new state written where the saved one stood must not pass for it.
void UndoHistory::dropLast()
{
  if (m_savedIndex == count() - 1)
    m_savedIndex = kNotInHistory;
  m_snapshots.pop_back();
  m_labels.pop_back();
}

void UndoHistory::dropRedo()
{
  while (m_currentIndex < count() - 1)
    dropLast();
}

void UndoHistory::push(const LayerData& snapshot, const std::string& label)
{
  dropRedo();
  if (m_limit != kNoLimit && count() > m_limit)
    return;
  if (m_limit != kNoLimit && count() == m_limit) {
    m_snapshots.pop_front();
    m_labels.pop_front();
    m_snapshots.push_back(snapshot);
    m_labels.push_back(label);
    // Every entry moved one place down; the saved one may be gone.
    if (m_savedIndex > 0)
      --m_savedIndex;
    else
      m_savedIndex = kNotInHistory;
    return;
  }
  m_snapshots.push_back(snapshot);
  m_labels.push_back(label);
  ++m_currentIndex;
}

const LayerData& UndoHistory::goTo(int index)
{
  if (index < 0)
    m_currentIndex += index;
  else
    m_currentIndex = index;
  return m_snapshots[static_cast<size_t>(m_currentIndex)];
}

int UndoHistory::undoTarget() const
{
  const int shown = m_currentIndex == count() ? m_currentIndex - 1 : m_currentIndex;
  return shown >= 1 ? shown - 1 : -1;
}

int UndoHistory::redoTarget() const
{
  return m_currentIndex < count() - 1 ? m_currentIndex + 1 : -1;
}

void UndoHistory::markSaved()
{
  m_savedIndex = m_currentIndex == count() ? m_currentIndex - 1 : m_currentIndex;
}

void UndoHistory::setLimit(int n)
{
  if (n == -1)
    m_limit = kDefaultLimit;
  else if (n > 0 || n == kNoLimit)
    m_limit = n;
}
