#include "cli/commands.h"

#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_description.h"
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
      {"structure",
       "Calculate of the general structure window: capacitance matrix, charges, forces and "
       "surface fields of a .cap description (the sample without --cap)",
       &StructureFieldDefs,
       [](const FieldValues& f, BreakdownField& e, const CliOptions& o, ReportSink& r) {
         const auto cap = o.find("--cap");
         StructureCommand(f, cap == o.end() ? StructureSampleLines()
                                             : LoadDescriptionFile(cap->second.front()),
                          e, r);
       },
       {{"--cap", "FILE", "structure description to calculate"}}},
  };
  return commands;
}

const CliCommand* FindCliCommand(const std::string& name) {
  for (const CliCommand& c : CliCommands())
    if (c.name == name) return &c;
  return nullptr;
}
