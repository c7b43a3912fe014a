// Cost of the number texts: every Report line formats one or more values.
#include <benchmark/benchmark.h>

#include "numerics/format.h"
#include "numerics/number_reading.h"
#include "numerics/library_namespaces.h"

namespace {

void BM_FixedStrTypical(benchmark::State& state) {
  Extended x = 12.3456789012345678L;
  for (auto _ : state) benchmark::DoNotOptimize(FixedStr(x, 15, 10));
}
BENCHMARK(BM_FixedStrTypical);

void BM_FixedStrSmall(benchmark::State& state) {
  Extended x = 3.3e-12L;
  for (auto _ : state) benchmark::DoNotOptimize(FixedStr(x, 30, 15));
}
BENCHMARK(BM_FixedStrSmall);

void BM_SciStrExtremes(benchmark::State& state) {
  const Extended xs[] = {1e-4900L, 1e4900L};
  int i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(SciStr(xs[i++ & 1], 26));
}
BENCHMARK(BM_SciStrExtremes);

void BM_NumberText(benchmark::State& state) {
  Extended x = 0.1L / 0.0254L;
  for (auto _ : state) benchmark::DoNotOptimize(NumberText(x));
}
BENCHMARK(BM_NumberText);

void BM_ReadNumber(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadNumber(" 1.25663706143591729543e-6 "));
}
BENCHMARK(BM_ReadNumber);

}  // namespace
