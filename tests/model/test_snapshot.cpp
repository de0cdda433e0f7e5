#include "tests/TestMain.h"

#include "model/CharacterData.h"
#include "model/ClipBoard.h"

#include <memory>

namespace {

CharacterData makeDocument(int type, int elements)
{
  CharacterData doc(type, QSize(0, 0));
  for (int e = 0; e < elements; ++e) {
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(0xFF000000u | uint32_t(e));
    doc.names().push_back("E" + std::to_string(e));
    doc.sources().push_back("s" + std::to_string(e));
    doc.visibility().push_back(e % 2 == 0);
    doc.images().push_back(std::vector<QImage>(doc.cellCount(), image));
    doc.offsets().push_back(std::vector<QPoint>(doc.cellCount(), QPoint(e, -e)));
  }
  return doc;
}

} // namespace

class TestSnapshot : public QObject
{
  Q_OBJECT

private slots:
  void copySelectedElementsSorts()
  {
    CharacterData doc = makeDocument(VX, 5);
    doc.setSelectedElements({3, 1});
    const LayerData d = doc.copySelectedElements();
    QVERIFY(doc.selectedElements() == std::vector<int>({1, 3}));
    QVERIFY(d.names == std::vector<std::string>({"E1", "E3"}));
    QVERIFY(d.sources == std::vector<std::string>({"s1", "s3"}));
    QVERIFY(d.visibility == std::vector<bool>({false, false}));
    QCOMPARE(d.offsets[1][0], QPoint(3, -3));
    QCOMPARE(d.images[0][0].pixel(0, 0), 0xFF000001u);
    QCOMPARE(d.images[1].size(), size_t(12));
    QCOMPARE(d.type, int(VX));
    QCOMPARE(d.size, QSize(96, 128));
    QVERIFY(d.selectedElements.empty());

    doc.setSelectedElements({});
    const LayerData none = doc.copySelectedElements();
    QCOMPARE(none.type, 0);
    QCOMPARE(none.size, QSize(0, 0));
    QVERIFY(none.names.empty() && none.images.empty());
    QVERIFY(doc.copyElement(5).names.empty());
    QVERIFY(doc.copyElement(4).names == std::vector<std::string>({"E4"}));
  }

  void layerDataRoundTrip()
  {
    CharacterData doc = makeDocument(XP, 3);
    doc.setSelectedElements({2});
    const LayerData before = doc.toLayerData();

    doc.convertXPtoVX();
    doc.names()[0] = "changed";
    doc.visibility()[1] = true;
    doc.setSelectedElements({0, 1});
    doc.setSelectedCells({4, 5});
    doc.setZoom(3.0);
    doc.setGridShown(false);
    doc.setLayerData(before);

    QCOMPARE(int(doc.type()), int(XP));
    QCOMPARE(doc.size(), QSize(128, 192));
    QVERIFY(doc.names() == before.names);
    QVERIFY(doc.visibility() == before.visibility);
    QVERIFY(doc.offsets() == before.offsets);
    QCOMPARE(doc.images(0).size(), size_t(16));
    QVERIFY(doc.selectedElements() == std::vector<int>({2}));
    // Not part of the record: left as the edits made them.
    QVERIFY(doc.selectedCells() == std::vector<int>({4, 5}));
    QCOMPARE(doc.zoom(), 3.0);
    QVERIFY(!doc.isGridShown());

    // Back to fewer cells: the cells that no longer exist leave the selection.
    doc.convertXPtoVX();
    const LayerData vx = doc.toLayerData();
    doc.convertVXtoXP();
    doc.setSelectedCells({13, 3, 12, 15, 0, -1});
    doc.setLayerData(vx);
    QVERIFY(doc.selectedCells() == std::vector<int>({3, 0}));
  }

  void copiesOfDocuments()
  {
    CharacterData doc = makeDocument(XP, 2);
    doc.setSelectedCells({1});
    doc.setBackgroundPixel(7);
    doc.errorMessage() = "erreur";
    doc.saveSnapshot();
    doc.flattenImage();

    const CharacterData fromRecord(doc.toLayerData());
    QVERIFY(fromRecord.selectedCells().empty());
    QCOMPARE(fromRecord.snapshot().size, QSize(-1, -1));
    QVERIFY(fromRecord.lastFlatten().isNull());
    QVERIFY(fromRecord.names() == doc.names());

    const CharacterData copy(doc);
    QCOMPARE(copy.snapshot().size, QSize(-1, -1));
    QVERIFY(copy.snapshot().names.empty());
    QVERIFY(copy.errorMessage().empty());
    QCOMPARE(copy.backgroundPixel(), 7);
    QVERIFY(copy.selectedCells() == std::vector<int>({1}));
    QCOMPARE(copy.lastFlatten(), doc.lastFlatten());

    CharacterData target = makeDocument(VX, 1);
    target.errorMessage() = "mien";
    target.saveSnapshot();
    target = doc;
    QCOMPARE(target.errorMessage(), std::string("mien"));
    QCOMPARE(target.snapshot().type, int(VX));
    QCOMPARE(target.snapshot().names.size(), size_t(1));
    QVERIFY(target.lastFlatten().isNull());
    QCOMPARE(target.backgroundPixel(), 7);
    QVERIFY(target.names() == doc.names());
  }

  void previewSnapshot()
  {
    CharacterData doc = makeDocument(XP, 2);
    doc.setSelectedCells({3});
    doc.setZoom(2.0);
    doc.saveSnapshot();
    doc.convertXPtoVX();
    doc.names().pop_back();
    doc.images().pop_back();
    doc.setSelectedCells({});
    doc.setZoom(1.0);
    doc.setOnlySelection(true);
    doc.restoreSnapshot();
    QCOMPARE(doc.elementCount(), 2);
    QCOMPARE(int(doc.type()), int(XP));
    QCOMPARE(doc.size(), QSize(128, 192));
    QVERIFY(doc.selectedCells() == std::vector<int>({3}));
    QCOMPARE(doc.zoom(), 2.0);
    QVERIFY(!doc.isOnlySelection());
    QCOMPARE(doc.snapshot().names.size(), size_t(2));

    doc.clearSnapshot();
    QVERIFY(doc.snapshot().images.empty() && doc.snapshot().names.empty());
    QCOMPARE(doc.snapshot().size, QSize(128, 192));
    doc.restoreSnapshot();
    QCOMPARE(doc.elementCount(), 0);
    QVERIFY(doc.selectedCells().empty());
  }

  void clipboardKinds()
  {
    CharacterData doc = makeDocument(XP, 3);
    doc.setSelectedElements({2, 0});
    std::unique_ptr<ClipBoard> board = std::make_unique<ClipBoard>(2);
    QCOMPARE(int(board->kind()), 2);
    QVERIFY(board->data() == nullptr);

    board = std::make_unique<ClipBoardData<LayerData>>(doc.copySelectedElements(), 0);
    QCOMPARE(int(board->kind()), 0);
    doc.names()[0] = "renamed";
    const auto* elements = static_cast<const LayerData*>(board->data());
    QVERIFY(elements->names == std::vector<std::string>({"E0", "E2"}));

    board = std::make_unique<ClipBoardData<LayerDataCellule>>(doc.cellule(1, 5), 1);
    QCOMPARE(int(board->kind()), 1);
    const auto* cell = static_cast<const LayerDataCellule*>(board->data());
    QCOMPARE(cell->offset, QPoint(1, -1));
    QCOMPARE(cell->image.pixel(0, 0), 0xFF000001u);
  }
};

SK_TEST_MAIN(TestSnapshot)
#include "test_snapshot.moc"
