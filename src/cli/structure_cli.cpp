#include "cli/structure_cli.h"

#include <charconv>

#include "electrostatics/structure_description.h"
#include "electrostatics/structure_plot.h"
#include "electrostatics/structure_view.h"
#include "numerics/file_write.h"

namespace {

// "X,Y": two whole pixel coordinates.
CanvasPoint ReadPixel(const std::string& text) {
  CanvasPoint p;
  const char* end = text.data() + text.size();
  const auto [afterX, ex] = std::from_chars(text.data(), end, p.x);
  if (ex == std::errc() && afterX != end && *afterX == ',') {
    const auto [afterY, ey] = std::from_chars(afterX + 1, end, p.y);
    if (ey == std::errc() && afterY == end) return p;
  }
  throw CliUsageError("--probe takes X,Y (whole pixels), not '" + text + "'");
}

}  // namespace

void StructureCliCommand(const FieldValues& fields, BreakdownField& breakdown,
                         const CliOptions& options, ReportSink& report, const CliHooks& hooks) {
  std::vector<CanvasPoint> probes;
  if (const auto p = options.find("--probe"); p != options.end())
    for (const std::string& text : p->second) probes.push_back(ReadPixel(text));
  const auto plot = options.find("--plot");
  if (plot != options.end() && !hooks.renderPng)
    throw CliUsageError("--plot needs quor-cli built with the GUI");

  const auto cap = options.find("--cap");
  const std::vector<std::string> lines =
      cap == options.end() ? StructureSampleLines() : LoadDescriptionFile(cap->second.front());
  if (plot == options.end()) {
    StructureWindowCommand(fields, lines, breakdown, report, nullptr, probes);
    return;
  }
  const std::string png =
      hooks.renderPng(kStructureAreaSize, kStructureAreaSize, [&](Canvas& canvas) {
        StructureWindowCommand(fields, lines, breakdown, report, &canvas, probes);
      });
  WriteFileAtomically(plot->second.front(), png);
}
