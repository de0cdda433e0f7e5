#pragma once
#include "core/IniFile.h"

#include <QString>

#include <cstddef>

// The program's settings file "sorvelkit.ini", looked for in the current
// folder first, else beside the program. An instance is a short-lived local:
// it loads the file when built, and writes it back when it goes away (or on
// save()), only if a value was set.
//
// Keys are global to the file: a key is found by its name whatever its group;
// the group only matters when the key is created. Names are UTF-8.
class IniSettings
{
public:
  IniSettings();
  ~IniSettings();
  IniSettings(const IniSettings&) = delete;
  IniSettings& operator=(const IniSettings&) = delete;

  // True when the key exists and its value reads as the type asked for (see
  // IniFile::valueOf); otherwise false, and out keeps the caller's default.
  bool getValue(const char* key, QString& out);
  bool getValue(const char* key, bool& out);
  bool getValue(const char* key, int& out);
  bool getValue(const char* key, double& out);
  // The text value in UTF-8, cut to size - 1 bytes at a character boundary
  // and always terminated; false with the buffer untouched when the key is
  // absent or size is 0.
  bool getValue(const QString& key, char* buffer, std::size_t size);

  // Creates the key in the group (created at top level if missing), or
  // replaces the value of the existing key wherever it stands, taking the new
  // value's type.
  void setValue(const char* group, const char* key, const QString& value);
  void setValue(const char* group, const char* key, const bool& value);
  void setValue(const char* group, const char* key, const int& value);
  void setValue(const char* group, const char* key, const double& value);
  void setValue(const char* group, const char* key, const char* value);

  // Writes the file now if something changed since the last write.
  void save();

  // Where the file is read and written: "sorvelkit.ini" when the current
  // folder has one, else the program's folder followed by "/sorvelkit.ini".
  static QString filePath();

private:
  template <typename T>
  bool get(const char* key, T& out);
  int groupFor(const char* group);

  IniFile m_store;
  bool m_modified = false;
};
