#include "cli/cli.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <string_view>

#include "cli/commands.h"
#include "cli/output.h"
#include "cli/run_steps.h"
#include "numerics/file_write.h"
#include "numerics/report.h"
#include "quor_version.h"
#include "numerics/library_namespaces.h"

namespace {

// Writes each Report line as it comes: some commands write a million lines.
class StreamReport : public ReportSink {
 public:
  explicit StreamReport(std::ostream& out) : out_(out) {}
  void Append(std::string_view line) override {
    out_.write(line.data(), static_cast<std::streamsize>(line.size()));
    out_.put('\n');
  }

 private:
  std::ostream& out_;
};

// True when path names the program's own standard output (--plot /dev/stdout, or the
// file stdout is redirected to).
bool IsStandardOutput(const std::string& path) {
  struct stat out {}, named {};
  return ::fstat(STDOUT_FILENO, &out) == 0 && ::stat(path.c_str(), &named) == 0 &&
         out.st_dev == named.st_dev && out.st_ino == named.st_ino;
}

constexpr const char* kUsage =
    "usage: quor-cli [Emax=VALUE]... COMMAND [ARGUMENT]... [NAME=VALUE | --OPTION VALUE]...";

void PrintFields(std::ostream& out, const CliCommand& cmd) {
  for (const CliArgumentDef& a : cmd.arguments) {
    std::string left = "  " + a.name;
    if (left.size() < 20) left.resize(20, ' ');
    out << left << " " << a.help;
    for (std::size_t i = 0; i < a.choices.size(); ++i)
      out << (i == 0 ? " (" : ", ") << a.choices[i] << (i + 1 == a.choices.size() ? ")" : "");
    out << '\n';
  }
  for (const CliOptionDef& o : cmd.options) {
    std::string left = "  " + o.name + " " + o.valueName;
    if (left.size() < 20) left.resize(20, ' ');
    out << left << " " << o.help << (o.repeatable ? " (repeatable)" : "") << '\n';
  }
  for (const FieldDef& f : cmd.fields()) {
    // A text of several lines (a structure description) is named, not shown.
    const bool lines = f.defaultText.find('\n') != std::string::npos;
    std::string left = "  " + f.name + "=" + (lines ? "TEXT" : f.defaultText);
    if (left.size() < 20) left.resize(20, ' ');
    out << left << " " << f.label;
    if (f.Kind() == FieldKind::CheckBox) out << " (check box: 1 or 0)";
    if (f.Kind() == FieldKind::Count) out << " (whole number)";
    if (lines) out << " (lines separated by line feeds; default: the window's sample)";
    out << '\n';
  }
}

// The values a command returns, by key, with their units and meanings.
void PrintValues(std::ostream& out, const CliCommand& cmd) {
  if (!cmd.values) return;
  const std::vector<ValueDef>& values = cmd.values();
  if (values.empty()) {
    out << "Values: none\n";
    return;
  }
  out << "Values (key, unit, meaning):\n";
  for (const ValueDef& v : values) {
    std::string left = "  " + v.key;
    if (left.size() < 20) left.resize(20, ' ');
    std::string unit = v.unit;
    if (unit.size() < 4) unit.resize(4, ' ');
    out << left << " " << unit << " " << v.meaning << '\n';
  }
}

std::string Synopsis(const CliCommand& cmd) {
  std::string s = cmd.name;
  for (const CliArgumentDef& a : cmd.arguments) s += " " + a.name;
  return s;
}

void PrintHelp(std::ostream& out) {
  out << kUsage << "\n"
      << "       quor-cli COMMAND ... [--format text|json|csv] [--sweep NAME=RANGE]... [--jobs N]\n"
      << "       quor-cli --help\n"
      << "       quor-cli --version\n"
      << "       quor-cli COMMAND --help\n"
      << "Some commands take arguments right after their name (save-trd FILE) and options\n"
      << "(--NAME VALUE), listed with their fields.\n\n"
      << "Runs one window command with the window's default field texts, changed by the\n"
      << "NAME=VALUE arguments (component names; check boxes 1 checked, 0 unchecked), and\n"
      << "prints the lines the window appends to its Report, one per line.\n"
      << "Emax=VALUE before the command sets the breakdown field of air (kV/m, default\n"
      << "3000) as Apply of the Parameters window does, and prints its line first.\n"
      << "A number field whose text is not one number (\".\" as the decimal point) is\n"
      << "refused before anything is computed; an empty field reads as 0.\n"
      << "Exit status 0 when the command ran to its end; 3 when it was refused: it\n"
      << "ended on the line of an input check (a malformed number, a size out of range,\n"
      << "too many turns, ...) and computed nothing after it; 1 when the calculation\n"
      << "meets an arithmetic fault (division by zero, invalid operation, overflow) or a\n"
      << "file error: the lines before it are printed, the fault on stderr; 2 for an\n"
      << "unknown command or field or a malformed argument.\n\n"
      << "quor-cli COMMAND --help also lists the named values the command computes: a key,\n"
      << "an SI unit and a meaning for every number its lines print.\n\n"
      << "Output and sweeps, options of every command (before or after its name):\n"
      << "--format text|json|csv: text, the default, prints the Report lines; json one\n"
      << "JSON object per run on one line (command, version, fields, status ok, refused or\n"
      << "fault, message, lines, values with their units; numbers with 21 significant\n"
      << "digits, an infinity or a NaN as the string \"Infinity\", \"-Infinity\" or \"NaN\");\n"
      << "csv a header row and one row per run (command, status, message, the fields, the\n"
      << "single-number values), quoted as RFC 4180 says, lines ending in CRLF.\n"
      << "--sweep NAME=START:STOP:COUNT runs the command with field NAME at COUNT texts from\n"
      << "START to STOP, both included, in equal steps (with :log appended, in equal\n"
      << "ratios); --sweep NAME=V1,V2,... at the texts listed. Several sweeps run their\n"
      << "product, the last one varying fastest. --jobs N: the threads of a sweep (default\n"
      << "one per core); the runs come out in their order whatever N, in text each after\n"
      << "a line \"# NAME=TEXT ...\". A refused or failed run reports its status and the\n"
      << "sweep goes on; the exit status of a sweep is the worst of its runs (1, else 3,\n"
      << "else 0). Runs that write files go one at a time; --plot takes no sweep.\n"
      << "--probe-at R,Z (structure, partial): the probe line of the point r = R, z = Z in\n"
      << "metres, numbered with the --probe pixels in the order given.\n"
      << "The Python module quor runs the same commands: quor.run(\"transformer\",\n"
      << "En2=1000) returns the dictionary of the JSON line, quor.sweep(\"transformer\",\n"
      << "{\"En2\": \"500:1500:11\"}) the list of them, quor.commands() the commands.\n\n"
      << "Commands and their fields with the default texts:\n";
  for (const CliCommand& cmd : CliCommands()) {
    out << "\n" << Synopsis(cmd) << " - " << cmd.summary << "\n";
    PrintFields(out, cmd);
  }
}

int Fail(std::ostream& err, const std::string& message) {
  err << "quor-cli: " << message << '\n';
  return 2;
}

const CliOptionDef* FindOption(const CliCommand& cmd, std::string_view name) {
  for (const CliOptionDef& o : cmd.options)
    if (o.name == name) return &o;
  return nullptr;
}

const FieldDef* FindField(const std::vector<FieldDef>& defs, std::string_view name) {
  for (const FieldDef& f : defs)
    if (f.name == name) return &f;
  return nullptr;
}

// The options of every command: how to write the runs and which runs to make.
bool IsGlobalOption(std::string_view name) {
  return name == "--format" || name == "--sweep" || name == "--jobs";
}

// Reads the global option at args[i] ("--name VALUE" or "--name=VALUE"), moving i to
// its last word. An empty text when it is well formed, the error otherwise.
std::string ReadGlobalOption(const std::vector<std::string>& args, std::size_t& i,
                             CliInvocation& invocation) {
  const std::string& a = args[i];
  const std::size_t eq = a.find('=');
  const std::string name = a.substr(0, eq);
  std::string value;
  if (eq != std::string::npos) {
    value = a.substr(eq + 1);
  } else {
    if (i + 1 == args.size())
      return name + " needs " +
             (name == "--format" ? "text, json or csv" : name == "--jobs" ? "N" : "NAME=RANGE");
    value = args[++i];
  }
  if (name == "--format") {
    if (value == "text") invocation.format = OutputFormat::Text;
    else if (value == "json") invocation.format = OutputFormat::Json;
    else if (value == "csv") invocation.format = OutputFormat::Csv;
    else return "--format takes text, json or csv, not '" + value + "'";
    return "";
  }
  if (name == "--jobs") {
    int jobs = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), jobs);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size() || jobs < 1 ||
        jobs > 1024)
      return "--jobs takes a whole number of threads from 1 to 1024, not '" + value + "'";
    invocation.jobs = jobs;
    return "";
  }
  try {
    invocation.sweeps.push_back(ParseSweep(value));
  } catch (const CliArgumentError& error) {
    return error.what();
  }
  std::size_t runs = 1;
  for (const SweepAxis& axis : invocation.sweeps) {
    runs *= axis.texts.size();
    if (runs > kMostSweepRuns) return "the sweeps make more than 1000000 runs";
  }
  return "";
}

}  // namespace

int ParseCliArgs(const std::vector<std::string>& args, CliInvocation& invocation,
                 std::ostream& out, std::ostream& err) {
  invocation = CliInvocation{};
  if (args.empty()) return Fail(err, std::string("no command; ") + kUsage);
  if (args[0] == "--help" || args[0] == "-h") {
    PrintHelp(out);
    return 0;
  }
  if (args[0] == "--version") {
    out << "quor-cli " << kQuorVersion << '\n';
    return 0;
  }

  // Settings that apply before the command; checked before anything is printed.
  std::size_t pos = 0;
  for (; pos < args.size(); ++pos) {
    const std::string& a = args[pos];
    if (IsGlobalOption(a.substr(0, a.find('=')))) {
      if (const std::string error = ReadGlobalOption(args, pos, invocation); !error.empty())
        return Fail(err, error);
      continue;
    }
    const std::size_t eq = a.find('=');
    if (eq == std::string::npos) break;
    const std::string name = a.substr(0, eq);
    if (name != "Emax") return Fail(err, "unknown setting '" + name + "' before the command");
    if (eq + 1 == a.size()) return Fail(err, "Emax needs a value");
    invocation.emaxTexts.push_back(a.substr(eq + 1));
  }
  if (pos == args.size()) return Fail(err, std::string("no command; ") + kUsage);
  if (pos > 0 && (args[pos] == "--help" || args[pos] == "-h")) {
    PrintHelp(out);
    return 0;
  }

  const CliCommand* cmd = FindCliCommand(args[pos]);
  if (!cmd) return Fail(err, "unknown command '" + args[pos] + "' (see quor-cli --help)");

  auto isHelp = [](const std::string& a) { return a == "--help" || a == "-h"; };
  auto printCommandHelp = [&] {
    out << Synopsis(*cmd) << " - " << cmd->summary << "\n";
    PrintFields(out, *cmd);
    PrintValues(out, *cmd);
    return 0;
  };
  invocation.command = cmd;
  const std::vector<FieldDef>* defs = &cmd->fields();
  CliOptions& options = invocation.options;
  std::size_t i = pos + 1;
  // Positional arguments come first, taken by position whatever they look like.
  for (const CliArgumentDef& def : cmd->arguments) {
    if (i < args.size() && isHelp(args[i])) return printCommandHelp();
    if (i == args.size()) return Fail(err, "'" + cmd->name + "' needs " + def.name);
    const std::string& value = args[i++];
    if (!def.choices.empty() &&
        std::find(def.choices.begin(), def.choices.end(), value) == def.choices.end())
      return Fail(err, def.name + " '" + value + "' is not one of the choices of '" +
                           cmd->name + "' (see quor-cli " + cmd->name + " --help)");
    if (def.namesCommand) {
      const CliCommand* named = FindCliCommand(value);
      if (!named) return Fail(err, "unknown command '" + value + "' as " + def.name);
      defs = &named->fields();
    }
    options[def.name].push_back(value);
  }

  invocation.fieldDefs = defs;
  invocation.fields = DefaultValues(*defs);
  std::vector<std::pair<std::string, std::string>>& overrides = invocation.overrides;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (isHelp(a)) return printCommandHelp();
    if (a.rfind("--", 0) == 0) {
      // "--name VALUE" or "--name=VALUE".
      const std::size_t eq = a.find('=');
      const std::string name = a.substr(0, eq);
      if (IsGlobalOption(name)) {
        if (const std::string error = ReadGlobalOption(args, i, invocation); !error.empty())
          return Fail(err, error);
        continue;
      }
      const CliOptionDef* o = FindOption(*cmd, name);
      if (!o) return Fail(err, "unknown option '" + name + "' for command '" + cmd->name + "'");
      std::string value;
      if (eq != std::string::npos) {
        value = a.substr(eq + 1);
      } else {
        if (i + 1 == args.size()) return Fail(err, name + " needs " + o->valueName);
        value = args[++i];
      }
      if (!o->repeatable && options.count(name))
        return Fail(err, name + " may be given only once");
      try {
        if (o->kind == CliOptionKind::ProbePixel) {
          const auto [x, y] = ParseProbePixel(value);
          invocation.probes.push_back({x, y});
        } else if (o->kind == CliOptionKind::ProbeMetres) {
          const auto [r, z] = ParseProbeMetres(value);
          invocation.probes.push_back(ProbePoint::At(r, z));
        }
      } catch (const CliArgumentError& error) {
        return Fail(err, error.what());
      }
      if (o->kind == CliOptionKind::PlotImage) {
        invocation.plot = o;
        invocation.plotPath = value;
      }
      options[name].push_back(value);
      continue;
    }
    const std::size_t eq = a.find('=');
    if (eq == std::string::npos)
      return Fail(err, "malformed argument '" + a + "' (expected NAME=VALUE)");
    if (eq == 0) return Fail(err, "malformed argument '" + a + "' (empty name)");
    const std::string name = a.substr(0, eq);
    const std::string value = a.substr(eq + 1);
    const FieldDef* f = FindField(*defs, name);
    if (!f) return Fail(err, "unknown field '" + name + "' for command '" + cmd->name + "'");
    if (f->isCheckBox && value != "0" && value != "1")
      return Fail(err, "check box " + name + " takes 1 or 0, not '" + value + "'");
    overrides.emplace_back(name, value);
  }

  // A sweep runs fields the window has, with the texts they can hold, and draws nothing.
  for (std::size_t i = 0; i < invocation.sweeps.size(); ++i) {
    const SweepAxis& axis = invocation.sweeps[i];
    const FieldDef* f = FindField(*defs, axis.name);
    if (!f)
      return Fail(err, "unknown field '" + axis.name + "' for command '" + cmd->name +
                           "' in --sweep");
    // A field swept twice would run the product with one of its two texts lost.
    for (std::size_t j = 0; j < i; ++j)
      if (invocation.sweeps[j].name == axis.name)
        return Fail(err, "--sweep: field " + axis.name + " is swept twice");
    for (const std::string& text : axis.texts)
      if (f->isCheckBox && text != "0" && text != "1")
        return Fail(err, "check box " + axis.name + " takes 1 or 0, not '" + text + "'");
  }
  if (!invocation.sweeps.empty() && invocation.plot)
    return Fail(err, invocation.plot->name + " draws one run: it cannot be used with --sweep");
  return kRunCommand;
}

int ExitStatusOf(const Result& result) {
  switch (result.status) {
    case CommandStatus::Ok: return 0;
    case CommandStatus::Refused: return 3;
    case CommandStatus::Fault: return 1;
  }
  return 1;
}

namespace {

// The runs of a sweep in text: each run's lines after a line naming its swept texts;
// a fault's message on err.
int PrintTextSweep(const CliInvocation& invocation, std::ostream& out, std::ostream& err) {
  int status = 0;
  RunSweep(invocation, [&](std::size_t, CollectedRun& run) {
    std::string heading = "#";
    for (const auto& [name, text] : run.swept) heading += " " + name + "=" + text;
    out << heading << '\n';
    for (const std::string& line : run.result.lines) out << line << '\n';
    out.flush();
    if (run.result.status == CommandStatus::Fault)
      err << "quor-cli: " << invocation.command->name << ": " << run.result.message << "\n";
    status = WorstExitStatus(status, ExitStatusOf(run.result));
  });
  return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliHooks& hooks) {
  CliInvocation invocation;
  const int parsed = ParseCliArgs(args, invocation, out, err);
  if (parsed != kRunCommand) return parsed;
  const CliCommand& cmd = *invocation.command;

  // The image option, checked before anything is printed.
  if (invocation.plot && !hooks.renderPng)
    return Fail(err, invocation.plot->name + " needs quor-cli built with the GUI");

  // A PNG piped to a viewer must not have the Report lines mixed into it: they go to
  // stderr when the image goes to quor-cli's own standard output.
  const bool imageOnStdout = invocation.plot && IsStandardOutput(invocation.plotPath);
  std::ostream& text = imageOnStdout ? err : out;

  if (invocation.format == OutputFormat::Json) {
    int status = 0;
    RunSweep(
        invocation,
        [&](std::size_t, CollectedRun& run) {
          text << JsonOfRun(invocation, run) << '\n';
          status = WorstExitStatus(status, ExitStatusOf(run.result));
        },
        hooks);
    text.flush();
    return status;
  }
  if (invocation.format == OutputFormat::Csv) {
    int status = 0;
    CsvTable table(invocation);
    RunSweep(
        invocation,
        [&](std::size_t, CollectedRun& run) {
          table.Add(run);
          status = WorstExitStatus(status, ExitStatusOf(run.result));
        },
        hooks);
    text << table.Text();
    text.flush();
    return status;
  }
  if (!invocation.sweeps.empty()) return PrintTextSweep(invocation, out, err);

  StreamReport report(text);
  CommandEnv env;
  env.report = &report;
  env.collectLines = false;  // printed as they come: some commands write a million lines
  FieldValues fields = invocation.fields;
  const Result result = ExecuteInvocation(invocation, {}, fields, env, hooks);
  out.flush();
  if (result.status == CommandStatus::Fault)
    err << "quor-cli: " << cmd.name << ": " << result.message << "\n";
  return ExitStatusOf(result);
}
