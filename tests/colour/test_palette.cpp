#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "core/PaletteFile.h"
#include "colour/QColorPalette.h"
#include "core/IniSettings.h"

#include <QDir>
#include <QSignalSpy>

namespace {

QColor hsv(int h, int s, int v, int a = 255)
{
  QColor c;
  c.setHsv(h, s, v, a);
  return c;
}

QByteArray rgbaBytes(const QColor& c)
{
  const char rgba[4] = {char(c.red()), char(c.green()), char(c.blue()), char(c.alpha())};
  return QByteArray(rgba, 4);
}

// A colour that no default cell holds, different for every record.
QColor recordColour(int i)
{
  return QColor(i % 256, 7, (3 * i) % 256, 1 + i % 200);
}

QByteArray paletteBytes(char version, quint16 count, int records, int extraBytes = 0)
{
  QByteArray out;
  out.append(version);
  out.append(char(count & 0xFF));
  out.append(char(count >> 8));
  for (int i = 0; i < records; ++i)
    out.append(rgbaBytes(recordColour(i)));
  out.append(QByteArray(extraBytes, '\x05'));
  return out;
}

QString setting(const char* key)
{
  QString value; // an empty text reads back as no key at all
  IniSettings settings;
  settings.getValue(key, value);
  return value;
}

} // namespace

class TestPalette : public QObject
{
  Q_OBJECT

private slots:
  void init() { writeAll("sorvelkit.ini", QByteArray()); }
  void checkerboard();
  void defaultPaletteFile();
  void load_data();
  void load();
  void saveThroughPrompts();
  void saveFailureKeepsOldFile();
  void mouse();
};

void TestPalette::checkerboard()
{
  QImage img;
  transparencyCheckerboard(img, QSize(20, 10), 5);
  QCOMPARE(img.format(), QImage::Format_ARGB32);
  QCOMPARE(img.size(), QSize(20, 10));
  QCOMPARE(img.pixel(0, 0), 0xFFFFFFFFu);
  QCOMPARE(img.pixel(5, 0), 0xFFA0A0A4u);
  QCOMPARE(img.pixel(5, 5), 0xFFFFFFFFu);
  QCOMPARE(img.pixel(0, 5), 0xFFA0A0A4u);
}

void TestPalette::defaultPaletteFile()
{
  PromptRecorder rec;
  QColorPalette dock(QSize(10, 10), QSize(20, 6));
  QCOMPARE(dock.size(), QSize(200, 60));
  rec.files = {"dock.skp"};
  QVERIFY(dock.save());
  const QByteArray bytes = readAll("dock.skp");
  QCOMPARE(bytes.size(), 483);
  QCOMPARE(bytes.left(31).toHex(' '), QByteArray("00 78 00 00 00 00 ff ff ff ff ff 55 55 55 ff aa aa aa ff "
                                                 "00 00 00 80 ff ff ff 80 33 33 33 ff"));
  QCOMPARE(bytes.mid(3 + 10 * 4, 16).toHex(' '), QByteArray("40 40 40 80 80 80 80 80 ff 00 00 ff ff 80 80 ff"));
  QCOMPARE(bytes.mid(479, 4).toHex(' '), QByteArray("80 00 51 80"));

  writeAll("sorvelkit.ini", QByteArray()); // or it would load dock.skp
  QColorPalette dialog(QSize(12, 12), QSize(33, 6));
  QCOMPARE(dialog.size(), QSize(396, 72));
  rec.files = {"dialog.skp"};
  QVERIFY(dialog.save());
  const QByteArray big = readAll("dialog.skp");
  QCOMPARE(big.size(), 795);
  QCOMPARE(big.left(3).toHex(' '), QByteArray("00 c6 00"));

  const QList<int> dialogHues{0, 11, 22, 33};
  const QList<int> dockHues{0, 18, 37, 56};
  for (int k = 0; k < 4; ++k) {
    QCOMPARE(dialog.colors()[std::size_t(6 * (2 + k))].hue(), dialogHues[k]);
    QCOMPARE(dock.colors()[std::size_t(6 * (2 + k))].hue(), dockHues[k]);
  }
  QCOMPARE(dialog.colors()[6 * 32].hue(), 337);
  QCOMPARE(dock.colors()[6 * 19].hue(), 322);
  QCOMPARE(dock.colors()[13], hsv(0, 127, 255));
}

void TestPalette::load_data()
{
  QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
  QTest::addColumn<int>("columns");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<QString>("message"); // %1 stands for the path
  QTest::addColumn<int>("filled");      // cells taken from the file; the others stay default

  const QString damaged = "%1 est endommagé.<br />Il est impossible de l'ouvrir.";
  QTest::newRow("count 0") << QByteArray("\0\0\0", 3) << 20 << true << "" << 0;
  QTest::newRow("newer") << paletteBytes(1, 120, 120) << 20 << false
                         << "%1 a été enregistré avec une version de Sorvel Kit plus récente." << 0;
  QTest::newRow("version only") << QByteArray(1, '\0') << 20 << false << damaged << 0;
  QTest::newRow("short count") << QByteArray("\0\x05", 2) << 20 << false << damaged << 0;
  QTest::newRow("short record") << paletteBytes(0, 10, 9, 2) << 20 << false << damaged << 9;
  QTest::newRow("dialog file in dock") << paletteBytes(0, 198, 198) << 20 << true << "" << 120;
  QTest::newRow("dock file in dialog") << paletteBytes(0, 120, 120) << 33 << true << "" << 120;
  QTest::newRow("count read as unsigned") << paletteBytes(0, 0x8000, 120) << 20 << true << "" << 120;
  QTest::newRow("missing") << QByteArray() << 20 << false << "Impossible d'ouvrir : %1" << 0;
  QTest::newRow("pipe") << QByteArray("pipe") << 20 << false << "Impossible d'ouvrir : %1" << 0;
}

void TestPalette::load()
{
  QFETCH(QByteArray, bytes);
  QFETCH(int, columns);
  QFETCH(bool, ok);
  QFETCH(QString, message);
  QFETCH(int, filled);

  const QString path = QDir::current().filePath("<b>R&D.skp"); // quoted escaped in rich text
  QFile::remove(path);
  if (bytes == "pipe")
    QVERIFY(makePipe(path));
  else if (!bytes.isEmpty())
    writeAll(path, bytes);
  QColorPalette palette(QSize(10, 10), QSize(columns, 6));
  QCOMPARE(palette.load(path), ok);
  QCOMPARE(palette.getErrorMessage(), message.isEmpty() ? QString() : message.arg(path.toHtmlEscaped()));
  const std::vector<QColor> defaults = defaultPalette(columns, 6);
  for (int i = 0; i < int(defaults.size()); ++i)
    QCOMPARE(palette.colors()[std::size_t(i)], i < filled ? recordColour(i) : defaults[std::size_t(i)]);
  QCOMPARE(setting("palette"), QString());
}

void TestPalette::saveThroughPrompts()
{
  PromptRecorder rec;
  QDir().mkdir("mine");
  const QString path = QDir::current().filePath("mine/a.skp");
  QColorPalette palette(QSize(10, 10), QSize(20, 6));
  palette.setAdd(true, QColor(1, 2, 3, 4));
  QTest::mouseClick(&palette, Qt::LeftButton, {}, QPoint(5, 5));
  rec.files = {path, ""};
  QVERIFY(palette.save());
  QVERIFY(palette.save()); // cancelled: nothing to write, nothing wrong
  QCOMPARE(rec.asked.size(), 2);
  QCOMPARE(rec.asked[0].kind, QStringLiteral("save"));
  QCOMPARE(rec.asked[0].title, QStringLiteral("Sauvegarder une palette"));
  QCOMPARE(rec.asked[0].filter, QStringLiteral("Palette Sorvel Kit (*.skp)"));
  QCOMPARE(rec.asked[0].text, QStringLiteral("palette/"));
  QCOMPARE(rec.asked[1].text, QDir::current().filePath("mine"));
  QCOMPARE(setting("palette"), path);
  QCOMPARE(readAll(path).mid(3, 4).toHex(' '), QByteArray("01 02 03 04"));

  // The remembered file comes back with the next palette; the reset forgets it.
  QColorPalette next(QSize(10, 10), QSize(20, 6));
  QCOMPARE(next.colors()[0], QColor(1, 2, 3, 4));
  QVERIFY(next.load());
  QCOMPARE(setting("palette"), QString());
  QVERIFY(next.colors() == defaultPalette(20, 6));

  // A path holding "?" is written but not remembered.
  rec.files = {QDir::current().filePath("b?.skp")};
  QVERIFY(next.save());
  QCOMPARE(setting("palette"), QString());
  QCOMPARE(setting("pathSavePalette"), QDir::current().filePath("mine"));
}

void TestPalette::saveFailureKeepsOldFile()
{
  PromptRecorder rec;
  const QString path = QDir::current().filePath("old.skp");
  const QByteArray old(483, '\x42');
  writeAll(path, old);
  QColorPalette palette(QSize(10, 10), QSize(20, 6));
  rec.files = {path};
  bool saved = true;
  withFileSizeLimit(400, [&] { saved = palette.save(); });
  QVERIFY(!saved);
  QCOMPARE(readAll(path), old);
  QCOMPARE(rec.kinds(), (QStringList{"save", "message"}));
  QCOMPARE(rec.asked[1].title, QStringLiteral("Erreur"));
  QCOMPARE(rec.asked[1].text, QStringLiteral("Impossible de sauvegarder la palette."));
  QCOMPARE(rec.asked[1].details, "Fichier : " + path + "\nCause : File too large");
  QCOMPARE(rec.asked[1].icon, int(QMessageBox::Warning));
  // The settings were stored before the write.
  QCOMPARE(setting("palette"), path);
  QCOMPARE(setting("pathSavePalette"), QDir::currentPath());
}

void TestPalette::mouse()
{
  QColorPalette palette(QSize(10, 10), QSize(20, 6));
  QSignalSpy picked(&palette, &QColorPalette::changeColor);
  QSignalSpy added(&palette, &QColorPalette::added);
  QTest::mousePress(&palette, Qt::LeftButton, {}, QPoint(25, 15));
  QCOMPARE(picked.size(), 1);
  QCOMPARE(picked[0][0].value<QColor>(), hsv(0, 127, 255));

  const QColor clear(10, 20, 30, 0);
  palette.setAdd(true, clear);
  QTest::mousePress(&palette, Qt::RightButton, {}, QPoint(25, 15));
  QTest::mousePress(&palette, Qt::LeftButton, {}, QPoint(199, 59));
  QCOMPARE(picked.size(), 1);
  QCOMPARE(added.size(), 2);
  QCOMPARE(palette.colors()[13], clear);
  QCOMPARE(palette.colors()[119], clear);

  palette.setAdd(false);
  QTest::mousePress(&palette, Qt::LeftButton, {}, QPoint(5, 5));
  QCOMPARE(added.size(), 2);
  QCOMPARE(picked.size(), 2);
  QCOMPARE(picked[1][0].value<QColor>(), QColor(0, 0, 0));
}

SK_TEST_MAIN(TestPalette)
#include "test_palette.moc"
