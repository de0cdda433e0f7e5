#include "tests/TestMain.h"

#include "model/CharacterData.h"

#include <QSet>

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlue = 0xFF0000FFu;

// An XP character of `elements` elements whose 16 cells are blank 32x48
// images at (0, 0).
CharacterData makeDoc(int elements = 1)
{
  CharacterData doc(XP, QSize(128, 192));
  QImage blank(32, 48, QImage::Format_ARGB32);
  blank.fill(kBlankPixel);
  for (int e = 0; e < elements; ++e) {
    doc.names().push_back("Elément " + std::to_string(e + 1));
    doc.sources().push_back(std::string());
    doc.visibility().push_back(true);
    doc.images().push_back(std::vector<QImage>(16, blank));
    doc.offsets().push_back(std::vector<QPoint>(16, QPoint(0, 0)));
  }
  return doc;
}

DrawScope scopeOf(int scope, std::vector<int> elements = {0}, unsigned char cell = 0)
{
  DrawScope s;
  s.scope = scope;
  s.elements = std::move(elements);
  s.cell = cell;
  return s;
}

PenSettings penOf(int size, int shape = 0, QColor color = QColor(255, 0, 0))
{
  PenSettings p;
  p.size = size;
  p.shape = shape;
  p.color = color;
  return p;
}

uint32_t pixel(const QImage& image, int x, int y)
{
  return reinterpret_cast<const uint32_t*>(image.constScanLine(y))[x];
}

// Every pixel that is not blank, as points.
QSet<QPoint> painted(const QImage& image)
{
  QSet<QPoint> out;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (pixel(image, x, y) != kBlankPixel)
        out.insert(QPoint(x, y));
  return out;
}

QSet<QPoint> block(int x, int y, int w, int h)
{
  QSet<QPoint> out;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      out.insert(QPoint(i, j));
  return out;
}

GradientHolder styleOf(int paintMode, int fillMode, uint8_t type = 0)
{
  GradientHolder s;
  s.paintMode = paintMode;
  s.fillMode = fillMode;
  s.gradient.type = type;
  s.gradient.spread = 0;
  s.gradient.stops = {{0.0, QColor(0, 0, 0)}, {1.0, QColor(255, 255, 255)}};
  s.gradient.geometry = type == 1 ? std::vector<double>{0.5, 0.5, 0.5, 0.0, 0.5, 0.5} : std::vector<double>{0, 0, 1, 0};
  s.shapeColors = {QColor(kRed), QColor(kGreen)};
  return s;
}

} // namespace

Q_DECLARE_METATYPE(GradientHolder)

class TestDrawing : public QObject
{
  Q_OBJECT

private slots:
  void penFootprint_data();
  void penFootprint();
  void separateFootprintsLeaveGap();
  void strokeBeyondCellGrowsIt();
  void lineEndsBothWays_data();
  void lineEndsBothWays();
  void endingWithoutOpenStrokeChangesNothing();
  void zeroSizeOutsideCell();
  void scopes();
  void invalidTargetsAreSkipped();
  void rectangleFillModes_data();
  void rectangleFillModes();
  void ellipseStaysInsideItsRectangle();
  void transparentColourOnlyGrows();
  void mergedCellsStayArgb32();
  void radialShapeIsSqueezedSquare();
};

void TestDrawing::penFootprint_data()
{
  QTest::addColumn<int>("size");
  QTest::addColumn<int>("shape");
  QTest::addColumn<QSet<QPoint>>("expected");
  QTest::newRow("square 3") << 3 << 0 << block(9, 9, 3, 3);
  QTest::newRow("square 4, extra right and below") << 4 << 0 << block(8, 8, 4, 4);
  QTest::newRow("square 1") << 1 << 0 << block(10, 10, 1, 1);
  QTest::newRow("round 1 is one pixel") << 1 << 1 << block(10, 10, 1, 1);
  QTest::newRow("size 0 counts as 1") << 0 << 0 << block(10, 10, 1, 1);
  QTest::newRow("negative size counts as 1") << -4 << 1 << block(10, 10, 1, 1);
  QTest::newRow("unknown shape paints nothing") << 3 << 7 << QSet<QPoint>();
}

void TestDrawing::penFootprint()
{
  QFETCH(int, size);
  QFETCH(int, shape);
  QFETCH(QSet<QPoint>, expected);
  CharacterData doc = makeDoc();
  doc.setPen(penOf(size, shape));
  doc.beginPath(scopeOf(0));
  doc.addPenPoint(QPoint(10, 10));
  doc.endPath();
  const QImage& cell = doc.image(0, 0);
  QCOMPARE(cell.size(), QSize(32, 48));
  QCOMPARE(doc.offset(0, 0), QPoint(0, 0));
  QCOMPARE(painted(cell), expected);
  for (const QPoint& p : expected)
    QCOMPARE(pixel(cell, p.x(), p.y()), kRed);
}

void TestDrawing::separateFootprintsLeaveGap()
{
  CharacterData doc = makeDoc();
  doc.setPen(penOf(3));
  doc.beginPath(scopeOf(0));
  doc.addPenPoint(QPoint(10, 10));
  doc.addPenPoint(QPoint(20, 10));
  doc.endPath();
  QCOMPARE(painted(doc.image(0, 0)), block(9, 9, 3, 3) + block(19, 9, 3, 3));
  // The stroke's path is left translated to its own corner.
  QCOMPARE(doc.penPath().controlPointRect(), QRectF(0, 0, 13, 3));

  // Overlapping footprints of a translucent pen are painted once.
  doc = makeDoc();
  doc.setPen(penOf(3, 1, QColor(0, 0, 255, 128)));
  doc.beginPath(scopeOf(0));
  for (int x = 10; x < 14; ++x)
    doc.addPenPoint(QPoint(x, 10));
  doc.endPath();
  const QSet<QPoint> pts = painted(doc.image(0, 0));
  QVERIFY(pts.contains(QPoint(11, 10)));
  for (const QPoint& p : pts)
    QCOMPARE(pixel(doc.image(0, 0), p.x(), p.y()), 0x800000FFu);
}

void TestDrawing::strokeBeyondCellGrowsIt()
{
  CharacterData doc = makeDoc();
  QImage& cell = doc.image(0, 0);
  reinterpret_cast<uint32_t*>(cell.scanLine(5))[5] = kBlue;
  reinterpret_cast<uint32_t*>(cell.scanLine(6))[6] = 0x00ABCDEFu; // alpha 0, colour bits set
  reinterpret_cast<uint32_t*>(cell.scanLine(47))[31] = kGreen;
  doc.setPen(penOf(1));
  doc.beginPath(scopeOf(0));
  doc.addPenPoint(QPoint(-2, -2));
  doc.endPath();

  const QImage& grown = doc.image(0, 0);
  QCOMPARE(grown.size(), QSize(34, 50));
  QCOMPARE(grown.format(), QImage::Format_ARGB32);
  QCOMPARE(doc.offset(0, 0), QPoint(-2, -2));
  QCOMPARE(pixel(grown, 0, 0), kRed);
  QCOMPARE(pixel(grown, 7, 7), kBlue);
  QCOMPARE(pixel(grown, 33, 49), kGreen);
  QCOMPARE(pixel(grown, 8, 8), kBlankPixel);
  QCOMPARE(painted(grown), (QSet<QPoint>{{0, 0}, {7, 7}, {33, 49}}));
}

void TestDrawing::lineEndsBothWays_data()
{
  QTest::addColumn<QPoint>("a");
  QTest::addColumn<QPoint>("b");
  QTest::addColumn<int>("size");
  QTest::addColumn<QSet<QPoint>>("expected"); // empty: only compared both ways
  QSet<QPoint> diagonal;
  for (int i = 1; i <= 5; ++i)
    diagonal.insert(QPoint(i, i));
  QTest::newRow("diagonal") << QPoint(5, 5) << QPoint(1, 1) << 1 << diagonal;
  QTest::newRow("horizontal") << QPoint(9, 3) << QPoint(2, 3) << 1 << block(2, 3, 8, 1);
  QTest::newRow("vertical") << QPoint(4, 20) << QPoint(4, 12) << 1 << block(4, 12, 1, 9);
  QTest::newRow("single point") << QPoint(7, 7) << QPoint(7, 7) << 1 << block(7, 7, 1, 1);
  QTest::newRow("thick horizontal") << QPoint(12, 10) << QPoint(4, 10) << 3 << block(3, 9, 11, 3);
  QTest::newRow("steep") << QPoint(3, 30) << QPoint(9, 2) << 2 << QSet<QPoint>();
}

void TestDrawing::lineEndsBothWays()
{
  QFETCH(QPoint, a);
  QFETCH(QPoint, b);
  QFETCH(int, size);
  QFETCH(QSet<QPoint>, expected);
  CharacterData forward = makeDoc(), backward = makeDoc();
  forward.setPen(penOf(size));
  backward.setPen(penOf(size));
  forward.beginPath(scopeOf(0));
  forward.drawLine(a, b);
  backward.beginPath(scopeOf(0));
  backward.drawLine(b, a);
  QCOMPARE(painted(forward.image(0, 0)), painted(backward.image(0, 0)));
  QVERIFY(painted(forward.image(0, 0)).contains(a));
  QVERIFY(painted(forward.image(0, 0)).contains(b));
  if (!expected.isEmpty())
    QCOMPARE(painted(forward.image(0, 0)), expected);
}

void TestDrawing::endingWithoutOpenStrokeChangesNothing()
{
  CharacterData doc = makeDoc();
  doc.setPen(penOf(3));
  doc.setStyle(styleOf(0, 1));
  const QImage before = doc.image(0, 0);
  doc.endPath();
  doc.drawLine(QPoint(-5, -5), QPoint(3, 3));
  doc.drawShape(QRect(-3, -3, 10, 10), 5);
  QCOMPARE(doc.image(0, 0), before);
  QCOMPARE(doc.offset(0, 0), QPoint(0, 0));

  // A stroke lands once: a second release finds it closed.
  doc.setPen(penOf(1, 0, QColor(255, 0, 0, 128)));
  doc.beginPath(scopeOf(0));
  doc.addPenPoint(QPoint(4, 4));
  doc.endPath();
  QVERIFY(!doc.isPathActive());
  const uint32_t once = pixel(doc.image(0, 0), 4, 4);
  doc.addPenPoint(QPoint(6, 6));
  doc.endPath();
  QCOMPARE(pixel(doc.image(0, 0), 4, 4), once);
  QCOMPARE(painted(doc.image(0, 0)), block(4, 4, 1, 1));

  // A stroke without footprints leaves a cell it does not reach alone.
  doc.setOffset(QPoint(5, 5), 0, 0);
  doc.beginPath(scopeOf(0));
  doc.endPath();
  QCOMPARE(doc.offset(0, 0), QPoint(5, 5));
  QCOMPARE(doc.image(0, 0).size(), QSize(32, 48));
}

// A pen of size 0 paints like size 1 instead of moving the cell for nothing.
void TestDrawing::zeroSizeOutsideCell()
{
  CharacterData doc = makeDoc();
  doc.setPen(penOf(0));
  doc.beginPath(scopeOf(0));
  doc.addPenPoint(QPoint(-3, -3));
  doc.endPath();
  QCOMPARE(doc.offset(0, 0), QPoint(-3, -3));
  QCOMPARE(doc.image(0, 0).size(), QSize(35, 51));
  QCOMPARE(painted(doc.image(0, 0)), block(0, 0, 1, 1));
}

void TestDrawing::scopes()
{
  // All cells of every listed element.
  CharacterData doc = makeDoc(3);
  doc.setPen(penOf(1));
  doc.beginPath(scopeOf(2, {0, 2}, 5));
  doc.addPenPoint(QPoint(3, 4));
  doc.endPath();
  for (int e = 0; e < 3; ++e)
    for (int c = 0; c < 16; ++c)
      QCOMPARE(painted(doc.image(e, c)), e == 1 ? QSet<QPoint>() : block(3, 4, 1, 1));

  // The cell selection is read when the stroke ends.
  doc = makeDoc(1);
  doc.setPen(penOf(1));
  doc.setSelectedCells({1, 2});
  doc.beginPath(scopeOf(1));
  doc.setSelectedCells({3, 7});
  doc.drawLine(QPoint(0, 0), QPoint(2, 0));
  for (int c = 0; c < 16; ++c)
    QCOMPARE(painted(doc.image(0, c)), (c == 3 || c == 7) ? block(0, 0, 3, 1) : QSet<QPoint>());

  // The targeted cell only; an unknown scope drops the drawing.
  doc = makeDoc(1);
  doc.setPen(penOf(1));
  doc.beginPath(scopeOf(0, {0}, 9));
  doc.addPenPoint(QPoint(1, 1));
  doc.endPath();
  doc.beginPath(scopeOf(3, {0}, 9));
  doc.addPenPoint(QPoint(2, 2));
  doc.endPath();
  for (int c = 0; c < 16; ++c)
    QCOMPARE(painted(doc.image(0, c)), c == 9 ? block(1, 1, 1, 1) : QSet<QPoint>());
}

void TestDrawing::invalidTargetsAreSkipped()
{
  CharacterData doc = makeDoc(1);
  doc.setPen(penOf(1));
  doc.beginPath(scopeOf(0, {-1, 4, 0}, 200));
  doc.addPenPoint(QPoint(1, 1));
  doc.endPath();
  doc.setSelectedCells({-3, 16, 2});
  doc.beginPath(scopeOf(1, {7, 0}));
  doc.addPenPoint(QPoint(1, 1));
  doc.endPath();
  for (int c = 0; c < 16; ++c)
    QCOMPARE(painted(doc.image(0, c)), c == 2 ? block(1, 1, 1, 1) : QSet<QPoint>());
}

void TestDrawing::rectangleFillModes_data()
{
  QTest::addColumn<GradientHolder>("style");
  QTest::addColumn<QRect>("rect");
  QTest::addColumn<QSet<QPoint>>("red");
  QTest::addColumn<QSet<QPoint>>("green");
  const QSet<QPoint> border = block(2, 3, 5, 4) - block(3, 4, 3, 2);
  QTest::newRow("outline") << styleOf(0, 0) << QRect(2, 3, 5, 4) << border << QSet<QPoint>();
  QTest::newRow("filled") << styleOf(0, 1) << QRect(2, 3, 5, 4) << block(2, 3, 5, 4) << QSet<QPoint>();
  QTest::newRow("filled with outline") << styleOf(0, 2) << QRect(2, 3, 5, 4) << border << block(3, 4, 3, 2);
  QTest::newRow("other fill mode acts as 2") << styleOf(0, 9) << QRect(2, 3, 5, 4) << border << block(3, 4, 3, 2);
  QTest::newRow("plain ignores radial type") << styleOf(0, 2, 1) << QRect(2, 3, 5, 4) << border << block(3, 4, 3, 2);
  QTest::newRow("unknown paint mode fills nothing") << styleOf(5, 2) << QRect(2, 3, 5, 4) << border << QSet<QPoint>();
  QTest::newRow("unknown gradient type fills nothing") << styleOf(1, 1, 4) << QRect(2, 3, 5, 4) << QSet<QPoint>()
                                                       << QSet<QPoint>();
  QTest::newRow("1x1 outline") << styleOf(0, 0) << QRect(6, 6, 1, 1) << block(6, 6, 1, 1) << QSet<QPoint>();
  QTest::newRow("2x2 filled with outline") << styleOf(0, 2) << QRect(6, 6, 2, 2) << block(6, 6, 2, 2) << QSet<QPoint>();
  // Absent colours (never set, or dropped by a pen press) paint nothing.
  GradientHolder noOutline = styleOf(0, 0), noInside = styleOf(0, 2);
  noOutline.shapeColors[0] = QColor();
  noInside.shapeColors[1] = QColor();
  QTest::newRow("absent outline colour") << noOutline << QRect(2, 3, 5, 4) << QSet<QPoint>() << QSet<QPoint>();
  QTest::newRow("absent inside colour") << noInside << QRect(2, 3, 5, 4) << QSet<QPoint>() << QSet<QPoint>();
}

void TestDrawing::rectangleFillModes()
{
  QFETCH(GradientHolder, style);
  QFETCH(QRect, rect);
  QFETCH(QSet<QPoint>, red);
  QFETCH(QSet<QPoint>, green);
  CharacterData doc = makeDoc();
  doc.setStyle(style);
  doc.beginPath(scopeOf(0));
  doc.drawShape(rect, 5);
  const QImage& cell = doc.image(0, 0);
  QCOMPARE(painted(cell), red + green);
  for (const QPoint& p : red)
    QCOMPARE(pixel(cell, p.x(), p.y()), kRed);
  for (const QPoint& p : green)
    QCOMPARE(pixel(cell, p.x(), p.y()), kGreen);
}

void TestDrawing::ellipseStaysInsideItsRectangle()
{
  for (int fillMode : {0, 1, 2}) {
    CharacterData doc = makeDoc();
    doc.setStyle(styleOf(0, fillMode));
    doc.beginPath(scopeOf(0));
    doc.drawShape(QRect(4, 6, 9, 7), 4);
    const QSet<QPoint> pts = painted(doc.image(0, 0));
    QVERIFY(!pts.isEmpty());
    QVERIFY((pts - block(4, 6, 9, 7)).isEmpty());
    // The corners of the rectangle lie outside the outlined ellipse (the
    // plain fill is laid one pixel wider and may reach them); its ends touch
    // the rectangle's sides.
    if (fillMode != 1)
      QVERIFY2(!pts.contains(QPoint(4, 6)) && !pts.contains(QPoint(12, 12)), QByteArray::number(fillMode));
    QVERIFY2(pts.contains(QPoint(4, 9)) && pts.contains(QPoint(12, 9)), QByteArray::number(fillMode));
    QVERIFY2(pts.contains(QPoint(8, 6)) && pts.contains(QPoint(8, 12)), QByteArray::number(fillMode));
    QCOMPARE(doc.image(0, 0).size(), QSize(32, 48));
  }
}

void TestDrawing::transparentColourOnlyGrows()
{
  CharacterData doc = makeDoc();
  reinterpret_cast<uint32_t*>(doc.image(0, 0).scanLine(0))[0] = kBlue;
  doc.setPen(penOf(3, 0, QColor(255, 0, 0, 0)));
  doc.beginPath(scopeOf(0));
  doc.drawLine(QPoint(30, 1), QPoint(40, 1));
  QCOMPARE(doc.offset(0, 0), QPoint(0, 0));
  QCOMPARE(doc.image(0, 0).size(), QSize(29 + 10 + 1 + 3, 48));
  QCOMPARE(painted(doc.image(0, 0)), block(0, 0, 1, 1));
}

void TestDrawing::mergedCellsStayArgb32()
{
  CharacterData doc = makeDoc();
  QImage premultiplied(32, 48, QImage::Format_ARGB32_Premultiplied);
  premultiplied.fill(0);
  doc.setImage(premultiplied, 0, 0);
  doc.setImage(QImage(), 0, 1);
  doc.setOffset(QPoint(4, 4), 0, 1);
  doc.setPen(penOf(1));
  doc.beginPath(scopeOf(2));
  doc.addPenPoint(QPoint(10, 10));
  doc.endPath();
  QCOMPARE(doc.image(0, 0).format(), QImage::Format_ARGB32);
  QCOMPARE(pixel(doc.image(0, 0), 10, 10), kRed);
  // A cell without an image grows from its offset to the drawing.
  QCOMPARE(doc.image(0, 1).format(), QImage::Format_ARGB32);
  QCOMPARE(doc.image(0, 1).size(), QSize(7, 7));
  QCOMPARE(doc.offset(0, 1), QPoint(4, 4));
  QCOMPARE(painted(doc.image(0, 1)), block(6, 6, 1, 1));
}

// A radial 40 x 20 shape shows the gradient of a 40 x 40 square squeezed to
// 40 x 20: the top middle has the colour of the square's left middle, which
// the same distance from the centre would not give on an unsqueezed layout.
void TestDrawing::radialShapeIsSqueezedSquare()
{
  CharacterData doc = makeDoc();
  doc.setStyle(styleOf(1, 1, 1));
  doc.beginPath(scopeOf(0));
  doc.drawShape(QRect(0, 0, 40, 20), 5);
  const QImage& cell = doc.image(0, 0);
  auto grey = [&](int x, int y) { return qRed(pixel(cell, x, y)); };
  QVERIFY(qAbs(grey(20, 10)) < 30);              // centre: black end
  QVERIFY(qAbs(grey(20, 0) - grey(0, 10)) <= 16); // both on the outer ellipse
  QVERIFY(grey(20, 0) > 200);
  QVERIFY(qAbs(grey(10, 10) - grey(20, 5)) <= 16); // both half way
  QCOMPARE(painted(cell), block(0, 0, 40, 20));
}

SK_TEST_MAIN(TestDrawing)
#include "test_drawing.moc"
