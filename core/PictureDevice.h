#pragma once
// The bytes of a picture as the toolkit's reader is given them. That reader
// lays out the pixels of a 16-bit RGB PNG whose transparency chunk names a
// key colour as if they were 8-byte ones: the channels rotate and alpha comes
// from the next pixel. Such a chunk is shown to it under a private name, with
// its checksum made anew and every offset kept, so that the pixels decode
// whole and without the key; key() gives the key for the caller to apply.
// Reads fail once stop() turns true, so that a picture no longer wanted stops
// decoding at its reader's next read.
#include <QBuffer>
#include <QIODevice>
#include <QRgba64>

#include <functional>
#include <optional>
#include <vector>

class PictureDevice : public QIODevice
{
public:
  // source stays open for reading and outlives this device; a sequential
  // one is read whole on opening.
  PictureDevice(QIODevice& source, std::function<bool()> stop);

  // Opens for reading, unbuffered so that every read comes through here.
  bool open(OpenMode mode) override;
  qint64 size() const override;

  // The key of a 16-bit RGB PNG with a sound one before its image data,
  // opaque, as the reader decodes that colour; none for any other picture.
  const std::optional<QRgba64>& key() const { return m_key; }

protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

private:
  void findKey();

  // Bytes shown in place of the source's, from at on.
  struct Patch
  {
    qint64 at;
    QByteArray bytes;
  };

  QIODevice* m_source;
  QBuffer m_whole;
  std::function<bool()> m_stop;
  std::vector<Patch> m_patches;
  std::optional<QRgba64> m_key;
};
