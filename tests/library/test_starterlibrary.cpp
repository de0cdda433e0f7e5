// The starter library under elements/: every sheet found by walking the
// folders, so that a sheet added later is held to the same rules.
#include "core/BlendImage.h"
#include "model/CharacterData.h"
#include "tests/TestMain.h"

#include <QDirIterator>
#include <QProcess>

namespace {

const QStringList kCategories = {QStringLiteral("Corps"), QStringLiteral("Cheveux"), QStringLiteral("Vêtements")};

// Paths relative to root, in name order.
QStringList pngsUnder(const QString& root)
{
  QStringList found;
  QDirIterator it(root, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext())
    found << QDir(root).relativeFilePath(it.next());
  found.sort();
  return found;
}

QString libraryRoot() { return QStringLiteral(SK_SOURCE_DIR "/elements"); }
int typeOf(const QString& relative) { return relative.startsWith(QLatin1String("VX/")) ? VX : XP; }
QSize sheetSize(int type) { return type == VX ? QSize(96, 128) : QSize(128, 192); }
int columns(int type) { return type == VX ? 3 : 4; }

} // namespace

class TestStarterLibrary : public QObject
{
  Q_OBJECT

private slots:
  void everyLayoutHoldsTheThreeCategories()
  {
    for (const QString& layout : {QStringLiteral("XP"), QStringLiteral("VX")})
      for (const QString& category : kCategories)
        QVERIFY2(pngsUnder(libraryRoot() + '/' + layout + '/' + category).size() >= 2, qPrintable(layout + '/' + category));
  }

  void sheetFollowsItsLayout_data()
  {
    QTest::addColumn<QString>("relative");
    for (const QString& relative : pngsUnder(libraryRoot()))
      QTest::newRow(relative.toUtf8().constData()) << relative;
  }
  void sheetFollowsItsLayout()
  {
    QFETCH(QString, relative);
    const int type = typeOf(relative);
    const QString path = libraryRoot() + '/' + relative;
    const QImage sheet = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!sheet.isNull());
    QCOMPARE(sheet.size(), sheetSize(type));
    const int cw = sheet.width() / columns(type), ch = sheet.height() / 4;
    for (int y0 = 0; y0 < sheet.height(); y0 += ch)
      for (int x0 = 0; x0 < sheet.width(); x0 += cw) {
        bool visible = false;
        for (int y = y0; y < y0 + ch; ++y)
          for (int x = x0; x < x0 + cw; ++x) {
            const bool border = x == x0 || y == y0 || x == x0 + cw - 1 || y == y0 + ch - 1;
            QVERIFY2(!border || qAlpha(sheet.pixel(x, y)) == 0, qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
            visible = visible || qAlpha(sheet.pixel(x, y)) > 0;
          }
        QVERIFY2(visible, qPrintable(QStringLiteral("cell at (%1, %2)").arg(x0).arg(y0)));
      }
    CharacterData doc(type, QSize());
    QVERIFY(doc.addElementFromImageFile(path.toStdString()));
    QCOMPARE(doc.elementCount(), 1);
    QCOMPARE(static_cast<int>(doc.images()[0].size()), type == VX ? 12 : 16);
  }

  void bodyGarmentAndHairStack_data()
  {
    QTest::addColumn<int>("type");
    QTest::newRow("XP") << int(XP);
    QTest::newRow("VX") << int(VX);
  }
  void bodyGarmentAndHairStack()
  {
    QFETCH(int, type);
    const QString layout = libraryRoot() + (type == VX ? "/VX/" : "/XP/");
    CharacterData doc(type, sheetSize(type));
    QImage expected = blankImage(sheetSize(type));
    std::vector<QImage> sheets;
    for (const QString& category : {QStringLiteral("Corps"), QStringLiteral("Vêtements"), QStringLiteral("Cheveux")}) {
      const QString path = layout + category + '/' + pngsUnder(layout + category).value(0);
      QVERIFY(doc.addElementFromImageFile(path.toStdString()));
      sheets.push_back(QImage(path).convertToFormat(QImage::Format_ARGB32));
      blendImage(expected, 0, 0, sheets.back(), 0, 0, expected.width(), expected.height());
    }
    QVERIFY(doc.flattenImage() == expected);
    // Each part shows somewhere in every cell: a pixel of it that no later part covers.
    const int cw = expected.width() / columns(type), ch = expected.height() / 4;
    for (size_t s = 0; s < sheets.size(); ++s)
      for (int c = 0; c < columns(type) * 4; ++c) {
        const int x0 = (c % columns(type)) * cw, y0 = (c / columns(type)) * ch;
        bool shows = false;
        for (int y = y0; y < y0 + ch && !shows; ++y)
          for (int x = x0; x < x0 + cw && !shows; ++x) {
            shows = qAlpha(sheets[s].pixel(x, y)) > 0;
            for (size_t later = s + 1; later < sheets.size(); ++later)
              shows = shows && qAlpha(sheets[later].pixel(x, y)) == 0;
          }
        QVERIFY2(shows, qPrintable(QStringLiteral("part %1, cell %2").arg(s).arg(c)));
      }
  }

  void scriptDrawsTheCommittedSheets()
  {
    if (!QFile::exists(QStringLiteral("/usr/bin/python3")) ||
        QProcess::execute(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import PIL")}) != 0)
      QSKIP("needs /usr/bin/python3 with PIL");
    QTemporaryDir out;
    QProcess script;
    script.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(SK_SOURCE_DIR "/scripts/elements/make_elements.py"), out.path()});
    QVERIFY(script.waitForFinished(60000));
    QCOMPARE(script.exitCode(), 0);
    const QStringList committed = pngsUnder(libraryRoot());
    QCOMPARE(pngsUnder(out.path()), committed);
    for (const QString& relative : committed)
      QVERIFY2(QImage(out.path() + '/' + relative) == QImage(libraryRoot() + '/' + relative), qPrintable(relative));
  }
};

SK_TEST_MAIN(TestStarterLibrary)
#include "test_starterlibrary.moc"
