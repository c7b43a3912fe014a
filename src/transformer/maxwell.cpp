#include "transformer/maxwell.h"

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "numerics/format.h"
#include "numerics/rings.h"
#include "transformer/spiral_progress.h"
#include "transformer/spiral_tables.h"

namespace quor::transformer {
using namespace quor::numerics;

// Maxwell's method (Treatise, vol. II, art. 692): the self-inductance of a coil of
// round wire is the mutual inductance between two filamentary copies of its axis line
// separated by the geometric mean distance of the wire section from itself.

namespace {

// Circular turn i drawn as the ellipse of a ring seen slightly from above.
void DrawTurn(TransformerContext& ctx, Extended r, Extended z) {
  DrawArc(*ctx.canvas, ToScreenX(ctx.map, -r), ToScreenY(ctx.map, z - r / 2),
          ToScreenX(ctx.map, r), ToScreenY(ctx.map, z + r / 2), 0, 360);
}

}  // namespace

// The helix of n turns, radius r and rise p per radian, against its copy raised by s.
// Cut both into nsm segments per turn; the interaction of segment theta of the first
// copy with segment phi of the second depends only on theta - phi: the cosine of the
// angle between the tangents and the distance (the heights differ by p*(theta - phi)).
// A turn shift therefore changes nothing, and only turn 1 of the second copy is
// integrated against every turn i of the first: the pair (i, 1) stands for the n - d
// pairs at turn offset d = i - 1, once with the copy below (S1) and once above (S2).
//
// Within one turn the nsm*nsm segment pairs have only 2*nsm - 1 angle differences:
// with K = (i - 1)*nsm and the segment difference t = k - l (k on the first copy,
// l on the second, both 0 ... nsm - 1), the pairs of difference t number nsm - |t|:
//   S(i) = sum over t of (nsm - |t|) * F(K + t).
// The differences K + t of turn i + 1 reuse those of K + 1 ... K + nsm - 1 of turn i,
// so each outer segment k evaluates F only at the new difference K + k.
Extended MaxwellSolenoid(TransformerContext& ctx, std::int32_t nsm, Extended N, Extended h,
                         Extended rmin, Extended rmax, Extended b, Extended wd) {
  ctx.StopFlag = true;
  ctx.SetRunning(true);
  ctx.Line("Calculating Maxwell inductance of a solenoid...");
  if (rmin != rmax) {
    ctx.Line("The coil must be solenoidal");
    ctx.StopFlag = false;
    return 0;
  }
  const std::int32_t n = RoundAtLeastOne(N);
  if (N != n) ctx.Line("Turns rounded to " + IntStr(n));
  ctx.Value(ctx.CoilKey("n"), "1", n);

  const Extended p = h / (kTwoPi * n);  // rise per radian
  const Extended dt = kTwoPi / nsm;
  const Extended r = rmin;
  const CopySeparation sep = WriteCopySeparation(ctx, nsm, wd, r, h / n);
  const Extended s = sep.s;

  const Extended r2 = r * r;
  const Extended p2 = p * p;
  const Extended twoR2 = 2 * r2;
  const Extended theta0 = dt / 2;
  Extended theta = theta0;
  Extended L = 0;
  ctx.canvas->SetPenColor(kRed);

  const StepTable steps(nsm);
  // F at the angle difference u*dtheta: the tangent product over the distance, to
  // the copy below (f1, distance term s + delta) and above (f2, delta - s).
  const std::int64_t width = 2 * static_cast<std::int64_t>(nsm) - 1;
  std::vector<Extended> f1(width), f2(width);  // index t + nsm - 1
  auto evaluate = [&](std::int64_t u, std::int64_t slot) {
    std::int64_t m = u % nsm;
    if (m < 0) m = -m;  // cosine is even
    const Extended c = steps.cos[m];
    const Extended num = p2 + c * r2;
    const Extended q = twoR2 - c * twoR2;
    const Extended delta = p * (static_cast<Extended>(u) * dt);
    f1[slot] = num / std::sqrt(q + (s + delta) * (s + delta));
    f2[slot] = num / std::sqrt(q + (delta - s) * (delta - s));
  };
  // Turn 1 also needs the negative differences, which no later turn produces.
  for (std::int64_t t = -(nsm - 1); t < 0; ++t) evaluate(t, t + nsm - 1);

  SpiralProgress progress(ctx);
  for (std::int32_t i = 1; i <= n; ++i) {
    const std::int64_t K = static_cast<std::int64_t>(i - 1) * nsm;
    progress.MoveTo(ToScreenX(ctx.map, r), ToScreenY(ctx.map, b + p * (theta - theta0)));
    for (std::int32_t k = 0; k < nsm; ++k) {
      evaluate(K + k, k + nsm - 1);
      theta = theta + dt;
      const std::int32_t m = k + 1 == nsm ? 0 : k + 1;  // (theta - theta0)/dtheta mod nsm
      const Extended phi = theta - theta0;
      const Extended indexAngle = static_cast<Extended>(K + k + 1) * dt;
      const CanvasPoint end = SpiralPixel(ctx.map, phi, indexAngle, steps.cos[m], steps.sin[m], r,
                                          [&](Extended cs, Extended sn) {
                                            return std::pair{r * cs, b + phi * p + 0.5L * r * sn};
                                          });
      if (!progress.Step(end)) return 0;
    }
    Extended S1 = 0, S2 = 0;
    for (std::int64_t slot = 0; slot < width; ++slot) {
      const std::int64_t t = slot - (nsm - 1);
      const Extended w = static_cast<Extended>(nsm - (t < 0 ? -t : t));
      S1 = S1 + w * f1[slot];
      S2 = S2 + w * f2[slot];
    }
    if (i == 1) {
      L = S1 * n;
    } else {
      L = L + (S1 + S2) * (n - (i - 1));
    }
    // Differences K + 1 ... K + nsm - 1 are the negative half of the next turn.
    for (std::int64_t slot = 0; slot < nsm - 1; ++slot) {
      f1[slot] = f1[slot + nsm];
      f2[slot] = f2[slot + nsm];
    }
  }
  if (!progress.Finish()) return 0;
  return 1e-7L * L * dt * dt;
}

Extended MaxwellSolenoidCircular(TransformerContext& ctx, Extended N, Extended h, Extended rmin,
                                 Extended rmax, Extended b, Extended wd) {
  if (rmin != rmax) {
    ctx.Line("The coil must be solenoidal");
    ctx.StopFlag = false;
    return 0;
  }
  const std::int32_t n = RoundAtLeastOne(N);
  if (N != n) ctx.Line("Turns rounded to " + IntStr(n));
  ctx.Value(ctx.CoilKey("n"), "1", n);
  const Extended g = WireGmd(wd);
  const Extended dz = h / n;
  const Extended z1 = b + dz / 2;
  const Extended r = rmin;
  ctx.canvas->SetPenColor(kAqua);
  Extended L = 0;
  // Turn i of the first copy against turn 1 of the copy raised by g (m1) and lowered
  // by g (m2): every offset i - 1 occurs n - (i - 1) times in each direction.
  Extended zi = z1;
  for (std::int32_t i = 1; i <= n; ++i) {
    const Extended m1 = RingPairTerm(r, r, zi - z1 - g);
    if (i == 1) {
      L = n * m1;
    } else {
      const Extended m2 = RingPairTerm(r, r, zi - z1 + g);
      L = L + (n - (i - 1)) * (m1 + m2);
    }
    DrawTurn(ctx, r, zi);
    zi = zi + dz;
  }
  ctx.StopFlag = true;
  return -kMu0 * L;
}

Extended MaxwellGeneralCircular(TransformerContext& ctx, Extended N, Extended h, Extended rmin,
                                Extended rmax, Extended b, Extended wd) {
  const Extended g = WireGmd(wd);
  const std::int32_t n = RoundAtLeastOne(N);
  if (N != n) ctx.Line("Turns rounded to " + IntStr(n));
  ctx.Value(ctx.CoilKey("n"), "1", n);
  const Extended dz = h / n;
  const Extended dr = (rmax - rmin) / n;
  ctx.canvas->SetPenColor(kAqua);
  Extended sum = 0;
  // The listed terms and running sums, in henries, kept as n x n tables (row i).
  std::vector<Extended> terms, sums;
  if (ctx.values) {
    terms.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    sums.reserve(terms.capacity());
  }
  for (std::int32_t i = 1; i <= n; ++i) {
    // A conical coil of thousands of turns lists millions of terms: a Stop is taken
    // between two rows.
    if (ctx.StoppedBetweenRows()) return 0;
    const Extended zi = b + dz / 2 + (i - 1) * dz;
    const Extended ri = rmin + dr / 2 + (i - 1) * dr;
    for (std::int32_t j = 1; j <= n; ++j) {
      const Extended zj = b + dz / 2 + (j - 1) * dz + g;
      const Extended rj = rmin + dr / 2 + (j - 1) * dr;
      const Extended t = RingPairTerm(ri, rj, zi - zj);
      sum = sum + t;
      // -mu0*t in microhenries is -0.4*pi*t.
      ctx.Line("Termo=" + FixedStr(t * 0.4L * kPi, 10, 6) +
               " Integral=" + FixedStr(sum * 0.4L * kPi, 10, 6));
      if (ctx.values) {
        terms.push_back(t * kMu0);
        sums.push_back(sum * kMu0);
      }
    }
    DrawTurn(ctx, ri, zi);
  }
  if (ctx.values) {
    const auto rows = static_cast<std::size_t>(n);
    ctx.values->AddMatrix(ctx.CoilKey("L", "_terms"), "H", rows, rows, std::move(terms));
    ctx.values->AddMatrix(ctx.CoilKey("L", "_sums"), "H", rows, rows, std::move(sums));
  }
  ctx.StopFlag = true;
  return -kMu0 * sum;
}

}  // namespace quor::transformer
