// The main window's Calculate end to end, through the run path the window takes, with
// a blank canvas and no event processing.
#include <benchmark/benchmark.h>

#include "numerics/canvas.h"
#include "transformer/driver.h"

namespace {

void Calculate(benchmark::State& state, const FieldValues& fields) {
  for (auto _ : state) {
    CommandEnv env;
    const Result r = RunCommand(TransformerFieldDefs(), &TransformerCommand, fields, env);
    benchmark::DoNotOptimize(r.values.data());
    if (r.lines.size() < 10) state.SkipWithError("calculation did not run");
  }
}

// Default coils, circular turns: ring sums with closed elliptic formulas.
void BM_CalculateDefault(benchmark::State& state) { Calculate(state, {}); }
BENCHMARK(BM_CalculateDefault)->Unit(benchmark::kMillisecond);

// Default coils with "Circular turns" off: true helices for both self-inductances
// (2000 segments per turn) and Neumann's integral for M.
void BM_CalculateTrueSpirals(benchmark::State& state) { Calculate(state, {{"CBel", "0"}}); }
BENCHMARK(BM_CalculateTrueSpirals)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
