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

QString stopsText(const std::vector<GradientData>& stops)
{
  QStringList s;
  for (const GradientData& d : stops)
    s << QString::number(d.position) + d.color.name(QColor::HexArgb);
  return s.join(',');
}

QString text(const GradientSettings& g)
{
  QStringList s{QString::number(g.type), QString::number(g.spread), stopsText(g.stops)};
  for (double v : g.geometry)
    s << QString::number(v * 199);
  return s.join(' ');
}

// Everything a load may change: combos, legend, view points and stops, stop bar.
QString state(QGradientEditor& e)
{
  auto* render = child<QGradientRender>(e);
  QStringList s{QString::number(child<QComboBox>(e, "typeBox")->currentIndex()),
                QString::number(child<QComboBox>(e, "spreadBox")->currentIndex()),
                child<QLabel>(e, "startLabel")->text(), child<QLabel>(e, "endLabel")->text(),
                QString::number(child<QLabel>(e, "focalLabel")->isEnabled()),
                stopsText(child<QGradientCreator>(e)->gradientData())};
  for (const QGradientStop& stop : render->radialGradient().stops())
    s << QString::number(stop.first) + stop.second.name(QColor::HexArgb);
  for (int v : render->pixelPoints())
    s << QString::number(v);
  return s.join(' ');
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

    child<QComboBox>(linear, "typeBox")->setCurrentIndex(1);
    QTest::mouseClick(child<QGradientCreator>(linear), Qt::LeftButton, {}, QPoint(205, 65));
    QVERIFY(linear.writeGradientFile("r.skd"));
    QCOMPARE(readAll("r.skd").size(), 47);
    QCOMPARE(readAll("r.skd").mid(5, 6).toHex(' '), QByteArray("64 64 64 00 64 32"));
  }

  void load_data()
  {
    QTest::addColumn<QByteArray>("bytes"); // empty: no file
    QTest::addColumn<QString>("message");  // empty: loaded
    const QByteArray file = QByteArray::fromHex("0001000101" "0a0a141e283c" "000000000000d03f11223344");
    // The file is "<b>R&D.skd", quoted escaped in the rich text of the messages.
    const QString damaged = "&lt;b&gt;R&amp;D.skd est endommagé.<br />Il est impossible de l'ouvrir.";
    const auto patched = [&](int at, const char* hex) {
      return QByteArray(file).replace(at, int(qstrlen(hex)) / 2, QByteArray::fromHex(hex));
    };
    const QString newer = "&lt;b&gt;R&amp;D.skd a été enregistré avec une version de Sorvel Kit plus récente.";
    QTest::newRow("newer") << patched(0, "01") << newer;
    QTest::newRow("cut in points") << file.left(9) << damaged;
    QTest::newRow("cut in stops") << file.left(20) << damaged;
    QTest::newRow("count ffff") << patched(1, "ffff") << damaged;
    QTest::newRow("type 3") << patched(3, "03") << damaged;
    QTest::newRow("spread 3") << patched(4, "03") << damaged;
    QTest::newRow("nan") << patched(11, "000000000000f87f") << damaged;
    QTest::newRow("missing") << QByteArray() << "Impossible d'ouvrir : &lt;b&gt;R&amp;D.skd";
    QTest::newRow("pipe") << QByteArray("pipe") << "Impossible d'ouvrir : &lt;b&gt;R&amp;D.skd";
    QTest::newRow("no stops") << QByteArray::fromHex("0000000200" "0a0a141e") << QString();
  }

  // A refused file changes nothing in the editor.
  void load()
  {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString name = "<b>R&D.skd";
    QFile::remove(name);
    if (bytes == "pipe")
      QVERIFY(makePipe(name));
    else if (!bytes.isEmpty())
      writeAll(name, bytes);
    GradientSettings g = defaultGradientSettings();
    QGradientEditor editor(&g, Qt::black);
    const QString before = state(editor);
    PromptRecorder rec;
    rec.files = {name};
    editor.load();
    QCOMPARE(setting("degrade"), name);
    QCOMPARE(rec.asked.last().title + ": " + rec.asked.last().text,
             message.isEmpty() ? "Ouvrir un dégradé: degrade/" : "Erreur: " + message);
    QCOMPARE(state(editor), message.isEmpty() ? "2 0 Centre Angle 0  0#ff000000 1#ffffffff 10 10 20 30" : before);
  }

  // Only "Valider" writes the caller's record; a null flag is never written.
  void editing()
  {
    PromptRecorder rec;
    prompts().gradient = nullptr;
    GradientSettings g = defaultGradientSettings();
    g.stops = {{0.0, Qt::black}, {0.337, Qt::red}, {1.0, Qt::white}};
    const GradientSettings saved = g;
    for (int i = 0; i < 2; ++i)
      rec.dialogs.push_back([](QDialog& d) {
        child<QComboBox>(d, "typeBox")->setCurrentIndex(0);
        child<QGradientCreator>(d)->destroyAll();
        return int(QDialog::Rejected);
      });
    bool ok = true;
    QGradientEditor::getGradient(&g, &ok, Qt::black, "Editeur", nullptr);
    QGradientEditor::getGradient(&g, nullptr, Qt::black, "Editeur", nullptr);
    QVERIFY(!ok && text(g) == text(saved) && g.geometry == saved.geometry);
    QCOMPARE(rec.titles(), (QStringList{"Editeur", "Editeur"}));

    QGradientEditor editor(&g, Qt::black);
    auto* creator = child<QGradientCreator>(editor);
    auto* position = child<QSpinBox>(editor, "positionBox");
    QVERIFY(!position->isEnabled() && !child<QLabel>(editor, "colorLabel")->isEnabled());
    QTest::mouseClick(creator, Qt::LeftButton, {}, QPoint(139, 65));
    QVERIFY(position->value() == 33 && creator->gradientData()[1].position == 0.337);
    position->setValue(50);
    QCOMPARE(creator->gradientData()[1].position, 0.5);

    // A stop beyond the bar's end shows 100 without swallowing the next edit.
    QTest::mouseClick(creator, Qt::LeftButton, {}, QPoint(405, 65));
    QCOMPARE(position->value(), 100);
    creator->setGradientData({1.5, Qt::white});
    editor.updateOption({1.5, Qt::white});
    position->setValue(40);
    QCOMPARE(creator->gradientData()[2].position, 0.4);

    child<QComboBox>(editor, "typeBox")->setCurrentIndex(2);
    QVERIFY(!child<QComboBox>(editor, "spreadBox")->isEnabled());
    child<QGradientRender>(editor)->setPixelPoints({199, 0, 10, 20});
    for (QPushButton* b : editor.findChildren<QPushButton*>())
      if (b->text() == "Valider")
        b->click();
    QCOMPARE(text(g), QString("2 0 0#ff000000,0.5#ffff0000,0.4#ffffffff 199 0 10 20"));
    QGradientEditor again(&g, Qt::black);
    QCOMPARE(child<QGradientRender>(again)->pixelPoints()[0], 200);
  }

  void filesAndSettings()
  {
    QDir().mkpath("d");
    writeAll("d/old.skd", "old");
    GradientSettings g = defaultGradientSettings();
    g.stops.resize(20, g.stops[0]); // 249 bytes, beyond the limit, while the settings fit
    QGradientEditor editor(&g, Qt::black);
    PromptRecorder rec;
    rec.files = {"d/old.skd", "d/x?.skd", "d/old.skd"};
    withFileSizeLimit(200, [&] { editor.save(); });
    QCOMPARE(readAll("d/old.skd"), QByteArray("old"));
    QCOMPARE(setting("pathSaveDegrade") + " " + setting("degrade"), QString("d d/old.skd"));
    editor.load();
    QCOMPARE(setting("pathLoadDegrade") + " " + setting("degrade"), QString(" d/old.skd"));
    editor.load(); // refused, yet remembered
    editor.load(); // cancelled, in the remembered folder

    QStringList asked;
    for (const PromptRecorder::Asked& a : rec.asked)
      asked << a.kind + " " + a.title + " " + a.text + " " + a.filter;
    const QString filter = "Dégradé Sorvel Kit (*.skd)";
    QCOMPARE(asked, (QStringList{"save Sauvegarder une palette degrade/ " + filter,
                                 "message Erreur Impossible de sauvegarder le dégradé. ",
                                 "open Ouvrir un dégradé degrade/ " + filter,
                                 "message Erreur Impossible d'ouvrir : d/x?.skd ",
                                 "open Ouvrir un dégradé degrade/ " + filter,
                                 "message Erreur d/old.skd a été enregistré avec une version de Sorvel Kit "
                                 "plus récente. ",
                                 "open Ouvrir un dégradé d " + filter}));
  }
};

SK_TEST_MAIN(TestGradientEditor)
#include "test_gradienteditor.moc"
