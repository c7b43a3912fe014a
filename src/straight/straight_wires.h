#pragma once
// The "Two straight wires" panel: self-inductances of two straight round wires, their
// mutual inductance when they lie parallel (side by side, shifted, or in line) by the
// closed formula and by a numerical double sum, and Maxwell's inductance of round and
// flat wires. Reported in microhenries.
#include <cstdint>
#include <string>
#include <vector>

#include "numerics/command.h"
#include "numerics/fields.h"
#include "numerics/report.h"

namespace quor::straight {
using namespace quor::numerics;

// Elength1, Eradius1, Elength2, Eradius2, Esegments, Edistance, Eoffset.
const std::vector<FieldDef>& StraightFieldDefs();

// The numerical sum takes every one of the n*n segment pairs up to this count (10^8
// terms, about a second); beyond it only wires of equal length are summed, through
// their 2n - 1 segment differences, up to kMaxEqualWireSegments.
inline constexpr std::int32_t kMaxSegments = 10000;
inline constexpr std::int32_t kMaxEqualWireSegments = 10000000;

// Calculate of the panel, as a plain function of its field texts (missing names take
// the defaults). Inputs that describe no pair of wires (a length or diameter not
// positive, a wire not longer than its diameter, a negative distance, wires that
// overlap, a segment count out of range) are refused with one line saying so.
// Values: each inductance printed (H) and k, by the keys of StraightValueDefs.
Result StraightCommand(const FieldValues& fields, CommandEnv& env);
const std::vector<ValueDef>& StraightValueDefs();

}  // namespace quor::straight
