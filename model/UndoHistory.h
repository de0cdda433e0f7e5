#pragma once
#include "model/LayerData.h"

#include <deque>
#include <string>

// The undo and redo history of one open character: the recorded states, oldest
// first, with the label of the action that led to each.
//
// currentIndex has two forms. After pushes with nothing undone it equals
// count() (one past the entry shown); once an undo or redo has happened it is
// the index of the entry shown. Callers tell them apart by comparing it with
// count().
class UndoHistory
{
public:
  UndoHistory();

  // Drops the redo tail, then appends; a full history loses its oldest entry.
  void push(const LayerData& snapshot, const std::string& label);
  // A negative index moves back by that many steps; any other becomes the
  // current index. Not validated: callers pass a position that exists.
  const LayerData& goTo(int index);
  int count() const { return static_cast<int>(m_snapshots.size()); }

  int currentIndex() const { return m_currentIndex; }
  // The entry the undo and redo commands go to, or -1 when there is none.
  // The first entry, the state the character opened with, is never undone.
  int undoTarget() const;
  int redoTarget() const;
  void setCurrentIndex(int index) { m_currentIndex = index; }
  // The entry matching the file on disk. It is negative when that entry is no
  // longer in the history, so that no position can claim to be saved.
  int savedIndex() const { return m_savedIndex; }
  void markSaved();
  void setSavedIndex(int index) { m_savedIndex = index; }

  // -1 gives the default of 271, -2 means no limit, 0 and other negatives are
  // ignored.
  int limit() const { return m_limit; }
  void setLimit(int n);

  std::string label(int index) const { return m_labels[static_cast<size_t>(index)]; }
  void setLabels(const std::deque<std::string>& labels) { m_labels = labels; }
  void dropRedo();

private:
  void dropLast();

  std::deque<LayerData> m_snapshots;
  std::deque<std::string> m_labels;
  int m_currentIndex = 0;
  int m_savedIndex = 0;
  int m_limit = 271;
};
