#include "tests/TestMain.h"

#include "core/PathUtils.h"
#include "widgets/Prompts.h"
#include "widgets/Questions.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>

namespace {

const QString kHeading = QString::fromUtf8(
    "Fermer un character</h%1><br /><b>Le fichier suivant a des modifications non enregistr\xc3\xa9"
    "es :</b><br />");

// What a question showed, taken from the real box when it was run.
struct Shown
{
  QString title;
  QString text;
  QString informative;
  QMessageBox::StandardButtons buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QPixmap iconPixmap;
  QString checkText;
  bool checkInitiallyTicked = false;
  bool hasCheck = false;
  QStringList labels;
  Qt::WindowFlags flags;
};

// Answers every box with the given button, after recording it and, when
// there is a check box, setting it to tick.
void answerWith(Shown& shown, QMessageBox::StandardButton answer, int tick = -1)
{
  prompts().runMessageBox = [&shown, answer, tick](QMessageBox& box) {
    shown.title = box.windowTitle();
    shown.text = box.text();
    shown.informative = box.informativeText();
    shown.buttons = box.standardButtons();
    shown.icon = box.icon();
    shown.iconPixmap = box.iconPixmap();
    shown.flags = box.windowFlags();
    for (QLabel* l : box.findChildren<QLabel*>())
      shown.labels << l->text();
    if (QCheckBox* check = box.findChild<QCheckBox*>()) {
      shown.hasCheck = true;
      shown.checkText = check->text();
      shown.checkInitiallyTicked = check->isChecked();
      if (tick >= 0)
        check->setChecked(tick == 1);
    }
    return answer;
  };
}

} // namespace

class TestQuestions : public QObject
{
  Q_OBJECT

private slots:
  void cleanup() { resetPrompts(); }

  void closeOneCharacter();
  void closeCharacters();
  void closeCharactersEmptyPath();
  void checkBoxQuestion_data();
  void checkBoxQuestion();
  void checkBoxSitsUnderText();
  void toolkitBoxesShowPathsWhole();
};

void TestQuestions::closeOneCharacter()
{
  Shown shown;
  answerWith(shown, QMessageBox::Discard);
  QPixmap thumb(8, 8);
  thumb.fill(Qt::red);
  QCOMPARE(askCloseCharacter("/x/b.sk", thumb, nullptr), QMessageBox::Discard);
  QCOMPARE(shown.title, QString("Fermeture"));
  QCOMPARE(shown.text, "<h2>" + kHeading.arg(2) + "b.sk");
  QCOMPARE(shown.informative, QString("<i>Que souhaitez-vous faire ?</i>"));
  QCOMPARE(shown.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  QVERIFY(!shown.buttons.testFlag(QMessageBox::SaveAll));
  QCOMPARE(shown.iconPixmap.size(), QSize(8, 8));
  QVERIFY(!shown.hasCheck);
  QVERIFY(shown.flags.testFlag(Qt::Dialog));
  QVERIFY(shown.flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));

  answerWith(shown, QMessageBox::Save);
  QCOMPARE(askCloseCharacter("C:\\dossier\\perso.sk", QPixmap(), nullptr), QMessageBox::Save);
  QVERIFY(shown.text.endsWith("<br />perso.sk"));
}

void TestQuestions::closeCharacters()
{
  Shown shown;
  answerWith(shown, QMessageBox::SaveAll);
  QCOMPARE(askCloseCharacters("/x/y/b.sk", QPixmap(), nullptr), QMessageBox::SaveAll);
  QCOMPARE(shown.title, QString("Fermeture"));
  QCOMPARE(shown.text, "<h3>" + kHeading.arg(3) + "b.sk");
  QCOMPARE(shown.informative, QString("<i>Que souhaitez-vous faire ?</i>"));
  QCOMPARE(shown.buttons,
           QMessageBox::Save | QMessageBox::SaveAll | QMessageBox::Discard | QMessageBox::Cancel);
}

void TestQuestions::closeCharactersEmptyPath()
{
  Shown shown;
  answerWith(shown, QMessageBox::Cancel);
  QCOMPARE(askCloseCharacters(QString(), QPixmap(), nullptr), QMessageBox::Cancel);
  QCOMPARE(shown.text, "<h3>" + kHeading.arg(3));
}

void TestQuestions::checkBoxQuestion_data()
{
  QTest::addColumn<bool>("tickedOnEntry");
  QTest::addColumn<int>("tick"); // -1: leave the box as it is
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("tickedAfter");
  QTest::newRow("starts ticked, unticked") << true << 0 << int(QMessageBox::Yes) << false;
  QTest::newRow("starts ticked, left") << true << -1 << int(QMessageBox::No) << true;
  QTest::newRow("starts unticked, ticked") << false << 1 << int(QMessageBox::No) << true;
  QTest::newRow("starts unticked, left") << false << -1 << int(QMessageBox::Yes) << false;
}

void TestQuestions::checkBoxQuestion()
{
  QFETCH(bool, tickedOnEntry);
  QFETCH(int, tick);
  QFETCH(int, answer);
  QFETCH(bool, tickedAfter);
  Shown shown;
  answerWith(shown, QMessageBox::StandardButton(answer), tick);
  bool ticked = tickedOnEntry;
  const QString note = QString::fromUtf8("Etes-vous s\xc3\xbbr(e) de vouloir fermer perso ?");
  const auto result = askWithCheckBox(nullptr, "Fermeture", "<h3>Fermer un character</h3>", note,
                                      "Ne plus afficher ce message", ticked,
                                      QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
  QCOMPARE(int(result), answer);
  QCOMPARE(ticked, tickedAfter);
  QVERIFY(shown.hasCheck);
  QCOMPARE(shown.checkText, QString("Ne plus afficher ce message"));
  QCOMPARE(shown.checkInitiallyTicked, tickedOnEntry);
  QCOMPARE(shown.title, QString("Fermeture"));
  QCOMPARE(shown.text, QString("<h3>Fermer un character</h3>"));
  QCOMPARE(shown.buttons, QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(shown.icon, QMessageBox::Question);
  QVERIFY(shown.labels.contains(note));
}

void TestQuestions::checkBoxSitsUnderText()
{
  for (const QMessageBox::Icon icon : {QMessageBox::Question, QMessageBox::NoIcon}) {
    QRect textRect, noteRect, checkRect;
    bool checkVisible = false;
    prompts().runMessageBox = [&](QMessageBox& box) {
      box.show();
      QLabel* text = box.findChild<QLabel*>("qt_msgbox_label");
      QCheckBox* check = box.findChild<QCheckBox*>();
      QLabel* note = nullptr;
      for (QLabel* l : box.findChildren<QLabel*>())
        if (l->text() == "la note")
          note = l;
      if (text && check && note) {
        textRect = text->geometry();
        noteRect = note->geometry();
        checkRect = check->geometry();
        checkVisible = check->isVisible();
      }
      box.hide();
      return QMessageBox::Yes;
    };
    bool ticked = false;
    askWithCheckBox(nullptr, "T", "Le texte", "la note", "Ne plus afficher ce message", ticked,
                    QMessageBox::Yes | QMessageBox::No, icon);
    QVERIFY(checkVisible);
    QCOMPARE(noteRect.left(), textRect.left());
    QVERIFY(noteRect.top() >= textRect.bottom());
    QVERIFY(checkRect.top() >= noteRect.bottom());
  }
}

// The toolkit's own boxes, read as their label reads its text.
void TestQuestions::toolkitBoxesShowPathsWhole()
{
  const QString path = QDir::currentPath() + "/<b>R&D  deux/a&b.sk ";
  QVERIFY(QDir().mkdir("<b>R&D  deux") && QFile(path).open(QIODevice::WriteOnly));
  QStringList shown;
  const auto readAndClose = [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    const QLabel* label = box->findChild<QLabel*>("qt_msgbox_label");
    QTextDocument read;
    label->textFormat() == Qt::RichText ? read.setHtml(label->text()) : read.setPlainText(label->text());
    shown << read.toPlainText();
    box->buttons().constFirst()->click();
  };
  QTimer::singleShot(0, readAndClose);
  prompts().message(nullptr, QMessageBox::Critical, "Erreur", "Impossible d'ouvrir : " + richTextEscaped(path), "");
  QTimer::singleShot(0, readAndClose);
  mayReplaceAppendedName(nullptr, "Enregistrer", "a&b", path);
  QCOMPARE(shown, QStringList({"Impossible d'ouvrir : " + path,
                               "Le fichier " + path + " existe déjà.\nVoulez-vous le remplacer ?"}));
}

SK_TEST_MAIN(TestQuestions)
#include "test_questions.moc"
