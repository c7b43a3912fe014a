#include "cli/commands.h"

#include <charconv>

#include "electrostatics/conical_sheet.h"
#include "electrostatics/partial_toroid.h"
#include "electrostatics/spheres.h"
#include "straight/spiral.h"
#include "straight/straight_wires.h"
#include "elliptic_test/elliptic_tables.h"
#include "transformer/couplings.h"
#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_description.h"
#include "electrostatics/toroid_command.h"
#include "cli/structure_cli.h"
#include "electrostatics/structure_plot.h"
#include "resonator/resonator_command.h"
#include "transformer/driver.h"
#include "transformer/self_capacitance.h"
#include "transformer/trd_file.h"
#include "transformer/unit_conversion.h"

namespace {

// --trd FILE: the main window's texts as Load sets them.
const CliOptionDef kTrdOption{"--trd", "FILE", "transformer description (.trd) to load first",
                              false, [](const std::string& path, FieldValues& fields) {
                                for (auto& [name, text] : LoadTrdFile(path)) fields[name] = text;
                              }};

const std::vector<FieldDef>& NoFields() {
  static const std::vector<FieldDef> none;
  return none;
}

// to-meters and to-inches: the converted texts of the window's fields as NAME=VALUE
// lines, then the lines the conversion wrote to the Report.
CliCommand UnitCommand(const char* name, const char* summary, UnitDirection direction) {
  std::vector<std::string> windows;
  for (const UnitFieldSet& set : UnitFieldSets()) windows.push_back(set.window);
  return {name, summary, &NoFields,
          [direction](const FieldValues& f, BreakdownField&, const CliOptions& o, ReportSink& r) {
            const UnitFieldSet& set = *FindUnitFieldSet(o.at("WINDOW").front());
            FieldValues fields = f;
            VectorReport lines;
            ConvertUnitFields(set, direction, fields, lines);
            for (const auto* names : {&set.lengths, &set.wires})
              for (const std::string& field : *names)
                if (const auto it = fields.find(field); it != fields.end())
                  ReportLine(r, field + "=" + it->second);
            for (const std::string& line : lines.lines) ReportLine(r, line);
          },
          {},
          {{"WINDOW", "the window whose fields are converted, by its command name", windows,
            true}}};
}

}  // namespace

std::pair<int, int> ParseProbePixel(const std::string& text) {
  const std::size_t comma = text.find(',');
  int xy[2] = {0, 0};
  const std::string parts[2] = {text.substr(0, comma),
                                comma == std::string::npos ? "" : text.substr(comma + 1)};
  for (int i = 0; i < 2; ++i) {
    const char* first = parts[i].data();
    const char* last = first + parts[i].size();
    const auto [end, ec] = std::from_chars(first, last, xy[i]);
    if (parts[i].empty() || ec != std::errc() || end != last)
      throw CliArgumentError("--probe takes X,Y in whole pixels, not '" + text + "'");
  }
  return {xy[0], xy[1]};
}

const std::vector<CliCommand>& CliCommands() {
  static const std::vector<CliCommand> commands = {
      {"transformer",
       "Calculate of the main window: inductances, mutual inductance, coupling and mode",
       &TransformerFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions&, ReportSink& r) {
         TransformerCommand(f, r);
       },
       {kTrdOption}},
      {"save-trd",
       "Save of the main window: the twelve coil texts to a transformer description file",
       &TransformerFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions& o, ReportSink&) {
         SaveTrdFile(o.at("FILE").front(), f);
       },
       {kTrdOption},
       {{"FILE", "the .trd file to write (replaced when it exists)"}}},
      UnitCommand("to-meters", "Inches/AWG to meters: a window's length and wire fields",
                  UnitDirection::ToMeters),
      UnitCommand("to-inches", "Meters to inches/AWG: a window's length and wire fields",
                  UnitDirection::ToInches),
      {"parameters",
       "Apply of the Parameters window: the breakdown field of air (kV/m)",
       &ParametersFieldDefs,
       [](const FieldValues& f, BreakdownField& e, const CliOptions&, ReportSink& r) {
         ParametersCommand(f, e, r);
       }},
      {"partial",
       "Calculate of the Partial toroid window: a band of a torus cut into thin rings",
       &PartialFieldDefs,
       [](const FieldValues& f, BreakdownField& e, const CliOptions& o, ReportSink& r) {
         std::vector<std::pair<int, int>> probes;
         if (auto it = o.find("--probe"); it != o.end())
           for (const std::string& p : it->second) probes.push_back(ParseProbePixel(p));
         PartialCommand(f, e, probes, r);
       },
       {{"--probe", "X,Y",
         "then a click at pixel X,Y of the 577 x 281 drawing: potential and field there",
         true}}},
      {"sheet",
       "Calculate of the Conical sheet window: a cone frustum sheet cut into thin rings",
       &SheetFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions&, ReportSink& r) {
         SheetCommand(f, r);
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
      {"resonator",
       "Calculate of the Secondary resonance window: the secondary with its top load over the "
       "ground plane as a distributed resonator, its three lowest modes and the primary's tap",
       &ResonatorFieldDefs,
       [](const FieldValues& f, BreakdownField&, const CliOptions&, ReportSink& r) {
         ResonatorCommand(f, r);
       },
       {kTrdOption}},
      {"structure",
       "Calculate of the general structure window: capacitance matrix, charges, forces and "
       "surface fields of a .cap description (the sample without --cap); its drawing area "
       "with the colour plot as a PNG, probe lines",
       &StructureWindowFieldDefs, nullptr,
       {{"--cap", "FILE", "structure description to calculate"},
        {"--plot", "OUT.png", "write the drawing area with the colour plot"},
        {"--probe", "X,Y", "probe line of pixel (X, Y) after the calculation", true}},
       {},
       &StructureCliCommand},
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
