#include "cli/commands.h"

#include "electrostatics/spheres.h"
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
      {"spheres",
       "Calculate of the Two spheres window: mutual capacitance, maximum field, breakdown "
       "voltage, capacitance matrix",
       &SpheresFieldDefs,
       [](const FieldValues& f, BreakdownField& e, const CliOptions&, ReportSink& r) {
         SpheresCommand(f, e, r);
       }},
  };
  return commands;
}

const CliCommand* FindCliCommand(const std::string& name) {
  for (const CliCommand& c : CliCommands())
    if (c.name == name) return &c;
  return nullptr;
}
