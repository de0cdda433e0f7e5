#include "tests/PromptRecorder.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "app/QHelpDialog.h"
#include "widgets/QComboWidget.h"
#include "widgets/QOptionWidget.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeView>

namespace {

// Each topic as "<depth>|<title>", depth first.
QStringList topics(const QStandardItemModel& model, int& editable)
{
  QStringList out;
  std::function<void(const QStandardItem*, int)> walk = [&](const QStandardItem* parent, int depth) {
    for (int row = 0; row < parent->rowCount(); ++row) {
      const QStandardItem* item = parent->child(row);
      out << QString::number(depth) + "|" + item->text();
      editable += item->isEditable() ? 1 : 0;
      walk(item, depth + 1);
    }
  };
  walk(model.invisibleRootItem(), 1);
  return out;
}

// The page shown, relative to the current folder, with its anchor.
QString shownPage(const QTextBrowser* view)
{
  const QUrl source = view->source();
  QString page = QDir::current().relativeFilePath(source.toLocalFile());
  if (source.hasFragment())
    page += "#" + source.fragment();
  return page;
}

// Clicks the first link of the page whose target is href.
void clickLink(QTextBrowser* view, const QString& href)
{
  for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorHref() == href) {
        QTextCursor cursor(view->document());
        cursor.setPosition(it.fragment().position() + 1);
        view->setTextCursor(cursor);
        view->ensureCursorVisible();
        const QPoint at = view->cursorRect(cursor).center() - QPoint(2, 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        return;
      }
  QFAIL(qPrintable("no link to " + href));
}

QWidget* topLevel(const QString& title)
{
  QWidget* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == title) {
      if (found)
        return nullptr;
      found = w;
    }
  return found;
}

QAction* command(const QWidget& window, const QString& text)
{
  for (QAction* action : window.findChildren<QAction*>())
    if (action->text() == text)
      return action;
  return nullptr;
}

void showAndActivate(QWidget& window)
{
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

const QString kAbout = QStringLiteral(
    "<h3>Sorvel Kit 1.0.0</h3><p>Sorvel Kit est un logiciel qui permet de créer et de modifier rapidement des "
    "characters et des tilesets pour RPG Maker XP et RPG Maker VX.</p><p>Sorvel Kit a été soutenu par le forum <a "
    "href=\"https://forum.example.org/\">RPG Sorvel V2</a>.</p><p>Son auteur l'a créé pour aider la communauté des "
    "créateurs de jeux. Sorvel Kit est donc distribué gratuitement.</p>");
const QString kThanks = QStringLiteral(
    "<h3>Merci qui ?</h3><p>Sorvel Kit n'aurait pas pu voir le jour sans l'aide de nombreuses personnes.</p><p>Merci "
    "aux contributeurs pour leur soutien et leur travail graphique, ainsi qu'à tous les membres de la communauté "
    "Sorvel qui ont soutenu l'auteur et l'ont encouragé à terminer Sorvel Kit.</p>");

} // namespace

class TestHelpManual : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { QVERIFY(QFile::link(SK_SOURCE_DIR "/help", "help")); }
  void init() { writeAll("sorvelkit.ini", QByteArray()); }

  void topicsAndTheirPages()
  {
    QHelpDialog help("help/introduction.html");
    int editable = 0;
    const QStringList tree = topics(*help.model, editable);
    QCOMPARE(editable, 0);
    QCOMPARE(help.model->rowCount(), 5);
    QCOMPARE(tree.size(), 30);
    QVERIFY(tree.indexOf("3|Editeur de dégradé") == tree.indexOf("2|Rectangle / Cercle") + 1);

    QStringList pages{"help/guide_express.html"};
    for (const QString& topic : tree) {
      const QString title = topic.section('|', 1);
      const QString page = QHelpDialog::pageUrl(title).toString();
      pages << page;
      const QByteArray html = readAll(page);
      QVERIFY2(html.contains("<meta charset=\"utf-8\">"), qPrintable(page));
      QVERIFY2(html.contains("<h1>" + title.toUtf8() + "</h1>"), qPrintable(page));
    }
    QCOMPARE(QDir("help").entryList({"*.html"}, QDir::Files).size(), 31);
    for (const QString& page : pages)
      QVERIFY2(QFile::exists(page), qPrintable(page));
    QVERIFY(readAll("help/créer_un_character.html").contains("name=\"id_1\""));
  }

  void pageNames_data()
  {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("page");
    QTest::newRow("apostrophe") << "Zone d'effet des retouches" << "help/zone_deffet_des_retouches.html";
    QTest::newRow("slash") << "Rectangle / Cercle" << "help/rectangle___cercle.html";
    QTest::newRow("accent") << "Débuter" << "help/débuter.html";
    QTest::newRow("capital, accents kept") << "Editeur de dégradé" << "help/editeur_de_dégradé.html";
  }

  void pageNames()
  {
    QFETCH(QString, title);
    QFETCH(QString, page);
    const QUrl url = QHelpDialog::pageUrl(title);
    QVERIFY(url.isRelative());
    QCOMPARE(url.toString(), page);
  }

  void oneHelpWindowFollowsTheRequests()
  {
    MainWindow window;
    window.showHelp();
    QPointer<QHelpDialog> help = window.helpDialog;
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->windowTitle(), QString("Manuel d'aide version 1.0.0"));
    QCOMPARE(shownPage(help->view), QString("help/introduction.html"));

    QTreeView* tree = help->findChild<QTreeView*>();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(help->model->index(1, 0)).center());
    QCOMPARE(shownPage(help->view), QString("help/débuter.html"));
    window.showHelp();
    QCOMPARE(shownPage(help->view), QString("help/débuter.html"));

    clickLink(help->view, "créer_un_character.html");
    QCOMPARE(shownPage(help->view), QString("help/créer_un_character.html"));

    help->close();
    QVERIFY(help && !help->isVisible());
    // Small enough that the anchor lies below the first screen.
    help->resize(help->minimumSize());
    help->view->verticalScrollBar()->setValue(0);
    window.showHelp_Create_Character();
    QCOMPARE(window.helpDialog, help.data());
    QVERIFY(help->isVisible());
    QCOMPARE(shownPage(help->view), QString("help/créer_un_character.html#id_1"));
    QVERIFY(help->view->verticalScrollBar()->value() > 0);

    window.showHelp("help/rotation.html");
    QCOMPARE(shownPage(help->view), QString("help/rotation.html"));
  }

  void messageBoxes_data()
  {
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("about") << "aboutSK" << "A propos de Sorvel Kit" << kAbout;
    QTest::newRow("thanks") << "aboutThanks" << "Remerciement" << kThanks;
    QTest::newRow("donation")
        << "donation" << "Donation"
        << "<h1>Faire un don</h1><p>Sorvel Kit est un logiciel gratuit et le restera.</p><p>Néanmoins si Sorvel Kit "
           "vous plaît et que vous souhaitez m'en remercier, vous pouvez me faire un don financier, en cliquant sous "
           "l'image ci-dessous.</p><p align=\"center\"><a href=\"https://don.example.org/\"><img "
           "src=\":/icon/donation.png\"></a></p><p>Le paiement est rapide et sécurisé. Vous avez la possibilité de "
           "donner la somme que vous souhaitez ! Merci d'avance !</p>";
    QTest::newRow("welcome") << "welcome" << "Bienvenue !"
                             << "<h3>Bienvenue !</h3><p>Bienvenue dans Sorvel Kit 1.0.0 !</p><p>Je vous remercie "
                                "d'avoir téléchargé Sorvel Kit et j'espère que ce logiciel vous sera utile.</p>"
                                    + kAbout + kThanks;
  }

  void messageBoxes()
  {
    QFETCH(QString, slot);
    QFETCH(QString, title);
    QFETCH(QString, text);
    PromptRecorder recorder;
    MainWindow window;
    QVERIFY(QMetaObject::invokeMethod(&window, slot.toLatin1().constData()));
    QCOMPARE(recorder.kinds(), QStringList{"about"});
    QCOMPARE(recorder.asked[0].title, title);
    QCOMPARE(recorder.asked[0].text, text);
  }

  void forumAndQuickHelp()
  {
    PromptRecorder recorder;
    MainWindow window;
    command(window, "RPG Sorvel")->trigger();
    QCOMPARE(recorder.kinds(), QStringList{"url"});
    QCOMPARE(recorder.asked[0].text, QString("https://forum.example.org/"));

    showAndActivate(window);
    QTest::keyClick(&window, Qt::Key_F2);
    QWidget* quick = topLevel("Introduction à Sorvel Kit");
    QVERIFY(quick && quick->isVisible());
    QCOMPARE(quick, window.quickHelpWindow);
    QCOMPARE(quick->minimumSize(), QSize(640, 480));
    QCOMPARE(shownPage(quick->findChild<QTextBrowser*>()), QString("help/guide_express.html"));
    quick->close();
    showAndActivate(window);
    QTest::keyClick(&window, Qt::Key_F2);
    QVERIFY(quick->isVisible());
    QCOMPARE(topLevel("Introduction à Sorvel Kit"), quick);

    QVERIFY(!window.helpDialog);
    quick->findChild<QPushButton*>()->click();
    QVERIFY(window.helpDialog && window.helpDialog->isVisible());
  }

  void helpQuestion_data()
  {
    QTest::addColumn<int>("tile");
    QTest::addColumn<bool>("quickHelp");
    QTest::addColumn<bool>("manual");
    QTest::newRow("closed") << -1 << false << false;
    QTest::newRow("introduction") << 0 << true << false;
    QTest::newRow("manual") << 1 << false << true;
    QTest::newRow("nothing") << 2 << false << false;
  }

  void helpQuestion()
  {
    QFETCH(int, tile);
    QFETCH(bool, quickHelp);
    QFETCH(bool, manual);
    PromptRecorder recorder;
    QStringList captions;
    recorder.dialogs.push_back([&](QDialog& dialog) {
      for (QOptionWidget* option : dialog.findChildren<QOptionWidget*>())
        captions << option->property("caption").toString();
      if (tile >= 0)
        QTest::mousePress(dialog.findChildren<QOptionWidget*>().at(tile), Qt::LeftButton);
      return dialog.result();
    });
    MainWindow window;
    window.doYouNeedHelp();
    QCOMPARE(recorder.titles(), QStringList{"Aide à propos de Sorvel Kit"});
    QCOMPARE(captions, QStringList({"<h3>Lire <em>Introduction à Sorvel Kit</em></h3>",
                                    "<h3>Lire le Manuel d'aide</h3>", "<h3>Ne rien lire</h3>"}));
    QVERIFY(window.findChildren<QComboWidget*>().isEmpty());
    QCOMPARE(window.quickHelpWindow && window.quickHelpWindow->isVisible(), quickHelp);
    QCOMPARE(window.helpDialog && window.helpDialog->isVisible(), manual);
    if (manual)
      QCOMPARE(shownPage(window.helpDialog->view), QString("help/introduction.html"));
  }
};

SK_TEST_MAIN(TestHelpManual)
#include "test_helpmanual.moc"
