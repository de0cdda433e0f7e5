#include "tests/TestMain.h"

#include "widgets/QLabelClickable.h"
#include "widgets/QListViewKey.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QStringListModel>

namespace {

// A parent that counts the presses reaching it.
class PressCounter : public QWidget
{
public:
  int presses = 0;

protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

} // namespace

class TestClickable : public QObject
{
  Q_OBJECT

private slots:
  void labelTakesEveryPress();
  void keyMoves_data();
  void keyMoves();
};

void TestClickable::labelTakesEveryPress()
{
  PressCounter parent;
  auto* label = new QLabelClickable(&parent);
  label->setGeometry(0, 0, 40, 20);
  QList<Qt::MouseButton> seen;
  connect(label, &QLabelClickable::clicked, this, [&](QMouseEvent* e) { seen << e->button(); });
  for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
    QTest::mousePress(label, b, {}, QPoint(5, 5));
  QCOMPARE(seen, (QList<Qt::MouseButton>{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}));
  QCOMPARE(parent.presses, 0);

  // The counter itself does receive presses: the zero above means something.
  QTest::mousePress(&parent, Qt::LeftButton, {}, QPoint(60, 30));
  QCOMPARE(parent.presses, 1);
}

void TestClickable::keyMoves_data()
{
  QTest::addColumn<int>("rows");
  QTest::addColumn<int>("start"); // current row before the key; -1 none
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("emitted"); // -2: nothing emitted; -1: an invalid index
  QTest::newRow("down") << 3 << 0 << int(Qt::Key_Down) << 1;
  QTest::newRow("up") << 3 << 2 << int(Qt::Key_Up) << 1;
  QTest::newRow("down on last") << 3 << 2 << int(Qt::Key_Down) << 2;
  QTest::newRow("page down") << 3 << 0 << int(Qt::Key_PageDown) << -2;
  QTest::newRow("end") << 3 << 0 << int(Qt::Key_End) << -2;
  QTest::newRow("empty model") << 0 << -1 << int(Qt::Key_Down) << -1;
}

void TestClickable::keyMoves()
{
  QFETCH(int, rows);
  QFETCH(int, start);
  QFETCH(int, key);
  QFETCH(int, emitted);
  QStringList items;
  for (int i = 0; i < rows; ++i)
    items << QString("élément %1").arg(i);
  QStringListModel model(items);
  QListViewKey view;
  view.setModel(&model);
  view.resize(200, 200);
  if (start >= 0)
    view.setCurrentIndex(model.index(start));
  QSignalSpy spy(&view, &QListViewKey::selectedByKey);
  QTest::keyClick(&view, Qt::Key(key));
  if (emitted == -2) {
    QCOMPARE(spy.size(), 0);
    QVERIFY(view.currentIndex().row() != start); // the view moved all the same
    return;
  }
  QCOMPARE(spy.size(), 1);
  const QModelIndex index = spy[0][0].value<QModelIndex>();
  QCOMPARE(index.isValid(), emitted >= 0);
  if (emitted >= 0) {
    QCOMPARE(index.row(), emitted);
    QCOMPARE(view.currentIndex(), index);
  }
}

SK_TEST_MAIN(TestClickable)
#include "test_clickable.moc"
