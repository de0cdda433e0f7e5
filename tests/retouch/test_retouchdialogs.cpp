#include "tests/PromptRecorder.h"
#include "tests/TestMain.h"
#include "tests/ops/CellFixture.h"

#include "app/MainWindow.h"
#include "canvas/ElementThumbnails.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerList.h"
#include "core/TslShift.h"
#include "retouch/QViewBox.h"

#include <QAction>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

using Operation = std::function<void(CharacterData&)>;
Q_DECLARE_METATYPE(Operation)

namespace {

// An opaque, shaded 32 x 48 image in every cell, except cell 1, whose
// picture has a transparent border of 4 pixels.
CharacterData character(int elements)
{
  QImage opaque(32, 48, QImage::Format_ARGB32);
  for (int i = 0; i < 32 * 48; ++i)
    opaque.setPixel(i % 32, i / 32, qRgba(200 - 4 * (i / 32), 8 * (i % 32), 90, 255));
  CharacterData document = makeCharacter(elements, opaque);
  for (int i = 0; elements && i < 32 * 48; ++i)
    if (!QRect(4, 4, 24, 40).contains(i % 32, i / 32))
      document.image(0, 1).setPixel(i % 32, i / 32, kBlankPixel);
  return document;
}

struct Opened
{
  MainWindow window;
  QLayer* canvas = nullptr;
  CharacterData* document = nullptr;

  explicit Opened(int elements = 1)
  {
    window.show();
    window.activateWindow();
    canvas = window.newCanvas(character(elements), "hero");
    window.showCanvas(canvas, "hero", QSize(), false);
    document = canvas->characterData();
  }
  QViewBox* open(const QString& command)
  {
    for (QAction* action : window.findChildren<QAction*>())
      if (action->text() == command)
        action->trigger();
    return window.findChild<QViewBox*>();
  }
};

template <class T>
T* named(QViewBox* box, const QString& text)
{
  for (T* widget : box->findChildren<T*>())
    if (widget->text() == text)
      return widget;
  return nullptr;
}

void compareCells(const CharacterData& shown, const CharacterData& expected)
{
  QCOMPARE(shown.offsets(), expected.offsets());
  QCOMPARE(shown.images(), expected.images());
}

const char* kLabels[][2] = {
    {"Redimension", "Redimension"}, {"Rotation", "Rotation"}, {"Teinte / Saturation", "Changement de coloration"}};

} // namespace

class TestRetouchDialogs : public QObject
{
  Q_OBJECT

private slots:
  void validationCallsTheOperation_data()
  {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QStringList>("toggled"); // check boxes clicked before the values are set
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QRect>("cell0"); // size and offset of the opaque cell; null: not checked
    QTest::newRow("resize 200 x 50, smooth, in place")
        << "Redimension" << QList<int>{200, 50} << QStringList{"Lissage", "Recentrer"}
        << Operation([](CharacterData& d) { d.resizeCells(2.0, 0.5, false, true, true); }) << QRect(0, 0, 64, 24);
    QTest::newRow("resize 25 x 25, recentred")
        << "Redimension" << QList<int>{25, 25} << QStringList()
        << Operation([](CharacterData& d) { d.resizeCells(0.25, 0.25, true, false, true); }) << QRect(12, 18, 8, 12);
    QTest::newRow("rotate 90") << "Rotation" << QList<int>{90} << QStringList()
                               << Operation([](CharacterData& d) { d.rotateCells(90.0, false, true); })
                               << QRect(-8, 8, 48, 32);
    QTest::newRow("rotate -37, smooth") << "Rotation" << QList<int>{-37} << QStringList{"Lissage"}
                                        << Operation([](CharacterData& d) { d.rotateCells(-37.0, true, true); })
                                        << QRect();
    QTest::newRow("hue 120 redefined, saturation -100, lightness 40")
        << "Teinte / Saturation" << QList<int>{120, -100, 40} << QStringList{"Redéfinir"}
        << Operation([](CharacterData& d) { d.changeColoration(TslShift{120.f, -100.f, 40.f}, true, true); })
        << QRect(0, 0, 32, 48);
  }

  void validationCallsTheOperation()
  {
    QFETCH(QString, command);
    QFETCH(QList<int>, values);
    QFETCH(QStringList, toggled);
    Opened opened;
    CharacterData expected = *opened.document;
    QViewBox* box = opened.open(command);
    QVERIFY(box && box->isModal() && box->isVisible());
    for (const QString& text : toggled)
      named<QCheckBox>(box, text)->click();
    for (int i = 0; i < values.size(); ++i)
      box->findChildren<QSpinBox*>()[i]->setValue(values[i]);
    named<QPushButton>(box, "Valider")->click();

    QFETCH(Operation, operation);
    expected.saveSnapshot();
    operation(expected);
    compareCells(*opened.document, expected);
    QFETCH(QRect, cell0);
    if (!cell0.isNull())
      QCOMPARE(QRect(opened.document->offset(0, 0), opened.document->image(0, 0).size()), cell0);
  }

  void waysOut_data()
  {
    QTest::addColumn<int>("dialog");
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("elements");
    for (int dialog = 0; dialog < 3; ++dialog)
      for (const char* way : {"Valider", "Annuler", "close", "Escape"})
        for (int elements : {1, 0})
          QTest::addRow("%s, %s, %d elements", kLabels[dialog][0], way, elements) << dialog << way << elements;
  }

  void waysOut()
  {
    QFETCH(int, dialog);
    QFETCH(QString, way);
    QFETCH(int, elements);
    Opened opened(elements);
    const CharacterData before = *opened.document;
    const int steps = opened.canvas->history()->count();
    QPointer<QViewBox> box = opened.open(kLabels[dialog][0]);
    QVERIFY(box);
    if (way == "Valider") {
      named<QPushButton>(box, way)->click();
    } else {
      box->findChildren<QSpinBox*>()[0]->setValue(50); // a preview that must be undone
      if (way == "close")
        box->close();
      else if (way == "Escape")
        QTest::keyClick(box, Qt::Key_Escape);
      else
        named<QPushButton>(box, way)->click();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!box);
    QVERIFY(opened.document->snapshot().images.empty());

    const bool kept = way == "Valider";
    QCOMPARE(opened.canvas->history()->count(), steps + int(kept));
    QCOMPARE(opened.window.mdiArea->currentSubWindow()->windowTitle(), kept ? "hero*" : "hero");
    if (kept)
      QCOMPARE(opened.canvas->history()->label(steps), std::string(kLabels[dialog][1]));
    else
      compareCells(*opened.document, before);
  }

  void previewsStartFromTheSnapshot()
  {
    Opened opened;
    QVERIFY(QTest::qWaitForWindowActive(&opened.window));
    const CharacterData before = *opened.document;
    const QImage thumbnail = opened.window.layerList->thumbnailPixmaps().at(0).toImage();
    CharacterData half = before;
    half.saveSnapshot();
    half.resizeCells(0.5, 1.0, true, false, true);

    QViewBox* box = opened.open("Redimension");
    box->findChildren<QSpinBox*>()[0]->setValue(50);
    QCheckBox* recentre = named<QCheckBox>(box, "Recentrer");
    recentre->click();
    QCoreApplication::processEvents();
    recentre->click(); // a second and a third preview at 50 %
    QCoreApplication::processEvents();
    compareCells(*opened.document, half);
    QCOMPARE(opened.window.layerList->thumbnailPixmaps().at(0).toImage(), thumbnail);

    named<QCheckBox>(box, "Apercu")->click();
    compareCells(*opened.document, before);
    box->findChildren<QSpinBox*>()[1]->setValue(50); // not shown while "Apercu" is off
    compareCells(*opened.document, before);
    named<QPushButton>(box, "Valider")->click();
    half.resizeCells(0.5, 0.5, true, false, true);
    compareCells(*opened.document, half);
    QCOMPARE(opened.window.layerList->thumbnailPixmaps().at(0).toImage(), makeThumbnails(*opened.document).at(0).toImage());
  }

  // Values sent faster than they are previewed: nothing is computed until the
  // events are handled, then the last values once; "Valider" meanwhile keeps
  // those values as one step, and the pending preview never runs.
  void burstsShowTheirLastValues_data()
  {
    QTest::addColumn<int>("dialog");
    QTest::addColumn<QList<int>>("values"); // of the first spin box
    QTest::addColumn<Operation>("last");
    QTest::addColumn<bool>("validate");
    for (bool validate : {false, true}) {
      QTest::addRow("resize%s", validate ? ", validated" : "")
          << 0 << QList<int>{90, 70, 54} << Operation([](CharacterData& d) { d.resizeCells(0.54, 1.0, true, false, true); })
          << validate;
      QTest::addRow("rotate%s", validate ? ", validated" : "")
          << 1 << QList<int>{1, 2, 3, 4} << Operation([](CharacterData& d) { d.rotateCells(4.0, false, true); }) << validate;
      QTest::addRow("colour%s", validate ? ", validated" : "")
          << 2 << QList<int>{10, 20, 30} << Operation([](CharacterData& d) { d.changeColoration(TslShift{30.f, 0.f, 0.f}, false, true); })
          << validate;
    }
  }
  void burstsShowTheirLastValues()
  {
    QFETCH(int, dialog);
    QFETCH(QList<int>, values);
    QFETCH(Operation, last);
    QFETCH(bool, validate);
    Opened opened(3);
    const CharacterData before = *opened.document;
    CharacterData expected = before;
    expected.saveSnapshot();
    last(expected);
    const int steps = opened.canvas->history()->count();
    QPointer<QViewBox> box = opened.open(kLabels[dialog][0]);
    for (int value : values)
      box->findChildren<QSpinBox*>()[0]->setValue(value);
    compareCells(*opened.document, before);
    if (validate)
      named<QPushButton>(box, "Valider")->click();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    compareCells(*opened.document, expected);
    QCOMPARE(opened.canvas->history()->count(), steps + int(validate));
    QCOMPARE(box.isNull(), validate);
    if (box)
      box->close();
  }

  // Cells past the side the readers accept could be neither saved nor opened.
  void resizePastTheBoundIsRefused()
  {
    Opened opened;
    opened.document->image(0, 0) = QImage(8200, 2, QImage::Format_ARGB32);
    opened.document->image(0, 0).fill(0xFF102030u);
    const CharacterData before = *opened.document;
    const int steps = opened.canvas->history()->count();
    QViewBox* box = opened.open("Redimension");
    box->findChildren<QSpinBox*>()[0]->setValue(200);
    QCoreApplication::processEvents();
    PromptRecorder prompts;
    named<QPushButton>(box, "Valider")->click();
    QCOMPARE(prompts.titles(), QStringList{"Erreur"});
    QCOMPARE(prompts.asked[0].text, QString("La taille obtenue dépasserait 16384 pixels."));
    QVERIFY(box->isVisible() && opened.canvas->history()->count() == steps);
    compareCells(*opened.document, before);
    box->findChildren<QSpinBox*>()[0]->setValue(199); // 16318 pixels: allowed
    named<QPushButton>(box, "Valider")->click();
    QCOMPARE(opened.document->image(0, 0).width(), 16318);
  }
};

SK_TEST_MAIN(TestRetouchDialogs)
#include "test_retouchdialogs.moc"
