// Composing an element file in the library: the status rules, the save and
// what it writes, removal and browsing.
#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "canvas/QLayerListELSK.h"
#include "core/IniSettings.h"
#include "library/LibraryDirModel.h"
#include "library/QELSKCreator.h"
#include "model/ElementFile.h"
#include "widgets/QListViewKey.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <unistd.h>

namespace {

QString makeImage(const QString& name, QRgb colour)
{
  QImage image(8, 8, QImage::Format_ARGB32);
  image.fill(colour);
  image.save(name, "PNG");
  return name;
}

QPushButton* button(QWidget* w, const QString& text)
{
  for (QPushButton* b : w->findChildren<QPushButton*>())
    if (b->text() == text)
      return b;
  return nullptr;
}
void press(QWidget* w, const QString& text) { QTest::mouseClick(button(w, text), Qt::LeftButton); }

QString status(QWidget* w)
{
  for (QLabel* l : w->findChildren<QLabel*>())
    if (l->text().startsWith("<font"))
      return l->text();
  return QString();
}

void activate(QWidget* w, const QString& name)
{
  QListViewKey* view = w->findChild<QListViewKey*>();
  auto* model = static_cast<LibraryDirModel*>(view->model());
  for (int row = 0; row < model->rowCount(); ++row)
    if (model->fileName(model->index(row)) == name)
      emit view->activated(model->index(row));
}

// Chooses the files in "Ouvrir des éléments simples" and validates each in
// the picker.
void addSimple(QWidget* w, PromptRecorder& prompts, const QStringList& files)
{
  prompts.files.push_back(files.join('\n'));
  prompts.dialogs.push_back([](QDialog& picker) {
    picker.show();
    while (picker.isVisible())
      press(&picker, "Valider");
    return int(QDialog::Accepted);
  });
  press(w, "Ajouter des éléments simples");
}

// The list's rows from the bottom: row r centred on y = 266 - 58 r.
int row(int r) { return 266 - 58 * r; }
void mouse(QWidget* w, QEvent::Type type, int y, Qt::MouseButton button = Qt::NoButton)
{
  const QPoint at(50, y);
  QMouseEvent event(type, at, w->mapToGlobal(at), button,
                    type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

const QString kRed = "<font color=\"#FF0000\">", kGreen = "<font color=\"#009900\">";

} // namespace

class TestELSKCreator : public QObject
{
  Q_OBJECT

private slots:
  void init()
  {
    QDir("elements").removeRecursively();
    QDir().mkpath("elements/XP/Casques");
    QDir().mkpath("elements/VX/A/B");
    writeAll("sorvelkit.ini", QByteArray());
  }

  void validRules_data()
  {
    QTest::addColumn<int>("simple");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("status");
    const QString fewer = kRed + "L'élément doit être composé d'au moins 2 éléments simples.</font>";
    QTest::newRow("marker alone") << 0 << "Armure" << fewer;
    QTest::newRow("one") << 1 << "Armure" << fewer;
    QTest::newRow("two") << 2 << "Armure" << kGreen + "Choisissez une catégorie et validez.</font>";
    QTest::newRow("one, bad name") << 1 << "a/b" << fewer;
    QTest::newRow("two, bad name") << 2 << "a/b"
                                   << kRed + "Le nom ne doit pas contenir les caractères : \\ / : * ? \" &lt; > |.</font>";
    QTest::newRow("128") << 128 << "Armure"
                         << kRed + "L'élément ne peut pas contenir plus de 127 éléments simples.</font>";
  }
  void validRules()
  {
    QFETCH(int, simple);
    QFETCH(QString, name);
    QFETCH(QString, status);
    PromptRecorder prompts;
    QELSKCreator window(0);
    if (simple)
      addSimple(&window, prompts, QStringList(simple, makeImage("a.png", 0xFFFF0000u)));
    window.findChild<QLineEdit*>()->setText(name);
    QCOMPARE(::status(&window), status);
    QCOMPARE(button(&window, "Valider")->isEnabled(), status.startsWith(kGreen));
    QMetaObject::invokeMethod(&window, "validModelIndex");
    QCOMPARE(QFile::exists("elements/XP/Armure.elsk"), status.startsWith(kGreen));
  }

  void savesWhereChosen_data()
  {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("markerLast");
    QTest::addColumn<QString>("saved");
    QTest::newRow("Armure") << "Casques" << "Armure" << false << "Armure.elsk";
    QTest::newRow("upper case, marker last") << "Casques" << "Armure.ELSK" << true << "Armure.ELSK";
    QTest::newRow("png") << "Casques" << "Armure.png" << false << "Armure.png.elsk";
    QTest::newRow("accents") << "Épées" << "Cœur" << true << "Cœur.elsk";
  }
  void savesWhereChosen()
  {
    QFETCH(QString, category);
    QFETCH(QString, name);
    QFETCH(bool, markerLast);
    QFETCH(QString, saved);
    PromptRecorder prompts;
    QDir().mkpath("elements/XP/" + category);
    QELSKCreator window(0);
    window.show();
    addSimple(&window, prompts, {makeImage("a.png", 0xFFFF0000u), makeImage("b.png", 0xFF00FF00u)});
    if (markerLast) {
      QLayerListELSK* list = window.findChild<QLayerListELSK*>();
      mouse(list, QEvent::MouseButtonPress, row(0), Qt::LeftButton);
      mouse(list, QEvent::MouseMove, row(2) - 20);
      mouse(list, QEvent::MouseButtonRelease, 5, Qt::LeftButton);
    }
    activate(&window, category);
    window.findChild<QLineEdit*>()->setText(name);
    press(&window, "Valider");
    QCOMPARE(window.findChild<QLineEdit*>()->text(), saved);
    QVERIFY(!window.isVisible());
    const QString path = "elements/XP/" + category + "/" + saved;
    QVERIFY(QDir("elements/XP/" + category).entryList(QDir::Files).contains(saved));
    std::string error;
    const auto groups = loadElementFile(path.toUtf8().toStdString(), error);
    QVERIFY(groups);
    QCOMPARE(int((*groups)[0].type()), 0);
    QCOMPARE((*groups)[0].elementCount(), markerLast ? 2 : 0);
    QCOMPARE((*groups)[1].elementCount(), markerLast ? 0 : 2);
  }

  void replacingAsksFirst()
  {
    PromptRecorder prompts;
    writeAll("elements/XP/Epee.elsk", "old");
    QELSKCreator window(0);
    addSimple(&window, prompts, {makeImage("a.png", 0xFFFF0000u), makeImage("b.png", 0xFF00FF00u)});
    activate(&window, "Epee.elsk");
    QCOMPARE(window.findChild<QLineEdit*>()->text(), QString("Epee.elsk"));
    press(&window, "Valider"); // no answer: No
    QCOMPARE(prompts.asked.last().title, QString("Sorvel Kit"));
    QCOMPARE(prompts.asked.last().text, QString("Epee.elsk existe déjà. Voulez-vous le remplacer ?"));
    QCOMPARE(readAll("elements/XP/Epee.elsk"), QByteArray("old"));
  }

  // Removing the record of source 1 renumbers the later one, and the next
  // addition takes the freed number: the file holds a, c, d in that order.
  void removalRenumbers()
  {
    PromptRecorder prompts;
    const QList<QRgb> colours{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};
    QELSKCreator window(0);
    window.show();
    addSimple(&window, prompts, {makeImage("a.png", colours[0]), makeImage("b.png", colours[1]),
                                 makeImage("c.png", colours[2])});
    QLayerListELSK* list = window.findChild<QLayerListELSK*>();
    mouse(list, QEvent::MouseButtonPress, row(2), Qt::RightButton);
    mouse(list, QEvent::MouseButtonRelease, row(2), Qt::RightButton);
    for (QAction* a : list->actionsMenu()->actions())
      if (a->text() == "Supprimer")
        a->trigger();
    addSimple(&window, prompts, {makeImage("d.png", colours[3])});
    window.findChild<QLineEdit*>()->setText("Trio");
    press(&window, "Valider");
    std::string error;
    const auto groups = loadElementFile("elements/XP/Trio.elsk", error);
    QVERIFY(groups);
    QCOMPARE((*groups)[1].elementCount(), 3);
    for (int e = 0; e < 3; ++e)
      QCOMPARE((*groups)[1].images(e).front().pixel(0, 0), colours[e ? e + 1 : 0]);
  }

  void backStopsAtTheLayoutRoot()
  {
    QELSKCreator window(1);
    QCOMPARE(window.windowTitle(), QString("Ajouter un Elément Sorvel Kit VX à la bibliothèque"));
    activate(&window, "A");
    activate(&window, "B");
    for (const char* line : {"VX/A/", "VX/"}) {
      press(&window, "Précédent");
      QStringList texts;
      for (QLabel* l : window.findChildren<QLabel*>())
        texts << l->text();
      QVERIFY(texts.contains(QString("Dossier actuel : ") + line));
    }
    QVERIFY(!button(&window, "Précédent")->isEnabled());
    QVERIFY(button(&window, "Ajouter une catégorie")->isEnabled());
  }

  void failuresKeepTheComposition()
  {
    PromptRecorder prompts;
    QELSKCreator window(0);
    window.show();
    addSimple(&window, prompts, {makeImage("a.png", 0xFFFF0000u), makeImage("b.png", 0xFF00FF00u)});
    activate(&window, "Casques");
    window.findChild<QLineEdit*>()->setText("Armure");
    QDir("elements/XP/Casques").removeRecursively();
    writeAll("elements/XP/Casques", "x");
    press(&window, "Valider");
    QCOMPARE(prompts.asked.last().title, QString("Erreur"));
    QCOMPARE(prompts.asked.last().icon, int(QMessageBox::Critical));
    QCOMPARE(prompts.asked.last().text, QString("Ce fichier n'a pas pu s'ouvrir :<br />elements/XP/Casques/Armure.elsk."));
    QFile::remove("elements/XP/Casques");
    QDir().mkpath("elements/XP/Casques");
    if (geteuid() != 0) {
      QFile::setPermissions("elements/XP/Casques", QFile::ReadOwner | QFile::ExeOwner);
      press(&window, "Valider");
      QCOMPARE(prompts.asked.last().text,
               QString("Vous n'avez pas la permission d'écrire dans ce fichier :<br />elements/XP/Casques/Armure.elsk."));
      QFile::setPermissions("elements/XP/Casques", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QVERIFY(window.isVisible());
    press(&window, "Valider");
    QVERIFY(QFile::exists("elements/XP/Casques/Armure.elsk"));
  }

  void settingsAndUnreadableChoices()
  {
    PromptRecorder prompts;
    QELSKCreator window(0);
    press(&window, "Ajouter des éléments simples"); // cancelled
    QCOMPARE(readAll("sorvelkit.ini"), QByteArray());
    prompts.files = {QDir::current().absoluteFilePath("why?/gone.png")};
    press(&window, "Ajouter des éléments simples");
    QCOMPARE(prompts.kinds(), QStringList({"openMany", "openMany", "message"}));
    QCOMPARE(prompts.asked[0].title, QString("Ouvrir des éléments simples"));
    QCOMPARE(prompts.asked[0].text, QDir::homePath());
    QCOMPARE(prompts.asked[0].filter, QString("Images (*.png)"));
    QString stored;
    QVERIFY(!IniSettings().getValue("pathLoadSingleElement", stored));
  }
};

SK_TEST_MAIN(TestELSKCreator)
#include "test_elskcreator.moc"
