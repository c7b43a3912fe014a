#include "cli/commands.h"

#include "electrostatics/spheres.h"
#include "straight/spiral.h"
#include "straight/straight_wires.h"
#include "elliptic_test/elliptic_tables.h"
#include "transformer/couplings.h"
#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_description.h"
#include "cli/structure_cli.h"
#include "electrostatics/structure_plot.h"
#include "transformer/driver.h"
#include "transformer/self_capacitance.h"

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
      {"straight",
       "Calculate of the two straight wires: self and mutual inductances (uH)",
       &StraightFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions&, ReportSink& r) {
         BcalculateClick(f, r);
       }},
      {"spiral",
       "Calculate of the flat square spiral inductor: Maxwell, square turn, Mohan, Lee (nH)",
       &SpiralFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions&, ReportSink& r) {
         SpiralCommand(f, r);
       }},
      {"elliptic",
       "Compute complete integrals of the elliptic integrals window: K, E and II(k,c) tables",
       &CompleteIntegralsFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions&, ReportSink& r) {
         CompleteIntegralsCommand(f, r);
       }},
      {"elliptic-incomplete",
       "Compute incomplete integrals of the elliptic integrals window: F, E and Heuman's Lambda",
       &IncompleteIntegralsFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions&, ReportSink& r) {
         IncompleteIntegralsCommand(f, r);
       }},
      {"couplings", "Optimal Tesla coil couplings: the coupling coefficient of each mode",
       &CouplingsFieldDefs,
       [](const FieldValues&, BreakdownField&, const CliOptions&, ReportSink& r) {
         OptimalTeslacoilcouplings1Click(r);
       }},
      {"selfcap",
       "Self capacitance and resonance of the main window's coils (Medhurst, Maxwell)",
       &TransformerFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions&, ReportSink& r) {
         SelfCapacitanceCommand(f, r);
       }},
      {"structure",
       "Calculate of the general structure window: capacitance matrix, charges, forces and "
       "surface fields of a .cap description (the sample without --cap); its drawing area "
       "with the colour plot as a PNG, probe lines",
       &StructureWindowFieldDefs, nullptr,
       {{"--cap", "FILE", "structure description to calculate"},
        {"--plot", "OUT.png", "write the drawing area with the colour plot"},
        {"--probe", "X,Y", "probe line of pixel (X, Y) after the calculation", true}},
       &StructureCliCommand},
  };
  return commands;
}

const CliCommand* FindCliCommand(const std::string& name) {
  for (const CliCommand& c : CliCommands())
    if (c.name == name) return &c;
  return nullptr;
}
