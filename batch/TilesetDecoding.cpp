#include "batch/TilesetDecoding.h"

#include <QFileInfo>
#include <QImageReader>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

// In MiB of decoded pixels.
constexpr int kBudget = 256;

// A file of unknown size takes the whole budget: it may be of any size.
int shareOf(const QString& path)
{
  const QSize size = TilesetDecoding::headerSize(path);
  if (size.isEmpty())
    return kBudget;
  const qint64 bytes = qint64(size.width()) * size.height() * 4;
  return int(std::clamp<qint64>((bytes + (1 << 20) - 1) >> 20, 1, kBudget));
}

} // namespace

TilesetDecoding::TilesetDecoding(Decode decode, int ahead)
  : decode(std::move(decode)), ahead(size_t(std::max(1, ahead)))
{
}

TilesetDecoding::~TilesetDecoding() = default;

void TilesetDecoding::append(const QStringList& more)
{
  paths << more;
}

QSize TilesetDecoding::headerSize(const QString& path)
{
  if (!QFileInfo(path).isFile())
    return QSize();
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  return reader.size();
}

// Shares count until their picture is taken, so a task never waits for
// budget in the pool, where it would hold a thread, and the first path
// always has its turn.
void TilesetDecoding::launch()
{
  while (running.size() < ahead && running.size() < size_t(paths.size())) {
    const QString& path = paths[qsizetype(running.size())];
    // Kept while the path waits for budget: its header is read once.
    if (nextShare == 0)
      nextShare = shareOf(path);
    if (!running.empty() && inFlight + nextShare > kBudget)
      return;
    inFlight += nextShare;
    shares.push_back(nextShare);
    nextShare = 0;
    running.push_back(QtConcurrent::run(decode, path));
  }
}

QFuture<QImage> TilesetDecoding::head()
{
  launch();
  return running.front();
}

QImage TilesetDecoding::take()
{
  const QImage image = head().result();
  running.pop_front(); // the future's copy would keep the picture
  inFlight -= shares.front();
  shares.pop_front();
  paths.removeFirst();
  launch();
  return image;
}
