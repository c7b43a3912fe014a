#pragma once
// quor-cli: runs one window command headlessly and prints its Report lines.
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"

// args excludes the program name. Returns the process exit status: 0 when the command
// ran to its end, 3 when it ended on a refusal line (an input check; nothing computed
// after it), 1 on an arithmetic fault or a file error (its message on err), 2 for an
// unknown command or field or a malformed argument. hooks: what the GUI build adds
// (images).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliHooks& hooks = {});

// How quor-cli writes a run: the Report lines as they come (text), one JSON object
// per line, or CSV with a header row.
enum class OutputFormat { Text, Json, Csv };

// Field texts set by name, in order.
using FieldAssignments = std::vector<std::pair<std::string, std::string>>;

// One --sweep: the texts a field takes, in order.
struct SweepAxis {
  std::string name;
  std::vector<std::string> texts;
};

// What the arguments ask quor-cli to run.
struct CliInvocation {
  std::vector<std::string> emaxTexts;  // Emax=VALUE settings before the command, in order
  const CliCommand* command = nullptr;
  // The fields the command reads (its own, or those of the window an argument names).
  const std::vector<FieldDef>* fieldDefs = nullptr;
  FieldValues fields;                  // every field of the window, at its default text
  CliOptions options;                  // positional arguments and options, by name
  std::vector<ProbePoint> probes;      // the points of the probe options, in order
  // The NAME=VALUE changes in order, applied after field texts loaded from files.
  FieldAssignments overrides;
  // The image option given (--plot) and its file.
  const CliOptionDef* plot = nullptr;
  std::string plotPath;
  OutputFormat format = OutputFormat::Text;
  std::vector<SweepAxis> sweeps;  // their product is run, the last one varying fastest
  int jobs = 0;                   // worker threads of a sweep; 0: one per core
};

// One run of an invocation with everything it wrote kept.
struct CollectedRun {
  FieldValues fields;  // the texts used
  FieldAssignments swept;  // the texts of the sweep's fields for this run
  // status, message, values, and every line written (the Emax lines first).
  Result result;
};

// Runs the invocation once with its lines collected, nothing printed: the field texts
// loaded from files, then the NAME=VALUE changes, then swept. workers: threads the
// command itself may use (CommandEnv::workers). A file that cannot be read ends it as
// a Fault.
CollectedRun RunCollected(const CliInvocation& invocation, const FieldAssignments& swept = {},
                    int workers = -1);

// The runs of a sweep: the product of the axes, the first axis outermost, as field
// assignments in the order they run.
std::vector<FieldAssignments> SweepPoints(const std::vector<SweepAxis>& axes);

// The most runs one invocation's sweeps may make.
inline constexpr std::size_t kMostSweepRuns = 1000000;

// "NAME=START:STOP:COUNT" (both ends included), "NAME=START:STOP:COUNT:log" (a
// geometric progression) or "NAME=V1,V2,...": CliArgumentError when malformed.
SweepAxis ParseSweep(const std::string& text);

// Runs every point of the invocation's sweeps (one run without sweeps) on the
// invocation's worker threads, or on one when the command writes files, and hands each
// run to emit in the order of the points, whatever thread computed it.
void RunSweep(const CliInvocation& invocation,
              const std::function<void(std::size_t index, CollectedRun& run)>& emit,
              const CliHooks& hooks = {});

// The exit status of a set of runs: the worst of them, a fault (1) before a refusal
// (3) before a run that ended well (0).
int WorstExitStatus(int a, int b);

// ParseCliArgs returns this when the invocation is ready to run.
inline constexpr int kRunCommand = -1;

// The process exit status of a command's result: 0, 3 for a refusal, 1 for a fault.
int ExitStatusOf(const Result& result);

// Reads the arguments without running anything: kRunCommand with the invocation
// filled, 0 after printing help to out, or 2 after a one-line error on err.
int ParseCliArgs(const std::vector<std::string>& args, CliInvocation& invocation,
                 std::ostream& out, std::ostream& err);
