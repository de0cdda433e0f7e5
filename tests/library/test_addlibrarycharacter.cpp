// Storing PNG images in the library, its category dialog and the command
// that opens it.
#include "tests/LibraryWindows.h"
#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "core/IniSettings.h"
#include "library/ColourSwatch.h"
#include "library/LibraryDirModel.h"
#include "library/QAddLibraryCharacter.h"
#include "library/QCategoryDialog.h"
#include "library/QElementView.h"
#include "widgets/QListViewKey.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Opaque white at (1, 1), opaque red elsewhere.
QString makeImage(const QString& path)
{
  QImage image(3, 2, QImage::Format_ARGB32);
  image.fill(0xFFFF0000u);
  image.setPixel(1, 1, 0xFFFFFFFFu);
  image.save(path, "PNG");
  return path;
}

bool enabled(QWidget* w, const QString& text) { return button(w, text)->isEnabled(); }

QString status(QWidget* w)
{
  for (QLabel* l : w->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
    if (l->text().startsWith("<font"))
      return l->text();
  return QString();
}
QString folderLine(QWidget* w)
{
  for (QLabel* l : w->findChildren<QLabel*>())
    if (l->text().startsWith("Dossier actuel : "))
      return l->text();
  return QString();
}

const QString kRed = "<font color=\"#FF0000\">", kGreen = "<font color=\"#009900\">";

} // namespace

class TestAddLibraryCharacter : public QObject
{
  Q_OBJECT

private slots:
  void init()
  {
    QDir("elements").removeRecursively();
    QDir().mkpath("elements/XP");
    QDir().mkpath("elements/VX");
  }

  void opensOnTheFirstReadableFileAndChecksTheName()
  {
    PromptRecorder prompts;
    QAddLibraryCharacter none({"x.png", "y.png", "z.png"});
    QVERIFY(none.noValidImage);
    QCOMPARE(prompts.kinds(), QStringList({"message", "message", "message"}));

    QAddLibraryCharacter window({"gone.png", makeImage("b.png"), makeImage("c.png")});
    QVERIFY(!window.noValidImage);
    QCOMPARE(window.windowTitle(), QString("Ajouter un élément à la bibliothèque (2/3)"));
    QLineEdit* name = window.findChild<QLineEdit*>();
    QCOMPARE(name->text(), QString("b.png"));
    QCOMPARE(name->selectedText(), QString("b.png"));
    name->setText("hero");
    QCOMPARE(status(&window), kRed + "Choisissez un type d'élément.</font>");
    for (const char* b : {"Précédent", "Ajouter une catégorie", "Valider"})
      QVERIFY(!enabled(&window, QString::fromUtf8(b)));
    activate(&window, "XP");
    QCOMPARE(folderLine(&window), QString("Dossier actuel : XP/"));
    QVERIFY(enabled(&window, "Précédent") && enabled(&window, "Ajouter une catégorie"));
    QCOMPARE(status(&window), kGreen + "Choisissez une catégorie et validez.</font>");
    QVERIFY(enabled(&window, "Valider"));
    name->setText("");
    QCOMPARE(status(&window), kRed + "Le nom ne doit pas être vide.</font>");
    QVERIFY(!enabled(&window, "Valider"));
    name->setText("a:b");
    QCOMPARE(status(&window), kRed + "Le nom ne doit pas contenir les caractères : \\ / : * ? \" &lt; > |.</font>");
    QVERIFY(!enabled(&window, "Valider"));
    name->setText("hero");
    press(&window, "Précédent");
    QVERIFY(!enabled(&window, "Valider") && !enabled(&window, "Ajouter une catégorie"));
  }

  void storesKeyedImagesOneAfterAnother()
  {
    PromptRecorder prompts;
    makeImage("elements/XP/old.png");
    QAddLibraryCharacter window({makeImage("a.png"), makeImage("b.png"), makeImage("c.png")});
    window.show();
    QLineEdit* name = window.findChild<QLineEdit*>();
    activate(&window, "XP");
    activate(&window, "old.png");
    QCOMPARE(name->text(), QString("old.png"));
    QCOMPARE(name->selectedText(), QString("old.png"));
    QCOMPARE(folderLine(&window), QString("Dossier actuel : XP/"));
    name->setText("hero");
    QElementView* preview = window.findChild<QElementView*>();
    QTest::mouseClick(preview, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    window.findChild<QComboBox*>()->setCurrentIndex(2);
    press(&window, "Valider");
    const QImage stored("elements/XP/hero.png");
    QCOMPARE(stored.format(), QImage::Format_ARGB32);
    QCOMPARE(stored.size(), QSize(3, 2));
    QCOMPARE(qAlpha(stored.pixel(1, 1)), 0);
    QCOMPARE(stored.pixel(2, 1), 0xFFFF0000u);
    QCOMPARE(window.windowTitle(), QString("Ajouter un élément à la bibliothèque (2/3)"));
    QCOMPARE(window.findChild<QComboBox*>()->currentText(), QString("Zoom x1.0"));
    QCOMPARE(preview->pixmap().size(), QSize(3, 2));
    QCOMPARE(name->text(), QString("b.png"));
    QCOMPARE(folderLine(&window), QString("Dossier actuel : XP/"));
    const QImage bare = blankSwatch(swatchCheckerboard()).toImage();
    for (QLabel* l : window.findChildren<QLabel*>())
      if (l->pixmap().size() == QSize(50, 20))
        QCOMPARE(l->pixmap().toImage(), bare);

    name->setText("HERO.PNG");
    press(&window, "Valider");
    QVERIFY(QFile::exists("elements/XP/HERO.PNG"));
    QCOMPARE(QDir("elements/XP").count(), 5u); // ".", "..", old, hero, HERO

    const QByteArray before = readAll("elements/XP/hero.png");
    name->setText("hero");
    press(&window, "Valider"); // no answer: No
    QCOMPARE(prompts.asked.last().title, QString("Sorvel Kit"));
    QCOMPARE(prompts.asked.last().text, QString("hero.png existe déjà. Voulez-vous le remplacer ?"));
    QCOMPARE(readAll("elements/XP/hero.png"), before);
    prompts.buttons = {QMessageBox::Yes};
    withFileSizeLimit(10, [&] { press(&window, "Valider"); });
    QCOMPARE(prompts.asked.last().text, QString("Impossible de créer l'élément : hero.png."));
    QCOMPARE(readAll("elements/XP/hero.png"), before);
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QString("Ajouter un élément à la bibliothèque (3/3)"));
    prompts.buttons = {QMessageBox::Yes};
    press(&window, "Valider");
    QVERIFY(!window.isVisible());
  }

  void categoryDialog()
  {
    PromptRecorder prompts;
    QDir().mkpath("elements/XP/Taken");
    QAddLibraryCharacter window({makeImage("a.png")});
    activate(&window, "XP");
    press(&window, "Ajouter une catégorie");
    QPointer<QCategoryDialog> dialog = window.findChild<QCategoryDialog*>();
    QCOMPARE(dialog->windowTitle(), QString("Créer une nouvelle catégorie"));
    QLineEdit* name = dialog->findChild<QLineEdit*>();
    QCOMPARE(name->text(), QString("Nouvelle catégorie"));
    QVERIFY(enabled(dialog, "Valider"));
    name->setText("Taken");
    QCOMPARE(dialog->statusLabel->text(), kRed + "Une catégorie portant le même nom existe déjà.</font>");
    QVERIFY(!enabled(dialog, "Valider"));
    name->setText("a/b");
    QCOMPARE(dialog->statusLabel->text(), kRed + "La synthaxe du nom est mauvaise.</font>");
    name->setText("Capes");
    QCOMPARE(dialog->statusLabel->text(), kGreen + "Valider pour créer une nouvelle catégorie.</font>");
    press(dialog, "Valider");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
    QVERIFY(QDir("elements/XP/Capes").exists());
    auto* model = static_cast<LibraryDirModel*>(window.findChild<QListViewKey*>()->model());
    QCOMPARE(model->fileName(model->index(0)), QString("Capes"));
    QCOMPARE(folderLine(&window), QString("Dossier actuel : XP/"));

    press(&window, "Ajouter une catégorie");
    dialog = window.findChild<QCategoryDialog*>();
    dialog->nameField->setText("Late");
    writeAll("elements/XP/Late", "x");
    press(dialog, "Valider");
    QCOMPARE(prompts.asked.last().title, QString("Erreur"));
    QCOMPARE(prompts.asked.last().text, QString("Impossible de créer la nouvelle catégorie : Late."));
  }

  void commandAsksTypeThenFiles()
  {
    PromptRecorder prompts;
    MainWindow main;
    QAction* command = nullptr;
    for (QAction* a : main.findChildren<QAction*>())
      if (a->shortcut() == QKeySequence("Ctrl+Shift+E"))
        command = a;
    command->trigger(); // the type choice cancelled
    prompts.items = {"Elément normal (image PNG)"};
    command->trigger(); // the file dialog cancelled
    QCOMPARE(prompts.kinds(), QStringList({"item", "item", "openMany"}));
    QCOMPARE(prompts.asked[0].title, QString("Type d'élément"));
    QCOMPARE(prompts.asked[0].text, QString("Quel est le type de l'élément à rajouter ?"));
    QCOMPARE(prompts.asked[2].title, QString("Chercher un élément"));
    QCOMPARE(prompts.asked[2].text, QDir::homePath());
    QCOMPARE(prompts.asked[2].filter, QString("Images (*.png)"));
    QCOMPARE(readAll("sorvelkit.ini"), QByteArray());

    QDir().mkpath("pics");
    const QString picture = makeImage(QDir::current().absoluteFilePath("pics/a.png"));
    prompts.items = {"Elément normal (image PNG)", "Elément normal (image PNG)"};
    prompts.files = {picture, QDir::current().absoluteFilePath("why?/a.png")};
    command->trigger();
    command->trigger();
    QCOMPARE(prompts.asked[6].text, QFileInfo(picture).path()); // the second run starts where the first chose
    QString stored;
    QVERIFY(IniSettings().getValue("pathLoadSingleElement", stored));
    QCOMPARE(stored, QFileInfo(picture).path());
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      windows += qobject_cast<QAddLibraryCharacter*>(w) != nullptr;
    QCOMPARE(windows, 1); // the unreadable choice opened none
  }
};

SK_TEST_MAIN(TestAddLibraryCharacter)
#include "test_addlibrarycharacter.moc"
