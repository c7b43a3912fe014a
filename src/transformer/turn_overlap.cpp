#include "transformer/turn_overlap.h"

#include <algorithm>
#include <cmath>

#include "numerics/format.h"
#include "numerics/input_rounding.h"

namespace quor::transformer {
using namespace quor::numerics;

namespace {

Extended WireRadius(Extended wd) { return wd > 0 ? wd / 2 : 0; }

// Turns of a winding of N turns that reach at least part of a revolution: 12.5 turns
// have 13, 12 have 12 (also when 12 comes out of decimal arithmetic a bit above).
std::int64_t PartTurns(Extended N) {
  const Extended whole = std::round(N);
  if (EqualWithinRounding(N, whole)) return static_cast<std::int64_t>(whole);
  return static_cast<std::int64_t>(std::ceil(N));
}

Extended Span(const TurnTracks& t, std::int64_t m) { return m == t.count - 1 ? t.lastSpan : kTwoPi; }

// All turns of a coil of no pitch stand in one place: its first turn, the one with the
// longest track, stands for them all.
std::int64_t DistinctTurns(const TurnTracks& t) {
  return t.stepR == 0 && t.stepZ == 0 ? std::min<std::int64_t>(t.count, 1) : t.count;
}

// The turns j (from 0) of t whose tracks can enter [lo, hi] along one axis, where turn j
// starts at start + j step and moves by move per radian, over at most a revolution.
struct Range {
  std::int64_t first = 0, last = -1;
};
Range AlongAxis(Extended start, Extended step, Extended move, Extended lo, Extended hi,
                std::int64_t count) {
  const Extended low = start + std::min<Extended>(0, kTwoPi * move);
  const Extended high = start + std::max<Extended>(0, kTwoPi * move);
  if (step == 0) return low <= hi && high >= lo ? Range{0, count - 1} : Range{};
  // low + j step <= hi and high + j step >= lo.
  Extended a = (lo - high) / step, b = (hi - low) / step;
  if (step < 0) std::swap(a, b);
  const Extended last = static_cast<Extended>(count - 1);
  a = std::ceil(a);
  b = std::floor(b);
  if (!(a <= b) || b < 0 || a > last) return Range{};
  return Range{static_cast<std::int64_t>(std::max<Extended>(a, 0)),
               static_cast<std::int64_t>(std::min(b, last))};
}

}  // namespace

TurnTracks SpiralTracks(Extended N, Extended h, Extended rmin, Extended rmax, Extended b,
                        Extended wd) {
  TurnTracks t;
  t.wireRadius = WireRadius(wd);
  if (!(N > 0)) return t;
  t.r0 = rmin;
  t.z0 = b;
  t.stepR = (rmax - rmin) / N;
  t.stepZ = h / N;
  t.moveR = t.stepR / kTwoPi;
  t.moveZ = t.stepZ / kTwoPi;
  t.count = PartTurns(N);
  t.lastSpan = std::clamp<Extended>(kTwoPi * (N - static_cast<Extended>(t.count - 1)), 0, kTwoPi);
  return t;
}

TurnTracks CircularTurnTracks(Extended N, Extended h, Extended rmin, Extended rmax,
                              Extended b, Extended wd) {
  TurnTracks t;
  t.wireRadius = WireRadius(wd);
  const std::int32_t n = RoundAtLeastOne(N);
  if (n < 1) return t;
  t.stepR = (rmax - rmin) / n;
  t.stepZ = h / n;
  t.r0 = rmin + t.stepR / 2;
  t.z0 = b + t.stepZ / 2;
  t.count = n;
  t.lastSpan = kTwoPi;
  return t;
}

TurnTracks ParallelLoopTracks(Extended N, Extended h, Extended rmin, Extended rmax,
                              Extended b, Extended wd) {
  TurnTracks t;
  t.wireRadius = WireRadius(wd);
  const std::int32_t n = RoundAtLeastOne(N);
  if (n < 1) return t;
  t.r0 = rmin;
  t.z0 = b;
  if (n > 1) {
    t.stepR = (rmax - rmin) / (n - 1);
    t.stepZ = h / (n - 1);
  }
  t.count = n;
  t.lastSpan = kTwoPi;
  return t;
}

std::optional<TurnPair> FirstOverlap(const TurnTracks& A, const TurnTracks& B) {
  if (A.count <= 0 || B.count <= 0) return std::nullopt;
  const Extended s = A.wireRadius + B.wireRadius;
  // The sizes the centres are computed from: the far ends of both windings.
  Extended size = 0;
  for (const TurnTracks* t : {&A, &B}) {
    const Extended n = static_cast<Extended>(t->count);
    size = RoundingScale(size, t->r0, t->z0);
    size = RoundingScale(size, t->r0 + n * t->stepR, t->z0 + n * t->stepZ);
  }
  const Extended margin = s + kInputRounding * size;
  const Extended vR = A.moveR - B.moveR, vZ = A.moveZ - B.moveZ;
  const Extended vv = vR * vR + vZ * vZ;

  const std::int64_t countA = DistinctTurns(A);
  const std::int64_t countB = DistinctTurns(B);
  for (std::int64_t i = 0; i < countA; ++i) {
    const Extended ai = static_cast<Extended>(i);
    const Extended aR = A.r0 + ai * A.stepR, aZ = A.z0 + ai * A.stepZ;
    const Extended spanA = Span(A, i);
    const Extended eR = aR + spanA * A.moveR, eZ = aZ + spanA * A.moveZ;
    // The turns of B whose tracks come into the box around this turn's track.
    const Range r = AlongAxis(B.r0, B.stepR, B.moveR, std::min(aR, eR) - margin,
                              std::max(aR, eR) + margin, countB);
    const Range z = AlongAxis(B.z0, B.stepZ, B.moveZ, std::min(aZ, eZ) - margin,
                              std::max(aZ, eZ) + margin, countB);
    for (std::int64_t j = std::max(r.first, z.first); j <= std::min(r.last, z.last); ++j) {
      const Extended bj = static_cast<Extended>(j);
      const Extended dR = aR - (B.r0 + bj * B.stepR);
      const Extended dZ = aZ - (B.z0 + bj * B.stepZ);
      const Extended span = std::min(spanA, Span(B, j));
      // The least distance over the common part of the revolution.
      const Extended phi = vv > 0 ? std::clamp<Extended>(-(dR * vR + dZ * vZ) / vv, 0, span) : 0;
      const Extended distance = std::hypot(dR + phi * vR, dZ + phi * vZ);
      if (distance <= kInputRounding * size || LessBeyondRounding(distance, s, size))
        return TurnPair{i + 1, j + 1};
    }
  }
  return std::nullopt;
}

std::optional<std::string> CheckTurnOverlap(const CoilPair& c, const TransformerOptions& opt) {
  TurnTracks primary, secondary;
  if (opt.CBparalelo) {
    primary = ParallelLoopTracks(c.N1, c.h1, c.rmin1, c.rmax1, c.b1, c.wd1);
    secondary = SpiralTracks(c.N2, c.h2, c.rmin2, c.rmax2, c.b2, c.wd2);
  } else if (!opt.CBm) {
    return std::nullopt;
  } else if (opt.CBjvj && c.rmin1 == c.rmax1 && c.h1 != 0) {
    primary = SpiralTracks(c.N1, c.h1, c.rmin1, c.rmax1, c.b1, c.wd1);
    secondary = CircularTurnTracks(c.N2, c.h2, c.rmin2, c.rmax2, c.b2, c.wd2);
  } else if (opt.CBel) {
    primary = CircularTurnTracks(c.N1, c.h1, c.rmin1, c.rmax1, c.b1, c.wd1);
    secondary = CircularTurnTracks(c.N2, c.h2, c.rmin2, c.rmax2, c.b2, c.wd2);
  } else {
    primary = SpiralTracks(c.N1, c.h1, c.rmin1, c.rmax1, c.b1, c.wd1);
    secondary = SpiralTracks(c.N2, c.h2, c.rmin2, c.rmax2, c.b2, c.wd2);
  }
  const auto pair = FirstOverlap(primary, secondary);
  if (!pair) return std::nullopt;
  return "The wires of the coils overlap (primary turn " + std::to_string(pair->primary) +
         ", secondary turn " + std::to_string(pair->secondary) + ")";
}

}  // namespace quor::transformer
