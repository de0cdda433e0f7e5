#pragma once
// Conversion of character sheet files between the 2003, XP and VX layouts.
// A character is a grid of poses: a column is an animation step, a row a
// facing direction. 2003 characters have 3 columns (rows up, right, down,
// left), XP ones 4 and VX ones 3 (rows down, left, right, up). A file of eight
// characters holds them in two rows of four blocks.

#include <QImage>
#include <QStringList>
#include <QThread>

#include <vector>

// One unsigned byte: 0 to 5 are the entries of the wizard's direction list,
// 6 empties the 2003 sheet accumulator.
enum ConversionDirection : quint8 {
  From2003ToXp = 0,
  From2003ToVx = 1,
  FromXpTo2003 = 2,
  FromXpToVx = 3,
  FromVxTo2003 = 4,
  FromVxToXp = 5,
  ResetSheets = 6
};

// "XP_CONVERSIONS", "VX_CONVERSIONS" or "2K3_CONVERSIONS": the sub-folder,
// beside each input, that receives the outputs of a direction.
QString conversionSubFolder(quint8 direction);

// The input image decoded as its content says, whatever its name, in
// Format_ARGB32; null when it does not load.
QImage loadConversionInput(const QString& path);

// The 2003 sheet that single characters are gathered into, eight per sheet,
// across calls. The sheet stays in memory so that a character is never lost
// to a failed read back.
struct SheetAccumulator
{
  quint8 lastDirection = ResetSheets; // direction of the last placed character
  quint8 placedCount = 0;             // characters in the current sheet, 0 to 8
  QString sheetPath;                  // file of the current sheet
  QImage sheet;                       // its pixels so far
};

// One output file to write.
struct ConvertedFile
{
  QString path;
  QImage image; // null when the frames came out empty: never written
};

class Converter : public QThread
{
  Q_OBJECT

public:
  // Nothing runs until the caller starts the thread.
  Converter(QStringList files, quint8 sourceKind, quint8 direction, QObject* parent = nullptr,
            quint8 characterCount = 0);

  // Converts one file and writes its outputs beside it, in the direction's
  // sub-folder (which must exist). False only when the file does not load;
  // outputs that cannot be written are listed in unwritten(). Direction 6
  // empties the sheet accumulator and touches no file.
  bool convertCharacter(const QString& path, quint8 direction);

  // The pixel of src at (sx + x, sy + y) goes to dst at (dx + x, dy + y) for
  // the w x h block, unchanged except that alpha 0 becomes 0x00000000. Source
  // points outside src read as transparent; destination points outside dst
  // are dropped.
  static void copyBlock(QImage& dst, const QImage& src, uint dx, uint dy, uint sx, uint sy, uint w, uint h);
  // The same walk, flattened for the 2003 layout: alpha 0 gives the key
  // colour, a genuine key-colour pixel the substitute colour, any other pixel
  // its own colour, always opaque.
  static void copyBlockKeyed(QImage& dst, const QImage& src, uint dx, uint dy, uint sx, uint sy, uint w,
                             uint h);
  // An opaque Format_RGB32 image whose pixels are the grey (a, a, a) of the
  // source's alpha.
  static QImage alphaMask(const QImage& src);

  // Path parts with "/" and "\" as separators. Unlike the core helper,
  // pathDirectory answers the whole path when it holds no separator.
  static QString pathDirectory(const QString& path);
  static QString pathFileName(const QString& path);
  static QString pathBaseName(const QString& path);
  // A "$" first or second in the file name: a VX file of one character.
  static bool hasSingleCharacterMark(const QString& path);

  // The outputs of one decoded input (image in Format_ARGB32), in the order
  // they are written, moving the sheet accumulator along; creates nothing on
  // disk.
  std::vector<ConvertedFile> convertImage(const QString& path, const QImage& image, quint8 direction);

  const QStringList& files() const { return m_files; }
  quint8 sourceKind() const { return m_sourceKind; }
  quint8 direction() const { return m_direction; }
  quint8 characterCount() const { return m_characterCount; }
  const QStringList& createdSheets() const { return m_createdSheets; }
  const QStringList& failedFiles() const { return m_failedFiles; }
  // Outputs that could not be written, in order.
  const QStringList& unwritten() const { return m_unwrittenFiles; }
  const SheetAccumulator& sheetAccumulator() const { return m_sheets; }

private:
  bool singleCharacter(const QString& path) const;
  void placeInSheet(const QString& path, const QImage& scaled, quint8 direction,
                    std::vector<ConvertedFile>& out);
  // Writes a PNG through a save file; a failure lands in m_unwrittenFiles.
  void writeConverted(const ConvertedFile& file);
  void writeEncoded(const QString& path, const QByteArray& png, bool encoded);

  QStringList m_files;
  quint8 m_sourceKind;
  quint8 m_direction;
  quint8 m_characterCount;
  QStringList m_createdSheets;
  QStringList m_failedFiles;
  QStringList m_unwrittenFiles;
  SheetAccumulator m_sheets;
};
