#pragma once
// The browsing rules that the library windows share. A window keeps two
// texts: the base (empty, or the program's folder and "/") and the current
// folder relative to it, which always begins with "elements/" and ends in
// "/"; the folder on disk is base + current.
#include <QImage>
#include <QString>

#include <functional>

// The library's base: empty when "elements/XP" and "elements/VX" both stand
// in the current folder, else the program's folder followed by "/".
QString libraryBasePath();

// The folder above currentPath, cut after its last "/" (the first
// character never counts), never above "elements/".
QString libraryParentPath(const QString& currentPath);
inline bool isLibraryRoot(const QString& currentPath) { return currentPath == QLatin1String("elements/"); }

// The "Dossier actuel : " line of a folder: the path without "elements/",
// shortened to its layout folder, ".../" and its last folder when the whole
// line, measured in the default font, is wider than referenceWidth less 30
// pixels. The tool tip always shows the whole path without "elements/", as
// it is.
struct FolderLine
{
  QString text;
  QString toolTip;
};
FolderLine libraryFolderLine(const QString& currentPath, int referenceWidth);

// The picture of a file: an element file (".elsk", any case) flattened, any
// other file read as an image. Null when the file does not read or is not a
// regular file. Safe off the GUI thread; a caller that no longer needs the
// picture makes superseded() true, and then gets a null one sooner.
QImage libraryFilePicture(const QString& path, const std::function<bool()>& superseded = {});
// The picture of a folder: that of its first "*.png" or "*.elsk" file that
// pictures, in name order ignoring case. Null when none does.
QImage libraryFolderPicture(const QString& path, const std::function<bool()>& superseded = {});
