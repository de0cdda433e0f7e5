#include "tests/PromptRecorder.h"
#include "tests/TestMain.h"

#include "app/MainWindow.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerListSelectable.h"
#include "canvas/QLayerRender.h"
#include "core/IniSettings.h"
#include "model/UndoHistory.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

class TestMassSave : public QObject
{
  Q_OBJECT

private slots:
  // Ctrl+Shift+Alt+S, first with no character, then on a project opened by a
  // relative name, saving while the preview animates.
  void command()
  {
    IniSettings().setValue("Render", "periode", 50);
    IniSettings().setValue("Path", "pathSaveMassSKChar", QString("/gone"));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    PromptRecorder recorder;
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    QVERIFY(recorder.asked.isEmpty());

    QImage sheet(384, 576, QImage::Format_ARGB32); // each column of its own colour: so is each frame
    for (int x = 0; x < sheet.width(); ++x)
      for (int y = 0; y < sheet.height(); ++y)
        sheet.setPixel(x, y, 0xFF000000u | QRgb(0x402010 * (x / 96 + 1) + y / 3));
    CharacterData document;
    QVERIFY(document.addElementFromImage(sheet, "body.png") && document.saveProjectFile("hero.sk", 1));
    window.openSKDocument("hero.sk", true);
    QLayer* canvas = window.activeLayer();
    canvas->characterData()->setSelectedCells({1, 2});
    const CharacterData before(*canvas->characterData());
    const int steps = canvas->history()->count();

    QPointer<QDialog> shown;
    QStringList fields;
    QList<QImage> frames;
    recorder.dialogs = {[&](QDialog& dialog) -> int {
      shown = &dialog;
      dialog.show(); // as exec() would
      for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        fields << edit->text();
      dialog.findChild<QSpinBox*>()->setValue(5);
      auto* list = dialog.findChildren<QLayerListSelectable*>()[0];
      QTest::mouseClick(list, Qt::LeftButton, {}, list->listGeometry().hitBox(0).center());
      QTimer sampler;
      connect(&sampler, &QTimer::timeout, [&] { frames << window.layerRender->pixmap().toImage(); });
      sampler.start(10);
      for (const char* text : {"Ajouter", "Enregistrer"})
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
          if (b->text() == text)
            b->click();
      return QTest::qWaitFor([&] { return !dialog.isVisible(); }, 60000) ? QDialog::Rejected : 2;
    }};
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    QCOMPARE(recorder.titles(), QStringList{"Enregistrer sous différentes teintes..."});
    QVERIFY(shown.isNull()); // deleted
    QCOMPARE(fields.mid(0, 2), (QStringList{QDir::currentPath(), "hero"}));
    QCOMPARE(QDir().entryList({"hero0_*.png"}, QDir::Files).size(), 72);
    QVERIFY(std::any_of(frames.begin(), frames.end(), [&](const QImage& f) { return f != frames[0]; }));

    const CharacterData& after = *canvas->characterData();
    QVERIFY(!canvas->isModified() && canvas->history()->count() == steps);
    QVERIFY(after.images() == before.images() && after.offsets() == before.offsets());
    QVERIFY(after.selectedCells() == before.selectedCells() && after.selectedElements() == before.selectedElements());
  }
};

SK_TEST_MAIN(TestMassSave)
#include "test_masssave.moc"
