#pragma once
#include <QString>

// File-path parts, working on the text alone: "/" and "\" both separate
// folders, "." marks the extension, and the last one found counts. The last
// two ask the file system.

// The text before the last separator; empty when there is none.
QString pathDirectory(const QString& path);
// The text after the last separator; the whole text when there is none.
QString pathFileName(const QString& path);
// The file name without the text from its last "." on.
QString pathBaseName(const QString& path);
// The text after the last "." of the whole path (separators do not stop the
// search); the whole text when there is no ".".
QString pathExtension(const QString& path);
// Whether pathExtension(path) equals ext, ignoring case.
bool hasExtension(const QString& path, const QString& ext);
// Appends "." and ext unless the path already has that extension.
void ensureExtension(QString& path, const QString& ext);
// False when the name holds a character that a file name may not hold:
// \ / * | < > : ? "
bool isValidFileName(const QString& name);
// A path as the path lists ("recentFiles", "opened") store it: made absolute
// from the current folder, folders separated by "/" (a "\" is rewritten only
// where the platform separates folders with it). Empty when the path holds
// "|", which separates the entries.
QString listedPath(const QString& path);
// A name or a path as it reads inside rich text: escaped, and each space that
// the rich text would fold into the one before it (a space after a space, or
// the first character, which follows the message's own space) or drop at the
// end of a line (the last character) kept as a non-breaking one. A name with
// no such space reads exactly as QString::toHtmlEscaped gives it.
QString richTextEscaped(const QString& text);
// A name as a menu entry or a tab title shows it whole: each "&" doubled, so
// that the toolkit does not take the letter after it for a shortcut.
QString mnemonicEscaped(const QString& text);
// A name as a sub-window's title shows it whole in its tab: mnemonicEscaped,
// and each "[*]" doubled, which the toolkit would otherwise take for the
// place of its modified mark and drop.
QString windowTitleEscaped(const QString& text);
// Whether path names something that exists but is not a regular file: a
// folder, a device, a FIFO or a socket, directly or through a link. Opening a
// FIFO waits for a writer and a device may never end, so every reader of a
// user's path asks this before it opens anything, and refuses such a path as
// a file it cannot open.
bool isSpecialFile(const QString& path);
