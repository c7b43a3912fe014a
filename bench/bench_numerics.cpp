// Timings of the numerical kernels every calculation leans on: one AGM evaluation of
// K and E, one ring pair, and a full matrix inversion at the two capacities.
#include <benchmark/benchmark.h>

#include <array>
#include <random>

#include "numerics/elliptic.h"
#include "numerics/matrix.h"
#include "numerics/rings.h"
#include "numerics/library_namespaces.h"

namespace {

// Moduli as the ring sums produce them: mostly moderate, some close to 1 for
// neighbouring turns.
constexpr std::array<Extended, 8> kModuli = {0.05L, 0.2L, 0.45L, 0.6L,
                                             0.8L,  0.93L, 0.99L, 0.99998L};

void BM_EllipticKE(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    EllipticResult r = EllipticKE(kModuli[i]);
    benchmark::DoNotOptimize(r);
    i = (i + 1) % kModuli.size();
  }
}
BENCHMARK(BM_EllipticKE);

void BM_EllipticKEPi(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    EllipticResult r = EllipticKEPi(kModuli[i], 0.5L);
    benchmark::DoNotOptimize(r);
    i = (i + 1) % kModuli.size();
  }
}
BENCHMARK(BM_EllipticKEPi);

void BM_RingPairTerm(benchmark::State& state) {
  // Turns of a 0.05 m coil against turns of a 0.1 m coil at a range of heights.
  std::size_t i = 0;
  for (auto _ : state) {
    const Extended d = 0.003L * static_cast<Extended>(i);
    Extended t = RingPairTerm(0.1L, 0.05L, d);
    benchmark::DoNotOptimize(t);
    i = (i + 1) % 64;
  }
}
BENCHMARK(BM_RingPairTerm);

void BM_IncompleteFE(benchmark::State& state) {
  for (auto _ : state) {
    IncompleteResult r = IncompleteFE(0.7L, 1.2L);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_IncompleteFE)->Unit(benchmark::kMillisecond);

void BM_InvertMatrix(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ExtMatrix source(n <= 200 ? 200 : 500);
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<long double> u(-1.0L, 1.0L);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) source(i, j) = u(gen) + (i == j ? n + 1.0L : 0.0L);
  VectorReport report;
  for (auto _ : state) {
    state.PauseTiming();
    ExtMatrix A = source;
    state.ResumeTiming();
    bool ok = InvertMatrix(n, A, report);
    benchmark::DoNotOptimize(ok);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_InvertMatrix)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
