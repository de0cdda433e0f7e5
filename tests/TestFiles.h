#pragma once
// Whole-file reads and writes for tests that check bytes on disk.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

inline QByteArray readAll(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  QCOMPARE(f.write(bytes), qint64(bytes.size()));
}
