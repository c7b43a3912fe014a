#pragma once
// quor-cli structure: Calculate of the general structure window, and with --plot the
// drawing area as the window shows it after Plot, written as a PNG; --probe X,Y adds
// the probe line of a pixel.
#include "cli/commands.h"

void StructureCliCommand(const FieldValues& fields, BreakdownField& breakdown,
                         const CliOptions& options, ReportSink& report, const CliHooks& hooks);
