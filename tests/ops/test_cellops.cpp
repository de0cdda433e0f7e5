#include "tests/TestMain.h"

#include "tests/ops/CellFixture.h"

#include <set>
#include <utility>

using Cells = std::set<std::pair<int, int>>;
Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(Cells)

namespace {

constexpr uint32_t kA = 0xFF102030u;
constexpr uint32_t kB = 0xFF405060u;

enum Op { Move, Clear, Mirror, EraseRect, EraseEllipse };

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
      {"move", Move}, {"clear", Clear}, {"mirror", Mirror}, {"eraseRect", EraseRect}, {"eraseEllipse", EraseEllipse}};
    for (const auto& op : ops) {
      QTest::addRow("%s: cells without elements", op.name) << op.op << std::vector<int>{} << std::vector<int>{0, 5}
                                                           << allOf({0, 1, 2}, {0, 5});
      QTest::addRow("%s: nothing selected", op.name) << op.op << std::vector<int>{} << std::vector<int>{}
                                                     << everyCell({0, 1, 2});
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
    data.setSelectedElements(elements);
    data.setSelectedCells(cells);
    const CharacterData before = data;
    switch (op) {
    case Move: data.moveCells(QPoint(1, 0)); break;
    case Clear: data.clearCells(); break;
    case Mirror: data.mirrorCells(true, false); break;
    case EraseRect: data.eraseRect(QRect(QPoint(-1, -1), QPoint(4, 4))); break;
    case EraseEllipse: data.eraseEllipse(QRect(-2, -2, 8, 8)); break;
    }
    QCOMPARE(touched(before, data), expected);
    // The element selection is as the caller left it (empty again for rule 1).
    QCOMPARE(data.selectedElements(), elements);
    QCOMPARE(data.selectedCells(), cells);
    for (const auto& [e, c] : expected) {
      switch (op) {
      case Move: QCOMPARE(data.offset(e, c), QPoint(1, 0)); break;
      case Mirror: QCOMPARE(data.image(e, c), imageOf(2, 1, {kB, kA})); break;
      default: QCOMPARE(data.image(e, c), filled(2, 1, kBlankPixel)); break;
      }
    }
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
