#include "core/IniSettings.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {
const char* const kFileName = "sorvelkit.ini";
}

QString IniSettings::filePath()
{
  if (QFileInfo::exists(QString::fromLatin1(kFileName)))
    return QString::fromLatin1(kFileName);
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QString::fromLatin1(kFileName);
}

IniSettings::IniSettings()
{
  // A missing or unreadable file simply means every setting has its default.
  m_store.read(filePath().toUtf8().constData());
}

IniSettings::~IniSettings()
{
  save();
}

void IniSettings::save()
{
  if (!m_modified)
    return;
  // A failed write leaves the changes pending so that a later save (or the
  // destructor) tries again.
  if (m_store.write(filePath().toStdString()))
    m_modified = false;
}

template <typename T>
bool IniSettings::get(const char* key, T& out)
{
  const int id = m_store.findId(QString::fromUtf8(key), IniFile::Name::Key);
  if (!m_store.lastFound())
    return false;
  return m_store.valueOf(id, out);
}

bool IniSettings::getValue(const char* key, QString& out) { return get(key, out); }
bool IniSettings::getValue(const char* key, bool& out) { return get(key, out); }
bool IniSettings::getValue(const char* key, int& out) { return get(key, out); }
bool IniSettings::getValue(const char* key, double& out) { return get(key, out); }

bool IniSettings::getValue(const QString& key, char* buffer, std::size_t size)
{
  QString text;
  if (size == 0 || !get(key.toUtf8().constData(), text))
    return false;
  const QByteArray bytes = text.toUtf8();
  std::size_t length = std::min(static_cast<std::size_t>(bytes.size()), size - 1);
  // Never half a character: back off over continuation bytes.
  if (length < static_cast<std::size_t>(bytes.size()))
    while (length > 0 && (static_cast<unsigned char>(bytes[length]) & 0xC0) == 0x80)
      --length;
  std::memcpy(buffer, bytes.constData(), length);
  buffer[length] = '\0';
  return true;
}

int IniSettings::groupFor(const char* group)
{
  const QString name = QString::fromUtf8(group);
  const int id = m_store.findId(name, IniFile::Name::Set);
  return m_store.lastFound() ? id : m_store.addSet(name, 0);
}

void IniSettings::setValue(const char* group, const char* key, const QString& value)
{
  const int setId = groupFor(group);
  const QString name = QString::fromUtf8(key);
  const int id = m_store.findId(name, IniFile::Name::Key);
  if (m_store.lastFound())
    m_store.putString(value, id);
  else
    m_store.addString(name, value, setId);
  m_modified = true;
}

void IniSettings::setValue(const char* group, const char* key, const bool& value)
{
  const int setId = groupFor(group);
  const QString name = QString::fromUtf8(key);
  const int id = m_store.findId(name, IniFile::Name::Key);
  if (m_store.lastFound())
    m_store.putBool(value, id);
  else
    m_store.addBool(name, value, setId);
  m_modified = true;
}

void IniSettings::setValue(const char* group, const char* key, const int& value)
{
  const int setId = groupFor(group);
  const QString name = QString::fromUtf8(key);
  const int id = m_store.findId(name, IniFile::Name::Key);
  if (m_store.lastFound())
    m_store.putInt(value, id);
  else
    m_store.addInt(name, value, setId);
  m_modified = true;
}

void IniSettings::setValue(const char* group, const char* key, const double& value)
{
  const int setId = groupFor(group);
  const QString name = QString::fromUtf8(key);
  const int id = m_store.findId(name, IniFile::Name::Key);
  if (m_store.lastFound())
    m_store.putDouble(value, id);
  else
    m_store.addDouble(name, value, setId);
  m_modified = true;
}

void IniSettings::setValue(const char* group, const char* key, const char* value)
{
  setValue(group, key, QString::fromUtf8(value));
}
