#include "cli/structure_cli.h"

#include "electrostatics/structure_description.h"
#include "electrostatics/structure_plot.h"
#include "electrostatics/structure_view.h"
#include "numerics/file_write.h"

void StructureCliCommand(const FieldValues& fields, BreakdownField& breakdown,
                         const CliOptions& options, ReportSink& report, const CliHooks& hooks) {
  std::vector<CanvasPoint> probes;
  if (const auto p = options.find("--probe"); p != options.end())
    for (const std::string& text : p->second) {
      const auto [x, y] = ParseProbePixel(text);
      probes.push_back({x, y});
    }
  const auto plot = options.find("--plot");
  if (plot != options.end() && !hooks.renderPng)
    throw CliArgumentError("--plot needs quor-cli built with the GUI");

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
