#include "tests/TestMain.h"

#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "tests/canvas/CanvasGrab.h"

#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>

namespace {

const QString kHeros = QString::fromUtf8("H\xc3\xa9ros");

QImage iconImage(const QIcon& icon)
{
  return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

// A canvas shown the way the main window shows it: in a scroll area inside a
// sub-window of an MDI area.
struct Shown
{
  QMdiArea area;
  QLayer* canvas = new QLayer(kHeros, QSize(0, 0), XP, &area, nullptr, nullptr);
  QMdiSubWindow* sub = area.addSubWindow(new QScrollLayer(canvas));
  Shown() { sub->setWindowTitle(kHeros); }
};

// A sheet of opaque noise with a translucent band, so that every view pixel
// tells which sheet pixel it came from.
QImage noiseSheet(QSize size)
{
  QImage sheet(size, QImage::Format_ARGB32);
  uint32_t state = 7;
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x) {
      state = state * 1664525u + 1013904223u;
      sheet.setPixel(x, y, (y % 50 < 5 ? 0x40000000u : 0xFF000000u) | (state >> 8));
    }
  return sheet;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<int>)

class TestQLayer : public QObject
{
  Q_OBJECT

private slots:
  void construction_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<QSize>("pixmapSize");
    QTest::newRow("XP") << int(XP) << QSize(128, 192);
    QTest::newRow("VX") << int(VX) << QSize(96, 128);
  }
  void construction()
  {
    QFETCH(int, type);
    QFETCH(QSize, pixmapSize);
    QLayer canvas(kHeros, QSize(0, 0), type, nullptr, nullptr, nullptr);
    QCOMPARE(canvas.sizeHint(), pixmapSize);
    QCOMPARE(canvas.characterType(), type);
    QCOMPARE(canvas.name(), kHeros);
    QCOMPARE(int(canvas.currentFormat), 1);
    QVERIFY(canvas.filePath().isEmpty());
    QVERIFY(!canvas.isModified());
    QCOMPARE(canvas.cellPosition(7), type == XP ? QPoint(3, 1) : QPoint(1, 2));
  }

  // stepZoom directions: 0 in, 1 out, anything else nothing; -1 calls setZoom.
  void zoom_data()
  {
    QTest::addColumn<double>("from");
    QTest::addColumn<int>("direction");
    QTest::addColumn<double>("to");
    QTest::newRow("in from 1") << 1.0 << 0 << 1.5;
    QTest::newRow("in between steps") << 5.0 << 0 << 6.0;
    QTest::newRow("in below the table") << 0.4 << 0 << 0.4;
    QTest::newRow("in at the top") << 16.0 << 0 << 16.0;
    QTest::newRow("out between steps") << 5.0 << 1 << 4.0;
    QTest::newRow("out below 1") << 0.75 << 1 << 0.5;
    QTest::newRow("out at the bottom") << 0.5 << 1 << 0.5;
    QTest::newRow("out above the table") << 20.0 << 1 << 20.0;
    QTest::newRow("other direction") << 2.0 << 2 << 2.0;
    QTest::newRow("set too small") << 0.1 << -1 << 0.5;
    QTest::newRow("set too large") << 40.0 << -1 << 16.0;
    QTest::newRow("set kept") << 2.5 << -1 << 2.5;
    QTest::newRow("set not a number") << qQNaN() << -1 << 0.5;
  }
  void zoom()
  {
    QFETCH(double, from);
    QFETCH(int, direction);
    QFETCH(double, to);
    QLayer canvas(kHeros, QSize(0, 0), XP, nullptr, nullptr, nullptr);
    if (direction < 0) {
      canvas.setZoom(from);
    } else {
      canvas.characterData()->setZoom(from);
      canvas.stepZoom(direction);
    }
    QCOMPARE(canvas.characterData()->zoom(), to);
  }

  void zoomResizesTheLabel()
  {
    QLayer canvas(kHeros, QSize(0, 0), XP, nullptr, nullptr, nullptr);
    canvas.setZoom(1.5);
    canvas.updateSize();
    QCOMPARE(canvas.size(), QSize(192, 288));
    QCOMPARE(canvas.sizeHint(), QSize(192, 288));
  }

  void modifiedMarkInTheSubWindow()
  {
    Shown shown;
    shown.canvas->addHistory(shown.canvas->characterData(), "Etat d'origine");
    shown.canvas->addHistory(shown.canvas->characterData(), "Pinceau");
    QVERIFY(shown.canvas->isModified());
    QCOMPARE(shown.sub->windowTitle(), kHeros + "*");
    QVERIFY(!iconImage(shown.sub->windowIcon()).isNull());
    QVERIFY(iconImage(QIcon(":/icon/unsaved.png")) != iconImage(QIcon(":/icon/Save.png")));
    QCOMPARE(iconImage(shown.sub->windowIcon()), iconImage(QIcon(":/icon/unsaved.png")));

    shown.canvas->setModified(false);
    QCOMPARE(shown.sub->windowTitle(), kHeros);
    QCOMPARE(iconImage(shown.sub->windowIcon()), iconImage(QIcon(":/icon/Save.png")));
  }

  void undoToTheSavedStep()
  {
    Shown shown;
    QLayer& canvas = *shown.canvas;
    canvas.addHistory(canvas.characterData(), "Etat d'origine");
    canvas.history()->markSaved();
    canvas.setModified(false);
    canvas.characterData()->setGridShown(false);
    canvas.addHistory(canvas.characterData(), "Pinceau");
    QVERIFY(canvas.isModified());

    canvas.goToHistoryStep(-2);
    QVERIFY(!canvas.isModified());
    QCOMPARE(shown.sub->windowTitle(), kHeros);
    canvas.goToHistoryStep(1);
    QVERIFY(canvas.isModified());
    QCOMPARE(shown.sub->windowTitle(), kHeros + "*");
  }

  // Trimming the oldest steps takes the saved one with it: no step may then
  // look saved.
  void trimmedSavedStepNeverLooksSaved()
  {
    QLayer canvas(kHeros, QSize(0, 0), XP, nullptr, nullptr, nullptr);
    canvas.addHistory(canvas.characterData(), "Etat d'origine");
    canvas.history()->markSaved();
    for (int i = 0; i < 271; ++i)
      canvas.addHistory(canvas.characterData(), "Pinceau");
    QVERIFY(canvas.history()->savedIndex() < 0);
    for (int index = 0; index < canvas.history()->count(); ++index) {
      canvas.goToHistoryStep(index);
      QVERIFY(canvas.isModified());
    }
  }

  void eventsWithoutDrawingState()
  {
    Shown shown;
    QLayer* canvas = shown.canvas;
    shown.area.resize(400, 400);
    shown.area.show();
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
      QTest::mousePress(canvas, b, Qt::NoModifier, QPoint(10, 10));
      QTest::mouseMove(canvas, QPoint(30, 40));
      QTest::mouseRelease(canvas, b, Qt::NoModifier, QPoint(30, 40));
      QTest::mouseDClick(canvas, b);
    }
    for (int key : {Qt::Key_Control, Qt::Key_Shift, Qt::Key_Left, Qt::Key_Delete, Qt::Key_A})
      QTest::keyClick(canvas, Qt::Key(key));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(canvas, &enter);
    QVERIFY(!canvas->isModified());
  }

  void enterSetsTheToolCursor_data()
  {
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("cursor");
    QTest::newRow("select") << int(SelectTool) << int(Qt::ArrowCursor);
    QTest::newRow("move") << int(MoveTool) << int(Qt::OpenHandCursor);
    QTest::newRow("pen") << int(PenTool) << int(Qt::CrossCursor);
    QTest::newRow("line") << int(LineTool) << int(Qt::CrossCursor);
  }
  void enterSetsTheToolCursor()
  {
    QFETCH(int, tool);
    QFETCH(int, cursor);
    QLayer canvas(kHeros, QSize(0, 0), XP, nullptr, nullptr, nullptr);
    unsigned char toolByte = static_cast<unsigned char>(tool);
    canvas.setToolPointer(&toolByte);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&canvas, &enter);
    QCOMPARE(int(canvas.cursor().shape()), cursor);
  }

  // The canvas builds only the exposed part of the zoomed picture; it must
  // be the full render's part, word for word, wherever it is exposed.
  void screenIsTheRender_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<bool>("grid");
    QTest::addColumn<std::vector<int>>("cells");
    QTest::newRow("0.5, grid") << int(XP) << 0.5 << true << std::vector<int>{};
    QTest::newRow("1, frames") << int(XP) << 1.0 << false << std::vector<int>{0, 5};
    QTest::newRow("1.5, both") << int(XP) << 1.5 << true << std::vector<int>{3, 5, 15};
    QTest::newRow("VX 3, both") << int(VX) << 3.0 << true << std::vector<int>{1, 11};
    QTest::newRow("4, both") << int(XP) << 4.0 << true << std::vector<int>{6, 9};
    QTest::newRow("16, both") << int(XP) << 16.0 << true << std::vector<int>{0, 10, 15};
  }
  void screenIsTheRender()
  {
    QFETCH(int, type);
    QFETCH(double, zoom);
    QFETCH(bool, grid);
    QFETCH(std::vector<int>, cells);
    QLayer canvas(kHeros, QSize(132, 196), type, nullptr, nullptr, nullptr);
    CharacterData& doc = *canvas.characterData();
    QImage sheet = noiseSheet(doc.size());
    QVERIFY(doc.addElementFromImage(sheet, ""));
    doc.setBackgroundPixel(int(0xFF102030u));
    doc.setGridShown(grid);
    doc.setSelectedCells(cells);
    canvas.setZoom(zoom);
    canvas.updateSize();
    const QSize view = canvas.size();
    const QImage full = doc.renderImage(uint32_t(doc.backgroundPixel()));
    QCOMPARE(view, full.size());
    std::vector<QRect> parts{QRect(QPoint(0, 0), view), QRect(7, 3, 41, 29),
                             QRect(view.width() - 37, view.height() - 53, 37, 53)};
    for (int k = 1; k < 40; ++k) // small parts strewn over the whole view
      parts.push_back(QRect(k * 7919 % view.width(), k * 104729 % view.height(), 23, 17));
    for (const QRect& asked : parts) {
      const QRect part = asked.intersected(QRect(QPoint(0, 0), view));
      QCOMPARE(grabView(canvas, part), renderedView(canvas, part));
      QCOMPARE(doc.lastRender(), full.copy(part)); // what the canvas last drew
    }
  }

  // The same through a scroll area, as the window shows a large zoom.
  void scrolledViewIsTheRender()
  {
    QLayer* canvas = new QLayer(kHeros, QSize(132, 196), XP, nullptr, nullptr, nullptr);
    QScrollLayer scroll(canvas);
    CharacterData& doc = *canvas->characterData();
    QImage sheet = noiseSheet(doc.size());
    QVERIFY(doc.addElementFromImage(sheet, ""));
    doc.setSelectedCells({5});
    canvas->setZoom(16);
    canvas->updateSize();
    scroll.resize(300, 200);
    scroll.show();
    const QImage full = doc.renderImage(uint32_t(doc.backgroundPixel()));
    for (const QPoint& at : {QPoint(0, 0), QPoint(700, 1200), QPoint(1811, 2937)}) {
      scroll.horizontalScrollBar()->setValue(at.x());
      scroll.verticalScrollBar()->setValue(at.y());
      const QPoint corner = -canvas->pos();
      const QRect seen(corner, scroll.viewport()->size());
      QCOMPARE(grabView(*canvas, seen), renderedView(*canvas, seen));
      QCOMPARE(corner, at);
    }
  }
};

SK_TEST_MAIN(TestQLayer)
#include "test_qlayer.moc"
