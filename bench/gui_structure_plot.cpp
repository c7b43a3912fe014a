// The structure window's plots as the window paints them: every block filled on the
// backing image of the drawing area.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "electrostatics/structure_plot.h"
#include "electrostatics/structure_view.h"
#include "platform/image_canvas.h"
#include "numerics/library_namespaces.h"

namespace {

void EnsureGuiApplication() {
  static int argc = 1;
  static char name[] = "quor-bench";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app;
  if (!QCoreApplication::instance()) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
}

void PaintSample(benchmark::State& state, bool fast) {
  EnsureGuiApplication();
  VectorReport msg;
  const StructureDescription d = ParseDescription(StructureSampleLines(), msg);
  const StructureResults r = CalculateStructure(d, false, BreakdownField{}, msg, nullptr);
  ImageCanvas canvas(kStructureAreaSize, kStructureAreaSize);
  const ScreenMapping view = DrawStructureView(canvas, d.view, d.elements);
  const FieldPlot plot(r.rings, r.eps0, PlotQuantity::Potential,
                       PlotScaleOf(PlotQuantity::Potential, d.VMin, d.VMax, 1), d.palette, view,
                       canvas.Width(), canvas.Height(), fast);
  PlotControl control;
  control.workers = PlotWorkers();
  for (auto _ : state) {
    benchmark::DoNotOptimize(PlotField(canvas, plot, true, control));
    benchmark::DoNotOptimize(canvas.Image());
  }
}

void BM_GuiPlotFastSample_ImageCanvas(benchmark::State& state) { PaintSample(state, true); }
BENCHMARK(BM_GuiPlotFastSample_ImageCanvas)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GuiPlotSinglePixelSample_ImageCanvas(benchmark::State& state) {
  PaintSample(state, false);
}
BENCHMARK(BM_GuiPlotSinglePixelSample_ImageCanvas)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
