// Colour plots of the structure window, computed through the function the window
// calls on a canvas that draws nothing: the potential in single pixels over a
// structure of 500 rings, and the fast plot (5 x 5 blocks) of the window's sample, each
// on every core and on the calling thread alone. The pictures are the same either way.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "electrostatics/structure_plot.h"
#include "electrostatics/structure_view.h"
#include "numerics/library_namespaces.h"

namespace {

struct Calculated {
  StructureDescription d;
  StructureResults results;
};

// The two-plate capacitor of the window's sample with 500 rings in all.
const Calculated& FiveHundredRings() {
  static const Calculated c = [] {
    Calculated c;
    VectorReport msg;
    c.d = ParseDescription({"Ltop terminal 84 0 1 1 1", "Lbottom terminal 83 0 0.5 1 0.5",
                            "Cedge terminal 83 1 0.75 0.25 -90 90", "Ltop base 84 0 -1 1 -1",
                            "Lbottom base 83 0 -0.5 1 -0.5", "Cedge base 83 1 -0.75 0.25 -90 90",
                            ".v base -1"},
                           msg);
    c.results = CalculateStructure(c.d, false, BreakdownField{}, msg, nullptr);
    return c;
  }();
  return c;
}

const Calculated& Sample() {
  static const Calculated c = [] {
    Calculated c;
    VectorReport msg;
    c.d = ParseDescription(StructureSampleLines(), msg);
    c.results = CalculateStructure(c.d, false, BreakdownField{}, msg, nullptr);
    return c;
  }();
  return c;
}

void Plot(benchmark::State& state, const Calculated& c, bool fast, unsigned workers) {
  if (!c.results.completed) state.SkipWithError("calculation did not finish");
  NullCanvas canvas(kStructureAreaSize, kStructureAreaSize);
  const ScreenMapping view = StructureViewTransform(c.d.view, canvas.Width(), canvas.Height());
  const FieldPlot plot(c.results.rings, c.results.eps0, PlotQuantity::Potential,
                       PlotScaleOf(PlotQuantity::Potential, c.d.VMin, c.d.VMax, 1),
                       c.d.palette, view, canvas.Width(), canvas.Height(), fast);
  PlotControl control;
  control.workers = workers;
  for (auto _ : state) benchmark::DoNotOptimize(PlotField(canvas, plot, true, control));
}

void BM_PlotSinglePixel500Rings(benchmark::State& state) {
  Plot(state, FiveHundredRings(), false, PlotWorkers());
}
BENCHMARK(BM_PlotSinglePixel500Rings)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

void BM_PlotSinglePixel500RingsOneThread(benchmark::State& state) {
  Plot(state, FiveHundredRings(), false, 0);
}
BENCHMARK(BM_PlotSinglePixel500RingsOneThread)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

void BM_PlotFastSample(benchmark::State& state) { Plot(state, Sample(), true, PlotWorkers()); }
BENCHMARK(BM_PlotFastSample)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlotFastSampleOneThread(benchmark::State& state) { Plot(state, Sample(), true, 0); }
BENCHMARK(BM_PlotFastSampleOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
