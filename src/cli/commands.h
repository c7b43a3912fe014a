#pragma once
// The window commands quor-cli can run: each has the window's fields (names, labels,
// default texts) and a function of the field texts that writes the Report lines.
#include <functional>
#include <string>
#include <vector>

#include "electrostatics/breakdown_field.h"
#include "numerics/fields.h"
#include "numerics/report.h"

struct CliCommand {
  std::string name;
  std::string summary;
  const std::vector<FieldDef>& (*fields)();
  // Receives every field of the window (its default text unless overridden) and the
  // program-wide breakdown field, already set by an Emax=VALUE before the command.
  std::function<void(const FieldValues&, BreakdownField&, ReportSink&)> run;
};

const std::vector<CliCommand>& CliCommands();
const CliCommand* FindCliCommand(const std::string& name);
