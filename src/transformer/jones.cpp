#include "transformer/jones.h"

#include "numerics/format.h"
#include "transformer/classical.h"
#include "transformer/drawing.h"

namespace quor::transformer {
using namespace quor::numerics;

void MutualJones(TransformerContext& ctx) {
  CoilPair& c = ctx.coils;
  const std::int32_t turns2 = RoundAtLeastOne(c.N2);
  ctx.Line(
      "Calculating mutual inductance between a solenoid and a general coil with circular "
      "turns using J. V. Jones' method...");
  if (c.N2 != turns2) ctx.Line("Turns 2 rounded to " + IntStr(turns2));
  ctx.Value("n2", "1", turns2);

  const Extended dz = c.h2 / turns2;
  const Extended dr = (c.rmax2 - c.rmin2) / turns2;
  Extended z = c.b2 + dz / 2;
  Extended r = c.rmin2 + dr / 2;
  Extended M = 0;
  ctx.canvas->SetPenColor(kYellow);
  for (std::int32_t i = 1; i <= turns2; ++i) {
    // The sheet is cut at the plane of the turn: the part above and the part below
    // both end there, with N1/h1 turns per metre of signed length.
    const Extended top = c.h1 + c.b1 - z;
    const Extended bottom = c.b1 - z;
    M = (JonesEndCircleMutual(c.rmin1, r, top, top * c.N1 / c.h1) + M) -
        JonesEndCircleMutual(c.rmin1, r, bottom, bottom * c.N1 / c.h1);
    DrawArc(*ctx.canvas, ToScreenX(ctx.map, static_cast<double>(-r)),
            ToScreenY(ctx.map, static_cast<double>(z - r / 2)),
            ToScreenX(ctx.map, static_cast<double>(r)),
            ToScreenY(ctx.map, static_cast<double>(z + r / 2)), 0, 360);
    r = r + dr;
    z = z + dz;
  }
  c.M = M;
}

}  // namespace quor::transformer
