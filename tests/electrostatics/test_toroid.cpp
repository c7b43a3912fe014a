// The toroid series against toroidal Legendre functions evaluated another way
// (quadrature of their integral representations), against Gauss's law over the
// surface field, and against the thin-ring and horn-torus limits.
#include <gtest/gtest.h>

#include <boost/math/quadrature/exp_sinh.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <cmath>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/toroid.h"

namespace {

const Extended kE0 = Eps0();

// Laplace's first integral: P_(n-1/2)(q) = (1/pi) int_0^pi (q + sqrt(q^2-1) cos t)^(n-1/2) dt.
Extended LaplaceP(int n, Extended q) {
  const Extended s = std::sqrt(q * q - 1);
  auto f = [&](Extended t) { return std::pow(q + s * std::cos(t), n - 0.5L); };
  return boost::math::quadrature::gauss_kronrod<Extended, 61>::integrate(f, 0.0L, kPi, 12,
                                                                          1e-18L) /
         kPi;
}

// Heine's integral: Q_(n-1/2)(q) = int_0^inf (q + sqrt(q^2-1) cosh t)^(-n-1/2) dt.
Extended HeineQ(int n, Extended q) {
  const Extended s = std::sqrt(q * q - 1);
  auto f = [&](Extended t) { return std::pow(q + s * std::cosh(t), -n - 0.5L); };
  static boost::math::quadrature::exp_sinh<Extended> integrator;
  return integrator.integrate(f, 1e-18L);
}

Extended Rel(Extended x, Extended ref) { return std::fabs(x / ref - 1); }

struct Tube {
  Extended D, d, a, R, q, c;
};
// The toroid whose surface is cosh(eta0) = q, tube diameter 0.3.
Tube TubeFor(Extended q) {
  Tube t;
  t.d = 0.3L;
  t.D = t.d * (q + 1);
  t.a = t.d / 2;
  t.R = t.D / 2 - t.a;
  t.q = t.R / t.a;
  t.c = std::sqrt(t.R * t.R - t.a * t.a);
  return t;
}

const Extended kArguments[] = {1.05L, 1.3L, 2.0L, 5.0L, 40.0L};

}  // namespace

TEST(ToroidalLegendre, StartingValuesAndRecurrenceMatchTheIntegrals) {
  for (Extended q : kArguments) {
    const Extended k = ToroidalModulus(q);
    HalfDegreePair P = ToroidalPStart(k);
    HalfDegreePair Q = ToroidalQStart(k);
    // EllipticKE stops its AGM at an absolute 1e-15: a few hundred ulps.
    EXPECT_LT(Rel(P.lower, LaplaceP(0, q)), 5e-16L) << q;
    EXPECT_LT(Rel(P.upper, LaplaceP(1, q)), 5e-16L) << q;
    EXPECT_LT(Rel(Q.lower, HeineQ(0, q)), 5e-16L) << q;
    // Q(1/2) = 2(K - E)/k - kK cancels about 1/k^2 = (q + 1)/2 of its digits.
    EXPECT_LT(Rel(Q.upper, HeineQ(1, q)), 5e-16L * (q + 1)) << q;
    // P grows: the forward recurrence keeps the digits of its starting values. Q decays
    // as fast as P grows, and its errors grow like P: what stays bounded is the
    // absolute error of the series term Q/P, far below 1e-17 of the first term whatever
    // the degree.
    const Extended firstTerm = Q.lower / P.lower;
    for (int n = 1; n <= 12; ++n) {
      AdvanceToroidal(P, n, q);
      AdvanceToroidal(Q, n, q);
      const Extended Pn = LaplaceP(n + 1, q);
      EXPECT_LT(Rel(P.upper, Pn), 5e-16L) << q << " n=" << n;
      EXPECT_LT(std::fabs(Q.upper / P.upper - HeineQ(n + 1, q) / Pn), 1e-17L * firstTerm)
          << q << " n=" << n;
    }
  }
}

// The series stop once a term is below 1e-14 of the sum; the terms fall by rho each
// degree, so the neglected tail is up to 1e-14 rho/(1 - rho) of the sum.
Extended TailBound(Extended rho) { return 2e-15L + 1e-14L * rho / (1 - rho); }
// q - sqrt(q^2 - 1) = e^(-eta0): the ratio of successive 1/P terms.
Extended Decay(Extended q) { return q - std::sqrt(q * q - 1); }

TEST(ExactToroid, CapacitanceIsTheSeriesOfIndependentLegendreFunctions) {
  // C = 8 eps0 c sum eps_n Q_(n-1/2)(q)/P_(n-1/2)(q), the terms falling like
  // (q + sqrt(q^2 - 1))^(-2n).
  VectorReport none;
  for (Extended q : kArguments) {
    const Tube t = TubeFor(q);
    Extended sum = HeineQ(0, t.q) / LaplaceP(0, t.q);
    for (int n = 1; n < 400; ++n) {
      const Extended term = 2 * HeineQ(n, t.q) / LaplaceP(n, t.q);
      sum += term;
      if (term < 1e-22L * sum) break;
    }
    const Extended expected = 8 * kE0 * t.c * sum;
    const ToroidSeries C = ExactToroidCapacitanceSeries(t.D, t.d, kE0, {false, true}, none);
    EXPECT_TRUE(C.hasHole);
    EXPECT_FALSE(C.failed);
    EXPECT_LT(Rel(C.value, expected), TailBound(Decay(t.q) * Decay(t.q))) << q;
    EXPECT_LT(std::fabs(C.lastRelativeError), kToroidSeriesTolerance);
  }
  EXPECT_TRUE(none.lines.empty());  // neither details nor counts in table mode
}

TEST(ExactToroid, GaussLawOverTheSurfaceFieldGivesTheCapacitance) {
  // The normal field at 1 V on the surface eta0, with h = c/(q - cos theta) the scale
  // factor and r = c sinh(eta0)/(q - cos theta) the distance from the axis:
  //   E(theta) = 2 sqrt(2) (q - cos theta)^(3/2)/(pi d (q^2 - 1)) sum eps_n cos(n theta)/P_(n-1/2)(q).
  // Its largest value is at theta = 0, and eps0 times its flux is the charge C.
  VectorReport none;
  for (Extended q : {1.3L, 2.0L, 5.0L}) {
    const Tube t = TubeFor(q);
    std::vector<Extended> invP;
    for (int n = 0; n < 200; ++n) {
      invP.push_back((n ? 2 : 1) / LaplaceP(n, t.q));
      if (invP.back() < 1e-24L) break;
    }
    auto field = [&](Extended theta) {
      Extended s = 0;
      for (std::size_t n = 0; n < invP.size(); ++n) s += invP[n] * std::cos(n * theta);
      const Extended w = t.q - std::cos(theta);
      return 2 * std::sqrt(2.0L) * std::pow(w, 1.5L) / (kPi * t.d * (t.q * t.q - 1)) * s;
    };
    const Extended Emax = ExactToroidMaxField(t.D, t.d, {false, true}, none);
    EXPECT_LT(Rel(Emax, field(0)), TailBound(Decay(t.q))) << q;
    // The periodic trapezoidal rule converges geometrically for this smooth integrand.
    const int m = 2000;
    Extended flux = 0, largest = 0;
    for (int i = 0; i < m; ++i) {
      const Extended theta = -kPi + 2 * kPi * i / m;
      const Extended w = t.q - std::cos(theta);
      const Extended E = field(theta);
      largest = std::max(largest, E);
      flux += E * (t.c / w) * 2 * kPi * (t.c * std::sqrt(t.q * t.q - 1) / w);
    }
    flux *= 2 * kPi / m;
    EXPECT_LE(largest, Emax * (1 + TailBound(Decay(t.q)))) << q;
    EXPECT_LT(Rel(kE0 * flux, ExactToroidCapacitance(t.D, t.d, kE0, {false, true}, none)),
              1e-14L)
        << q;
  }
}

TEST(ExactToroid, ThinAndHornLimits) {
  VectorReport none;
  // A thin ring of wire: 4 pi^2 eps0 R/ln(8R/a), with an error of order (a/R)^2 ln(R/a).
  for (Extended d : {1e-2L, 1e-3L, 1e-4L, 1e-5L}) {
    const Extended a = d / 2, R = 0.5L - a;
    const Extended ring = 4 * kPi * kPi * kE0 * R / std::log(8 * R / a);
    const Extended bound = (a / R) * (a / R) * std::log(8 * R / a);
    EXPECT_LT(Rel(ExactToroidCapacitance(1, d, kE0, {false, true}, none), ring), bound) << d;
    EXPECT_LT(Rel(ThinToroidCapacitance(1, d, kE0), ring), bound) << d;
  }
  // Toward the horn torus (D -> 2d) the terms fall ever more slowly; the sum tends to the
  // horn torus's 0.87069013 of the sphere of the same outer diameter.
  std::int32_t previousSteps = 0;
  for (Extended eps : {1e-3L, 1e-5L, 1e-7L}) {
    const Extended D = 0.6L * (1 + eps);
    const ToroidSeries C = ExactToroidCapacitanceSeries(D, 0.3L, kE0, {false, true}, none);
    EXPECT_LT(Rel(C.value, 2 * kPi * kE0 * 0.6L * 0.87069013L), 2e-8L + 10 * eps) << eps;
    EXPECT_GT(C.steps, 2 * previousSteps);
    previousSteps = C.steps;
  }
}

TEST(ExactToroid, NoHoleGivesZeroAndOnlyTheCapacitanceDetailsBeforeTheTest) {
  for (const auto& [D, d] : {std::pair{0.6L, 0.3L}, {0.6L * (1 + 1e-12L), 0.3L}, {0.9L, 0.0L},
                             {0.9L, -0.3L}, {-1.0L, 0.1L}}) {
    VectorReport lines;
    EXPECT_EQ(ExactToroidCapacitance(D, d, kE0, {true, false}, lines), 0) << D << " " << d;
    EXPECT_EQ(lines.lines.size(), 3u);  // e0, circle radius, centre radius
    EXPECT_EQ(ExactToroidMaxField(D, d, {true, false}, lines), 0);
    EXPECT_EQ(lines.lines.size(), 3u);
  }
}

TEST(ExactToroid, DetailLinesForTheDefaultToroid) {
  VectorReport r;
  const Extended C = ExactToroidCapacitance(0.9L, 0.3L, kE0, {true, false}, r);
  const Extended E = ExactToroidMaxField(0.9L, 0.3L, {true, false}, r);
  EXPECT_NEAR(static_cast<double>(C / 1e-12L), 40.584, 0.001);
  EXPECT_NEAR(static_cast<double>(E), 3.534, 0.001);
  const std::vector<std::string> head = {
      "e0:      8.85418781762038985E-0012",
      "Circle radius:    0.1500000000 m",
      "Center radius:    0.3000000000 m",
      "Capacitance calculation:",
      "Argument for Legendre functions:    2.0000000000",
      "P-0.5:    0.9012862994 Q-0.5:    1.6566381702",
      "P+0.5:    1.3291381622 Q+0.5:    0.2240142928",
  };
  ASSERT_GT(r.lines.size(), 40u);
  EXPECT_EQ(std::vector<std::string>(r.lines.begin(), r.lines.begin() + 7), head);
  // Steps 1 to 9 of the capacitance, 1 to 19 of the field, each with its count line.
  EXPECT_EQ(r.lines[8], "P+1.5:    3.2439396660 Q+1.5:    0.0451587242");
  EXPECT_EQ(r.lines[16], "P+9.5: 50988.7255016176 Q+9.5:    0.0000005664");
  EXPECT_EQ(r.lines[17],
            "Capacitance: Used  14 terms of the series. Last relative error:  3.8E-0015");
  EXPECT_EQ(r.lines[18], "Maximum electric field calculation (better formula):");
  EXPECT_EQ(r.lines[21], "P+0.5: 1.3291 Emax: 1.109525");
  EXPECT_EQ(r.lines[22], "P+1.5: 3.2439 Emax: 2.614260+/- 5.8E-0001");
  EXPECT_EQ(r.lines.size(), 18u + 4 + 19 + 1);
  EXPECT_EQ(r.lines.back(),
            "Electric field: Used  28 terms of the series. Last relative error:  3.5E-0015");
}

TEST(ExactToroid, BrokenQRecurrenceIsReportedAndTheSumSoFarKept) {
  // A very thin tube (q ~ 1e8): Q(1/2) comes from a difference of nearly equal elliptic
  // terms and the first recurrence step turns it negative.
  VectorReport r;
  const ToroidSeries C = ExactToroidCapacitanceSeries(1, 1e-8L, kE0, {false, false}, r);
  EXPECT_TRUE(C.failed);
  EXPECT_EQ(C.steps, 1);
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[0], "Failure in the calculation of Qn+1/2 for n=1");
  EXPECT_EQ(r.lines[1].rfind("Capacitance: Used   3 terms of the series.", 0), 0u);
  const Extended a = 0.5e-8L, R = 0.5L - a;
  EXPECT_LT(Rel(C.value, 4 * kPi * kPi * kE0 * R / std::log(8 * R / a)), 1e-12L);
}
