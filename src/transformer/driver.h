#pragma once
// The Calculate command of the main window: read and check the coil pair, list the
// classical and exact inductances the options ask for, the mutual inductance, the
// coupling coefficient, the operating mode and the Oudin-coil equivalents.
#include <string>
#include <vector>

#include "numerics/report.h"
#include "transformer/coil_pair.h"
#include "transformer/context.h"

// The whole command. With the caption reading "Stop" (a click arriving while a
// true-spiral sum pumps events) it only clears StopFlag and restores "Calculate".
// An arithmetic fault (division by zero, invalid operation, overflow) ends it with
// ArithmeticFault after the lines written so far, the caption back to "Calculate".
void BcalcClick(TransformerContext& ctx, const FieldValues& fields);

// The command as a plain function of the field texts (missing names take the form's
// defaults), on a blank canvas of the window's size. The sink form streams the lines.
// Both pass an ArithmeticFault on to the caller.
void TransformerCommand(const FieldValues& fields, ReportSink& report);
std::vector<std::string> TransformerCommand(const FieldValues& fields);

// The operating mode of a tuned transformer: with r = sqrt((1 + k)/(1 - k)) the ratio
// of its two resonance frequencies, x = r/(r - 1) and the mode is the pair (x - 1):x.
Extended ModeRatio(Extended k);
// "Mode: " + (x - 1) + ":" + x, each in four characters with one decimal.
std::string ModeText(Extended k);

// The coupling coefficient, the mode and, for an Oudin coil (secondary joined to one
// end of the primary), the equivalent k, mode, M and L2 of the normal and the reverse
// connection. Inductances in henries.
void WriteCoupling(ReportSink& report, Extended L1, Extended L2, Extended M, bool oudin);
