#pragma once
// Conversion of character sheet files between the 2003, XP and VX layouts.
// A character is a grid of poses: a column is an animation step, a row a
// facing direction. 2003 characters have 3 columns (rows up, right, down,
// left), XP ones 4 and VX ones 3 (rows down, left, right, up). A file of eight
// characters holds them in two rows of four blocks.

#include <QHash>
#include <QImage>
#include <QStringList>
#include <QThread>

#include <functional>
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
// The folder outputs of the input at path go to, with a trailing "/".
QString conversionOutputPrefix(const QString& path, quint8 direction);
// The folder of a conversion: the one chosen (sourceKind 0) or that of the
// first chosen file; empty for an empty list.
QString conversionFolder(const QStringList& files, quint8 sourceKind);
// The files a conversion works through, in order: the chosen files, or the
// PNG and GIF files of the chosen folder (no hidden ones), sorted by name
// ignoring case.
QStringList conversionInputs(const QStringList& files, quint8 sourceKind);
// Whether a VX input holds one character: by the answer to the count
// question (1 one, 2 eight) or, for 0, by the mark in its name.
bool isSingleVxCharacter(const QString& path, int characterCount);

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

// The worker of one conversion run: files holds the chosen files, or the
// chosen folder when sourceKind is 0. It gets copies of everything and
// reports only through its signals.
class Converter : public QThread
{
  Q_OBJECT

public:
  // Nothing runs until the caller starts the thread.
  Converter(QStringList files, quint8 sourceKind, quint8 direction, QObject* parent = nullptr,
            quint8 characterCount = 0);
  // Waits for a running conversion: a thread destroyed while it runs would
  // abort the program.
  ~Converter() override;

  // Converts one file and writes its outputs beside it, in the direction's
  // sub-folder (which must exist). False only when the file does not load;
  // outputs whose last write failed are listed in unwritten(). Direction 6
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
  // Outputs whose last write failed, in the order of their first failure.
  const QStringList& unwritten() const { return m_unwrittenFiles; }
  const SheetAccumulator& sheetAccumulator() const { return m_sheets; }

  // Tests only: called on the thread pool before a run reads each input, so
  // that a test can hold a run at the input of its choice.
  static std::function<void(const QString& path)> inputHook;

signals:
  // Before each input (value below 100) and before each 2003 sheet is
  // brought to 256 colours (80 and above).
  void changeProgress(uint value, QString info);
  // The end of a run that found its folder: the inputs that did not load and
  // the output folder.
  void finishThread(QStringList info, QString infoDir);
  // Just before finishThread, when some outputs could not be written.
  void unwrittenFiles(QStringList files);
  // Instead of everything else, when the folder cannot be opened.
  void fatalError(QString info);

protected:
  void run() override;

private:
  void placeInSheet(const QString& path, const QImage& scaled, quint8 direction,
                    std::vector<ConvertedFile>& out);
  void keepSheet(const QString& path, const QImage& sheet);
  void noteWrite(const QString& path, bool ok);
  void convertInputs(const QStringList& inputs, bool to2003);
  void resaveSheets();

  QStringList m_files;
  quint8 m_sourceKind;
  quint8 m_direction;
  quint8 m_characterCount;
  QStringList m_createdSheets;
  QStringList m_failedFiles;
  QStringList m_unwrittenFiles;
  SheetAccumulator m_sheets;
  // The last state of every created sheet, for its 256-colour re-save.
  QHash<QString, QImage> m_sheetImages;
};
