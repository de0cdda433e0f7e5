#include "core/PictureDevice.h"

#include "core/PngChunkHead.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

// Ancillary, private and safe to copy: every reader skips it.
const char kHiddenKeyType[4] = {'s', 'k', 'E', 'y'};

quint32 crcOf(const char* bytes, qsizetype n)
{
  return quint32(crc32(0, reinterpret_cast<const Bytef*>(bytes), uInt(n)));
}

} // namespace

PictureDevice::PictureDevice(QIODevice& source, std::function<bool()> stop)
  : m_source(&source), m_stop(std::move(stop))
{
}

bool PictureDevice::open(OpenMode mode)
{
  if ((mode & WriteOnly) || !m_source->isReadable())
    return false;
  if (m_source->isSequential()) {
    m_whole.setData(m_source->readAll());
    m_whole.open(ReadOnly);
    m_source = &m_whole;
  }
  findKey();
  return QIODevice::open(mode | Unbuffered);
}

qint64 PictureDevice::size() const
{
  return m_source->size();
}

// Only the transparency chunks that the decoder would take are hidden: those
// of the key's length, with a sound checksum, before the image data. The
// first gives the key, as the decoder takes the first.
void PictureDevice::findKey()
{
  char start[33];
  if (!m_source->seek(0) || m_source->read(start, 33) != 33 || std::memcmp(start, kPngSignature, 8) != 0 ||
      std::memcmp(start + 8, "\0\0\0\x0dIHDR", 8) != 0 || start[24] != 16 || start[25] != 2)
    return;
  const qint64 end = m_source->size();
  for (qint64 at = 33; end - at >= 12;) {
    char chunk[18];
    if (!m_source->seek(at) || m_source->read(chunk, 8) != 8)
      return;
    const PngChunkHead head = PngChunkHead::at(chunk);
    if (!head.valid || head.is("IDAT") || head.is("IEND"))
      return;
    if (head.length == 6 && head.is("tRNS") && m_source->read(chunk + 8, 10) == 10 &&
        crcOf(chunk + 4, 10) == qFromBigEndian<quint32>(chunk + 14)) {
      if (!m_key)
        m_key = QRgba64::fromRgba64(qFromBigEndian<quint16>(chunk + 8), qFromBigEndian<quint16>(chunk + 10),
                                    qFromBigEndian<quint16>(chunk + 12), 0xffff);
      std::memcpy(chunk + 4, kHiddenKeyType, 4);
      qToBigEndian(crcOf(chunk + 4, 10), chunk + 14);
      m_patches.push_back({at + 4, QByteArray(chunk + 4, 14)});
    }
    at += 12 + qint64(head.length);
  }
}

qint64 PictureDevice::readData(char* data, qint64 maxSize)
{
  if (m_stop && m_stop())
    return -1;
  const qint64 at = pos();
  if (m_source->pos() != at && !m_source->seek(at))
    return -1;
  const qint64 n = m_source->read(data, maxSize);
  for (const Patch& patch : m_patches) {
    const qint64 from = std::max(at, patch.at), to = std::min(at + n, patch.at + patch.bytes.size());
    if (from < to)
      std::memcpy(data + (from - at), patch.bytes.constData() + (from - patch.at), size_t(to - from));
  }
  return n;
}
