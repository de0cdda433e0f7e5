// Files that once made a reader, or what runs right after a load, misbehave.
// Each must be refused or read, and then survive the views and the edits that
// the fuzz targets run, without a sanitizer report.
#include "core/IniFile.h"
#include "fuzz/AfterLoad.h"
#include "model/ElementFile.h"
#include "tests/TestMain.h"

#include <QDir>

namespace {

QString hostile(const char* name)
{
  return QStringLiteral(SK_SOURCE_DIR "/tests/model/hostile/") + QLatin1String(name);
}

void strokeAt(CharacterData& doc, const QPoint& p, int cell)
{
  DrawScope scope;
  scope.elements = {0};
  scope.cell = static_cast<unsigned char>(cell);
  doc.setPen(PenSettings{1, 0, QColor(0, 0, 255)});
  doc.beginPath(scope);
  doc.addPenPoint(p);
  doc.endPath();
}

} // namespace

class TestHostileFiles : public QObject
{
  Q_OBJECT

private slots:
  void everyKnownInput_data()
  {
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(SK_SOURCE_DIR "/tests/model/hostile"));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& f : files)
      QTest::newRow(qPrintable(f)) << dir.filePath(f);
  }

  void everyKnownInput()
  {
    QFETCH(QString, path);
    const std::string p = path.toStdString();
    if (path.endsWith(".sk")) {
      CharacterData doc;
      if (doc.loadProjectFile(p))
        fuzz::runAfterLoad(doc);
      else
        QVERIFY(!doc.errorMessage().empty());
    } else if (path.endsWith(".elsk")) {
      std::string error;
      auto groups = loadElementFile(p, error);
      if (groups)
        fuzz::runAfterLoad((*groups)[0]);
      else
        QVERIFY(!error.empty());
    } else {
      IniFile store;
      QVERIFY(store.read(p.c_str()));
    }
  }

  // Cells too far apart for one image stay as they were, blank ones too.
  void farApartCellsAreNotMerged_data()
  {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QPoint>("first");
    QTest::newRow("v1 at 40000") << hostile("merge-offsets-40000-v1.sk") << QPoint(-40000, -40000);
    QTest::newRow("v1 blank at 40000") << hostile("merge-offsets-40000-blank-v1.sk") << QPoint(-40000, -40000);
    QTest::newRow("v0 at 32767") << hostile("merge-offsets-32767-v0.sk") << QPoint(-32767, -32767);
  }
  void farApartCellsAreNotMerged()
  {
    QFETCH(QString, path);
    QFETCH(QPoint, first);
    CharacterData doc;
    QVERIFY(doc.loadProjectFile(path.toStdString()));
    const uint word = doc.image(0, 0).pixel(0, 0);
    QVERIFY(!doc.mergeElements({0, 1}));
    QVERIFY(!doc.errorMessage().empty());
    QCOMPARE(doc.elementCount(), 2);
    QCOMPARE(doc.offset(0, 0), first);
    QCOMPARE(doc.image(0, 0).size(), QSize(1, 1));
    QCOMPARE(uint(doc.image(0, 0).pixel(0, 0)), word);
    QCOMPARE(doc.image(1, 0).size(), QSize(1, 1));
  }

  // Offsets from files are clamped; offsets set by hand may be anything, and
  // a stroke next to such a cell still grows it in the right place.
  void strokesNearTheIntLimits_data()
  {
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("stroke");
    QTest::addColumn<QPoint>("grownOffset"); // the cell's offset afterwards
    QTest::addColumn<QSize>("grownSize");
    const QPoint nearMax(INT_MAX - 1, INT_MAX - 1);
    QTest::newRow("far from the stroke") << QPoint(INT_MAX, INT_MAX) << QPoint(0, 0) << QPoint(INT_MAX, INT_MAX)
                                         << QSize(2, 2);
    QTest::newRow("past the other edge") << QPoint(INT_MIN, INT_MAX) << QPoint(0, 0) << QPoint(INT_MIN, INT_MAX)
                                         << QSize(2, 2);
    QTest::newRow("beside, at the limit") << nearMax << QPoint(INT_MAX - 3, INT_MAX - 3)
                                          << QPoint(INT_MAX - 3, INT_MAX - 3) << QSize(4, 4);
  }
  void strokesNearTheIntLimits()
  {
    QFETCH(QPoint, offset);
    QFETCH(QPoint, stroke);
    QFETCH(QPoint, grownOffset);
    QFETCH(QSize, grownSize);
    CharacterData doc;
    doc.addElement("", 0);
    doc.setImage(blankImage(QSize(2, 2)), 0, 3);
    doc.image(0, 3).setPixel(1, 1, 0xFFFF0000u);
    doc.setOffset(offset, 0, 3);
    strokeAt(doc, stroke, 3);
    QCOMPARE(doc.offset(0, 3), grownOffset);
    QCOMPARE(doc.image(0, 3).size(), grownSize);
    const QPoint red = offset - grownOffset + QPoint(1, 1);
    QCOMPARE(uint(doc.image(0, 3).pixel(red)), 0xFFFF0000u);
  }

  void offsetsFromFilesAreClamped()
  {
    CharacterData doc;
    QVERIFY(doc.loadProjectFile(hostile("stroke-offset-int-max-v1.sk").toStdString()));
    QCOMPARE(doc.offset(0, 0), QPoint(kMaxCellOffset, kMaxCellOffset));
    QCOMPARE(doc.offset(0, 1), QPoint(kMaxCellOffset, -kMaxCellOffset));
    std::string error;
    auto groups = loadElementFile(hostile("stroke-offset-int-max.elsk").toStdString(), error);
    QVERIFY(groups);
    const CharacterData& elements = (*groups)[1];
    QCOMPARE(elements.offset(0, 0).x(), kMaxCellOffset);
    QCOMPARE(elements.offset(0, 1).x(), -kMaxCellOffset);
  }

  void offsetMovesSaturate_data()
  {
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QPoint>("end");
    QTest::newRow("up to the limits") << QPoint(10, -10) << QPoint(INT_MAX, INT_MIN) << QPoint(INT_MAX, INT_MIN);
    QTest::newRow("down to the limits") << QPoint(-10, 10) << QPoint(INT_MIN, INT_MAX) << QPoint(INT_MIN, INT_MAX);
    QTest::newRow("away from them") << QPoint(INT_MAX, INT_MIN) << QPoint(-5, 5) << QPoint(INT_MAX - 5, INT_MIN + 5);
  }
  void offsetMovesSaturate()
  {
    QFETCH(QPoint, start);
    QFETCH(QPoint, delta);
    QFETCH(QPoint, end);
    CharacterData doc;
    doc.addElement("", 0);
    doc.setOffset(start, 0, 2);
    doc.moveCells(delta);
    QCOMPARE(doc.offset(0, 2), end);
    doc.setOffset(start, 0, 2);
    doc.moveAllCells(delta);
    QCOMPARE(doc.offset(0, 2), end);
    // A larger sheet moves every cell by half its cell's growth.
    doc.setOffset(end, 0, 2);
    doc.setSize(QSize(kMaxSheetSide, kMaxSheetSide), true);
    QCOMPARE(doc.offset(0, 2), saturatedSum(end, QPoint((kMaxSheetSide / 4 - 32) / 2, (kMaxSheetSide / 4 - 48) / 2)));
  }

  void zoomFromFiles_data()
  {
    QTest::addColumn<QString>("path");
    QTest::addColumn<double>("zoom");
    QTest::newRow("not a number") << hostile("zoom-nan-v0.sk") << 1.0;
    QTest::newRow("1e12") << hostile("zoom-1e12-v0.sk") << CharacterData::kMaxZoom;
    QTest::newRow("-3") << hostile("zoom-negative-v0.sk") << CharacterData::kMinZoom;
  }
  void zoomFromFiles()
  {
    QFETCH(QString, path);
    QFETCH(double, zoom);
    CharacterData doc;
    QVERIFY(doc.loadProjectFile(path.toStdString()));
    QCOMPARE(doc.zoom(), zoom);
    QCOMPARE(doc.zoomedSize(), QSize(int(128 * zoom), int(192 * zoom)));
  }

  void zoomedSizeSaturates_data()
  {
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSize>("size");
    QTest::newRow("1e12") << 1e12 << QSize(INT_MAX, INT_MAX);
    QTest::newRow("-3") << -3.0 << QSize(0, 0);
    QTest::newRow("not a number") << std::nan("") << QSize(0, 0);
    QTest::newRow("infinite") << HUGE_VAL << QSize(INT_MAX, INT_MAX);
  }
  void zoomedSizeSaturates()
  {
    QFETCH(double, zoom);
    QFETCH(QSize, size);
    CharacterData doc;
    doc.setZoom(zoom);
    QCOMPARE(doc.zoomedSize(), size);
  }

  void extremeOffsets()
  {
    CharacterData doc;
    doc.addElement("", 0);
    doc.setOffset(QPoint(INT_MIN, INT_MIN), 0, 0);
    doc.setOffset(QPoint(INT_MAX, INT_MAX), 0, 1);
    doc.setOffset(QPoint(INT_MIN, INT_MAX), 0, 4);
    QCOMPARE(uint(doc.flattenImage().pixel(0, 0)), uint(kBlankPixel));
    fuzz::runAfterLoad(doc);
  }
};

SK_TEST_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
