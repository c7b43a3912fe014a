#pragma once
// Comparisons of sizes typed as decimals. A decimal input is held as the nearest binary
// value, and the sums, halves and square roots made of it carry a few roundings more:
// 0.35 and (0.3 + 0.4)/2 differ in their last bits although the wires they describe
// touch end to end. Where a comparison decides which formula or message applies, two
// values closer than a few units in the last place of the sizes involved are the same
// value as typed.
#include <cmath>
#include <limits>

#include "numerics/extended.h"

namespace quor::numerics {

// 32 units in the last place of Extended (3.5e-18 of the sizes): a few roundings of
// each input and of the arithmetic between them, far below any size that means
// something.
inline constexpr Extended kInputRounding = 32 * std::numeric_limits<Extended>::epsilon();

// The size the rounding is relative to: the larger magnitude of the two values and of
// scale (the other sizes of the comparison, for a value compared with 0).
inline Extended RoundingScale(Extended x, Extended y, Extended scale = 0) {
  const Extended ax = std::fabs(x), ay = std::fabs(y), as = std::fabs(scale);
  return ax > ay ? (ax > as ? ax : as) : (ay > as ? ay : as);
}

// x and y are the same value as typed.
inline bool EqualWithinRounding(Extended x, Extended y, Extended scale = 0) {
  return std::fabs(x - y) <= kInputRounding * RoundingScale(x, y, scale);
}

// x < y by more than the rounding of the inputs (and x > y likewise).
inline bool LessBeyondRounding(Extended x, Extended y, Extended scale = 0) {
  return x < y && !EqualWithinRounding(x, y, scale);
}
inline bool GreaterBeyondRounding(Extended x, Extended y, Extended scale = 0) {
  return LessBeyondRounding(y, x, scale);
}

// The whole part of x, a count made of decimal inputs (segments = segments per turn
// times turns): an x within the rounding below a whole number is that number, so that
// 20 segments a turn on 12.45 turns make 249 segments, not 248.
inline Extended TruncWithinRounding(Extended x) {
  const Extended nearest = std::round(x);
  return EqualWithinRounding(x, nearest) ? nearest : std::trunc(x);
}

}  // namespace quor::numerics
