#include "cli/commands.h"

#include <charconv>

#include "electrostatics/conical_sheet.h"
#include "electrostatics/partial_toroid.h"
#include "transformer/driver.h"

namespace {

// "X,Y": two whole pixel coordinates.
std::pair<int, int> ProbePixel(const std::string& text) {
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

}  // namespace

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
      {"partial",
       "Calculate of the Partial toroid window: a band of a torus cut into thin rings",
       &PartialFieldDefs,
       [](const FieldValues& f, BreakdownField& e, const CliOptions& o, ReportSink& r) {
         std::vector<std::pair<int, int>> probes;
         if (auto it = o.find("--probe"); it != o.end())
           for (const std::string& p : it->second) probes.push_back(ProbePixel(p));
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
  };
  return commands;
}

const CliCommand* FindCliCommand(const std::string& name) {
  for (const CliCommand& c : CliCommands())
    if (c.name == name) return &c;
  return nullptr;
}
