#include "tests/TestMain.h"

#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "app/QNewCharacter.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

namespace {

const QString kGreen = "<font color=\"#009900\">Choisissez les paramètres et validez.</font>";

// Validates as the user does; returns the signal's arguments, empty when
// nothing was emitted or when the dialog outlived its validation (it deletes
// itself when closed).
QList<QVariant> validate(QNewCharacter* dialog)
{
  QSignalSpy spy(dialog, &QNewCharacter::validNewChar);
  QPointer<QNewCharacter> guard(dialog);
  dialog->validButton->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return guard || spy.isEmpty() ? QList<QVariant>() : spy.takeFirst();
}

} // namespace

class TestNewCharacter : public QObject
{
  Q_OBJECT

private slots:
  void sizesGoDownToWholeCells_data()
  {
    QTest::addColumn<int>("type");
    QTest::addColumn<QSize>("typed");
    QTest::addColumn<QString>("cells");
    QTest::addColumn<QSize>("sheet");
    QTest::newRow("XP defaults") << 0 << QSize() << "32 48" << QSize(128, 192);
    QTest::newRow("VX defaults") << 1 << QSize() << "32 32" << QSize(96, 128);
    QTest::newRow("XP width 130") << 0 << QSize(130, 192) << "32 48" << QSize(128, 192);
    QTest::newRow("XP height 130") << 0 << QSize(128, 130) << "32 32" << QSize(128, 128);
    QTest::newRow("VX width 100") << 1 << QSize(100, 128) << "33 32" << QSize(99, 128);
  }

  void sizesGoDownToWholeCells()
  {
    QFETCH(int, type);
    QFETCH(QSize, typed);
    QFETCH(QString, cells);
    QFETCH(QSize, sheet);
    QNewCharacter* dialog = new QNewCharacter(type, nullptr, QString(), false, nullptr, 0, 0);
    QCOMPARE(dialog->heightBox->suffix(), QString(" pixels"));
    if (typed.isValid()) {
      dialog->widthBox->setValue(typed.width());
      dialog->heightBox->setValue(typed.height());
    }
    QCOMPARE(dialog->cellWidthLabel->text(), "Largeur d'une cellule : " + cells.section(' ', 0, 0) + " pixels.");
    QCOMPARE(dialog->cellHeightLabel->text(), "Hauteur d'une cellule : " + cells.section(' ', 1, 1) + " pixels.");
    const QString name = dialog->nameEdit->text();
    QCOMPARE(validate(dialog), QList<QVariant>({name, sheet.width(), sheet.height(), type}));
  }

  // The number is shared by both layouts and used up only by a validation;
  // the name is sent as typed, spaces included.
  void namesAndTheirNumber()
  {
    const int n = QNewCharacter::untitledCount + 1;
    QNewCharacter* dialog = new QNewCharacter(XP);
    QCOMPARE(dialog->nameEdit->selectedText(), QString("Sans titre %1").arg(n));
    dialog->close();
    dialog = new QNewCharacter(VX);
    QCOMPARE(dialog->nameEdit->text(), QString("Sans titre %1").arg(n));
    QTest::keyClicks(dialog->nameEdit, "   ");
    QVERIFY(!dialog->validButton->isEnabled());
    QCOMPARE(dialog->messageLabel->text(), QString("<font color=\"#FF0000\">Le nom ne doit pas être vide.</font>"));
    QTest::keyClicks(dialog->nameEdit, "a ");
    QVERIFY(dialog->validButton->isEnabled());
    QCOMPARE(dialog->messageLabel->text(), kGreen);
    QCOMPARE(validate(dialog).value(0), QVariant("   a "));
    dialog = new QNewCharacter(XP);
    QCOMPARE(dialog->nameEdit->text(), QString("Sans titre %1").arg(n + 1));
    delete dialog;
  }

  void editModeResizesTheDocumentInPlace_data()
  {
    QTest::addColumn<int>("sheetWidth");
    QTest::addColumn<int>("typedWidth");
    QTest::addColumn<int>("shownWidth");
    QTest::addColumn<int>("newWidth");
    QTest::addColumn<int>("moved");
    QTest::newRow("wider cells") << 128 << 160 << 128 << 160 << 4;
    QTest::newRow("unchanged") << 128 << 0 << 128 << 128 << 0;
    QTest::newRow("beyond range") << 640 << 0 << 512 << 512 << -16;
  }

  void editModeResizesTheDocumentInPlace()
  {
    QFETCH(int, sheetWidth);
    QFETCH(int, typedWidth);
    QFETCH(int, shownWidth);
    QFETCH(int, newWidth);
    QFETCH(int, moved);
    QMdiArea area;
    QLayer* canvas = new QLayer("hero", QSize(sheetWidth, 192), XP, &area, nullptr, nullptr);
    CharacterData* data = canvas->characterData();
    QImage sheet(data->size(), QImage::Format_ARGB32);
    sheet.fill(0xFF336699u);
    QVERIFY(data->addElementFromImage(sheet, ""));
    const std::vector<QPoint> before = data->offsets(0);
    QScrollLayer* scroll = new QScrollLayer(canvas);
    QMdiSubWindow* window = area.addSubWindow(scroll);
    const int count = QNewCharacter::untitledCount;

    QNewCharacter* dialog = new QNewCharacter(XP, nullptr, "hero", true, scroll, sheetWidth, 192);
    QCOMPARE(dialog->windowTitle(), QString("Editer le character"));
    QCOMPARE(dialog->widthBox->value(), shownWidth);
    if (typedWidth)
      dialog->widthBox->setValue(typedWidth);
    dialog->nameEdit->setText("heroine");
    QVERIFY(validate(dialog).isEmpty());

    QCOMPARE(data->size(), QSize(newWidth, 192));
    for (int cell = 0; cell < 16; ++cell)
      QCOMPARE(data->offset(0, cell), before[cell] + QPoint(moved, 0));
    QCOMPARE(canvas->history()->count(), 1);
    QCOMPARE(canvas->history()->label(0), std::string("Changement de la taille des cellules"));
    QCOMPARE(canvas->name(), QString("heroine"));
    QCOMPARE(window->windowTitle(), QString("heroine*"));
    QCOMPARE(canvas->size(), canvas->viewSize());
    QCOMPARE(QNewCharacter::untitledCount, count);
  }
};

SK_TEST_MAIN(TestNewCharacter)
#include "test_newcharacter.moc"
