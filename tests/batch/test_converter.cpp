#include "tests/TestMain.h"

#include "batch/Converter.h"
#include "tests/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrent>

namespace {

// Every pixel tells where it came from: x in bits 12-23, y in bits 0-11; the
// alpha varies (never 0) unless the image is opaque.
QRgb code(int x, int y, bool opaque) { return quint32(opaque ? 255 : 1 + (x * 7 + y) % 255) << 24 | x << 12 | y; }

QImage coded(int w, int h, bool opaque = true)
{
  QImage image(w, h, QImage::Format_ARGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y, code(x, y, opaque));
  return image;
}

QImage filled(int w, int h, QRgb word)
{
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(word);
  return image;
}

QImage load(const QString& path) { return QImage(path).convertToFormat(QImage::Format_ARGB32); }

// The output's w x h block at (ox, oy) holds the source block at (sx, sy),
// made opaque when the target layout is 2003.
bool sameBlock(const QImage& out, int ox, int oy, const QImage& src, int sx, int sy, int w, int h, bool opaque)
{
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QRgb want = src.pixel(sx + x, sy + y) | (opaque ? 0xFF000000u : 0u);
      if (out.pixel(ox + x, oy + y) != want) {
        qWarning("(%d, %d): %08x, expected %08x", ox + x, oy + y, out.pixel(ox + x, oy + y), want);
        return false;
      }
    }
  return true;
}

bool uniformBlock(const QImage& out, int ox, int oy, int w, int h, QRgb word)
{
  return sameBlock(out, ox, oy, filled(w, h, word), 0, 0, w, h, false);
}

struct Folder
{
  QTemporaryDir dir;
  explicit Folder(quint8 direction, bool withSubFolder = true)
  {
    if (withSubFolder)
      QDir(dir.path()).mkdir(conversionSubFolder(direction));
  }
  QString input(const QString& name, const QImage& image) const
  {
    const QString path = dir.path() + "/" + name;
    image.save(path, "PNG");
    return path;
  }
  QString output(quint8 direction, const QString& name) const
  {
    return dir.path() + "/" + conversionSubFolder(direction) + "/" + name;
  }
};

int warnings = 0;
void countWarnings(QtMsgType, const QMessageLogContext&, const QString&) { ++warnings; }

// Everything a worker reports, in the order it was emitted.
QStringList runAndLog(Converter& worker)
{
  QStringList log;
  QObject::connect(&worker, &Converter::changeProgress, &worker,
                   [&](uint value, const QString& info) { log << QString::number(value) + " " + info; },
                   Qt::DirectConnection);
  QObject::connect(&worker, &Converter::unwrittenFiles, &worker,
                   [&](const QStringList& files) { log << "unwritten " + files.join(", "); }, Qt::DirectConnection);
  QObject::connect(&worker, &Converter::finishThread, &worker,
                   [&](const QStringList& failed, const QString& dir) { log << "end [" + failed.join(", ") + "] " + dir; },
                   Qt::DirectConnection);
  QObject::connect(&worker, &Converter::fatalError, &worker, [&](const QString& info) { log << "fatal " + info; },
                   Qt::DirectConnection);
  worker.start();
  worker.wait();
  return log;
}

const QList<int> kSingle = {0};
const QList<int> kEight = {0, 1, 2, 3, 4, 5, 6, 7};

} // namespace

class TestConverter : public QObject
{
  Q_OBJECT

private slots:
  void frameMaps_data();
  void frameMaps();
  void strips_data();
  void strips();
  void pixelValues_data();
  void pixelValues();
  void sheetAccumulation();
  void vxSinglesAndSheets();
  void pathParts_data();
  void pathParts();
  void failures();
  void shortAndDegenerateInputsNeverWarn_data();
  void shortAndDegenerateInputsNeverWarn();
  void workersKeepTheirOwnSheets();

  void folderRun();
  void sheetsComeOutIn256Colours();
  void richSheetKeepsItsKeyColour();
  void folderMissingOrEmpty_data();
  void folderMissingOrEmpty();
  void unwritableOutputs();
  void deletingTheParentWaitsForTheRun();
};

void TestConverter::frameMaps_data()
{
  QTest::addColumn<int>("direction");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QStringList>("outputs");
  QTest::addColumn<QSize>("outSize");
  QTest::addColumn<QList<int>>("blocks"); // source character of each output
  QTest::addColumn<QSize>("frame");
  QTest::addColumn<QList<int>>("columns");
  QTest::addColumn<QList<int>>("rows");
  QStringList split;
  for (int n = 1; n <= 8; ++n)
    split << "B_" + QString::number(n) + ".png";
  QTest::newRow("2003 single to XP") << 0 << "B.png" << QSize(72, 128) << QStringList{"B.png"} << QSize(96, 128) << kSingle
                                     << QSize(24, 32) << QList<int>{1, 0, 1, 2} << QList<int>{2, 3, 1, 0};
  QTest::newRow("2003 eight to XP") << 0 << "B.png" << QSize(288, 256) << split << QSize(96, 128) << kEight << QSize(24, 32)
                                    << QList<int>{1, 0, 1, 2} << QList<int>{2, 3, 1, 0};
  QTest::newRow("XP to 2003") << 2 << "B.png" << QSize(96, 128) << QStringList{"B.png"} << QSize(288, 256) << kSingle
                              << QSize(24, 32) << QList<int>{1, 0, 3} << QList<int>{3, 2, 0, 1};
  QTest::newRow("XP to VX") << 3 << "B.png" << QSize(100, 136) << QStringList{"$B.png"} << QSize(75, 136) << kSingle
                            << QSize(25, 34) << QList<int>{1, 0, 3} << QList<int>{0, 1, 2, 3};
  QTest::newRow("VX single to 2003") << 4 << "$B.png" << QSize(72, 128) << QStringList{"$B.png"} << QSize(288, 256) << kSingle
                                     << QSize(24, 32) << QList<int>{0, 1, 2} << QList<int>{3, 2, 0, 1};
  QTest::newRow("VX eight to 2003") << 4 << "B.gif" << QSize(288, 256) << QStringList{"B.gif"} << QSize(288, 256) << QList<int>{}
                                    << QSize(24, 32) << QList<int>{0, 1, 2} << QList<int>{3, 2, 0, 1};
  QTest::newRow("VX single to XP") << 5 << "x$B.png" << QSize(75, 140) << QStringList{"x$B.png"} << QSize(100, 140) << kSingle
                                   << QSize(25, 35) << QList<int>{1, 0, 1, 2} << QList<int>{0, 1, 2, 3};
  QTest::newRow("VX eight to XP") << 5 << "B.png" << QSize(288, 256) << split << QSize(96, 128) << kEight << QSize(24, 32)
                                  << QList<int>{1, 0, 1, 2} << QList<int>{0, 1, 2, 3};
}

void TestConverter::frameMaps()
{
  QFETCH(int, direction);
  QFETCH(QString, name);
  QFETCH(QSize, size);
  QFETCH(QStringList, outputs);
  QFETCH(QSize, outSize);
  QFETCH(QList<int>, blocks);
  QFETCH(QSize, frame);
  QFETCH(QList<int>, columns);
  QFETCH(QList<int>, rows);
  const bool to2003 = direction == 2 || direction == 4;
  const QImage src = coded(size.width(), size.height(), to2003);
  Folder folder(direction);
  Converter worker({}, 1, direction);
  QVERIFY(worker.convertCharacter(folder.input(name, src), direction));
  QVERIFY(worker.unwritten().isEmpty());
  const int fw = frame.width(), fh = frame.height();
  for (int i = 0; i < outputs.size(); ++i) {
    const QImage out = load(folder.output(direction, outputs[i]));
    QCOMPARE(out.size(), outSize);
    // An eight-character file into 2003 keeps each character in its own block.
    const QList<int> characters = blocks.isEmpty() ? kEight : QList<int>{blocks[i]};
    for (int k : characters) {
      const int bx = (k % 4) * 3 * fw, by = k < 4 ? 0 : 4 * fh;
      const int tx = blocks.isEmpty() ? bx : 0, ty = blocks.isEmpty() ? by : 0;
      for (int r = 0; r < 4; ++r)
        for (int c = 0; c < columns.size(); ++c)
          QVERIFY2(sameBlock(out, tx + c * fw, ty + r * fh, src, bx + columns[c] * fw, by + rows[r] * fh, fw, fh,
                             to2003),
                   qPrintable(outputs[i]));
    }
  }
}

void TestConverter::strips_data()
{
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QString>("output");
  QTest::addColumn<int>("stripHeight");
  QTest::addColumn<QList<int>>("strips");
  QTest::newRow("single, taller") << QSize(72, 150) << "$B.png" << 32 << QList<int>{2, 3, 1, 0};
  QTest::newRow("eight, height not a multiple of 8") << QSize(300, 263) << "B.png" << 32
                                                       << QList<int>{2, 3, 1, 0, 6, 7, 5, 4};
}

// 2003 to VX: rows move as full-width strips; rows no strip reaches stay white.
void TestConverter::strips()
{
  QFETCH(QSize, size);
  QFETCH(QString, output);
  QFETCH(int, stripHeight);
  QFETCH(QList<int>, strips);
  const QImage src = coded(size.width(), size.height(), false);
  Folder folder(1);
  Converter worker({}, 1, 1);
  QVERIFY(worker.convertCharacter(folder.input("B.png", src), 1));
  const QImage out = load(folder.output(1, output));
  QCOMPARE(out.size(), size);
  for (int r = 0; r < strips.size(); ++r)
    QVERIFY(sameBlock(out, 0, r * stripHeight, src, 0, strips[r] * stripHeight, size.width(), stripHeight, false));
  const int covered = strips.size() * stripHeight;
  QVERIFY(uniformBlock(out, 0, covered, size.width(), size.height() - covered, 0xFFFFFFFFu));
}

void TestConverter::pixelValues_data()
{
  QTest::addColumn<int>("direction");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QString>("output");
  QTest::addColumn<QRgb>("pixel");
  QTest::addColumn<QRgb>("expected");
  QTest::newRow("2003 to XP, translucent") << 0 << QSize(72, 128) << "a.png" << 0x80C80A0Au << 0x80C80A0Au;
  QTest::newRow("2003 to XP, alpha 0") << 0 << QSize(72, 128) << "a.png" << 0x00123456u << 0x00000000u;
  QTest::newRow("2003 to VX, alpha 0") << 1 << QSize(288, 256) << "a.png" << 0x00123456u << 0x00000000u;
  QTest::newRow("XP to VX, translucent") << 3 << QSize(96, 128) << "$a.png" << 0x80FF0000u << 0x80FF0000u;
  QTest::newRow("VX to XP, translucent") << 5 << QSize(72, 128) << "a.png" << 0x80FF0000u << 0x80FF0000u;
  QTest::newRow("XP to 2003, alpha 0") << 2 << QSize(96, 128) << "a.png" << 0x00123456u << 0xFF209C00u;
  QTest::newRow("XP to 2003, key colour") << 2 << QSize(96, 128) << "a.png" << 0xFF209C00u << 0xFF209C01u;
  QTest::newRow("XP to 2003, translucent") << 2 << QSize(96, 128) << "a.png" << 0x80FF0000u << 0xFFFF0000u;
}

void TestConverter::pixelValues()
{
  QFETCH(int, direction);
  QFETCH(QSize, size);
  QFETCH(QString, output);
  QFETCH(QRgb, pixel);
  QFETCH(QRgb, expected);
  Folder folder(direction);
  Converter worker({}, 1, direction, nullptr, 1);
  QVERIFY(worker.convertCharacter(folder.input("a.png", filled(size.width(), size.height(), pixel)), direction));
  QCOMPARE(load(folder.output(direction, output)).pixel(0, 0), expected);
}

void TestConverter::sheetAccumulation()
{
  Folder folder(2);
  Converter worker({}, 1, 2);
  for (int i = 0; i < 10; ++i)
    worker.convertCharacter(folder.input(QString(QChar('a' + i)) + ".png", filled(96, 128, 0xFF000010u + i)), 2);
  QCOMPARE(worker.createdSheets(), QStringList({folder.output(2, "a.png"), folder.output(2, "i.png")}));
  const QImage first = load(folder.output(2, "a.png")), second = load(folder.output(2, "i.png"));
  for (int slot = 0; slot < 8; ++slot) {
    const int x = (slot % 4) * 72, y = slot < 4 ? 0 : 128;
    QVERIFY(uniformBlock(first, x, y, 72, 128, 0xFF000010u + slot));
    QVERIFY(uniformBlock(second, x, y, 72, 128, slot < 2 ? 0xFF000018u + slot : 0xFF209C00u));
  }
}

void TestConverter::vxSinglesAndSheets()
{
  Folder folder(4);
  Converter worker({}, 1, 4, nullptr, 0);
  worker.convertCharacter(folder.input("$a.png", filled(72, 128, 0xFF0000AAu)), 4);
  worker.convertCharacter(folder.input("b.png", filled(288, 256, 0xFF0000BBu)), 4);
  worker.convertCharacter(folder.input("$c.png", filled(72, 128, 0xFF0000CCu)), 4);
  QCOMPARE(worker.createdSheets(), QStringList({folder.output(4, "$a.png"), folder.output(4, "b.png")}));
  const QImage sheet = load(folder.output(4, "$a.png"));
  QVERIFY(uniformBlock(sheet, 0, 0, 72, 128, 0xFF0000AAu));
  QVERIFY(uniformBlock(sheet, 72, 0, 72, 128, 0xFF0000CCu));
  QVERIFY(uniformBlock(sheet, 144, 0, 144, 256, 0xFF209C00u));
  QVERIFY(uniformBlock(load(folder.output(4, "b.png")), 0, 0, 288, 256, 0xFF0000BBu));
}

void TestConverter::pathParts_data()
{
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("dir");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("base");
  QTest::addColumn<bool>("single");
  QTest::newRow("slashes") << "C:/chars/hero.png" << "C:/chars" << "hero.png" << "hero" << false;
  QTest::newRow("backslashes") << "C:\\chars\\hero.png" << "C:\\chars" << "hero.png" << "hero" << false;
  QTest::newRow("bare name") << "hero.png" << "hero.png" << "hero.png" << "hero" << false;
  QTest::newRow("empty") << "" << "" << "" << "" << false;
  QTest::newRow("dots") << "C:/a.b/hero.old.png" << "C:/a.b" << "hero.old.png" << "hero.old" << false;
  QTest::newRow("no extension") << "C:/chars/hero" << "C:/chars" << "hero" << "hero" << false;
  QTest::newRow("only extension") << ".png" << ".png" << ".png" << "" << false;
  QTest::newRow("trailing separator") << "C:/chars/" << "C:/chars" << "" << "" << false;
  QTest::newRow("mark first") << "d/$hero.png" << "d" << "$hero.png" << "$hero" << true;
  QTest::newRow("mark second") << "x$hero.png" << "x$hero.png" << "x$hero.png" << "x$hero" << true;
  QTest::newRow("mark late") << "$d/hero$.png" << "$d" << "hero$.png" << "hero$" << false;
}

void TestConverter::pathParts()
{
  QFETCH(QString, path);
  QFETCH(QString, dir);
  QFETCH(QString, file);
  QFETCH(QString, base);
  QFETCH(bool, single);
  QCOMPARE(Converter::pathDirectory(path), dir);
  QCOMPARE(Converter::pathFileName(path), file);
  QCOMPARE(Converter::pathBaseName(path), base);
  QCOMPARE(Converter::hasSingleCharacterMark(path), single);
}

void TestConverter::failures()
{
  Folder folder(2);
  Converter worker({}, 1, 2);
  QVERIFY(worker.convertCharacter(folder.input("a.png", filled(96, 128, 0xFF0000AAu)), 2));
  const QString bad = folder.dir.path() + "/bad.png";
  writeAll(bad, "not an image");
  QVERIFY(!worker.convertCharacter(bad, 2));
  QCOMPARE(worker.failedFiles(), QStringList{bad});
  QCOMPARE(QDir(folder.output(2, "")).entryList(QDir::Files), QStringList{"a.png"});
  QCOMPARE(worker.sheetAccumulator().placedCount, quint8(1));
  QCOMPARE(worker.sheetAccumulator().sheetPath, folder.output(2, "a.png"));

  QVERIFY(worker.convertCharacter(folder.dir.path() + "/missing.png", 6));
  QCOMPARE(worker.sheetAccumulator().placedCount, quint8(0));
  QVERIFY(worker.sheetAccumulator().sheetPath.isEmpty());
  QCOMPARE(worker.failedFiles().size(), 1);
  QCOMPARE(QDir(folder.dir.path()).entryList(QDir::Files), QStringList({"a.png", "bad.png"}));

  // A pipe among a run's inputs is listed at once, and the run goes on.
  const QString pipe = folder.dir.path() + "/p.png";
  QVERIFY(makePipe(pipe));
  Converter run({pipe, folder.input("b.png", filled(96, 128, 0xFF00AA00u))}, 1, 2);
  QCOMPARE(runAndLog(run).last(), "end [" + pipe + "] " + folder.output(2, "").chopped(1));
  QVERIFY(QFileInfo::exists(folder.output(2, "b.png")));

  // The sub-folder is a regular file: nothing can be written, yet the run goes on.
  Folder blocked(3, false);
  writeAll(blocked.dir.path() + "/VX_CONVERSIONS", "");
  Converter other({}, 1, 3);
  QVERIFY(other.convertCharacter(blocked.input("a.png", filled(96, 128, 0xFF0000AAu)), 3));
  QCOMPARE(other.unwritten(), QStringList{blocked.output(3, "$a.png")});

  // A 2003 sheet is listed by its last write: complete on disk, it is not.
  Folder sheets(2);
  QDir().mkpath(sheets.output(2, "a.png")); // a folder where the sheet goes
  Converter third({}, 1, 2);
  QVERIFY(third.convertCharacter(sheets.input("a.png", filled(96, 128, 0xFF0000AAu)), 2));
  QCOMPARE(third.unwritten(), QStringList{sheets.output(2, "a.png")});
  QDir(sheets.output(2, "a.png")).removeRecursively();
  QVERIFY(third.convertCharacter(sheets.input("b.png", filled(96, 128, 0xFF00AA00u)), 2));
  QVERIFY(third.unwritten().isEmpty() && !load(sheets.output(2, "a.png")).isNull());
}

void TestConverter::shortAndDegenerateInputsNeverWarn_data()
{
  QTest::addColumn<int>("direction");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<int>("unwrittenCount");
  QTest::addColumn<QString>("output");
  QTest::addColumn<QPoint>("transparentAt");
  QTest::newRow("2003 short, to XP") << 0 << "B.png" << QSize(72, 100) << 0 << "B.png" << QPoint(0, 63);
  QTest::newRow("2003 short, to VX") << 1 << "B.png" << QSize(72, 100) << 0 << "$B.png" << QPoint(0, 40);
  QTest::newRow("XP rows beyond the frames") << 3 << "B.png" << QSize(96, 130) << 0 << "$B.png" << QPoint(5, 129);
  QTest::newRow("2003 eight, too narrow") << 0 << "B.png" << QSize(2, 7) << 8 << "" << QPoint();
  QTest::newRow("XP too narrow") << 3 << "B.png" << QSize(3, 3) << 1 << "" << QPoint();
  QTest::newRow("VX single too small") << 5 << "$B.png" << QSize(2, 3) << 1 << "" << QPoint();
}

void TestConverter::shortAndDegenerateInputsNeverWarn()
{
  QFETCH(int, direction);
  QFETCH(QString, name);
  QFETCH(QSize, size);
  QFETCH(int, unwrittenCount);
  QFETCH(QString, output);
  QFETCH(QPoint, transparentAt);
  Folder folder(direction);
  const QString input = folder.input(name, coded(size.width(), size.height()));
  Converter worker({}, 1, direction);
  warnings = 0;
  const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
  const bool converted = worker.convertCharacter(input, direction);
  qInstallMessageHandler(previous);
  QVERIFY(converted);
  QCOMPARE(warnings, 0);
  QCOMPARE(worker.unwritten().size(), unwrittenCount);
  if (!output.isEmpty()) {
    const QImage out = load(folder.output(direction, output));
    QCOMPARE(out.pixel(transparentAt), 0x00000000u);
    QCOMPARE(out.pixel(0, 0) >> 24, 0xFFu);
  }
}

// Each worker gathers its own characters: two at once write what two in a
// row write, byte for byte.
void TestConverter::workersKeepTheirOwnSheets()
{
  Folder folders[2] = {Folder(2), Folder(2)};
  QStringList inputs[2];
  for (int f = 0; f < 2; ++f)
    for (int i = 0; i < 10; ++i)
      inputs[f] << folders[f].input(QString::number(i) + ".png", filled(96, 128, 0xFF000000u + f * 0x100 + i));
  const auto convertAll = [](const QStringList& paths) {
    Converter worker({}, 1, 2);
    for (const QString& path : paths)
      worker.convertCharacter(path, 2);
    return worker.createdSheets();
  };
  QList<QByteArray> first;
  for (int f = 0; f < 2; ++f)
    for (const QString& sheet : convertAll(inputs[f]))
      first << readAll(sheet);
  QCOMPARE(first.size(), 4);
  for (int run = 0; run < 2; ++run) {
    QFuture<QStringList> a = QtConcurrent::run(convertAll, inputs[0]);
    QFuture<QStringList> b = QtConcurrent::run(convertAll, inputs[1]);
    QList<QByteArray> again;
    for (const QString& sheet : a.result() + b.result())
      again << readAll(sheet);
    QCOMPARE(again, first);
  }
}

// Folder mode: PNG and GIF files only, by name ignoring case; unreadable
// inputs are reported in order; the accumulator is emptied after the end.
void TestConverter::folderRun()
{
  Folder folder(0, false);
  const QString dir = folder.dir.path();
  folder.input("b.png", filled(72, 128, 0xFF0000BBu));
  writeAll(dir + "/A.gif", "not an image");
  folder.input("c.PNG", filled(72, 128, 0xFF0000CCu));
  folder.input("notes.txt", filled(72, 128, 0xFF0000DDu));
  folder.input(".hidden.png", filled(72, 128, 0xFF0000EEu));
  writeAll(dir + "/d.png", "");
  QDir(dir).mkdir("e.png");
  Converter worker({dir}, 0, 0);
  QCOMPARE(runAndLog(worker), QStringList({"0 Conversion de : " + dir + "/A.gif", "25 Conversion de : " + dir + "/b.png",
                                           "50 Conversion de : " + dir + "/c.PNG", "75 Conversion de : " + dir + "/d.png",
                                           "end [" + dir + "/A.gif, " + dir + "/d.png] " + dir + "/XP_CONVERSIONS"}));
  QCOMPARE(QDir(dir + "/XP_CONVERSIONS").entryList(QDir::Files), QStringList({"b.png", "c.png"}));
  QCOMPARE(worker.sheetAccumulator().lastDirection, quint8(ResetSheets));
}

// Bytes 24 and 25 of a PNG file: bit depth and colour type (3: palette).
QByteArray depthAndColourType(const QString& path) { return readAll(path).mid(24, 2); }

void TestConverter::sheetsComeOutIn256Colours()
{
  Folder folder(4, false);
  QStringList inputs;
  const QStringList names = {"$a.png", "b.png", "$c.png", "$d.png", "$e.gif"};
  for (int i = 0; i < names.size(); ++i)
    inputs << folder.input(names[i], filled(i == 1 ? 288 : 72, i == 1 ? 256 : 128, 0xFF000010u + i));
  Converter worker(inputs, 1, 4, nullptr, 0);
  QStringList expected;
  for (int i = 0; i < 5; ++i)
    expected << QString::number(i * 16) + " Conversion de : " + inputs[i];
  expected << "80 Changement de la profondeur des couleurs..."
           << "90 Changement de la profondeur des couleurs..."
           << "end [] " + folder.output(4, "").chopped(1);
  QCOMPARE(runAndLog(worker), expected);
  QCOMPARE(worker.createdSheets(), QStringList({folder.output(4, "$a.png"), folder.output(4, "b.png")}));
  for (const QString& sheet : worker.createdSheets())
    QCOMPARE(depthAndColourType(sheet), QByteArray("\x08\x03", 2));
  const QImage first = load(folder.output(4, "$a.png"));
  const QRgb colours[8] = {0xFF000010u, 0xFF000012u, 0xFF000013u, 0xFF000014u, 0xFF209C00u, 0xFF209C00u, 0xFF209C00u, 0xFF209C00u};
  for (int slot = 0; slot < 8; ++slot)
    QVERIFY(uniformBlock(first, (slot % 4) * 72, slot < 4 ? 0 : 128, 72, 128, colours[slot]));
  QVERIFY(uniformBlock(load(folder.output(4, "b.png")), 0, 0, 288, 256, 0xFF000011u));
}

// Eight XP characters of many colours pass the 256 of an 8-bit sheet: the key
// colour stays exact at index 0, the 2003 engine's transparent one, and no
// other pixel takes that index.
void TestConverter::richSheetKeepsItsKeyColour()
{
  Folder folder(2, false);
  QStringList inputs;
  for (int i = 0; i < 8; ++i) {
    QImage xp(96, 128, QImage::Format_ARGB32);
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 96; ++x)
        xp.setPixel(x, y, x % 24 < 12 ? 0u : qRgb((x * 5 + i * 29) & 255, (y * 3 + i * 7) & 255, (x * y + i) & 255));
    if (i == 0)
      xp.setPixel(12, 0, 0xFF209C00u); // a genuine key-colour pixel
    inputs << folder.input(QString("%1.png").arg(i), xp);
  }
  Converter worker(inputs, 1, 2);
  runAndLog(worker);
  const QImage sheet(folder.output(2, "0.png"));
  QCOMPARE(sheet.format(), QImage::Format_Indexed8);
  QCOMPARE(sheet.color(0), 0xFF209C00u);
  QCOMPARE(sheet.size(), QSize(288, 256));
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 288; ++x) {
      const bool background = x % 24 < 12;
      if ((sheet.pixelIndex(x, y) == 0) != background || (sheet.pixel(x, y) == 0xFF209C00u) != background)
        QFAIL(qPrintable(QString("(%1, %2): index %3").arg(x).arg(y).arg(sheet.pixelIndex(x, y))));
    }
}

void TestConverter::folderMissingOrEmpty_data()
{
  QTest::addColumn<QStringList>("files");
  QTest::addColumn<quint8>("sourceKind");
  QTest::addColumn<QString>("report");
  QTest::newRow("missing folder") << QStringList{"missing"} << quint8(0) << "fatal Impossible d'ouvrir le dossier : missing";
  QTest::newRow("missing file's folder") << QStringList{"missing/a.png"} << quint8(1)
                                         << "fatal Impossible d'ouvrir le dossier : missing/a.png";
  QTest::newRow("folder with markup") << QStringList{"<b>R&D"} << quint8(0)
                                      << "fatal Impossible d'ouvrir le dossier : &lt;b&gt;R&amp;D";
  QTest::newRow("empty list") << QStringList{} << quint8(1) << "fatal Impossible d'ouvrir le dossier : ";
  QTest::newRow("nothing to convert") << QStringList{"empty"} << quint8(0) << "end [] empty/2K3_CONVERSIONS";
}

void TestConverter::folderMissingOrEmpty()
{
  QFETCH(QStringList, files);
  QFETCH(quint8, sourceKind);
  QFETCH(QString, report);
  QDir().mkdir("empty");
  Converter worker(files, sourceKind, 2);
  QCOMPARE(runAndLog(worker), QStringList{report});
  QVERIFY(!QFileInfo::exists("missing"));
}

// Every failed output is reported, in order, just before the end; the run
// still ends normally.
void TestConverter::unwritableOutputs()
{
  Folder folder(0, false);
  writeAll(folder.dir.path() + "/XP_CONVERSIONS", "");
  const QString input = folder.input("a.png", filled(288, 256, 0xFF000010u));
  Converter worker({input}, 1, 0);
  QStringList unwritten;
  for (int n = 1; n <= 8; ++n)
    unwritten << folder.output(0, "a_" + QString::number(n) + ".png");
  QCOMPARE(runAndLog(worker).mid(1),
           QStringList({"unwritten " + unwritten.join(", "), "end [] " + folder.dir.path() + "/XP_CONVERSIONS"}));
}

void TestConverter::deletingTheParentWaitsForTheRun()
{
  QStringList inputs[2];
  Folder folders[2] = {Folder(2), Folder(2)};
  for (int f = 0; f < 2; ++f)
    for (int i = 0; i < 20; ++i)
      inputs[f] << folders[f].input(QString::number(i) + ".png", filled(96, 128, 0xFF000000u + i));
  warnings = 0;
  const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
  auto* parent = new QObject;
  (new Converter(inputs[0], 1, 2, parent))->start();
  (new Converter(inputs[1], 1, 2, parent))->start();
  delete parent;
  qInstallMessageHandler(previous);
  QCOMPARE(warnings, 0);
  for (int f = 0; f < 2; ++f)
    QCOMPARE(depthAndColourType(folders[f].output(2, "16.png")), QByteArray("\x08\x03", 2));
}

SK_TEST_MAIN(TestConverter)
#include "test_converter.moc"
