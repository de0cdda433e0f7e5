#include "tests/TestMain.h"

#include "tests/ops/CellFixture.h"

namespace {

// An opaque image whose every pixel is distinct, so that a turn can be traced.
QImage numbered(int w, int h)
{
  QImage image(w, h, QImage::Format_ARGB32);
  for (int y = 0; y < h; ++y) {
    uint32_t* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < w; ++x)
      line[x] = 0xFF000000u | static_cast<uint32_t>(y << 8 | x);
  }
  return image;
}

} // namespace

class TestTransform : public QObject
{
  Q_OBJECT

private slots:
  void resize_data()
  {
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<double>("sx");
    QTest::addColumn<double>("sy");
    QTest::addColumn<bool>("recentre");
    QTest::addColumn<bool>("smooth");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("newOffset");
    for (bool smooth : {false, true}) {
      const char* mode = smooth ? "smooth" : "fast";
      QTest::addRow("half, recentred, %s", mode) << QPoint(0, 0) << 0.5 << 0.5 << true << smooth << QSize(16, 24)
                                                 << QPoint(8, 12);
      QTest::addRow("one and a half, recentred, %s", mode)
          << QPoint(0, 0) << 1.5 << 1.5 << true << smooth << QSize(48, 72) << QPoint(-8, -12);
      QTest::addRow("half, not recentred, %s", mode) << QPoint(0, 0) << 0.5 << 0.5 << false << smooth
                                                     << QSize(16, 24) << QPoint(0, 0);
      QTest::addRow("uneven factors, offset kept, %s", mode)
          << QPoint(3, -5) << 0.25 << 2.0 << false << smooth << QSize(8, 96) << QPoint(3, -5);
      // (1 - 0.3) * 32 * 0.5 = 11.2 and (1 - 0.7) * 48 * 0.5 = 7.2: truncated.
      QTest::addRow("recentring truncates, %s", mode)
          << QPoint(1, 1) << 0.3 << 0.7 << true << smooth << QSize(9, 33) << QPoint(12, 8);
    }
  }

  void resize()
  {
    QFETCH(QPoint, offset);
    QFETCH(double, sx);
    QFETCH(double, sy);
    QFETCH(bool, recentre);
    QFETCH(bool, smooth);
    QFETCH(QSize, size);
    QFETCH(QPoint, newOffset);
    CharacterData data = makeCharacter(1, filled(32, 48, 0x80FF0000u));
    data.setOffset(offset, 0, 0);
    data.setSelectedCells({0});
    data.resizeCells(sx, sy, recentre, smooth, false);
    QCOMPARE(data.image(0, 0).size(), size);
    QCOMPARE(data.offset(0, 0), newOffset);
    QCOMPARE(data.image(0, 0).format(), QImage::Format_ARGB32);
    // A uniform semi-transparent colour comes back unpremultiplied.
    QCOMPARE(word(data.image(0, 0), size.width() / 2, size.height() / 2), 0x80FF0000u);
    QCOMPARE(data.image(0, 1).size(), QSize(32, 48));
  }

  void resizeToNothingLeavesAnEmptyCell()
  {
    CharacterData data = makeCharacter(1, filled(3, 8, 0xFF00FF00u));
    data.setSelectedCells({0});
    data.resizeCells(0.25, 0.25, true, true, false);
    QVERIFY(data.image(0, 0).isNull());
    QCOMPARE(data.offset(0, 0), QPoint(1, 3)); // 0.75 * 3 * 0.5, 0.75 * 8 * 0.5
    // Further operations and flattening take the empty cell in their stride.
    data.resizeCells(2.0, 2.0, true, false, false);
    data.rotateCells(90.0, true, false);
    QVERIFY(data.image(0, 0).isNull());
    QCOMPARE(data.flattenImage().size(), QSize(128, 192));
  }

  void resizeFromSnapshotStartsFromTheSnapshot()
  {
    CharacterData data = makeCharacter(1, numbered(32, 48));
    data.setOffset(QPoint(2, 4), 0, 0);
    data.saveSnapshot();
    data.resizeCells(0.5, 0.5, true, false, true);
    QCOMPARE(data.image(0, 0).size(), QSize(16, 24));
    QCOMPARE(data.offset(0, 0), QPoint(10, 16));
    data.resizeCells(0.5, 0.5, false, true, true);
    QCOMPARE(data.image(0, 0).size(), QSize(16, 24));
    QCOMPARE(data.offset(0, 0), QPoint(2, 4));
    QCOMPARE(data.image(0, 0).format(), QImage::Format_ARGB32);
    QCOMPARE(data.snapshot().images[0][0], numbered(32, 48));
  }

  void fromSnapshotSkipsWhatTheSnapshotLacks_data()
  {
    QTest::addColumn<bool>("rotate");
    QTest::newRow("resize") << false;
    QTest::newRow("rotate") << true;
  }

  void fromSnapshotSkipsWhatTheSnapshotLacks()
  {
    QFETCH(bool, rotate);
    CharacterData data = makeCharacter(1, numbered(4, 6));
    const CharacterData untouched = data;
    // No snapshot at all.
    rotate ? data.rotateCells(90.0, false, true) : data.resizeCells(2.0, 2.0, true, false, true);
    QCOMPARE(data.images(), untouched.images());
    QCOMPARE(data.offsets(), untouched.offsets());

    // A snapshot taken before a second element came.
    data.saveSnapshot();
    CharacterData wider = makeCharacter(2, numbered(4, 6));
    data.setImages(wider.images());
    data.setOffsets(wider.offsets());
    rotate ? data.rotateCells(90.0, false, true) : data.resizeCells(2.0, 2.0, true, false, true);
    QCOMPARE(data.image(0, 0).size(), rotate ? QSize(6, 4) : QSize(8, 12));
    QCOMPARE(data.image(1, 0), numbered(4, 6));
    QCOMPARE(data.offset(1, 0), QPoint(0, 0));
  }

  void quarterTurns_data()
  {
    QTest::addColumn<double>("degrees");
    QTest::addColumn<QPoint>("topLeftGoesTo");
    QTest::newRow("clockwise") << 90.0 << QPoint(47, 0);
    QTest::newRow("anticlockwise") << -90.0 << QPoint(0, 31);
  }

  void quarterTurns()
  {
    QFETCH(double, degrees);
    QFETCH(QPoint, topLeftGoesTo);
    const QImage source = numbered(32, 48);
    CharacterData data = makeCharacter(1, source);
    data.setSelectedCells({0});
    data.rotateCells(degrees, false, false);
    const QImage& turned = data.image(0, 0);
    QCOMPARE(turned.size(), QSize(48, 32));
    QCOMPARE(data.offset(0, 0), QPoint(-8, 8));
    QCOMPARE(turned.format(), QImage::Format_ARGB32);
    QCOMPARE(word(turned, topLeftGoesTo.x(), topLeftGoesTo.y()), word(source, 0, 0));
    // Every pixel survives a quarter turn.
    QCOMPARE(data.image(0, 0).transformed(QTransform().rotate(-degrees)), source);
  }

  void zeroTurnTrimsTheTransparentBorder()
  {
    QImage image = filled(6, 7, kBlankPixel);
    for (int y = 2; y < 5; ++y)
      for (int x = 1; x < 3; ++x)
        image.setPixel(x, y, 0x40123456u);
    CharacterData data = makeCharacter(1, image);
    data.setOffset(QPoint(10, 20), 0, 0);
    data.setSelectedCells({0});
    data.rotateCells(0.0, false, false);
    QCOMPARE(data.image(0, 0), filled(2, 3, 0x40123456u));
    QCOMPARE(data.offset(0, 0), QPoint(11, 22));
  }

  void freeTurnIsStoredUnpremultiplied()
  {
    CharacterData data = makeCharacter(1, filled(20, 20, 0x80FF0000u));
    data.setSelectedCells({0});
    data.rotateCells(45.0, true, false);
    const QImage& turned = data.image(0, 0);
    QCOMPARE(turned.format(), QImage::Format_ARGB32);
    QVERIFY(turned.width() >= 28 && turned.width() <= 30);
    QCOMPARE(word(turned, turned.width() / 2, turned.height() / 2), 0x80FF0000u);
  }

  void transparentImageKeepsItsSizeWhenTurned()
  {
    CharacterData data = makeCharacter(1, filled(4, 6, kBlankPixel));
    data.setSelectedCells({0});
    data.rotateCells(90.0, false, false);
    QCOMPARE(data.image(0, 0).size(), QSize(6, 4));
    QCOMPARE(data.offset(0, 0), QPoint(-1, 1));
  }

  void rotateFromSnapshotNeverBuildsOnThePreview()
  {
    const QImage source = numbered(32, 48);
    CharacterData data = makeCharacter(1, source);
    data.saveSnapshot();
    data.rotateCells(90.0, false, true);
    const QImage first = data.image(0, 0);
    data.rotateCells(90.0, false, true);
    QCOMPARE(data.image(0, 0), first);
    QCOMPARE(data.offset(0, 0), QPoint(-8, 8));
    data.rotateCells(0.0, false, true);
    QCOMPARE(data.image(0, 0), source);
    QCOMPARE(data.offset(0, 0), QPoint(0, 0));
  }
};

SK_TEST_MAIN(TestTransform)
#include "test_transform.moc"
