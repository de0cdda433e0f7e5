// What a user waits for on the canvas, painted as the window paints it: a
// canvas in a scroll area of 1024 x 768 shown offscreen, each step followed by
// the paint it asks for. A 60 Hz frame is 16.7 ms.
#include "bench/BenchData.h"
#include "canvas/QLayer.h"
#include "canvas/QLayerRender.h"
#include "canvas/QScrollLayer.h"
#include "ops/MoveDragView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <fstream>

namespace {

struct CanvasRig
{
  unsigned char tool;
  unsigned char rubberMode = 0;
  PenSettings pen;
  GradientHolder holder;
  DrawScope scope;
  QLayer* canvas = new QLayer(QStringLiteral("bench"), QSize(0, 0), XP, nullptr, nullptr, nullptr);
  QScrollLayer scroll{canvas};

  CanvasRig(unsigned char kind, const CharacterData& doc)
    : tool(kind)
  {
    canvas->setToolPointer(&tool);
    canvas->pen = &pen;
    canvas->gradientHolder = &holder;
    canvas->drawScope = &scope;
    canvas->rubberMode = &rubberMode;
    canvas->setCharacterData(doc);
    canvas->updateSize();
    scroll.resize(1024, 768);
    scroll.show();
    // Somewhere in the middle of a large picture.
    scroll.horizontalScrollBar()->setValue(scroll.horizontalScrollBar()->maximum() / 2);
    scroll.verticalScrollBar()->setValue(scroll.verticalScrollBar()->maximum() / 2);
    paint();
  }
  // A point of the viewport, in canvas coordinates.
  QPoint seen(const QPoint& inViewport) const { return inViewport - canvas->pos(); }
  void send(QEvent::Type type, const QPoint& at)
  {
    QMouseEvent event(type, at, at, Qt::LeftButton, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
  }
  static void paint() { QCoreApplication::processEvents(); }
};

// Press at start, then one pointer move per iteration, dx pixels each way,
// each followed by its paint; release at the end.
void pointerSteps(benchmark::State& state, CanvasRig& rig, const QPoint& start, int dx)
{
  rig.send(QEvent::MouseButtonPress, start);
  rig.paint();
  int step = 0;
  for (auto _ : state) {
    rig.send(QEvent::MouseMove, start + QPoint((++step & 1) ? dx : 0, 0));
    rig.paint();
  }
  rig.send(QEvent::MouseButtonRelease, start);
}

CharacterData zoomed(CharacterData doc, double zoom, std::vector<int> elements)
{
  doc.setZoom(zoom);
  doc.setSelectedElements(elements);
  return doc;
}

// One pointer move with the pen, one sheet pixel each way: a footprint and
// its mark.
void BM_PenStep(benchmark::State& state)
{
  const int side = static_cast<int>(state.range(0));
  CanvasRig rig(PenTool, zoomed(bench::makeXpCharacter(1, 1, QSize(side, side)), 16, {0}));
  pointerSteps(state, rig, rig.seen(QPoint(500, 400)), 16);
}

// The move drag at zoom 16 over 255 elements of 384 x 256, the middle one
// moving.
void BM_MoveDragStepZoom16(benchmark::State& state)
{
  CanvasRig rig(MoveTool, zoomed(bench::makeXpCharacter(255, 1, QSize(384, 256)), 16, {127}));
  pointerSteps(state, rig, rig.seen(QPoint(500, 400)), 16);
}

// At zoom 4 on the 128 x 192 sheet of 255 elements, all of it in view: the
// top (1), middle (0) or bottom (2) element moving.
void BM_MoveDragStepZoom4(benchmark::State& state)
{
  const int which = static_cast<int>(state.range(0));
  CanvasRig rig(MoveTool, zoomed(bench::makeXpCharacter(255), 4, {which == 1 ? 254 : which == 2 ? 0 : 127}));
  pointerSteps(state, rig, QPoint(200, 200), 4);
}

// The same step's composition alone, at sheet scale, without the paint.
void BM_MoveDragSheetOnly(benchmark::State& state)
{
  CharacterData doc = zoomed(bench::makeXpCharacter(255, 1, QSize(384, 256)), 16, {127});
  const MoveDragView view(doc);
  int step = 0;
  for (auto _ : state) {
    doc.moveCells(QPoint((++step & 1) ? 1 : -1, 0));
    QImage sheet = view.sheet(doc);
    benchmark::DoNotOptimize(sheet);
  }
}

long residentMegabytes()
{
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * 4096 / (1024 * 1024);
}

// From 1 to 16 on a large image sheet; the counter is what the process holds
// more once zoomed.
void BM_ZoomStepTo16(benchmark::State& state)
{
  CanvasRig rig(SelectTool, zoomed(bench::makeXpCharacter(1, 1, QSize(4864, 3328)), 1, {}));
  long grown = 0;
  for (auto _ : state) {
    const long before = residentMegabytes();
    rig.canvas->setZoom(16);
    rig.canvas->updateSize();
    rig.paint();
    grown = std::max(grown, residentMegabytes() - before);
    state.PauseTiming();
    rig.canvas->setZoom(1);
    rig.canvas->updateSize();
    rig.paint();
    state.ResumeTiming();
  }
  state.counters["grownMB"] = double(grown);
}

// A tick of the "Rendu" preview when nothing changed, 255 elements on a
// 256 x 384 sheet.
void BM_PreviewTick(benchmark::State& state)
{
  CharacterData doc = bench::makeXpCharacter(255, 1, QSize(256, 384));
  QLayerRender render(&doc, nullptr);
  for (int i = 0; i < 4; ++i)
    render.refresh(); // each step's frames, once
  for (auto _ : state)
    render.refresh();
}

} // namespace

BENCHMARK(BM_PenStep)->ArgName("side")->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MoveDragStepZoom16)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MoveDragStepZoom4)->ArgName("moved")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MoveDragSheetOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZoomStepTo16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_PreviewTick)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
  return bench::runBenchmarks<QApplication>(argc, argv);
}
