// Complete elliptic integrals by the arithmetic-geometric mean (Gauss, Legendre), the
// slow reference methods the test window compares against them, and the incomplete
// integrals by Simpson's rule.
#include "numerics/elliptic.h"

#include <cmath>

namespace quor::numerics {

namespace {

// Absolute convergence test of the AGM iterations. The AGM terms are of order 1, so an
// absolute 1e-15 leaves the last few bits of K and E a few thousand long-double ulps
// from the exact values; the printed results of the whole program follow from it.
constexpr Extended kAgmTolerance = 1e-15L;

// Guard against arguments that never converge: |k| > 1 (or |c| >= 1 for Pi) and NaN
// make b a NaN, and |a - b| < tol then never holds. Every modulus below 1 converges in
// at most about 10 steps and k = 1 itself, where b starts at 0 and a halves each step,
// in 50; after this many steps the loop gives up and the results are whatever the
// iteration holds, which for those arguments is NaN.
constexpr std::int32_t kMaxAgmSteps = 64;

// Simpson's rule on [0, pi/2] with 100000 intervals: step pi/200000, and the weighted
// sum times h/3 = pi/600000.
constexpr Extended kSimpsonStep = 1.5707963267948966192313e-5L;
constexpr int kSimpsonIntervals = 100000;

constexpr Extended kTwoOverPi = 6.3661977236758134308e-1L;

// Simpson weights 1, 4, 2, 4, ..., 2, 4, 1.
inline Extended SimpsonWeight(int i) {
  if (i == 0 || i == kSimpsonIntervals) return 1.0L;
  return (i % 2 == 1) ? 4.0L : 2.0L;
}

// The weighted Simpson sums of 1/t and t, t = sqrt(1 - (k sin theta)^2), over
// 100001 points, theta advanced by repeated addition of the step.
struct SimpsonSums {
  Extended SF = 0.0L;
  Extended SE = 0.0L;
};

SimpsonSums SimpsonFE(Extended k, Extended step) {
  SimpsonSums s;
  Extended theta = 0.0L;
  for (int i = 0; i <= kSimpsonIntervals; ++i) {
    const Extended w = SimpsonWeight(i);
    const Extended ks = k * std::sin(theta);
    const Extended t = std::sqrt(1.0L - ks * ks);
    s.SF = s.SF + w / t;
    s.SE = s.SE + w * t;
    theta = theta + step;
  }
  return s;
}

}  // namespace

EllipticResult EllipticKE(Extended k) {
  // a_n, b_n converge to AGM(1, k'); E/K = 1 - sum 2^(n-1) c_n^2 with c_0 = k and
  // c_n = (a_(n-1) - b_(n-1))/2 (Gauss's sum, see Abramowitz & Stegun 17.6).
  Extended a = 1.0L;
  Extended b = std::sqrt(1.0L - k * k);
  Extended s = 1.0L - k * k / 2.0L;
  Extended w = 1.0L;
  std::int32_t cycles = 0;
  do {
    const Extended a1 = (a + b) / 2.0L;
    const Extended g = std::sqrt(a * b);
    const Extended c = (a - b) / 2.0L;
    s = s - w * (c * c);
    w = 2.0L * w;
    a = a1;
    b = g;
    ++cycles;
  } while (!(std::fabs(a - b) < kAgmTolerance) && cycles < kMaxAgmSteps);
  EllipticResult r;
  r.EllK = kPi / (2.0L * a);
  r.EllE = s * r.EllK;
  r.EllCycles = cycles;
  return r;
}

EllipticResult EllipticKEPi(Extended k, Extended c) {
  // The AGM carried on for the third kind: alongside a_n, b_n the sequence p_n tends
  // to 1 and q_n, Q_n accumulate the characteristic's part, Pi = K * (1 + Q); E comes
  // from the same mean through the sum S of the weighted squared differences.
  Extended a = 1.0L;
  Extended b = std::sqrt(1.0L - k * k);
  Extended p = (1.0L - c * c) / b;
  Extended q = c * c / (1.0L - c * c);
  Extended Q = 0.0L;
  Extended w = 0.5L;
  Extended S = ((a - b) * (a - b)) * w;
  std::int32_t cycles = 0;
  for (;;) {
    const Extended a1 = (a + b) / 2.0L;
    const Extended g = std::sqrt(a * b);
    w = 2.0L * w;
    S = S + ((a1 - g) * (a1 - g)) * w;
    const Extended p1 = g / (4.0L * a1) * (1.0L / p + p + 2.0L);
    const Extended q1 = (p * q + Q) / (p + 1.0L);
    const Extended Q1 = (q + Q) / 2.0L;
    a = a1;
    b = g;
    p = p1;
    q = q1;
    Q = Q1;
    ++cycles;
    if (std::fabs(a - b) < kAgmTolerance && std::fabs(p - 1.0L) < kAgmTolerance) break;
    if (cycles >= kMaxAgmSteps) break;
  }
  EllipticResult r;
  r.EllK = kPi / (2.0L * a);
  r.EllE = r.EllK - (k * k + S) * r.EllK / 2.0L;
  r.EllPi = r.EllK * Q + r.EllK;
  r.EllCycles = cycles;
  return r;
}

EllipticResult EllipticKESimpson(Extended k) {
  const SimpsonSums s = SimpsonFE(k, kSimpsonStep);
  EllipticResult r;
  r.EllK = s.SF * kPi / 600000.0L;
  r.EllE = s.SE * kPi / 600000.0L;
  r.EllCycles = kSimpsonIntervals;
  return r;
}

PiSimpsonResult PiSimpson(Extended k, Extended c) {
  Extended theta = 0.0L;
  Extended sum = 0.0L;
  for (int i = 0; i <= kSimpsonIntervals; ++i) {
    const Extended w = SimpsonWeight(i);
    const Extended sn = std::sin(theta);
    const Extended ks = k * sn;
    const Extended cs = c * sn;
    sum = sum + w / (std::sqrt(1.0L - ks * ks) * (1.0L - cs * cs));
    theta = theta + kSimpsonStep;
  }
  PiSimpsonResult r;
  r.EllPi = sum * kPi / 600000.0L;
  r.EllCycles = kSimpsonIntervals;
  return r;
}

EllipticResult EllipticKESeries(Extended k) {
  // K = (pi/2) sum t_m, E = (pi/2)(1 - sum t_m/(2m - 1)), t_m = t_(m-1)((2m-1)/(2m) k)^2.
  // n runs over the odd numbers 2m - 1. The stop test is on the size of the last term,
  // so this is a coarse check of about 7 digits.
  Extended SK = 1.0L;
  Extended SE = 1.0L;
  Extended t = 1.0L;
  std::int32_t n = 1;
  do {
    const Extended f = k * static_cast<Extended>(n) / static_cast<Extended>(n + 1);
    t = t * (f * f);
    SK = SK + t;
    SE = SE - t / static_cast<Extended>(n);
    n = n + 2;
  } while (!(t < 1e-7L) && !(n > 10000));
  EllipticResult r;
  r.EllK = kHalfPi * SK;
  r.EllE = kHalfPi * SE;
  r.EllCycles = (n - 1) / 2;
  return r;
}

IncompleteResult IncompleteFE(Extended k, Extended phi) {
  const SimpsonSums s = SimpsonFE(k, phi / 100000.0L);
  IncompleteResult r;
  r.EllFphi = s.SF * phi / 300000.0L;
  r.EllEphi = s.SE * phi / 300000.0L;
  r.EllCycles = kSimpsonIntervals;
  return r;
}

HeumanResult HeumanLambdaFull(Extended k, Extended phi) {
  // Lambda0(k, phi) = (2/pi) (K(k) E(k', phi) - (K(k) - E(k)) F(k', phi))
  // (Heuman 1941; Byrd & Friedman 150.03).
  HeumanResult r;
  r.complete = EllipticKE(k);
  r.incomplete = IncompleteFE(std::sqrt(1.0L - k * k), phi);
  const Extended K = r.complete.EllK;
  const Extended E = r.complete.EllE;
  const Extended Fp = r.incomplete.EllFphi;
  const Extended Ep = r.incomplete.EllEphi;
  r.Lambda0 = (K * Ep - (K - E) * Fp) * kTwoOverPi;
  return r;
}

Extended HeumanLambda(Extended k, Extended phi) { return HeumanLambdaFull(k, phi).Lambda0; }

}  // namespace quor::numerics
