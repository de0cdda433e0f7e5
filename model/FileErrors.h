#pragma once
#include "core/PathUtils.h"

#include <QString>

#include <string>

class QFileDevice;

// The French messages of the file readers and writers. They are rich text
// (lines break at "<br />"), so each quotes the path escaped for it: a "<" in
// a name shows as itself, and so do its runs of spaces.

// The path as it reads inside such a message.
std::string escapedPath(const std::string& path);

// What the readers say of a path they cannot open, a special file
// (isSpecialFile) among them.
std::string cannotOpenMessage(const std::string& path);

// Why a file did not open: the first part depends on the failure, then the
// path, then ".". Linux reports a refused permission as a plain open error, so
// the permission texts are chosen from the file's and folder's access rights:
// reading, the file exists but is not readable; writing, the file exists and
// is not writable, or its folder is not writable.
std::string openErrorMessage(const QFileDevice& file, bool writing, const std::string& path);

// Whether the access rights refuse the file: reading, it exists and is not
// readable; writing, it exists and is not writable, or its folder is not.
bool permissionRefused(const QString& path, bool writing);

// A file that opened but could not be written or committed, or a document the
// format cannot hold.
std::string saveErrorMessage(const std::string& path);

// Why a document is not written: a cell wider or taller than the readers
// accept, the cells together too large for them, or another content the
// format cannot hold.
QString cellSideReason();
// The same bound, for a picture that would be a sheet.
QString sheetSideReason();
QString cellBudgetReason();
QString formatReason();
// A name or source, text, holding character, which the older project layout
// has no byte for.
QString latin1Reason(const QString& character, const QString& text);

// A file whose content cannot be read back.
std::string damagedFileMessage(const std::string& path);
