#include "batch/QTilesetView.h"

#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"
#include "tests/colour/GrabPath.h"

#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>

namespace {

QString tileset(const QString& name, int w = 40, int h = 60)
{
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(qRgb(w % 256, 90, 30));
  for (int y = 0; w != 40 && y < h; ++y) // every word differs, with alpha
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y, qRgba(x, y, x ^ y, (x * 7 + y) & 255));
  image.save(name + ".png");
  return name + ".png";
}

QStringList tilesets(int n)
{
  QStringList out;
  while (out.size() < n)
    out << tileset(QString::number(out.size()));
  return out;
}

// The entries and warnings arrive from the pool; a sanitizer build under
// load takes its time.
void settle(QTilesetView& view)
{
  QVERIFY(QTest::qWaitFor([&] { return !view.isAdding(); }, 60000));
}

void add(QTilesetView& view, const QStringList& paths)
{
  view.addFiles(paths);
  settle(view);
}

QString order(const QTilesetView& view)
{
  return view.fileList().join("").remove(".png");
}

void send(QTilesetView& view, QEvent::Type type, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton)
{
  const Qt::MouseButton which = type == QEvent::MouseMove ? Qt::NoButton : button;
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button);
  QMouseEvent event(type, QPointF(pos), view.mapToGlobal(QPointF(pos)), which, held, Qt::NoModifier);
  QApplication::sendEvent(&view, &event);
}

void moves(QTilesetView& view, const QPoint& pos, int count)
{
  while (count--)
    send(view, QEvent::MouseMove, pos);
}

// Inside the cell of entry i while the first row is 0.
QPoint cell(int i)
{
  return QPoint(140 * (i % 3) + 60, 10 + 155 * (i / 3) + 72);
}

void wheel(QTilesetView& view, int delta)
{
  QWheelEvent event(QPointF(5, 5), view.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&view, &event);
}

// Right click on an entry, then the menu action of that text.
void menuAction(QTilesetView& view, int entry, const QString& text)
{
  send(view, QEvent::MouseButtonRelease, cell(entry), Qt::RightButton);
  QMenu* menu = view.findChild<QMenu*>();
  QVERIFY(menu);
  for (QAction* a : menu->actions())
    if (a->text() == text)
      a->trigger();
  delete menu;
  settle(view);
}

} // namespace

class TestTilesetView : public QObject
{
  Q_OBJECT

private slots:
  void addingKeepsOrderAndWarns()
  {
    PromptRecorder prompts;
    QTilesetView view;
    QSignalSpy list(&view, &QTilesetView::changeFileList);
    const QStringList ok = tilesets(30);
    view.addFiles({ok[0]}); // queued behind one another while they decode
    view.addFiles({ok[1]});
    // More paths than one parallel batch, with holes and a path given twice.
    QStringList paths = ok.mid(2);
    paths.insert(3, "gone1.png");
    paths.insert(25, "R&D/p.png");
    QVERIFY(QDir().mkpath("R&D") && makePipe("R&D/p.png"));
    add(view, paths << ok[4] << tileset("tall", 256, 1024) << tileset("wide", 1000, 100));
    QCOMPARE(view.fileList(), QStringList(ok) << ok[4] << "tall.png" << "wide.png");
    QCOMPARE(view.thumbnailPixmaps().at(31).size(), QSize(29, 115));
    QCOMPARE(view.thumbnailPixmaps().at(32).size(), QSize(130, 13));
    for (int i : {31, 32}) { // as scaled from a full-size pixmap
      const QPixmap full = QPixmap::fromImage(QImage(view.fileList()[i]));
      const QPixmap expected = i == 31 ? full.scaledToHeight(115) : full.scaledToWidth(130);
      QCOMPARE(view.thumbnailPixmaps()[i].toImage(), expected.toImage());
    }
    QCOMPARE(list.size(), 3);
    QVERIFY(!list[0][0].toBool() && list[1][0].toBool());
    QCOMPARE(prompts.titles(), QStringList({"Sorvel de tilesets", "Sorvel de tilesets"}));
    QCOMPARE(prompts.asked[1].text, QStringLiteral("Impossible d'ouvrir :R&amp;D/p.png"));
    QCOMPARE(prompts.asked[0].icon, int(QMessageBox::Warning));
  }

  void scrollingAndSelection()
  {
    QTilesetView view;
    send(view, QEvent::MouseButtonRelease, cell(0), Qt::RightButton);
    QVERIFY(!view.findChild<QMenu*>()); // empty: no menu
    add(view, tilesets(9));
    wheel(view, -120);
    QVERIFY(view.thumbRect().isEmpty());
    QCOMPARE(view.firstShownRow(), 0);
    QSignalSpy names(&view, &QTilesetView::changeFileName);
    send(view, QEvent::MouseButtonPress, cell(1));
    send(view, QEvent::MouseButtonRelease, cell(1));
    send(view, QEvent::MouseButtonRelease, cell(1), Qt::RightButton);
    delete view.findChild<QMenu*>();
    send(view, QEvent::MouseButtonPress, QPoint(5, 5));
    QCOMPARE(QList<QVariantList>(names), (QList<QVariantList>{{"1.png"}, {"1.png"}}));
    QCOMPARE(view.selectedEntry(), 1);
    add(view, tilesets(1));
    QCOMPARE(view.thumbRect(), QRect(437, 32, 15, 311));
    wheel(view, -120);
    QCOMPARE(view.thumbRect().top(), 132);
    wheel(view, 120);
    send(view, QEvent::MouseButtonPress, QPoint(444, 100));
    moves(view, QPoint(444, 199), 1);
    QCOMPARE(view.firstShownRow(), 0);
    moves(view, QPoint(444, 200), 1);
    QCOMPARE(view.firstShownRow(), 1);
    send(view, QEvent::MouseButtonRelease, QPoint(444, 200));
    // 434 rows: the step would be 0 without its floor of one pixel.
    add(view, QStringList(1290, view.fileList().at(0)));
    const int grip = view.thumbRect().top() + 5;
    send(view, QEvent::MouseButtonPress, QPoint(444, grip));
    for (int y = 1; y <= 5; ++y)
      moves(view, QPoint(444, grip + y), 1);
    QCOMPARE(view.firstShownRow(), 1 + 5);
  }

  void dragStartsOnTwentiethMoveAfterItsPress()
  {
    QTilesetView view;
    add(view, tilesets(1));
    send(view, QEvent::MouseButtonPress, cell(0));
    moves(view, QPoint(30, 30), 30);
    QVERIFY(!view.isMoving()); // one entry: nowhere to go
    send(view, QEvent::MouseButtonRelease, QPoint(30, 30));
    add(view, tilesets(5).mid(1));
    send(view, QEvent::MouseButtonPress, cell(0));
    moves(view, QPoint(30, 30), 15);
    send(view, QEvent::MouseButtonRelease, QPoint(30, 30));
    send(view, QEvent::MouseButtonPress, cell(0));
    moves(view, QPoint(30, 30), 19);
    QVERIFY(!view.isMoving());
    moves(view, QPoint(30, 30), 1);
    QVERIFY(view.isMoving());
  }

  void drop_data()
  {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QPoint>("target");
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("selected");
    QTest::newRow("after last") << 0 << QPoint(250, 240) << "12340" << 4;
    QTest::newRow("row end") << 0 << QPoint(400, 80) << "12034" << 2;
    QTest::newRow("own left") << 1 << QPoint(160, 80) << "01234" << 1;
    QTest::newRow("own right") << 1 << QPoint(250, 80) << "01234" << 1;
  }
  void drop()
  {
    QFETCH(int, entry);
    QFETCH(QPoint, target);
    QTilesetView view;
    add(view, tilesets(5));
    send(view, QEvent::MouseButtonPress, cell(entry));
    moves(view, target, 20);
    if (target == QPoint(400, 80))
      QCOMPARE(view.markerPosition(), QPoint(420, 19));
    send(view, QEvent::MouseButtonRelease, target);
    QTEST(order(view), "order");
    QTEST(view.selectedEntry(), "selected");
  }

  void menuMoveRemoveDuplicate()
  {
    PromptRecorder prompts;
    QTilesetView view;
    QSignalSpy list(&view, &QTilesetView::changeFileList);
    add(view, tilesets(10));
    menuAction(view, 0, "Déplacer");
    moves(view, QPoint(400, 80), 1);
    send(view, QEvent::MouseButtonPress, QPoint(400, 80));
    QCOMPARE(order(view), QStringLiteral("1203456789"));
    // Removed while a move waits: the move is dropped, nothing else moves.
    menuAction(view, 0, "Déplacer");
    menuAction(view, 1, "Supprimer");
    send(view, QEvent::MouseButtonPress, cell(3));
    send(view, QEvent::MouseButtonRelease, cell(3));
    QCOMPARE(order(view), QStringLiteral("103456789"));
    menuAction(view, 0, "Dupliquer");
    QCOMPARE(order(view), QStringLiteral("1034567891"));
    QCOMPARE(view.thumbnailPixmaps().back().size(), view.thumbnailPixmaps().front().size());
    QCOMPARE(view.selectedEntry(), 0);
    QFile::remove("1.png");
    menuAction(view, 0, "Dupliquer");
    QCOMPARE(view.fileList().size(), 10);
    QCOMPARE(prompts.asked.last().text, QStringLiteral("Impossible d'ouvrir :1.png"));
    wheel(view, -120);
    menuAction(view, 9 - 3, "Supprimer"); // entry 9, on the third row shown
    QCOMPARE(order(view), QStringLiteral("103456789"));
    QCOMPARE(view.firstShownRow(), 0);
    QCOMPARE(view.selectedEntry(), -1);
    QCOMPARE(list.last()[0].toBool(), true);
  }

  void grab()
  {
    QTilesetView view;
    add(view, tilesets(12));
    send(view, QEvent::MouseButtonPress, cell(4));
    moves(view, QPoint(400, 240), 20);
    const QImage shot = view.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(shot.save(grabPath("tilesetview")));
    QCOMPARE(shot.pixel(152, 300), qRgb(50, 101, 255));
    QCOMPARE(shot.pixel(view.thumbRect().center()), qRgb(166, 166, 246));
    QCOMPARE(view.markerPosition(), QPoint(420, 165 + 9));
    const QImage marker(":/icon/moving.png");
    if (marker.isNull())
      QSKIP("the drop marker icon is not among the resources");
    for (int y = 0; y < marker.height(); ++y)
      for (int x = 0; x < marker.width(); ++x)
        if (qAlpha(marker.pixel(x, y)) == 255)
          QCOMPARE(shot.pixel(420 + x, 174 + y), marker.pixel(x, y));
  }
};

SK_TEST_MAIN(TestTilesetView)
#include "test_tilesetview.moc"
