#pragma once
// The window commands quor-cli can run: each has the window's fields (names, labels,
// default texts) and a function of the field texts that writes the Report lines.
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "electrostatics/breakdown_field.h"
#include "numerics/canvas.h"
#include "numerics/fields.h"
#include "numerics/report.h"

// An option of a command beyond its fields: "--cap FILE", "--probe X,Y", ...
struct CliOptionDef {
  std::string name;       // with its dashes, "--cap"
  std::string valueName;  // "FILE"
  std::string help;
  bool repeatable = false;
};

// The options given, by name, each value in the order given.
using CliOptions = std::map<std::string, std::vector<std::string>>;

// What quor-cli's main provides where the GUI is built: renderPng draws on an image of
// the given size through the canvas the windows use and returns its PNG bytes.
struct CliHooks {
  std::function<std::string(int width, int height, const std::function<void(Canvas&)>& draw)>
      renderPng;
};

// A malformed option value found by a command: a one-line error, exit status 2.
class CliUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CliCommand {
  std::string name;
  std::string summary;
  const std::vector<FieldDef>& (*fields)();
  // Receives every field of the window (its default text unless overridden), the
  // program-wide breakdown field (already set by an Emax=VALUE before the command)
  // and the options given.
  std::function<void(const FieldValues&, BreakdownField&, const CliOptions&, ReportSink&)> run;
  std::vector<CliOptionDef> options = {};
  // Commands that write images run this one instead, with the hooks.
  std::function<void(const FieldValues&, BreakdownField&, const CliOptions&, ReportSink&,
                     const CliHooks&)>
      runWithHooks = {};
};

const std::vector<CliCommand>& CliCommands();
const CliCommand* FindCliCommand(const std::string& name);
