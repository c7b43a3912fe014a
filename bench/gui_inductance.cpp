// The true-helix self-inductance of the default secondary as the main window runs it:
// drawing on the backing image of the arrangement view, with and without the
// toolkit's event processing once per outer segment.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "numerics/report.h"
#include "platform/image_canvas.h"
#include "platform/qt_event_pump.h"
#include "transformer/context.h"
#include "transformer/maxwell.h"
#include "numerics/library_namespaces.h"

namespace {

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "quor-bench";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app;
  if (!QCoreApplication::instance()) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
}

// No events at all; the toolkit's event processing on every outer segment; the same
// passed on at most every 10 ms.
enum class Pump { None, Qt, QtThrottled };

void RunDefaultSecondary(benchmark::State& state, Pump pump) {
  EnsureApplication();
  for (auto _ : state) {
    VectorReport report;
    ImageCanvas canvas(kArrangementSize, kArrangementSize);
    TransformerContext ctx(report, canvas);
    ReadTransformerInputs(TransformerDefaults(), ctx.coils);
    PaintArrangement(canvas, ctx.coils, ctx.map);
    ctx.pump = pump == Pump::None ? EventPump([] {})
               : pump == Pump::Qt ? QtEventPump()
                                  : ThrottledPump(QtEventPump());
    benchmark::DoNotOptimize(MaxwellSolenoid(ctx, 2000, 1152, 0.32L, 0.044L, 0.044L, 0, 0.0002L));
    benchmark::DoNotOptimize(canvas.Image());
  }
}

void BM_GuiMaxwellSolenoid_ImageCanvas(benchmark::State& state) {
  RunDefaultSecondary(state, Pump::None);
}
BENCHMARK(BM_GuiMaxwellSolenoid_ImageCanvas)->Unit(benchmark::kMillisecond);

void BM_GuiMaxwellSolenoid_ImageCanvasQtPump(benchmark::State& state) {
  RunDefaultSecondary(state, Pump::Qt);
}
BENCHMARK(BM_GuiMaxwellSolenoid_ImageCanvasQtPump)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_GuiMaxwellSolenoid_ImageCanvasThrottledQtPump(benchmark::State& state) {
  RunDefaultSecondary(state, Pump::QtThrottled);
}
BENCHMARK(BM_GuiMaxwellSolenoid_ImageCanvasThrottledQtPump)->Unit(benchmark::kMillisecond);

}  // namespace
