// Maxwell self-inductance of a true spiral of any shape: solenoidal, conical or flat,
// with a noninteger number of turns allowed. Both filamentary copies are cut into
// segs = trunc(nsm*N) segments of equal angle and Neumann's double integral is summed
// over all segment pairs.
#include <cmath>
#include <cstdint>

#include "numerics/format.h"
#include "numerics/input_rounding.h"
#include "transformer/general_spiral.h"
#include "transformer/maxwell.h"
#include "numerics/row_pool.h"
#include "transformer/spiral_progress.h"
#include "transformer/spiral_tables.h"

namespace quor::transformer {
using namespace quor::numerics;

Extended MaxwellGeneralCoil(TransformerContext& ctx, std::int32_t nsm, Extended N, Extended h,
                            Extended rmin, Extended rmax, Extended b, Extended wd) {
  ctx.SetRunning(true);
  ctx.StopFlag = true;
  ctx.Line("Calculating Maxwell inductance of a general coil...");
  const Extended rho = std::sqrt(rmin * rmax);
  const CopySeparation sep = WriteCopySeparation(ctx, nsm, wd, rho, h / N);
  const Extended s = sep.s;  // the second copy starts at height b + s

  const Extended p = h / (kTwoPi * N);
  const Extended a = (rmax - rmin) / (kTwoPi * N);
  const Extended dt = kTwoPi / nsm;
  const std::int64_t segs =
      static_cast<std::int64_t>(TruncWithinRounding(static_cast<Extended>(nsm) * N));
  const Extended theta0 = dt / 2;
  const Extended pp = p * p;
  const MidpointTable mid(nsm);
  const StepTable steps(nsm);

  SpiralProgress progress(ctx);
  progress.MoveTo(ToScreenX(ctx.map, rmin), ToScreenY(ctx.map, b));
  ctx.canvas->SetPenColor(kRed);
  Extended thetaA = theta0;
  // Outer segment k done: draw the first copy up to the end of that segment.
  auto stepDone = [&](std::int64_t k) {
    thetaA = thetaA + dt;
    const Extended phi = thetaA - theta0;
    const std::int64_t m = (k + 1) % nsm;  // phi/dtheta mod nsm
    const Extended r = rmin + phi * a;
    return progress.Step(SpiralPixel(
        ctx.map, phi, static_cast<Extended>(k + 1) * dt, steps.cos[m], steps.sin[m], r,
        [&](Extended cs, Extended sn) { return std::pair{r * cs, b + phi * p + 0.5L * r * sn}; }));
  };

  Extended sum = 0;
  if (a == 0) {
    // Constant radius: a pair of segments interacts through its index difference
    // t = iA - iB alone (angle t*dtheta, height difference t*dtheta*p - s), and
    // segs - |t| pairs share each t. Outer step k adds the differences +k and -k,
    // each evaluated on one representative pair.
    const Extended r = rmin;
    auto G = [&](std::int64_t t) {
      const std::int64_t m = (t < 0 ? -t : t) % nsm;
      const Extended xA = t >= 0 ? mid.cos[m] * r : mid.cos[0] * r;
      const Extended yA = t >= 0 ? mid.sin[m] * r : mid.sin[0] * r;
      const Extended xB = t >= 0 ? mid.cos[0] * r : mid.cos[m] * r;
      const Extended yB = t >= 0 ? mid.sin[0] * r : mid.sin[m] * r;
      const Extended dx = xA - xB;
      const Extended dy = yA - yB;
      const Extended dz = static_cast<Extended>(t) * dt * p - s;
      return (pp + xA * xB + yA * yB) / std::sqrt(dx * dx + dy * dy + dz * dz);
    };
    for (std::int64_t k = 0; k < segs; ++k) {
      const Extended w = static_cast<Extended>(segs - k);
      sum = sum + w * G(k);
      if (k > 0) sum = sum + w * G(-k);
      if (!stepDone(k)) return 0;
    }
  } else {
    // Conical or flat: no such structure, (segs)^2 terms. The second copy is the
    // first raised by s; rows (one segment of the first copy against every segment
    // of the second) are summed by worker threads while this thread draws and
    // watches for Stop.
    const GeneralSpiralRows spiral(segs, nsm, rmin, a, p, b, s);
    RowPool pool(segs, [&spiral](std::int64_t i) { return spiral.Row(i); },
                 RowPool::WorkersFor(segs, segs));
    for (std::int64_t k = 0; k < segs; ++k) {
      sum = sum + pool.Next();
      if (!stepDone(k)) return 0;
    }
  }
  if (!progress.Finish()) return 0;
  return 1e-7L * sum * dt * dt;
}

}  // namespace quor::transformer
