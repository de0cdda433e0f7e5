#include "widgets/Prompts.h"
#include "widgets/Questions.h"
#include "model/ElementFile.h"
#include "tests/TestMain.h"
#include "tests/model/MarkedSheet.h"

#include <QDir>

namespace {

QImage scribble(const QSize& size)
{
  QImage img(size, QImage::Format_ARGB32);
  img.fill(0xFF123456u);
  return img;
}

// Spoils every cell of element e so that a reload is visible.
void spoil(CharacterData& doc, int e)
{
  for (int c = 0; c < doc.cellCount(); ++c) {
    doc.setImage(scribble(QSize(5, 5)), e, c);
    doc.setOffset(QPoint(-9, -9), e, c);
  }
}

int questionsAsked = 0;
QString lastQuestion;

void answerQuestions(QMessageBox::StandardButton answer)
{
  questionsAsked = 0;
  lastQuestion.clear();
  prompts().question = [answer](QWidget*, const QString& title, const QString& text, QMessageBox::StandardButtons,
                                QMessageBox::StandardButton) {
    ++questionsAsked;
    lastQuestion = title + "|" + text;
    return answer;
  };
}

} // namespace

class TestReload : public QObject
{
  Q_OBJECT

private slots:
  void init() { answerQuestions(QMessageBox::No); }
  void cleanup() { resetPrompts(); }

  void elementFileSources()
  {
    QCOMPARE(saveElementFile("lib.elsk", {markedSheet(128, 192, 4, 0), markedSheet(128, 192, 4, 1),
                                          markedSheet(128, 192, 4, 2), markedSheet(128, 192, 4, 3)}, 2, XP), 0);
    CharacterData doc;
    doc.addElement("", 0);
    doc.addElement("", 1);
    doc.setSource("lib.elsk?3_7", 0);
    doc.setSource("lib.elsk?3", 1);
    spoil(doc, 0);
    spoil(doc, 1);
    QVERIFY(doc.reloadElements());
    for (int e = 0; e < 2; ++e)
      for (int c = 0; c < 16; ++c) {
        QCOMPARE(uint(doc.image(e, c).pixel(0, 0)), 0xFF000000u | 3u << 8 | uint(c));
        QCOMPARE(doc.offset(e, c), QPoint(c % 3 + 1, c % 5 + 2));
      }
    QCOMPARE(doc.source(0), std::string("lib.elsk?3_7"));
    QCOMPARE(questionsAsked, 0);
  }

  void vxElementFileIsConvertedWithoutAsking()
  {
    QCOMPARE(saveElementFile("vx.elsk", {markedSheet(96, 192, 3, 5)}, 0, VX), 0);
    CharacterData doc;
    doc.addElement("", 0);
    doc.setSource("vx.elsk?0_1", 0);
    spoil(doc, 0);
    QVERIFY(doc.reloadAllElements());
    QCOMPARE(questionsAsked, 0);
    // XP row 1 = VX cells 4, 3, 4, 5
    const int from[] = {4, 3, 4, 5};
    for (int k = 0; k < 4; ++k)
      QCOMPARE(uint(doc.image(0, 4 + k).pixel(0, 0)), 0xFF000500u | uint(from[k]));
  }

  void imageSourceMatchesAdding()
  {
    QVERIFY(markedSheet(256, 384, 4, 9).save("big.png"));
    CharacterData added;
    QVERIFY(added.addElementFromImageFile("big.png"));
    CharacterData doc = added;
    spoil(doc, 0);
    doc.setSelectedCells({2, 7});
    doc.setSelectedElements({0});
    QVERIFY(doc.reloadElements());
    for (int c = 0; c < 16; ++c) {
      const bool inScope = c == 2 || c == 7;
      QCOMPARE(doc.image(0, c) == added.image(0, c), inScope);
      QCOMPARE(doc.offset(0, c) == added.offset(0, c), inScope);
    }
    QVERIFY(doc.reloadAllElements());
    for (int c = 0; c < 16; ++c) {
      QCOMPARE(doc.image(0, c), added.image(0, c));
      QCOMPARE(doc.offset(0, c), added.offset(0, c));
    }
  }

  void cellsWithoutElementsReloadEveryElement()
  {
    CharacterData doc;
    doc.addElement("", 0);
    doc.addElement("", 1);
    spoil(doc, 0);
    spoil(doc, 1);
    doc.setSelectedCells({3});
    QVERIFY(doc.reloadElements());
    QVERIFY(doc.selectedElements().empty());
    for (int e = 0; e < 2; ++e) {
      QCOMPARE(doc.image(e, 3).size(), QSize(32, 48));
      QCOMPARE(uint(doc.image(e, 3).pixel(31, 47)), uint(kBlankPixel));
      QCOMPARE(doc.offset(e, 3), QPoint(0, 0));
      QCOMPARE(doc.image(e, 4).size(), QSize(5, 5)); // out of scope
    }
  }

  void failures()
  {
    CharacterData doc;
    for (int i = 0; i < 5; ++i)
      doc.addElement("", i);
    doc.setSource("gone.elsk?0_1", 0);
    doc.setSource("gone.elsk?1_1", 1);
    doc.setSource("gone.png", 2);
    doc.setSource("gone.png", 3);
    spoil(doc, 4); // a drawing element: always reloads
    doc.errorMessage() = "avant";
    QVERIFY(!doc.reloadAllElements());
    QCOMPARE(doc.errorMessage(), std::string("Certains éléments n'ont pas pu être ouverts.|gone.elsk|gone.png|gone.png"));
    QCOMPARE(doc.image(4, 0).size(), QSize(32, 48));

    CharacterData ok;
    ok.addElement("", 0);
    ok.errorMessage() = "avant";
    QVERIFY(ok.reloadAllElements());
    QCOMPARE(ok.errorMessage(), std::string("avant"));

    QCOMPARE(saveElementFile("two.elsk", {markedSheet(128, 192, 4, 0)}, 0, XP), 0);
    CharacterData beyond;
    beyond.addElement("", 0);
    beyond.addElement("", 1);
    beyond.setSource("two.elsk?1_0", 0); // the file holds one element
    beyond.setSource("two.elsk?99999999999999999999", 1);
    QVERIFY(!beyond.reloadAllElements());
    QCOMPARE(beyond.errorMessage(), std::string("Certains éléments n'ont pas pu être ouverts.|two.elsk"));
  }

  void layoutQuestion_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<int>("asked");
    QTest::newRow("xp, vx library") << 0 << "elements/VX/a.png" << false << 1;
    QTest::newRow("vx, xp library") << 1 << "elements/XP/a.png" << false << 1;
    QTest::newRow("xp, xp library") << 0 << "elements/XP/a.png" << false << 0;
    QTest::newRow("middle, selection") << 0 << "lib/elements/VX/a.png" << false << 1;
    QTest::newRow("middle, everything") << 0 << "lib/elements/VX/a.png" << true << 0;
    QTest::newRow("start, everything") << 0 << "elements/VX/a.png" << true << 1;
  }

  void layoutQuestion()
  {
    QFETCH(int, type);
    QFETCH(QString, source);
    QFETCH(bool, whole);
    QFETCH(int, asked);
    QVERIFY(QDir().mkpath(QFileInfo(source).path()));
    QVERIFY(markedSheet(type == XP ? 96 : 128, 192, type == XP ? 3 : 4, 1).save(source));
    CharacterData doc(type, QSize(type == XP ? 128 : 96, 192));
    doc.addElement("", 0);
    doc.addElement("", 1);
    doc.setSource(source.toStdString(), 0);
    doc.setSource(source.toStdString(), 1);
    if (!whole)
      doc.setSelectedElements({0, 1});
    QVERIFY(doc.reloadElements(askLayoutConversion));
    QCOMPARE(questionsAsked, 2 * asked);
    QVERIFY(doc.reloadElements()); // no one to ask: nothing asked
    QCOMPARE(questionsAsked, 2 * asked);
    if (asked)
      QCOMPARE(lastQuestion, "Restauration|" + source +
                                 (type == XP ? " semble être un élément de VX. Faut-il le reconvertir vers XP ?"
                                             : " semble être un élément de XP. Faut-il le reconvertir vers VX ?"));
  }

  void yesConvertsTheSheet()
  {
    // A VX sheet in an XP character: converted, XP row 1 = VX cells 4, 3, 4, 5.
    QVERIFY(QDir().mkpath("elements/VX"));
    QVERIFY(markedSheet(96, 192, 3, 6).save("elements/VX/b.png"));
    answerQuestions(QMessageBox::Yes);
    CharacterData doc;
    doc.addElement("", 0);
    doc.setSource("elements/VX/b.png", 0);
    QVERIFY(doc.reloadAllElements(askLayoutConversion));
    QCOMPARE(questionsAsked, 1);
    const int from[] = {4, 3, 4, 5};
    for (int k = 0; k < 4; ++k) {
      QCOMPARE(uint(doc.image(0, 4 + k).pixel(0, 0)), 0xFF000600u | uint(from[k]));
      QCOMPARE(doc.offset(0, 4 + k), QPoint(from[k] % 3 + 1, from[k] % 5 + 2));
      QCOMPARE(uint(doc.image(0, 0).pixel(0, 0)) >> 24, 0xFFu);
    }
  }

  void questionMarkInThePath()
  {
    QVERIFY(QDir().mkpath("a?b"));
    QCOMPARE(saveElementFile("a?b/x.elsk", {markedSheet(128, 192, 4, 0), markedSheet(128, 192, 4, 1)}, 0, XP), 0);
    CharacterData doc;
    doc.addElement("", 0);
    doc.setSource("a?b/x.elsk?1_2", 0);
    spoil(doc, 0);
    QVERIFY(doc.reloadAllElements());
    QCOMPARE(uint(doc.image(0, 6).pixel(0, 0)), 0xFF000106u);
  }
};

SK_TEST_MAIN(TestReload)
#include "test_reload.moc"
