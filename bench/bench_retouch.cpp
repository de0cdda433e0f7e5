// The retouch dialogs' previews on 255 VX elements of 384 x 256, as the canvas
// shows them: one preview step (the operation from the snapshot, then the
// canvas's repaint), and a burst of 30 "Teinte" values 33 ms apart, as held
// arrow keys send them, timed from the last value to its preview on screen.
#include "bench/BenchData.h"
#include "canvas/QLayer.h"
#include "canvas/QScrollLayer.h"
#include "core/TslShift.h"
#include "retouch/QTSLBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSpinBox>
#include <benchmark/benchmark.h>

namespace {

CharacterData makeVxCharacter(int elements)
{
  CharacterData data(VX, QSize(384, 256));
  const QSize cell = data.cellSize();
  bench::Lcg rng(1);
  std::vector<std::vector<QImage>> images(elements);
  for (auto& cells : images)
    for (int c = 0; c < data.cellCount(); ++c)
      cells.push_back(bench::makeSpriteCell(cell.width(), cell.height(), rng));
  data.setImages(images);
  data.setOffsets(std::vector<std::vector<QPoint>>(elements, std::vector<QPoint>(data.cellCount())));
  data.setElementNames(std::vector<std::string>(elements, "Elément"));
  data.setElementSources(std::vector<std::string>(elements, ""));
  data.setVisibility(std::vector<bool>(elements, true));
  return data;
}

struct Rig
{
  QLayer* canvas = new QLayer(QStringLiteral("bench"), QSize(0, 0), VX, nullptr, nullptr, nullptr);
  QScrollLayer scroll{canvas};
  CharacterData* doc = nullptr;
  CharacterData original = makeVxCharacter(255);

  Rig()
  {
    canvas->setCharacterData(original);
    canvas->updateSize();
    scroll.resize(1024, 768);
    scroll.show();
    doc = canvas->characterData();
    doc->saveSnapshot();
    QCoreApplication::processEvents();
  }
  void show()
  {
    canvas->refresh();
    QCoreApplication::processEvents();
  }
};

// kind: 0 resize, 1 resize with "Lissage", 2 rotate, 3 rotate with
// "Lissage", 4 hue/saturation/lightness. Each step a new value.
void BM_PreviewStep(benchmark::State& state)
{
  const int kind = static_cast<int>(state.range(0));
  Rig rig;
  int step = 0;
  for (auto _ : state) {
    const int v = ++step % 20;
    if (kind < 2)
      rig.doc->resizeCells(0.5 + v * 0.07, 1.4 - v * 0.04, true, kind == 1, true);
    else if (kind < 4)
      rig.doc->rotateCells(-170.0 + v * 17, kind == 3, true);
    else
      rig.doc->changeColoration(TslShift{float(v * 17 - 170), float(v * 5 - 50), float(20 - v * 2)}, false, true);
    rig.show();
  }
}
BENCHMARK(BM_PreviewStep)->ArgName("kind")->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

// The lag from the last of 30 values to the canvas showing it.
void BM_HueBurstLag(benchmark::State& state)
{
  Rig rig;
  auto* box = new QTSLBox(rig.canvas, nullptr, nullptr);
  box->show();
  QSpinBox* hue = box->findChildren<QSpinBox*>()[0];
  for (auto _ : state) {
    const int first = hue->value() > 0 ? -1 : 1; // up or down, away from the last burst
    CharacterData expected = rig.original;
    expected.saveSnapshot();
    expected.changeColoration(TslShift{float(first * 30), 0.f, 0.f}, false, true);
    const QImage last = expected.image(127, 5);
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i <= 30; ++i) {
      while (clock.elapsed() < i * 33)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      hue->setValue(first * i);
    }
    const qint64 lastChange = 30 * 33;
    while (rig.doc->image(127, 5) != last)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QCoreApplication::processEvents(); // the repaint of that preview
    state.SetIterationTime(double(clock.elapsed() - lastChange) / 1000.0);
  }
  box->close();
}
BENCHMARK(BM_HueBurstLag)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QApplication>(argc, argv);
}
