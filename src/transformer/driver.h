#pragma once
// The Calculate command of the main window: read and check the coil pair, list the
// classical and exact inductances the options ask for, the mutual inductance, the
// coupling coefficient, the operating mode and the Oudin-coil equivalents.
#include <string>
#include <vector>

#include "numerics/command.h"
#include "numerics/report.h"
#include "transformer/coil_pair.h"
#include "transformer/context.h"

namespace quor::transformer {
using namespace quor::numerics;

// The whole command. The arrangement is drawn on env.canvas (a blank one without it)
// and its mapping left in env.mapping. Refused, on the line that says why, when the
// checks of the coil pair or of the work refuse it, when a Maxwell routine refuses
// the coil, or when a stop is requested during a true-spiral sum ("Interrupted").
// Values: every number of its lines in SI units, by the keys of TransformerValueDefs
// (value_defs.h): L1 and L2 as used; M, k and the mode with "Calculate M and k" or
// the primary turns in parallel; a refusal keeps those computed before it.
Result TransformerCommand(const FieldValues& fields, CommandEnv& env);


// The operating mode of a tuned transformer: with r = sqrt((1 + k)/(1 - k)) the ratio
// of its two resonance frequencies, x = r/(r - 1) and the mode is the pair (x - 1):x.
Extended ModeRatio(Extended k);
// "Mode: " + (x - 1) + ":" + x, each in four characters with one decimal.
std::string ModeText(Extended k);

// The coupling coefficient, the mode and, for an Oudin coil (secondary joined to one
// end of the primary), the equivalent k, mode, M and L2 of the normal and the reverse
// connection. Inductances in henries. With values, each number printed is added
// there: k, mode_lower, mode_upper, and oudin_ / oudin_rev_ + k, mode_lower,
// mode_upper, M, L2.
void WriteCoupling(ReportSink& report, Extended L1, Extended L2, Extended M, bool oudin,
                   Result* values = nullptr);

}  // namespace quor::transformer
