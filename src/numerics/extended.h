#pragma once
// The arithmetic type of every calculation: x87 80-bit extended precision.
#include <limits>

namespace quor::numerics {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "quor needs the 80-bit x87 long double (64-bit mantissa)");

// Stored constants, each the nearest Extended to its value.
inline constexpr Extended kPi = 3.14159265358979323851e+0L;
inline constexpr Extended kHalfPi = 1.57079632679489661926e+0L;
inline constexpr Extended kTwoPi = 6.28318530717958647703e+0L;
// Permeability of free space, 4*pi*1e-7 H/m.
inline constexpr Extended kMu0 = 1.25663706143591729543e-6L;

}  // namespace quor::numerics
