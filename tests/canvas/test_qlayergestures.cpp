#include "tests/TestMain.h"

#include "canvas/QLayer.h"
#include "tests/canvas/CanvasGrab.h"
#include "colour/QColorBox.h"
#include "core/IniSettings.h"
#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"

#include <QLabel>
#include <QPainter>

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kGreen = 0xFF00FF00u;

uint32_t word(const QImage& image, int x, int y)
{
  return reinterpret_cast<const uint32_t*>(image.constScanLine(y))[x];
}

// A canvas wired as the main window wires it, to a colour box of red over
// green. The label is the picture's size, so label points are event points.
struct Rig
{
  QColor primary{QColor::fromRgba(kRed)};
  QColor secondary{QColor::fromRgba(kGreen)};
  QColorBox box{&primary, &secondary, true};
  unsigned char tool = SelectTool;
  unsigned char rubberMode = 0;
  PenSettings pen;
  GradientHolder holder;
  DrawScope scope;
  QLayer canvas;
  CharacterData& doc;
  // Held by the rig's own key presses, carried by every event as a real
  // keyboard's are.
  Qt::KeyboardModifiers held;

  // elements drawing elements, named and sourced as the list shows them.
  explicit Rig(int type = XP, int elements = 0, const std::string& source = std::string(), QSize size = QSize(0, 0))
    : canvas(QStringLiteral("Héros"), size, type, nullptr, &box, nullptr)
    , doc(*canvas.characterData())
  {
    canvas.setToolPointer(&tool);
    canvas.pen = &pen;
    canvas.gradientHolder = &holder;
    canvas.drawScope = &scope;
    canvas.rubberMode = &rubberMode;
    for (int e = 0; e < elements; ++e)
      doc.addElement(std::string(), e);
    for (int e = 0; e < elements; ++e)
      doc.setSource(source, e);
    canvas.updateSize();
  }

  void mouse(QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons = Qt::LeftButton)
  {
    QMouseEvent event(type, at, canvas.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : buttons, held);
    QCoreApplication::sendEvent(&canvas, &event);
  }
  void drag(const QPoint& from, const QPoint& to)
  {
    mouse(QEvent::MouseButtonPress, from);
    mouse(QEvent::MouseMove, to);
    mouse(QEvent::MouseButtonRelease, to);
  }
  void key(int key, QEvent::Type type = QEvent::KeyPress)
  {
    const Qt::KeyboardModifier modifier = key == Qt::Key_Shift ? Qt::ShiftModifier
        : key == Qt::Key_Control                                ? Qt::ControlModifier
                                                                : Qt::NoModifier;
    held.setFlag(modifier, type == QEvent::KeyPress);
    QKeyEvent event(type, key, held);
    QCoreApplication::sendEvent(&canvas, &event);
  }
  QStringList steps()
  {
    QStringList out;
    for (int i = 0; i < canvas.history()->count(); ++i)
      out << QString::fromStdString(canvas.history()->label(i));
    return out;
  }
};

// The centre of a cell, in label points at zoom 1.
QPoint centreOf(const CharacterData& doc, int cell)
{
  return doc.cellOrigin(cell) + QPoint(doc.cellSize().width() / 2, doc.cellSize().height() / 2);
}

int storedShowDrawElement()
{
  int value = 0;
  IniSettings().getValue("showDrawElement", value);
  return value;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<int>)

class TestQLayerGestures : public QObject
{
  Q_OBJECT

private slots:
  void init() { writeAll("sorvelkit.ini", QByteArray()); }

  // key 0 clicks the cell; the modifiers are held on the canvas's own keys.
  void selection_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<std::vector<int>>("before");
    QTest::addColumn<QList<int>>("held");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("cell");
    QTest::addColumn<std::vector<int>>("after");
    const QList<int> shift{Qt::Key_Shift};
    QTest::newRow("shift-click") << int(XP) << std::vector<int>{5} << shift << 0 << 10 << std::vector<int>{5, 9, 6, 10};
    QTest::newRow("shift+right extends") << int(XP) << std::vector<int>{5} << shift << int(Qt::Key_Right) << 0
                                         << std::vector<int>{5, 6};
  }
  void selection()
  {
    QFETCH(int, type);
    QFETCH(std::vector<int>, before);
    QFETCH(QList<int>, held);
    QFETCH(int, key);
    QFETCH(int, cell);
    QFETCH(std::vector<int>, after);
    Rig rig(type, 1);
    rig.doc.setSelectedCells(before);
    for (int k : held)
      rig.key(k);
    if (key)
      rig.key(key);
    else
      rig.drag(centreOf(rig.doc, cell), centreOf(rig.doc, cell));
    QCOMPARE(rig.doc.selectedCells(), after);
    QVERIFY(rig.steps().isEmpty());
  }

  // setting: "showDrawElement" before the press (0 none).
  void checksBeforeAStroke_data()
  {
    QTest::addColumn<int>("elements");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("zone");
    QTest::addColumn<int>("setting");
    QTest::addColumn<QString>("message");
    QTest::newRow("no element selected") << 1 << false << 0 << 0 << "Aucun élément n'est sélectionné.";
    QTest::newRow("no cell selected") << 1 << true << 1 << 0 << "Aucune cellule n'est sélectionnée.";
    QTest::newRow("draw on the top one, but none") << 0 << false << 0 << 3 << "Aucun élément n'est sélectionné.";
  }
  void checksBeforeAStroke()
  {
    QFETCH(int, elements);
    QFETCH(bool, selected);
    QFETCH(int, zone);
    QFETCH(int, setting);
    QFETCH(QString, message);
    if (setting)
      IniSettings().setValue("showAgain", "showDrawElement", setting);
    Rig rig(XP, elements);
    if (selected)
      rig.doc.setSelectedElements({0});
    rig.scope.scope = zone;
    rig.tool = PenTool;
    PromptRecorder recorder;
    rig.drag(QPoint(5, 5), QPoint(9, 9));
    QCOMPARE(recorder.kinds(), QStringList{"message"});
    QCOMPARE(recorder.asked[0].title, QString("Dessin"));
    QCOMPARE(recorder.asked[0].text, message);
    QCOMPARE(recorder.asked[0].icon, int(QMessageBox::Information));
    QVERIFY(rig.steps().isEmpty());
  }

  void drawingElementAddedOnTop()
  {
    IniSettings().setValue("showAgain", "showDrawElement", 2);
    Rig rig(XP, 1);
    rig.tool = PenTool;
    rig.mouse(QEvent::MouseButtonPress, QPoint(4, 4));
    QCOMPARE(rig.doc.names(), (std::vector<std::string>{"Elément 1", "Elément 2"}));
    QCOMPARE(rig.doc.selectedElements(), std::vector<int>{1});
    QVERIFY(rig.doc.isListUpdatePending());
    // The preview marks the label only, mark by mark.
    rig.mouse(QEvent::MouseMove, QPoint(8, 4));
    const QImage shown = grabView(rig.canvas, QRect(QPoint(0, 0), rig.canvas.size()));
    QCOMPARE(shown.pixel(4, 4), shown.pixel(8, 4));
    QCOMPARE(QColor(shown.pixel(8, 4)), QColor(128, 128, 128));
    rig.mouse(QEvent::MouseButtonRelease, QPoint(8, 4));
    QCOMPARE(rig.steps(), (QStringList{"Ajouter un calque de dessin", "Pinceau"}));
    QCOMPARE(word(rig.doc.image(1, 0), 4, 4), kRed);
    QCOMPARE(word(rig.doc.image(1, 0), 8, 4), kRed);
    QCOMPARE(word(rig.doc.image(0, 0), 4, 4), kBlankPixel);
  }

  // The press after the question: 1 with no question and a stroke, 2 asks
  // again.
  void drawOnAnImageElement_data()
  {
    QTest::addColumn<int>("elements");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("tick");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("elementsAfter");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("questionsAfterNextPress");
    QTest::newRow("no, not again") << 1 << int(QMessageBox::No) << 1 << 3 << 1 << true << QStringList() << 1;
    QTest::newRow("yes") << 1 << int(QMessageBox::Yes) << 0 << 4 << 2 << true << QStringList() << 1;
    QTest::newRow("yes at the limit") << 255 << int(QMessageBox::Yes) << 0 << 4 << 255 << false
                                      << QStringList{"Impossible de créer plus de 255 éléments !"} << 2;
  }
  void drawOnAnImageElement()
  {
    QFETCH(int, elements);
    QFETCH(int, answer);
    QFETCH(int, tick);
    QFETCH(int, stored);
    QFETCH(int, elementsAfter);
    QFETCH(bool, asked);
    QFETCH(QStringList, messages);
    QFETCH(int, questionsAfterNextPress);
    Rig rig(XP, elements, "hero.png");
    rig.doc.setSelectedElements({0});
    rig.tool = PenTool;
    PromptRecorder recorder;
    recorder.buttons = {QMessageBox::StandardButton(answer)};
    recorder.ticks = {tick};
    QStringList labels;
    auto record = prompts().runMessageBox;
    prompts().runMessageBox = [&](QMessageBox& box) {
      for (QLabel* label : box.findChildren<QLabel*>())
        labels << label->text();
      for (QCheckBox* check : box.findChildren<QCheckBox*>())
        labels << check->text();
      return record(box);
    };
    rig.drag(QPoint(4, 4), QPoint(4, 4));

    QCOMPARE(recorder.asked[0].title, QString("Dessin"));
    QCOMPARE(recorder.asked[0].text, QString("<h3>Dessiner sur un élément</h3>"));
    QVERIFY(labels.contains("Vous êtes sur le point de dessiner sur un élément. Il est recommandé de dessiner sur "
                            "un calque de dessin.<br />Créer un calque de dessin ?"));
    QVERIFY(labels.contains("Ne plus afficher ce message"));
    QCOMPARE(storedShowDrawElement(), stored);
    QCOMPARE(rig.doc.elementCount(), elementsAfter);
    QCOMPARE(rig.canvas.isDrawLayerAsked(), asked);
    QStringList shown;
    for (const auto& a : recorder.asked.mid(1))
      shown << a.text;
    QCOMPARE(shown, messages);
    // No stroke from this press; a new drawing element sits just above.
    QCOMPARE(rig.steps(), elementsAfter > elements ? QStringList{"Ajouter un calque de dessin"} : QStringList());
    QCOMPARE(rig.doc.selectedElements(), std::vector<int>{elementsAfter > elements ? 1 : 0});

    rig.drag(QPoint(4, 4), QPoint(4, 4));
    int questions = 0;
    for (const auto& a : recorder.asked)
      questions += a.kind == "box";
    QCOMPARE(questions, questionsAfterNextPress);
    if (questions == 1) {
      QCOMPARE(rig.steps().last(), QString("Pinceau"));
      QCOMPARE(word(rig.doc.image(rig.doc.selectedElements()[0], 0), 4, 4), kRed);
    }
  }

  void shapesAndLines()
  {
    Rig rig(XP, 1);
    rig.doc.setSelectedElements({0});
    rig.holder.fillMode = 0;
    rig.tool = RectTool;
    rig.drag(QPoint(10, 4), QPoint(2, 8));
    const QImage& cell = rig.doc.image(0, 0);
    QCOMPARE(word(cell, 2, 4), kRed);
    QCOMPARE(word(cell, 10, 8), kRed);
    QCOMPARE(word(cell, 11, 8), kBlankPixel);
    QCOMPARE(word(cell, 6, 6), kBlankPixel);
    QCOMPARE(rig.steps().last(), QString("Rectangle"));

    rig.tool = LineTool;
    rig.drag(QPoint(20, 30), QPoint(20, 30));
    QCOMPARE(rig.steps().last(), QString("Ligne"));
    QCOMPARE(word(rig.doc.image(0, 0), 20, 30), kRed);
  }

  // A gradient outline takes the box's current colour, also after a pen
  // stroke dropped the shape colours and after the colour changed.
  void shapeColoursAtEveryPress()
  {
    Rig rig(XP, 1);
    rig.doc.setSelectedElements({0});
    rig.holder.paintMode = 1;
    rig.holder.fillMode = 0;
    rig.tool = PenTool;
    rig.drag(centreOf(rig.doc, 5), centreOf(rig.doc, 5));
    rig.tool = RectTool;
    rig.drag(QPoint(2, 2), QPoint(6, 6));
    QCOMPARE(word(rig.doc.image(0, 0), 2, 2), kRed);
    rig.box.setColor(QColor::fromRgba(kBlue));
    rig.drag(QPoint(2, 10), QPoint(6, 14));
    QCOMPARE(word(rig.doc.image(0, 0), 2, 10), kBlue);

    rig.holder.paintMode = 0;
    rig.holder.fillMode = 2;
    rig.drag(QPoint(10, 20), QPoint(16, 26));
    QCOMPARE(word(rig.doc.image(0, 0), 10, 20), kBlue);
    QCOMPARE(word(rig.doc.image(0, 0), 13, 23), kGreen);
  }

  void rubberMoveAndDelete()
  {
    Rig rig(XP, 1);
    for (QImage& image : rig.doc.images(0))
      image.fill(kRed);
    rig.doc.setSelectedElements({0});
    rig.tool = RubberTool;
    rig.pen.size = 3;
    rig.mouse(QEvent::MouseButtonPress, QPoint(16, 24));
    rig.mouse(QEvent::MouseMove, QPoint(30, 24));
    rig.mouse(QEvent::MouseMove, QPoint(40, 24)); // into cell 1, still cell 0's points
    rig.mouse(QEvent::MouseButtonRelease, QPoint(40, 24));
    QCOMPARE(word(rig.doc.image(0, 0), 15, 23), kBlankPixel);
    QCOMPARE(word(rig.doc.image(0, 0), 31, 24), kBlankPixel);
    QCOMPARE(word(rig.doc.image(0, 0), 16, 27), kRed);
    QCOMPARE(rig.doc.image(0, 1).pixel(8, 24), kRed);
    QCOMPARE(rig.steps(), QStringList{"Gomme"});

    rig.doc.setSelectedCells({5});
    rig.tool = MoveTool;
    rig.key(Qt::Key_Right);
    rig.key(Qt::Key_Right);
    QCOMPARE(rig.doc.offset(0, 5), QPoint(2, 0));
    rig.mouse(QEvent::MouseButtonPress, QPoint(10, 10));
    rig.mouse(QEvent::MouseMove, QPoint(12, 11));
    rig.mouse(QEvent::MouseMove, QPoint(15, 13));
    const QRect all(QPoint(0, 0), rig.canvas.size());
    QCOMPARE(grabView(rig.canvas, all), renderedView(rig.canvas, all));
    rig.mouse(QEvent::MouseButtonRelease, QPoint(15, 13));
    QCOMPARE(rig.doc.offset(0, 5), QPoint(7, 3));
    QCOMPARE(rig.doc.offset(0, 4), QPoint(0, 0));
    QCOMPARE(rig.steps(), (QStringList{"Gomme", "Déplacement", "Déplacement", "Déplacement"}));

    rig.key(Qt::Key_Delete);
    QCOMPARE(rig.doc.image(0, 5).pixel(8, 8), kBlankPixel);
    QCOMPARE(rig.doc.image(0, 4).pixel(8, 8), kRed);
    QCOMPARE(rig.steps().last(), QString("Suppression de cellules"));
  }

  void pipette()
  {
    Rig rig(XP, 1);
    rig.doc.image(0, 0).fill(kBlue);
    rig.canvas.updateSize();
    rig.canvas.resize(200, 260); // the picture is centred in a larger label
    rig.tool = PipetteTool;
    rig.drag(QPoint(2, 2), QPoint(2, 2));
    QCOMPARE(rig.primary.rgba(), kRed);
    const QPoint offset((200 - 128) / 2, (260 - 192) / 2);
    rig.drag(offset + QPoint(8, 8), offset + QPoint(8, 8));
    QCOMPARE(rig.primary.rgba(), kBlue);
    QVERIFY(rig.steps().isEmpty());
  }

  // The previews are drawn over the view where the marks always were; once
  // released, the view is the render again.
  void previewsOverTheView_data()
  {
    QTest::addColumn<int>("tool");
    QTest::newRow("pen") << int(PenTool);
    QTest::newRow("rectangle") << int(RectTool);
    QTest::newRow("line") << int(LineTool);
  }
  void previewsOverTheView()
  {
    QFETCH(int, tool);
    Rig rig(XP, 1);
    rig.doc.setSelectedElements({0});
    rig.canvas.setZoom(4);
    rig.canvas.updateSize();
    rig.tool = static_cast<unsigned char>(tool);
    const QRect all(QPoint(0, 0), rig.canvas.size());
    QImage expected = renderedView(rig.canvas, all);
    rig.mouse(QEvent::MouseButtonPress, QPoint(41, 62)); // sheet pixel (10, 15)
    rig.mouse(QEvent::MouseMove, QPoint(50, 70));        // (12, 17)
    rig.mouse(QEvent::MouseMove, QPoint(66, 79));        // (16, 19)
    {
      QPainter marks(&expected);
      if (tool == PenTool)
        for (const QPoint& p : {QPoint(10, 15), QPoint(11, 16), QPoint(12, 17), QPoint(13, 18), QPoint(14, 18),
                                QPoint(15, 19), QPoint(16, 19)})
          marks.fillRect(QRect(p * 4, QSize(4, 4)), QColor(128, 128, 128));
      else if (tool == RectTool)
        marks.drawRect(QRect(QPoint(40, 60), QPoint(67, 79)));
      else
        marks.drawLine(QPoint(40, 60), QPoint(64, 76));
    }
    QCOMPARE(grabView(rig.canvas, all), expected);
    rig.mouse(QEvent::MouseButtonRelease, QPoint(66, 79));
    QCOMPARE(grabView(rig.canvas, all), renderedView(rig.canvas, all));
  }

  // Pointer positions far apart still give one unbroken stroke: the pen in
  // one step at zoom 1, the rubber in steps of 20 view points at 400 %.
  void fastStrokeHasNoGaps_data()
  {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<uint>("stroke");
    QTest::addColumn<QString>("step");
    QTest::newRow("pen") << int(PenTool) << 1 << uint(kRed) << "Pinceau";
    QTest::newRow("rubber") << int(RubberTool) << 4 << uint(kBlankPixel) << "Gomme";
  }
  void fastStrokeHasNoGaps()
  {
    QFETCH(int, kind);
    QFETCH(int, zoom);
    QFETCH(uint, stroke);
    QFETCH(QString, step);
    Rig rig(XP, 1);
    rig.doc.image(0, 0).fill(kBlue);
    const QImage before = rig.doc.image(0, 0).copy();
    rig.canvas.addHistory(&rig.doc, "Etat d'origine");
    rig.doc.setSelectedElements({0});
    rig.canvas.setZoom(zoom);
    rig.canvas.updateSize();
    rig.tool = uchar(kind);
    rig.mouse(QEvent::MouseButtonPress, QPoint(2, 2) * zoom);
    for (int i = 1; i <= zoom; ++i)
      rig.mouse(QEvent::MouseMove, QPoint(2, 2) * zoom + QPoint(20, 8) * i);
    rig.mouse(QEvent::MouseButtonRelease, QPoint(2, 2) * zoom + QPoint(20, 8) * zoom);
    for (int i = 0; i <= 20; ++i)
      QCOMPARE(word(rig.doc.image(0, 0), 2 + i, 2 + qRound(i * 0.4)), stroke);
    QCOMPARE(word(rig.doc.image(0, 0), 3, 3), kBlue);
    QCOMPARE(rig.steps(), (QStringList{"Etat d'origine", step}));
    rig.doc.setLayerData(rig.canvas.goToHistoryStep(0));
    QCOMPARE(rig.doc.image(0, 0), before);
  }

  // A Ctrl whose release a dialog swallowed is not held for the next click.
  void modifiersComeWithEachEvent()
  {
    Rig rig(XP, 1);
    rig.doc.setSelectedCells({2});
    rig.key(Qt::Key_Control);
    rig.held = Qt::NoModifier; // released while a dialog had the focus
    rig.drag(centreOf(rig.doc, 5), centreOf(rig.doc, 5));
    QCOMPARE(rig.doc.selectedCells(), std::vector<int>{5});
  }

  // The release went to a modal window: the next bare move ends the stroke,
  // and moves after it erase nothing.
  void swallowedReleaseEndsTheGesture()
  {
    Rig rig(XP, 1);
    QImage red(32, 48, QImage::Format_ARGB32);
    red.fill(kRed);
    rig.doc.images(0)[0] = red;
    rig.doc.setSelectedElements({0});
    rig.tool = RubberTool;
    rig.mouse(QEvent::MouseButtonPress, QPoint(4, 4));
    rig.mouse(QEvent::MouseMove, QPoint(6, 4));
    rig.mouse(QEvent::MouseMove, QPoint(8, 4), Qt::NoButton);
    QCOMPARE(rig.steps(), QStringList{"Gomme"});
    rig.mouse(QEvent::MouseMove, QPoint(12, 20), Qt::NoButton);
    QCOMPARE(word(rig.doc.image(0, 0), 12, 20), kRed);
    QCOMPARE(word(rig.doc.image(0, 0), 8, 4), kRed);
    QCOMPARE(word(rig.doc.image(0, 0), 6, 4), kBlankPixel);
    QCOMPARE(rig.steps(), QStringList{"Gomme"});
  }

  // At zoom 1.5 a cell of 33 pixels is 49.5 view pixels wide: the press and
  // the dot must agree on the cell, up to the sheet's last column.
  void cellFollowsTheSheetPixel()
  {
    Rig rig(XP, 1, std::string(), QSize(132, 196));
    rig.doc.setSelectedElements({0});
    rig.canvas.setZoom(1.5);
    rig.canvas.updateSize();
    rig.tool = PenTool;
    for (int x = 0; x < 198; ++x) {
      const int cell = x < 50 ? 0 : x >= 149 ? 3 : -1;
      if (cell < 0)
        continue;
      rig.drag(QPoint(x, 10), QPoint(x, 10));
      QCOMPARE(int(rig.scope.cell), cell);
      const QPoint dot = QPoint(int(x / 1.5), int(10 / 1.5)) - rig.doc.cellOrigin(cell);
      QCOMPARE(rig.doc.image(0, cell).pixel(dot - rig.doc.offset(0, cell)), kRed);
    }
  }
};

SK_TEST_MAIN(TestQLayerGestures)
#include "test_qlayergestures.moc"
