// Calculate of the partial toroid and conical sheet windows at the largest ring count:
// 20100 elliptic integrals for the upper triangle of the potential matrix, then the
// 200 x 200 inversion. The counters show how close each result is to its exact value
// (the complete toroid's capacitance, 40.584 pF; the thin disk's, 4 eps0 Do).
#include <benchmark/benchmark.h>

#include <string>

#include "electrostatics/conical_sheet.h"
#include "electrostatics/partial_toroid.h"
#include "electrostatics/ring_kernel.h"
#include "numerics/library_namespaces.h"

namespace {

Extended Capacitance(const std::vector<std::string>& lines) {
  for (const std::string& l : lines)
    if (l.rfind("Capacitance: ", 0) == 0) return std::stold(l.substr(13));
  return 0;
}

void BM_PartialCalculate(benchmark::State& state) {
  const FieldValues f{{"Enrings", std::to_string(state.range(0))}};
  Extended C = 0;
  for (auto _ : state) {
    CommandEnv env;
    C = Capacitance(RunCommand(PartialFieldDefs(), &PartialCommand, f, env).lines);
    benchmark::DoNotOptimize(C);
  }
  state.counters["C_pF"] = static_cast<double>(C);
}
BENCHMARK(BM_PartialCalculate)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SheetCalculate(benchmark::State& state) {
  const FieldValues f{{"Ensheet", std::to_string(state.range(0))}, {"Eidiameter", "0"}, {"Eheight", "0"}};
  Extended C = 0;
  for (auto _ : state) {
    CommandEnv env;
    C = Capacitance(RunCommand(SheetFieldDefs(), &SheetCommand, f, env).lines);
    benchmark::DoNotOptimize(C);
  }
  state.counters["C_pF"] = static_cast<double>(C);
  state.counters["rel_err"] = static_cast<double>(C / (4 * Eps0() * 0.9L / 1e-12L) - 1);
}
BENCHMARK(BM_SheetCalculate)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
