#include "tests/TestMain.h"

#include "model/CharacterData.h"
#include "ops/MoveDragView.h"

namespace {

// Words mixing blank, opaque and translucent pixels, so that the rounding of
// the blend shows whenever layers are laid in another order.
uint32_t word(uint32_t& state)
{
  state = state * 1664525u + 1013904223u;
  const uint32_t r = state >> 8;
  switch (r % 4) {
  case 0: return kBlankPixel;
  case 1: return 0xFF000000u | (r & 0xFFFFFF);
  default: return (((r >> 3) % 254 + 1) << 24) | ((r * 2654435761u) & 0xFFFFFF);
  }
}

// A 64x96 sheet (cells of 16x24) of 12 elements whose images overflow their
// cells and sit at scattered offsets.
CharacterData scattered(int type)
{
  CharacterData doc(type, QSize(type == XP ? 64 : 48, 96));
  uint32_t state = 7;
  const int elements = 12;
  std::vector<std::vector<QImage>> images(elements);
  std::vector<std::vector<QPoint>> offsets(elements);
  for (int e = 0; e < elements; ++e) {
    for (int c = 0; c < doc.cellCount(); ++c) {
      QImage image(12 + int(word(state) % 10), 18 + int(word(state) % 12), QImage::Format_ARGB32);
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          reinterpret_cast<uint32_t*>(image.scanLine(y))[x] = word(state);
      images[e].push_back(image);
      offsets[e].push_back(QPoint(int(word(state) % 9) - 4, int(word(state) % 9) - 4));
    }
  }
  doc.setImages(images);
  doc.setOffsets(offsets);
  doc.setElementNames(std::vector<std::string>(elements, "e"));
  doc.setElementSources(std::vector<std::string>(elements, ""));
  std::vector<bool> visible(elements, true);
  visible[6] = false;
  doc.setVisibility(visible);
  return doc;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<int>)

class TestMoveDragView : public QObject
{
  Q_OBJECT

private slots:
  // Every step of a drag gives the words of a full render.
  void sameWordsAsAFullRender_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<std::vector<int>>("elements");
    QTest::addColumn<std::vector<int>>("cells");
    QTest::addColumn<bool>("beyond");
    QTest::addColumn<double>("zoom");
    QTest::newRow("one element, every cell") << int(XP) << std::vector<int>{5} << std::vector<int>{} << false << 1.0;
    QTest::newRow("two apart, two cells, zoom 3")
        << int(XP) << std::vector<int>{9, 2} << std::vector<int>{5, 10} << false << 3.0;
    QTest::newRow("cells of every element") << int(VX) << std::vector<int>{} << std::vector<int>{0, 11}
                                            << false << 2.0;
    QTest::newRow("everything") << int(XP) << std::vector<int>{} << std::vector<int>{} << false << 1.0;
    QTest::newRow("across borders") << int(XP) << std::vector<int>{3, 8} << std::vector<int>{} << true << 1.5;
    QTest::newRow("hidden element only") << int(VX) << std::vector<int>{6} << std::vector<int>{} << false << 1.0;
  }
  void sameWordsAsAFullRender()
  {
    QFETCH(int, type);
    QFETCH(std::vector<int>, elements);
    QFETCH(std::vector<int>, cells);
    QFETCH(bool, beyond);
    QFETCH(double, zoom);
    CharacterData doc = scattered(type);
    doc.setSelectedElements(elements);
    doc.setSelectedCells(cells);
    doc.setDrawBeyondBorders(beyond);
    doc.setZoom(zoom);
    doc.setBackgroundPixel(int(0x80336699u));

    const MoveDragView view(doc);
    for (const QPoint& delta : {QPoint(0, 0), QPoint(1, 0), QPoint(-3, 2), QPoint(7, -9), QPoint(-40, 30)}) {
      doc.moveCells(delta);
      const QImage fast = view.render(doc);
      QCOMPARE(doc.lastRender(), fast);
      QCOMPARE(fast, doc.renderImage(uint32_t(doc.backgroundPixel())));
    }
  }

  // A document changed under the view (an element removed) is rendered in
  // full rather than from stale layers.
  void changedDocumentRenderedInFull()
  {
    CharacterData doc = scattered(XP);
    doc.setSelectedElements({4});
    const MoveDragView view(doc);
    doc.removeElements({0});
    QCOMPARE(view.render(doc), doc.renderImage(kBlankPixel));
  }
};

SK_TEST_MAIN(TestMoveDragView)
#include "test_movedragview.moc"
