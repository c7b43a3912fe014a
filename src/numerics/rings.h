#pragma once
// Coaxial circular filaments: Maxwell's mutual inductance of two rings through the
// complete elliptic integrals.
#include "numerics/extended.h"

namespace quor::numerics {

// Bracket form s*((k - 2/k)*K + (2/k)*E), s = sqrt(a*b), k = 2s/sqrt(d^2 + (a+b)^2):
// the quantity ring sums accumulate (metres, negative for real ring pairs).
// A ring of radius 0 contributes 0; coincident rings (k = 1) a huge finite term from
// K(1) = pi * 2^49. Rings closer than rounding resolves (radii about 1e-9 apart
// relatively, planes nearly together) can round k just above 1: the pair is then NaN.
Extended RingPairTerm(Extended a, Extended b, Extended d);
// Mutual inductance (henries) of rings of radii a, b with planes d apart:
// -mu0 * RingPairTerm(a, b, d).
Extended RingPairMutual(Extended a, Extended b, Extended d);
// Geometric mean distance of a round wire of diameter wd from itself:
// exp(-1/4) * wd/2.
Extended WireGmd(Extended wd);

}  // namespace quor::numerics
