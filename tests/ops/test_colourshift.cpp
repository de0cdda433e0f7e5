#include "tests/TestMain.h"

#include "ops/ColourShift.h"
#include "tests/ops/CellFixture.h"

namespace {

uint32_t shifted(uint32_t pixel, float hue, float saturation, float lightness, bool absolute)
{
  QImage image = filled(1, 1, pixel);
  applyTslShift(TslShift{hue, saturation, lightness}, image, absolute, false, QImage());
  return word(image, 0, 0);
}

} // namespace

class TestColourShift : public QObject
{
  Q_OBJECT

private slots:
  void pixel_data()
  {
    QTest::addColumn<uint>("input");
    QTest::addColumn<float>("hue");
    QTest::addColumn<float>("saturation");
    QTest::addColumn<float>("lightness");
    QTest::addColumn<bool>("absolute");
    QTest::addColumn<uint>("expected");
    QTest::newRow("red, hue +120") << 0xFFFF0000u << 120.f << 0.f << 0.f << false << 0xFF00FF00u;
    QTest::newRow("red, hue -120") << 0xFFFF0000u << -120.f << 0.f << 0.f << false << 0xFF0000FFu;
    QTest::newRow("red, saturation -100") << 0xFFFF0000u << 0.f << -100.f << 0.f << false << 0xFF7F7F7Fu;
    QTest::newRow("red, lightness +100") << 0xFFFF0000u << 0.f << 0.f << 100.f << false << 0xFFFFFFFFu;
    QTest::newRow("red, lightness -100") << 0xFFFF0000u << 0.f << 0.f << -100.f << false << 0xFF000000u;
    QTest::newRow("red, absolute hue 90") << 0xFFFF0000u << 90.f << 0.f << 0.f << true << 0xFF7FFF00u;
    QTest::newRow("grey, lightness +50") << 0xFF808080u << 0.f << 0.f << 50.f << false << 0xFFBFBFBFu;
    QTest::newRow("grey, hue alone") << 0xFF808080u << 75.f << 0.f << 0.f << false << 0xFF808080u;
    QTest::newRow("alpha passes through") << 0x80FF0000u << 120.f << 0.f << 0.f << false << 0x8000FF00u;
    QTest::newRow("alpha 1 is visible") << 0x01FF0000u << 120.f << 0.f << 0.f << false << 0x0100FF00u;
    QTest::newRow("blank word") << 0x00000013u << 120.f << 50.f << 50.f << false << 0x00000013u;
    QTest::newRow("invisible colour") << 0x00FF0000u << 0.f << 0.f << -100.f << true << 0x00FF0000u;
    QTest::newRow("hue wraps above 360") << 0xFF0000FFu << 240.f << 0.f << 0.f << false << 0xFF00FF00u;
    // Magenta's red channel lands at 254: h + 1/3 is held in a float, which
    // puts 6t just under 1.
    QTest::newRow("hue wraps below 0") << 0xFF00FF00u << -180.f << 0.f << 0.f << false << 0xFFFE00FFu;
    // Beyond the dialog's ranges a channel would overflow into the alpha byte.
    QTest::newRow("lightness beyond +100") << 0x80FF0000u << 0.f << 0.f << 200.f << false << 0x80FFFFFFu;
    QTest::newRow("lightness beyond -100") << 0x80FF0000u << 0.f << 0.f << -200.f << false << 0x80000000u;
    QTest::newRow("saturation beyond +100") << 0x40804040u << 0.f << 300.f << 0.f << false << 0x40FF0000u;
    // Any shift but the zero one still makes the round trip, truncations included.
    QTest::newRow("hue +1") << 0xFF336699u << 1.f << 0.f << 0.f << false << 0xFF336499u;
    for (uint32_t c : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu, 0xFF000000u})
      QTest::addRow("zero shift keeps %08x", c) << uint(c) << 0.f << 0.f << 0.f << false << uint(c);
  }

  void pixel()
  {
    QFETCH(uint, input);
    QFETCH(float, hue);
    QFETCH(float, saturation);
    QFETCH(float, lightness);
    QFETCH(bool, absolute);
    QFETCH(uint, expected);
    QCOMPARE(QString::number(shifted(input, hue, saturation, lightness, absolute), 16),
             QString::number(expected, 16));
  }

  // Whole images go through a colour cache: it must give, word for word, what
  // each pixel gives on its own, whatever the order and repetition of colours.
  void imageMatchesPixelByPixel()
  {
    QImage image(257, 64, QImage::Format_ARGB32);
    uint32_t seed = 12345;
    for (int y = 0; y < image.height(); ++y) {
      uint32_t* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        seed = seed * 1664525u + 1013904223u;
        // Runs, a few thousand distinct colours and every alpha.
        line[x] = x % 7 < 3 && x > 0 ? line[x - 1] : (seed >> 8 & 0x00FFF0F3u) | (seed << 24);
      }
    }
    const TslShift shift{37.f, -20.f, 15.f};
    QImage whole = image.copy();
    applyTslShift(shift, whole, false, false, QImage());
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const uint32_t alone = shifted(word(image, x, y), shift.hue, shift.saturation, shift.lightness, false);
        if (word(whole, x, y) != alone)
          QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
      }
    // A zero shift, as the colour dialog at 0 / 0 / 0, moves no word.
    QImage same = image.copy();
    applyTslShift(TslShift{}, same, false, false, QImage());
    QCOMPARE(same, image);
  }

  void fromSourceReadsOnlyWhatTheSourceCovers()
  {
    // The source covers the top-left 2x1 of a 3x2 image.
    QImage image = filled(3, 2, 0xFF0000FFu);
    const QImage source = imageOf(2, 1, {0xFFFF0000u, 0x00FF0000u});
    applyTslShift(TslShift{120.f, 0.f, 0.f}, image, false, true, source);
    QCOMPARE(word(image, 0, 0), 0xFF00FF00u); // red of the source, turned green
    QCOMPARE(word(image, 1, 0), 0xFF0000FFu); // invisible in the source: untouched
    QCOMPARE(word(image, 2, 0), 0xFF0000FFu);
    QCOMPARE(word(image, 0, 1), 0xFF0000FFu);
    QCOMPARE(source, imageOf(2, 1, {0xFFFF0000u, 0x00FF0000u}));

    QImage untouched = filled(2, 2, 0xFF0000FFu);
    applyTslShift(TslShift{120.f, 0.f, 0.f}, untouched, false, true, QImage());
    QCOMPARE(untouched, filled(2, 2, 0xFF0000FFu));
  }

  void changeColorationFromSnapshot()
  {
    CharacterData data = makeCharacter(2, imageOf(2, 1, {0xFFFF0000u, kBlankPixel}));
    data.saveSnapshot();
    data.changeColoration(TslShift{120.f, 0.f, 0.f}, false, true);
    data.changeColoration(TslShift{120.f, 0.f, 0.f}, false, true);
    // The second preview starts from the snapshot again: green, not blue.
    for (int e = 0; e < 2; ++e)
      for (int c = 0; c < 16; ++c)
        QCOMPARE(data.image(e, c), imageOf(2, 1, {0xFF00FF00u, kBlankPixel}));
    QCOMPARE(data.snapshot().images[1][15], imageOf(2, 1, {0xFFFF0000u, kBlankPixel}));
  }

  void changeColorationFollowsTheScope()
  {
    CharacterData data = makeCharacter(3, filled(2, 2, 0xFFFF0000u));
    data.setSelectedCells({1, 7});
    data.changeColoration(TslShift{0.f, 0.f, -100.f}, false, false);
    for (int e = 0; e < 3; ++e)
      for (int c = 0; c < 16; ++c)
        QCOMPARE(data.image(e, c), filled(2, 2, c == 1 || c == 7 ? 0xFF000000u : 0xFFFF0000u));
    QVERIFY(data.selectedElements().empty());
  }

  void changeColorationWithoutSnapshotCellsChangesNothing()
  {
    CharacterData data = makeCharacter(1, filled(2, 2, 0xFFFF0000u));
    data.changeColoration(TslShift{120.f, 0.f, 0.f}, false, true);
    QCOMPARE(data.image(0, 0), filled(2, 2, 0xFFFF0000u));

    // A snapshot whose cell images are smaller than the document's.
    data.saveSnapshot();
    data.setImage(filled(4, 4, 0xFFFF0000u), 0, 0);
    data.changeColoration(TslShift{120.f, 0.f, 0.f}, false, true);
    QCOMPARE(word(data.image(0, 0), 1, 1), 0xFF00FF00u);
    QCOMPARE(word(data.image(0, 0), 3, 3), 0xFFFF0000u);
  }
};

SK_TEST_MAIN(TestColourShift)
#include "test_colourshift.moc"
