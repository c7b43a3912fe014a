#pragma once
// Mutual inductance between the primary and the secondary: Neumann's double line
// integral over true spirals, or ring sums over circular turns. Each routine writes
// its heading line, draws coil 1 as it goes and stores the result in ctx.coils.M.
#include <cstdint>

#include "transformer/context.h"

namespace quor::transformer {
using namespace quor::numerics;

void MutualSolenoids(TransformerContext& ctx, std::int32_t ns1, std::int32_t ns2);
void MutualGeneralCoils(TransformerContext& ctx, std::int32_t ns1, std::int32_t ns2);
void MutualCircularTurns(TransformerContext& ctx);

}  // namespace quor::transformer
