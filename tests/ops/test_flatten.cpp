#include "model/CharacterData.h"
#include "core/BlendImage.h"
#include "core/CropTransparent.h"
#include "tests/TestMain.h"

namespace {

QImage filled(int w, int h, uint32_t word, QImage::Format format = QImage::Format_ARGB32)
{
  QImage img(w, h, format);
  img.fill(word);
  return img;
}

// Adds one element whose every cell holds image at offset.
void addElement(CharacterData& doc, const QImage& image, QPoint offset = QPoint(), bool visible = true)
{
  doc.images().push_back(std::vector<QImage>(doc.cellCount(), image));
  doc.offsets().push_back(std::vector<QPoint>(doc.cellCount(), offset));
  doc.names().push_back("e");
  doc.sources().push_back("");
  doc.visibility().push_back(visible);
}

bool allWords(const QImage& img, uint32_t w)
{
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != w)
        return false;
  return true;
}

// The blend written straight from its definition, to hold the fast paths to it.
uint32_t referenceBlend(uint32_t s, uint32_t d)
{
  const int as = s >> 24, ad = d >> 24;
  const double ao = ad + (as * (255 - ad)) / 255.0;
  if (!(ao > 0))
    return d;
  const double kd = (ao - as) / ao, ks = as / ao;
  uint32_t out = uint32_t(int(ao)) << 24;
  for (int shift : {16, 8, 0}) {
    const int cd = (d >> shift) & 0xFF, cs = (s >> shift) & 0xFF;
    out |= (uint32_t(int(cd * kd + cs * ks)) & 0xFF) << shift;
  }
  return out;
}

} // namespace

class TestFlatten : public QObject
{
  Q_OBJECT

private slots:
  void blendPixel_data()
  {
    QTest::addColumn<uint>("src");
    QTest::addColumn<uint>("dst");
    QTest::addColumn<uint>("expected");
    QTest::newRow("half red over half blue") << 0x80FF0000u << 0x800000FFu << 0xBFAA0054u;
    QTest::newRow("transparent source keeps blank") << 0x00ABCDEFu << 0x00000013u << 0x00000013u;
    QTest::newRow("translucent over blank") << 0x40FFFFFFu << 0x00000013u << 0x40FFFFFFu;
    QTest::newRow("opaque replaces") << 0xFF123456u << 0x80ABCDEFu << 0xFF123456u;
    QTest::newRow("transparent over visible") << 0x00FFFFFFu << 0x80102030u << 0x80102030u;
  }

  void blendPixel()
  {
    QFETCH(uint, src);
    QFETCH(uint, dst);
    QFETCH(uint, expected);
    QImage d = filled(1, 1, dst);
    blendImage(d, 0, 0, filled(1, 1, src), 0, 0, 1, 1);
    QCOMPARE(uint(d.pixel(0, 0)), expected);
  }

  void blendMatchesItsDefinitionEverywhere()
  {
    // A sweep over alphas and channels catches any fast path that drifts
    // from the double-precision rule by one unit.
    const int alphas[] = {0, 1, 2, 64, 127, 128, 200, 254, 255};
    const int channels[] = {0, 1, 19, 128, 254, 255};
    QImage src(int(std::size(alphas)) * int(std::size(channels)), int(std::size(alphas)), QImage::Format_ARGB32);
    QImage dst = src;
    for (int y = 0; y < src.height(); ++y)
      for (int x = 0; x < src.width(); ++x) {
        const int as = alphas[x % std::size(alphas)], ad = alphas[y];
        const int c = channels[x / std::size(alphas)];
        src.setPixel(x, y, qRgba(c, 255 - c, c / 2, as));
        dst.setPixel(x, y, qRgba(255 - c, c / 3, c, ad));
      }
    QImage out = dst;
    blendImage(out, 0, 0, src, 0, 0, src.width(), src.height());
    for (int y = 0; y < src.height(); ++y)
      for (int x = 0; x < src.width(); ++x)
        QCOMPARE(uint(out.pixel(x, y)), uint(referenceBlend(src.pixel(x, y), dst.pixel(x, y))));
  }

  void blendLeavesSharedSourceAndOutsideAlone()
  {
    QImage src = filled(4, 4, 0xFF00FF00u);
    QImage dst = filled(4, 4, kBlankPixel);
    QImage alias = dst;
    blendImage(dst, 1, 1, src, 0, 0, 2, 2);
    QVERIFY(allWords(alias, kBlankPixel)); // the shared copy is not written
    QCOMPARE(uint(dst.pixel(1, 1)), 0xFF00FF00u);
    QCOMPARE(uint(dst.pixel(3, 3)), uint(kBlankPixel));
    blendImage(dst, 0, 0, src, 0, 0, 0, 4); // empty block
    QCOMPARE(uint(dst.pixel(0, 0)), uint(kBlankPixel));
  }

  void blankSheets_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("withHiddenElement");
    QTest::newRow("no element") << 0 << false;
    QTest::newRow("all hidden") << 0 << true;
    QTest::newRow("unknown layout") << 2 << false;
  }

  void blankSheets()
  {
    QFETCH(int, type);
    QFETCH(bool, withHiddenElement);
    CharacterData doc(type, QSize(128, 192));
    if (withHiddenElement)
      addElement(doc, filled(32, 48, 0xFFFF0000u), QPoint(), false);
    else if (type == 2)
      addElement(doc, filled(32, 48, 0xFFFF0000u));
    QImage flat = doc.flattenImage();
    QCOMPARE(flat.size(), QSize(128, 192));
    QCOMPARE(flat.format(), QImage::Format_ARGB32);
    QVERIFY(allWords(flat, kBlankPixel));
    QVERIFY(allWords(doc.lastFlatten(), kBlankPixel));
    QCOMPARE(doc.toImage().size(), QSize(128, 192));
  }

  void leftoverColumnsStayBlank()
  {
    CharacterData doc(0, QSize(130, 192));
    addElement(doc, filled(40, 48, 0xFFFF0000u));
    QImage flat = doc.flattenImage();
    QCOMPARE(uint(flat.pixel(127, 10)), 0xFFFF0000u);
    QCOMPARE(uint(flat.pixel(128, 10)), uint(kBlankPixel));
    QCOMPARE(uint(flat.pixel(129, 191)), uint(kBlankPixel));
  }

  void clipping()
  {
    CharacterData doc(0, QSize(128, 192));
    addElement(doc, filled(10, 10, 0xFF0000FFu), QPoint(32, 0));
    QVERIFY(allWords(doc.flattenImage(), kBlankPixel)); // offset one cell wide: nothing shows

    doc.setDrawBeyondBorders(true);
    QImage spilled = doc.flattenImage();
    QCOMPARE(uint(spilled.pixel(32, 0)), 0xFF0000FFu);  // cell 0 spills into cell 1
    QCOMPARE(uint(spilled.pixel(127, 9)), uint(kBlankPixel)); // cell 3 spills off the sheet
    QCOMPARE(uint(spilled.pixel(0, 0)), uint(kBlankPixel));

    CharacterData neg(0, QSize(128, 192));
    addElement(neg, filled(10, 10, 0xFF0000FFu), QPoint(-6, -8));
    neg.setDrawBeyondBorders(true);
    QImage flat = neg.flattenImage();
    QCOMPARE(uint(flat.pixel(3, 1)), 0xFF0000FFu);
    QCOMPARE(uint(flat.pixel(4, 1)), uint(kBlankPixel));
    QCOMPARE(uint(flat.pixel(3, 2)), uint(kBlankPixel));
  }

  void stackingAndOnlySelection()
  {
    CharacterData doc(0, QSize(128, 192));
    addElement(doc, filled(32, 48, 0xFF0000FFu));
    addElement(doc, filled(32, 48, 0xFFFF0000u));
    addElement(doc, filled(32, 48, 0xFF00FF00u), QPoint(), false);
    QCOMPARE(uint(doc.flattenImage().pixel(5, 5)), 0xFFFF0000u); // top visible element wins

    doc.setOnlySelection(true);
    doc.setSelectedElements({0});
    doc.setSelectedCells({1});
    QImage flat = doc.flattenImage();
    QCOMPARE(uint(flat.pixel(5, 5)), 0xFF0000FFu);       // cell 0: only element 0
    QCOMPARE(uint(flat.pixel(32 + 5, 5)), 0xFFFF0000u);  // cell 1: both, element 1 on top
    doc.setSelectedElements({});
    doc.setSelectedCells({});
    QVERIFY(allWords(doc.flattenImage(), kBlankPixel));
  }

  void bandsMatchOneSequentialPass_data()
  {
    QTest::addColumn<bool>("beyond");
    QTest::newRow("clip to cell") << false;
    QTest::newRow("clip to sheet") << true;
  }

  // Enough layers to make the flattening split the sheet across threads; the
  // result must equal laying every cell in order on one thread.
  void bandsMatchOneSequentialPass()
  {
    QFETCH(bool, beyond);
    CharacterData doc(0, QSize(128, 192));
    uint32_t state = 7;
    auto next = [&] { state = state * 1664525u + 1013904223u; return state >> 8; };
    for (int e = 0; e < 40; ++e) {
      QImage img(20 + int(next() % 30), 30 + int(next() % 40), QImage::Format_ARGB32);
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
          img.setPixel(x, y, (uint32_t(next() % 4 == 0 ? 0 : next() % 256) << 24) | (next() & 0xFFFFFF));
      addElement(doc, img, QPoint(int(next() % 21) - 10, int(next() % 21) - 10));
    }
    doc.setDrawBeyondBorders(beyond);
    QImage expected(128, 192, QImage::Format_ARGB32);
    expected.fill(kBlankPixel);
    for (int e = 0; e < doc.elementCount(); ++e)
      for (int c = 0; c < 16; ++c) {
        const QImage& img = doc.image(e, c);
        const QPoint corner = doc.cellOrigin(c) + doc.offset(e, c);
        const QRect clip = beyond ? QRect(0, 0, 128, 192) : QRect(doc.cellOrigin(c), QSize(32, 48));
        const QRect r = clip.intersected(QRect(corner, img.size()));
        if (!r.isEmpty())
          blendImage(expected, r.x(), r.y(), img, r.x() - corner.x(), r.y() - corner.y(), r.width(), r.height());
      }
    QCOMPARE(doc.flattenImage(), expected);
  }

  void crop_data()
  {
    QTest::addColumn<QImage>("input");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("shift");
    QImage one = filled(10, 10, kBlankPixel);
    one.setPixel(5, 7, 0x01000000u);
    QTest::newRow("single pixel") << one << QSize(1, 1) << QPoint(5, 7);
    QImage lastRow = filled(10, 10, 0x00000000u);
    lastRow.setPixel(2, 9, 0xFF000000u);
    lastRow.setPixel(6, 9, 0xFF000000u);
    QTest::newRow("last row, zero words trimmed too") << lastRow << QSize(5, 1) << QPoint(2, 9);
    QTest::newRow("nothing visible") << filled(6, 4, kBlankPixel) << QSize(6, 4) << QPoint(0, 0);
    QTest::newRow("full") << filled(6, 4, 0xFF000000u) << QSize(6, 4) << QPoint(0, 0);
    QTest::newRow("rgb32 input") << filled(3, 2, 0xFF102030u, QImage::Format_RGB32) << QSize(3, 2) << QPoint(0, 0);
    QTest::newRow("empty") << QImage() << QSize(0, 0) << QPoint(0, 0);
  }

  void crop()
  {
    QFETCH(QImage, input);
    QFETCH(QSize, size);
    QFETCH(QPoint, shift);
    QImage img = input;
    QPoint got(99, 99);
    cropTransparent(img, got);
    QCOMPARE(got, shift);
    QCOMPARE(img.size(), size);
    if (!img.isNull()) {
      QCOMPARE(img.format(), QImage::Format_ARGB32);
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
          QCOMPARE(img.pixel(x, y), input.convertToFormat(QImage::Format_ARGB32).pixel(x + shift.x(), y + shift.y()));
    }
  }
};

SK_TEST_MAIN(TestFlatten)
#include "test_flatten.moc"
