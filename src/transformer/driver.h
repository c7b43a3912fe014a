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

// The whole command. The arrangement is drawn on env.canvas (a blank one without it)
// and its mapping left in env.mapping. Refused, on the line that says why, when the
// checks of the coil pair or of the work refuse it, when a Maxwell routine refuses
// the coil, or when a stop is requested during a true-spiral sum ("Interrupted").
// Values: L1 and L2 (H) as used, and with "Calculate M and k" (or the primary turns
// in parallel) M (H) and k (1).
Result TransformerCommand(const FieldValues& fields, CommandEnv& env);

// The operating mode of a tuned transformer: with r = sqrt((1 + k)/(1 - k)) the ratio
// of its two resonance frequencies, x = r/(r - 1) and the mode is the pair (x - 1):x.
Extended ModeRatio(Extended k);
// "Mode: " + (x - 1) + ":" + x, each in four characters with one decimal.
std::string ModeText(Extended k);

// The coupling coefficient, the mode and, for an Oudin coil (secondary joined to one
// end of the primary), the equivalent k, mode, M and L2 of the normal and the reverse
// connection. Inductances in henries.
void WriteCoupling(ReportSink& report, Extended L1, Extended L2, Extended M, bool oudin);
