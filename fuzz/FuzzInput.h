#pragma once
// The readers take paths: each input is written to a file of its own in
// memory-backed storage. With SK_FUZZ_SEEDS set, the target writes its seed
// corpus (valid files built in code) into that folder and exits.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>

namespace fuzz {

inline std::string inputPath(const char* suffix)
{
  static const std::string path = [&] {
    const char* shm = QDir("/dev/shm").exists() ? "/dev/shm" : "/tmp";
    return std::string(shm) + "/skfuzz-" + std::to_string(getpid()) + suffix;
  }();
  return path;
}

inline bool writeInput(const std::string& path, const uint8_t* data, size_t size)
{
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  return f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

// Calls make(folder) when SK_FUZZ_SEEDS names a folder, then exits.
inline void writeSeedsIfAsked(const std::function<void(const QString&)>& make)
{
  const char* dir = std::getenv("SK_FUZZ_SEEDS");
  if (!dir || !*dir)
    return;
  QDir().mkpath(QString::fromLocal8Bit(dir));
  make(QString::fromLocal8Bit(dir));
  std::exit(0);
}

} // namespace fuzz
