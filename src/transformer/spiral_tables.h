#pragma once
// Cosine and sine tables over one turn cut into ns equal angles, so that the segment
// sums along spirals read the trigonometric values by index instead of calling the
// long double cosine for every term.
#include <cmath>
#include <cstdint>
#include <vector>

#include "numerics/extended.h"

namespace quor::transformer {
using namespace quor::numerics;

// cos and sin of the angles (m + offset)*dtheta, m = 0 ... ns - 1, dtheta = 2 pi/ns.
struct AngleTable {
  AngleTable(std::int32_t ns, Extended offset) {
    const std::int32_t n = ns > 0 ? ns : 0;
    cos.resize(n);
    sin.resize(n);
    const Extended dt = kTwoPi / ns;
    for (std::int32_t m = 0; m < n; ++m) {
      const Extended a = (m + offset) * dt;
      cos[m] = std::cos(a);
      sin[m] = std::sin(a);
    }
  }
  std::vector<Extended> cos, sin;
};

// The segment midpoints (m + 0.5)*dtheta.
struct MidpointTable : AngleTable {
  explicit MidpointTable(std::int32_t ns) : AngleTable(ns, 0.5L) {}
};

// The whole steps m*dtheta.
struct StepTable : AngleTable {
  explicit StepTable(std::int32_t ns) : AngleTable(ns, 0.0L) {}
};

}  // namespace quor::transformer
