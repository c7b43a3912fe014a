// The main window's Calculate end to end, through the run path the window takes, with
// a blank canvas and no event processing.
#include <benchmark/benchmark.h>

#include "numerics/canvas.h"
#include "transformer/driver.h"
#include "numerics/library_namespaces.h"

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

// The largest work quor-cli admits of each kind, one run each: the README's table of
// limits quotes these times.
namespace {

// True helix L of a solenoid of 10^4 turns at 10^4 segments a turn: 10^8 segments.
void BM_CalculateBoundSolenoidSpiralL(benchmark::State& state) {
  Calculate(state, {{"CBel", "0"}, {"CBm", "0"}, {"CBML1", "0"}, {"Ensm", "10000"},
                    {"En2", "10000"}, {"Eh2", "1"}, {"Ewd2", "0.00005"}});
}
BENCHMARK(BM_CalculateBoundSolenoidSpiralL)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// True spiral L of a conical primary of 15.8 turns at 2000 segments a turn: 31600^2
// segment pairs, summed by the worker threads.
void BM_CalculateBoundConicalSpiralL(benchmark::State& state) {
  Calculate(state, {{"CBel", "0"}, {"CBm", "0"}, {"CBML2", "0"}, {"Es1", "0.12"}, {"En1", "15.8"}});
}
BENCHMARK(BM_CalculateBoundConicalSpiralL)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// Neumann's M of the default coils at 268 segments a turn each: 9.9e8 segment pairs.
void BM_CalculateBoundSpiralM(benchmark::State& state) {
  Calculate(state, {{"CBel", "0"}, {"CBML1", "0"}, {"CBML2", "0"}, {"Ens1", "268"}, {"Ens2", "268"}});
}
BENCHMARK(BM_CalculateBoundSpiralM)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The ring-by-ring L of a conical secondary of 2000 turns: 4e6 ring pairs and lines.
void BM_CalculateBoundConicalListing(benchmark::State& state) {
  Calculate(state, {{"CBm", "0"}, {"CBML1", "0"}, {"En2", "2000"}, {"Eh2", "0.5"}, {"Es2", "0.1"}});
}
BENCHMARK(BM_CalculateBoundConicalListing)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
