#pragma once
// Complete and incomplete elliptic integrals (modulus k, not parameter m = k*k) and
// Heuman's Lambda. Results come back as values; the field names are those the
// report texts and callers use throughout the program.
#include <cstdint>

#include "numerics/extended.h"

namespace quor::numerics {

struct EllipticResult {
  Extended EllK = 0;     // K(k)
  Extended EllE = 0;     // E(k)
  Extended EllPi = 0;    // Pi(k, c), EllipticKEPi only
  std::int32_t EllCycles = 0;  // AGM steps, series terms or Simpson intervals
};

struct IncompleteResult {
  Extended EllFphi = 0;  // F(k, phi)
  Extended EllEphi = 0;  // E(k, phi)
  std::int32_t EllCycles = 0;
};

// Arithmetic-geometric mean with Gauss's sum for E, for |k| < 1. k = 1 ends after 50
// steps with K = pi * 2^49; |k| > 1 or NaN gives up after 64 steps with K = E = NaN.
EllipticResult EllipticKE(Extended k);
// AGM for K, E and Pi(k, c) (characteristic c*c) together, for |k| < 1, |c| < 1.
// Outside that range (or NaN) it gives up after 64 steps with NaN results.
EllipticResult EllipticKEPi(Extended k, Extended c);
// Reference methods of the test window.
EllipticResult EllipticKESimpson(Extended k);
struct PiSimpsonResult {
  Extended EllPi = 0;
  std::int32_t EllCycles = 0;
};
PiSimpsonResult PiSimpson(Extended k, Extended c);
EllipticResult EllipticKESeries(Extended k);

// Composite Simpson on [0, phi] with 100000 intervals.
IncompleteResult IncompleteFE(Extended k, Extended phi);
struct HeumanResult {
  Extended Lambda0 = 0;
  EllipticResult complete;     // K(k), E(k)
  IncompleteResult incomplete; // F(k', phi), E(k', phi)
};
HeumanResult HeumanLambdaFull(Extended k, Extended phi);
Extended HeumanLambda(Extended k, Extended phi);

}  // namespace quor::numerics
