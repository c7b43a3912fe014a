// Timings of the straight-wire panel and the square spiral: the numerical double sum
// at the default 1000 segments (10^6 terms) and at the largest counts the panel takes,
// and the spiral at its default and at the largest number of turns.
#include <benchmark/benchmark.h>

#include "straight/spiral.h"
#include "straight/straight_wires.h"
#include "straight/wires.h"
#include "numerics/library_namespaces.h"

namespace {

// Every segment pair of the default wires: 1 m long, 0.1 m apart, 1000 segments.
void BM_NumericalParallelMutual_Default(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(NumericalParallelMutual(1000, 1.0L, 1.0L, 0.1L, 0.0L));
  state.counters["per_term"] = benchmark::Counter(
      1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NumericalParallelMutual_Default)->Unit(benchmark::kMillisecond);

// The largest full sum the panel runs (wires of different lengths): 10^8 terms.
void BM_NumericalParallelMutual_MaxSegments(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(NumericalParallelMutual(kMaxSegments, 1.0L, 0.7L, 0.1L, 0.2L));
}
BENCHMARK(BM_NumericalParallelMutual_MaxSegments)->Unit(benchmark::kMillisecond)->Iterations(1);

// Equal wires through their segment differences at 10^5 segments and at the limit.
void BM_NumericalEqualMutual(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(NumericalEqualMutual(n, 1.0L, 0.1L, 0.0L));
}
BENCHMARK(BM_NumericalEqualMutual)
    ->Arg(100000)
    ->Arg(kMaxEqualWireSegments)
    ->Unit(benchmark::kMillisecond);

// The whole Calculate of the straight-wire panel with its defaults.
void BM_StraightCommand_Default(benchmark::State& state) {
  for (auto _ : state) {
    CommandEnv env;
    benchmark::DoNotOptimize(RunCommand(StraightFieldDefs(), &StraightCommand, {}, env));
  }
}
BENCHMARK(BM_StraightCommand_Default)->Unit(benchmark::kMillisecond);

// The spiral's Calculate with turns 1 to n (about 4 n^2 side pairs).
void BM_SpiralCommand(benchmark::State& state) {
  const FieldValues fields = {{"Esn", std::to_string(state.range(0))}};
  for (auto _ : state) {
    CommandEnv env;
    benchmark::DoNotOptimize(RunCommand(SpiralFieldDefs(), &SpiralCommand, fields, env));
  }
}
BENCHMARK(BM_SpiralCommand)->Arg(2)->Arg(100)->Arg(kMaxSpiralTurns)->Unit(benchmark::kMillisecond);

}  // namespace
