#include "electrostatics/breakdown_field.h"

#include <string>

#include "numerics/format.h"
#include "numerics/number_reading.h"

namespace quor::electrostatics {
using namespace quor::numerics;

const std::vector<FieldDef>& ParametersFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"Eemax", "Maximum electric field in air (kV/m)", "3000",
       "Breakdown field of air used for every breakdown voltage", false},
  };
  return defs;
}

const std::vector<ValueDef>& ParametersValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"Emax", "V/m", "the breakdown field of air now set"},
  };
  return defs;
}

Result ParametersCommand(const FieldValues& fields, CommandEnv& env) {
  BreakdownField& setting = env.breakdown;
  const Extended Emax = ReadNumber(FieldText(fields, ParametersFieldDefs(), "Eemax"));
  // Every breakdown voltage is this field over a field per volt: a field of zero or
  // less would print zero or negative voltages. The old setting stays.
  if (!(Emax > 0))
    return Refusal(env.Report(), "The maximum electric field in air must be positive");
  setting.Emax = Emax;
  ReportLine(env.Report(),
             "Maximum electric field set to " + FixedStr(setting.Emax, 5, 1) + " kV/m");
  Result r;
  r.Add("Emax", "V/m", setting.Emax * 1000);
  return r;
}

}  // namespace quor::electrostatics
