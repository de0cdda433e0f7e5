#include "model/CharacterData.h"
#include "core/GradientSettings.h"
#include "tests/TestMain.h"

namespace {

QImage filled(int w, int h, uint32_t word)
{
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(word);
  return img;
}

// A document of n elements whose cell c of element e is a 1x1 image holding
// the word (e << 8 | c) | 0xFF000000 at offset (e, c).
CharacterData numbered(int type, int n)
{
  CharacterData doc(type, QSize(0, 0));
  std::vector<std::vector<QImage>> images;
  std::vector<std::vector<QPoint>> offsets;
  for (int e = 0; e < n; ++e) {
    std::vector<QImage> im;
    std::vector<QPoint> of;
    for (int c = 0; c < doc.cellCount(); ++c) {
      im.push_back(filled(1, 1, 0xFF000000u | uint32_t(e << 8 | c)));
      of.push_back(QPoint(e, c));
    }
    images.push_back(im);
    offsets.push_back(of);
  }
  doc.setImages(images);
  doc.setOffsets(offsets);
  doc.setElementNames(std::vector<std::string>(n, "x"));
  doc.setElementSources(std::vector<std::string>(n, ""));
  doc.setVisibility(std::vector<bool>(n, true));
  return doc;
}

uint32_t word(const QImage& img)
{
  return img.pixel(0, 0);
}

} // namespace

class TestCharacterData : public QObject
{
  Q_OBJECT

private slots:
  void construction()
  {
    QCOMPARE(CharacterData(0, QSize(0, 0)).size(), QSize(128, 192));
    QCOMPARE(CharacterData(1, QSize(0, 0)).size(), QSize(96, 128));
    QCOMPARE(CharacterData(1, QSize()).size(), QSize(-1, -1));
    CharacterData d;
    QCOMPARE(d.backgroundPixel(), 19);
    QCOMPARE(d.zoom(), 1.0);
    QVERIFY(d.isGridShown());
    QVERIFY(!d.drawsBeyondBorders());
    QCOMPARE(d.type(), (signed char)0);
    QCOMPARE(d.snapshot().size, QSize(-1, -1));
  }

  void cellSize_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<QSize>("sheet");
    QTest::addColumn<QSize>("cell");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSize>("zoomed");
    QTest::newRow("xp 130x190") << 0 << QSize(130, 190) << QSize(32, 47) << 1.5 << QSize(195, 285);
    QTest::newRow("vx 100x128") << 1 << QSize(100, 128) << QSize(33, 32) << 0.33 << QSize(33, 42);
    QTest::newRow("xp 128x192") << 0 << QSize(128, 192) << QSize(32, 48) << 0.333 << QSize(42, 63);
    QTest::newRow("other layout") << 2 << QSize(128, 192) << QSize(0, 0) << 1.0 << QSize(128, 192);
  }

  void cellSize()
  {
    QFETCH(int, type);
    QFETCH(QSize, sheet);
    QFETCH(QSize, cell);
    QFETCH(double, zoom);
    QFETCH(QSize, zoomed);
    CharacterData d(type, sheet);
    d.setZoom(zoom);
    QCOMPARE(d.cellSize(), cell);
    QCOMPARE(d.zoomedSize(), zoomed);
  }

  void setSizeKeepsCellsCentred()
  {
    CharacterData d = numbered(0, 2);
    d.setSize(QSize(160, 192), true);
    QCOMPARE(d.size(), QSize(160, 192));
    QCOMPARE(d.offset(1, 3), QPoint(1 + 4, 3));
    d.setSize(QSize(128, 192), true);
    QCOMPARE(d.offset(1, 3), QPoint(1, 3));
    d.setSize(QSize(160, 200), false);
    QCOMPARE(d.offset(1, 3), QPoint(1, 3));
    QCOMPARE(d.size(), QSize(160, 200));
  }

  void selection()
  {
    CharacterData xp = numbered(0, 5);
    xp.setSelectedCells({5, 3, 7});
    xp.toggleCell(3);
    QCOMPARE(xp.selectedCells(), (std::vector<int>{5, 7}));
    xp.toggleCell(3);
    QCOMPARE(xp.selectedCells(), (std::vector<int>{5, 7, 3}));
    xp.selectAllCells();
    QCOMPARE(xp.selectedCellCount(), 16);
    QCOMPARE(xp.selectedCell(15), 15);

    xp.setSelectedElements({4, 1, 4, 9});
    xp.sortSelectedElements();
    QCOMPARE(xp.selectedElements(), (std::vector<int>{1, 4}));
    xp.invertElementSelection();
    QCOMPARE(xp.selectedElements(), (std::vector<int>{0, 2, 3}));
    QVERIFY(xp.isElementSelected(2));
    QVERIFY(!xp.isElementSelected(1));

    CharacterData vx = numbered(1, 1);
    vx.setSelectedCells({0, 2});
    vx.invertCellSelection();
    QCOMPARE(vx.selectedCells(), (std::vector<int>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  }

  void byteSumTakesBytesAsSigned()
  {
    QCOMPARE(byteSum(""), 0);
    QCOMPARE(byteSum("AB"), 65 + 66);
    QCOMPARE(byteSum("\xC3\xA9t\xC3\xA9"), 2 * (-61 - 87) + 116); // "été" in UTF-8
    QCOMPARE(byteSum(nullptr), 0);
  }

  void copiesCarryTheDocumentOnly()
  {
    CharacterData a = numbered(0, 2);
    a.setListUpdatePending(true);
    a.setBackgroundPixel(0x12345678);
    a.saveSnapshot();
    a.errorMessage() = "erreur";
    a.flattenImage();

    CharacterData copy(a);
    QVERIFY(!copy.isListUpdatePending());
    QVERIFY(copy.snapshot().images.empty());
    QCOMPARE(copy.snapshot().size, QSize(-1, -1));
    QVERIFY(copy.errorMessage().empty());
    QCOMPARE(copy.backgroundPixel(), 0x12345678);
    QCOMPARE(copy.lastFlatten().size(), QSize(128, 192));
    QCOMPARE(copy.elementCount(), 2);

    CharacterData target;
    target.errorMessage() = "mien";
    target.saveSnapshot();
    target = a;
    QCOMPARE(target.errorMessage(), std::string("mien"));
    QCOMPARE(target.elementCount(), 2);
    QCOMPARE(target.backgroundPixel(), 0x12345678);
    QCOMPARE(target.lastFlatten().size(), QSize(0, 0)); // keeps its own cache
  }

  void conversion_data()
  {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("newWidth");
    QTest::addColumn<std::vector<int>>("cellsOfRow1");
    QTest::newRow("xp to vx") << 0 << 128 << 96 << std::vector<int>{5, 4, 7};
    QTest::newRow("xp 130") << 0 << 130 << 97 << std::vector<int>{5, 4, 7};
    QTest::newRow("vx to xp") << 1 << 97 << 129 << std::vector<int>{4, 3, 4, 5};
  }

  void conversion()
  {
    QFETCH(int, from);
    QFETCH(int, width);
    QFETCH(int, newWidth);
    QFETCH(std::vector<int>, cellsOfRow1);
    CharacterData d = numbered(from, 2);
    d.setSize(QSize(width, 192), false);
    d.setSelectedCells({1, 2});
    d.setSelectedElements({1});
    if (from == 0)
      d.convertXPtoVX();
    else
      d.convertVXtoXP();
    QCOMPARE(int(d.type()), 1 - from);
    QCOMPARE(d.size(), QSize(newWidth, 192));
    QVERIFY(d.selectedCells().empty());
    QCOMPARE(d.selectedElements(), std::vector<int>{1});
    QCOMPARE(int(d.images(1).size()), from == 0 ? 12 : 16);
    const int columns = from == 0 ? 3 : 4;
    for (int k = 0; k < columns; ++k) {
      const int c = columns + k;
      QCOMPARE(word(d.image(1, c)), 0xFF000000u | uint32_t(1 << 8 | cellsOfRow1[k]));
      QCOMPARE(d.offset(1, c), QPoint(1, cellsOfRow1[k]));
    }
  }

  void conversionCopiesAreIndependent()
  {
    CharacterData d = numbered(1, 1);
    d.convertVXtoXP();
    d.image(0, 0).setPixel(0, 0, 0xFF00FF00u); // cells 0 and 2 both come from old cell 1
    QCOMPARE(word(d.image(0, 2)), 0xFF000001u);
  }

  void conversionOnWrongLayoutChangesNothing()
  {
    CharacterData vx = numbered(1, 1);
    vx.setSelectedCells({2});
    vx.convertXPtoVX();
    QCOMPARE(vx.size(), QSize(96, 128));
    QCOMPARE(vx.selectedCells(), std::vector<int>{2});
    CharacterData xp = numbered(0, 1);
    xp.setSelectedCells({2});
    xp.convertVXtoXP();
    QCOMPARE(xp.size(), QSize(128, 192));
    QCOMPARE(int(xp.images(0).size()), 16);
    QCOMPARE(xp.selectedCells(), std::vector<int>{2});
  }

  void gradientSettingsCopy()
  {
    GradientSettings radial;
    radial.type = GradientSettings::Radial;
    radial.geometry = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
    GradientSettings linear;
    linear.type = GradientSettings::Linear;
    linear.geometry = {1, 2, 3, 4};
    linear = radial;
    QCOMPARE(linear.geometry, radial.geometry);

    GradientSettings shortRadial;
    shortRadial.type = GradientSettings::Radial;
    shortRadial.geometry = {1, 2, 3, 4};
    GradientSettings padded(shortRadial);
    QCOMPARE(padded.geometry, (std::vector<double>{1, 2, 3, 4, 0, 0}));

    GradientSettings empty;
    padded = empty;
    QVERIFY(padded.geometry.empty());

    GradientSettings& self = radial;
    radial = self;
    QCOMPARE(radial.geometry, (std::vector<double>{0.1, 0.2, 0.3, 0.4, 0.5, 0.6}));
  }
};

SK_TEST_MAIN(TestCharacterData)
#include "test_characterdata.moc"
