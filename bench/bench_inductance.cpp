// Timings of the segment sums of the main window with its default coils, against the
// direct double loops (one term per segment pair, as the formulas read) measured on
// reduced cases and reported per term, so that the direct cost of the full case is
// the per-term figure times its number of terms.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "../tests/transformer/literal_reference.h"
#include "numerics/canvas.h"
#include "numerics/report.h"
#include "transformer/context.h"
#include "transformer/maxwell.h"
#include "transformer/mutual.h"
#include "numerics/library_namespaces.h"

namespace {

struct Rig {
  VectorReport report;
  NullCanvas canvas{kArrangementSize, kArrangementSize};
  TransformerContext ctx{report, canvas};
  Rig() {
    ReadTransformerInputs(TransformerDefaults(), ctx.coils);
    PaintArrangement(canvas, ctx.coils, ctx.map);
    ctx.pump = [] {};  // a pump is called once per outer segment, as in the window
  }
};

void PerTerm(benchmark::State& state, double terms) {
  state.counters["terms"] = terms;
  // Seconds per term (printed with an SI prefix: 20n is 20 ns).
  state.counters["per_term"] = benchmark::Counter(
      terms, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Default secondary with "Circular turns" off: 1152 turns, 2000 segments per turn,
// n*nsm^2 = 4.6e9 terms written directly.
void BM_MaxwellSolenoid_DefaultSecondary(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig;
    benchmark::DoNotOptimize(
        MaxwellSolenoid(rig.ctx, 2000, 1152, 0.32L, 0.044L, 0.044L, 0, 0.0002L));
  }
}
BENCHMARK(BM_MaxwellSolenoid_DefaultSecondary)->Unit(benchmark::kMillisecond);

// The direct form on 2 turns of the same helix (8e6 terms).
void BM_MaxwellSolenoid_Direct2Turns(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(literal::MaxwellSolenoid(2000, 2, 0.32L / 576, 0.044L, 0, 0.0002L));
  PerTerm(state, 2.0 * 2000 * 2000);
}
BENCHMARK(BM_MaxwellSolenoid_Direct2Turns)->Unit(benchmark::kMillisecond)->Iterations(1);

// Default primary as a true helix: 12 turns, 2000 segments per turn.
void BM_MaxwellSolenoid_DefaultPrimary(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig;
    benchmark::DoNotOptimize(MaxwellSolenoid(rig.ctx, 2000, 12, 0.1L, 0.1L, 0.1L, 0, 0.001L));
  }
}
BENCHMARK(BM_MaxwellSolenoid_DefaultPrimary)->Unit(benchmark::kMillisecond);

// The default primary with 12.5 turns goes to the general routine; constant radius
// reduces it to sums over segment differences.
void BM_MaxwellGeneralCoil_Solenoid12p5(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig;
    benchmark::DoNotOptimize(
        MaxwellGeneralCoil(rig.ctx, 2000, 12.5L, 0.1L, 0.1L, 0.1L, 0, 0.001L));
  }
}
BENCHMARK(BM_MaxwellGeneralCoil_Solenoid12p5)->Unit(benchmark::kMillisecond);

// A 12-turn flat spiral (0.05 to 0.15 m) at 2000 segments per turn: (N*nsm)^2 = 5.8e8
// terms, rows summed on worker threads.
void BM_MaxwellGeneralCoil_FlatSpiral(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig;
    benchmark::DoNotOptimize(MaxwellGeneralCoil(rig.ctx, 2000, 12, 0, 0.05L, 0.15L, 0, 0.001L));
  }
  PerTerm(state, 24000.0 * 24000.0);
}
BENCHMARK(BM_MaxwellGeneralCoil_FlatSpiral)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The direct form of the same spiral on one thread (tables of midpoint cosines, one
// running sum), 1 turn only: 4e6 terms.
void BM_MaxwellGeneralCoil_FlatSpiralDirect1Turn(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(
        literal::MaxwellGeneralCoil(2000, 1, 0, 0.05L, 0.05L + 0.1L / 12, 0, 0.001L, true));
  PerTerm(state, 2000.0 * 2000.0);
}
BENCHMARK(BM_MaxwellGeneralCoil_FlatSpiralDirect1Turn)->Unit(benchmark::kMillisecond)->Iterations(1);

// Mutual inductance of the default coils, 20 segments per turn: 240 x 23040 terms.
void BM_MutualSolenoids_Default(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig;
    MutualSolenoids(rig.ctx, 20, 20);
    benchmark::DoNotOptimize(rig.ctx.coils.M);
  }
  PerTerm(state, 240.0 * 23040.0);
}
BENCHMARK(BM_MutualSolenoids_Default)->Unit(benchmark::kMillisecond);

void BM_MutualSolenoids_DirectCosine(benchmark::State& state) {
  Rig rig;
  for (auto _ : state) benchmark::DoNotOptimize(literal::MutualSolenoids(rig.ctx.coils, 20, 20));
  PerTerm(state, 240.0 * 23040.0);
}
BENCHMARK(BM_MutualSolenoids_DirectCosine)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_MutualGeneralCoils_Default(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig;
    MutualGeneralCoils(rig.ctx, 20, 20);
    benchmark::DoNotOptimize(rig.ctx.coils.M);
  }
  PerTerm(state, 240.0 * 23040.0);
}
BENCHMARK(BM_MutualGeneralCoils_Default)->Unit(benchmark::kMillisecond);

void BM_MutualCircularTurns_Default(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig;
    MutualCircularTurns(rig.ctx);
    benchmark::DoNotOptimize(rig.ctx.coils.M);
  }
}
BENCHMARK(BM_MutualCircularTurns_Default)->Unit(benchmark::kMillisecond);

void BM_MaxwellSolenoidCircular_DefaultSecondary(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig;
    benchmark::DoNotOptimize(
        MaxwellSolenoidCircular(rig.ctx, 1152, 0.32L, 0.044L, 0.044L, 0, 0.0002L));
  }
}
BENCHMARK(BM_MaxwellSolenoidCircular_DefaultSecondary)->Unit(benchmark::kMillisecond);

}  // namespace
