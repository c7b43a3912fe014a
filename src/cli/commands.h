#pragma once
// The window commands quor-cli can run: each has the window's fields (names, labels,
// default texts) and a function of the field texts that writes the Report lines.
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
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
  // An option that sets field texts from its value (--trd FILE) before the NAME=VALUE
  // arguments change them. May throw FileError.
  std::function<void(const std::string& value, FieldValues& fields)> loadsFields = nullptr;
};

// A positional argument of a command, given right after the command name in the
// order of the definitions: "save-trd FILE", "to-meters WINDOW".
struct CliArgumentDef {
  std::string name;  // "FILE"
  std::string help;
  // The values allowed (any when empty).
  std::vector<std::string> choices = {};
  // The value is the name of another command whose fields (and defaults) this
  // command takes instead of its own.
  bool namesCommand = false;
};

// The options given, by name, each value in the order given; positional arguments
// under their own name ("FILE").
using CliOptions = std::map<std::string, std::vector<std::string>>;

// What quor-cli's main provides where the GUI is built: renderPng draws on an image of
// the given size through the canvas the windows use and returns its PNG bytes.
struct CliHooks {
  std::function<std::string(int width, int height, const std::function<void(Canvas&)>& draw)>
      renderPng;
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
  std::vector<CliArgumentDef> arguments = {};
  // Commands that write images run this one instead, with the hooks.
  std::function<void(const FieldValues&, BreakdownField&, const CliOptions&, ReportSink&,
                     const CliHooks&)>
      runWithHooks = {};
};

// A malformed option value met by a command ("--probe 1;2"): status 2, as for a
// malformed argument.
class CliArgumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "X,Y": a pixel of a drawing area for the --probe options; CliArgumentError otherwise.
std::pair<int, int> ParseProbePixel(const std::string& text);

const std::vector<CliCommand>& CliCommands();
const CliCommand* FindCliCommand(const std::string& name);
