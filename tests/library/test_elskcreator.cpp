// Composing an element file: the status rules, the save, removal, browsing.
#include "tests/LibraryWindows.h"
#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "canvas/QLayerListELSK.h"
#include "library/QELSKCreator.h"
#include "model/ElementFile.h"

#include <QLineEdit>
#include <QMenu>

#include <unistd.h>

namespace {

const QList<QRgb> kColours{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};
QString image(int n)
{
  QImage image(8, 8, QImage::Format_ARGB32);
  image.fill(kColours[n]);
  image.save(QString("%1.png").arg(n), "PNG");
  return QString("%1.png").arg(n);
}

bool shows(QWidget* w, const QString& text)
{
  for (QLabel* l : w->findChildren<QLabel*>())
    if (l->text() == text)
      return true;
  return false;
}

// Chooses the files in "Ouvrir des éléments simples" and validates each one.
void addSimple(QWidget* w, PromptRecorder& prompts, const QStringList& files)
{
  prompts.files.push_back(files.join('\n'));
  prompts.dialogs.push_back([](QDialog& picker) {
    for (picker.show(); picker.isVisible();)
      press(&picker, "Valider");
    return int(QDialog::Accepted);
  });
  press(w, "Ajouter des éléments simples");
}

// The file's type, its counts below and above the marker, and the colours above.
QString readBack(const QString& path)
{
  std::string error;
  const auto groups = loadElementFile(path.toUtf8().toStdString(), error);
  if (!groups)
    return QString::fromStdString(error);
  QString out = QString("%1 %2 %3 ").arg(int((*groups)[0].type())).arg((*groups)[0].elementCount()).arg((*groups)[1].elementCount());
  for (int e = 0; e < (*groups)[1].elementCount(); ++e)
    out += QString::number(kColours.indexOf((*groups)[1].images(e)[0].pixel(0, 0)));
  return out;
}

const QString kRed = "<font color=\"#FF0000\">", kGreen = "<font color=\"#009900\">";
const QString kArmure = "elements/XP/Casques/Armure.elsk";

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
    writeAll("elements/XP/Casques/Epee.elsk", "old");
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
    QTest::newRow("one, bad") << 1 << "a/b" << fewer;
    QTest::newRow("two, bad") << 2 << "a/b" << kRed + "Le nom ne doit pas contenir les caractères : \\ / : * ? \" &lt; > |.</font>";
    QTest::newRow("128") << 128 << "Armure" << kRed + "L'élément ne peut pas contenir plus de 127 éléments simples.</font>";
  }
  void validRules()
  {
    QFETCH(int, simple);
    QFETCH(QString, name);
    QFETCH(QString, status);
    PromptRecorder prompts;
    QELSKCreator window(0);
    if (simple)
      addSimple(&window, prompts, QStringList(simple, image(0)));
    window.findChild<QLineEdit*>()->setText(name);
    QVERIFY(shows(&window, status));
    QCOMPARE(button(&window, "Valider")->isEnabled(), status.startsWith(kGreen));
    QMetaObject::invokeMethod(&window, "validModelIndex");
    QCOMPARE(QFile::exists("elements/XP/Armure.elsk"), status.startsWith(kGreen));
  }

  // The marker left first or dragged last; source 1 removed, which renumbers
  // source 2 so that the next image takes the freed number; "Epee.elsk"
  // exists, and No keeps it.
  void savesWhereChosen_data()
  {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("content");
    QTest::newRow("Armure") << "Casques" << "" << "Armure" << "Armure.elsk" << "0 0 2 01";
    QTest::newRow("upper case, marker last") << "Casques" << "last" << "Armure.ELSK" << "Armure.ELSK" << "0 2 0 ";
    QTest::newRow("png") << "Casques" << "" << "Armure.png" << "Armure.png.elsk" << "0 0 2 01";
    QTest::newRow("accents, marker last") << "Épées" << "last" << "Cœur" << "Cœur.elsk" << "0 2 0 ";
    QTest::newRow("removal") << "Casques" << "remove" << "Trio" << "Trio.elsk" << "0 0 3 023";
    QTest::newRow("existing") << "Casques" << "" << "" << "Epee.elsk" << "";
  }
  void savesWhereChosen()
  {
    QFETCH(QString, category);
    QFETCH(QString, edit);
    QFETCH(QString, name);
    QFETCH(QString, saved);
    QFETCH(QString, content);
    PromptRecorder prompts;
    QDir().mkpath("elements/XP/" + category);
    QELSKCreator window(0);
    window.show();
    addSimple(&window, prompts, QStringList{image(0), image(1), image(2)}.mid(0, edit == "remove" ? 3 : 2));
    QLayerListELSK* list = window.findChild<QLayerListELSK*>(); // row r from the bottom centred on 266 - 58 r
    if (edit == "last") {
      QTest::mousePress(list, Qt::LeftButton, {}, QPoint(50, 266));
      QTest::mouseMove(list, QPoint(50, 130));
      QTest::mouseRelease(list, Qt::LeftButton, {}, QPoint(50, 5));
    } else if (edit == "remove") {
      QTest::mouseClick(list, Qt::RightButton, {}, QPoint(50, 150));
      for (QAction* a : list->actionsMenu()->actions())
        if (a->text() == "Supprimer")
          a->trigger();
      addSimple(&window, prompts, {image(3)});
    }
    activate(&window, category);
    activate(&window, "Epee.elsk");
    QCOMPARE(window.findChild<QLineEdit*>()->text(), QString(category == "Casques" ? "Epee.elsk" : ""));
    if (!name.isEmpty())
      window.findChild<QLineEdit*>()->setText(name);
    press(&window, "Valider"); // a question gets No
    QCOMPARE(window.findChild<QLineEdit*>()->text(), saved);
    QCOMPARE(window.isVisible(), content.isEmpty());
    QCOMPARE(readAll("elements/XP/Casques/Epee.elsk"), QByteArray("old"));
    if (content.isEmpty())
      QCOMPARE(prompts.asked.last().title + prompts.asked.last().text, QString("Sorvel KitEpee.elsk existe déjà. Voulez-vous le remplacer ?"));
    else
      QCOMPARE(readBack("elements/XP/" + category + "/" + saved), content);
  }

  void backStopsAtTheLayoutRoot()
  {
    QELSKCreator window(1);
    QCOMPARE(window.windowTitle(), QString("Ajouter un Elément Sorvel Kit VX à la bibliothèque"));
    activate(&window, "A");
    activate(&window, "B");
    for (const char* line : {"VX/A/", "VX/"}) {
      press(&window, "Précédent");
      QVERIFY(shows(&window, QString("Dossier actuel : ") + line));
    }
    QVERIFY(!button(&window, "Précédent")->isEnabled() && button(&window, "Ajouter une catégorie")->isEnabled());
  }

  void failuresKeepTheComposition()
  {
    PromptRecorder prompts;
    QELSKCreator window(0);
    window.show();
    QCOMPARE(window.windowTitle(), QString("Ajouter un Elément Sorvel Kit XP à la bibliothèque"));
    press(&window, "Ajouter des éléments simples"); // cancelled
    prompts.files = {QDir::current().absoluteFilePath("why?/gone.png")};
    press(&window, "Ajouter des éléments simples");
    QCOMPARE(prompts.kinds(), QStringList({"openMany", "openMany", "message"})); // no picker
    QCOMPARE(prompts.asked[0].title + prompts.asked[0].text + prompts.asked[0].filter,
             "Ouvrir des éléments simples" + QDir::homePath() + "Images (*.png)");
    QCOMPARE(readAll("sorvelkit.ini"), QByteArray());
    addSimple(&window, prompts, {image(0), image(1)});
    activate(&window, "Casques");
    window.findChild<QLineEdit*>()->setText("Armure");
    QDir("elements/XP/Casques").removeRecursively();
    writeAll("elements/XP/Casques", "x");
    press(&window, "Valider");
    QCOMPARE(prompts.asked.last().title + QString::number(prompts.asked.last().icon), "Erreur" + QString::number(QMessageBox::Critical));
    QCOMPARE(prompts.asked.last().text, "Ce fichier n'a pas pu s'ouvrir :<br />" + kArmure + ".");
    QVERIFY(prompts.asked.last().details.startsWith("Fichier : " + kArmure + "\nCause : ") &&
            !prompts.asked.last().details.endsWith(": "));
    QFile::remove("elements/XP/Casques");
    QDir().mkpath("elements/XP/Casques");
    if (geteuid() != 0) { // the access rights refuse nothing to root
      QFile::setPermissions("elements/XP/Casques", QFile::ReadOwner | QFile::ExeOwner);
      press(&window, "Valider");
      QCOMPARE(prompts.asked.last().text, "Vous n'avez pas la permission d'écrire dans ce fichier :<br />" + kArmure + ".");
      QFile::setPermissions("elements/XP/Casques", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    press(&window, "Valider");
    QCOMPARE(readBack(kArmure), QString("0 0 2 01"));
    QVERIFY(!window.isVisible());
    window.show(); // Escape is "Annuler"
    QTest::keyClick(window.findChild<QListViewKey*>(), Qt::Key_Escape);
    QVERIFY(!window.isVisible());
  }
};

SK_TEST_MAIN(TestELSKCreator)
#include "test_elskcreator.moc"
