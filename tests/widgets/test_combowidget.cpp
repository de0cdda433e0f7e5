#include "tests/PromptRecorder.h"
#include "tests/TestMain.h"
#include "widgets/QComboWidget.h"
#include "widgets/QOptionWidget.h"

#include <QLabel>
#include <QPointer>

namespace {

QList<QOptionWidget*> tilesOf(QDialog& dialog)
{
  return dialog.findChildren<QOptionWidget*>();
}

// Presses the tile at index, or escapes the dialog with -1.
std::function<int(QDialog&)> press(int index)
{
  return [index](QDialog& dialog) {
    if (index < 0)
      QTest::keyClick(&dialog, Qt::Key_Escape);
    else
      QTest::mousePress(tilesOf(dialog).at(index), Qt::LeftButton);
    return dialog.result();
  };
}

QStringList labelTexts(QDialog& dialog)
{
  QStringList out;
  for (QLabel* label : dialog.findChildren<QLabel*>())
    out << label->text();
  return out;
}

} // namespace

class Receiver : public QObject
{
  Q_OBJECT
public:
  int helps = 0, assigns = 0;
public slots:
  void help() { ++helps; }
  void assign() { ++assigns; }
};

class TestComboWidget : public QObject
{
  Q_OBJECT

private slots:
  void questionsAnswerTheTilePressed_data()
  {
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("tiles");
    QTest::addColumn<int>("pressed");
    for (int q : {0, 1, 2})
      QTest::addRow("question %d escaped", q) << q << (q == 1 ? 4 : q == 2 ? 3 : 2) << -1;
    QTest::newRow("element type VX") << 0 << 2 << 1;
    QTest::newRow("save") << 2 << 3 << 0;
    QTest::newRow("do not save") << 2 << 3 << 1;
    QTest::newRow("cancel") << 2 << 3 << 2;
    QTest::newRow("save all") << 1 << 4 << 1;
  }

  void questionsAnswerTheTilePressed()
  {
    QFETCH(int, question);
    QFETCH(int, tiles);
    QFETCH(int, pressed);
    PromptRecorder recorder;
    QSize minimum, fixed, hint;
    int tileCount = 0;
    recorder.dialogs.push_back([&](QDialog& dialog) {
      minimum = dialog.minimumSize();
      fixed = dialog.maximumSize();
      hint = dialog.sizeHint();
      tileCount = int(tilesOf(dialog).size());
      return press(pressed)(dialog);
    });
    const QString path = QStringLiteral("C:\\a\\b.sk");
    const int answer = question == 0 ? askElementType(nullptr)
        : question == 1              ? askSaveBeforeClose(path, nullptr)
                                     : askSaveBeforeCloseSingle(path, nullptr);
    QCOMPARE(answer, pressed);
    QCOMPARE(tileCount, tiles);
    QCOMPARE(fixed, hint);
    QCOMPARE(minimum, hint);
    QCOMPARE(recorder.titles(),
             QStringList{question == 0 ? QStringLiteral("Type de l'élément") : QStringLiteral("Fermer un fichier")});
  }

  void saveQuestionShowsTheFileName()
  {
    PromptRecorder recorder;
    QStringList labels;
    QString saveAllCaption;
    QPixmap saveAllIcon(1, 1);
    recorder.dialogs.push_back([&](QDialog& dialog) {
      labels = labelTexts(dialog);
      const QOptionWidget* saveAll = tilesOf(dialog).at(1);
      saveAllCaption = saveAll->property("caption").toString();
      saveAllIcon = saveAll->property("icon").value<QPixmap>();
      return int(QDialog::Rejected);
    });
    QCOMPARE(askSaveBeforeClose(QStringLiteral("C:\\a\\b.sk"), nullptr), -1);
    QVERIFY(labels.contains(QStringLiteral("<b>Le fichier suivant a des modifications non enregistrées :</b><br />b.sk")));
    QCOMPARE(saveAllCaption, QStringLiteral("<h3>Enregistrer tout</h3>"));
    QVERIFY(saveAllIcon.isNull());
  }

  void defaultCharacterQuestionStaysOpenAndIsReused()
  {
    QWidget parent;
    Receiver receiver;
    askDefaultCharacter(&receiver, SLOT(help()), SLOT(assign()), &parent);
    QComboWidget* dialog = parent.findChild<QComboWidget*>();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Character par défaut"));
    QCOMPARE(dialog->windowModality(), Qt::WindowModal);
    QVERIFY(dialog->isVisible());
    const QList<QOptionWidget*> tiles = tilesOf(*dialog);
    QCOMPARE(tiles.at(0)->property("caption").toString(), QStringLiteral("<h3>Manuel d'aide</h3>"));
    QCOMPARE(tiles.at(1)->property("caption").toString(),
             QStringLiteral("<h3>Assigner comme character par défaut</h3>"));

    QTest::mousePress(tiles.at(0), Qt::LeftButton);
    QTest::mousePress(tiles.at(1), Qt::LeftButton);
    QCOMPARE(receiver.helps, 1);
    QCOMPARE(receiver.assigns, 1);
    QCOMPARE(dialog->chosenIndex, 1);
    QVERIFY(dialog->isVisible());
    QTest::mousePress(tiles.at(2), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());

    askDefaultCharacter(&receiver, SLOT(help()), SLOT(assign()), &parent);
    QCOMPARE(parent.findChildren<QComboWidget*>().size(), 1);
    QCOMPARE(parent.findChild<QComboWidget*>(), dialog);
    QVERIFY(dialog->isVisible());
    QTest::mousePress(tiles.at(0), Qt::LeftButton);
    QCOMPARE(receiver.helps, 2);

    // Without a parent nobody owns it: closing it frees it.
    askDefaultCharacter(&receiver, SLOT(help()), SLOT(assign()), nullptr);
    QPointer<QComboWidget> orphan;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != dialog && qobject_cast<QComboWidget*>(w))
        orphan = static_cast<QComboWidget*>(w);
    QVERIFY(orphan);
    QTest::mousePress(tilesOf(*orphan).at(2), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!orphan);
  }

  void connectionsOnlyReachThisDialogsTiles()
  {
    QComboWidget dialog(QStringLiteral("t"), QStringLiteral("x"));
    QComboWidget other(QStringLiteral("t"), QStringLiteral("x"));
    Receiver receiver;
    for (int i = 0; i < 3; ++i)
      dialog.addChoice(QPixmap(), QString::number(i), QString(), false);
    ComboChoice* foreign = other.addChoice(QPixmap(), QString(), QString(), true);
    QVERIFY(!dialog.connectChoice(5, SIGNAL(clicked()), &receiver, SLOT(help())));
    QVERIFY(!dialog.connectChoice(-1, SIGNAL(clicked()), &receiver, SLOT(help())));
    QVERIFY(!dialog.connectChoice(foreign, SIGNAL(clicked()), &receiver, SLOT(help())));
    QVERIFY(!dialog.disconnectChoice(5, SIGNAL(clicked()), &receiver, SLOT(help())));

    // Choices made elsewhere, one handed in twice: the last tile answers.
    ComboChoice* shared = new ComboChoice{QPixmap(), QStringLiteral("s"), QString(), false};
    dialog.addChoices({shared, shared});
    QVERIFY(dialog.connectChoice(shared, SIGNAL(clicked()), &receiver, SLOT(help())));
    QTest::mousePress(tilesOf(dialog).at(3), Qt::LeftButton);
    QCOMPARE(receiver.helps, 0);
    QTest::mousePress(tilesOf(dialog).at(4), Qt::LeftButton);
    QCOMPARE(receiver.helps, 1);
    QCOMPARE(dialog.chosenIndex, 4);
    QVERIFY(dialog.disconnectChoice(shared, SIGNAL(clicked()), &receiver, SLOT(help())));
  }
};

SK_TEST_MAIN(TestComboWidget)
#include "test_combowidget.moc"
