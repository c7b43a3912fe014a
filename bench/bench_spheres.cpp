// Two spheres: a Calculate with the default fields, and the worst case, spheres so
// close that every series runs to its million terms.
#include <benchmark/benchmark.h>

#include "electrostatics/spheres.h"
#include "numerics/library_namespaces.h"

namespace {

void RunSpheres(benchmark::State& state, const char* gap) {
  FieldValues fields = DefaultValues(SpheresFieldDefs());
  fields["Edistance"] = gap;
  for (auto _ : state) {
    CommandEnv env;
    const Result r = RunCommand(SpheresFieldDefs(), &SpheresCommand, fields, env);
    benchmark::DoNotOptimize(r.lines);
  }
}

void BM_SpheresDefaults(benchmark::State& state) { RunSpheres(state, "0.03"); }
BENCHMARK(BM_SpheresDefaults)->Unit(benchmark::kMicrosecond);

void BM_SpheresAtTheTermLimit(benchmark::State& state) { RunSpheres(state, "1e-18"); }
BENCHMARK(BM_SpheresAtTheTermLimit)->Unit(benchmark::kMillisecond);

}  // namespace
