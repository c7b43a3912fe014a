// Mutual inductance of two coaxial circular filaments, Maxwell's formula
// (Treatise, vol. 2, art. 701):
//   M = mu0 sqrt(a b) ((2/k - k) K(k) - (2/k) E(k)),  k^2 = 4 a b / (d^2 + (a + b)^2).
#include "numerics/rings.h"

#include <cmath>

#include "numerics/elliptic.h"

namespace quor::numerics {

Extended RingPairTerm(Extended a, Extended b, Extended d) {
  const Extended s = std::sqrt(a * b);
  // A ring of radius 0 links no flux: the pair contributes nothing. (The bracket
  // itself would be 0 * (infinity - infinity), and with both radii and d zero, 0/0.)
  if (s == 0.0L) return 0.0L;
  const Extended k = 2.0L * s / std::sqrt(d * d + (a + b) * (a + b));
  // Coincident rings (a = b, d = 0) give k = 1 exactly: the AGM then stops after 50
  // halvings with K = pi * 2^49, and the pair contributes that huge but finite term,
  // the same value the formula gives wherever it is summed.
  const EllipticResult ke = EllipticKE(k);
  return s * ((k - 2.0L / k) * ke.EllK + (2.0L / k) * ke.EllE);
}

Extended RingPairMutual(Extended a, Extended b, Extended d) {
  return -kMu0 * RingPairTerm(a, b, d);
}

Extended WireGmd(Extended wd) { return std::exp(-0.25L) * (wd / 2.0L); }

}  // namespace quor::numerics
