#pragma once
// Whole-file reads and writes for tests that check bytes on disk.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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

// Runs job with the process's file-size limit set to bytes, so that writes
// beyond it fail (with SIGXFSZ ignored) as on a full disk; the limit is
// restored afterwards. Works as root, where permission bits stop nothing.
template <class Job>
void withFileSizeLimit(rlim_t bytes, Job job)
{
  struct rlimit saved;
  QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
  void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = bytes;
  QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
  job();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
}

// A pipe at path: whatever opens it to read waits for a writer, which never
// comes, so a reader that does not refuse it hangs the test.
inline bool makePipe(const QString& path)
{
  return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}
