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

const QString kPlaceholderName = QString::fromUtf8("El\xc3\xa9ment s\xc3\xa9lectionn\xc3\xa9");

// Row r's band starts here in a five-row list.
int rowTop(int r)
{
  return 242 - 58 * r;
}

QImage sheet(const QSize& size, QRgb colour)
{
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// A document with one plainly coloured element per source; "?SK?" makes the
// builder's placeholder. Names are A, B, C ... in element order.
CharacterData document(const QStringList& sources, const QSize& size = QSize(128, 192))
{
  CharacterData doc(XP, size);
  for (int i = 0; i < sources.size(); ++i) {
    QImage image = sheet(size, qRgba(10 * i, 200, 30, 255));
    const bool placeholder = sources[i] == "?SK?";
    if (placeholder)
      image = QImage();
    doc.addElementFromImage(image, placeholder ? std::string() : sources[i].toStdString());
    doc.setSource(sources[i].toStdString(), i);
    doc.setName(placeholder ? kPlaceholderName.toStdString() : std::string(1, char('A' + i)), i);
  }
  return doc;
}

QStringList sourcesCounted(int count)
{
  QStringList sources;
  for (int i = 0; i < count; ++i)
    sources << QString::number(i);
  return sources;
}

QStringList names(const CharacterData& doc)
{
  QStringList out;
  for (const std::string& n : doc.names())
    out << QString::fromStdString(n);
  return out;
}

void mouse(QWidget& w, QEvent::Type type, const QPoint& at, Qt::MouseButton button = Qt::NoButton)
{
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent event(type, at, w.mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(&w, &event);
}

void click(QWidget& w, const QPoint& at, Qt::MouseButton button = Qt::LeftButton)
{
  mouse(w, QEvent::MouseButtonPress, at, button);
  mouse(w, QEvent::MouseButtonRelease, at, button);
}

QMenu* rightClick(QLayerListELSK& list, const QPoint& at)
{
  click(list, at, Qt::RightButton);
  return list.actionsMenu();
}

QAction* entry(QMenu* menu, const QString& text)
{
  for (QAction* a : menu->actions())
    if (a->text() == text)
      return a;
  return nullptr;
}

QImage pixels(QWidget& w)
{
  return w.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// The groups of a selectable list: 1 marks its own entries, 0 the other list's.
std::vector<int> groupsFor(const QLayerListSelectable& list, const std::vector<int>& pattern)
{
  std::vector<int> groups;
  for (int g : pattern)
    groups.push_back(g == 1 ? list.group() : list.group() + 1000);
  return groups;
}

} // namespace

class TestTrimmedLists : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { QApplication::setStartDragDistance(10); }

  // Runs first: group numbers count the lists built over the program's life.
  void groupNumbersAndEmptiedList()
  {
    CharacterData doc = document(sourcesCounted(2));
    std::vector<int> groups;
    {
      QLayerListSelectable first(&doc, &groups), second(&doc, &groups);
      QCOMPARE(first.group(), 0);
      QCOMPARE(second.group(), 1);
    }
    QLayerListSelectable third(&doc, &groups), fourth(&doc, &groups);
    QCOMPARE(third.group(), 2);
    QCOMPARE(fourth.group(), 3);

    groups = {2, 2};
    QSignalSpy spy(&third, &QLayerListSelectable::selected);
    click(third, QPoint(50, rowTop(0) + 24));
    QCOMPARE(third.selectedIndex, 0);
    // The owner moves every entry to the other list.
    groups = {3, 3};
    spy.clear();
    const QImage empty = pixels(third);
    pixels(third);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), -1);
    QCOMPARE(third.selectedIndex, -1);
    // Only the message is drawn: ink at the top, nothing below it.
    const QRgb background = empty.pixel(100, 200);
    bool ink = false;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 150; ++x)
        ink = ink || empty.pixel(x, y) != background;
    QVERIFY(ink);
    for (int y = 20; y < 300; y += 3)
      for (int x = 0; x < 180; x += 3)
        QCOMPARE(empty.pixel(x, y), background);
  }

  void placeholderAlone()
  {
    CharacterData doc = document({"?SK?"});
    QLayerListELSK list(&doc);
    QCOMPARE(list.size(), QSize(180, 300));
    QCOMPARE(list.thumbnailPixmaps().size(), std::size_t(1));
    const QImage icon = QPixmap(":/icon/SK.png").toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(list.thumbnailPixmaps()[0].toImage().convertToFormat(QImage::Format_ARGB32), icon);

    QMenu* menu = rightClick(list, QPoint(50, rowTop(0) + 24));
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("Actions"));
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions()[0]->text(), QStringLiteral("Supprimer"));
    QVERIFY(!menu->actions()[0]->isEnabled());
    // Reached by other means, the deletion still spares the placeholder.
    QSignalSpy spy(&list, &QLayerListELSK::deleteElement);
    QMetaObject::invokeMethod(&list, "aSupprimer");
    QCOMPARE(doc.elementCount(), 1);
    QCOMPARE(spy.count(), 0);
    menu->close();
  }

  void deleteReportsSource_data()
  {
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("reported");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("number") << QStringList{"0", "?SK?", "2", "1"} << 2 << 2 << QStringList{"0", "?SK?", "1"};
    QTest::newRow("not a number") << QStringList{"x7", "?SK?"} << 0 << 0 << QStringList{"?SK?"};
  }
  void deleteReportsSource()
  {
    QFETCH(QStringList, sources);
    QFETCH(int, row);
    QFETCH(int, reported);
    QFETCH(QStringList, left);
    CharacterData doc = document(sources);
    QLayerListELSK list(&doc);
    int countAtSignal = -1;
    std::size_t thumbnailsAtSignal = 0;
    QList<int> signalled;
    connect(&list, &QLayerListELSK::deleteElement, this, [&](int n) {
      signalled << n;
      countAtSignal = doc.elementCount();
      thumbnailsAtSignal = list.thumbnailPixmaps().size();
    });
    QMenu* menu = rightClick(list, QPoint(50, rowTop(row) + 24));
    QAction* remove = entry(menu, QStringLiteral("Supprimer"));
    QVERIFY(remove && remove->isEnabled());
    remove->trigger();
    QCOMPARE(signalled, QList<int>{reported});
    QCOMPARE(countAtSignal, int(left.size()));
    QCOMPARE(thumbnailsAtSignal, std::size_t(left.size()));
    QStringList kept;
    for (const std::string& s : doc.sources())
      kept << QString::fromStdString(s);
    QCOMPARE(kept, left);
  }

  void thumbGeometry_data()
  {
    QTest::addColumn<bool>("selectable");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("step");
    QTest::newRow("element file, 6") << false << 6 << 200 << 36;
    QTest::newRow("element file, 80") << false << 80 << 15 << 2;
    QTest::newRow("selectable, 12") << true << 12 << 100 << 19;
    QTest::newRow("selectable, 100") << true << 100 << 15 << 2;
    QTest::newRow("element file, 5: no bar") << false << 5 << 0 << 0;
  }
  void thumbGeometry()
  {
    QFETCH(bool, selectable);
    QFETCH(int, count);
    QFETCH(int, length);
    QFETCH(int, step);
    // The selectable list counts its entries only: one element of the other
    // list lies among them.
    CharacterData doc = document(sourcesCounted(count + (selectable ? 1 : 0)));
    std::vector<int> groups;
    std::unique_ptr<ElementListView> list;
    if (selectable) {
      auto* s = new QLayerListSelectable(&doc, &groups);
      std::vector<int> pattern(count + 1, 1);
      pattern[count / 2] = 0;
      groups = groupsFor(*s, pattern);
      list.reset(s);
    } else {
      list.reset(new QLayerListELSK(&doc));
    }
    const QRect thumb = list->thumbRect();
    QCOMPARE(thumb.height(), length);
    QCOMPARE(list->listGeometry().thumbStep(), step);
    if (length == 0) {
      QVERIFY(thumb.isNull());
      return;
    }
    // Resting at the bottom, just above the down arrow.
    QCOMPARE(thumb.bottom(), 267);
    QCOMPARE(thumb.left(), 157);
    QCOMPARE(thumb.right(), 171);
  }

  void thumbnailSizes_data()
  {
    QTest::addColumn<QSize>("cell");
    QTest::addColumn<QSize>("thumbnail");
    QTest::newRow("tall") << QSize(32, 64) << QSize(24, 48);
    QTest::newRow("square") << QSize(64, 64) << QSize(32, 32);
    QTest::newRow("fits") << QSize(32, 48) << QSize(32, 48);
  }
  void thumbnailSizes()
  {
    QFETCH(QSize, cell);
    QFETCH(QSize, thumbnail);
    CharacterData doc = document({"0", "?SK?"}, QSize(cell.width() * 4, cell.height() * 4));
    QLayerListELSK list(&doc);
    QCOMPARE(list.thumbnailPixmaps()[0].size(), thumbnail);
    QCOMPARE(list.thumbnailPixmaps()[1].size(), QSize(32, 32));
  }

  void paintHonoursListUpdateFlag()
  {
    CharacterData doc = document({"0", "?SK?"});
    QLayerListELSK list(&doc);
    pixels(list);
    for (QImage& cell : doc.images(0))
      cell.fill(qRgba(0, 0, 255, 255));
    doc.setListUpdatePending(true);
    const QImage shown = pixels(list);
    QVERIFY(!doc.isListUpdatePending());
    QCOMPARE(list.thumbnailPixmaps()[0].toImage().pixel(5, 5), qRgba(0, 0, 255, 255));
    // The 32 x 48 thumbnail sits centred on (18, T + 24).
    QCOMPARE(shown.pixel(10, rowTop(0) + 10), qRgba(0, 0, 255, 255));
  }

  // Elements A, B, C, D, ... sit in rows 0, 1, 2, 3 from the bottom. A drag
  // starts on A; a menu move starts with a right click at menuY.
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
    QTest::newRow("drag into an upper half") << 4 << false << -1 << QList<int>{rowTop(2) + 4} << true << 3 << "BCAD";
    QTest::newRow("drag into a lower half") << 4 << false << -1 << QList<int>{rowTop(2) + 30} << true << 2 << "BACD";
    QTest::newRow("line between halves keeps the gap")
        << 4 << false << -1 << QList<int>{rowTop(2) + 4, rowTop(1) + 23} << true << 3 << "BCAD";
    QTest::newRow("other line keeps the gap")
        << 4 << false << -1 << QList<int>{rowTop(3) + 30, rowTop(1) + 24} << true << 3 << "BCAD";
    QTest::newRow("short drag") << 4 << false << -1 << QList<int>{rowTop(0) + 20} << false << -1 << "ABCD";
    QTest::newRow("one element") << 1 << false << -1 << QList<int>{rowTop(0) - 60} << false << -1 << "A";
    QTest::newRow("own place") << 4 << false << -1 << QList<int>{rowTop(1) + 30} << true << 1 << "ABCD";
    QTest::newRow("Déplacer on a line") << 4 << false << rowTop(1) + 23 << none << true << -1 << "ABCD";
    QTest::newRow("Déplacer on the other line") << 4 << false << rowTop(1) + 24 << none << true << -1 << "ABCD";
    QTest::newRow("Déplacer after an earlier move") << 4 << true << rowTop(1) + 23 << none << true << -1 << "BCAD";
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
    CharacterData doc = document(sourcesCounted(count));
    QLayerListELSK list(&doc);
    // Releases land over the scroll bar, off every half.
    const QPoint away(160, 5);
    if (earlierMove) {
      mouse(list, QEvent::MouseButtonPress, QPoint(50, rowTop(0) + 24), Qt::LeftButton);
      mouse(list, QEvent::MouseMove, QPoint(50, rowTop(2) + 4));
      mouse(list, QEvent::MouseButtonRelease, away, Qt::LeftButton);
    }
    if (menuY < 0) {
      mouse(list, QEvent::MouseButtonPress, QPoint(50, rowTop(0) + 24), Qt::LeftButton);
    } else {
      QMenu* menu = rightClick(list, QPoint(50, menuY));
      QAction* move = entry(menu, QStringLiteral("Déplacer"));
      QVERIFY(move);
      move->trigger();
    }
    for (int y : path)
      mouse(list, QEvent::MouseMove, QPoint(50, y));
    QCOMPARE(list.isMoving(), moving);
    QCOMPARE(list.dropPosition(), drop);
    mouse(list, QEvent::MouseButtonRelease, away, Qt::LeftButton);
    QVERIFY(!list.isMoving());
    QCOMPARE(names(doc).join(QString()), order);
    QCOMPARE(list.thumbnailPixmaps().size(), std::size_t(count));
  }

  // Seven entries (elements 0, 3, 4, 5, 6, 7, 8) among nine elements.
  void selectableEntries()
  {
    CharacterData doc = document(sourcesCounted(9));
    std::vector<int> groups;
    QLayerListSelectable list(&doc, &groups);
    groups = groupsFor(list, {1, 0, 0, 1, 1, 1, 1, 1, 1});
    QCOMPARE(list.entryCount(), 7);
    list.setFirstRow(2);
    QCOMPARE(list.firstRow(), 2);
    QSignalSpy spy(&list, &QLayerListSelectable::selected);
    for (int r = 0; r < 5; ++r)
      click(list, QPoint(50, rowTop(r) + 24));
    QList<int> shown;
    for (const QList<QVariant>& args : spy)
      shown << args.at(0).toInt();
    QCOMPARE(shown, (QList<int>{4, 5, 6, 7, 8}));
    QCOMPARE(list.selectedIndex, 8);
    list.setFirstRow(5);
    QCOMPARE(list.firstRow(), 2);
    list.setFirstRow(-3);
    QCOMPARE(list.firstRow(), 0);
  }

  void selectableKeys_data()
  {
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("clickRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("emitted");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("firstAfter");
    QTest::newRow("Up from the top row") << 0 << 4 << int(Qt::Key_Up) << 7 << 7 << 1;
    QTest::newRow("Down from the bottom row") << 1 << 0 << int(Qt::Key_Down) << 0 << 0 << 0;
    QTest::newRow("Down inside the rows") << 0 << 2 << int(Qt::Key_Down) << 3 << 3 << 0;
    QTest::newRow("Up with nothing above") << 2 << 4 << int(Qt::Key_Up) << -1 << 8 << 2;
    QTest::newRow("Down with nothing below") << 0 << 0 << int(Qt::Key_Down) << -1 << 0 << 0;
    QTest::newRow("no selection") << 0 << -1 << int(Qt::Key_Up) << -1 << -1 << 0;
    QTest::newRow("other key") << 0 << 1 << int(Qt::Key_Left) << -1 << 3 << 0;
  }
  void selectableKeys()
  {
    QFETCH(int, firstRow);
    QFETCH(int, clickRow);
    QFETCH(int, key);
    QFETCH(int, emitted);
    QFETCH(int, selected);
    QFETCH(int, firstAfter);
    CharacterData doc = document(sourcesCounted(9));
    std::vector<int> groups;
    QLayerListSelectable list(&doc, &groups);
    groups = groupsFor(list, {1, 0, 0, 1, 1, 1, 1, 1, 1});
    list.setFirstRow(firstRow);
    if (clickRow >= 0)
      click(list, QPoint(50, rowTop(clickRow) + 24));
    QSignalSpy spy(&list, &QLayerListSelectable::selected);
    QTest::keyClick(&list, Qt::Key(key));
    QCOMPARE(spy.count(), emitted < 0 ? 0 : 1);
    if (emitted >= 0)
      QCOMPARE(spy.at(0).at(0).toInt(), emitted);
    QCOMPARE(list.selectedIndex, selected);
    QCOMPARE(list.firstRow(), firstAfter);
  }

  // Both lists as the user sees them; under a real X server set SK_GRAB_DIR
  // to look at the pictures.
  void grabs()
  {
    const QColor band(50, 101, 255), thumbFill(166, 166, 246);
    CharacterData doc = document({"0", "1", "?SK?", "3", "4", "5", "6"});
    doc.setVisible(false, 3);
    QLayerListELSK elsk(&doc);
    click(elsk, QPoint(50, rowTop(1) + 24));
    const QImage e = pixels(elsk);
    QVERIFY(e.save(grabPath("elementfile-list")));
    QCOMPARE(e.pixel(140, rowTop(1) + 2), band.rgba());
    QCOMPARE(e.pixel(164, 200), thumbFill.rgba());
    const QImage icon = QPixmap(":/icon/SK.png").toImage().convertToFormat(QImage::Format_ARGB32);
    QImage expected(32, 32, QImage::Format_ARGB32);
    expected.fill(e.pixel(1, rowTop(2) + 1));
    QPainter(&expected).drawImage(0, 0, icon);
    QCOMPARE(e.copy(2, rowTop(2) + 8, 32, 32), expected);

    std::vector<int> groups;
    QLayerListSelectable selectable(&doc, &groups);
    groups = groupsFor(selectable, {1, 1, 1, 1, 1, 0, 1});
    click(selectable, QPoint(50, rowTop(3) + 24));
    const QImage s = pixels(selectable);
    QVERIFY(s.save(grabPath("selectable-list")));
    QCOMPARE(selectable.selectedIndex, 3);
    QCOMPARE(s.pixel(140, rowTop(3) + 2), band.rgba());
    QCOMPARE(s.pixel(164, 200), thumbFill.rgba());
  }
};

SK_TEST_MAIN(TestTrimmedLists)
#include "test_trimmedlists.moc"
