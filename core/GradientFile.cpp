#include "core/GradientFile.h"

#include "core/GradientSettings.h"
#include "core/PathUtils.h"
#include "core/SaveFile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kStopBytes = 12;
constexpr int kMaxStops = 32767; // the count is a signed 16-bit value

QString damaged(const QString& path)
{
  return richTextEscaped(path) + QStringLiteral(" est endommagé.<br />Il est impossible de l'ouvrir.");
}

} // namespace

std::optional<GradientFileData> loadGradientFile(const QString& path, QString& error)
{
  QFile file(path);
  if (isSpecialFile(path) || !file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Impossible d'ouvrir : ") + richTextEscaped(path);
    return std::nullopt;
  }
  const QByteArray head = file.read(5);
  if (head.isEmpty()) {
    error = damaged(path);
    return std::nullopt;
  }
  if (head[0] != 0) {
    error = richTextEscaped(path) + QStringLiteral(" a été enregistré avec une version de Sorvel Kit plus récente.");
    return std::nullopt;
  }
  const auto* h = reinterpret_cast<const uchar*>(head.constData());
  GradientFileData data;
  // A negative count or a type or spread the program has no case for would
  // reach the widgets as an impossible list or combo index.
  const int count = head.size() == 5 ? qFromLittleEndian<qint16>(h + 1) : -1;
  if (count < 0 || h[3] > 2 || h[4] > 2) {
    error = damaged(path);
    return std::nullopt;
  }
  data.type = h[3];
  data.spread = h[4];
  const int pointBytes = int(GradientSettings::geometrySizeFor(data.type));
  // The size is checked before anything is allocated for the stops.
  const qint64 needed = pointBytes + qint64(count) * kStopBytes;
  const QByteArray rest = file.bytesAvailable() >= needed ? file.read(needed) : QByteArray();
  if (rest.size() != needed) {
    error = damaged(path);
    return std::nullopt;
  }
  const auto* r = reinterpret_cast<const uchar*>(rest.constData());
  data.points.assign(r, r + pointBytes);
  data.stops.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i) {
    const uchar* s = r + pointBytes + i * kStopBytes;
    const quint64 bits = qFromLittleEndian<quint64>(s);
    double position;
    std::memcpy(&position, &bits, sizeof position);
    if (!std::isfinite(position)) {
      error = damaged(path);
      return std::nullopt;
    }
    data.stops.push_back({position, QColor(s[8], s[9], s[10], s[11])});
  }
  return data;
}

bool saveGradientFile(const QString& path, const GradientFileData& data, QString* reason)
{
  if (data.stops.size() > std::size_t(kMaxStops))
    return false;
  const std::size_t pointCount = GradientSettings::geometrySizeFor(data.type);
  QByteArray bytes;
  bytes.reserve(int(5 + pointCount + kStopBytes * data.stops.size()));
  const auto count = quint16(data.stops.size());
  bytes.append(char(0));
  bytes.append(char(count & 0xFF));
  bytes.append(char(count >> 8));
  bytes.append(char(data.type));
  bytes.append(char(data.spread));
  for (std::size_t i = 0; i < pointCount; ++i)
    bytes.append(char(i < data.points.size() ? std::clamp(data.points[i], 0, 255) : 0));
  for (const GradientData& stop : data.stops) {
    quint64 bits;
    std::memcpy(&bits, &stop.position, sizeof bits);
    uchar le[8];
    qToLittleEndian(bits, le);
    bytes.append(reinterpret_cast<const char*>(le), 8);
    bytes.append(char(stop.color.red()));
    bytes.append(char(stop.color.green()));
    bytes.append(char(stop.color.blue()));
    bytes.append(char(stop.color.alpha()));
  }
  return saveWholeFile(path, bytes, reason);
}
