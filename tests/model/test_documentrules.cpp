// The document rules the windows share: clipboard, element-file insertion,
// clicks on cells and elements, undo and redo targets.
#include "tests/TestMain.h"

#include "model/CharacterData.h"
#include "model/ClipBoard.h"
#include "model/UndoHistory.h"

#include <memory>

namespace {

// Elements "E0", "E1"...; every cell of element e is filled with 0xFF0000e0 + e.
CharacterData sheetOf(int type, int elements, const std::string& prefix = "E")
{
  CharacterData doc(type, QSize(0, 0));
  for (int e = 0; e < elements; ++e) {
    QImage image(doc.cellSize(), QImage::Format_ARGB32);
    image.fill(0xFF0000E0u + uint32_t(e));
    doc.names().push_back(prefix + std::to_string(e));
    doc.sources().push_back(prefix + std::to_string(e));
    doc.visibility().push_back(true);
    doc.images().push_back(std::vector<QImage>(doc.cellCount(), image));
    doc.offsets().push_back(std::vector<QPoint>(doc.cellCount(), QPoint(e, 1)));
  }
  return doc;
}

QString sources(const CharacterData& doc)
{
  QStringList out;
  for (const std::string& s : doc.sources())
    out << QString::fromStdString(s);
  return out.join(' ');
}

} // namespace

Q_DECLARE_METATYPE(std::vector<int>)

class TestDocumentRules : public QObject
{
  Q_OBJECT

private slots:
  void pastedElements_data()
  {
    QTest::addColumn<std::vector<int>>("selected");
    QTest::addColumn<QString>("expected");
    QTest::newRow("above the one selected") << std::vector<int>{0} << "E0 E1 E3 E1 E2 E3 E4";
    QTest::newRow("on top, none selected") << std::vector<int>{} << "E0 E1 E2 E3 E4 E1 E3";
    QTest::newRow("on top, two selected") << std::vector<int>{0, 2} << "E0 E1 E2 E3 E4 E1 E3";
  }
  // The copy outlives its character; a cut removes what it copied.
  void pastedElements()
  {
    QFETCH(std::vector<int>, selected);
    QFETCH(QString, expected);
    ClipBoard* held = new ClipBoard();
    {
      CharacterData source = sheetOf(XP, 5);
      source.setSelectedElements({3, 1});
      source.setSelectedCells({2}); // ignored when only elements are copied
      QVERIFY(copySelection(source, held, true));
    }
    CharacterData doc = sheetOf(XP, 5);
    doc.setSelectedElements(selected);
    QVERIFY(pasteElements(doc, *held));
    QCOMPARE(sources(doc), expected);
    QVERIFY(!pasteCell(doc, *held));

    doc.setSelectedElements({1, 3});
    doc.setSelectedCells({});
    QVERIFY(cutSelection(doc, held));
    QCOMPARE(doc.elementCount(), 5);
    delete held;
  }

  void refusedEditsChangeNothing()
  {
    ClipBoard* held = new ClipBoard();
    CharacterData doc = sheetOf(XP, 250);
    QVERIFY(!pasteElements(doc, *held));
    QVERIFY(!copySelection(doc, held));
    QCOMPARE(int(held->kind()), int(ClipBoard::Empty));

    for (int e = 0; e < 6; ++e)
      doc.toggleElement(e);
    QVERIFY(copySelection(doc, held));
    QVERIFY(!pasteElements(doc, *held)); // 256 would pass the limit
    QCOMPARE(doc.elementCount(), 250);

    doc.setSelectedCells({4});
    QVERIFY(copySelection(doc, held));
    QCOMPARE(int(held->kind()), int(ClipBoard::Cell));
    doc.setSelectedElements({251}); // left over from a larger sheet
    QVERIFY(!pasteCell(doc, *held));
    QVERIFY(!cutSelection(doc, held));
    CharacterData vx = sheetOf(VX, 1);
    vx.setSelectedElements({0});
    vx.setSelectedCells({12}); // past a VX sheet's cells
    QVERIFY(!pasteCell(vx, *held));
    QCOMPARE(vx.image(0, 11).pixel(0, 0), 0xFF0000E0u);
    delete held;
  }

  // The first selected element's first selected cell, whatever sheet it lands on.
  void copiedCell()
  {
    ClipBoard* held = nullptr;
    CharacterData xp = sheetOf(XP, 2);
    xp.image(1, 5).setPixel(0, 0, 0xFF123456u);
    xp.setOffset(QPoint(7, -3), 1, 5);
    xp.setSelectedElements({1, 0});
    xp.setSelectedCells({5, 2, 9});
    QVERIFY(copySelection(xp, held));
    CharacterData vx = sheetOf(VX, 3);
    vx.setSelectedElements({2});
    vx.setSelectedCells({11});
    QVERIFY(pasteCell(vx, *held));
    QCOMPARE(vx.image(2, 11).size(), QSize(32, 48));
    QCOMPARE(vx.image(2, 11).pixel(0, 0), 0xFF123456u);
    QCOMPARE(vx.offset(2, 11), QPoint(7, -3));
    QCOMPARE(vx.image(2, 10).pixel(0, 0), 0xFF0000E2u);

    QVERIFY(cutSelection(xp, held));
    QCOMPARE(xp.elementCount(), 2);
    QCOMPARE(xp.image(1, 9).pixel(0, 0), kBlankPixel);
    QCOMPARE(xp.image(0, 2).pixel(0, 0), kBlankPixel);
    QCOMPARE(xp.image(0, 3).pixel(0, 0), 0xFF0000E0u);
    delete held;
  }

  void elementGroups_data()
  {
    QTest::addColumn<int>("elements");
    QTest::addColumn<std::vector<int>>("selected");
    QTest::addColumn<QString>("order");
    QTest::addColumn<std::vector<int>>("selectedAfter");
    QTest::newRow("one selected") << 5 << std::vector<int>{2} << "E0 E1 F0 F1 E2 G0 E3 E4" << std::vector<int>{4};
    QTest::newRow("topmost of two") << 5 << std::vector<int>{4, 1} << "E0 E1 E2 E3 F0 F1 E4 G0 "
                                    << std::vector<int>{6, 1};
    QTest::newRow("several, reference below") << 5 << std::vector<int>{1, 4} << "E0 E1 E2 E3 F0 F1 E4 G0"
                                              << std::vector<int>{1, 6};
    QTest::newRow("empty character") << 0 << std::vector<int>() << "F0 F1 G0" << std::vector<int>();
  }
  void elementGroups()
  {
    QFETCH(int, elements);
    QFETCH(std::vector<int>, selected);
    QFETCH(QString, order);
    QFETCH(std::vector<int>, selectedAfter);
    CharacterData doc = sheetOf(XP, elements);
    doc.setSelectedElements(selected);
    CharacterData below = sheetOf(XP, 2, "F"), above = sheetOf(XP, 1, "G");
    QVERIFY(doc.insertElementGroups(below, above));
    QCOMPARE(sources(doc), order.trimmed());
    QCOMPARE(doc.selectedElements(), selectedAfter);

    CharacterData full = sheetOf(XP, 253);
    CharacterData b = sheetOf(XP, 2, "F"), a = sheetOf(XP, 1, "G");
    QVERIFY(!full.insertElementGroups(b, a));
    QCOMPARE(full.elementCount(), 253);
  }

  // ctrl and shift held; key 0 clicks the cell, else an arrow from the last pick.
  void clickCell_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<std::vector<int>>("before");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("cell");
    QTest::addColumn<std::vector<int>>("after");
    const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, both = shift | ctrl;
    QTest::newRow("plain") << int(XP) << std::vector<int>{2, 3} << 0 << 0 << 7 << std::vector<int>{7};
    QTest::newRow("shift") << int(XP) << std::vector<int>{5} << shift << 0 << 10 << std::vector<int>{5, 9, 6, 10};
    QTest::newRow("ctrl+shift") << int(XP) << std::vector<int>{6, 5} << both << 0 << 10 << std::vector<int>{5, 9, 10};
    QTest::newRow("shift, none") << int(XP) << std::vector<int>{} << shift << 0 << 7 << std::vector<int>{7};
    QTest::newRow("shift on anchor") << int(XP) << std::vector<int>{2, 5} << shift << 0 << 5 << std::vector<int>{2, 5};
    QTest::newRow("ctrl toggles") << int(XP) << std::vector<int>{2, 5} << ctrl << 0 << 2 << std::vector<int>{5};
    QTest::newRow("VX right from 11") << int(VX) << std::vector<int>{11} << 0 << int(Qt::Key_Right) << 0
                                      << std::vector<int>{11};
    QTest::newRow("VX down from 9") << int(VX) << std::vector<int>{9} << 0 << int(Qt::Key_Down) << 0
                                    << std::vector<int>{9};
    QTest::newRow("VX left from 3") << int(VX) << std::vector<int>{3} << 0 << int(Qt::Key_Left) << 0
                                    << std::vector<int>{2};
    QTest::newRow("VX left from 0") << int(VX) << std::vector<int>{0} << 0 << int(Qt::Key_Left) << 0
                                    << std::vector<int>{0};
    QTest::newRow("XP up from 5") << int(XP) << std::vector<int>{5} << 0 << int(Qt::Key_Up) << 0
                                  << std::vector<int>{1};
    QTest::newRow("shift+right") << int(XP) << std::vector<int>{5} << shift << int(Qt::Key_Right) << 0
                                 << std::vector<int>{5, 6};
  }
  void clickCell()
  {
    QFETCH(int, type);
    QFETCH(std::vector<int>, before);
    QFETCH(int, modifiers);
    QFETCH(int, key);
    QFETCH(int, cell);
    QFETCH(std::vector<int>, after);
    CharacterData doc(type, QSize(0, 0));
    doc.setSelectedCells(before);
    if (key)
      cell = doc.neighbourCell(key);
    doc.clickCell(cell, modifiers & Qt::ControlModifier, modifiers & Qt::ShiftModifier);
    QCOMPARE(doc.selectedCells(), after);
  }

  void clickElement_data()
  {
    QTest::addColumn<std::vector<int>>("before");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<std::vector<int>>("after");
    const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("plain") << std::vector<int>{2, 4} << 0 << std::vector<int>{5};
    QTest::newRow("ctrl on") << std::vector<int>{2} << ctrl << std::vector<int>{2, 5};
    QTest::newRow("ctrl off") << std::vector<int>{5, 2} << ctrl << std::vector<int>{2};
    QTest::newRow("shift up") << std::vector<int>{2} << shift << std::vector<int>{2, 3, 4, 5};
    QTest::newRow("shift down") << std::vector<int>{7} << shift << std::vector<int>{7, 6, 5};
    QTest::newRow("shift empty") << std::vector<int>{} << shift << std::vector<int>{5};
    QTest::newRow("shift same") << std::vector<int>{1, 5} << shift << std::vector<int>{1, 5};
    QTest::newRow("ctrl shift 2") << std::vector<int>{2} << (ctrl | shift) << std::vector<int>{2, 3, 4, 5};
    QTest::newRow("ctrl shift 4 2") << std::vector<int>{4, 2} << (ctrl | shift) << std::vector<int>{2, 3, 5};
    QTest::newRow("ctrl shift 2 4") << std::vector<int>{2, 4} << (ctrl | shift) << std::vector<int>{2, 4, 5};
  }
  void clickElement()
  {
    QFETCH(std::vector<int>, before);
    QFETCH(int, modifiers);
    QFETCH(std::vector<int>, after);
    CharacterData doc = sheetOf(XP, 9);
    doc.setSelectedElements(before);
    doc.clickElement(5, modifiers & Qt::ControlModifier, modifiers & Qt::ShiftModifier);
    QCOMPARE(doc.selectedElements(), after);
  }

  // The state the character opened with is never undone.
  void undoAndRedoTargets()
  {
    UndoHistory history;
    const LayerData state = sheetOf(XP, 1).toLayerData();
    QCOMPARE(history.undoTarget(), -1);
    QCOMPARE(history.redoTarget(), -1);
    history.push(state, "Etat d'origine");
    QCOMPARE(history.undoTarget(), -1);
    history.push(state, "a");
    history.push(state, "b");
    QCOMPARE(history.undoTarget(), 1);
    QCOMPARE(history.redoTarget(), -1);
    history.goTo(history.undoTarget());
    QCOMPARE(history.undoTarget(), 0);
    QCOMPARE(history.redoTarget(), 2);
    history.goTo(history.undoTarget());
    QCOMPARE(history.undoTarget(), -1);
    history.goTo(history.redoTarget());
    history.goTo(history.redoTarget());
    QCOMPARE(history.currentIndex(), 2);
    QCOMPARE(history.redoTarget(), -1);
  }
};

SK_TEST_MAIN(TestDocumentRules)
#include "test_documentrules.moc"
