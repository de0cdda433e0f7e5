#include "tests/TestMain.h"

#include "model/CharacterData.h"

#include <QPainter>

namespace {

QImage filled(int w, int h, uint32_t word)
{
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(word);
  return img;
}

// A document with one blank drawing element.
CharacterData oneElement(int type = XP)
{
  CharacterData doc(type, QSize(0, 0));
  doc.addElementFromImageFile("");
  return doc;
}

int countWords(const QImage& img, uint32_t word)
{
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    const uint32_t* p = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      n += p[x] == word;
  }
  return n;
}

const uint32_t kBlack = 0xFF000000u;
const uint32_t kWhite = 0xFFFFFFFFu;

} // namespace

Q_DECLARE_METATYPE(std::vector<int>)

class TestRender : public QObject
{
  Q_OBJECT

private slots:
  void zoomSize_data()
  {
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("1") << 1.0 << QSize(128, 192);
    QTest::newRow("1.5") << 1.5 << QSize(192, 288);
    QTest::newRow("0.333") << 0.333 << QSize(42, 63);
    QTest::newRow("4") << 4.0 << QSize(512, 768);
    QTest::newRow("0") << 0.0 << QSize(128, 192);
    QTest::newRow("negative") << -2.0 << QSize(128, 192);
    QTest::newRow("width truncates to 0") << 0.005 << QSize(128, 192);
    QTest::newRow("absurd") << 1e12 << QSize(128, 192);
  }
  void zoomSize()
  {
    QFETCH(double, zoom);
    QFETCH(QSize, expected);
    CharacterData doc = oneElement();
    doc.setZoom(zoom);
    QPixmap out;
    doc.renderPixmap(out);
    QCOMPARE(out.size(), expected);
    QCOMPARE(doc.lastRender().size(), expected);
    QCOMPARE(doc.render().size(), expected);
  }

  // The fill word survives the zoom exactly, and so does every faint pixel:
  // the pipette reads these words back.
  void zoomKeepsWords_data()
  {
    QTest::addColumn<double>("zoom");
    QTest::newRow("1") << 1.0;
    QTest::newRow("3") << 3.0;
    QTest::newRow("0.5") << 0.5;
    QTest::newRow("1.5") << 1.5;
  }
  void zoomKeepsWords()
  {
    QFETCH(double, zoom);
    CharacterData doc = oneElement();
    doc.setGridShown(false);
    doc.setZoom(zoom);
    QImage cell = filled(32, 48, 0x01020304u);
    doc.setImage(cell, 0, 0);
    const QImage picture = doc.renderImage(kBlankPixel);
    const int zw = picture.width(), zh = picture.height();
    const int cellPixels = countWords(picture, 0x01020304u);
    QCOMPARE(cellPixels + countWords(picture, kBlankPixel), zw * zh);
    QCOMPARE(cellPixels, (zw / 4) * (zh / 4));
  }

  void nearestPixels()
  {
    CharacterData doc = oneElement();
    doc.setGridShown(false);
    doc.setZoom(3.0);
    QImage cell = filled(2, 1, 0xFFFF0000u);
    cell.setPixel(1, 0, 0xFF00FF00u);
    doc.setImage(cell, 0, 5); // sheet (32, 48) and (33, 48)
    const QImage p = doc.renderImage(kBlankPixel);
    for (int y = 144; y < 147; ++y) {
      for (int x = 96; x < 99; ++x)
        QCOMPARE(p.pixel(x, y), 0xFFFF0000u);
      for (int x = 99; x < 102; ++x)
        QCOMPARE(p.pixel(x, y), 0xFF00FF00u);
      QCOMPARE(p.pixel(102, y), uint(kBlankPixel));
    }
    QCOMPARE(p.pixel(96, 147), uint(kBlankPixel));
  }

  void fill_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("withElement");
    QTest::addColumn<std::vector<int>>("cells");
    QTest::newRow("no elements") << int(XP) << false << std::vector<int>{};
    QTest::newRow("blank element") << int(XP) << true << std::vector<int>{};
    // Nothing is laid and nothing framed on a layout without cells.
    QTest::newRow("other layout") << 2 << true << std::vector<int>{0};
  }
  void fill()
  {
    QFETCH(int, type);
    QFETCH(bool, withElement);
    QFETCH(std::vector<int>, cells);
    CharacterData doc(type, QSize(128, 192));
    if (withElement) {
      doc.addElementFromImageFile("");
      if (type != XP && type != VX) { // the layout has no cells: lend it some
        doc.setCellImages(std::vector<QImage>(12, filled(32, 48, kBlack)), 0);
        doc.setCellOffsets(std::vector<QPoint>(12), 0);
      }
    }
    doc.setGridShown(false);
    doc.setSelectedCells(cells);
    QCOMPARE(countWords(doc.renderImage(kBlankPixel), kBlankPixel), 128 * 192);
    doc.setBackgroundPixel(int(0xFF112233u));
    doc.render();
    QCOMPARE(countWords(doc.lastRender(), 0xFF112233u), 128 * 192);
    QPixmap pm;
    doc.renderPixmap(pm);
    QCOMPARE(countWords(doc.lastRender(), 0xFF112233u), 128 * 192);
    // renderTo always fills with the blank word.
    QImage target(128, 192, QImage::Format_ARGB32);
    target.fill(0xFFFFFFFFu);
    {
      QPainter p(&target);
      doc.renderTo(&p);
    }
    QCOMPARE(countWords(doc.lastRender(), kBlankPixel), 128 * 192);
    QCOMPARE(target.pixel(5, 5), 0xFFFFFFFFu); // a transparent picture over white
  }

  void sameLastRender()
  {
    CharacterData doc = oneElement();
    doc.setImage(filled(5, 5, 0x80336699u), 0, 3);
    doc.setSelectedCells({3, 9});
    doc.setZoom(2.0);
    const QImage fromRender = (doc.render(), doc.lastRender());
    QPixmap pm;
    doc.renderPixmap(pm);
    const QImage fromPixmap = doc.lastRender();
    doc.renderTo(nullptr);
    QCOMPARE(fromRender, fromPixmap);
    QCOMPARE(doc.lastRender(), fromRender);
    QCOMPARE(fromRender.format(), QImage::Format_ARGB32);
  }

  void elementsLaid()
  {
    CharacterData doc = oneElement();
    doc.addElementFromImageFile("");
    doc.setGridShown(false);
    doc.setImage(filled(40, 2, 0xFF0000FFu), 0, 1); // wider than its cell
    doc.setOffset(QPoint(10, 4), 0, 1);
    doc.setImage(filled(1, 1, 0xFFFF0000u), 1, 1);
    doc.setOffset(QPoint(12, 4), 1, 1);
    QImage p = doc.renderImage(kBlankPixel);
    QCOMPARE(p.pixel(32 + 10, 4), 0xFF0000FFu);
    QCOMPARE(p.pixel(32 + 12, 4), 0xFFFF0000u); // higher element on top
    QCOMPARE(p.pixel(63, 4), 0xFF0000FFu);
    QCOMPARE(p.pixel(64, 4), uint(kBlankPixel)); // cut at the cell's edge
    doc.setDrawBeyondBorders(true);
    p = doc.renderImage(kBlankPixel);
    QCOMPARE(p.pixel(64, 4), 0xFF0000FFu);
    QCOMPARE(p.pixel(32 + 49, 4), 0xFF0000FFu);
    doc.setVisible(false, 0);
    p = doc.renderImage(kBlankPixel);
    QCOMPARE(p.pixel(32 + 10, 4), uint(kBlankPixel));
    QCOMPARE(p.pixel(32 + 12, 4), 0xFFFF0000u);
  }

  // Cells emptied by a resize or a rotation are 0x0 images.
  void emptyCellImages()
  {
    CharacterData doc = oneElement();
    for (int c = 0; c < 16; ++c)
      doc.setImage(QImage(), 0, c);
    doc.setOffset(QPoint(-5, 7), 0, 2);
    doc.setGridShown(false);
    QCOMPARE(countWords(doc.renderImage(kBlankPixel), kBlankPixel), 128 * 192);
    doc.setDrawBeyondBorders(true);
    QCOMPARE(countWords(doc.renderImage(kBlankPixel), kBlankPixel), 128 * 192);
  }

  void nullSheet()
  {
    CharacterData doc(XP, QSize(0, 192));
    doc.setZoom(2.0);
    QVERIFY(doc.render().isNull());
    QVERIFY(doc.lastRender().isNull());
  }

  // Every black pixel of the grid lies on one of its lines, and every line
  // holds some.
  void grid_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<QSize>("sheet");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<std::vector<int>>("rows");
    QTest::addColumn<std::vector<int>>("columns");
    QTest::newRow("XP 192x288") << int(XP) << QSize(128, 192) << 1.5 << std::vector<int>{72, 144, 216}
                                << std::vector<int>{48, 96, 144};
    QTest::newRow("VX 96x128") << int(VX) << QSize(96, 128) << 1.0 << std::vector<int>{32, 64, 96}
                               << std::vector<int>{32, 64};
    QTest::newRow("other layout") << 2 << QSize(96, 128) << 1.0 << std::vector<int>{32, 64, 96}
                                  << std::vector<int>{};
  }
  void grid()
  {
    QFETCH(int, type);
    QFETCH(QSize, sheet);
    QFETCH(double, zoom);
    QFETCH(std::vector<int>, rows);
    QFETCH(std::vector<int>, columns);
    CharacterData doc(type, sheet);
    doc.setZoom(zoom);
    const QImage p = doc.renderImage(kBlankPixel);
    std::vector<int> blackRows(p.height()), blackColumns(p.width());
    for (int y = 0; y < p.height(); ++y)
      for (int x = 0; x < p.width(); ++x) {
        const uint32_t w = p.pixel(x, y);
        QVERIFY(w == kBlack || w == kBlankPixel);
        if (w == kBlack) {
          const bool onRow = std::find(rows.begin(), rows.end(), y) != rows.end();
          const bool onColumn = std::find(columns.begin(), columns.end(), x) != columns.end();
          QVERIFY2(onRow || onColumn, qPrintable(QString("stray black at %1,%2").arg(x).arg(y)));
          ++blackRows[y];
          ++blackColumns[x];
        }
      }
    for (int y : rows)
      QVERIFY(blackRows[y] > p.width() / 2); // dashed, not solid
    for (int x : columns)
      QVERIFY(blackColumns[x] > p.height() / 2);
    QCOMPARE(p.pixel(4, rows[0]), uint(kBlankPixel)); // the first gap of the dashes
  }

  void frames()
  {
    CharacterData doc;
    doc.setGridShown(false);
    doc.setSelectedCells({5});
    const QImage p = doc.renderImage(kBlankPixel);
    QCOMPARE(p.pixel(32, 48), kBlack);
    QCOMPARE(p.pixel(63, 95), kBlack);
    QCOMPARE(p.pixel(32, 70), kBlack);
    QCOMPARE(p.pixel(34, 70), kWhite);
    QCOMPARE(p.pixel(35, 70), kBlack);
    QCOMPARE(p.pixel(36, 70), uint(kBlankPixel)); // the cell's inside
    QCOMPARE(p.pixel(31, 47), uint(kBlankPixel));
    QCOMPARE(p.pixel(64, 96), uint(kBlankPixel));
    // Nothing outside cell 5's square is touched.
    int outside = 0;
    for (int y = 0; y < 192; ++y)
      for (int x = 0; x < 128; ++x)
        if ((x < 32 || x > 63 || y < 48 || y > 95) && p.pixel(x, y) != kBlankPixel)
          ++outside;
    QCOMPARE(outside, 0);

    // A frame per entry draws the same picture; a cell the layout lacks
    // leaves no trace.
    doc.setSelectedCells({5, 5, 40});
    QCOMPARE(doc.renderImage(kBlankPixel), p);
  }

  // The grid and frames are painted through a premultiplied view of the
  // picture; they must come out as painting on the picture itself would.
  void paintedAsOnThePicture_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("zoom");
    QTest::newRow("XP 1") << int(XP) << 1.0;
    QTest::newRow("XP 1.5") << int(XP) << 1.5;
    QTest::newRow("XP 4") << int(XP) << 4.0;
    QTest::newRow("VX 0.7") << int(VX) << 0.7;
    QTest::newRow("VX 3") << int(VX) << 3.0;
  }
  void paintedAsOnThePicture()
  {
    QFETCH(int, type);
    QFETCH(double, zoom);
    CharacterData doc = oneElement(type);
    const QSize cell = doc.cellSize();
    for (int c = 0; c < doc.cellCount(); ++c)
      doc.setImage(filled(cell.width(), cell.height(), c % 2 ? 0x80FF8040u : 0x01020304u), 0, c);
    doc.setZoom(zoom);
    doc.setGridShown(false);
    QImage expected = doc.renderImage(kBlankPixel);
    {
      QPainter p(&expected);
      const int w = expected.width(), h = expected.height();
      const int columns = type == XP ? 4 : 3;
      p.setPen(QPen(QBrush(QColor(0, 0, 0, 255), Qt::SolidPattern), 1.0, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin));
      for (int k = 1; k <= 3; ++k)
        p.drawLine(QLine(0, k * (h / 4), w, k * (h / 4)));
      for (int k = 1; k < columns; ++k)
        p.drawLine(QLine(k * (w / columns), 0, k * (w / columns), h));
      const int cw = w / columns, ch = h / 4;
      for (int c : {0, 5, 10, 11}) {
        const int x = (c % columns) * cw, y = (c / columns) * ch;
        const QRect a(QPoint(x, y), QPoint(x + cw - 2, y + ch - 2));
        const QRect b(QPoint(x + 3, y + 3), QPoint(x + cw - 5, y + ch - 5));
        const QRect m(QPoint(x + 2, y + 2), QPoint(x + cw - 3, y + ch - 3));
        p.setPen(QPen(QBrush(QColor(0, 0, 0, 255), Qt::SolidPattern), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        p.drawRects(&a, 1);
        p.drawRects(&b, 1);
        p.setPen(QPen(QBrush(QColor(255, 255, 255, 255), Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        p.drawRects(&m, 1);
      }
    }
    doc.setGridShown(true);
    doc.setSelectedCells({0, 5, 10, 11});
    const QImage actual = doc.renderImage(kBlankPixel);
    QCOMPARE(actual.format(), QImage::Format_ARGB32);
    QCOMPARE(actual, expected);
    QCOMPARE(countWords(actual, 0x01020304u) > 0, true);
  }
};

SK_TEST_MAIN(TestRender)
#include "test_render.moc"
