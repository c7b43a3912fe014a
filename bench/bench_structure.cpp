// Calculate of the general structure window on 500 rings, through the function the
// window calls (no drawing), and its three costly parts timed apart on one thread:
// the fill of the potential coefficients (N(N+1)/2 complete integrals), the 80-bit
// Gauss-Jordan inversion (N^3) and the axial forces (N(N-1) third-kind integrals).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_description.h"
#include "numerics/matrix.h"
#include "numerics/library_namespaces.h"

namespace {

// The two-plate capacitor of the window's sample with 500 rings in all.
std::vector<std::string> FiveHundredRings() {
  return {"Ltop terminal 84 0 1 1 1",       "Lbottom terminal 83 0 0.5 1 0.5",
          "Cedge terminal 83 1 0.75 0.25 -90 90", "Ltop base 84 0 -1 1 -1",
          "Lbottom base 83 0 -0.5 1 -0.5",   "Cedge base 83 1 -0.75 0.25 -90 90",
          ".v base -1"};
}

std::vector<StructureRing> Rings() {
  VectorReport msg;
  return GenerateRings(ParseDescription(FiveHundredRings(), msg));
}

void Calculate(benchmark::State& state, int workers) {
  VectorReport parseMsg;
  const StructureDescription d = ParseDescription(FiveHundredRings(), parseMsg);
  const BreakdownField breakdown;
  for (auto _ : state) {
    VectorReport msg;
    const StructureResults r = CalculateStructure(d, false, breakdown, msg, nullptr, workers);
    if (!r.completed || r.rings.size() != 500) state.SkipWithError("calculation did not finish");
  }
}

void BM_StructureCalculate(benchmark::State& state) { Calculate(state, -1); }
BENCHMARK(BM_StructureCalculate)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StructureCalculateOneThread(benchmark::State& state) { Calculate(state, 0); }
BENCHMARK(BM_StructureCalculateOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void Fill(const std::vector<StructureRing>& rings, ExtMatrix& P, Extended eps0) {
  const int N = static_cast<int>(rings.size());
  for (int i = 1; i <= N; ++i)
    for (int j = i; j <= N; ++j) {
      const StructureRing &ri = rings[i - 1], &rj = rings[j - 1];
      P(i, j) = P(j, i) = j == i ? RingSelfCoefficient(ri.R, ri.Z, ri.a, eps0)
                                 : RingPotentialCoefficient(rj.R, rj.Z, ri.R, ri.Z, eps0);
    }
}

void BM_StructureFill(benchmark::State& state) {
  const std::vector<StructureRing> rings = Rings();
  ExtMatrix P(kMaxRings);
  for (auto _ : state) Fill(rings, P, Eps0());
}
BENCHMARK(BM_StructureFill)->Unit(benchmark::kMillisecond);

void BM_StructureInversion(benchmark::State& state) {
  const std::vector<StructureRing> rings = Rings();
  ExtMatrix P(kMaxRings);
  Fill(rings, P, Eps0());
  for (auto _ : state) {
    state.PauseTiming();
    ExtMatrix A = P;
    VectorReport msg;
    state.ResumeTiming();
    if (!InvertMatrix(static_cast<int>(rings.size()), A, msg, "n"))
      state.SkipWithError("singular");
  }
}
BENCHMARK(BM_StructureInversion)->Unit(benchmark::kMillisecond);

void BM_StructureForces(benchmark::State& state) {
  std::vector<StructureRing> rings = Rings();
  for (std::size_t i = 0; i < rings.size(); ++i) rings[i].q = (i < 250 ? 1e-12L : -1e-12L);
  for (auto _ : state) {
    Extended total = 0;
    for (const StructureRing& ri : rings)
      for (const StructureRing& rj : rings)
        if (&ri != &rj) total += RingAxialForce(ri.R, ri.Z, ri.q, rj.R, rj.Z, rj.q);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_StructureForces)->Unit(benchmark::kMillisecond);

}  // namespace
