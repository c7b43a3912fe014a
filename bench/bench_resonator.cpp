// Timings of the secondary's distributed model: the default secondary (1152 turns) over
// the ground plane with a toroid, at 100 and 400 sections, with the split between the
// sections' inductances, the nodes' capacitances and the eigenproblem as counters
// (seconds per run); and a long coil of many turns, where the inductances would cost
// most if they were summed turn by turn.
#include <benchmark/benchmark.h>

#include "resonator/resonator_model.h"
#include "numerics/library_namespaces.h"

namespace {

void Run(benchmark::State& state, const ResonatorInput& in) {
  double L = 0, C = 0, eig = 0;
  for (auto _ : state) {
    const std::optional<ResonatorResult> r = SolveResonator(in);
    if (!r) {
      state.SkipWithError("the model failed");
      return;
    }
    L += r->inductanceSeconds;
    C += r->capacitanceSeconds;
    eig += r->eigenSeconds;
    benchmark::DoNotOptimize(r->modes.front().frequency);
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["inductances_s"] = L / runs;
  state.counters["capacitances_s"] = C / runs;
  state.counters["eigenproblem_s"] = eig / runs;
}

void BM_ResonatorDefaultWithToroid(benchmark::State& state) {
  ResonatorInput in;
  in.coil = {1152, 0.32L, 0.044L, 0, 0.0002L};
  in.top = {TopLoadKind::Toroid, 0.3L, 0.08L, 0, 0.05L};
  in.sections = static_cast<std::int32_t>(state.range(0));
  Run(state, in);
}
BENCHMARK(BM_ResonatorDefaultWithToroid)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// 20000 turns of thin wire on a 2 m form.
void BM_ResonatorManyTurns(benchmark::State& state) {
  ResonatorInput in;
  in.coil = {20000, 2.0L, 0.1L, 0.1L, 0.00009L};
  in.sections = static_cast<std::int32_t>(state.range(0));
  Run(state, in);
}
BENCHMARK(BM_ResonatorManyTurns)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
