// The window side of a long calculation: a million Report lines into the main
// window's text area, and the two million segments a true-spiral sum draws.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextDocument>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "numerics/report.h"
#include "platform/image_canvas.h"
#include "ui/quoru.h"
#include "numerics/library_namespaces.h"

namespace {

// One offscreen application for the whole benchmark program.
QApplication& App() {
  static int argc = 1;
  static char name[] = "quor-bench";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
  }();
  return *app;
}
// Widgets need a QApplication, not just a QGuiApplication that another benchmark of
// this program would create on first use: make it before any benchmark runs.
const bool kApplicationMade = (App(), true);

void BM_ReportMillionLines(benchmark::State& state) {
  App();
  TForm1 form;
  form.show();
  QApplication::processEvents();
  const int lines = static_cast<int>(state.range(0));
  std::string line = "Wheeler primary inductance L1:    0.0299204849 mH <- used ";
  line.resize(60, '#');
  for (auto _ : state) {
    state.PauseTiming();
    form.Memo1->Clear();
    QApplication::processEvents();
    state.ResumeTiming();
    for (int i = 0; i < lines; ++i) ReportLine(form.Report(), line);
    form.Memo1->Flush();
    QApplication::processEvents();  // layout and paint of the last page
    benchmark::DoNotOptimize(form.Memo1->document()->blockCount());
  }
  state.counters["lines"] = form.Memo1->LineCount();
  state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_ReportMillionLines)->Arg(1000000)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_PolylineTwoMillionSegments(benchmark::State& state) {
  App();
  ImageCanvas canvas(297, 297);
  // Turns of a spiral as a true-spiral sum draws them: short segments, one polyline
  // per turn.
  std::vector<CanvasPoint> turn(2000);
  for (std::size_t i = 0; i < turn.size(); ++i) {
    const double a = 6.283185307179586 * static_cast<double>(i) / turn.size();
    turn[i] = {148 + static_cast<int>(100 * std::cos(a)),
               148 - static_cast<int>(30 * std::sin(a)) + static_cast<int>(i / 200)};
  }
  for (auto _ : state) {
    canvas.MoveTo(turn.back().x, turn.back().y);
    for (int t = 0; t < 1000; ++t) canvas.PolylineTo(turn.data(), turn.size());
    benchmark::DoNotOptimize(canvas.Image().constBits());
  }
  state.SetItemsProcessed(state.iterations() * 1000 * static_cast<std::int64_t>(turn.size()));
}
BENCHMARK(BM_PolylineTwoMillionSegments)->Unit(benchmark::kMillisecond);

}  // namespace
