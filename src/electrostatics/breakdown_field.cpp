#include "electrostatics/breakdown_field.h"

#include <string>

#include "numerics/format.h"
#include "numerics/number_reading.h"

const std::vector<FieldDef>& ParametersFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"Eemax", "Maximum electric field in air (kV/m)", "3000",
       "Breakdown field of air used for every breakdown voltage", false},
  };
  return defs;
}

void ApplyBreakdownField(BreakdownField& setting, std::string_view text, ReportSink& report) {
  setting.Emax = ReadNumber(text);
  ReportLine(report, "Maximum electric field set to " + FixedStr(setting.Emax, 5, 1) + " kV/m");
}

void ParametersCommand(const FieldValues& fields, BreakdownField& setting, ReportSink& report) {
  ApplyBreakdownField(setting, FieldText(fields, ParametersFieldDefs(), "Eemax"), report);
}
