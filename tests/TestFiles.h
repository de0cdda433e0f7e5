#pragma once
// Whole-file reads and writes for tests that check bytes on disk.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

// A pipe made at path whose writer hands bytes to every reader that opens it,
// until the pipe goes: a reader that waits on a pipe reads a whole file late
// instead of hanging the test, and one that refuses the pipe is never fed.
class FedPipe
{
public:
  FedPipe(const QString& path, const QByteArray& bytes)
  {
    QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    writer = std::thread([this, name = QFile::encodeName(path), bytes] {
      for (; !done; std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
        if (const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
          (void)!::write(fd, bytes.constData(), size_t(bytes.size()));
          ::close(fd);
        }
      }
    });
  }
  ~FedPipe()
  {
    done = true;
    if (writer.joinable())
      writer.join();
  }

private:
  std::atomic<bool> done{false};
  std::thread writer;
};
