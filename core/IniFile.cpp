#include "core/IniFile.h"
#include "core/SaveFile.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace {

// Maps each value type to its type code and to its list in a set.
template <typename T>
struct Slot;

template <>
struct Slot<double>
{
  static constexpr uint16_t code = IniDouble;
  static QList<double>& list(IniSet& s) { return s.doubles; }
};
template <>
struct Slot<QString>
{
  static constexpr uint16_t code = IniString;
  static QList<QString>& list(IniSet& s) { return s.strings; }
};
template <>
struct Slot<bool>
{
  static constexpr uint16_t code = IniBool;
  static QList<bool>& list(IniSet& s) { return s.bools; }
};
template <>
struct Slot<int>
{
  static constexpr uint16_t code = IniInt;
  static QList<int>& list(IniSet& s) { return s.ints; }
};

void eraseValue(IniSet& set, uint16_t type, int index)
{
  switch (type) {
  case IniDouble: set.doubles.removeAt(index); break;
  case IniString: set.strings.removeAt(index); break;
  case IniBool: set.bools.removeAt(index); break;
  default: set.ints.removeAt(index); break;
  }
  for (IniIndexEntry& e : set.entries)
    if (e.type == type && e.index > index)
      --e.index;
}

// A whole-text parse: no leading space, no trailing character.
template <typename T>
bool parseWhole(const QString& text, T& value)
{
  std::istringstream in(text.toStdString());
  in.imbue(std::locale::classic());
  in >> std::noskipws;
  T v{};
  in >> v;
  if (in.fail() || in.peek() != std::char_traits<char>::eof())
    return false;
  value = v;
  return true;
}

std::string formatInt(int value)
{
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << value;
  return out.str();
}

// A line break inside a name or a value would start a line of its own when
// read back: it becomes a space.
std::string oneLine(const QString& text)
{
  std::string s = text.toStdString();
  std::replace(s.begin(), s.end(), '\n', ' ');
  std::replace(s.begin(), s.end(), '\r', ' ');
  return s;
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

} // namespace

IniFile::IniFile() = default;

IniFile::IniFile(const char* path)
{
  read(path);
}

int IniFile::findId(const QString& name, Name kind)
{
  m_lastFound = true;
  if (kind == Name::Set) {
    const int pos = m_setNames.indexOf(name);
    if (pos >= 0)
      return pos + 1;
  } else {
    const int pos = m_keyNames.indexOf(name);
    if (pos >= 0)
      return pos;
  }
  m_lastFound = false;
  return 0;
}

IniSet* IniFile::setById(int id)
{
  return id >= 1 && id <= m_sets.size() ? &m_sets[id - 1] : nullptr;
}

int IniFile::addSet(const QString& name, int parentId)
{
  IniSet set;
  set.id = ++m_lastSetId;
  set.parentId = parentId != 0 && setById(parentId) ? parentId : 0;
  m_sets.append(set);
  m_setNames.append(name);
  return set.id;
}

QList<IniSet> IniFile::childSets(int parentId) const
{
  QList<IniSet> out;
  for (const IniSet& s : m_sets)
    if (s.parentId == parentId)
      out.append(s);
  return out;
}

IniSet IniFile::getSet(int id) const
{
  return id >= 1 && id <= m_sets.size() ? m_sets[id - 1] : IniSet();
}

void IniFile::removeSet(int id)
{
  if (id >= 1 && id <= m_sets.size())
    removeSets({id});
}

void IniFile::removeChildSets(int parentId)
{
  QList<int> ids;
  for (const IniSet& s : m_sets)
    if (s.parentId == parentId)
      ids.append(s.id);
  removeSets(ids);
}

void IniFile::removeSets(const QList<int>& roots)
{
  if (roots.isEmpty())
    return;
  // Children always come after their parent, so one pass in id order gathers
  // every descendant.
  QSet<int> gone(roots.begin(), roots.end());
  for (const IniSet& s : m_sets)
    if (s.parentId != 0 && gone.contains(s.parentId))
      gone.insert(s.id);

  QList<IniSet> sets;
  QList<QString> setNames;
  QList<QString> keyNames;
  QList<int> newSetId(m_sets.size() + 1, 0);
  for (int i = 0; i < m_sets.size(); ++i) {
    if (gone.contains(m_sets[i].id))
      continue;
    newSetId[m_sets[i].id] = sets.size() + 1;
    sets.append(m_sets[i]);
    setNames.append(m_setNames[i]);
  }
  // Key ids follow the order of the remaining names.
  QList<int> newKeyId(m_keyNames.size(), -1);
  QSet<int> goneKeys;
  for (const IniSet& s : m_sets)
    if (gone.contains(s.id))
      for (const IniIndexEntry& e : s.entries)
        goneKeys.insert(e.keyId);
  for (int k = 0; k < m_keyNames.size(); ++k) {
    if (goneKeys.contains(k))
      continue;
    newKeyId[k] = keyNames.size();
    keyNames.append(m_keyNames[k]);
  }
  for (IniSet& s : sets) {
    s.id = newSetId[s.id];
    s.parentId = s.parentId != 0 ? newSetId[s.parentId] : 0;
    for (IniIndexEntry& e : s.entries)
      e.keyId = newKeyId[e.keyId];
  }
  m_sets = sets;
  m_setNames = setNames;
  m_keyNames = keyNames;
  m_lastSetId = m_sets.size();
  m_nextKeyId = m_keyNames.size();
}

int IniFile::targetSet(int setId)
{
  if (setId != 0 && setById(setId))
    return setId;
  if (m_sets.isEmpty())
    return addSet(QStringLiteral("Ensemble 1"), 0);
  return m_sets.first().id;
}

template <typename T>
int IniFile::addValue(const QString& key, const T& value, int setId)
{
  IniSet& set = *setById(targetSet(setId));
  QList<T>& list = Slot<T>::list(set);
  list.append(value);
  IniIndexEntry entry;
  entry.keyId = m_nextKeyId++;
  entry.type = Slot<T>::code;
  entry.index = list.size() - 1;
  set.entries.append(entry);
  m_keyNames.append(key);
  return entry.keyId;
}

int IniFile::addDouble(const QString& key, const double& value, int setId) { return addValue(key, value, setId); }
int IniFile::addString(const QString& key, const QString& value, int setId) { return addValue(key, value, setId); }
int IniFile::addBool(const QString& key, const bool& value, int setId) { return addValue(key, value, setId); }
int IniFile::addInt(const QString& key, const int& value, int setId) { return addValue(key, value, setId); }

IniFile::EntryPos IniFile::findEntry(int keyId) const
{
  for (int s = 0; s < m_sets.size(); ++s) {
    const QList<IniIndexEntry>& entries = m_sets[s].entries;
    for (int e = 0; e < entries.size(); ++e)
      if (entries[e].keyId == keyId)
        return {s, e};
  }
  return {};
}

template <typename T>
bool IniFile::setValue(const T& value, int keyId)
{
  // Each key id belongs to one entry only, so the first entry carrying it
  // decides.
  const EntryPos pos = findEntry(keyId);
  if (pos.set < 0)
    return false;
  IniSet& set = m_sets[pos.set];
  const IniIndexEntry& entry = set.entries[pos.entry];
  if (entry.type != Slot<T>::code)
    return false;
  Slot<T>::list(set)[entry.index] = value;
  return true;
}

bool IniFile::setDouble(const double& value, int keyId) { return setValue(value, keyId); }
bool IniFile::setString(const QString& value, int keyId) { return setValue(value, keyId); }
bool IniFile::setBool(const bool& value, int keyId) { return setValue(value, keyId); }
bool IniFile::setInt(const int& value, int keyId) { return setValue(value, keyId); }

template <typename T>
bool IniFile::putValue(const T& value, int keyId)
{
  if (setValue(value, keyId))
    return true;
  const EntryPos pos = findEntry(keyId);
  if (pos.set < 0)
    return false;
  IniSet& set = m_sets[pos.set];
  const IniIndexEntry old = set.entries[pos.entry];
  eraseValue(set, old.type, old.index);
  QList<T>& list = Slot<T>::list(set);
  list.append(value);
  IniIndexEntry& entry = set.entries[pos.entry];
  entry.type = Slot<T>::code;
  entry.index = list.size() - 1;
  return true;
}

bool IniFile::putDouble(const double& value, int keyId) { return putValue(value, keyId); }
bool IniFile::putString(const QString& value, int keyId) { return putValue(value, keyId); }
bool IniFile::putBool(const bool& value, int keyId) { return putValue(value, keyId); }
bool IniFile::putInt(const int& value, int keyId) { return putValue(value, keyId); }

bool IniFile::getBool(int keyId) const
{
  bool value = false;
  return valueOf(keyId, value) && value;
}

bool IniFile::valueOf(int keyId, bool& out) const
{
  const EntryPos pos = findEntry(keyId);
  if (pos.set < 0)
    return false;
  const IniSet& set = m_sets[pos.set];
  const IniIndexEntry& e = set.entries[pos.entry];
  if (e.type != IniBool)
    return false;
  out = set.bools[e.index];
  return true;
}

bool IniFile::valueOf(int keyId, int& out) const
{
  const EntryPos pos = findEntry(keyId);
  if (pos.set < 0)
    return false;
  const IniSet& set = m_sets[pos.set];
  const IniIndexEntry& e = set.entries[pos.entry];
  switch (e.type) {
  case IniInt: out = set.ints[e.index]; return true;
  case IniBool: out = set.bools[e.index] ? 1 : 0; return true;
  case IniString: return parseWhole(set.strings[e.index], out);
  default: return false;
  }
}

bool IniFile::valueOf(int keyId, double& out) const
{
  const EntryPos pos = findEntry(keyId);
  if (pos.set < 0)
    return false;
  const IniSet& set = m_sets[pos.set];
  const IniIndexEntry& e = set.entries[pos.entry];
  switch (e.type) {
  case IniDouble: out = set.doubles[e.index]; return true;
  case IniInt: out = set.ints[e.index]; return true;
  // An integral double of 0 or 1 is written "0" or "1" and reads back as a
  // bool.
  case IniBool: out = set.bools[e.index] ? 1.0 : 0.0; return true;
  default: return parseWhole(set.strings[e.index], out);
  }
}

bool IniFile::valueOf(int keyId, QString& out) const
{
  const EntryPos pos = findEntry(keyId);
  if (pos.set < 0)
    return false;
  const IniSet& set = m_sets[pos.set];
  const IniIndexEntry& e = set.entries[pos.entry];
  if (e.type == IniString)
    out = set.strings[e.index];
  else
    out = QString::fromStdString(valueText(set, e));
  return true;
}

std::string IniFile::formatDouble(double value)
{
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << value;
  return out.str();
}

std::string IniFile::valueText(const IniSet& set, const IniIndexEntry& e) const
{
  switch (e.type) {
  case IniDouble: return formatDouble(set.doubles[e.index]);
  case IniString: return oneLine(set.strings[e.index]);
  case IniBool: return set.bools[e.index] ? "1" : "0";
  default: return formatInt(set.ints[e.index]);
  }
}

void IniFile::formatSets(int parentId, std::string& out, int depth) const
{
  const std::string indent(static_cast<size_t>(std::max(depth, 0)), ' ');
  for (const IniSet& set : m_sets) {
    if (set.parentId != parentId)
      continue;
    out += indent + '[' + oneLine(m_setNames.value(set.id - 1)) + "]\n";
    for (const IniIndexEntry& e : set.entries)
      out += indent + oneLine(m_keyNames.value(e.keyId)) + '=' + valueText(set, e) + '\n';
    formatSets(set.id, out, depth + 1);
  }
}

bool IniFile::write(const std::string& path)
{
  const QString name = QString::fromStdString(path);
  std::string text;
  formatSets(0, text, 0);
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly)
      || file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())
      || !commitSaveFile(file)) {
    m_lastError = QStringLiteral("Impossible d'écrire le fichier : ") + name;
    return false;
  }
  return true;
}

bool IniFile::read(const char* path)
{
  const QString name = QString::fromUtf8(path ? path : "");
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) {
    m_lastError = QStringLiteral("Impossible d'ouvrir le fichier : ") + name;
    return false;
  }
  const QByteArray bytes = file.readAll();

  m_sets.clear();
  m_setNames.clear();
  m_keyNames.clear();
  m_lastSetId = 0;
  m_nextKeyId = 0;

  QList<QPair<int, int>> headers; // (set id, indentation), in file order
  // Files written before the switch to UTF-8 are Latin-1, and a file edited
  // by hand may mix both: each line is UTF-8 when it decodes as such, Latin-1
  // otherwise, so that one stray byte does not garble the other lines.
  for (const QByteArray& bytesOfLine : bytes.split('\n')) {
    // Stateless: a multi-byte sequence cut off by the line's end is an error,
    // not a start kept for input that never comes.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString line = utf8(bytesOfLine);
    if (utf8.hasError())
      line = QString::fromLatin1(bytesOfLine);
    if (line.endsWith(QLatin1Char('\r')))
      line.chop(1);
    addLine(line, headers);
  }
  return true;
}

void IniFile::addLine(const QString& line, QList<QPair<int, int>>& headers)
{
  int indent = 0;
  while (indent < line.size() && line[indent] == QLatin1Char(' '))
    ++indent;
  // Blank lines carry nothing; skipping them keeps the rest of a hand-edited
  // file.
  if (indent == line.size())
    return;

  if (line[indent] == QLatin1Char('[')) {
    const int close = line.indexOf(QLatin1Char(']'), indent + 1);
    const QString setName = close < 0 ? line.mid(indent + 1) : line.mid(indent + 1, close - indent - 1);
    int parent = 0;
    for (int i = headers.size() - 1; i >= 0; --i)
      if (headers[i].second == indent - 1) {
        parent = headers[i].first;
        break;
      }
    headers.append({addSet(setName, parent), indent});
    return;
  }

  const int eq = line.indexOf(QLatin1Char('='), indent + 1);
  if (eq < 0)
    return;
  const QString key = line.mid(indent, eq - indent);
  const QString value = line.mid(eq + 1);
  if (value.isEmpty())
    return;

  if (value == QLatin1String("0") || value == QLatin1String("1")) {
    addBool(key, value == QLatin1String("1"), m_lastSetId);
    return;
  }
  bool numeric = true;
  bool point = false;
  for (QChar c : value) {
    if (c == QLatin1Char('.'))
      point = true;
    else if (!isDigit(c) && c != QLatin1Char('-'))
      numeric = false;
  }
  // A numeric-looking text that does not parse ("-", ".", an int out of
  // range) is kept as it is.
  if (numeric && point) {
    double d = 0;
    if (fromString(value.toStdString(), d)) {
      addDouble(key, d, m_lastSetId);
      return;
    }
  } else if (numeric) {
    int i = 0;
    if (fromString(value.toStdString(), i)) {
      addInt(key, i, m_lastSetId);
      return;
    }
  }
  addString(key, value, m_lastSetId);
}
