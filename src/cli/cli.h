#pragma once
// quor-cli: runs one window command headlessly and prints its Report lines.
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

// What the arguments ask quor-cli to run.
struct CliInvocation {
  std::vector<std::string> emaxTexts;  // Emax=VALUE settings before the command, in order
  const CliCommand* command = nullptr;
  FieldValues fields;                  // every field of the window, at its default text
  CliOptions options;                  // positional arguments and options, by name
  std::vector<CanvasPoint> probes;     // the pixels of the probe options, in order
  // The NAME=VALUE changes in order, applied after field texts loaded from files.
  std::vector<std::pair<std::string, std::string>> overrides;
};

// ParseCliArgs returns this when the invocation is ready to run.
inline constexpr int kRunCommand = -1;

// The process exit status of a command's result: 0, 3 for a refusal, 1 for a fault.
int ExitStatusOf(const Result& result);

// Reads the arguments without running anything: kRunCommand with the invocation
// filled, 0 after printing help to out, or 2 after a one-line error on err.
int ParseCliArgs(const std::vector<std::string>& args, CliInvocation& invocation,
                 std::ostream& out, std::ostream& err);
