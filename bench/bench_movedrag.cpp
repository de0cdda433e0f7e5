// A move drag re-renders the canvas at every mouse move: one step (the
// offsets moved, then the view) against one full render of the same
// document for scale. A 60 Hz frame is 16.7 ms.
#include "bench/BenchData.h"
#include "canvas/QLayer.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace {

constexpr double kZoom = 4.0;

// What moves: 0 the middle element, 1 the top one, 2 the bottom one, all
// their cells; 3 nothing selected, so every cell of every element.
std::vector<int> movedElements(int which)
{
  switch (which) {
  case 0: return {127};
  case 1: return {254};
  case 2: return {0};
  default: return {};
  }
}

struct DragRig
{
  unsigned char tool = MoveTool;
  unsigned char rubberMode = 0;
  PenSettings pen;
  GradientHolder holder;
  DrawScope scope;
  QLayer canvas{QStringLiteral("bench"), QSize(0, 0), XP, nullptr, nullptr, nullptr};

  explicit DragRig(int which)
  {
    canvas.setToolPointer(&tool);
    canvas.pen = &pen;
    canvas.gradientHolder = &holder;
    canvas.drawScope = &scope;
    canvas.rubberMode = &rubberMode;
    CharacterData doc = bench::makeXpCharacter(255);
    doc.setZoom(kZoom);
    doc.setSelectedElements(movedElements(which));
    canvas.setCharacterData(doc);
    canvas.updateSize();
  }
  void send(QEvent::Type type, const QPoint& at)
  {
    QMouseEvent event(type, at, at, Qt::LeftButton, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &event);
  }
};

void BM_MoveDragStep(benchmark::State& state)
{
  DragRig rig(static_cast<int>(state.range(0)));
  const QPoint start(200, 200);
  rig.send(QEvent::MouseButtonPress, start);
  int step = 0;
  for (auto _ : state) {
    // One sheet pixel each way, so the drag stays in place.
    rig.send(QEvent::MouseMove, start + QPoint((++step & 1) ? int(kZoom) : 0, 0));
  }
  rig.send(QEvent::MouseButtonRelease, start);
}

// The press composes what does not move.
void BM_MoveDragPress(benchmark::State& state)
{
  DragRig rig(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    rig.send(QEvent::MouseButtonPress, QPoint(200, 200));
    state.PauseTiming();
    rig.send(QEvent::MouseButtonRelease, QPoint(200, 200));
    state.ResumeTiming();
  }
}

void BM_FullRender(benchmark::State& state)
{
  CharacterData doc = bench::makeXpCharacter(255);
  doc.setZoom(kZoom);
  for (auto _ : state) {
    QPixmap picture = doc.render();
    benchmark::DoNotOptimize(picture);
  }
}

void dragArgs(benchmark::internal::Benchmark* b)
{
  b->ArgNames({"moved"});
  for (int which = 0; which < 4; ++which)
    b->Args({which});
  b->Unit(benchmark::kMillisecond);
  b->UseRealTime();
}

} // namespace

BENCHMARK(BM_MoveDragStep)->Apply(dragArgs);
BENCHMARK(BM_MoveDragPress)->Apply(dragArgs);
BENCHMARK(BM_FullRender)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QApplication>(argc, argv);
}
