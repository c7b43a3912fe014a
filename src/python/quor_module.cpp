// The Python module quor: the commands of quor-cli, run in the calling process. A run
// returns the dictionary that json.loads makes of quor-cli's --format json line for
// the same arguments, so that scripts and the command line read the same records.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "quor_version.h"

namespace py = pybind11;

namespace {

// A Python value as a field text: True/False as a check box takes them, a float with
// the shortest digits that give it back, anything else as str() writes it.
std::string TextOf(const py::handle& value) {
  if (py::isinstance<py::bool_>(value)) return value.cast<bool>() ? "1" : "0";
  if (py::isinstance<py::float_>(value)) return py::repr(value).cast<std::string>();
  return py::str(value).cast<std::string>();
}

// quor-cli's arguments for run(command, *arguments, **keywords): a keyword that names
// one of the command's fields becomes NAME=VALUE, Emax the setting before the command,
// any other an option (probe_at=... is --probe-at; a list or tuple repeats it).
std::vector<std::string> ArgumentsOf(const std::string& command, const py::args& positional,
                                     const py::kwargs& keywords,
                                     std::vector<std::string> extra = {}) {
  const CliCommand* cmd = FindCliCommand(command);
  if (!cmd) throw py::value_error("unknown command '" + command + "'");
  std::vector<std::string> args, before;
  args.push_back(command);
  for (const py::handle& a : positional) args.push_back(TextOf(a));
  // The fields of a window an argument names (to-meters transformer ...).
  const std::vector<FieldDef>* defs = &cmd->fields();
  for (std::size_t i = 0; i < cmd->arguments.size() && i + 1 < args.size(); ++i)
    if (cmd->arguments[i].namesCommand)
      if (const CliCommand* named = FindCliCommand(args[i + 1])) defs = &named->fields();
  for (const auto& [key, value] : keywords) {
    const std::string name = key.cast<std::string>();
    bool field = false;
    for (const FieldDef& f : *defs) field = field || f.name == name;
    if (field) {
      args.push_back(name + "=" + TextOf(value));
      continue;
    }
    if (name == "Emax") {
      before.push_back("Emax=" + TextOf(value));
      continue;
    }
    std::string option = "--" + name;
    for (char& c : option)
      if (c == '_') c = '-';
    if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value)) {
      for (const py::handle& item : value) {
        args.push_back(option);
        args.push_back(TextOf(item));
      }
    } else {
      args.push_back(option);
      args.push_back(TextOf(value));
    }
  }
  args.insert(args.begin(), before.begin(), before.end());
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

CliInvocation Parse(const std::vector<std::string>& args) {
  CliInvocation invocation;
  std::ostringstream out, err;
  const int status = ParseCliArgs(args, invocation, out, err);
  if (status == kRunCommand) {
    if (invocation.plot)
      throw py::value_error(invocation.plot->name + " is quor-cli's: the module draws no image");
    return invocation;
  }
  std::string message = err.str();
  if (message.rfind("quor-cli: ", 0) == 0) message.erase(0, 10);
  while (!message.empty() && message.back() == '\n') message.pop_back();
  throw py::value_error(message.empty() ? "nothing to run" : message);
}

py::object Loads(const std::string& json) {
  // Looked up on each call (the module is cached by Python): an object kept in a
  // static would be released after the interpreter has ended.
  return py::module_::import("json").attr("loads")(json);
}

py::list Records(const CliInvocation& invocation) {
  std::vector<std::string> records;
  {
    py::gil_scoped_release release;
    RunSweep(invocation, [&](std::size_t, CollectedRun& run) {
      records.push_back(JsonOfRun(invocation, run));
    });
  }
  py::list out;
  for (const std::string& r : records) out.append(Loads(r));
  return out;
}

py::list Commands() {
  py::list out;
  for (const CliCommand& c : CliCommands()) {
    py::dict command;
    command["name"] = c.name;
    command["summary"] = c.summary;
    py::dict fields;
    for (const FieldDef& f : c.fields()) fields[py::str(f.name)] = f.defaultText;
    command["fields"] = fields;
    py::list values;
    if (c.values)
      for (const ValueDef& v : c.values()) {
        py::dict value;
        value["key"] = v.key;
        value["unit"] = v.unit;
        value["meaning"] = v.meaning;
        values.append(value);
      }
    command["values"] = values;
    py::list arguments, options;
    for (const CliArgumentDef& a : c.arguments) arguments.append(a.name);
    for (const CliOptionDef& o : c.options) options.append(o.name);
    command["arguments"] = arguments;
    command["options"] = options;
    out.append(command);
  }
  return out;
}

}  // namespace

PYBIND11_MODULE(quor, m) {
  m.doc() =
      "The calculations of the quor windows, as quor-cli runs them: commands() lists them,\n"
      "run() makes one run and sweep() many; each run is the dictionary of quor-cli's\n"
      "--format json line for the same arguments.";
  m.attr("__version__") = kQuorVersion;
  m.def("commands", &Commands,
        "The commands: name, summary, fields with their default texts, the values they\n"
        "return (key, unit, meaning), their positional arguments and options.");
  m.def(
      "run",
      [](const std::string& command, const py::args& arguments, const py::kwargs& keywords) {
        const CliInvocation invocation = Parse(ArgumentsOf(command, arguments, keywords));
        if (!invocation.sweeps.empty())
          throw py::value_error("run() makes one run: sweep() sweeps");
        const py::list records = Records(invocation);
        return py::object(records[0]);
      },
      py::arg("command"),
      "run(command, *arguments, **fields) -> dict\n\n"
      "Runs one command with the window's default field texts changed by the keywords\n"
      "that name fields (En2=1000, CBel=True); Emax=... applies the breakdown field first;\n"
      "other keywords are options (cap='x.cap', probe_at=['0.1,0.2']). Returns the record\n"
      "quor-cli --format json writes: command, version, fields, status ('ok', 'refused',\n"
      "'fault'), message, lines and values ({key: {'unit', 'value'[, 'dims']}}).\n"
      "ValueError for what quor-cli refuses as a usage error.");
  m.def(
      "sweep",
      [](const std::string& command, const py::dict& sweeps, const py::args& arguments,
         int jobs, const py::kwargs& keywords) {
        std::vector<std::string> extra;
        for (const auto& [name, range] : sweeps) {
          std::string text;
          if (py::isinstance<py::list>(range) || py::isinstance<py::tuple>(range)) {
            for (const py::handle& item : range) {
              const std::string t = TextOf(item);
              if (t.find(',') != std::string::npos)
                throw py::value_error("a swept text may not hold a comma: '" + t + "'");
              if (!text.empty()) text += ',';
              text += t;
            }
          } else {
            text = TextOf(range);
          }
          extra.push_back("--sweep");
          extra.push_back(name.cast<std::string>() + "=" + text);
        }
        if (jobs > 0) {
          extra.push_back("--jobs");
          extra.push_back(std::to_string(jobs));
        }
        return Records(Parse(ArgumentsOf(command, arguments, keywords, extra)));
      },
      py::arg("command"), py::arg("sweeps"), py::arg("jobs") = 0,
      "sweep(command, sweeps, *arguments, jobs=0, **fields) -> list of dict\n\n"
      "Runs the product of the sweeps, a dict from field name to 'START:STOP:COUNT',\n"
      "'START:STOP:COUNT:log' or a list of values, the last one varying fastest, on jobs\n"
      "threads (0: one per core); the records in order, as run() returns them.");
}
