#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "colour/QGradientCreator.h"
#include "colour/QGradientEditor.h"
#include "colour/QGradientRender.h"
#include "core/GradientSettings.h"
#include "core/IniSettings.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSpinBox>

namespace {

template <class W>
W* child(QWidget& w, const char* name = nullptr)
{
  W* found = name ? w.findChild<W*>(QString::fromLatin1(name)) : w.findChild<W*>();
  if (!found)
    qFatal("no child %s", name ? name : "");
  return found;
}

QString setting(const char* key)
{
  QString value;
  IniSettings().getValue(key, value);
  return value;
}

QString stopsText(const QGradientStops& stops)
{
  QStringList s;
  for (const QGradientStop& stop : stops)
    s << QString::number(stop.first) + stop.second.name(QColor::HexArgb);
  return s.join(',');
}

// Everything a load may change: combos, legend, view points and stops, stop bar.
QString state(QGradientEditor& e)
{
  auto* render = child<QGradientRender>(e);
  QStringList s{QString::number(child<QComboBox>(e, "typeBox")->currentIndex()),
                QString::number(child<QComboBox>(e, "spreadBox")->currentIndex()),
                child<QLabel>(e, "startLabel")->text(), child<QLabel>(e, "endLabel")->text(),
                QString::number(child<QLabel>(e, "focalLabel")->isEnabled()), stopsText(render->radialGradient().stops())};
  for (int v : render->pixelPoints())
    s << QString::number(v);
  for (const GradientData& d : child<QGradientCreator>(e)->gradientData())
    s << QString::number(d.position) + d.color.name(QColor::HexArgb);
  return s.join(' ');
}

GradientSettings radialRecord()
{
  GradientSettings g;
  g.type = 1;
  g.spread = 2;
  g.stops = {{0.0, Qt::red}, {0.5, Qt::green}, {1.0, Qt::blue}};
  g.geometry = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
  return g;
}

void pressButton(QWidget& dialog, const QString& text)
{
  for (QPushButton* b : dialog.findChildren<QPushButton*>())
    if (b->text() == text)
      return b->click();
  qFatal("no button");
}

} // namespace

class TestGradientEditor : public QObject
{
  Q_OBJECT

private slots:
  void init() { writeAll("sorvelkit.ini", QByteArray()); }

  void writtenBytes()
  {
    GradientSettings empty;
    QGradientEditor linear(&empty, Qt::black);
    QVERIFY(linear.writeGradientFile("l.skd"));
    QCOMPARE(readAll("l.skd").toHex(' '), QByteArray("00 02 00 00 00 00 64 c8 64 00 00 00 00 00 00 00 00 00 00 00 ff "
                                                     "00 00 00 00 00 00 f0 3f ff ff ff ff"));
    child<QGradientRender>(linear)->setPixelPoints({300, 100, -5, 100});
    QVERIFY(linear.writeGradientFile("l.skd"));
    QCOMPARE(readAll("l.skd").mid(5, 4).toHex(' '), QByteArray("ff 64 00 64"));

    QGradientEditor radial(&empty, Qt::black);
    child<QComboBox>(radial, "typeBox")->setCurrentIndex(1);
    QTest::mouseClick(child<QGradientCreator>(radial), Qt::LeftButton, {}, QPoint(205, 65));
    QVERIFY(radial.writeGradientFile("r.skd"));
    const QByteArray bytes = readAll("r.skd");
    QCOMPARE(bytes.size(), 47);
    QCOMPARE(bytes.mid(5, 6).toHex(' '), QByteArray("64 64 64 00 64 32"));
  }

  void load_data()
  {
    QTest::addColumn<QByteArray>("bytes"); // empty: no file
    QTest::addColumn<QString>("message");  // empty: loaded
    const QByteArray file = QByteArray::fromHex("0001000100" "0a0a141e283c" "000000000000d03f11223344");
    const QString damaged = "g.skd est endommagé.<br />Il est impossible de l'ouvrir.";
    QByteArray nan = file, type3 = file, spread3 = file, negative = file;
    nan.replace(11, 8, QByteArray::fromHex("000000000000f87f"));
    type3[3] = 3;
    spread3[4] = 3;
    negative.replace(1, 2, "\xff\xff");
    QTest::newRow("newer") << QByteArray("\x01" + file.mid(1))
                           << "g.skd a été enregistré avec une version de Sorvel Kit plus récente.";
    QTest::newRow("cut in points") << file.left(9) << damaged;
    QTest::newRow("cut in stops") << file.left(20) << damaged;
    QTest::newRow("count ffff") << negative << damaged;
    QTest::newRow("type 3") << type3 << damaged;
    QTest::newRow("spread 3") << spread3 << damaged;
    QTest::newRow("nan") << nan << damaged;
    QTest::newRow("missing") << QByteArray() << "Impossible d'ouvrir : g.skd";
    QTest::newRow("no stops") << QByteArray::fromHex("0000000200" "0a0a141e") << QString();
  }

  void load()
  {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFile::remove("g.skd");
    if (!bytes.isEmpty())
      writeAll("g.skd", bytes);
    GradientSettings g = radialRecord();
    QGradientEditor editor(&g, Qt::black);
    const QString before = state(editor);
    PromptRecorder rec;
    rec.files = {"g.skd"};
    editor.load();
    QCOMPARE(setting("degrade"), QString("g.skd"));
    if (message.isEmpty()) {
      QVERIFY(rec.kinds() == QStringList{"open"});
      QVERIFY(child<QGradientCreator>(editor)->gradientData().empty());
      QCOMPARE(state(editor), QString("2 0 Centre Angle 0 0#ff000000,1#ffffffff 10 10 20 30"));
      return;
    }
    QCOMPARE(rec.asked.last().title, QString("Erreur"));
    QCOMPARE(rec.asked.last().text, message);
    QCOMPARE(state(editor), before);
  }

  void editing()
  {
    GradientSettings g = radialRecord();
    g.stops = {{0.0, Qt::black}, {0.337, Qt::red}, {1.0, Qt::white}};
    QGradientEditor editor(&g, Qt::black);
    auto* creator = child<QGradientCreator>(editor);
    auto* position = child<QSpinBox>(editor, "positionBox");
    QVERIFY(!position->isEnabled() && !child<QLabel>(editor, "colorLabel")->isEnabled());
    QTest::mouseClick(creator, Qt::LeftButton, {}, QPoint(139, 65));
    QCOMPARE(position->value(), 33);
    QCOMPARE(creator->gradientData()[1].position, 0.337);
    position->setValue(50);
    QCOMPARE(creator->gradientData()[1].position, 0.5);

    // A stop beyond the bar's end shows 100 without swallowing the next edit.
    QTest::mouseClick(creator, Qt::LeftButton, {}, QPoint(405, 65));
    QCOMPARE(position->value(), 100);
    creator->setGradientData({1.5, Qt::white});
    editor.updateOption({1.5, Qt::white});
    position->setValue(40);
    QCOMPARE(creator->gradientData()[2].position, 0.4);

    auto* spread = child<QComboBox>(editor, "spreadBox");
    child<QComboBox>(editor, "typeBox")->setCurrentIndex(2);
    QVERIFY(!spread->isEnabled());
    QCOMPARE(spread->currentIndex(), 2);
    pressButton(editor, "Valider");
    QCOMPARE(int(g.type), 2);
    QCOMPARE(int(g.spread), 2);
  }

  void getGradient()
  {
    PromptRecorder rec;
    prompts().gradient = nullptr;
    GradientSettings g = radialRecord();
    rec.dialogs.push_back([](QDialog& d) {
      child<QComboBox>(d, "typeBox")->setCurrentIndex(0);
      child<QGradientCreator>(d)->destroyAll();
      return int(QDialog::Rejected);
    });
    bool ok = true;
    QGradientEditor::getGradient(&g, &ok, Qt::black, "Editeur", nullptr);
    QVERIFY(!ok);
    QGradientEditor::getGradient(&g, nullptr, Qt::black, "Editeur", nullptr);
    const GradientSettings same = radialRecord();
    QCOMPARE(g.geometry, same.geometry);
    QCOMPARE(int(g.type), 1);
    QCOMPARE(int(g.spread), 2);
    QCOMPARE(g.stops.size(), std::size_t(3));

    rec.dialogs.push_back([](QDialog& d) {
      child<QGradientRender>(d)->setPixelPoints({199, 0, 10, 20, 30, 40});
      child<QComboBox>(d, "spreadBox")->setCurrentIndex(1);
      child<QGradientCreator>(d)->setGradient({{0.25, Qt::cyan}});
      pressButton(d, "Valider");
      return d.result();
    });
    QGradientEditor::getGradient(&g, &ok, Qt::black, "Editeur", nullptr);
    QVERIFY(ok);
    QCOMPARE(rec.titles(), (QStringList{"Editeur", "Editeur", "Editeur"}));
    QCOMPARE(g.geometry, (std::vector<double>{1.0, 0.0, 10 / 199.0, 20 / 199.0, 30 / 199.0, 40 / 199.0}));
    QCOMPARE(int(g.type), 1);
    QCOMPARE(int(g.spread), 1);
    QCOMPARE(g.stops.size(), std::size_t(1));
    QCOMPARE(g.stops[0].color, QColor(Qt::cyan));
    QGradientEditor again(&g, Qt::black);
    QCOMPARE(child<QGradientRender>(again)->pixelPoints()[0], 200);
  }

  void filesAndSettings()
  {
    QDir().mkpath("d");
    writeAll("d/old.skd", "old");
    GradientSettings g = radialRecord();
    g.stops.resize(20, g.stops[0]); // 251 bytes, beyond the limit, while the settings fit
    QGradientEditor editor(&g, Qt::black);
    PromptRecorder rec;
    rec.files = {"d/old.skd", "d/x?.skd", "d/x?.skd", "d/old.skd"};
    withFileSizeLimit(200, [&] { editor.save(); });
    QCOMPARE(readAll("d/old.skd"), QByteArray("old"));
    QCOMPARE(setting("pathSaveDegrade"), QString("d"));
    QCOMPARE(setting("degrade"), QString("d/old.skd"));
    editor.save();
    QCOMPARE(readAll("d/x?.skd").size(), 251);
    editor.load();
    QCOMPARE(setting("pathLoadDegrade"), QString());
    QCOMPARE(setting("degrade"), QString("d/old.skd"));
    editor.load(); // damaged, yet remembered
    QCOMPARE(setting("pathLoadDegrade"), QString("d"));
    editor.load(); // cancelled

    QCOMPARE(rec.kinds(), (QStringList{"save", "message", "save", "open", "open", "message", "open"}));
    QCOMPARE(rec.asked[0].title, QString("Sauvegarder une palette"));
    QCOMPARE(rec.asked[0].text, QString("degrade/"));
    QCOMPARE(rec.asked[0].filter, QString("Dégradé Sorvel Kit (*.skd)"));
    QCOMPARE(rec.asked[1].title + rec.asked[1].text, QString("ErreurImpossible de sauvegarder le dégradé."));
    QCOMPARE(rec.asked[2].text, QString("d"));
    QCOMPARE(rec.asked[3].title, QString("Ouvrir un dégradé"));
    QCOMPARE(rec.asked[3].text, QString("degrade/"));
    QCOMPARE(rec.asked[3].filter, QString("Dégradé Sorvel Kit (*.skd)"));
    QCOMPARE(rec.asked[6].text, QString("d"));
  }
};

SK_TEST_MAIN(TestGradientEditor)
#include "test_gradienteditor.moc"
