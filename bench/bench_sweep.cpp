// A sweep of the default transformer (Maxwell's mutual inductance of circular turns)
// over 1000 secondary turn counts as JSON lines, in one process on every core, and its
// parts: reading the arguments, computing the runs, writing the records.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/output.h"

namespace {

const std::vector<std::string> kSweepArgs = {"transformer", "--format", "json", "--sweep",
                                             "En2=1000:2000:1000"};

void BM_SweepTransformer1000Json(benchmark::State& state) {
  for (auto _ : state) {
    std::ostringstream out, err;
    benchmark::DoNotOptimize(RunCli(kSweepArgs, out, err));
    benchmark::DoNotOptimize(out.str().size());
  }
}
BENCHMARK(BM_SweepTransformer1000Json)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The arguments read and the 1000 field texts of the range made.
void BM_SweepParse(benchmark::State& state) {
  for (auto _ : state) {
    CliInvocation invocation;
    std::ostringstream out, err;
    benchmark::DoNotOptimize(ParseCliArgs(kSweepArgs, invocation, out, err));
    benchmark::DoNotOptimize(SweepPoints(invocation.sweeps).size());
  }
}
BENCHMARK(BM_SweepParse)->Unit(benchmark::kMicrosecond);

// The 1000 runs on every core, their records not written.
void BM_SweepCompute(benchmark::State& state) {
  CliInvocation invocation;
  std::ostringstream out, err;
  ParseCliArgs(kSweepArgs, invocation, out, err);
  for (auto _ : state) {
    std::size_t lines = 0;
    RunSweep(invocation, [&](std::size_t, CollectedRun& run) { lines += run.result.lines.size(); });
    benchmark::DoNotOptimize(lines);
  }
}
BENCHMARK(BM_SweepCompute)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// One run's record: about 20 lines and 40 numbers of 21 digits (times 1000 for the
// sweep).
void BM_SweepFormatOneRecord(benchmark::State& state) {
  CliInvocation invocation;
  std::ostringstream out, err;
  ParseCliArgs(kSweepArgs, invocation, out, err);
  const CollectedRun run = RunCollected(invocation, SweepPoints(invocation.sweeps)[0]);
  for (auto _ : state) benchmark::DoNotOptimize(JsonOfRun(invocation, run));
}
BENCHMARK(BM_SweepFormatOneRecord)->Unit(benchmark::kMicrosecond);

}  // namespace
