#pragma once
// Maxwell's self-inductance: the mutual inductance between a coil and a copy of it
// displaced by the geometric mean distance of the wire section. The true-spiral
// routines set the context running (the window offers Stop), pump events once per
// outer step and end with "Interrupted" when a stop is requested meanwhile.
// On a refused or interrupted call ctx.StopFlag is false and the result is 0.
#include <cstdint>

#include "transformer/context.h"

namespace quor::transformer {
using namespace quor::numerics;

Extended MaxwellSolenoid(TransformerContext& ctx, std::int32_t nsm, Extended N, Extended h,
                         Extended rmin, Extended rmax, Extended b, Extended wd);
Extended MaxwellGeneralCoil(TransformerContext& ctx, std::int32_t nsm, Extended N, Extended h,
                            Extended rmin, Extended rmax, Extended b, Extended wd);
Extended MaxwellSolenoidCircular(TransformerContext& ctx, Extended N, Extended h,
                                 Extended rmin, Extended rmax, Extended b, Extended wd);
Extended MaxwellGeneralCircular(TransformerContext& ctx, Extended N, Extended h,
                                Extended rmin, Extended rmax, Extended b, Extended wd);

}  // namespace quor::transformer
