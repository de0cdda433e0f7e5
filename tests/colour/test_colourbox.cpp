#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"
#include "tests/colour/GrabPath.h"

#include "colour/QColorBox.h"
#include "colour/QColorPalette.h"
#include "colour/QColorSlide.h"
#include "core/IniSettings.h"

#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QMainWindow>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "widgets/QLabelClickable.h"

namespace {

QString setting(const char* key)
{
  QString value;
  IniSettings settings;
  settings.getValue(key, value);
  return value;
}

template <class W>
W* child(QWidget& box, const char* name)
{
  W* w = box.findChild<W*>(QString::fromLatin1(name));
  if (!w)
    qFatal("no child %s", name);
  return w;
}

int spin(QWidget& box, const char* name)
{
  return child<QSpinBox>(box, name)->value();
}

QString hexText(QWidget& box)
{
  return child<QLineEdit>(box, "hexEdit")->text();
}

QPushButton* button(QWidget& box, const QString& text)
{
  for (QPushButton* b : box.findChildren<QPushButton*>())
    if (b->text() == text)
      return b;
  qFatal("no button");
  return nullptr;
}

} // namespace

class TestColourBox : public QObject
{
  Q_OBJECT

private slots:
  void init() { writeAll("sorvelkit.ini", QByteArray()); }
  void hexField_data();
  void hexField();
  void setColorForms();
  void invert();
  void currentColourAndAlpha();
  void getColor();
  void escapeInDock();
  void loadPalette_data();
  void loadPalette();
  void grabs();
};

void TestColourBox::hexField_data()
{
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QColor>("rgb");
  const QColor start(1, 2, 3);
  QTest::newRow("ff8000") << "ff8000" << QColor(255, 128, 0);
  QTest::newRow("7") << "7" << QColor(0, 0, 7);
  QTest::newRow("abc") << "abc" << QColor(0, 10, 188);
  QTest::newRow("f-f") << "f-f" << QColor(0, 0, 255);
  QTest::newRow("zz") << "zz" << start;
}

void TestColourBox::hexField()
{
  QFETCH(QString, typed);
  QFETCH(QColor, rgb);
  QColor primary(1, 2, 3, 77), secondary(Qt::white);
  QColorBox box(&primary, &secondary, true, nullptr);
  QLineEdit* hex = child<QLineEdit>(box, "hexEdit");
  QCOMPARE(hex->text(), QStringLiteral("010203"));
  hex->selectAll();
  QTest::keyClicks(hex, typed);
  QCOMPARE(primary, QColor(rgb.red(), rgb.green(), rgb.blue(), 77));
  QCOMPARE(spin(box, "redSpin"), rgb.red());
  QCOMPARE(spin(box, "greenSpin"), rgb.green());
  QCOMPARE(spin(box, "blueSpin"), rgb.blue());
  QCOMPARE(spin(box, "alphaSpin"), 77);
  QCOMPARE(hex->text(), typed);
  QCOMPARE(secondary, QColor(Qt::white));
}

void TestColourBox::setColorForms()
{
  QColor primary(Qt::black), secondary(Qt::white);
  QColorBox box(&primary, &secondary, true, nullptr);
  box.setColor(QColor(10, 20, 30, 128));
  QCOMPARE(primary, QColor(10, 20, 30, 128));
  QCOMPARE(spin(box, "alphaSpin"), 128);
  QCOMPARE(hexText(box), QStringLiteral("0a141e"));

  box.setColor(QColor(200, 100, 50, 40), 3);
  QCOMPARE(secondary, QColor(200, 100, 50, 40));
  QCOMPARE(primary, QColor(10, 20, 30, 128));
  QCOMPARE(spin(box, "redSpin"), 10);

  box.setColor(QColor(90, 91, 92, 93), 2);
  QCOMPARE(primary, QColor(90, 91, 92, 93));
  QCOMPARE(spin(box, "redSpin"), 90);
  QCOMPARE(spin(box, "alphaSpin"), 93);

  // Any other value names the primary and repaints only its swatch.
  child<QComboBox>(box, "colorChoice")->setCurrentIndex(1);
  box.setColor(QColor(5, 6, 7), 9);
  QCOMPARE(primary, QColor(5, 6, 7));
  QCOMPARE(spin(box, "redSpin"), 200);
  QCOMPARE(box.currentColor(), QColor(200, 100, 50, 40));
  QCOMPARE(box.otherColor(), QColor(5, 6, 7));
}

void TestColourBox::invert()
{
  QColor primary(255, 0, 0, 100), secondary(0, 0, 255, 200);
  QColorBox box(&primary, &secondary, true, nullptr);
  QTest::mousePress(child<QLabelClickable>(box, "invertLabel"), Qt::LeftButton);
  QCOMPARE(primary, QColor(0, 0, 255, 200));
  QCOMPARE(secondary, QColor(255, 0, 0, 100));
  QCOMPARE(spin(box, "alphaSpin"), 200);
  QCOMPARE(hexText(box), QStringLiteral("0000ff"));

  // The same with the secondary current.
  QTest::mousePress(child<QWidget>(box, "secondaryBox"), Qt::RightButton);
  QCOMPARE(child<QComboBox>(box, "colorChoice")->currentIndex(), 1);
  QCOMPARE(spin(box, "alphaSpin"), 100);
  box.invertColor();
  QCOMPARE(primary, QColor(255, 0, 0, 100));
  QCOMPARE(secondary, QColor(0, 0, 255, 200));
  QCOMPARE(spin(box, "alphaSpin"), 200);
  QCOMPARE(hexText(box), QStringLiteral("0000ff"));
}

void TestColourBox::currentColourAndAlpha()
{
  QColor primary(10, 20, 30, 40), secondary(50, 60, 70, 80);
  {
    QColorBox box(&primary, &secondary, true, nullptr);
    QTest::mousePress(child<QWidget>(box, "secondaryBox"), Qt::LeftButton);
    child<QSpinBox>(box, "redSpin")->setValue(77);
    QCOMPARE(secondary, QColor(77, 60, 70, 80));
    QCOMPARE(primary, QColor(10, 20, 30, 40));
    QTest::mousePress(child<QWidget>(box, "primaryBox"), Qt::LeftButton);
    QCOMPARE(spin(box, "redSpin"), 10);

    // Column 0, row 4 of the dock palette: black with alpha 128.
    QTest::mousePress(child<QColorPalette>(box, "palette"), Qt::LeftButton, {}, QPoint(5, 45));
    QCOMPARE(primary, QColor(0, 0, 0, 128));
    QCOMPARE(spin(box, "alphaSpin"), 128);
    QCOMPARE(child<QColorSlide>(box, "alphaSlide")->value(), 128 / 255.0);

    // Adding to the palette: the current colour lands in the cell, then the
    // button springs back.
    QPushButton* add = child<QPushButton>(box, "addButton");
    add->setChecked(true);
    QTest::mousePress(child<QColorPalette>(box, "palette"), Qt::LeftButton, {}, QPoint(195, 5));
    QCOMPARE(child<QColorPalette>(box, "palette")->colors()[114], QColor(0, 0, 0, 128));
    QVERIFY(!add->isChecked());
  }
  {
    QColor clear(10, 20, 30, 40), other(Qt::white);
    QColorBox box(&clear, &other, false, nullptr);
    QCOMPARE(box.currentColor(), QColor(10, 20, 30));
    QCOMPARE(clear.alpha(), 40);
  }
  {
    QColor grey(128, 128, 128), other(Qt::white);
    QColorBox box(&grey, &other, true, nullptr);
    QCOMPARE(spin(box, "hueSpin"), 0);
  }
}

void TestColourBox::getColor()
{
  PromptRecorder rec;
  QColor colour(1, 2, 3, 4);
  bool ok = false;
  rec.colors = {[](QColor& c, bool) {
    c = QColor(9, 8, 7, 6);
    return true;
  }};
  QColorBox::getColor(colour, &ok, true, "Choisir une couleur", nullptr);
  QVERIFY(ok);
  QCOMPARE(colour, QColor(9, 8, 7, 6));
  QCOMPARE(rec.asked.last().kind, QStringLiteral("color"));
  QCOMPARE(rec.asked.last().title, QStringLiteral("Choisir une couleur"));
  QCOMPARE(rec.asked.last().alpha, true);

  QColorBox::getColor(colour, &ok, false, "Choisir une couleur", nullptr); // cancelled
  QVERIFY(!ok);
  QCOMPARE(colour, QColor(9, 8, 7));
  QCOMPARE(rec.asked.last().alpha, false);

  // The dialog form itself, when no colour entry stands in for it.
  prompts().color = nullptr;
  QColor edited(100, 0, 0, 50);
  QSize size, hint, paletteSize;
  bool alphaOn = true;
  rec.dialogs = {[&](QDialog& d) {
                   size = d.size();
                   hint = d.sizeHint();
                   paletteSize = d.findChild<QColorPalette*>()->size();
                   alphaOn = d.findChild<QSpinBox*>("alphaSpin")->isEnabled();
                   d.findChild<QSpinBox*>("greenSpin")->setValue(60);
                   button(d, "Valider")->click();
                   return d.result();
                 },
                 [](QDialog& d) {
                   button(d, "Annuler")->click();
                   return d.result();
                 }};
  ok = false;
  QColorBox::getColor(edited, &ok, false, "Choisir une couleur", nullptr);
  QVERIFY(ok);
  QCOMPARE(edited, QColor(100, 60, 0));
  QCOMPARE(size, hint);
  QCOMPARE(paletteSize, QSize(396, 72));
  QVERIFY(!alphaOn);
  QCOMPARE(rec.asked.last().title, QStringLiteral("Choisir une couleur"));
  QColorBox::getColor(edited, nullptr, true, "Choisir une couleur", nullptr); // a null ok is left alone
  ok = true;
  QColorBox::getColor(edited, &ok, true, "Choisir une couleur", nullptr); // no answer left: rejected
  QVERIFY(!ok);
}

void TestColourBox::escapeInDock()
{
  QColor primary(Qt::black), secondary(Qt::white);
  QMainWindow window;
  auto* dock = new QDockWidget(QStringLiteral("Couleurs"), &window);
  auto* box = new QColorBox(&primary, &secondary, true, &window);
  dock->setWidget(box);
  window.addDockWidget(Qt::RightDockWidgetArea, dock);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QLineEdit* hex = child<QLineEdit>(*box, "hexEdit");
  QVERIFY(box->isVisible());
  hex->setFocus();
  QTest::keyClick(hex, Qt::Key_Escape);
  QVERIFY(box->isVisible());
}

void TestColourBox::loadPalette_data()
{
  QTest::addColumn<QString>("answer"); // %1: the current folder
  QTest::addColumn<bool>("stored");
  QTest::addColumn<QString>("error");
  QTest::newRow("damaged") << "%1/pal/bad.skp" << true << "%1/pal/bad.skp est endommagé.<br />Il est impossible de l'ouvrir.";
  QTest::newRow("good") << "%1/pal/good.skp" << true << "";
  QTest::newRow("question mark") << "%1/pal/good.skp?" << false << "Impossible d'ouvrir : %1/pal/good.skp?";
  QTest::newRow("cancelled") << "" << false << "";
}

void TestColourBox::loadPalette()
{
  QFETCH(QString, answer);
  QFETCH(bool, stored);
  QFETCH(QString, error);
  const QString here = QDir::currentPath();
  QDir().mkpath("pal");
  writeAll("pal/bad.skp", QByteArray("\0\x78\0\x01\x02", 5));
  writeAll("pal/good.skp", QByteArray("\0\x01\0\x0b\x0c\x0d\x0e", 7));
  PromptRecorder rec;
  QColor primary(Qt::black), secondary(Qt::white);
  QColorBox box(&primary, &secondary, true, nullptr);
  const QString chosen = answer.isEmpty() ? answer : answer.arg(here);
  rec.files = {chosen};
  for (QAction* a : box.findChildren<QAction*>())
    if (a->text() == QStringLiteral("Ouvrir une palette"))
      a->trigger();
  QCOMPARE(rec.asked[0].kind, QStringLiteral("open"));
  QCOMPARE(rec.asked[0].title, QStringLiteral("Ouvrir une palette"));
  QCOMPARE(rec.asked[0].text, QStringLiteral("palette/"));
  QCOMPARE(rec.asked[0].filter, QStringLiteral("Palette Sorvel Kit (*.skp)"));
  QCOMPARE(setting("palette"), stored ? chosen : QString());
  QCOMPARE(setting("pathLoadPalette"), stored ? here + "/pal" : QString());
  if (error.isEmpty()) {
    QCOMPARE(rec.asked.size(), 1);
  } else {
    QCOMPARE(rec.asked.size(), 2);
    QCOMPARE(rec.asked[1].title, QStringLiteral("Erreur"));
    QCOMPARE(rec.asked[1].icon, int(QMessageBox::Warning));
    QCOMPARE(rec.asked[1].text, error.arg(here));
  }
  const QColor first = child<QColorPalette>(box, "palette")->colors()[0];
  QCOMPARE(first, answer.contains("good.skp") && !answer.contains('?') ? QColor(11, 12, 13, 14) : QColor(0, 0, 0));
}

void TestColourBox::grabs()
{
  QColor primary(200, 60, 20, 140), secondary(30, 90, 220);
  QColorBox dock(&primary, &secondary, true, nullptr);
  dock.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dock));
  QVERIFY(dock.grab().save(grabPath("colourbox-dock")));
  QVERIFY(child<QWidget>(dock, "invertLabel")->isVisible());
  QCOMPARE(child<QColorPalette>(dock, "palette")->size(), QSize(200, 60));

  PromptRecorder rec;
  prompts().color = nullptr;
  rec.dialogs = {[](QDialog& d) {
    d.show();
    if (!QTest::qWaitForWindowExposed(&d))
      return 0;
    d.grab().save(grabPath("colourbox-dialog"));
    return 0;
  }};
  QColor edited(40, 160, 90, 200);
  bool ok = true;
  QColorBox::getColor(edited, &ok, true, "Choisir une couleur", nullptr);
  QVERIFY(!ok);
  QVERIFY(QFile::exists(grabPath("colourbox-dialog")));
}

SK_TEST_MAIN(TestColourBox)
#include "test_colourbox.moc"
