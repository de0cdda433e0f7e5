#pragma once
// Decodes tileset files on the thread pool in list order, a few ahead of the
// one taken and about 256 MiB of decoded pixels at a time (by the sizes the
// headers give), so that a long list of large tilesets never sits in memory
// at full size. Each task reduces its picture (to the merged columns, to a
// thumbnail), and only the reduced picture waits to be taken.

#include <QFuture>
#include <QImage>
#include <QSize>
#include <QStringList>

#include <deque>
#include <functional>

class TilesetDecoding
{
public:
  // decode runs in the pool: reads the file and returns the reduced
  // picture, null when the file does not read.
  using Decode = std::function<QImage(const QString& path)>;

  // At most ahead tasks are started and not yet taken.
  TilesetDecoding(Decode decode, int ahead);
  // Tasks still running finish in the pool; their pictures are dropped.
  ~TilesetDecoding();

  void append(const QStringList& paths);
  QString headPath() const { return paths.first(); }
  // The first path's task, started with the ones the bounds allow after it.
  QFuture<QImage> head();
  // Waits for the first path's picture and moves on to the next path.
  QImage take();

  // The size the file's header gives, read without decoding; invalid when
  // the header does not read or the path is not a regular file (a pipe
  // would give its bytes to the header and none to the decoding).
  static QSize headerSize(const QString& path);

private:
  void launch();

  Decode decode;
  size_t ahead;
  QStringList paths;
  // The started tasks of the first paths, in order, and their shares of
  // the budget, in MiB of decoded pixels.
  std::deque<QFuture<QImage>> running;
  std::deque<int> shares;
  int inFlight = 0;
  int nextShare = 0; // of the first path not started, once known; shares are at least 1
};
