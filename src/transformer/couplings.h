#pragma once
// The coupling coefficients at which a tuned Tesla transformer hands all of its energy
// from the primary circuit to the secondary.
#include <vector>

#include "numerics/command.h"
#include "numerics/extended.h"
#include "numerics/fields.h"
#include "numerics/report.h"

namespace quor::transformer {
using namespace quor::numerics;

// The coupling of mode a:b, the two resonances of the coupled pair in the ratio of the
// consecutive integers a and b = a + 1: k = (b^2 - a^2)/(b^2 + a^2).
Extended OptimalCoupling(int a);

// "Optimal Tesla coil couplings": an empty line, the heading and the modes 1:2 to
// 15:16 with the cycles the transfer takes and their coupling coefficients. It reads
// no fields.
Result CouplingsCommand(const FieldValues& fields, CommandEnv& env);

// The command takes no fields.
const std::vector<FieldDef>& CouplingsFieldDefs();

}  // namespace quor::transformer
