#pragma once
// J. V. Jones' mutual inductance between a solenoidal primary, taken as a uniform
// cylindrical current sheet of N1 (possibly fractional) turns over its height, and a
// secondary of closed coaxial circular turns.
#include "transformer/context.h"

namespace quor::transformer {
using namespace quor::numerics;

// Reads N1, h1, rmin1, b1 and the secondary of ctx.coils (h1 must not be 0), draws
// the secondary turns as it sums them and stores the result in ctx.coils.M.
void MutualJones(TransformerContext& ctx);

}  // namespace quor::transformer
