#include "cli/commands.h"

#include "electrostatics/toroid_command.h"
#include "transformer/driver.h"

const std::vector<CliCommand>& CliCommands() {
  static const std::vector<CliCommand> commands = {
      {"transformer",
       "Calculate of the main window: inductances, mutual inductance, coupling and mode",
       &TransformerFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions&, ReportSink& r) {
         TransformerCommand(f, r);
       }},
      {"parameters",
       "Apply of the Parameters window: the breakdown field of air (kV/m)",
       &ParametersFieldDefs,
       [](const FieldValues& f, BreakdownField& e, const CliOptions&, ReportSink& r) {
         ParametersCommand(f, e, r);
       }},
      {"toroid",
       "Calculate of the toroid window: exact capacitance, maximum field and other shapes, "
       "or the table toroid.dat (CBtabela=1) in the current directory",
       &ToroidFieldDefs,
       [](const FieldValues& f, BreakdownField& e, const CliOptions&, ReportSink& r) {
         ToroidCommand(f, e, r);
       }},
  };
  return commands;
}

const CliCommand* FindCliCommand(const std::string& name) {
  for (const CliCommand& c : CliCommands())
    if (c.name == name) return &c;
  return nullptr;
}
