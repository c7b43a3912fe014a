// The toroid next to the horn torus (D just above 2d): the two integrals of its limit
// against Bessel functions integrated another way, the series approaching that limit,
// and the exact lines of the window, which never read 0 there.
#include <gtest/gtest.h>

#include <boost/math/quadrature/tanh_sinh.hpp>
#include <boost/math/special_functions/bessel.hpp>
#include <cmath>
#include <string>
#include <vector>

#include "command_run.h"
#include "electrostatics/ring_kernel.h"
#include "electrostatics/toroid.h"
#include "electrostatics/toroid_command.h"
#include "numerics/format.h"
#include "numerics/library_namespaces.h"

namespace {

const Extended kE0 = Eps0();

Extended Rel(Extended a, Extended b) { return std::fabs(a / b - 1); }

// int_0^inf f for integrands that fall like e^(-x) or faster: over [0, 1] (tanh-sinh
// takes the logarithm of K0 at 0) and [1, 100] (beyond, less than e^-100 of the rest).
// The second piece is mapped onto [-1/4, 1/4]: on an interval whose ends lie within
// 1/2 of zero the rule places its nodes near the ends by their distance to them, while
// on [1, 100] a node can round onto an end, which Boost asserts against in builds
// without NDEBUG.
template <class F>
Extended HalfLine(F f) {
  boost::math::quadrature::tanh_sinh<Extended> rule;
  const Extended mid = 50.5L, scale = 198;  // x = mid + scale t
  return rule.integrate(f, 0.0L, 1.0L) +
         scale * rule.integrate([&](Extended t) { return f(mid + scale * t); }, -0.25L, 0.25L);
}

Extended I0(Extended x) { return boost::math::cyl_bessel_i(0, x); }
Extended K0(Extended x) { return boost::math::cyl_bessel_k(0, x); }

// The value after the last colon of a Report line.
Extended ValueOf(const std::string& line) {
  return std::stold(line.substr(line.rfind(':') + 1));
}

}  // namespace

TEST(HornTorus, TheLimitIntegralsAgainstBesselQuadrature) {
  const Extended capacitance = HalfLine([](Extended x) { return K0(x) / I0(x); });
  const Extended field = HalfLine([](Extended x) { return 1 / I0(x); });
  EXPECT_LT(Rel(kHornCapacitanceIntegral, capacitance), 1e-17L);
  EXPECT_LT(Rel(kHornFieldIntegral, field), 1e-17L);
  // The horn torus's share of the sphere of its outer diameter, (2/pi) of the first:
  // the 0.87069013 of the list of other shapes.
  EXPECT_NEAR(static_cast<double>(2 * kHornCapacitanceIntegral / kPi), 0.87069013, 5e-9);
}

// The series approach the limits as 1 + 0.41 (q - 1) and 1 - 0.29 (q - 1) (shown here
// down to q - 1 = 2e-7, where their own truncation is still far below the difference);
// below the margin, and where the step limit stops them, the routines give the limits.
TEST(HornTorus, TheSeriesApproachTheLimitAndTheRoutinesTakeItOver) {
  VectorReport none;
  const Extended d = 0.3L, a = d / 2;
  const Extended C0 = 16 * kE0 * a * kHornCapacitanceIntegral;
  const Extended E0 = 2 * kHornFieldIntegral / (kPi * d);
  for (Extended qm1 : {2e-3L, 2e-5L, 2e-7L}) {
    const Extended D = 2 * d + d * qm1;  // R = D/2 - a = a (1 + (q - 1))
    const ToroidSeries C = ExactToroidCapacitanceSeries(D, d, kE0, {false, true}, none);
    const ToroidSeries E = ExactToroidMaxFieldSeries(D, d, {false, true}, none);
    ASSERT_FALSE(C.hornLimit || E.hornLimit) << qm1;
    EXPECT_NEAR(static_cast<double>((C.value / C0 - 1) / qm1), 0.41, 0.02) << qm1;
    EXPECT_NEAR(static_cast<double>((E.value / E0 - 1) / qm1), -0.28, 0.02) << qm1;
  }
  struct Row {
    Extended D;
    bool seriesRun;  // the hole is above the margin: the series ran into its step limit
  };
  for (const Row& r : {Row{0.6000000000001L, false}, Row{0.60000000001L, true},
                       Row{0.6L * (1 + 1e-18L), false}}) {
    const ToroidSeries C = ExactToroidCapacitanceSeries(r.D, d, kE0, {false, true}, none);
    const ToroidSeries E = ExactToroidMaxFieldSeries(r.D, d, {false, true}, none);
    EXPECT_TRUE(C.hornLimit && E.hornLimit) << r.D;
    EXPECT_EQ(C.hasHole, r.seriesRun);
    EXPECT_EQ(C.value, C0);
    EXPECT_EQ(E.value, E0);
  }
  // No hole at all: still nothing.
  EXPECT_EQ(ExactToroidCapacitance(0.6L, d, kE0, {false, true}, none), 0);
}

// The window's lines for a toroid a hair above D = 2d: the horn torus's values, with the
// line that says so in place of the count of terms, never 0 pF.
TEST(HornTorus, TheWindowWritesTheLimitWithItsLine) {
  const std::vector<std::string> lines =
      command_run::LinesOf(ToroidFieldDefs(), &ToroidCommand,
                           {{"Emajor", "0.6000000000001"}, {"Eminor", "0.3"}});
  ASSERT_GT(lines.size(), 9u);
  EXPECT_EQ(lines[2], "Capacitance: horn torus limit (a hole too small for the series)");
  EXPECT_EQ(lines[4], "Electric field: horn torus limit (a hole too small for the series)");
  const Extended C = ValueOf(lines[3]) * 1e-12L;
  const Extended E = ValueOf(lines[5]);
  // The capacitance of the horn torus as the sphere of diameter 0.6 times its share
  // (2/pi times the integral of K0/I0, to 19 digits by mpmath's quadrature at 40).
  EXPECT_LT(Rel(C, 2 * kPi * kE0 * 0.6L * 0.8706901325379438551L), 1e-15L);
  EXPECT_LT(Rel(E, 2 * kHornFieldIntegral / (kPi * 0.3L)), 1e-15L);
  EXPECT_EQ(lines[6], "Exact breakdown voltage: " + FixedStr(3000 / E, 10, 4) + "kV");
  // The horned toroid of the shapes list below agrees to its 8 digits.
  EXPECT_EQ(lines[9], "Horned toroid with diameter =  0.60:   " + FixedStr(C / 1e-12L, 9, 6) +
                          " pF");
}
