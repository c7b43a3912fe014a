// Mutual inductance of coaxial filament rings: worked values, symmetry, the dipole far
// field, the self-inductance of a wire loop and the degenerate pairs.
#include "numerics/rings.h"

#include <gtest/gtest.h>

#include <boost/math/special_functions/ellint_1.hpp>
#include <boost/math/special_functions/ellint_2.hpp>
#include <cmath>
#include "numerics/library_namespaces.h"

namespace {

// Maxwell's formula evaluated with Boost's K and E, as an independent reference.
long double BoostMutual(long double a, long double b, long double d) {
  const long double k = 2.0L * std::sqrt(a * b) / std::sqrt(d * d + (a + b) * (a + b));
  const long double K = boost::math::ellint_1(k);
  const long double E = boost::math::ellint_2(k);
  return kMu0 * std::sqrt(a * b) * ((2.0L / k - k) * K - (2.0L / k) * E);
}

long double RelErr(long double x, long double ref) { return std::fabs(x / ref - 1.0L); }

}  // namespace

TEST(RingPairMutual, WorkedValues) {
  struct Row {
    long double a, b, d, M, digits;
  };
  // M given to 9 and 8 significant digits.
  for (const Row& r : {Row{0.1L, 0.1L, 0.05L, 1.11261089e-07L, 5e-9L},
                       Row{0.1L, 0.044L, 0.15L, 6.1715141e-09L, 1e-8L}}) {
    const long double M = RingPairMutual(r.a, r.b, r.d);
    EXPECT_LT(RelErr(M, r.M), r.digits) << r.a << " " << r.b << " " << r.d;
    // The AGM's K and E are good to ~1e-15; the bracket (2/k - k)K - (2/k)E loses a
    // little more in cancellation when k is far from 1.
    EXPECT_LT(RelErr(M, BoostMutual(r.a, r.b, r.d)), 1e-14L);
    EXPECT_EQ(RingPairMutual(r.a, r.b, r.d), -kMu0 * RingPairTerm(r.a, r.b, r.d));
    EXPECT_LT(RingPairTerm(r.a, r.b, r.d), 0.0L);
  }
}

TEST(RingPairMutual, SymmetricInRadiiAndDistanceSign) {
  for (auto [a, b, d] : {std::tuple{0.1L, 0.044L, 0.15L}, {0.3L, 0.01L, 0.0L}, {2.0L, 1.9L, -0.4L}}) {
    const long double M = RingPairMutual(a, b, d);
    EXPECT_EQ(RingPairMutual(b, a, d), M);
    EXPECT_EQ(RingPairMutual(a, b, -d), M);
    EXPECT_EQ(RingPairMutual(b, a, -d), M);
  }
}

TEST(RingPairMutual, FarFieldIsTheDipoleLimit) {
  // Expanding K and E in k: M = mu0 pi a^2 b^2 / (2 R^3) (1 + 3k^2/4 + 75k^4/128 + ...)
  // with R^2 = d^2 + (a + b)^2; the leading term is the coupling of two magnetic dipoles,
  // mu0 pi a^2 b^2 / (2 d^3) as d grows. The bracket is a difference of terms of order
  // 1/k that cancel down to order k^3, so the last-bit rounding of K and E is magnified
  // like 1/k^4 (2.5e-9 relative at d = 30):
  // the k^4 term is checked only where it stands well above that.
  const long double a = 0.1L, b = 0.05L;
  for (long double d : {0.5L, 1.0L, 3.0L, 10.0L}) {
    const long double R2 = d * d + (a + b) * (a + b);
    const long double k2 = 4.0L * a * b / R2;
    const long double dipole = kMu0 * kPi * a * a * b * b / (2.0L * R2 * std::sqrt(R2));
    const long double ratio = RingPairMutual(a, b, d) / (dipole * (1.0L + 0.75L * k2));
    EXPECT_GT(ratio - 1.0L, 0.5L * k2 * k2) << "d = " << d;
    EXPECT_LT(ratio - 1.0L, 0.7L * k2 * k2) << "d = " << d;
  }
  const long double d = 100.0L;
  EXPECT_LT(RelErr(RingPairMutual(a, b, d), kMu0 * kPi * a * a * b * b / (2.0L * d * d * d)), 1e-5L);
}

TEST(RingPairMutual, WireLoopThroughGeometricMeanDistance) {
  const long double g = WireGmd(0.001L);
  EXPECT_NEAR(g, 0.000389400391536L, 1e-15L);
  const long double L = RingPairMutual(0.1L, 0.1L, g);
  EXPECT_LT(RelErr(L, 7.0720765e-07L), 1e-8L);
  // Classical thin-wire loop, L = mu0 r (ln(8r/rho) - 7/4) with rho the wire radius;
  // the filament model agrees to order (rho/r)^2 ln(r/rho).
  const long double r = 0.1L, rho = 0.0005L;
  EXPECT_LT(RelErr(L, kMu0 * r * (std::log(8.0L * r / rho) - 1.75L)), 1e-4L);
}

TEST(RingPairMutual, DegeneratePairsStayFinite) {
  // A ring of radius 0 encloses no flux.
  EXPECT_EQ(RingPairTerm(0.0L, 0.2L, 0.1L), 0.0L);
  EXPECT_EQ(RingPairTerm(0.2L, 0.0L, 0.0L), 0.0L);
  EXPECT_EQ(RingPairTerm(0.0L, 0.0L, 0.0L), 0.0L);
  EXPECT_EQ(RingPairMutual(0.0L, 0.0L, 0.3L), 0.0L);
  // Coincident rings: k = 1 exactly, K = pi 2^49 from the capped AGM, a huge finite
  // term s (2E - K) instead of the infinite mutual inductance of two filaments.
  const long double s = 0.1L;
  const long double term = RingPairTerm(s, s, 0.0L);
  EXPECT_TRUE(std::isfinite(term));
  EXPECT_LT(RelErr(term, s * (kPi / 2.0L - std::ldexp(kPi, 49))), 1e-15L);
}
