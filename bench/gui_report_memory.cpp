// The memory of the largest Report within the limits: a conical secondary of 2000
// turns whose Maxwell L is summed ring by ring writes one line per pair of its turns,
// 4 million lines, into the main window's Report. The counters are the resident set
// of the process (kB, from /proc/self/status) at the start, with the window made, at
// the peak of and after the first Calculate, and at the peak of and after a second
// one. Run it alone, so that no earlier benchmark has raised them (under a display,
// QT_QPA_PLATFORM=xcb xvfb-run -a ..., or offscreen):
//   quor-bench --benchmark_filter=ReportMemory
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <fstream>
#include <string>

#include "ui/quoru.h"

namespace {

// The value of a "Name:   1234 kB" line of /proc/self/status, in kB.
double StatusKb(const char* name) {
  std::ifstream status("/proc/self/status");
  const std::string key = std::string(name) + ":";
  for (std::string line; std::getline(status, line);)
    if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size()));
  return 0;
}

// Lowers the peak resident set (VmHWM) to the present one.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_ReportMemoryOfTheConicalListing(benchmark::State& state) {
  state.counters["rssStartKb"] = StatusKb("VmRSS");
  TForm1 form;
  form.show();
  QApplication::processEvents();
  const std::pair<const char*, const char*> coil[] = {
      {"En2", "2000"}, {"Eh2", "0.5"}, {"Es2", "0.1"}, {"Ewd2", "0.0002"}};
  for (const auto& [name, text] : coil)
    form.findChild<QLineEdit*>(QString::fromUtf8(name))->setText(QString::fromUtf8(text));
  auto calculate = [&form] {
    form.BcalcClick();
    form.Memo1->Flush();
    QApplication::processEvents();  // layout and paint of the last page
  };
  for (auto _ : state) {
    ResetPeak();
    state.counters["rssBeforeKb"] = StatusKb("VmRSS");
    calculate();
    state.counters["peakFirstKb"] = StatusKb("VmHWM");
    state.counters["rssAfterFirstKb"] = StatusKb("VmRSS");
    ResetPeak();
    calculate();
    state.counters["peakSecondKb"] = StatusKb("VmHWM");
    state.counters["rssAfterSecondKb"] = StatusKb("VmRSS");
  }
  state.counters["lines"] = form.Memo1->LineCount();
}
BENCHMARK(BM_ReportMemoryOfTheConicalListing)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
