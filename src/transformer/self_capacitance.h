#pragma once
// Self-capacitance of a single-layer solenoid by Medhurst's empirical formula, and the
// self-resonance of each coil of the main window taken alone, with its inductance by
// Maxwell's method over circular turns.
#include <string>
#include <vector>

#include "numerics/command.h"
#include "numerics/fields.h"
#include "numerics/report.h"
#include "transformer/context.h"

namespace quor::transformer {
using namespace quor::numerics;

// The self-capacitance (farads) of a solenoid of height h and radius rmin (= rmax).
// A coil of rmax != rmin, or a flat one (h = 0), is outside the formula: the line
// "The coil must be solenoidal.", ctx.StopFlag false and 0. Otherwise StopFlag true.
Extended MedhurstCapacitance(TransformerContext& ctx, Extended h, Extended rmax, Extended rmin);

// "Self capacitance and resonance": reads the coils from the main window's fields and
// writes, under "Primary:" and "Secondary:", each solenoid's length, radius, Medhurst
// capacitance, inductance and self-resonance frequency. The turns are drawn on
// env.canvas with the mapping of the arrangement's last paint (env.mapping, which it
// leaves as it is). A coil the formula does not fit gets its line instead; Refused
// when the command ends on the secondary's line. Values C1, L1, f1 and C2, L2, f2 (F,
// H, Hz) of the coils that gave them. A negative height or radius, or a coil of no
// turns, ends it with an arithmetic fault.
Result SelfCapacitanceCommand(const FieldValues& fields, CommandEnv& env);

}  // namespace quor::transformer
