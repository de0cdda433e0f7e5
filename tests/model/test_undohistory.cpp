#include "tests/TestMain.h"

#include "model/CharacterData.h"
#include "model/UndoHistory.h"

#include <set>

namespace {

// Each recorded state carries its edit number as its width.
LayerData state(int id)
{
  LayerData d;
  d.size = QSize(id, 1);
  return d;
}

// The main window's undo and redo; they report the state shown, or -1 when
// they do nothing.
int undo(UndoHistory& h)
{
  if (h.currentIndex() == 0 || h.count() < 2)
    return -1;
  return h.goTo(h.currentIndex() == h.count() ? -2 : -1).size.width();
}

int redo(UndoHistory& h)
{
  if (h.count() == 0 || h.currentIndex() >= h.count() - 1)
    return -1;
  return h.goTo(h.currentIndex() + 1).size.width();
}

bool modified(const UndoHistory& h)
{
  return h.currentIndex() != h.savedIndex();
}

} // namespace

class TestUndoHistory : public QObject
{
  Q_OBJECT

private slots:
  void walk()
  {
    UndoHistory h;
    h.push(state(0), "Etat d'origine");
    QCOMPARE(h.count(), 1);
    QCOMPARE(h.currentIndex(), 1);
    QCOMPARE(undo(h), -1);
    h.push(state(1), "Pinceau");
    h.push(state(2), "Gomme");
    QCOMPARE(h.currentIndex(), 3);
    QCOMPARE(undo(h), 1);
    QCOMPARE(h.currentIndex(), 1);
    QCOMPARE(undo(h), 0);
    QCOMPARE(undo(h), -1);
    QCOMPARE(redo(h), 1);
    QCOMPARE(redo(h), 2);
    QCOMPARE(h.currentIndex(), 2);
    QCOMPARE(redo(h), -1);
    QCOMPARE(h.label(1), std::string("Pinceau"));
  }

  void pushAfterUndoDropsTheRedoTail()
  {
    UndoHistory h;
    for (int i = 0; i < 5; ++i)
      h.push(state(i), "x");
    QCOMPARE(undo(h), 3);
    QCOMPARE(undo(h), 2);
    h.push(state(9), "Coller");
    QCOMPARE(h.count(), 4);
    QCOMPARE(h.currentIndex(), 3);
    QCOMPARE(h.label(3), std::string("Coller"));
    QCOMPARE(undo(h), 2);
    QCOMPARE(redo(h), 9);
  }

  void savedFlag()
  {
    UndoHistory h;
    for (int i = 0; i < 4; ++i)
      h.push(state(i), "x");
    h.markSaved();
    QCOMPARE(h.savedIndex(), 3);
    undo(h);
    QVERIFY(modified(h));
    redo(h);
    QVERIFY(!modified(h));
    undo(h);
    h.markSaved();
    QCOMPARE(h.savedIndex(), 2);
  }

  void limit_data()
  {
    QTest::addColumn<int>("setting");
    QTest::addColumn<int>("expected");
    QTest::newRow("0 ignored") << 0 << 271;
    QTest::newRow("-5 ignored") << -5 << 271;
    QTest::newRow("-1 default") << -1 << 271;
    QTest::newRow("-2 unlimited") << -2 << -2;
    QTest::newRow("10") << 10 << 10;
  }
  void limit()
  {
    QFETCH(int, setting);
    QFETCH(int, expected);
    UndoHistory h;
    QCOMPARE(h.limit(), 271);
    h.setLimit(setting);
    QCOMPARE(h.limit(), expected);
    for (int i = 0; i < 300; ++i)
      h.push(state(i), "x");
    const int kept = expected == -2 ? 300 : expected;
    QCOMPARE(h.count(), kept);
    // The oldest states went first; the index did not move at the limit.
    QCOMPARE(h.currentIndex(), kept);
    QCOMPARE(h.goTo(0).size.width(), 300 - kept);
  }

  void pushAtTheLimitAfterUndo()
  {
    UndoHistory h;
    for (int i = 0; i < 272; ++i)
      h.push(state(i), "x");
    QCOMPARE(h.count(), 271);
    QCOMPARE(undo(h), 270);
    h.push(state(500), "y");
    QCOMPARE(h.count(), 271);
    QCOMPARE(h.currentIndex(), 270);
    QCOMPARE(h.goTo(270).size.width(), 500);
  }

  // Walking the whole history down and back up, the document must show as
  // saved exactly where the saved state is shown.
  void savedStateSurvivesTrimming_data()
  {
    QTest::addColumn<int>("savedAt");
    QTest::newRow("saved state still held") << 100;
    QTest::newRow("saved state dropped") << 10;
    QTest::newRow("saved at the last drop") << 29;
  }
  void savedStateSurvivesTrimming()
  {
    QFETCH(int, savedAt);
    UndoHistory h;
    for (int i = 0; i < 300; ++i) {
      h.push(state(i), "x");
      if (i == savedAt)
        h.markSaved();
    }
    int shown = 299;
    QVERIFY(modified(h) || shown == savedAt);
    for (int step; (step = undo(h)) != -1;) {
      shown = step;
      QCOMPARE(!modified(h), shown == savedAt);
    }
    for (int step; (step = redo(h)) != -1;) {
      shown = step;
      QCOMPARE(!modified(h), shown == savedAt);
    }
  }

  // A new state written in the slot of a saved state undone away is not the
  // saved one.
  void savedStateDroppedWithTheRedoTail()
  {
    UndoHistory h;
    for (int i = 0; i < 4; ++i)
      h.push(state(i), "x");
    h.markSaved(); // state 3
    undo(h);
    undo(h);       // state 1
    h.push(state(7), "x");
    h.push(state(8), "x"); // lands where state 3 was
    QCOMPARE(undo(h), 7);
    QCOMPARE(redo(h), 8);
    QVERIFY(modified(h));
  }

  // Each pen step copies one cell; every other cell image of every step must
  // share its pixels with the document, or a full history of a large
  // character would hold hundreds of megabytes.
  void stepsShareUnchangedCells()
  {
    CharacterData doc;
    for (int e = 0; e < 255; ++e)
      doc.addElement("", e);
    UndoHistory history;
    history.push(doc.toLayerData(), "Etat d'origine");
    PenSettings pen;
    pen.color = QColor(255, 0, 0);
    for (int step = 0; step < 300; ++step) {
      DrawScope scope;
      scope.elements = {step % 255};
      scope.cell = static_cast<unsigned char>(step % 16);
      doc.setPen(pen);
      doc.beginPath(scope);
      doc.addPenPoint(QPoint(step % 32, step % 48));
      doc.endPath();
      history.push(doc.toLayerData(), "Pinceau");
    }
    QCOMPARE(history.count(), 271);
    std::set<const uchar*> buffers;
    qint64 bytes = 0;
    for (int i = 0; i < history.count(); ++i)
      for (const auto& element : history.goTo(i).images)
        for (const QImage& image : element)
          if (buffers.insert(image.constBits()).second)
            bytes += image.sizeInBytes();
    QVERIFY2(buffers.size() <= 255 * 16 + 271, qPrintable(QString::number(buffers.size())));
    QVERIFY(bytes < 64ll * 1024 * 1024);
  }
};

SK_TEST_MAIN(TestUndoHistory)
#include "test_undohistory.moc"
