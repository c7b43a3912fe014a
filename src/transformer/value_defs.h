#pragma once
// The documentation of the values the transformer's commands return: key, unit and
// meaning, as quor-cli COMMAND --help lists them.
#include <vector>

#include "numerics/command.h"

namespace quor::transformer {
using namespace quor::numerics;

// Calculate of the main window (TransformerCommand).
const std::vector<ValueDef>& TransformerValueDefs();
// Self-capacitance and self-resonance of the two coils (SelfCapacitanceCommand).
const std::vector<ValueDef>& SelfCapacitanceValueDefs();
// The optimal couplings (CouplingsCommand).
const std::vector<ValueDef>& CouplingsValueDefs();
// The unit conversions: each converted field by its name (ToMetersCommand,
// ToInchesCommand).
const std::vector<ValueDef>& ToMetersValueDefs();
const std::vector<ValueDef>& ToInchesValueDefs();
// A command that computes no number (save-trd).
const std::vector<ValueDef>& NoValueDefs();

}  // namespace quor::transformer
