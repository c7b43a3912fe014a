#pragma once
// The window commands quor-cli can run, one row each: the command (name, summary, the
// window's fields, its function), the options it takes and its positional arguments.
// Options and arguments feed the field texts or the command environment; quor-cli
// runs every row the same way.
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "numerics/canvas.h"
#include "numerics/command.h"
#include "numerics/fields.h"
#include "numerics/library_namespaces.h"

// What an option does with its value.
enum class CliOptionKind {
  LoadsFields,  // sets field texts from a file (--trd, --cap), before NAME=VALUE
  ProbePixel,   // "X,Y": a pixel of the drawing probed after the calculation (--probe)
  ProbeMetres,  // "R,Z": a point in metres probed after the calculation (--probe-at)
  PlotImage,    // the drawing area written as a PNG after the command (--plot)
};

// An option of a command beyond its fields: "--cap FILE", "--probe X,Y", ...
struct CliOptionDef {
  std::string name;       // with its dashes, "--cap"
  std::string valueName;  // "FILE"
  std::string help;
  bool repeatable = false;
  CliOptionKind kind = CliOptionKind::LoadsFields;
  // LoadsFields: sets the texts the file holds; may throw FileError.
  void (*loadFields)(const std::string& path, FieldValues& fields) = nullptr;
  // PlotImage: the size of the window's drawing area.
  int width = 0, height = 0;
};

// A positional argument of a command, given right after the command name in the
// order of the definitions: "save-trd FILE", "to-meters WINDOW". Its value reaches
// the command as the argument of that name (CommandEnv::arguments).
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

struct CliCommand : CommandDef {
  std::vector<CliOptionDef> options = {};
  std::vector<CliArgumentDef> arguments = {};
  // True when a run with these fields writes a file (a table, a description): such
  // runs of a sweep go one after the other. Null: the command writes none, and its runs
  // may go on several threads at once.
  bool (*writesFiles)(const FieldValues& fields) = nullptr;
};

// A malformed option value ("--probe 1;2"): status 2, as for a malformed argument.
class CliArgumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "X,Y": a pixel of a drawing area for the --probe options; CliArgumentError otherwise.
std::pair<int, int> ParseProbePixel(const std::string& text);
// "R,Z": a point in metres for the --probe-at options (finite numbers, "." as the
// decimal point); CliArgumentError otherwise.
std::pair<Extended, Extended> ParseProbeMetres(const std::string& text);

const std::vector<CliCommand>& CliCommands();
const CliCommand* FindCliCommand(const std::string& name);
