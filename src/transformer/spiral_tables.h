#pragma once
// Cosine and sine tables over one turn cut into ns equal angles, so that the segment
// sums along spirals read the trigonometric values by index instead of calling the
// long double cosine for every term.
#include <cmath>
#include <cstdint>
#include <vector>

#include "numerics/extended.h"

// cos and sin of the segment midpoints (m + 0.5)*dtheta, dtheta = 2 pi/ns.
struct MidpointTable {
  explicit MidpointTable(std::int32_t ns) {
    const std::int32_t n = ns > 0 ? ns : 0;
    cos.resize(n);
    sin.resize(n);
    const Extended dt = kTwoPi / ns;
    for (std::int32_t m = 0; m < n; ++m) {
      const Extended a = (m + 0.5L) * dt;
      cos[m] = std::cos(a);
      sin[m] = std::sin(a);
    }
  }
  std::vector<Extended> cos, sin;
};

// cos and sin of the whole steps m*dtheta, dtheta = 2 pi/ns.
struct StepTable {
  explicit StepTable(std::int32_t ns) {
    const std::int32_t n = ns > 0 ? ns : 0;
    cos.resize(n);
    sin.resize(n);
    const Extended dt = kTwoPi / ns;
    for (std::int32_t m = 0; m < n; ++m) {
      const Extended a = m * dt;
      cos[m] = std::cos(a);
      sin[m] = std::sin(a);
    }
  }
  std::vector<Extended> cos, sin;
};
