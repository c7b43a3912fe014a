#include "straight/wires.h"

#include <cmath>

namespace quor::straight {
using namespace quor::numerics;

Extended WireSelfLowFreq(Extended l, Extended r) {
  const Extended a = std::fabs(l);
  return kMu0Over2Pi * a * (std::log(2 * a / r) - 0.75L);
}

Extended WireSelfSnow(Extended l, Extended r) {
  // Rosa's straight round wire: the equal-filament mutual inductance at distance r
  // (the log of (l + diagonal)/r, as in EqualWiresMutual) plus the internal l/4. A
  // logarithm of (r + diagonal)/r would lose l*ln 2, about 9 % of a thin wire, and
  // break the whole-against-parts comparison of the aligned block.
  const Extended diag = std::sqrt(l * l + r * r);
  return kMu0Over2Pi * (l * std::log((l + diag) / r) - diag + l / 4 + r);
}

Extended EqualWiresMutual(Extended l, Extended d) {
  const Extended diag = std::sqrt(l * l + d * d);
  return kMu0Over2Pi * (l * std::log((l + diag) / d) - diag + d);
}

Extended EqualWiresMutualLee(Extended l, Extended d) {
  return kMu0Over2Pi * l * (std::log(2 * l / d) - 1 + d / l);
}

Extended ParallelFilamentMutual(Extended l1, Extended l2, Extended d, Extended c) {
  if (d == 0) d = kInLineDistance;
  const Extended d2 = d * d;
  // F is the double antiderivative of 1/sqrt(d^2 + x^2) in the difference x of the
  // two positions; the four corners of the integration rectangle give M.
  auto F = [d, d2](Extended x) {
    const Extended a = std::fabs(x);
    const Extended root = std::sqrt(d2 + x * x);
    return a * std::log((a + root) / d) - root;
  };
  return kMu0Over4Pi * (F(c + (l1 + l2) / 2) + F(c - (l1 + l2) / 2) - F(c + (l2 - l1) / 2) -
                        F(c - (l2 - l1) / 2));
}

Extended NumericalParallelMutual(std::int32_t n, Extended l1, Extended l2, Extended d,
                                 Extended c) {
  const Extended dl1 = l1 / n;
  const Extended dl2 = l2 / n;
  const Extended d2 = d * d;
  const Extended x2First = l1 / 2 + c - l2 / 2 + dl2 / 2;
  // One accumulator through all n*n terms, the segment midpoints advanced by whole
  // steps. The loop is bound by the square root and the division of each term, which
  // the processor overlaps between independent terms; the accumulation alone is a
  // chain of additions.
  Extended S = 0;
  Extended x1 = dl1 / 2;
  for (std::int32_t i = 0; i < n; ++i) {
    Extended x2 = x2First;
    for (std::int32_t j = 0; j < n; ++j) {
      const Extended u = x2 - x1;
      S = S + 1 / std::sqrt(d2 + u * u);
      x2 = x2 + dl2;
    }
    x1 = x1 + dl1;
  }
  return kMu0Over4Pi * dl1 * dl2 * S;
}

Extended NumericalEqualMutual(std::int32_t n, Extended l, Extended d, Extended c) {
  const Extended dl = l / n;
  const Extended d2 = d * d;
  // Segment j of filament 2 less segment i of filament 1: c + (j - i)*dl.
  Extended S = 0;
  for (std::int32_t m = -(n - 1); m <= n - 1; ++m) {
    const Extended u = c + static_cast<Extended>(m) * dl;
    const Extended pairs = static_cast<Extended>(n - (m < 0 ? -m : m));
    S = S + pairs / std::sqrt(d2 + u * u);
  }
  return kMu0Over4Pi * dl * dl * S;
}

}  // namespace quor::straight
