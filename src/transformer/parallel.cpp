#include "transformer/parallel.h"

#include <utility>
#include <vector>

#include "numerics/format.h"
#include "numerics/matrix.h"
#include "numerics/rings.h"
#include "transformer/classical.h"
#include "transformer/drawing.h"

namespace quor::transformer {
using namespace quor::numerics;

namespace {

// Mutual inductance between loop i (radius r, height z) and the secondary.
Extended LoopToSecondary(const CoilPair& c, Extended r, Extended z) {
  if (c.h2 == 0) {
    // A secondary of zero height is N2 turns stacked on one circle. Each of them links
    // the loop as one ring does, so the coupling is N2 ring mutual inductances. This
    // keeps the value continuous with the current-sheet formula below as h2 goes to
    // 0 (a sheet of N2 turns squeezed into one plane), and consistent with L2, which
    // the ring sums give as about N2 squared times one turn. For N2 = 1, the only
    // zero-height secondary whose wire passes the input checks, the factor is exact.
    return c.N2 * RingPairMutual(r, c.rmin2, z - c.b2);
  }
  // J. V. Jones' current-sheet terms with the secondary as the sheet, split at the
  // plane of the loop; the formula is symmetric in the two radii.
  const Extended top = c.h2 + c.b2 - z;
  const Extended bottom = c.b2 - z;
  return JonesEndCircleMutual(r, c.rmin2, top, top * c.N2 / c.h2) -
         JonesEndCircleMutual(r, c.rmin2, bottom, bottom * c.N2 / c.h2);
}

}  // namespace

Extended ParallelPrimary(TransformerContext& ctx, Extended N, Extended h, Extended rmin,
                         Extended rmax, Extended b, Extended wd) {
  CoilPair& c = ctx.coils;
  const std::int32_t n = RoundAtLeastOne(N);
  ctx.Line("Calculating inductance L1 with all the turns in parallel...");
  if (N != n) ctx.Line("Turns rounded to " + IntStr(n));
  ctx.Value("n1", "1", n);

  // A count of 2^31 or more comes out of the rounding with its low 32 bits only,
  // possibly negative: it is as much too many as any count above the limit.
  if (n >= kMaxParallelLoops + 1 || (n < 1 && N > 0)) {
    ctx.Line("Too many turns in parallel (max=" + IntStr(kMaxParallelLoops) + ")");
    ctx.StopFlag = false;
    return 0;
  }
  if (c.rmax2 != c.rmin2) {
    ctx.Line("This calculation requires a solenoidal secondary coil");
    ctx.StopFlag = false;
    return 0;
  }
  if (n < 1) {
    // Only a negative turn count gets here; the input checks refuse it before.
    ctx.StopFlag = false;
    return 0;
  }

  // The inductance matrix: loops 1..n, then the secondary as n + 1.
  ExtMatrix L;
  const int s = n + 1;
  ctx.canvas->SetPenColor(kGray);
  auto radius = [&](int i) { return n == 1 ? rmin : rmin + (i - 1) * (rmax - rmin) / (n - 1); };
  auto height = [&](int i) { return n == 1 ? b : b + (i - 1) * h / (n - 1); };
  for (int i = 1; i <= n; ++i) {
    const Extended ri = radius(i);
    const Extended zi = height(i);
    L(i, i) = MaxwellOneTurn(ri, wd);
    for (int j = i + 1; j <= n; ++j) {
      L(i, j) = RingPairMutual(ri, radius(j), zi - height(j));
      L(j, i) = L(i, j);
    }
    L(i, s) = LoopToSecondary(c, ri, zi);
    L(s, i) = L(i, s);
    DrawArc(*ctx.canvas, ToScreenX(ctx.map, static_cast<double>(-ri)),
            ToScreenY(ctx.map, static_cast<double>(zi - ri / 2)),
            ToScreenX(ctx.map, static_cast<double>(ri)),
            ToScreenY(ctx.map, static_cast<double>(zi + ri / 2)), 0, 360);
  }
  L(s, s) = c.L2;
  if (ctx.values) {
    std::vector<Extended> all;
    for (int i = 1; i <= s; ++i)
      for (int j = 1; j <= s; ++j) all.push_back(L(i, j));
    const auto size = static_cast<std::size_t>(s);
    ctx.values->AddMatrix("L_loops", "H", size, size, std::move(all));
  }

  if (s < 6) {
    ctx.Line("Inductances and mutual inductances (Maxwell and Jones methods):");
    for (int i = 1; i <= s; ++i)
      for (int j = i; j <= s; ++j)
        ctx.Line("L(" + IntStr(i) + "," + IntStr(j) + "):" + FixedStr(L(i, j) / 0.001L, 15, 10) +
                 " mH");
  }

  if (!InvertMatrix(s, L, *ctx.report)) {
    ctx.StopFlag = false;
    return 0;
  }

  // The inverse maps flux linkages to currents. The loops share one voltage, hence one
  // flux linkage, and the port current is the sum of theirs: summing the loop block
  // and the loop part of the secondary row gives the two-port's inverse, and
  // inverting that 2 x 2 gives its inductances.
  Extended S = 0;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) S = S + L(i, j);
  Extended T = 0;
  for (int i = 1; i <= n; ++i) T = T + L(s, i);
  const Extended G22 = L(s, s);
  L(1, 1) = S;
  L(1, 2) = T;
  L(2, 1) = T;
  L(2, 2) = G22;
  if (!InvertMatrix(2, L, *ctx.report)) {
    ctx.StopFlag = false;
    return 0;
  }
  c.L2 = L(2, 2);
  c.M = L(1, 2);
  ctx.StopFlag = true;
  return L(1, 1);
}

}  // namespace quor::transformer
