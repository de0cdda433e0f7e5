#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "canvas/QLayerRender.h"
#include "model/CharacterData.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace {

const QRgb kBackground = 0xFF00FF00u;

QRgb mark(int row, int column, bool hidden = false)
{
  return 0xFF000000u | uint32_t(hidden ? 0x800000 : 0) | uint32_t(row << 8) | uint32_t(column + 1);
}

// Every cell entirely filled with a colour naming its row and column; a
// second, hidden element on top in other colours.
CharacterData markedCharacter(int type, bool withHidden)
{
  CharacterData doc(type, QSize(0, 0));
  const int columns = doc.columnCount();
  for (int e = 0; e < (withHidden ? 2 : 1); ++e) {
    doc.addElementFromImageFile("");
    for (int c = 0; c < doc.cellCount(); ++c) {
      QImage cell(doc.cellSize(), QImage::Format_ARGB32);
      cell.fill(mark(c / columns, c % columns, e == 1));
      doc.setImage(cell, e, c);
    }
  }
  if (withHidden)
    doc.setVisible(false, 1);
  return doc;
}

QImage shown(const QLayerRender& render)
{
  return render.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

// The sheet column shown by the frames, or -1 when the four frames are not
// rows 0 to 3 of one column at their places.
int shownColumn(const QLayerRender& render, int frameWidth, int y0)
{
  const QImage img = shown(render);
  const int column = int(img.pixel(0, y0) & 0xFF) - 1;
  for (int k = 0; k < 4; ++k)
    if (img.pixel(k * frameWidth, y0) != mark(k, column))
      return -1;
  return column;
}

// Advances the program-wide animation step until the next frame is step 0.
void syncToStepZero()
{
  const CharacterData xp = markedCharacter(XP, false);
  const QImage frame = xp.previewImages()[0];
  const int step = int(frame.pixel(0, 0) & 0xFF) - 1;
  for (int i = step + 1; i < 4; ++i)
    xp.previewImages();
}

QPushButton* button(QWidget* parent, const QString& text)
{
  for (QPushButton* b : parent->findChildren<QPushButton*>())
    if (b->text() == text)
      return b;
  return nullptr;
}

} // namespace

class TestQLayerRender : public QObject
{
  Q_OBJECT

private slots:
  // An empty file in the test's folder, so that the settings never reach the
  // one beside the program.
  void init() { writeAll("sorvelkit.ini", QByteArray()); }

  void frames_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<int>("frameWidth");
    QTest::addColumn<int>("y0");
    QTest::addColumn<int>("cellHeight");
    QTest::newRow("XP 128x192") << int(XP) << QSize(173, 48) << 32 << 0 << 48;
    QTest::newRow("VX 96x128") << int(VX) << QSize(173, 45) << 32 << 6 << 32;
  }

  void frames()
  {
    QFETCH(int, type);
    QFETCH(QSize, widget);
    QFETCH(int, frameWidth);
    QFETCH(int, y0);
    QFETCH(int, cellHeight);
    writeAll("sorvelkit.ini", "[Render]\nbackgroundColor=" + QByteArray::number(int(kBackground)) + "\n");
    CharacterData doc = markedCharacter(type, true);
    QWidget dock;
    QLayerRender render(&doc, &dock);
    QCOMPARE(render.size(), widget);
    QCOMPARE(dock.minimumSize(), widget);

    render.refresh();
    const QImage img = shown(render);
    QCOMPARE(img.size(), widget);
    const int column = shownColumn(render, frameWidth, y0);
    QVERIFY(column >= 0);
    for (int k = 0; k < 4; ++k) {
      const int x = k * frameWidth;
      // Hidden elements are absent: the top element's colours never show.
      QCOMPARE(img.pixel(x + frameWidth - 1, y0 + cellHeight - 1), mark(k, column));
      if (y0 > 0) {
        QCOMPARE(img.pixel(x, y0 - 1), kBackground);
        QCOMPARE(img.pixel(x, y0 + cellHeight), kBackground);
      }
    }
    // The strip, drawn in white under its button, starts right after the frames.
    QVERIFY(img.pixel(4 * frameWidth, widget.height() - 1) != kBackground);
  }

  void vxColumnsFromStepZero()
  {
    CharacterData doc = markedCharacter(VX, false);
    QLayerRender render(&doc, nullptr);
    syncToStepZero();
    QList<int> columns;
    for (int i = 0; i < 4; ++i) {
      render.refresh();
      columns << shownColumn(render, 32, 6);
    }
    QCOMPARE(columns, QList<int>({1, 0, 1, 2}));
  }

  // Construction leaves the layout to the first tick (the dock is laid out
  // only once the window is built); later ticks keep the dock's size alone
  // while the cell size stays.
  void layoutOnlyWhenCellSizeChanges()
  {
    CharacterData xp;
    CharacterData vx(VX, QSize(0, 0));
    QWidget dock;
    QLayerRender render(&xp, &dock);
    dock.setMinimumSize(1, 1);
    render.refresh();
    QCOMPARE(dock.minimumSize(), QSize(173, 48));
    dock.setMinimumSize(1, 1);
    render.refresh();
    QCOMPARE(dock.minimumSize(), QSize(1, 1));
    render.setCharacterData(&vx);
    render.refresh();
    QCOMPARE(dock.minimumSize(), QSize(173, 45));
    QCOMPARE(render.renderSize(), QSize(96 + 45, 32));
  }

  void stripTogglesPlay()
  {
    CharacterData doc;
    QLayerRender render(&doc, nullptr);
    QTimer* timer = render.findChild<QTimer*>();
    QVERIFY(timer->isActive());
    QTest::mouseClick(&render, Qt::LeftButton, {}, QPoint(127, 10));
    QVERIFY(timer->isActive());
    QTest::mouseClick(&render, Qt::LeftButton, {}, QPoint(128, 10));
    QVERIFY(!timer->isActive());
    QTest::mouseClick(&render, Qt::LeftButton, {}, QPoint(172, 47));
    QVERIFY(timer->isActive());
  }

  void storedPeriodIsClamped_data()
  {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("interval");
    QTest::newRow("missing") << QByteArray() << 1000;
    QTest::newRow("zero") << QByteArray("[Render]\nperiode=0\n") << 50;
    QTest::newRow("negative") << QByteArray("[Render]\nperiode=-5\n") << 50;
    QTest::newRow("huge") << QByteArray("[Render]\nperiode=900000\n") << 60000;
    QTest::newRow("kept") << QByteArray("[Render]\nperiode=250\n") << 250;
  }

  void storedPeriodIsClamped()
  {
    QFETCH(QByteArray, ini);
    QFETCH(int, interval);
    writeAll("sorvelkit.ini", ini);
    CharacterData doc;
    QLayerRender render(&doc, nullptr);
    QTimer* timer = render.findChild<QTimer*>();
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), interval);
  }

  void propertiesDialog_data()
  {
    QTest::addColumn<bool>("validate");
    QTest::addColumn<bool>("pickRed");
    QTest::addColumn<bool>("stop");
    QTest::addColumn<QByteArray>("ini");
    QTest::newRow("Valider, white") << true << false << false
                                    << QByteArray("[Render]\nperiode=250\nbackgroundColor=-1\n");
    QTest::newRow("Valider, red, stopped") << true << true << true
                                           << QByteArray("[Render]\nperiode=250\nbackgroundColor=-65536\n");
    QTest::newRow("Annuler") << false << true << true << QByteArray();
  }

  void propertiesDialog()
  {
    QFETCH(bool, validate);
    QFETCH(bool, pickRed);
    QFETCH(bool, stop);
    QFETCH(QByteArray, ini);
    PromptRecorder recorder;
    recorder.colors.push_back([](QColor& c, bool) {
      c = QColor(255, 0, 0, 90);
      return true;
    });
    CharacterData doc;
    QLayerRender render(&doc, nullptr);
    QTest::mouseDClick(&render, Qt::LeftButton, {}, QPoint(10, 10));
    QDialog* dialog = render.findChild<QDialog*>();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QString("Propriétés du rendu"));
    QSpinBox* periodBox = dialog->findChild<QSpinBox*>();
    QCOMPARE(periodBox->value(), 1000);
    periodBox->setValue(250);
    dialog->findChild<QCheckBox*>()->setChecked(stop);
    if (pickRed) {
      button(dialog, "Changer la couleur d'arrière plan")->click();
      QCOMPARE(recorder.titles(), QStringList({"Choisir une couleur"}));
      QVERIFY(!recorder.asked[0].alpha);
    }
    QPointer<QDialog> guard(dialog);
    button(dialog, validate ? "Valider" : "Annuler")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
    QCOMPARE(readAll("sorvelkit.ini"), ini);

    QTimer* timer = render.findChild<QTimer*>();
    QCOMPARE(timer->isActive(), !(validate && stop));
    if (validate && !stop)
      QCOMPARE(timer->interval(), 250);
    render.refresh();
    QCOMPARE(shown(render).pixel(0, 0), validate && pickRed ? 0xFFFF0000u : 0xFFFFFFFFu);
  }
};

SK_TEST_MAIN(TestQLayerRender)
#include "test_qlayerrender.moc"
