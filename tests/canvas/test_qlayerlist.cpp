#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "canvas/ElementListGeometry.h"
#include "canvas/ElementThumbnails.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerList.h"
#include "core/IniSettings.h"
#include "model/ClipBoard.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QColor kBand(50, 101, 255);

// A canvas with n drawing elements ("Elément 1" at the bottom) and the list
// wired to it as the main window wires them.
struct Fixture
{
  ClipBoard* clip = new ClipBoard();
  CharacterData placeholder{XP, QSize(0, 0)};
  QLayerList list{&placeholder, &clip, nullptr};
  QLayer canvas{QStringLiteral("Héros"), QSize(0, 0), XP, nullptr, nullptr, &list};

  explicit Fixture(int elements)
  {
    for (int i = 0; i < elements; ++i)
      doc().addElement(std::string(), i);
    list.setCharacterData(canvas.characterData());
    list.setLayer(&canvas);
    list.updateLayout();
  }
  ~Fixture() { delete clip; }

  CharacterData& doc() { return *canvas.characterData(); }
  int steps() { return canvas.history()->count(); }
  QString lastLabel()
  {
    return steps() ? QString::fromStdString(canvas.history()->label(steps() - 1)) : QString();
  }
  QStringList names()
  {
    QStringList out;
    for (const std::string& n : doc().names())
      out << QString::fromStdString(n);
    return out;
  }
  // A point of an element's row, dy below the row's top.
  QPoint at(int element, int dy = 20)
  {
    const int row = element - list.scrollPosition();
    return QPoint(70, list.height() - 58 * (row + 1) + dy);
  }
  void send(QEvent::Type type, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier)
  {
    const Qt::MouseButton which = type == QEvent::MouseMove ? Qt::NoButton : button;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), list.mapToGlobal(QPointF(pos)), which, held, modifiers);
    QApplication::sendEvent(&list, &event);
  }
  void rightClick(const QPoint& pos)
  {
    send(QEvent::MouseButtonPress, pos, Qt::RightButton);
    send(QEvent::MouseButtonRelease, pos, Qt::RightButton);
  }
  // The texts of the last "Actions" menu, separators left out.
  QStringList menuTexts()
  {
    QStringList out;
    if (QMenu* menu = list.findChild<QMenu*>())
      for (QAction* a : menu->actions())
        if (!a->isSeparator())
          out << a->text();
    return out;
  }
  void closeMenus()
  {
    for (QMenu* menu : list.findChildren<QMenu*>())
      delete menu;
  }
};

QImage grabList(QLayerList& list)
{
  return list.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

int pixelsOf(const QImage& image, const QColor& colour, const QRect& area)
{
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      n += image.pixel(x, y) == colour.rgb() ? 1 : 0;
  return n;
}

QImage filled(const QSize& size, QRgb colour)
{
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

// The delete question's own texts and check box, read while it is asked.
struct DeleteQuestion
{
  QStringList texts;
  void answer(bool tick)
  {
    auto inner = prompts().runMessageBox;
    prompts().runMessageBox = [this, inner, tick](QMessageBox& box) {
      for (QLabel* label : box.findChildren<QLabel*>())
        texts << label->text();
      for (QCheckBox* check : box.findChildren<QCheckBox*>()) {
        texts << check->text();
        check->setChecked(tick);
      }
      return inner(box);
    };
  }
};

} // namespace

class TestQLayerList : public QObject
{
  Q_OBJECT

private slots:
  void geometry_data()
  {
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("height");
    QTest::newRow("768") << 768 << 9 << 532;
    QTest::newRow("1080") << 1080 << 13 << 764;
    QTest::newRow("185") << 185 << 1 << 68;
    QTest::newRow("150") << 150 << 1 << 68;
    QTest::newRow("0") << 0 << 1 << 68;
  }
  void geometry()
  {
    QFETCH(int, screen);
    QFETCH(int, rows);
    QFETCH(int, height);
    QCOMPARE(ElementListGeometry::rowsForScreen(screen), rows);
    QCOMPARE(rows * 58 + 10, height);
  }

  void sizeFollowsScreen()
  {
    Fixture f(0);
    const int rows = ElementListGeometry::rowsForScreen(QGuiApplication::primaryScreen()->geometry().height());
    QCOMPARE(f.list.rowCount(), rows);
    QCOMPARE(f.list.size(), QSize(180, rows * 58 + 10));
  }

  // Only the message's line holds anything, and no click finds a row.
  void emptyDocument()
  {
    Fixture f(0);
    f.list.resize(f.list.size());
    const QImage shot = grabList(f.list);
    const QRgb background = shot.pixel(100, shot.height() - 3);
    for (int y = 16; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        QCOMPARE(shot.pixel(x, y), background);
    for (int y : {20, 100, f.list.height() - 20}) {
      f.send(QEvent::MouseButtonPress, QPoint(70, y));
      f.send(QEvent::MouseButtonRelease, QPoint(70, y));
      f.send(QEvent::MouseButtonDblClick, QPoint(70, y));
      f.rightClick(QPoint(70, y));
    }
    QVERIFY(f.list.findChild<QMenu*>() == nullptr);
    QVERIFY(f.list.findChild<QDialog*>() == nullptr);
    QCOMPARE(f.steps(), 0);
  }

  void thumbnailSize_data()
  {
    QTest::addColumn<QSize>("cell");
    QTest::addColumn<QSize>("thumb");
    QTest::newRow("64x64") << QSize(64, 64) << QSize(32, 32);
    QTest::newRow("40x96") << QSize(40, 96) << QSize(20, 48);
    QTest::newRow("32x64") << QSize(32, 64) << QSize(24, 48);
    QTest::newRow("32x48") << QSize(32, 48) << QSize(32, 48);
    QTest::newRow("10x10") << QSize(10, 10) << QSize(10, 10);
  }
  void thumbnailSize()
  {
    QFETCH(QSize, cell);
    QFETCH(QSize, thumb);
    CharacterData doc(XP, QSize(cell.width() * 4, cell.height() * 4));
    doc.addElement(std::string(), 0);
    doc.setImage(filled(cell, 0xFF336699), 0, 0);
    const std::vector<QPixmap> thumbs = makeThumbnails(doc);
    QCOMPARE(int(thumbs.size()), 1);
    QCOMPARE(thumbs[0].size(), thumb);
  }

  // Cells are told apart by their red channel (the cell index + 1).
  void thumbnailCellChoice_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("drawn");
    QTest::addColumn<int>("shown");
    QTest::newRow("XP first drawn") << int(XP) << QList<int>{3, 7} << 3;
    QTest::newRow("VX middle first") << int(VX) << QList<int>{0, 1, 2} << 1;
    QTest::newRow("VX middle blank") << int(VX) << QList<int>{0, 2} << 0;
    QTest::newRow("VX second row") << int(VX) << QList<int>{5, 4} << 4;
    QTest::newRow("XP all blank") << int(XP) << QList<int>{} << 15;
    QTest::newRow("VX all blank") << int(VX) << QList<int>{} << 11;
  }
  void thumbnailCellChoice()
  {
    QFETCH(int, type);
    QFETCH(QList<int>, drawn);
    QFETCH(int, shown);
    CharacterData doc(type, QSize(0, 0));
    doc.addElement(std::string(), 0);
    for (int c = 0; c < doc.cellCount(); ++c) {
      QImage cell = filled(doc.cellSize(), qRgba(c + 1, 0, 0, 0));
      if (drawn.contains(c))
        cell.fill(qRgba(c + 1, 0, 0, 255));
      doc.setImage(cell, 0, c);
    }
    QCOMPARE(qRed(thumbnailSource(doc, 0).pixel(0, 0)), shown + 1);
  }

  void selection_data()
  {
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QList<int>>("after");
    const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("plain") << QList<int>{2, 4} << 0 << QList<int>{5};
    QTest::newRow("ctrl shift 4 2") << QList<int>{4, 2} << (ctrl | shift) << QList<int>{2, 3, 5};
  }
  void selection()
  {
    QFETCH(QList<int>, before);
    QFETCH(int, modifiers);
    QFETCH(QList<int>, after);
    Fixture f(9);
    f.list.setScrollOffset(5); // element 5 in the bottom row, on any screen
    f.doc().setSelectedElements(std::vector<int>(before.begin(), before.end()));
    const auto mods = Qt::KeyboardModifiers(modifiers);
    f.send(QEvent::MouseButtonPress, f.at(5), Qt::LeftButton, mods);
    f.send(QEvent::MouseButtonRelease, f.at(5), Qt::LeftButton, mods);
    const std::vector<int>& got = f.doc().selectedElements();
    QCOMPARE(QList<int>(got.begin(), got.end()), after);
    QCOMPARE(f.steps(), 0);
  }

  // The window's menu shortcuts act on cells; with the focus on the list the
  // same keys act on its elements and no action fires.
  void keys()
  {
    Fixture f(4);
    PromptRecorder rec;
    QMainWindow window;
    QWidget* central = new QWidget;
    QPushButton* elsewhere = new QPushButton(QStringLiteral("ailleurs"), central);
    QVBoxLayout* layout = new QVBoxLayout(central);
    layout->addWidget(elsewhere);
    f.list.setParent(central);
    layout->addWidget(&f.list);
    window.setCentralWidget(central);
    // The fixture owns the list: take it back before the window goes, even
    // when a check fails half-way.
    struct GiveBack
    {
      QWidget& list;
      ~GiveBack() { list.setParent(nullptr); }
    } giveBack{f.list};
    QStringList fired;
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Edition"));
    const QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_A), QKeySequence(Qt::CTRL | Qt::Key_I),
                                   QKeySequence(Qt::CTRL | Qt::Key_D), QKeySequence(Qt::Key_Delete)};
    for (const QKeySequence& key : keys) {
      QAction* action = menu->addAction(key.toString());
      action->setShortcut(key);
      connect(action, &QAction::triggered, &window, [&fired, key] { fired << key.toString(); });
    }
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    f.list.setFocus();
    QVERIFY(f.list.hasFocus());
    f.doc().setSelectedElements({1});
    QTest::keyClick(&f.list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.doc().selectedElements(), (std::vector<int>{0, 1, 2, 3}));
    f.doc().setSelectedElements({1, 3});
    QTest::keyClick(&f.list, Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(f.doc().selectedElements(), (std::vector<int>{0, 2}));
    QTest::keyClick(&f.list, Qt::Key_D, Qt::ControlModifier);
    QVERIFY(f.doc().selectedElements().empty());
    f.doc().setSelectedElements({2});
    QTest::keyClick(&f.list, Qt::Key_Delete);
    QCOMPARE(rec.titles(), QStringList{QStringLiteral("Suppression")});
    QCOMPARE(f.doc().elementCount(), 4); // the recorder answered No
    QVERIFY(fired.isEmpty());

    elsewhere->setFocus();
    QVERIFY(elsewhere->hasFocus());
    for (const QKeySequence& key : keys)
      QTest::keySequence(elsewhere, key);
    QCOMPARE(fired.size(), 4);
    QCOMPARE(f.doc().selectedElements(), std::vector<int>{2});
    QCOMPARE(rec.asked.size(), 1);
  }

  void scrollBar_data()
  {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("first");
    QTest::addColumn<QRect>("thumb");
    QTest::addColumn<int>("step");
    QTest::newRow("fits") << 532 << 9 << 9 << 0 << QRect() << 0;
    QTest::newRow("300 bottom") << 532 << 9 << 300 << 0 << QRect(157, 485, 15, 15) << 1;
    QTest::newRow("300 top") << 532 << 9 << 300 << 291 << QRect(157, 32, 15, 15) << 1;
    QTest::newRow("12") << 532 << 9 << 12 << 0 << QRect(157, 146, 15, 354) << 38;
    QTest::newRow("1000") << 532 << 9 << 1000 << 0 << QRect(157, 485, 15, 15) << 1;
  }
  void scrollBar()
  {
    QFETCH(int, height);
    QFETCH(int, rows);
    QFETCH(int, count);
    QFETCH(int, first);
    QFETCH(QRect, thumb);
    QFETCH(int, step);
    const ElementListGeometry g{height, rows, count, first};
    QCOMPARE(g.thumb(), thumb);
    QCOMPARE(g.thumbStep(), step);
    QCOMPARE(g.scrollBar(), QRect(150, 0, 30, height));
  }

  void noScrollBarWhenAllFit()
  {
    Fixture f(2);
    QCOMPARE(f.list.thumbRect(), QRect());
    QCOMPARE(f.list.thumbRect().bottomRight(), QPoint(-1, -1));
    for (int first : {-3, 1, 5}) {
      f.list.setScrollOffset(first);
      QCOMPARE(f.list.scrollPosition(), 0);
    }
    const QImage shot = grabList(f.list);
    QCOMPARE(pixelsOf(shot, QColor(166, 166, 246), QRect(150, 0, 30, shot.height())), 0);
  }

  // The half comes from the last move, not from where the button goes up.
  void dragMovesElement()
  {
    Fixture f(5);
    QApplication::setStartDragDistance(10);
    f.send(QEvent::MouseButtonPress, f.at(1));
    f.send(QEvent::MouseMove, f.at(1) + QPoint(0, -10));
    f.send(QEvent::MouseMove, f.at(3, 10)); // upper half of element 3
    f.send(QEvent::MouseButtonRelease, f.at(3, 40));
    QCOMPARE(f.names(), (QStringList{"Elément 1", "Elément 3", "Elément 4", "Elément 2", "Elément 5"}));
    QCOMPARE(f.steps(), 1);
    QCOMPARE(f.lastLabel(), QStringLiteral("Déplacement d'un élément"));
    QCOMPARE(f.doc().selectedElements(), std::vector<int>{3});
  }

  void noMove_data()
  {
    QTest::addColumn<int>("elements");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("dy");
    QTest::newRow("own gap") << 5 << "own" << 0;
    QTest::newRow("ctrl") << 5 << "ctrl" << 0;
    QTest::newRow("shift") << 5 << "shift" << 0;
    QTest::newRow("one element") << 1 << "drag" << 0;
    QTest::newRow("menu on T+23") << 5 << "menu" << 23;
    QTest::newRow("menu on T+24") << 5 << "menu" << 24;
    QTest::newRow("aMove on T+23") << 5 << "aMove" << 23;
    QTest::newRow("aMove on T+24") << 5 << "aMove" << 24;
    QTest::newRow("stale gap") << 5 << "stale" << 0;
  }
  void noMove()
  {
    QFETCH(int, elements);
    QFETCH(QString, how);
    QFETCH(int, dy);
    Fixture f(elements);
    QApplication::setStartDragDistance(10);
    const QStringList before = f.names();
    const int e = elements > 1 ? 1 : 0;
    Qt::KeyboardModifiers mods;
    if (how == "ctrl")
      mods = Qt::ControlModifier;
    if (how == "shift")
      mods = Qt::ShiftModifier;
    if (how == "menu" || how == "aMove") {
      f.rightClick(f.at(e, dy));
      if (how == "menu") {
        QAction* move = nullptr;
        for (QAction* a : f.list.findChild<QMenu*>()->actions())
          if (a->text() == QStringLiteral("Déplacer"))
            move = a;
        QVERIFY(move);
        move->trigger();
      } else {
        f.list.aMove();
      }
      f.closeMenus();
      f.send(QEvent::MouseButtonRelease, f.at(3, 10));
    } else {
      if (how == "stale") {
        // A drag that ends on its own gap leaves that gap behind; for the
        // element picked next it is a real gap, which "Déplacer" must not take.
        f.send(QEvent::MouseButtonPress, f.at(e));
        f.send(QEvent::MouseMove, f.at(3, 10));
        f.send(QEvent::MouseMove, f.at(e, 10));
        f.send(QEvent::MouseButtonRelease, f.at(e, 10));
        f.rightClick(f.at(3, 23));
        f.list.aMove();
        f.closeMenus();
        f.send(QEvent::MouseButtonRelease, f.at(3, 10));
      } else {
        f.send(QEvent::MouseButtonPress, f.at(e), Qt::LeftButton, mods);
        f.send(QEvent::MouseMove, f.at(e) + QPoint(0, -10), Qt::LeftButton, mods);
        const QPoint target = how == "own" ? f.at(e, 10) : f.at(std::min(3, elements - 1), 10);
        f.send(QEvent::MouseMove, target, Qt::LeftButton, mods);
        f.send(QEvent::MouseButtonRelease, target, Qt::LeftButton, mods);
      }
    }
    QCOMPARE(f.names(), before);
    QCOMPARE(f.steps(), 0);
  }

  void limits_data()
  {
    QTest::addColumn<int>("elements");
    QTest::addColumn<QString>("action");
    QTest::newRow("paste 10 into 250") << 250 << "paste";
    QTest::newRow("add at 255") << 255 << "add";
    QTest::newRow("duplicate at 255") << 255 << "duplicate";
  }
  void limits()
  {
    QFETCH(int, elements);
    QFETCH(QString, action);
    Fixture f(elements);
    PromptRecorder rec;
    if (action == "paste") {
      Fixture source(10);
      source.doc().selectAllElements();
      source.list.aCopier();
      std::swap(f.clip, source.clip);
    }
    f.doc().setSelectedElements({4});
    if (action == "paste")
      f.list.aColler();
    else if (action == "add")
      f.list.aAddElement();
    else
      f.list.aDoubler();
    QCOMPARE(rec.titles(), QStringList{QStringLiteral("Avertissement")});
    QCOMPARE(rec.asked[0].text, QStringLiteral("Impossible de créer plus de 255 éléments !"));
    QCOMPARE(rec.asked[0].icon, int(QMessageBox::Warning));
    QCOMPARE(f.doc().elementCount(), elements);
    QCOMPARE(f.steps(), 0);
  }

  void pasteCopiedElements()
  {
    Fixture f(3);
    f.doc().setSelectedElements({2, 0});
    f.list.aCopier();
    QCOMPARE(int(f.clip->kind()), int(ClipBoard::Elements));
    f.doc().setSelectedElements({0});
    f.list.aColler();
    QCOMPARE(f.names(), (QStringList{"Elément 1", "Elément 1", "Elément 3", "Elément 2", "Elément 3"}));
    QCOMPARE(f.lastLabel(), QStringLiteral("Coller"));
  }

  // A merge the model refuses (cells too far apart for one image) leaves
  // the elements as they were, says why and records no step.
  void refusedMerge()
  {
    PromptRecorder recorder;
    Fixture f(0);
    QVERIFY(f.doc().loadProjectFile(SK_SOURCE_DIR "/tests/model/hostile/merge-offsets-40000-v1.sk"));
    f.list.setCharacterData(&f.doc());
    const int before = f.steps();
    f.doc().setSelectedElements({1});
    f.list.aSorvel();
    f.doc().setSelectedElements({0, 1});
    f.list.aSorvelSelection();
    QCOMPARE(f.doc().elementCount(), 2);
    QCOMPARE(f.steps(), before);
    QCOMPARE(recorder.titles(), (QStringList{"Erreur", "Erreur"}));
    QCOMPARE(recorder.asked[0].text, QString::fromStdString(f.doc().errorMessage()));
  }

  void duplicate()
  {
    Fixture f(3);
    f.doc().setSelectedElements({0});
    f.list.aDoubler();
    QCOMPARE(f.names(), (QStringList{"Elément 1", "Elément 1 copie", "Elément 2", "Elément 3"}));
    QCOMPARE(f.lastLabel(), QStringLiteral("Duplication de l'élément : Elément 1"));
    QCOMPARE(f.doc().selectedElements(), std::vector<int>{0});
    QCOMPARE(int(f.list.thumbnailPixmaps().size()), 4);
  }

  void menu_data()
  {
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("two, one hidden")
        << QList<int>{1, 2} << 2
        << QStringList{"Couper", "Copier", "Désélectionner", "Cacher/Afficher", "Supprimer", "Sorvelner la sélection"};
    QTest::newRow("element 0 alone")
        << QList<int>{} << 0
        << QStringList{"Ajouter un calque de dessin", "Couper", "Copier", "Coller", "Dupliquer", "Déplacer",
                       "Désélectionner", "Cacher", "Supprimer", "Propriétés"};
    QTest::newRow("hidden one")
        << QList<int>{} << 1
        << QStringList{"Ajouter un calque de dessin", "Couper", "Copier", "Coller", "Dupliquer", "Déplacer",
                       "Désélectionner", "Afficher", "Supprimer", "Sorvelner avec l'élément inférieur", "Propriétés"};
  }
  void menu()
  {
    QFETCH(QList<int>, selected);
    QFETCH(int, clicked);
    QFETCH(QStringList, texts);
    Fixture f(3);
    f.doc().setVisible(false, 1);
    f.doc().setSelectedElements(std::vector<int>(selected.begin(), selected.end()));
    f.rightClick(f.at(clicked));
    QMenu* menu = f.list.findChild<QMenu*>();
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("Actions"));
    QCOMPARE(f.menuTexts(), texts);
    for (QAction* a : menu->actions())
      if (a->text() == QStringLiteral("Coller"))
        QVERIFY(!a->isEnabled()); // the clipboard holds no elements
    menu->close();
    QTRY_VERIFY(f.list.findChild<QMenu*>() == nullptr);
  }

  void deleteAndItsSetting()
  {
    Fixture f(4);
    f.list.setFocus();
    {
      PromptRecorder rec;
      rec.buttons = {QMessageBox::Yes};
      DeleteQuestion question;
      question.answer(true);
      f.doc().setSelectedElements({1, 2});
      QTest::keyPress(&f.list, Qt::Key_Delete);
      QCOMPARE(f.doc().elementCount(), 4); // only the release deletes
      QTest::keyRelease(&f.list, Qt::Key_Delete);
      QCOMPARE(rec.titles(), QStringList{QStringLiteral("Suppression")});
      QCOMPARE(rec.asked[0].text, QStringLiteral("<h3>Suppression d'élément(s)</h3>"));
      QCOMPARE(rec.asked[0].icon, int(QMessageBox::Question));
      QVERIFY(question.texts.contains(QStringLiteral("Etes-vous sûr(e) de vouloir supprimer les éléments sélectionnés ?")));
      QVERIFY(question.texts.contains(QStringLiteral("Ne plus afficher ce message")));
      QCOMPARE(f.names(), (QStringList{"Elément 1", "Elément 4"}));
      QCOMPARE(f.lastLabel(), QStringLiteral("Suppression d'un ou plusieurs éléments"));
    }
    bool show = true;
    QVERIFY(IniSettings().getValue("showDeleteElement", show));
    QVERIFY(!show);

    const QByteArray settings = readAll(IniSettings::filePath());
    PromptRecorder rec;
    f.doc().setSelectedElements({0});
    QTest::keyClick(&f.list, Qt::Key_Delete);
    QVERIFY(rec.asked.isEmpty());
    QCOMPARE(f.names(), QStringList{"Elément 4"});
    QCOMPARE(readAll(IniSettings::filePath()), settings);
  }

  void deleteRefused()
  {
    Fixture f(2);
    writeAll("sorvelkit.ini", QByteArray());
    PromptRecorder rec;
    rec.buttons = {QMessageBox::No};
    f.doc().setSelectedElements({0});
    f.list.aSupprimer();
    QCOMPARE(rec.asked.size(), 1);
    QCOMPARE(f.doc().elementCount(), 2);
    QCOMPARE(readAll(IniSettings::filePath()), QByteArray()); // an unticked "No" stores nothing
  }

  void properties()
  {
    Fixture f(2);
    f.send(QEvent::MouseButtonPress, f.at(1));
    f.send(QEvent::MouseButtonRelease, f.at(1));
    f.send(QEvent::MouseButtonDblClick, f.at(1));
    QDialog* dialog = f.list.findChild<QDialog*>();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Propriétés de l'élément"));
    QStringList labels;
    for (QLabel* l : dialog->findChildren<QLabel*>())
      labels << l->text();
    QVERIFY(labels.contains(QStringLiteral("Nom")));
    QCOMPARE(dialog->findChild<QCheckBox*>()->text(), QStringLiteral("Cacher l'élément"));
    QPushButton* validate = nullptr;
    QStringList buttons;
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
      buttons << b->text();
      if (b->text() == QStringLiteral("Valider"))
        validate = b;
    }
    QCOMPARE(buttons, (QStringList{"Valider", "Annuler"}));
    QLineEdit* name = dialog->findChild<QLineEdit*>();
    QCOMPARE(name->text(), QStringLiteral("Elément 2"));
    name->setText(QString());
    QVERIFY(!validate->isEnabled());
    name->setText(QStringLiteral("Épée œ"));
    QVERIFY(validate->isEnabled());
    dialog->findChild<QCheckBox*>()->setChecked(true);
    validate->click();
    QCOMPARE(f.doc().name(1), std::string("\xc3\x89p\xc3\xa9" "e \xc5\x93"));
    QVERIFY(!f.doc().isVisible(1));
    QCOMPARE(f.lastLabel(), QStringLiteral("Changement de propriété"));
    QTRY_VERIFY(f.list.findChild<QDialog*>() == nullptr);
  }

  // Drawn with a real X server too (QT_QPA_PLATFORM=xcb xvfb-run -a): the
  // grab is left beside the test program to be looked at.
  void picture()
  {
    Fixture f(12);
    for (int e = 0; e < 12; ++e)
      for (int c = 0; c < 16; ++c)
        f.doc().setImage(filled(QSize(32, 48), qRgb(20 * e, 120, 255 - 20 * e)), e, c);
    f.list.updateLayout();
    f.list.setNbreVertical(std::min(9, f.list.rowCount()));
    f.doc().setSelectedElements({0, 2});
    f.doc().setVisible(false, 1);
    const QImage shot = grabList(f.list);
    shot.save(QCoreApplication::applicationDirPath() + "/qlayerlist.png");
    QVERIFY(pixelsOf(shot, kBand, QRect(0, 0, 150, shot.height())) > 2 * 150 * 10);
    QVERIFY(pixelsOf(shot, QColor(166, 166, 246), f.list.thumbRect()) > 0);
  }

  // A Ctrl released while a dialog had the focus: a plain "a" is no Ctrl+A.
  void plainKeyAfterASwallowedCtrl()
  {
    Fixture f(3);
    QTest::keyPress(&f.list, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(&f.list, Qt::Key_A);
    QVERIFY(f.doc().selectedElements().empty());
  }
};

SK_TEST_MAIN(TestQLayerList)
#include "test_qlayerlist.moc"
