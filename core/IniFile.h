#pragma once
#include "core/IniSet.h"

#include <QList>
#include <QString>

#include <locale>
#include <sstream>
#include <string>

// In-memory store of the settings file: nested groups ("sets") of typed
// values, with one table of set names and one of key names giving every set
// and every key a numeric id. Set ids are 1-based and key ids 0-based, both in
// creation order over the whole store, and both tables stay aligned with their
// ids (set id k at position k - 1, key id k at position k).
//
// The text form (read/write) has group headers in square brackets nested by
// leading spaces, and key=value lines whose type is told by the value's text.
class IniFile
{
public:
  // Which of the two name tables a lookup searches. Sets and keys are looked
  // up apart so that a key bearing a group's name stays reachable.
  enum class Name { Set, Key };

  IniFile();
  explicit IniFile(const char* path);

  bool lastFound() const { return m_lastFound; }
  QString lastError() const { return m_lastError; }

  // The lowest id that bears this name in the table asked for; 0 with
  // lastFound() false when there is none (0 is also the first key's id, so
  // callers test lastFound()).
  int findId(const QString& name, Name kind);

  // ---- sets
  // A parent id that names no set makes a top-level set.
  int addSet(const QString& name, int parentId);
  QList<IniSet> childSets(int parentId) const;
  // A copy of the set; an empty set of id 0 when no set has that id.
  IniSet getSet(int id) const;
  // Removes the set, its keys and all its descendants, then renumbers the
  // remaining sets and keys so that ids keep matching the name tables.
  void removeSet(int id);
  void removeChildSets(int parentId);

  // ---- adding a value: to the set setId, else to the first set, else to a
  // new top-level set "Ensemble 1". Returns the new key id.
  int addDouble(const QString& key, const double& value, int setId);
  int addString(const QString& key, const QString& value, int setId);
  int addBool(const QString& key, const bool& value, int setId);
  int addInt(const QString& key, const int& value, int setId);

  // ---- replacing a value in place, only when the key's entry has that type
  bool setDouble(const double& value, int keyId);
  bool setString(const QString& value, int keyId);
  bool setBool(const bool& value, int keyId);
  bool setInt(const int& value, int keyId);

  // ---- replacing a value whatever the entry's type: an entry of another
  // type takes the new type in place, so the key keeps its position.
  // False only when no entry carries that key id.
  bool putDouble(const double& value, int keyId);
  bool putString(const QString& value, int keyId);
  bool putBool(const bool& value, int keyId);
  bool putInt(const int& value, int keyId);

  // ---- reading a value by key id
  // The value of the key's bool entry; false when it has none.
  bool getBool(int keyId) const;
  // Typed reads. A value of another type is converted when that is lossless
  // and unambiguous: bool to 0/1, int to double, any number or bool to its
  // written text, text to a number only when the whole text parses. Anything
  // else, or no entry, answers false and leaves out untouched.
  bool valueOf(int keyId, int& out) const;
  bool valueOf(int keyId, double& out) const;
  bool valueOf(int keyId, QString& out) const;
  bool valueOf(int keyId, bool& out) const;

  // ---- text form. Paths are UTF-8.
  // Replaces the whole store by the file's content. False, with the store
  // untouched, when the file cannot be opened.
  bool read(const char* path);
  // Writes the whole store, replacing the file atomically.
  bool write(const std::string& path);
  // Appends the text of the sets whose parent is parentId, with their keys and
  // descendants, indented by depth spaces.
  void formatSets(int parentId, std::string& out, int depth = 0) const;

  // Extracts a T from the longest valid prefix of text, whatever the user's
  // locale. False when nothing could be extracted.
  template <typename T>
  static bool fromString(const std::string& text, T& value)
  {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail();
  }

  // The text a double is written as: 6 significant digits, C locale.
  static std::string formatDouble(double value);

private:
  struct EntryPos
  {
    int set = -1;
    int entry = -1;
  };
  EntryPos findEntry(int keyId) const;
  IniSet* setById(int id);
  int targetSet(int setId);
  template <typename T>
  int addValue(const QString& key, const T& value, int setId);
  template <typename T>
  bool setValue(const T& value, int keyId);
  template <typename T>
  bool putValue(const T& value, int keyId);
  void removeSets(const QList<int>& ids);
  void addLine(const QString& line, QList<QPair<int, int>>& headers);
  std::string valueText(const IniSet& set, const IniIndexEntry& entry) const;

  QList<IniSet> m_sets;
  QList<QString> m_setNames;
  QList<QString> m_keyNames;
  int m_nextKeyId = 0;
  int m_lastSetId = 0;
  QString m_lastError;
  bool m_lastFound = false;
};
