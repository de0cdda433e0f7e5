#include "tests/TestMain.h"

#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "widgets/QNewCharacter.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

namespace {

// The dialog deletes itself when it closes, so it always lives on the heap.
QNewCharacter* newDialog(int type)
{
  return new QNewCharacter(type, nullptr, QString(), false, nullptr, 0, 0);
}

QPushButton* button(QDialog* dialog, const QString& text)
{
  for (QPushButton* b : dialog->findChildren<QPushButton*>())
    if (b->text() == text)
      return b;
  return nullptr;
}

// Validates through the button, as the user does; returns the signal's
// arguments (empty when nothing was emitted, or when the dialog stays open).
QList<QVariant> validate(QNewCharacter* dialog)
{
  QSignalSpy spy(dialog, &QNewCharacter::validNewChar);
  QPointer<QNewCharacter> guard(dialog);
  QTest::mouseClick(button(dialog, "Valider"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  if (guard)
    return {"the dialog outlived its validation"};
  return spy.isEmpty() ? QList<QVariant>() : spy.takeFirst();
}

// A 128 x 192 XP sheet with one element, in a sub-window as the main window
// would show it.
struct Document
{
  QMdiArea area;
  QLayer* canvas;
  QScrollLayer* scroll;
  QMdiSubWindow* window;

  explicit Document(const QSize& size)
  {
    canvas = new QLayer("hero", size, XP, &area, nullptr, nullptr);
    QImage sheet(size, QImage::Format_ARGB32);
    sheet.fill(0xFF336699u);
    canvas->characterData()->addElementFromImage(sheet, "");
    scroll = new QScrollLayer(canvas);
    window = area.addSubWindow(scroll);
    window->setWindowTitle("hero");
  }
};

} // namespace

class TestNewCharacter : public QObject
{
  Q_OBJECT

private slots:
  void sizesGoDownToWholeCells_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("typedWidth");
    QTest::addColumn<int>("typedHeight");
    QTest::addColumn<QString>("cellWidth");
    QTest::addColumn<QString>("cellHeight");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("XP defaults") << 0 << 0 << 0 << "32" << "48" << 128 << 192;
    QTest::newRow("VX defaults") << 1 << 0 << 0 << "32" << "32" << 96 << 128;
    QTest::newRow("XP width 130") << 0 << 130 << 0 << "32" << "48" << 128 << 192;
    QTest::newRow("XP height 130") << 0 << 0 << 130 << "32" << "32" << 128 << 128;
    QTest::newRow("VX width 100") << 1 << 100 << 0 << "33" << "32" << 99 << 128;
    QTest::newRow("XP beyond range") << 0 << 600 << 10 << "128" << "16" << 512 << 64;
    QTest::newRow("VX beyond range") << 1 << 600 << 10 << "128" << "16" << 384 << 64;
  }

  void sizesGoDownToWholeCells()
  {
    QFETCH(int, type);
    QFETCH(int, typedWidth);
    QFETCH(int, typedHeight);
    QNewCharacter* dialog = newDialog(type);
    QCOMPARE(dialog->widthBox->suffix(), QString(" pixels"));
    if (typedWidth)
      dialog->widthBox->setValue(typedWidth);
    if (typedHeight)
      dialog->heightBox->setValue(typedHeight);
    QFETCH(QString, cellWidth);
    QCOMPARE(dialog->cellWidthLabel->text(), "Largeur d'une cellule : " + cellWidth + " pixels.");
    QFETCH(QString, cellHeight);
    QCOMPARE(dialog->cellHeightLabel->text(), "Hauteur d'une cellule : " + cellHeight + " pixels.");

    const QList<QVariant> args = validate(dialog);
    QFETCH(int, width);
    QFETCH(int, height);
    QCOMPARE(args.size(), 4);
    QCOMPARE(args[1].toInt(), width);
    QCOMPARE(args[2].toInt(), height);
    QCOMPARE(args[3].toInt(), type);
  }

  // The count is shared by both layouts and used up only by a validation.
  void proposedNamesCountValidatedCharacters()
  {
    const int start = QNewCharacter::untitledCount;
    QNewCharacter* first = newDialog(XP);
    QCOMPARE(first->nameEdit->text(), QString("Sans titre %1").arg(start + 1));
    QCOMPARE(first->nameEdit->selectedText(), first->nameEdit->text());
    QCOMPARE(first->messageLabel->text(),
             QString("<font color=\"#009900\">Choisissez les paramètres et validez.</font>"));
    QTest::mouseClick(button(first, "Annuler"), Qt::LeftButton);

    QNewCharacter* second = newDialog(VX);
    QCOMPARE(second->nameEdit->text(), QString("Sans titre %1").arg(start + 1));
    QCOMPARE(validate(second).value(0).toString(), QString("Sans titre %1").arg(start + 1));
    QNewCharacter* third = newDialog(XP);
    QCOMPARE(validate(third).value(0).toString(), QString("Sans titre %1").arg(start + 2));
    QNewCharacter* fourth = newDialog(VX);
    QCOMPARE(fourth->nameEdit->text(), QString("Sans titre %1").arg(start + 3));
    delete fourth;
  }

  void blankNamesCannotBeValidated()
  {
    QNewCharacter* dialog = newDialog(XP);
    QTest::keyClicks(dialog->nameEdit, "   ");
    QVERIFY(!dialog->validButton->isEnabled());
    QCOMPARE(dialog->messageLabel->text(), QString("<font color=\"#FF0000\">Le nom ne doit pas être vide.</font>"));
    QTest::keyClicks(dialog->nameEdit, "a ");
    QVERIFY(dialog->validButton->isEnabled());
    QCOMPARE(dialog->messageLabel->text(),
             QString("<font color=\"#009900\">Choisissez les paramètres et validez.</font>"));
    QCOMPARE(validate(dialog).value(0).toString(), QString("   a "));
  }

  void editModeResizesTheDocumentInPlace_data()
  {
    QTest::addColumn<QSize>("sheet");
    QTest::addColumn<int>("typedWidth");
    QTest::addColumn<int>("shownWidth");
    QTest::addColumn<QSize>("result");
    QTest::addColumn<QPoint>("moved");
    QTest::newRow("wider cells") << QSize(128, 192) << 160 << 128 << QSize(160, 192) << QPoint(4, 0);
    QTest::newRow("unchanged") << QSize(128, 192) << 0 << 128 << QSize(128, 192) << QPoint(0, 0);
    QTest::newRow("beyond range") << QSize(640, 192) << 0 << 512 << QSize(512, 192) << QPoint(-16, 0);
  }

  void editModeResizesTheDocumentInPlace()
  {
    QFETCH(QSize, sheet);
    QFETCH(int, typedWidth);
    Document doc(sheet);
    CharacterData* data = doc.canvas->characterData();
    const std::vector<QPoint> before = data->offsets(0);
    const int count = QNewCharacter::untitledCount;

    QNewCharacter* dialog = new QNewCharacter(XP, nullptr, doc.canvas->name(), true, doc.scroll, sheet.width(),
                                              sheet.height());
    QCOMPARE(dialog->windowTitle(), QString("Editer le character"));
    QFETCH(int, shownWidth);
    QCOMPARE(dialog->widthBox->value(), shownWidth);
    if (typedWidth)
      dialog->widthBox->setValue(typedWidth);
    dialog->nameEdit->setText("heroine");
    QCOMPARE(validate(dialog).size(), 0);

    QFETCH(QSize, result);
    QFETCH(QPoint, moved);
    QCOMPARE(data->size(), result);
    for (int cell = 0; cell < 16; ++cell)
      QCOMPARE(data->offset(0, cell), before[cell] + moved);
    QCOMPARE(doc.canvas->history()->count(), 1);
    QCOMPARE(doc.canvas->history()->label(0), std::string("Changement de la taille des cellules"));
    QVERIFY(doc.canvas->isModified());
    QCOMPARE(doc.canvas->name(), QString("heroine"));
    QCOMPARE(doc.window->windowTitle(), QString("heroine*"));
    QCOMPARE(doc.canvas->size(), doc.canvas->pixmap().size());
    QCOMPARE(QNewCharacter::untitledCount, count);
  }
};

SK_TEST_MAIN(TestNewCharacter)
#include "test_newcharacter.moc"
