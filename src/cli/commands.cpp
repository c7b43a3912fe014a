#include "cli/commands.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "electrostatics/breakdown_field.h"
#include "electrostatics/conical_sheet.h"
#include "electrostatics/partial_toroid.h"
#include "electrostatics/spheres.h"
#include "electrostatics/structure_session.h"
#include "electrostatics/structure_view.h"
#include "electrostatics/toroid_command.h"
#include "elliptic_test/elliptic_tables.h"
#include "straight/spiral.h"
#include "straight/straight_wires.h"
#include "transformer/coil_pair.h"
#include "transformer/couplings.h"
#include "resonator/resonator_command.h"
#include "transformer/driver.h"
#include "transformer/self_capacitance.h"
#include "transformer/trd_file.h"
#include "transformer/unit_conversion.h"
#include "transformer/value_defs.h"
#include "numerics/library_namespaces.h"

namespace {

// --trd FILE: the main window's texts as Load sets them.
const CliOptionDef kTrdOption{"--trd", "FILE", "transformer description (.trd) to load first",
                              false, CliOptionKind::LoadsFields, &LoadTrdFields};

std::vector<std::string> UnitWindows() {
  std::vector<std::string> windows;
  for (const UnitFieldSet& set : UnitFieldSets()) windows.push_back(set.window);
  return windows;
}

const CliArgumentDef kWindowArgument{
    "WINDOW", "the window whose fields are converted, by its command name", UnitWindows(), true};

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

std::pair<Extended, Extended> ParseProbeMetres(const std::string& text) {
  const std::size_t comma = text.find(',');
  Extended rz[2] = {0, 0};
  const std::string parts[2] = {text.substr(0, comma),
                                comma == std::string::npos ? "" : text.substr(comma + 1)};
  for (int i = 0; i < 2; ++i) {
    // A plain decimal number, as the fields take it: no blanks, no hexadecimal, no
    // infinities, and small enough to map onto a drawing.
    const bool plain = !parts[i].empty() &&
                       parts[i].find_first_not_of("0123456789.eE+-") == std::string::npos;
    char* end = nullptr;
    if (plain) rz[i] = std::strtold(parts[i].c_str(), &end);
    if (!plain || end != parts[i].c_str() + parts[i].size() || !std::isfinite(rz[i]) ||
        std::fabs(rz[i]) > 1e300L)
      throw CliArgumentError("--probe-at takes R,Z in metres, not '" + text + "'");
  }
  return {rz[0], rz[1]};
}

namespace {

// The probes in metres of the two windows that probe.
const CliOptionDef kProbeAtOption{
    "--probe-at", "R,Z",
    "then the probe at the point r = R, z = Z (metres): the line of a click there", true,
    CliOptionKind::ProbeMetres};

bool WritesTorusTable(const FieldValues& fields) {
  return FieldChecked(fields, PartialFieldDefs(), "CBsalvar");
}
bool WritesToroidTable(const FieldValues& fields) {
  return FieldChecked(fields, ToroidFieldDefs(), "CBtabela");
}
bool WritesSheetTable(const FieldValues& fields) {
  return FieldChecked(fields, SheetFieldDefs(), "CBssheet");
}
bool WritesAlways(const FieldValues&) { return true; }

}  // namespace

const std::vector<CliCommand>& CliCommands() {
  static const std::vector<CliCommand> commands = {
      {{"transformer",
        "Calculate of the main window: inductances, mutual inductance, coupling and mode",
        &TransformerFieldDefs, &TransformerCommand, &TransformerValueDefs},
       {kTrdOption}},
      {{"save-trd",
        "Save of the main window: the twelve coil texts to a transformer description file",
        &TrdTextFieldDefs, &SaveTrdCommand, &NoValueDefs},
       {kTrdOption},
       {{"FILE", "the .trd file to write (replaced when it exists)"}},
       &WritesAlways},
      {{"to-meters", "Inches/AWG to meters: a window's length and wire fields", &NoFieldDefs,
        &ToMetersCommand, &ToMetersValueDefs},
       {},
       {kWindowArgument}},
      {{"to-inches", "Meters to inches/AWG: a window's length and wire fields", &NoFieldDefs,
        &ToInchesCommand, &ToInchesValueDefs},
       {},
       {kWindowArgument}},
      {{"parameters", "Apply of the Parameters window: the breakdown field of air (kV/m)",
        &ParametersFieldDefs, &ParametersCommand, &ParametersValueDefs}},
      {{"partial",
        "Calculate of the Partial toroid window: a band of a torus cut into thin rings",
        &PartialFieldDefs, &PartialCommand, &PartialValueDefs},
       {{"--probe", "X,Y",
         "then a click at pixel X,Y of the 577 x 281 drawing: potential and field there", true,
         CliOptionKind::ProbePixel},
        kProbeAtOption},
       {},
       &WritesTorusTable},
      {{"sheet", "Calculate of the Conical sheet window: a cone frustum sheet cut into thin rings",
        &SheetFieldDefs, &SheetCommand, &SheetValueDefs},
       {},
       {},
       &WritesSheetTable},
      {{"spheres",
        "Calculate of the Two spheres window: mutual capacitance, maximum field, breakdown "
        "voltage, capacitance matrix",
        &SpheresFieldDefs, &SpheresCommand, &SpheresValueDefs}},
      {{"straight", "Calculate of the two straight wires: self and mutual inductances (uH)",
        &StraightFieldDefs, &StraightCommand, &StraightValueDefs}},
      {{"spiral",
        "Calculate of the flat square spiral inductor: Maxwell, square turn, Mohan, Lee (nH)",
        &SpiralFieldDefs, &SpiralCommand, &SpiralValueDefs}},
      {{"elliptic",
        "Compute complete integrals of the elliptic integrals window: K, E and II(k,c) tables",
        &CompleteIntegralsFieldDefs, &CompleteIntegralsCommand,
        &CompleteIntegralsValueDefs}},
      {{"elliptic-incomplete",
        "Compute incomplete integrals of the elliptic integrals window: F, E and Heuman's Lambda",
        &IncompleteIntegralsFieldDefs, &IncompleteIntegralsCommand,
        &IncompleteIntegralsValueDefs}},
      {{"couplings", "Optimal Tesla coil couplings: the coupling coefficient of each mode",
        &CouplingsFieldDefs, &CouplingsCommand, &CouplingsValueDefs}},
      {{"selfcap",
        "Self capacitance and resonance of the main window's coils (Medhurst, Maxwell)",
        &TransformerFieldDefs, &SelfCapacitanceCommand, &SelfCapacitanceValueDefs}},
      {{"structure",
        "Calculate of the general structure window: capacitance matrix, charges, forces and "
        "surface fields of a .cap description (the sample without --cap); its drawing area "
        "with the colour plot as a PNG, probe lines",
        &StructureWindowFieldDefs, &StructureCommand, &StructureValueDefs},
       {{"--cap", "FILE", "structure description to calculate", false, CliOptionKind::LoadsFields,
         &LoadDescriptionField},
        {"--plot", "OUT.png", "write the drawing area with the colour plot", false,
         CliOptionKind::PlotImage, nullptr, kStructureAreaSize, kStructureAreaSize},
        {"--probe", "X,Y", "probe line of pixel (X, Y) after the calculation", true,
         CliOptionKind::ProbePixel},
        kProbeAtOption}},
      {{"resonator",
        "Calculate of the Secondary resonance window: the secondary with its top load over the "
        "ground plane as a distributed resonator, its three lowest modes and the primary's tap",
        &ResonatorFieldDefs, &ResonatorCommand, &ResonatorValueDefs},
       {kTrdOption}},
      {{"toroid",
        "Calculate of the toroid window: exact capacitance, maximum field and other shapes, "
        "or the table toroid.dat (CBtabela=1) in the current directory",
        &ToroidFieldDefs, &ToroidCommand, &ToroidValueDefs},
       {},
       {},
       &WritesToroidTable},
  };
  return commands;
}

const CliCommand* FindCliCommand(const std::string& name) {
  for (const CliCommand& c : CliCommands())
    if (c.name == name) return &c;
  return nullptr;
}
