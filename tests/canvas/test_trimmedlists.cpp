#include "tests/TestMain.h"
#include "tests/colour/GrabPath.h"

#include "canvas/QLayerListELSK.h"
#include "canvas/QLayerListSelectable.h"
#include "model/CharacterData.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>

#include <memory>

namespace {

// Row r's band starts here in a five-row list.
int rowTop(int r) { return 242 - 58 * r; }
QPoint onRow(int r) { return QPoint(50, rowTop(r) + 24); }

QImage plain(const QSize& size, QRgb colour)
{
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// One plainly coloured element per source, named A, B, C ...; "?SK?" makes
// the builder's placeholder (a drawing element).
CharacterData document(QStringList sources, const QSize& size = QSize(128, 192))
{
  CharacterData doc(XP, size);
  for (int i = 0; i < sources.size(); ++i) {
    const bool placeholder = sources[i] == "?SK?";
    QImage sheet = placeholder ? QImage() : plain(size, qRgba(10 * i, 200, 30, 255));
    doc.addElementFromImage(sheet, placeholder ? std::string() : sources[i].toStdString());
    doc.setSource(sources[i].toStdString(), i);
    doc.setName(placeholder ? "Elément sélectionné" : std::string(1, char('A' + i)), i);
  }
  return doc;
}

QStringList numbered(int count)
{
  QStringList sources;
  for (int i = 0; i < count; ++i)
    sources << QString::number(i);
  return sources;
}

QString joined(const std::vector<std::string>& texts)
{
  QStringList out;
  for (const std::string& t : texts)
    out << QString::fromStdString(t);
  return out.join(',');
}

void mouse(QWidget& w, QEvent::Type type, const QPoint& at, Qt::MouseButton button = Qt::NoButton)
{
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
  QMouseEvent event(type, at, w.mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(&w, &event);
}

void click(QWidget& w, const QPoint& at, Qt::MouseButton button = Qt::LeftButton)
{
  mouse(w, QEvent::MouseButtonPress, at, button);
  mouse(w, QEvent::MouseButtonRelease, at, button);
}

QAction* menuEntry(QLayerListELSK& list, const QPoint& at, const QString& text)
{
  click(list, at, Qt::RightButton);
  for (QAction* a : list.actionsMenu()->actions())
    if (a->text() == text)
      return a;
  return nullptr;
}

QImage pixels(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_ARGB32); }

// 1 marks the list's own entries, 0 the other list's.
std::vector<int> groupsFor(const QLayerListSelectable& list, const std::vector<int>& pattern)
{
  std::vector<int> groups;
  for (int g : pattern)
    groups.push_back(g == 1 ? list.group() : list.group() + 1000);
  return groups;
}

const std::vector<int> kSevenOfNine = {1, 0, 0, 1, 1, 1, 1, 1, 1};

} // namespace

class TestTrimmedLists : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { QApplication::setStartDragDistance(10); }

  // Runs first: group numbers count the lists built over the program's life.
  void groupNumbersAndEmptiedList()
  {
    CharacterData doc = document(numbered(2));
    std::vector<int> groups;
    {
      QLayerListSelectable first(&doc, &groups), second(&doc, &groups);
      QCOMPARE(first.group() * 10 + second.group(), 1);
    }
    QLayerListSelectable third(&doc, &groups), fourth(&doc, &groups);
    QCOMPARE(third.group() * 10 + fourth.group(), 23);
    groups = {2, 2};
    click(third, onRow(0));
    QCOMPARE(third.selectedIndex, 0);
    // The owner moves every entry to the other list.
    groups = {3, 3};
    QSignalSpy spy(&third, &QLayerListSelectable::selected);
    const QImage empty = pixels(third);
    pixels(third);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), -1);
    QCOMPARE(third.selectedIndex, -1);
    // The message at the top, nothing else.
    const QRgb background = empty.pixel(100, 200);
    QCOMPARE(empty.copy(0, 20, 180, 280), plain(QSize(180, 280), background));
    QVERIFY(empty.copy(0, 0, 150, 16) != plain(QSize(150, 16), background));
  }

  void placeholderAlone()
  {
    CharacterData doc = document({"?SK?"});
    QLayerListELSK list(&doc);
    QCOMPARE(list.size(), QSize(180, 300));
    const QImage icon = QImage(":/icon/SK.png").convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(list.thumbnailPixmaps().at(0).toImage().convertToFormat(QImage::Format_ARGB32), icon);
    QAction* remove = menuEntry(list, onRow(0), QStringLiteral("Supprimer"));
    QCOMPARE(list.actionsMenu()->title(), QStringLiteral("Actions"));
    QCOMPARE(list.actionsMenu()->actions(), QList<QAction*>{remove});
    QVERIFY(!remove->isEnabled());
    // Reached by other means, the deletion still spares the placeholder.
    QMetaObject::invokeMethod(&list, "aSupprimer");
    QCOMPARE(doc.elementCount(), 1);
  }

  void deleteReportsSource_data()
  {
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("reported");
    QTest::addColumn<QString>("left");
    QTest::newRow("number") << QStringList{"0", "?SK?", "2", "1"} << 2 << 2 << "0,?SK?,1";
    QTest::newRow("not a number") << QStringList{"x7", "?SK?"} << 0 << 0 << "?SK?";
  }
  void deleteReportsSource()
  {
    QFETCH(QStringList, sources);
    QFETCH(int, row);
    QFETCH(int, reported);
    QFETCH(QString, left);
    CharacterData doc = document(sources);
    QLayerListELSK list(&doc);
    // What the builder sees when told: the element gone, thumbnails rebuilt.
    QStringList told;
    connect(&list, &QLayerListELSK::deleteElement, this, [&](int n) {
      told << QString("%1 %2 %3").arg(n).arg(doc.elementCount()).arg(list.thumbnailPixmaps().size());
    });
    menuEntry(list, onRow(row), QStringLiteral("Supprimer"))->trigger();
    const int count = sources.size() - 1;
    QCOMPARE(told, QStringList{QString("%1 %2 %2").arg(reported).arg(count)});
    QCOMPARE(joined(doc.sources()), left);
  }

  void geometry_data()
  {
    QTest::addColumn<bool>("selectable");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("step");
    QTest::addColumn<QSize>("cell");
    QTest::addColumn<QSize>("thumbnail");
    const QSize fits(32, 48);
    QTest::newRow("element file, 6") << false << 6 << 200 << 36 << QSize(32, 64) << QSize(24, 48);
    QTest::newRow("element file, 80") << false << 80 << 15 << 2 << QSize(64, 64) << QSize(32, 32);
    QTest::newRow("five fit") << false << 5 << 0 << 0 << fits << fits;
    QTest::newRow("selectable, 12") << true << 12 << 100 << 19 << fits << fits;
    QTest::newRow("selectable, 100") << true << 100 << 15 << 2 << fits << fits;
  }
  void geometry()
  {
    QFETCH(bool, selectable);
    QFETCH(int, count);
    QFETCH(int, length);
    QFETCH(int, step);
    QFETCH(QSize, cell);
    QFETCH(QSize, thumbnail);
    // The selectable list counts only its entries: one element of the other
    // list lies among them. The element file's first element is its
    // placeholder.
    QStringList sources = numbered(count + 1);
    sources[0] = "?SK?";
    CharacterData doc = document(sources, cell * 4);
    std::vector<int> groups;
    std::unique_ptr<ElementListView> list;
    if (selectable) {
      auto* s = new QLayerListSelectable(&doc, &groups);
      std::vector<int> pattern(count + 1, 1);
      pattern[count / 2] = 0;
      groups = groupsFor(*s, pattern);
      list.reset(s);
    } else {
      doc.removeElements({count});
      list.reset(new QLayerListELSK(&doc));
    }
    QCOMPARE(list->thumbRect().height(), length);
    QCOMPARE(list->listGeometry().thumbStep(), step);
    // At rest the thumb sits just above the down arrow.
    QCOMPARE(list->thumbRect().bottom(), length ? 267 : -1);
    QCOMPARE(list->thumbnailPixmaps().at(1).size(), thumbnail);
    QCOMPARE(list->thumbnailPixmaps().at(0).size(), selectable ? thumbnail : QSize(32, 32));
  }

  void paintHonoursListUpdateFlag()
  {
    CharacterData doc = document({"0", "?SK?"});
    QLayerListELSK list(&doc);
    pixels(list);
    for (QImage& cell : doc.images(0))
      cell.fill(qRgba(0, 0, 255, 255));
    doc.setListUpdatePending(true);
    // The 32 x 48 thumbnail sits centred on (18, T + 24).
    QCOMPARE(pixels(list).pixel(10, rowTop(0) + 10), qRgba(0, 0, 255, 255));
    QVERIFY(!doc.isListUpdatePending());
  }

  // Elements A, B, C, D sit in rows 0 to 3. A drag starts on A; a menu move
  // starts with a right click at menuY; releases land over the scroll bar.
  void moves_data()
  {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("earlierMove");
    QTest::addColumn<int>("menuY");
    QTest::addColumn<QList<int>>("path");
    QTest::addColumn<bool>("moving");
    QTest::addColumn<int>("drop");
    QTest::addColumn<QString>("order");
    const QList<int> none;
    QTest::newRow("drag to an upper half") << 4 << false << -1 << QList<int>{rowTop(2) + 4} << true << 3 << "BCAD";
    QTest::newRow("line keeps the gap") << 4 << false << -1 << QList<int>{rowTop(2) + 4, rowTop(1) + 23} << true
                                        << 3 << "BCAD";
    QTest::newRow("other line too") << 4 << false << -1 << QList<int>{rowTop(3) + 30, rowTop(1) + 24} << true << 3
                                    << "BCAD";
    QTest::newRow("short drag") << 4 << false << -1 << QList<int>{rowTop(0) + 20} << false << -1 << "ABCD";
    QTest::newRow("one element") << 1 << false << -1 << QList<int>{rowTop(0) - 60} << false << -1 << "A";
    QTest::newRow("own place") << 4 << false << -1 << QList<int>{rowTop(1) + 30} << true << 1 << "ABCD";
    QTest::newRow("Déplacer on a line") << 4 << false << rowTop(1) + 23 << none << true << -1 << "ABCD";
    QTest::newRow("Déplacer on the other") << 4 << false << rowTop(1) + 24 << none << true << -1 << "ABCD";
    QTest::newRow("Déplacer after a move") << 4 << true << rowTop(1) + 23 << none << true << -1 << "BCAD";
    QTest::newRow("Déplacer, then a half") << 4 << false << rowTop(0) + 24 << QList<int>{rowTop(3) + 4} << true << 4
                                           << "BCDA";
  }
  void moves()
  {
    QFETCH(int, count);
    QFETCH(bool, earlierMove);
    QFETCH(int, menuY);
    QFETCH(QList<int>, path);
    QFETCH(bool, moving);
    QFETCH(int, drop);
    QFETCH(QString, order);
    CharacterData doc = document(numbered(count));
    QLayerListELSK list(&doc);
    const QPoint away(160, 5);
    if (earlierMove) {
      mouse(list, QEvent::MouseButtonPress, onRow(0), Qt::LeftButton);
      mouse(list, QEvent::MouseMove, QPoint(50, rowTop(2) + 4));
      mouse(list, QEvent::MouseButtonRelease, away, Qt::LeftButton);
    }
    if (menuY < 0)
      mouse(list, QEvent::MouseButtonPress, onRow(0), Qt::LeftButton);
    else
      menuEntry(list, QPoint(50, menuY), QStringLiteral("Déplacer"))->trigger();
    for (int y : path)
      mouse(list, QEvent::MouseMove, QPoint(50, y));
    QCOMPARE(list.isMoving(), moving);
    QCOMPARE(list.dropPosition(), drop);
    mouse(list, QEvent::MouseButtonRelease, away, Qt::LeftButton);
    QVERIFY(!list.isMoving());
    QCOMPARE(joined(doc.names()).remove(','), order);
  }

  // Seven entries (elements 0, 3, 4, 5, 6, 7, 8) among nine elements; a
  // click on a row, then a key.
  void selectable_data()
  {
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("clickRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<QList<int>>("emitted");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("firstAfter");
    QTest::newRow("bottom row from 2") << 2 << 0 << 0 << QList<int>{4} << 4 << 2;
    QTest::newRow("top row from 2") << 2 << 4 << 0 << QList<int>{8} << 8 << 2;
    QTest::newRow("first row 5 kept to 2") << 5 << -1 << 0 << QList<int>{} << -1 << 2;
    QTest::newRow("Up from the top row") << 0 << 4 << int(Qt::Key_Up) << QList<int>{6, 7} << 7 << 1;
    QTest::newRow("Down from the bottom row") << 1 << 0 << int(Qt::Key_Down) << QList<int>{3, 0} << 0 << 0;
    QTest::newRow("Up with nothing above") << 2 << 4 << int(Qt::Key_Up) << QList<int>{8} << 8 << 2;
    QTest::newRow("Down with nothing below") << 0 << 0 << int(Qt::Key_Down) << QList<int>{0} << 0 << 0;
    QTest::newRow("no selection") << 0 << -1 << int(Qt::Key_Up) << QList<int>{} << -1 << 0;
    QTest::newRow("other key") << 0 << 1 << int(Qt::Key_Left) << QList<int>{3} << 3 << 0;
  }
  void selectable()
  {
    QFETCH(int, firstRow);
    QFETCH(int, clickRow);
    QFETCH(int, key);
    QFETCH(QList<int>, emitted);
    QFETCH(int, selected);
    QFETCH(int, firstAfter);
    CharacterData doc = document(numbered(9));
    std::vector<int> groups;
    QLayerListSelectable list(&doc, &groups);
    groups = groupsFor(list, kSevenOfNine);
    QCOMPARE(list.entryCount(), 7);
    list.setFirstRow(firstRow);
    QSignalSpy spy(&list, &QLayerListSelectable::selected);
    if (clickRow >= 0)
      click(list, onRow(clickRow));
    if (key)
      QTest::keyClick(&list, Qt::Key(key));
    QList<int> told;
    for (const QList<QVariant>& args : spy)
      told << args.at(0).toInt();
    QCOMPARE(told, emitted);
    QCOMPARE(list.selectedIndex, selected);
    QCOMPARE(list.firstRow(), firstAfter);
  }

  // Both lists as the user sees them; under a real X server set SK_GRAB_DIR
  // to look at the pictures.
  void grabs()
  {
    const QRgb band = qRgb(50, 101, 255), thumbFill = qRgb(166, 166, 246);
    CharacterData doc = document({"0", "1", "?SK?", "3", "4", "5", "6"});
    doc.setVisible(false, 3);
    QLayerListELSK elsk(&doc);
    click(elsk, onRow(1));
    const QImage e = pixels(elsk);
    QVERIFY(e.save(grabPath("elementfile-list")));
    QCOMPARE(e.pixel(140, rowTop(1) + 2), band);
    QCOMPARE(e.pixel(164, 200), thumbFill);
    QImage icon = plain(QSize(32, 32), e.pixel(1, rowTop(2) + 1));
    QPainter(&icon).drawImage(0, 0, QImage(":/icon/SK.png"));
    QCOMPARE(e.copy(2, rowTop(2) + 8, 32, 32), icon);

    std::vector<int> groups;
    QLayerListSelectable selectable(&doc, &groups);
    groups = groupsFor(selectable, {1, 1, 1, 1, 1, 0, 1});
    click(selectable, onRow(3));
    const QImage s = pixels(selectable);
    QVERIFY(s.save(grabPath("selectable-list")));
    QCOMPARE(s.pixel(140, rowTop(3) + 2), band);
    QCOMPARE(s.pixel(164, 200), thumbFill);
  }
};

SK_TEST_MAIN(TestTrimmedLists)
#include "test_trimmedlists.moc"
