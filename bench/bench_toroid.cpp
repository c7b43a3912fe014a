// Timings of the toroid series: a 20 x 20 table with its breakdown voltages, and one
// toroid (capacitance and maximum field) as its tube closes the hole (D -> 2d), where
// the number of terms grows like 1/sqrt(q - 1) until the step limit stops it.
#include <benchmark/benchmark.h>

#include <cmath>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/toroid.h"
#include "electrostatics/toroid_command.h"
#include "numerics/library_namespaces.h"

namespace {

class NullReport : public ReportSink {
 public:
  void Append(std::string_view) override {}
};

void BM_ToroidTable20x20WithVoltages(benchmark::State& state) {
  // D from 0.5 to 2 m, d from 0.05 to 0.5 m: 400 toroids, a few of them without a hole.
  ToroidTableRanges t;
  t.D1 = 0.5L;
  t.D2 = 2.0L;
  t.d1 = 0.05L;
  t.d2 = 0.5L;
  t.I = 20;
  t.J = 20;
  t.CBvolt = true;
  NullReport none;
  const Extended e0 = Eps0();
  for (auto _ : state) {
    std::string text = ToroidTableText(t, e0, 3000, none);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_ToroidTable20x20WithVoltages)->Unit(benchmark::kMillisecond);

// D = 2d (1 + 10^-k), d = 0.3 m: q - 1 is about 2 10^-k. At k = 11 (D = 2d (1 + 2e-11),
// just inside the hole margin) both series run into the 1 000 001-step limit: the worst
// case a single toroid can take.
void BM_ToroidTowardTheHornTorus(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0));
  const Extended eps = k < 11 ? std::pow(10.0L, -k) : 2e-11L;
  const Extended d = 0.3L, D = 2 * d * (1 + eps);
  NullReport none;
  const Extended e0 = Eps0();
  ToroidSeries C, E;
  for (auto _ : state) {
    C = ExactToroidCapacitanceSeries(D, d, e0, {false, true}, none);
    E = ExactToroidMaxFieldSeries(D, d, {false, true}, none);
    benchmark::DoNotOptimize(C);
    benchmark::DoNotOptimize(E);
  }
  state.counters["capSteps"] = C.steps;
  state.counters["fieldSteps"] = E.steps;
}
BENCHMARK(BM_ToroidTowardTheHornTorus)->DenseRange(1, 11, 1)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The table at its term budget: 249 cells next to the horn torus with their voltages,
// both series of each at the step limit (4.98e8 terms). The counter is the bound the
// command priced the table at.
void BM_ToroidTableAtTheTermBudget(benchmark::State& state) {
  ToroidTableRanges t;
  t.D1 = 0.60000000001L;
  t.D2 = 0.600000000015L;
  t.d1 = t.d2 = 0.3L;
  t.I = 249;
  t.J = 1;
  t.CBvolt = true;
  NullReport none;
  for (auto _ : state) {
    std::string text = ToroidTableText(t, Eps0(), 3000, none);
    benchmark::DoNotOptimize(text);
  }
  state.counters["terms"] = static_cast<double>(ToroidTableTerms(t));
}
BENCHMARK(BM_ToroidTableAtTheTermBudget)->Unit(benchmark::kSecond)->Iterations(1);

// Pricing the largest table of ordinary toroids (2236 x 2236 with voltages) before it
// is computed.
void BM_ToroidTableTermsOfTheLargestTable(benchmark::State& state) {
  const ToroidTableRanges t{0.5L, 2.0L, 0.05L, 0.5L, 2236, 2236, true};
  std::int64_t terms = 0;
  for (auto _ : state) benchmark::DoNotOptimize(terms = ToroidTableTerms(t));
  state.counters["terms"] = static_cast<double>(terms);
}
BENCHMARK(BM_ToroidTableTermsOfTheLargestTable)->Unit(benchmark::kMillisecond);

}  // namespace
