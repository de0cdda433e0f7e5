#include "tests/TestMain.h"

#include "tests/ops/CellFixture.h"

#include <climits>
#include <cmath>
#include <set>
#include <utility>

using Cells = std::set<std::pair<int, int>>;
Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(Cells)

namespace {

constexpr uint32_t kA = 0xFF102030u;
constexpr uint32_t kB = 0xFF405060u;

enum Op { Move, Clear, Mirror, EraseRect, EraseEllipse, MoveFromSnapshot, Filter, FillRect, Ellipse, Plot, Grow, Line };

// These leave out the rule's "nothing selected: everything" case.
bool withoutEverything(int op)
{
  return op == Plot || op == Grow || op == Line;
}

Cells allOf(std::initializer_list<int> elements, std::initializer_list<int> cells)
{
  Cells out;
  for (int e : elements)
    for (int c : cells)
      out.insert({e, c});
  return out;
}

Cells everyCell(std::initializer_list<int> elements)
{
  Cells out;
  for (int e : elements)
    for (int c = 0; c < 16; ++c)
      out.insert({e, c});
  return out;
}

// Which cells an operation touched, seen from the image or the offset.
Cells touched(const CharacterData& before, const CharacterData& after)
{
  Cells out;
  for (int e = 0; e < after.elementCount(); ++e)
    for (int c = 0; c < 16; ++c)
      if (before.image(e, c) != after.image(e, c) || before.offset(e, c) != after.offset(e, c))
        out.insert({e, c});
  return out;
}

QList<QPoint> blanked(const QImage& image)
{
  QList<QPoint> out;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (word(image, x, y) == kBlankPixel)
        out << QPoint(x, y);
  return out;
}

QList<QPoint> sorted(QList<QPoint> points)
{
  std::sort(points.begin(), points.end(), [](const QPoint& a, const QPoint& b) {
    return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
  });
  return points;
}

} // namespace

class TestCellOps : public QObject
{
  Q_OBJECT

private slots:
  void scopeRule_data()
  {
    QTest::addColumn<int>("op");
    QTest::addColumn<std::vector<int>>("elements");
    QTest::addColumn<std::vector<int>>("cells");
    QTest::addColumn<Cells>("expected");

    const struct { const char* name; int op; } ops[] = {
      {"move", Move}, {"clear", Clear}, {"mirror", Mirror}, {"eraseRect", EraseRect}, {"eraseEllipse", EraseEllipse},
      {"moveFromSnapshot", MoveFromSnapshot}, {"filter", Filter}, {"fillRect", FillRect}, {"ellipse", Ellipse},
      {"plot", Plot}, {"grow", Grow}, {"line", Line}};
    for (const auto& op : ops) {
      QTest::addRow("%s: cells without elements", op.name) << op.op << std::vector<int>{} << std::vector<int>{0, 5}
                                                           << allOf({0, 1, 2}, {0, 5});
      QTest::addRow("%s: nothing selected", op.name) << op.op << std::vector<int>{} << std::vector<int>{}
                                                     << (withoutEverything(op.op) ? Cells() : everyCell({0, 1, 2}));
      QTest::addRow("%s: element 2 alone", op.name) << op.op << std::vector<int>{2} << std::vector<int>{}
                                                    << everyCell({2});
      QTest::addRow("%s: element 1 cell 4", op.name) << op.op << std::vector<int>{1} << std::vector<int>{4}
                                                     << allOf({1}, {4});
      QTest::addRow("%s: elements and cells", op.name) << op.op << std::vector<int>{2, 0} << std::vector<int>{3, 15}
                                                       << allOf({0, 2}, {3, 15});
    }
  }

  void scopeRule()
  {
    QFETCH(int, op);
    QFETCH(std::vector<int>, elements);
    QFETCH(std::vector<int>, cells);
    QFETCH(Cells, expected);

    CharacterData data = makeCharacter(3, imageOf(2, 1, {kA, kB}));
    data.saveSnapshot();
    data.setSelectedElements(elements);
    data.setSelectedCells(cells);
    const CharacterData before = data;
    switch (op) {
    case Move: data.moveCells(QPoint(1, 0)); break;
    case Clear: data.clearCells(); break;
    case Mirror: data.mirrorCells(true, false); break;
    case EraseRect: data.eraseRect(QRect(QPoint(-1, -1), QPoint(4, 4))); break;
    case EraseEllipse: data.eraseEllipse(QRect(-2, -2, 8, 8)); break;
    case MoveFromSnapshot: data.moveCellsFromSnapshot(QPoint(1, 0)); break;
    case Filter: data.filterCells(0, 3, 1, false); break;
    // The next three stay inside the images, so that no cell grows.
    case FillRect: data.fillRectCells(QRect(0, 0, 2, 1), QColor(0, 0, 255)); break;
    case Ellipse: data.drawEllipseCells(QRect(0, 0, 2, 1), QColor(0, 0, 255)); break;
    case Plot: data.plotCells(QPoint(1, 0), QColor(0, 0, 255, 128)); break;
    case Grow: data.growCellsToPoint(QPoint(3, 0)); break;
    case Line: data.drawLineCells(QPoint(0, 0), QPoint(1, 0), QColor(0, 0, 255), 1); break;
    }
    QCOMPARE(touched(before, data), expected);
    // The element selection is as the caller left it (empty again for rule 1).
    QCOMPARE(data.selectedElements(), elements);
    QCOMPARE(data.selectedCells(), cells);
    for (const auto& [e, c] : expected) {
      switch (op) {
      case Move:
      case MoveFromSnapshot: QCOMPARE(data.offset(e, c), QPoint(1, 0)); break;
      case Mirror: QCOMPARE(data.image(e, c), imageOf(2, 1, {kB, kA})); break;
      case Clear:
      case EraseRect:
      case EraseEllipse: QCOMPARE(data.image(e, c), filled(2, 1, kBlankPixel)); break;
      default: break;
      }
    }
  }

  void growCellsToPoint_data()
  {
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("inside") << QPoint(4, 5) << QSize(2, 2) << QPoint(3, 4);
    QTest::newRow("left") << QPoint(0, 5) << QSize(5, 2) << QPoint(0, 4);
    QTest::newRow("above left") << QPoint(1, -1) << QSize(4, 7) << QPoint(1, -1);
    QTest::newRow("just right and below") << QPoint(5, 6) << QSize(3, 3) << QPoint(3, 4);
    QTest::newRow("beyond the side limit") << QPoint(3, 4 + kMaxSheetSide) << QSize(2, 2) << QPoint(3, 4);
    QTest::newRow("far left") << QPoint(INT_MIN, 4) << QSize(2, 2) << QPoint(3, 4);
  }

  void growCellsToPoint()
  {
    QFETCH(QPoint, point);
    QFETCH(QSize, size);
    QFETCH(QPoint, offset);
    CharacterData data = makeCharacter(2, imageOf(2, 2, {kA, kB, kB, kA}));
    for (int c = 0; c < 16; ++c)
      data.setOffset(QPoint(3, 4), 1, c);
    data.setSelectedElements({1});
    data.setSelectedCells({6});
    data.growCellsToPoint(point);

    const QImage& image = data.image(1, 6);
    QCOMPARE(image.size(), size);
    QCOMPARE(data.offset(1, 6), offset);
    QCOMPARE(image.format(), QImage::Format_ARGB32);
    // The old pixels keep their place in the cell, the new ones are blank.
    const QPoint old = QPoint(3, 4) - offset;
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x) {
        const QPoint p = QPoint(x, y) - old;
        const bool inOld = p.x() >= 0 && p.y() >= 0 && p.x() < 2 && p.y() < 2;
        QCOMPARE(word(image, x, y), inOld ? ((p.x() + p.y()) % 2 ? kB : kA) : kBlankPixel);
      }
    QCOMPARE(data.image(1, 5).size(), QSize(2, 2));
    QCOMPARE(data.image(0, 6).size(), QSize(2, 2));
  }

  void plotGrowsEveryCellAndRoundsInTheSelectedOnes()
  {
    CharacterData data = makeCharacter(2, imageOf(2, 1, {kA, kB}));
    data.setSelectedElements({0});
    data.setSelectedCells({1});
    const QColor colour(255, 0, 0, 128);
    data.plotCells(QPoint(-2, 5), colour);
    data.plotCells(QPoint(-2, 5), colour);

    // Every cell grows to hold the point: 4 x 6 with the corner at (-2, 0).
    for (int e = 0; e < 2; ++e)
      for (int c = 0; c < 16; ++c) {
        QCOMPARE(data.image(e, c).size(), QSize(4, 6));
        QCOMPARE(data.offset(e, c), QPoint(-2, 0));
        QCOMPARE(word(data.image(e, c), 2, 0), kA);
        QCOMPARE(word(data.image(e, c), 3, 0), kB);
      }
    // 0x80FF0000 over itself: alpha 128 + 128 * 127 / 255 = 191.75, red
    // 255 * (kD + kS) = 255 up to the last bit; rounded, not truncated.
    const double ao = 128 + 128 * 127 / 255.0;
    const uint32_t alpha = uint32_t(std::floor(ao + 0.5));
    const uint32_t red = uint32_t(std::floor(255 * ((ao - 128) / ao) + 255 * (128 / ao) + 0.5));
    QCOMPARE(alpha, 192u);
    QCOMPARE(word(data.image(0, 1), 0, 5), alpha << 24 | red << 16);
    QCOMPARE(word(data.image(1, 1), 0, 5), kBlankPixel);
    QCOMPARE(word(data.image(0, 2), 0, 5), kBlankPixel);

    // Nothing selected: the cells still grow, but nothing is laid.
    data.setSelectedElements({});
    data.setSelectedCells({});
    data.plotCells(QPoint(-3, 0), colour);
    QCOMPARE(data.offset(1, 1), QPoint(-3, 0));
    QCOMPARE(word(data.image(1, 1), 0, 0), kBlankPixel);
  }

  void shapesGrowTheCellsTheyDrawIn_data()
  {
    QTest::addColumn<bool>("ellipse");
    QTest::newRow("rectangle") << false;
    QTest::newRow("ellipse") << true;
  }

  void shapesGrowTheCellsTheyDrawIn()
  {
    QFETCH(bool, ellipse);
    CharacterData data = makeCharacter(2, imageOf(2, 1, {kA, kB}));
    data.setSelectedCells({3});
    const QRect rect(1, 1, 3, 3);
    if (ellipse)
      data.drawEllipseCells(rect, QColor(0, 0, 255));
    else
      data.fillRectCells(rect, QColor(0, 0, 255));
    // Outline of a 3 x 3 ellipse: the middle row at the left, top and bottom
    // rows further right.
    const QList<QPoint> outline = {{0, 1}, {1, 0}, {1, 2}, {2, 0}, {2, 2}};
    for (int c = 0; c < 16; ++c) {
      const QImage& image = data.image(1, c);
      QCOMPARE(image.size(), QSize(4, 4));
      QCOMPARE(data.offset(1, c), QPoint(0, 0));
      QCOMPARE(word(image, 0, 0), kA);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
          const bool drawn = c == 3 && (!ellipse || outline.contains(QPoint(x, y)));
          QCOMPARE(word(image, 1 + x, 1 + y), drawn ? 0xFF0000FFu : kBlankPixel);
        }
    }
  }

  // An empty rectangle lays nothing but still grows every cell to both of
  // its corners.
  void emptyShapesStillGrowTheCells_data()
  {
    QTest::addColumn<bool>("ellipse");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("rectangle, width 0") << false << QRect(-2, 1, 0, 3) << QSize(5, 4) << QPoint(-3, 0);
    QTest::newRow("ellipse, height -2") << true << QRect(1, 1, 3, -2) << QSize(4, 4) << QPoint(0, -2);
  }

  void emptyShapesStillGrowTheCells()
  {
    QFETCH(bool, ellipse);
    QFETCH(QRect, rect);
    CharacterData data = makeCharacter(2, imageOf(2, 1, {kA, kB}));
    data.setSelectedCells({3});
    ellipse ? data.drawEllipseCells(rect, QColor(0, 0, 255)) : data.fillRectCells(rect, QColor(0, 0, 255));
    QFETCH(QSize, size);
    QFETCH(QPoint, offset);
    for (int c = 0; c < 16; ++c) {
      QCOMPARE(data.image(0, c).size(), size);
      QCOMPARE(data.offset(0, c), offset);
      QCOMPARE(word(data.image(0, c), -offset.x(), -offset.y()), kA);
      QCOMPARE(word(data.image(0, c), size.width() - 1, size.height() - 1), kBlankPixel);
    }
  }

  void lineGrowsItsCellsToTheWidenedBox()
  {
    CharacterData data = makeCharacter(2, imageOf(2, 1, {kA, kB}));
    data.setSelectedElements({1});
    data.drawLineCells(QPoint(0, 3), QPoint(4, 3), QColor(0, 0, 255), 2);
    // The box (0, 3)-(4, 3) widened by 2, (-2, 1)-(6, 5), and the image.
    const QImage& image = data.image(1, 9);
    QCOMPARE(image.size(), QSize(9, 6));
    QCOMPARE(data.offset(1, 9), QPoint(-2, 0));
    QCOMPARE(word(image, 2, 0), kA);
    QCOMPARE(word(image, 4, 3), 0xFF0000FFu);
    QCOMPARE(word(image, 4, 0), kBlankPixel);
    QCOMPARE(data.image(0, 9).size(), QSize(2, 1));
  }

  void clearSelectedCells_data()
  {
    QTest::addColumn<std::vector<int>>("elements");
    QTest::addColumn<std::vector<int>>("cells");
    QTest::addColumn<Cells>("expected");
    QTest::newRow("cells without elements") << std::vector<int>{} << std::vector<int>{0, 5} << Cells{};
    QTest::newRow("elements without cells") << std::vector<int>{1} << std::vector<int>{} << Cells{};
    QTest::newRow("nothing") << std::vector<int>{} << std::vector<int>{} << Cells{};
    QTest::newRow("both") << std::vector<int>{1, 2} << std::vector<int>{4} << allOf({1, 2}, {4});
  }

  void clearSelectedCells()
  {
    QFETCH(std::vector<int>, elements);
    QFETCH(std::vector<int>, cells);
    QFETCH(Cells, expected);
    CharacterData data = makeCharacter(3, imageOf(2, 1, {kA, kB}));
    data.setSelectedElements(elements);
    data.setSelectedCells(cells);
    const CharacterData before = data;
    data.clearSelectedCells();
    QCOMPARE(touched(before, data), expected);
    QCOMPARE(data.selectedElements(), elements);
  }

  void clearCellsKeepsSizeAndWritesBlankWord()
  {
    CharacterData data = makeCharacter(1, filled(32, 48, kA));
    data.setSelectedCells({3});
    data.clearCells();
    const QImage& image = data.image(0, 3);
    QCOMPARE(image.size(), QSize(32, 48));
    QCOMPARE(image.format(), QImage::Format_ARGB32);
    QCOMPARE(image, filled(32, 48, kBlankPixel));
    QCOMPARE(data.image(0, 2), filled(32, 48, kA));
  }

  void eraseRect_data()
  {
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QList<QPoint>>("expected");
    QTest::newRow("covers the whole image")
        << QSize(2, 3) << QPoint(2, 1) << QRect(QPoint(0, 0), QPoint(3, 3))
        << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}};
    QTest::newRow("one pixel at the offset") << QSize(2, 3) << QPoint(2, 1) << QRect(2, 1, 1, 1)
                                             << QList<QPoint>{{0, 0}};
    QTest::newRow("negative offset") << QSize(3, 3) << QPoint(-2, -1) << QRect(0, 0, 1, 2)
                                     << QList<QPoint>{{2, 1}, {2, 2}};
    QTest::newRow("outside the image") << QSize(2, 3) << QPoint(2, 1) << QRect(10, 10, 5, 5) << QList<QPoint>{};
    QTest::newRow("empty width") << QSize(2, 3) << QPoint(0, 0) << QRect(QPoint(1, 0), QPoint(0, 2))
                                 << QList<QPoint>{};
    QTest::newRow("empty height") << QSize(2, 3) << QPoint(0, 0) << QRect(QPoint(0, 1), QPoint(1, 0))
                                  << QList<QPoint>{};
  }

  void eraseRect()
  {
    QFETCH(QSize, imageSize);
    QFETCH(QPoint, offset);
    QFETCH(QRect, rect);
    QFETCH(QList<QPoint>, expected);
    CharacterData data = makeCharacter(1, filled(imageSize.width(), imageSize.height(), kA));
    data.setOffset(offset, 0, 0);
    data.setSelectedCells({0});
    data.eraseRect(rect);
    QCOMPARE(sorted(blanked(data.image(0, 0))), sorted(expected));
    QCOMPARE(data.offset(0, 0), offset);
  }

  void eraseEllipse_data()
  {
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QList<QPoint>>("expected");
    QTest::newRow("1x1") << QSize(6, 6) << QPoint(0, 0) << QRect(0, 0, 1, 1) << QList<QPoint>{{0, 0}};
    QTest::newRow("2x2") << QSize(6, 6) << QPoint(0, 0) << QRect(0, 0, 2, 2)
                         << QList<QPoint>{{0, 1}, {1, 0}, {1, 1}, {1, 2}};
    QTest::newRow("3x3") << QSize(6, 6) << QPoint(0, 0) << QRect(0, 0, 3, 3)
                         << QList<QPoint>{{0, 1}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}};
    QTest::newRow("4x2") << QSize(6, 6) << QPoint(0, 0) << QRect(0, 0, 4, 2)
                         << QList<QPoint>{{0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {2, 2}, {3, 0}, {3, 1}};
    QTest::newRow("2x2 at the offset of a 2x3 image")
        << QSize(2, 3) << QPoint(2, 1) << QRect(2, 1, 2, 2) << QList<QPoint>{{0, 1}, {1, 0}, {1, 1}, {1, 2}};
    QTest::newRow("2x2 on a 2x2 image skips the row below")
        << QSize(2, 2) << QPoint(0, 0) << QRect(0, 0, 2, 2) << QList<QPoint>{{0, 1}, {1, 0}, {1, 1}};
    QTest::newRow("3x3 half outside on the top left")
        << QSize(6, 6) << QPoint(1, 1) << QRect(0, 0, 3, 3) << QList<QPoint>{{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    QTest::newRow("zero width") << QSize(6, 6) << QPoint(0, 0) << QRect(0, 0, 0, 3) << QList<QPoint>{};
  }

  void eraseEllipse()
  {
    QFETCH(QSize, imageSize);
    QFETCH(QPoint, offset);
    QFETCH(QRect, rect);
    QFETCH(QList<QPoint>, expected);
    CharacterData data = makeCharacter(1, filled(imageSize.width(), imageSize.height(), kA));
    data.setOffset(offset, 0, 0);
    data.setSelectedCells({0});
    data.eraseEllipse(rect);
    QCOMPARE(sorted(blanked(data.image(0, 0))), sorted(expected));
  }

  void mirror_data()
  {
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QImage>("input");
    QTest::addColumn<QImage>("expected");
    const uint32_t kC = 0xFF708090u, kD = 0x80A0B0C0u;
    QTest::newRow("horizontal row") << true << false << imageOf(3, 1, {kA, kB, kC}) << imageOf(3, 1, {kC, kB, kA});
    QTest::newRow("vertical") << false << true << imageOf(2, 2, {kA, kB, kC, kD}) << imageOf(2, 2, {kC, kD, kA, kB});
    QTest::newRow("half turn") << true << true << imageOf(2, 2, {kA, kB, kC, kD}) << imageOf(2, 2, {kD, kC, kB, kA});
    QTest::newRow("blank words kept") << true << false << imageOf(2, 1, {kBlankPixel, kA})
                                      << imageOf(2, 1, {kA, kBlankPixel});
  }

  void mirror()
  {
    QFETCH(bool, horizontal);
    QFETCH(bool, vertical);
    QFETCH(QImage, input);
    QFETCH(QImage, expected);
    CharacterData data = makeCharacter(1, input);
    data.setOffset(QPoint(3, -4), 0, 0);
    data.setSelectedCells({0});
    data.mirrorCells(horizontal, vertical);
    QCOMPARE(data.image(0, 0), expected);
    QCOMPARE(data.image(0, 0).format(), QImage::Format_ARGB32);
    QCOMPARE(data.offset(0, 0), QPoint(3, -4));
  }

  void emptyCellImagesAreSkipped()
  {
    CharacterData data = makeCharacter(1, QImage());
    data.eraseRect(QRect(0, 0, 4, 4));
    data.eraseEllipse(QRect(0, 0, 4, 4));
    data.clearCells();
    data.mirrorCells(true, true);
    QVERIFY(data.image(0, 0).isNull());
  }
};

SK_TEST_MAIN(TestCellOps)
#include "test_cellops.moc"
