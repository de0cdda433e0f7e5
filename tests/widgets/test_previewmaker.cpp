// The preview makers of every window share one worker lane.
#include "tests/TestMain.h"

#include "widgets/PreviewMaker.h"

#include <QSignalSpy>
#include <QThread>

#include <atomic>

class TestPreviewMaker : public QObject
{
  Q_OBJECT

private slots:
  // A box closed while its picture is made, then opened again: the new
  // picture waits for the old one's end instead of being decoded beside it.
  void closedAndReopenedNeverDecodeAtOnce()
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
    QSignalSpy made(&reopened, &PreviewMaker::made);
    reopened.request(picture(0));
    QVERIFY(made.wait());
    QVERIFY(!overlapped);
  }
};

SK_TEST_MAIN(TestPreviewMaker)
#include "test_previewmaker.moc"
