#include "cli/structure_cli.h"

#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

#include "electrostatics/structure_description.h"
#include "electrostatics/structure_plot.h"
#include "electrostatics/structure_view.h"
#include "numerics/file_write.h"

namespace {

// True when path names the program's own standard output (--plot /dev/stdout, or the
// file stdout is redirected to).
bool IsStandardOutput(const std::string& path) {
  struct stat out {}, named {};
  return ::fstat(STDOUT_FILENO, &out) == 0 && ::stat(path.c_str(), &named) == 0 &&
         out.st_dev == named.st_dev && out.st_ino == named.st_ino;
}

// The Report lines on stderr, while stdout carries the image.
class StandardErrorReport : public ReportSink {
 public:
  void Append(std::string_view line) override { std::cerr << line << '\n'; }
};

}  // namespace

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
  // A PNG piped to a viewer must not have the Report lines mixed into it.
  StandardErrorReport toStderr;
  ReportSink& lineSink = IsStandardOutput(plot->second.front()) ? toStderr : report;
  const std::string png =
      hooks.renderPng(kStructureAreaSize, kStructureAreaSize, [&](Canvas& canvas) {
        StructureWindowCommand(fields, lines, breakdown, lineSink, &canvas, probes);
      });
  WriteFileAtomically(plot->second.front(), png);
}
