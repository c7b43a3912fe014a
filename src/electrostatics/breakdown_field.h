#pragma once
// The breakdown field of air: one setting for the whole program, in kV/m, that turns
// a surface field per volt (V/m per V) into a breakdown voltage in kV. The
// application owns one; quor-cli makes one per run. Every start begins at 3 MV/m.
#include <string_view>
#include <vector>

#include "numerics/extended.h"
#include "numerics/fields.h"
#include "numerics/report.h"

struct BreakdownField {
  Extended Emax = 3000.0L;  // kV/m
};

// The one edit field of the Parameters window, Eemax.
const std::vector<FieldDef>& ParametersFieldDefs();

// Apply of the Parameters window: Emax takes the number in the text (a malformed
// text reads as 0, unreported) and the Report says so,
// "Maximum electric field set to 3000.0 kV/m".
void ApplyBreakdownField(BreakdownField& setting, std::string_view text, ReportSink& report);

// The same as a command of the window's fields.
void ParametersCommand(const FieldValues& fields, BreakdownField& setting, ReportSink& report);
