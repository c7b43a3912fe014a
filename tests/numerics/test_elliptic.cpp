// Complete and incomplete elliptic integrals against worked values, identities and
// Boost.Math as an independent long-double reference.
#include "numerics/elliptic.h"

#include <gtest/gtest.h>

#include <boost/math/special_functions/ellint_1.hpp>
#include <boost/math/special_functions/ellint_2.hpp>
#include <boost/math/special_functions/ellint_3.hpp>
#include <boost/math/special_functions/heuman_lambda.hpp>
#include <cmath>
#include <limits>
#include <vector>
#include "numerics/library_namespaces.h"

namespace {

// The AGM loops stop on the absolute test |a - b| < 1e-15 with a, b of order 1, so K and
// E are good to about 1e-15 relative (worst measured over k = 0 .. 0.999: 6.9e-16 near
// k = 0.902), thousands of long-double ulps short of Boost's results. Demanding more
// would mean a different stop test and different printed digits.
constexpr long double kAgmRel = 1e-15L;

// The incomplete integrals are Simpson sums over 100001 points with the abscissa
// advanced by repeated addition of h. The drift of theta after 1e5 additions (a few
// 1e-15 at most) and the rounding of the running sums dominate the h^4 truncation error
// for moduli up to 0.99; the measured worst relative error against Boost is 1.3e-15
// (k = 0.99, phi = pi/2). 1e-14 leaves room for that and still catches any wrong
// weight, step or scale factor, each of which costs at least 1e-6.
constexpr long double kSimpsonRel = 1e-14L;

long double RelErr(long double x, long double ref) { return std::fabs(x / ref - 1.0L); }

std::vector<long double> ModulusTable() {
  std::vector<long double> ks;
  for (int i = 0; i <= 999; ++i) ks.push_back(i / 1000.0L);
  ks.push_back(0.9999L);
  ks.push_back(0.999999L);
  return ks;
}

}  // namespace

TEST(EllipticKE, WorkedValuesAndStepCounts) {
  const EllipticResult zero = EllipticKE(0.0L);
  EXPECT_EQ(zero.EllK, kHalfPi);
  EXPECT_EQ(zero.EllE, kHalfPi);
  EXPECT_EQ(zero.EllCycles, 1);

  const EllipticResult half = EllipticKE(0.5L);
  EXPECT_NEAR(half.EllK, 1.685750354812596L, 1e-15L);
  EXPECT_NEAR(half.EllE, 1.467462209339427L, 1e-15L);
  EXPECT_EQ(half.EllCycles, 4);

  const EllipticResult nearOne = EllipticKE(0.999999L);
  EXPECT_EQ(nearOne.EllCycles, 6);
  EXPECT_LT(RelErr(nearOne.EllK, boost::math::ellint_1(0.999999L)), kAgmRel);
  EXPECT_LT(RelErr(nearOne.EllE, boost::math::ellint_2(0.999999L)), kAgmRel);
}

TEST(EllipticKE, AgreesWithBoostOverModulusTable) {
  for (long double k : ModulusTable()) {
    const EllipticResult r = EllipticKE(k);
    EXPECT_LT(RelErr(r.EllK, boost::math::ellint_1(k)), kAgmRel) << "k = " << k;
    EXPECT_LT(RelErr(r.EllE, boost::math::ellint_2(k)), kAgmRel) << "k = " << k;
    // Quadratic convergence: a handful of steps for every modulus short of 1.
    EXPECT_GE(r.EllCycles, 1) << "k = " << k;
    EXPECT_LE(r.EllCycles, 6) << "k = " << k;
    // Only k*k enters: the sign of k changes nothing, bit for bit.
    const EllipticResult m = EllipticKE(-k);
    EXPECT_EQ(m.EllK, r.EllK);
    EXPECT_EQ(m.EllE, r.EllE);
    EXPECT_EQ(m.EllCycles, r.EllCycles);
  }
}

TEST(EllipticKE, ModulusOneEndsAfterFiftyHalvings) {
  // b starts at 0 and a halves every step until a < 1e-15: a = 2^-50, K = pi * 2^49.
  const EllipticResult r = EllipticKE(1.0L);
  EXPECT_EQ(r.EllCycles, 50);
  EXPECT_EQ(r.EllK, std::ldexp(kPi, 49));
  EXPECT_NEAR(r.EllE, kPi / 4.0L, 1e-15L);
}

TEST(EllipticKE, OutOfRangeArgumentsStopWithNaN) {
  const long double inf = std::numeric_limits<long double>::infinity();
  for (long double k : {1.5L, -2.0L, 1.0L + 1e-18L, inf, std::nanl("")}) {
    const EllipticResult r = EllipticKE(k);
    EXPECT_TRUE(std::isnan(r.EllK)) << "k = " << k;
    EXPECT_TRUE(std::isnan(r.EllE)) << "k = " << k;
    EXPECT_EQ(r.EllCycles, 64) << "k = " << k;
  }
}

TEST(EllipticKEPi, WorkedValues) {
  const EllipticResult r = EllipticKEPi(0.5L, 0.3L);
  EXPECT_NEAR(r.EllK, 1.685750354812596L, 1e-15L);
  EXPECT_NEAR(r.EllE, 1.467462209339427L, 1e-15L);
  EXPECT_NEAR(r.EllPi, 1.770143145144356L, 1e-15L);
  EXPECT_EQ(r.EllCycles, 4);

  // The slow convergence of p for a characteristic near 1 sets the count: 6 steps where
  // K and E alone need 3.
  const EllipticResult s = EllipticKEPi(0.1L, 0.9L);
  EXPECT_NEAR(s.EllPi, 3.616282852045119L, 2e-15L);
  EXPECT_EQ(s.EllCycles, 6);
  EXPECT_EQ(EllipticKE(0.1L).EllCycles, 3);
}

TEST(EllipticKEPi, CharacteristicZeroAndSigns) {
  for (long double k : {0.0L, 0.3L, 0.7L, 0.95L}) {
    const EllipticResult r = EllipticKEPi(k, 0.0L);
    EXPECT_EQ(r.EllPi, r.EllK) << "k = " << k;
    for (long double c : {0.2L, 0.6L, 0.95L}) {
      const EllipticResult p = EllipticKEPi(k, c);
      const EllipticResult n = EllipticKEPi(-k, -c);
      EXPECT_EQ(n.EllK, p.EllK);
      EXPECT_EQ(n.EllE, p.EllE);
      EXPECT_EQ(n.EllPi, p.EllPi);
    }
  }
}

TEST(EllipticKEPi, AgreesWithBoost) {
  // Boost's ellint_3(k, n) integrates 1/((1 - n sin^2) sqrt(1 - k^2 sin^2)): n = c*c.
  // Both stop tests are absolute on order-1 quantities, while the characteristic enters
  // through q = c^2/(1 - c^2); the error of Pi therefore grows like 1/(1 - c^2)
  // (measured: 4.7e-15 at c = 0.9, k = 0.901).
  for (long double c : {0.0L, 0.1L, 0.3L, 0.5L, -0.6L, 0.7L, 0.9L, 0.99L}) {
    const long double tolPi = 2e-15L / (1.0L - c * c);
    for (long double k : ModulusTable()) {
      const EllipticResult r = EllipticKEPi(k, c);
      EXPECT_LT(RelErr(r.EllK, boost::math::ellint_1(k)), kAgmRel) << k << " " << c;
      EXPECT_LT(RelErr(r.EllE, boost::math::ellint_2(k)), 2 * kAgmRel) << k << " " << c;
      EXPECT_LT(RelErr(r.EllPi, boost::math::ellint_3(k, c * c)), tolPi) << k << " " << c;
      EXPECT_LE(r.EllCycles, 12) << k << " " << c;
    }
  }
}

TEST(EllipticKEPi, SingularCharacteristicStopsWithNaN) {
  for (auto [k, c] : {std::pair{0.1L, 1.0L}, {0.5L, -1.0L}, {1.2L, 0.3L}, {0.5L, std::nanl("")}}) {
    const EllipticResult r = EllipticKEPi(k, c);
    EXPECT_TRUE(std::isnan(r.EllPi)) << k << " " << c;
    EXPECT_EQ(r.EllCycles, 64) << k << " " << c;
  }
}

TEST(EllipticSimpson, AgreesWithAgm) {
  // Simpson's rule on a smooth periodic integrand over a quarter period converges far
  // faster than h^4; with 1e5 intervals only the rounding of the sums remains.
  for (long double k : {0.0L, 0.3L, 0.5L, 0.9L, -0.9L}) {
    const EllipticResult s = EllipticKESimpson(k);
    const EllipticResult a = EllipticKE(k);
    EXPECT_EQ(s.EllCycles, 100000);
    EXPECT_LT(RelErr(s.EllK, a.EllK), 1e-14L) << "k = " << k;
    EXPECT_LT(RelErr(s.EllE, a.EllE), 1e-14L) << "k = " << k;
  }
  for (auto [k, c] : {std::pair{0.5L, 0.3L}, {0.1L, 0.9L}, {0.8L, -0.5L}, {0.0L, 0.0L}}) {
    const PiSimpsonResult s = PiSimpson(k, c);
    EXPECT_EQ(s.EllCycles, 100000);
    EXPECT_LT(RelErr(s.EllPi, EllipticKEPi(k, c).EllPi), 1e-14L) << k << " " << c;
  }
}

TEST(EllipticSeries, TermCountsAndCoarseValues) {
  struct Row {
    long double k;
    int terms;
  };
  for (const Row& row : {Row{0.0L, 1}, Row{0.5L, 10}, Row{0.9L, 53}, Row{-0.5L, 10}}) {
    const EllipticResult s = EllipticKESeries(row.k);
    EXPECT_EQ(s.EllCycles, row.terms) << "k = " << row.k;
    // The last term added is below 1e-7 and the tail of a slowly shrinking series is a
    // few times that: about 7 digits.
    const EllipticResult a = EllipticKE(row.k);
    EXPECT_NEAR(s.EllK, a.EllK, 1e-6L) << "k = " << row.k;
    EXPECT_NEAR(s.EllE, a.EllE, 1e-6L) << "k = " << row.k;
  }
  const EllipticResult zero = EllipticKESeries(0.0L);
  EXPECT_EQ(zero.EllK, kHalfPi);
  EXPECT_EQ(zero.EllE, kHalfPi);
  const EllipticResult half = EllipticKESeries(0.5L);
  EXPECT_NEAR(half.EllK, 1.6857503411L, 1e-10L);
  EXPECT_NEAR(half.EllE, 1.4674622100L, 1e-10L);
  // Near k = 1 the terms shrink too slowly: the cap of n > 10000 ends the sum.
  EXPECT_EQ(EllipticKESeries(0.9999L).EllCycles, 5000);
}

TEST(IncompleteFE, AgreesWithBoost) {
  for (long double k : {0.0L, 0.3L, 0.5L, 0.8L, 0.9L, 0.99L}) {
    for (long double phi : {0.1L, 0.5L, 1.0L, kHalfPi, 2.0L, 3.0L}) {
      const IncompleteResult r = IncompleteFE(k, phi);
      EXPECT_EQ(r.EllCycles, 100000);
      EXPECT_LT(RelErr(r.EllFphi, boost::math::ellint_1(k, phi)), kSimpsonRel) << k << " " << phi;
      EXPECT_LT(RelErr(r.EllEphi, boost::math::ellint_2(k, phi)), kSimpsonRel) << k << " " << phi;
      // F and E are odd in the amplitude: the negated step retraces the same points.
      const IncompleteResult m = IncompleteFE(k, -phi);
      EXPECT_EQ(m.EllFphi, -r.EllFphi);
      EXPECT_EQ(m.EllEphi, -r.EllEphi);
    }
  }
}

TEST(IncompleteFE, SpecialAmplitudesAndModuli) {
  const IncompleteResult zero = IncompleteFE(0.7L, 0.0L);
  EXPECT_EQ(zero.EllFphi, 0.0L);
  EXPECT_EQ(zero.EllEphi, 0.0L);
  for (long double phi : {0.25L, 1.0L, 2.5L}) {
    const IncompleteResult r = IncompleteFE(0.0L, phi);
    EXPECT_NEAR(r.EllFphi, phi, 1e-17L);
    EXPECT_NEAR(r.EllEphi, phi, 1e-17L);
  }
  const IncompleteResult quarter = IncompleteFE(0.5L, kHalfPi);
  EXPECT_NEAR(quarter.EllFphi, 1.685750354812596L, 1e-15L);
  EXPECT_NEAR(quarter.EllEphi, 1.467462209339427L, 1e-15L);
}

TEST(HeumanLambda, AgreesWithBoostAndIdentities) {
  for (long double k : {0.0L, 0.3L, 0.5L, 0.8L, 0.9L, 0.99L}) {
    for (long double phi : {0.1L, 0.5L, 1.0L, 1.5L}) {
      const long double lambda = HeumanLambda(k, phi);
      EXPECT_NEAR(lambda, boost::math::heuman_lambda(k, phi), kSimpsonRel) << k << " " << phi;
      EXPECT_NEAR(HeumanLambda(k, -phi), -lambda, 1e-18L);
    }
    EXPECT_EQ(HeumanLambda(k, 0.0L), 0.0L);
  }
  // Legendre's relation makes Lambda0(k, pi/2) = 1. (At k = 0 itself the complementary
  // F(1, pi/2) diverges and the bracket is 0 * infinity; for small k the complementary
  // integrand is nearly singular at pi/2 and Simpson loses digits: 2.4e-12 at k = 1e-6.)
  for (long double k : {0.1L, 0.5L, 0.9L, 0.99L}) {
    EXPECT_NEAR(HeumanLambda(k, kHalfPi), 1.0L, kSimpsonRel) << "k = " << k;
  }
  for (long double phi : {0.2L, 0.7L, 1.3L}) {
    EXPECT_NEAR(HeumanLambda(0.0L, phi), std::sin(phi), kSimpsonRel) << "phi = " << phi;
  }
}

TEST(HeumanLambda, FullResultCarriesBothModuli) {
  const HeumanResult h = HeumanLambdaFull(0.6L, 0.8L);
  EXPECT_EQ(h.Lambda0, HeumanLambda(0.6L, 0.8L));
  EXPECT_EQ(h.complete.EllK, EllipticKE(0.6L).EllK);
  EXPECT_EQ(h.complete.EllE, EllipticKE(0.6L).EllE);
  // The incomplete integrals are those of the complementary modulus k' = 0.8.
  EXPECT_LT(RelErr(h.incomplete.EllFphi, boost::math::ellint_1(0.8L, 0.8L)), kSimpsonRel);
  EXPECT_LT(RelErr(h.incomplete.EllEphi, boost::math::ellint_2(0.8L, 0.8L)), kSimpsonRel);
  EXPECT_EQ(h.incomplete.EllCycles, 100000);
}
