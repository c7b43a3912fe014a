// Timings of the elliptic-integrals window: one complete table as the window computes
// it with Simpson's rule on (the reference method dominates: 100001 points per
// integral, against a handful of AGM steps), and the default incomplete table.
#include <benchmark/benchmark.h>

#include "elliptic_test/elliptic_tables.h"
#include "numerics/library_namespaces.h"

namespace {

// The default k range (0, 0.45, 0.9) in "K and E" with AGM and Simpson: three Simpson
// sums of K and E together.
void BM_CompleteTableSimpsonKE(benchmark::State& state) {
  const FieldValues fields{{"CBSimpson", "1"}};
  for (auto _ : state) {
    CommandEnv env;
    const Result r =
        RunCommand(CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand, fields, env);
    benchmark::DoNotOptimize(r.lines.data());
  }
}
BENCHMARK(BM_CompleteTableSimpsonKE)->Unit(benchmark::kMillisecond);

// The default 3 x 3 grid of (k, c) in "K, E, and II(k,c)" with Simpson: nine Simpson
// sums of Pi.
void BM_CompleteTableSimpsonPi(benchmark::State& state) {
  const FieldValues fields{{"CBSimpson", "1"}, {"RG123", "1"}};
  for (auto _ : state) {
    CommandEnv env;
    const Result r =
        RunCommand(CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand, fields, env);
    benchmark::DoNotOptimize(r.lines.data());
  }
}
BENCHMARK(BM_CompleteTableSimpsonPi)->Unit(benchmark::kMillisecond);

// The default incomplete table: 2 x 2 points, F and E with Heuman's Lambda.
void BM_IncompleteTableDefault(benchmark::State& state) {
  for (auto _ : state) {
    CommandEnv env;
    const Result r =
        RunCommand(IncompleteIntegralsFieldDefs(), &IncompleteIntegralsCommand, {}, env);
    benchmark::DoNotOptimize(r.lines.data());
  }
}
BENCHMARK(BM_IncompleteTableDefault)->Unit(benchmark::kMillisecond);

}  // namespace
