#include "ops/KernelFilters.h"
#include "tests/TestMain.h"
#include "tests/ops/CellFixture.h"

#include <climits>
#include <cstdlib>
#include <functional>

namespace {

using Weight = std::function<long long(int dx, int dy)>;

// The filters as their rules read: n odd, weights from the distances, each
// output pixel from the untouched input, channels truncated after the division
// by the sum of the weights that met a pixel.
QImage expectedFilter(const QImage& in, int n, const Weight& weight)
{
  QImage out(in.size(), QImage::Format_ARGB32);
  const int h = n / 2;
  for (int y = 0; y < in.height(); ++y)
    for (int x = 0; x < in.width(); ++x) {
      long long sum[4] = {0, 0, 0, 0}, total = 0;
      for (int dy = -h; dy <= h; ++dy)
        for (int dx = -h; dx <= h; ++dx) {
          if (x + dx < 0 || y + dy < 0 || x + dx >= in.width() || y + dy >= in.height())
            continue;
          const uint32_t p = word(in, x + dx, y + dy);
          const long long k = weight(dx, dy);
          for (int i = 0; i < 4; ++i)
            sum[i] += ((p >> (8 * i)) & 0xFF) * k;
          total += k;
        }
      if (total != 0)
        for (long long& s : sum)
          s /= total;
      const long long mean = (sum[0] + sum[1] + sum[2]) / 3;
      uint32_t result = 0;
      if (mean < 0)
        result = 0xFF000000u;
      else if (mean > 255)
        result = 0xFFFFFFFFu;
      else
        for (int i = 0; i < 4; ++i)
          result |= uint32_t(std::clamp<long long>(sum[i], 0, 255)) << (8 * i);
      out.setPixel(x, y, result);
    }
  return out;
}

Weight tent(int n, int strength)
{
  const int c = (n + 1) / 2;
  return [=](int dx, int dy) { return (c - std::abs(dx)) * strength * (c - std::abs(dy)); };
}

Weight edgeWeighted(int strength)
{
  return [=](int dx, int) { return strength * (std::abs(dx) + 1) * (std::abs(dx) + 1); };
}

// Lopsided on purpose, so that a kernel shifted or mirrored by one shows.
QImage sample()
{
  return imageOf(5, 4, {0xFF102030u, 0x80FF0000u, kBlankPixel, 0xFFFFFFFFu, 0x40001020u,
                        0xFF00FF00u, 0xFF000000u, 0x20FFFFFFu, 0xFF808080u, kBlankPixel,
                        kBlankPixel, 0xC0123456u, 0xFFFF00FFu, 0x01020304u, 0xFF0000FFu,
                        0xFFABCDEFu, kBlankPixel, 0x7F7F7F7Fu, 0xFF000000u, 0xFFFFFF00u});
}

enum Filter { Tent, EdgeWeighted, Sharpen };

} // namespace

class TestKernelFilters : public QObject
{
  Q_OBJECT

private slots:
  void tentSpreadsOneWhitePixel()
  {
    QImage image = filled(5, 5, 0);
    image.setPixel(2, 2, 0xFFFFFFFFu);
    const QImage expected = expectedFilter(image, 3, tent(3, 1));
    tentFilter(image, 3, 1);
    QCOMPARE(image, expected);
    // Weights 4 at the centre, 2 beside it, 1 at the corners, 16 in all.
    QCOMPARE(word(image, 2, 2), 0x3F3F3F3Fu);
    QCOMPARE(word(image, 2, 1), 0x1F1F1F1Fu);
    QCOMPARE(word(image, 1, 1), 0x0F0F0F0Fu);
    QCOMPARE(word(image, 0, 0), 0u);
  }

  void filtersFollowTheirWeights_data()
  {
    QTest::addColumn<int>("filter");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("n");
    QTest::newRow("tent 3") << int(Tent) << 3 << 1 << 3;
    QTest::newRow("tent 4 is 5") << int(Tent) << 4 << 2 << 5;
    QTest::newRow("tent 0 is 1") << int(Tent) << 0 << 3 << 1;
    QTest::newRow("tent no strength") << int(Tent) << 3 << 0 << 3;
    QTest::newRow("tent larger than the image") << int(Tent) << 11 << 1 << 11;
    QTest::newRow("edge 3") << int(EdgeWeighted) << 3 << 1 << 3;
    QTest::newRow("edge 2 is 3") << int(EdgeWeighted) << 2 << 3 << 3;
    QTest::newRow("edge 7") << int(EdgeWeighted) << 7 << 1 << 7;
    QTest::newRow("sharpen 1 is 3") << int(Sharpen) << 1 << 0 << 3;
    QTest::newRow("sharpen 5") << int(Sharpen) << 5 << 2 << 5;
  }

  void filtersFollowTheirWeights()
  {
    QFETCH(int, filter);
    QFETCH(int, size);
    QFETCH(int, strength);
    QFETCH(int, n);
    const QImage input = sample();
    QImage image = input;
    Weight weight;
    switch (filter) {
    case Tent:
      weight = tent(n, strength);
      tentFilter(image, size, strength);
      break;
    case EdgeWeighted:
      weight = edgeWeighted(strength);
      edgeWeightedFilter(image, size, strength);
      break;
    default: {
      const int s = strength == 0 ? 1 : strength;
      weight = [=](int dx, int dy) -> long long {
        if (std::abs(dx) == n / 2 && std::abs(dy) == n / 2)
          return 0;
        return dx == 0 && dy == 0 ? (n * n - 5) * s + 1 : -s;
      };
      sharpenFilter(image, size, strength);
    }
    }
    QCOMPARE(image, expectedFilter(input, n, weight));
  }

  void hostileSizesLeaveTheImageReadable_data()
  {
    QTest::addColumn<int>("size");
    QTest::newRow("negative") << -4;
    QTest::newRow("huge") << INT_MAX;
  }

  void hostileSizesLeaveTheImageReadable()
  {
    QFETCH(int, size);
    QImage image = sample();
    tentFilter(image, size, INT_MAX);
    edgeWeightedFilter(image, size, INT_MIN);
    if (size < 0) // no kernel of that side: nothing to apply
      QCOMPARE(image, sample());
    sharpenFilter(image, size, INT_MAX);
    QCOMPARE(image.size(), sample().size());
    QCOMPARE(image.format(), QImage::Format_ARGB32);
  }

  void filterCellsReadsTheSnapshot_data()
  {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("fromSnapshot");
    QTest::newRow("tent") << 0 << false;
    QTest::newRow("edge from snapshot") << 1 << true;
    QTest::newRow("unknown kind") << 2 << true;
  }

  void filterCellsReadsTheSnapshot()
  {
    QFETCH(int, kind);
    QFETCH(bool, fromSnapshot);
    CharacterData data = makeCharacter(2, sample());
    data.saveSnapshot();
    // What the document holds now differs from the snapshot: a filter from
    // the snapshot must not see it.
    data.setImage(filled(7, 6, 0xFF00FF00u), 1, 4);
    data.setImage(filled(3, 3, 0xFF0000FFu), 1, 7);
    data.setSelectedElements({1});
    data.setSelectedCells({4, 7});
    const CharacterData before = data;
    data.filterCells(kind, 3, 1, fromSnapshot);

    for (int e = 0; e < 2; ++e)
      for (int c = 0; c < 16; ++c) {
        const bool inScope = e == 1 && (c == 4 || c == 7) && (kind == 0 || kind == 1);
        if (!inScope) {
          QCOMPARE(data.image(e, c), before.image(e, c));
          continue;
        }
        const QImage source = fromSnapshot ? sample() : before.image(e, c);
        const Weight weight = kind == 0 ? tent(3, 1) : edgeWeighted(1);
        // Each source pixel lands at its own place: a larger cell keeps the
        // rest, a smaller one takes only what it covers.
        const QImage filtered = expectedFilter(source, 3, weight);
        QImage expected = before.image(e, c);
        for (int y = 0; y < std::min(expected.height(), filtered.height()); ++y)
          for (int x = 0; x < std::min(expected.width(), filtered.width()); ++x)
            expected.setPixel(x, y, filtered.pixel(x, y));
        QCOMPARE(data.image(e, c), expected);
      }
    QCOMPARE(data.snapshot().images[1][4], sample());
  }
};

SK_TEST_MAIN(TestKernelFilters)
#include "test_kernelfilters.moc"
