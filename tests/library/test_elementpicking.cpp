// Picking colours on a zoomed element image, keying them out, and storing
// the result in the library (its window, category dialog and command).
#include "tests/LibraryWindows.h"
#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "core/IniSettings.h"
#include "library/ColourSwatch.h"
#include "library/ElementKeying.h"
#include "library/LibraryDirModel.h"
#include "library/QAddLibraryCharacter.h"
#include "library/QCategoryDialog.h"
#include "library/QElementView.h"
#include "library/QElementViewer.h"
#include "widgets/QListViewKey.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>

namespace {

// Pixel (x, y) is (x, y, 0, 128), but (0, 0) is first.
QString makeImage(const QString& name, int width = 3, int height = 2, QRgb first = qRgba(255, 0, 0, 128))
{
  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgba(x, y, 0, 128));
  image.setPixel(0, 0, first);
  image.save(name, "PNG");
  return name;
}

QImage bare() { return blankSwatch(swatchCheckerboard()).toImage().convertToFormat(QImage::Format_ARGB32); }
QList<QImage> swatches(QWidget* dialog)
{
  QList<QImage> out;
  for (QLabel* label : dialog->findChildren<QLabel*>())
    if (label->pixmap().size() == QSize(50, 20))
      out << label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  return out;
}

QString status(QWidget* w) { return w->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)->text(); }
LibraryDirModel* model(QWidget* w) { return static_cast<LibraryDirModel*>(w->findChild<QListViewKey*>()->model()); }

const QString kRed = "<font color=\"#FF0000\">", kGreen = "<font color=\"#009900\">";

} // namespace

class TestElementPicking : public QObject
{
  Q_OBJECT

private slots:
  void zoomsAndClicks_data()
  {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("button");
    QTest::addColumn<QColor>("colour"); // invalid: nothing emitted
    const QSize s(32, 48), z(64, 96);
    const int left = Qt::LeftButton, right = Qt::RightButton;
    QTest::newRow("last pixel") << s << 2.0 << z << QPoint(63, 95) << left << QColor(31, 47, 0, 128);
    QTest::newRow("first, left") << s << 2.0 << z << QPoint(1, 1) << left << QColor(255, 0, 0, 128);
    QTest::newRow("first, right") << s << 2.0 << z << QPoint(1, 1) << right << QColor(255, 0, 0, 128);
    QTest::newRow("middle") << s << 2.0 << z << QPoint(1, 1) << int(Qt::MiddleButton) << QColor();
    QTest::newRow("beyond the pixmap") << s << 2.0 << z << QPoint(200, 100) << right << QColor(0, 0, 0, 0);
    QTest::newRow("truncated") << QSize(33, 33) << 1.5 << QSize(49, 49) << QPoint(48, 48) << left
                               << QColor(32, 32, 0, 128);
  }
  void zoomsAndClicks()
  {
    QFETCH(QSize, size);
    QFETCH(double, zoom);
    QFETCH(QPoint, point);
    QFETCH(int, button);
    QFETCH(QColor, colour);
    QElementView view(makeImage("a.png", size.width(), size.height()));
    view.setZoom(zoom);
    view.setZoom(-1.0); // ignored, as is any factor that is not positive and finite
    QTEST(view.shownSize(), "shown");
    QSignalSpy spy(&view, &QElementView::changeColor);
    QTest::failOnWarning(QRegularExpression(".*"));
    QTest::mousePress(&view, Qt::MouseButton(button), Qt::NoModifier, point);
    QCOMPARE(spy.size(), colour.isValid() ? 1 : 0);
    if (colour.isValid())
      QCOMPARE(spy[0], QVariantList({colour, button == Qt::LeftButton ? 0 : 1}));
  }

  void paintsOnlyTheExposedPixelsEnlarged()
  {
    QImage image(5, 3, QImage::Format_ARGB32);
    for (int i = 0; i < 15; ++i)
      image.setPixel(i % 5, i / 5, qRgb(50 * (i % 5), 120 * (i / 5), 17 * i));
    QVERIFY(image.save("opaque.png"));
    QElementView view("opaque.png");
    view.setZoom(4.0);
    view.resize(view.shownSize());
    const QRect part(3, 5, 11, 6);
    QCOMPARE(view.grab(part).toImage().convertToFormat(QImage::Format_RGB32),
             image.scaled(20, 12, Qt::IgnoreAspectRatio, Qt::FastTransformation).copy(part)
                 .convertToFormat(QImage::Format_RGB32));
  }

  void failedLoadsKeepThePicture()
  {
    PromptRecorder prompts;
    QElementView view(makeImage("a.png", 10, 20));
    view.setImage("missing.png");
    QCOMPARE(prompts.titles(), QStringList({"Erreur"}));
    QCOMPARE(prompts.asked[0].text, QString("Impossible d'ouvrir missing.png"));
    QVERIFY(view.image().isNull());
    QCOMPARE(view.shownSize(), QSize(10, 20));
    view.setZoom(4.0);
    view.setImage(makeImage("b.png", 3, 5));
    QCOMPARE(view.shownSize(), QSize(12, 20));
  }

  void keying_data()
  {
    QTest::addColumn<QColor>("transparency");
    QTest::addColumn<QColor>("translucency");
    QTest::addColumn<uint>("pixel");
    QTest::addColumn<uint>("keyed");
    const QColor none(0, 0, 0, 0), white(Qt::white), red(Qt::red);
    QTest::newRow("opaque white keyed") << white << none << 0xFFFFFFFFu << 0x00000013u;
    QTest::newRow("white 254 kept") << white << none << 0xFEFFFFFFu << 0xFEFFFFFFu;
    QTest::newRow("red alpha 1") << none << red << 0x01FF0000u << 0x80FF0000u;
    QTest::newRow("red alpha 255") << none << red << 0xFFFF0000u << 0x80FF0000u;
    QTest::newRow("zero is transparent") << none << red << 0x00000000u << 0x00000013u;
    QTest::newRow("translucency first") << red << red << 0xFFFF0000u << 0x80FF0000u;
    QTest::newRow("neither opaque") << QColor(255, 255, 255, 128) << none << 0x00000000u << 0x00000000u;
    QTest::newRow("black spares the ground") << none << QColor(Qt::black) << 0x00000000u << 0x00000013u;
    QTest::newRow("red of alpha 0 kept") << none << red << 0x00FF0000u << 0x00FF0000u;
  }
  void keying()
  {
    QFETCH(QColor, transparency);
    QFETCH(QColor, translucency);
    QFETCH(uint, pixel);
    QImage source(2, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, pixel);
    source.setPixel(1, 0, 0xFF123456u);
    const QImage out = keyElementImage(source.convertToFormat(QImage::Format_RGBA8888), transparency, translucency);
    QCOMPARE(out.format(), QImage::Format_ARGB32);
    QTEST(uint(out.pixel(0, 0)), "keyed");
    QCOMPARE(out.pixel(1, 0), 0xFF123456u);
  }

  void pickerWalksThroughTheFiles()
  {
    PromptRecorder prompts;
    std::vector<ElementImage> list;
    QElementViewer viewer({makeImage("hair.old.png", 4, 4, 0xFFFFFFFFu), "gone.png", makeImage("face", 6, 6)},
                          &list, nullptr);
    QCOMPARE(viewer.windowTitle(), QString("Gestion de la transparence (1/3)"));
    QElementView* view = viewer.findChild<QElementView*>();
    QComboBox* zoom = viewer.findChild<QComboBox*>();
    zoom->setCurrentIndex(2);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1)); // opaque white
    QVERIFY(swatches(&viewer)[0] != bare());
    press(&viewer, "Valider");
    QCOMPARE(viewer.windowTitle(), QString("Gestion de la transparence (3/3)"));
    QCOMPARE(zoom->currentText(), QString("Zoom x1.0"));
    QCOMPARE(view->shownSize(), QSize(6, 6));
    QCOMPARE(swatches(&viewer), QList<QImage>({bare(), bare()}));
    press(&viewer, "Valider");
    QCOMPARE(list.size(), size_t(2));
    QCOMPARE(list[0].name, QString("hair.old"));
    QCOMPARE(list[0].image.pixel(0, 0), 0x00000013u);
    QCOMPARE(list[1].name, QString("face"));

    QElementViewer second({"gone.png", "face", "face"}, &list, nullptr);
    QCOMPARE(second.windowTitle(), QString("Gestion de la transparence (2/3)"));
    QElementViewer third({"face", "face", "face"}, &list, nullptr);
    press(&third, "Valider");
    press(&third, "Annuler"); // on image 2 of 3
    QCOMPARE(list.size(), size_t(3));
    QVERIFY(!QElementViewer({"gone.png", "none.png"}, &list, nullptr).hasImage());
  }

  void init()
  {
    QDir("elements").removeRecursively();
    QDir().mkpath("elements/XP/Taken");
    QDir().mkpath("elements/VX");
  }

  void opensOnTheFirstReadableFileAndChecksTheName()
  {
    PromptRecorder prompts;
    QVERIFY(QAddLibraryCharacter({"x.png", "y.png", "z.png"}).noValidImage);
    QCOMPARE(prompts.kinds(), QStringList({"message", "message", "message"}));
    QAddLibraryCharacter window({"gone.png", makeImage("b.png"), makeImage("c.png")});
    QCOMPARE(window.windowTitle(), QString("Ajouter un élément à la bibliothèque (2/3)"));
    QLineEdit* name = window.findChild<QLineEdit*>();
    QCOMPARE(name->selectedText(), QString("b.png"));
    name->setText("hero");
    QCOMPARE(status(&window), kRed + "Choisissez un type d'élément.</font>");
    for (const char* b : {"Précédent", "Ajouter une catégorie", "Valider"})
      QVERIFY(!button(&window, QString::fromUtf8(b))->isEnabled());
    activate(&window, "XP");
    QVERIFY(button(&window, "Précédent")->isEnabled() && button(&window, "Ajouter une catégorie")->isEnabled());
    QCOMPARE(status(&window), kGreen + "Choisissez une catégorie et validez.</font>");
    QVERIFY(button(&window, "Valider")->isEnabled());
    name->setText("");
    QCOMPARE(status(&window), kRed + "Le nom ne doit pas être vide.</font>");
    name->setText("a:b");
    QCOMPARE(status(&window), kRed + "Le nom ne doit pas contenir les caractères : \\ / : * ? \" &lt; > |.</font>");
    QVERIFY(!button(&window, "Valider")->isEnabled());
  }

  void storesKeyedImagesOneAfterAnother()
  {
    PromptRecorder prompts;
    makeImage("elements/XP/old.png");
    QAddLibraryCharacter window({makeImage("a.png", 3, 2, 0xFFFFFFFFu), makeImage("b.png"), makeImage("c.png")});
    window.show();
    QLineEdit* name = window.findChild<QLineEdit*>();
    activate(&window, "XP");
    activate(&window, "old.png");
    QCOMPARE(name->selectedText(), QString("old.png"));
    QCOMPARE(model(&window)->folder(), QString("elements/XP/"));
    name->setText("hero");
    QElementView* preview = window.findChild<QElementView*>();
    window.findChild<QComboBox*>()->setCurrentIndex(2);
    QTest::mouseClick(preview, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1)); // opaque white
    press(&window, "Valider");
    const QImage stored("elements/XP/hero.png");
    QCOMPARE(stored.format(), QImage::Format_ARGB32);
    QCOMPARE(stored.size(), QSize(3, 2));
    QCOMPARE(qAlpha(stored.pixel(0, 0)), 0);
    QCOMPARE(window.windowTitle(), QString("Ajouter un élément à la bibliothèque (2/3)"));
    QCOMPARE(window.findChild<QComboBox*>()->currentText(), QString("Zoom x1.0"));
    QCOMPARE(preview->shownSize(), QSize(3, 2));
    QCOMPARE(name->text(), QString("b.png"));
    QCOMPARE(model(&window)->folder(), QString("elements/XP/"));
    QCOMPARE(swatches(&window), QList<QImage>({bare(), bare()}));

    name->setText("HERO.PNG");
    press(&window, "Valider");
    QCOMPARE(QDir("elements/XP").entryList(QDir::Files, QDir::Name), QStringList({"HERO.PNG", "hero.png", "old.png"}));
    const QByteArray before = readAll("elements/XP/hero.png");
    name->setText("hero");
    press(&window, "Valider"); // no answer: No
    QCOMPARE(prompts.titles().last(), QString("Sorvel Kit"));
    QCOMPARE(prompts.asked.last().text, QString("hero.png existe déjà. Voulez-vous le remplacer ?"));
    prompts.buttons = {QMessageBox::Yes};
    withFileSizeLimit(10, [&] { press(&window, "Valider"); });
    QCOMPARE(prompts.asked.last().text, QString("Impossible de créer l'élément : hero.png."));
    QVERIFY(prompts.asked.last().details.startsWith("Fichier : elements/XP/hero.png\nCause : "));
    QCOMPARE(readAll("elements/XP/hero.png"), before);
    QCOMPARE(window.windowTitle(), QString("Ajouter un élément à la bibliothèque (3/3)"));
    prompts.buttons = {QMessageBox::Yes};
    press(&window, "Valider");
    QVERIFY(!window.isVisible());
  }

  void escapeIsCancel()
  {
    QAddLibraryCharacter window({makeImage("a.png")});
    window.show();
    QTest::keyClick(window.findChild<QListViewKey*>(), Qt::Key_Escape);
    QVERIFY(!window.isVisible());
  }

  void categoryDialog()
  {
    PromptRecorder prompts;
    QAddLibraryCharacter window({makeImage("a.png")});
    activate(&window, "XP");
    press(&window, "Ajouter une catégorie");
    QPointer<QCategoryDialog> dialog = window.findChild<QCategoryDialog*>();
    QCOMPARE(dialog->nameField->text(), QString("Nouvelle catégorie"));
    dialog->nameField->setText("Taken");
    QCOMPARE(dialog->statusLabel->text(), kRed + "Une catégorie portant le même nom existe déjà.</font>");
    dialog->nameField->setText("a/b");
    QCOMPARE(dialog->statusLabel->text(), kRed + "La synthaxe du nom est mauvaise.</font>");
    dialog->nameField->setText(".Monstres"); // the browsers never list it
    QCOMPARE(dialog->statusLabel->text(), kRed + "Le nom ne doit pas commencer par un point.</font>");
    QVERIFY(!dialog->validButton->isEnabled());
    dialog->nameField->setText("Capes");
    QVERIFY(dialog->validButton->isEnabled());
    press(dialog, "Valider");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog);
    QCOMPARE(model(&window)->fileName(model(&window)->index(0)), QString("Capes"));
    QCOMPARE(model(&window)->folder(), QString("elements/XP/"));

    press(&window, "Ajouter une catégorie");
    dialog = window.findChild<QCategoryDialog*>();
    dialog->nameField->setText("L&te");
    writeAll("elements/XP/L&te", "x");
    press(dialog, "Valider");
    QCOMPARE(prompts.titles(), QStringList({"Erreur"}));
    QCOMPARE(prompts.asked.last().text, QString("Impossible de créer la nouvelle catégorie : L&amp;te."));
  }

  void foldersNamedLikeMarkupOrWithABackslash()
  {
    QVERIFY(QDir().mkpath("elements/XP/a\\b") && QDir().mkpath("elements/XP/<b>gras"));
    QAddLibraryCharacter window({makeImage("a.png"), makeImage("b.png")});
    activate(&window, "XP");
    activate(&window, "a\\b");
    window.findChild<QLineEdit*>()->setText("hero");
    press(&window, "Valider");
    QVERIFY(QFile::exists("elements/XP/a\\b/hero.png"));
    press(&window, "Précédent");
    QCOMPARE(model(&window)->folder(), QString("elements/XP/"));
    activate(&window, "<b>gras");
    QLabel* line = nullptr;
    for (QLabel* label : window.findChildren<QLabel*>())
      line = label->text().startsWith("Dossier actuel : ") ? label : line;
    QVERIFY(line && line->textFormat() == Qt::PlainText);
    QCOMPARE(line->text(), QString("Dossier actuel : XP/<b>gras/"));
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
    const QString normal = "Elément normal (image PNG)";
    prompts.items = {normal};
    command->trigger(); // the file dialog cancelled
    QCOMPARE(prompts.kinds(), QStringList({"item", "item", "openMany"}));
    QCOMPARE(prompts.asked[2].text, QDir::homePath());
    QCOMPARE(prompts.asked[2].filter, QString("Images (*.png)"));
    QCOMPARE(readAll("sorvelkit.ini"), QByteArray());

    QDir().mkpath("pics");
    const QString picture = makeImage(QDir::current().absoluteFilePath("pics/a.png"));
    prompts.items = {normal, normal};
    prompts.files = {picture, QDir::current().absoluteFilePath("why?/a.png")};
    command->trigger();
    command->trigger();
    QCOMPARE(prompts.asked[6].text, QFileInfo(picture).path()); // where the first run chose
    QString stored;
    QVERIFY(IniSettings().getValue("pathLoadSingleElement", stored));
    QCOMPARE(stored, QFileInfo(picture).path()); // not the folder holding "?"
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      windows += qobject_cast<QAddLibraryCharacter*>(w) && w->isVisible();
    QCOMPARE(windows, 1); // the unreadable choice opened none
  }
};

SK_TEST_MAIN(TestElementPicking)
#include "test_elementpicking.moc"
