#pragma once
// A primary made of closed circular loops all connected in parallel (one voltage,
// currents adding), coupled to a solenoidal secondary: the equivalent two-port.
#include "transformer/context.h"

namespace quor::transformer {
using namespace quor::numerics;

// Loops: n = RoundAtLeastOne(N) (at most 99), from (rmin, b) to (rmax, b + h). Reads
// the secondary and its self-inductance L2 from ctx.coils. On success returns the
// equivalent primary inductance, replaces ctx.coils.L2 and ctx.coils.M by the
// equivalent secondary and mutual inductances and sets StopFlag; on failure writes
// why, clears StopFlag and the result means nothing.
Extended ParallelPrimary(TransformerContext& ctx, Extended N, Extended h, Extended rmin,
                         Extended rmax, Extended b, Extended wd);

inline constexpr int kMaxParallelLoops = 99;

}  // namespace quor::transformer
