#include "model/ElementFile.h"
#include "tests/TestFiles.h"
#include "tests/TestMain.h"
#include "widgets/PreviewMaker.h"
#include "widgets/QDropWidget.h"
#include "widgets/QOptionWidget.h"

#include <QLabel>
#include <QSignalSpy>
#include <QThread>

#include <atomic>

namespace {

QPixmap shownPreview(QDropWidget& dialog)
{
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (!label->pixmap().isNull())
      return label->pixmap();
  return QPixmap();
}

QImage sheet(int w, int h, QRgb colour)
{
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

} // namespace

class TestDropWidget : public QObject
{
  Q_OBJECT

private slots:
  void everyWayOutGivesAnAction_data()
  {
    QTest::addColumn<int>("way"); // a tile index, 4 Escape, 5 the close button
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("result");
    QTest::newRow("add") << 0 << 0 << int(QDialog::Accepted);
    QTest::newRow("open") << 1 << 1 << int(QDialog::Accepted);
    QTest::newRow("skip") << 2 << 2 << int(QDialog::Accepted);
    QTest::newRow("cancel") << 3 << 3 << int(QDialog::Rejected);
    QTest::newRow("escape") << 4 << 3 << int(QDialog::Rejected);
    QTest::newRow("close button") << 5 << 3 << int(QDialog::Rejected);
  }

  void everyWayOutGivesAnAction()
  {
    QFETCH(int, way);
    QFETCH(int, action);
    QFETCH(int, result);
    QDropWidget dialog(QStringLiteral("/tmp/x.PNG"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Glisser-Déplacer"));
    QCOMPARE(dialog.action, 3);
    dialog.setResult(-1);
    dialog.show();
    if (way < 4)
      QTest::mousePress(dialog.findChildren<QOptionWidget*>().at(way), Qt::LeftButton);
    else if (way == 4)
      QTest::keyClick(&dialog, Qt::Key_Escape);
    else
      dialog.close();
    QCOMPARE(dialog.action, action);
    QCOMPARE(dialog.result(), result);
    QVERIFY(!dialog.isVisible());
  }

  void previewIsStretchedTo64By96_data()
  {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QImage>("expected"); // null: no preview
    QImage tall = sheet(32, 256, 0xFF3366CC), wide = sheet(256, 32, 0xFFCC3366);
    QVERIFY(tall.save("tall.PNG", "PNG") && wide.save("wide.png", "PNG"));
    writeAll("bad.png", "not an image");
    // An accented name checks that the path reaches the reader as UTF-8.
    QVERIFY(saveElementFile("vert é.elsk", {sheet(128, 192, 0xFF00FF00)}, 0, 0) == 0);
    const QImage flattened = elementFilePreviewImage("vert é.elsk");
    QVERIFY(!flattened.isNull());
    writeAll("bad.elsk", QByteArray(40, '\x7f'));
    QTest::newRow("tall png") << "tall.PNG" << tall;
    QTest::newRow("wide png") << "wide.png" << wide;
    QTest::newRow("unreadable png") << "bad.png" << QImage();
    QTest::newRow("element file") << QStringLiteral("vert é.elsk") << flattened;
    QTest::newRow("damaged element file") << "bad.elsk" << QImage();
    QTest::newRow("other file") << "tall.txt" << QImage();
  }

  void previewIsStretchedTo64By96()
  {
    QFETCH(QString, file);
    QFETCH(QImage, expected);
    QDropWidget dialog(QDir::current().filePath(file));
    QVERIFY(dialog.findChildren<QLabel*>().size() >= 4);
    if (auto* maker = dialog.findChild<PreviewMaker*>()) // made off the window's thread
      QVERIFY(QSignalSpy(maker, &PreviewMaker::made).wait());
    const QPixmap preview = shownPreview(dialog);
    QCOMPARE(preview.isNull(), expected.isNull());
    if (!expected.isNull()) {
      QCOMPARE(preview.size(), QSize(64, 96));
      QCOMPARE(preview.toImage(), QPixmap::fromImage(expected)
                                      .scaled(64, 96, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                      .toImage());
    }
    bool fileLineShown = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
      fileLineShown |= label->text() == QStringLiteral("<i>") + file + QStringLiteral("</i> ?");
    QVERIFY(fileLineShown);
    QTest::mousePress(dialog.skipOption, Qt::LeftButton);
    QCOMPARE(dialog.action, 2);
  }

  // A window closed while its picture is made, then opened again: the new
  // picture waits for the old one's end instead of being decoded beside it.
  void closedAndReopenedPreviewsNeverDecodeAtOnce()
  {
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    const auto picture = [&](unsigned long ms) {
      return [&, ms](const std::function<bool()>&) {
        overlapped = overlapped || ++running > 1;
        QThread::msleep(ms); // a decode that cannot be stopped
        --running;
        return QImage(1, 1, QImage::Format_ARGB32);
      };
    };
    auto* closed = new PreviewMaker(QSize(8, 8), PreviewMaker::Shrink, nullptr);
    closed->request(picture(300));
    QTRY_COMPARE(running.load(), 1);
    delete closed;
    PreviewMaker reopened(QSize(8, 8), PreviewMaker::Shrink, nullptr);
    reopened.request(picture(0));
    QVERIFY(QSignalSpy(&reopened, &PreviewMaker::made).wait());
    QVERIFY(!overlapped);
  }
};

SK_TEST_MAIN(TestDropWidget)
#include "test_dropwidget.moc"
