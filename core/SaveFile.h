#pragma once
class QByteArray;
class QImage;
class QSaveFile;
class QString;

// Each writer below can tell why it failed: given a reason, it receives the
// save file's own error text.

// Why writing into file failed. A write cut short by a full disk leaves the
// device without an error text of its own while the system's is still in
// errno: the caller clears errno before writing, and the system's text wins.
QString writeReason(const QSaveFile& file);

// Flushes and commits a save file. Small files sit in the device's buffer
// until close, where a failed write would otherwise go unnoticed and a short
// file replace the old one: the flush is checked before the commit, and the
// save is cancelled on failure so the old file stays as it was.
bool commitSaveFile(QSaveFile& file, QString* reason = nullptr);

// Writes the image as a PNG file through a save file: on any failure the old
// file at path stays as it was.
bool savePngFile(const QImage& image, const QString& path, QString* reason = nullptr);

// Writes bytes as the whole new content of path through a save file, with the
// same guarantee: false on any failure, and the old file left as it was.
bool saveWholeFile(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// The detailed text of a failed save shown to the user: the path, then why.
QString saveFailureDetail(const QString& path, const QString& reason);
