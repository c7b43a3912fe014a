#pragma once
// The breakdown field of air (BreakdownField, kept with the command environment) and
// the Parameters window that sets it.
#include <vector>

#include "numerics/command.h"
#include "numerics/fields.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// The one edit field of the Parameters window, Eemax.
const std::vector<FieldDef>& ParametersFieldDefs();

// Apply of the Parameters window: env.breakdown.Emax takes the number of Eemax and the
// Report says so, "Maximum electric field set to 3000.0 kV/m". Value "Emax" (V/m).
// A field of zero or less is refused, the setting unchanged.
Result ParametersCommand(const FieldValues& fields, CommandEnv& env);
const std::vector<ValueDef>& ParametersValueDefs();

}  // namespace quor::electrostatics
