#include "transformer/classical.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "numerics/elliptic.h"
#include "numerics/rings.h"
#include "numerics/library_namespaces.h"

namespace {

constexpr Extended kMu0Classical = 1.2566370614359172885e-6L;  // the formulas' double mu0

Extended RelErr(Extended a, Extended b) { return std::fabs(a - b) / std::fabs(b); }

// Gauss-Legendre rule of order n on [-1, 1], nodes by Newton's method on P_n.
struct GaussRule {
  std::vector<Extended> x, w;
  explicit GaussRule(int n) {
    for (int i = 1; i <= n; ++i) {
      Extended t = std::cos(kPi * (i - 0.25L) / (n + 0.5L));
      Extended dp = 0;
      for (int it = 0; it < 100; ++it) {
        Extended p0 = 1, p1 = t;
        for (int j = 2; j <= n; ++j) {
          const Extended p2 = ((2 * j - 1) * t * p1 - (j - 1) * p0) / j;
          p0 = p1;
          p1 = p2;
        }
        dp = n * (t * p1 - p0) / (t * t - 1);
        const Extended dt = p1 / dp;
        t -= dt;
        if (std::fabs(dt) < 1e-19L) break;
      }
      x.push_back(t);
      w.push_back(2 / ((1 - t * t) * dp * dp));
    }
  }
};

const GaussRule& Rule() {
  static const GaussRule rule(12);
  return rule;
}

// Panel edges on [a, b], geometrically graded towards the end `toward` (a or b), where
// the integrand may have a logarithmic singularity.
std::vector<Extended> GradedPanels(Extended a, Extended b, bool towardA, int levels) {
  std::vector<Extended> t{0};
  for (int i = levels; i >= 1; --i) t.push_back(std::ldexp(1.0L, -i));
  for (int i = 1; i <= 8; ++i) t.push_back(0.5L + i / 16.0L);
  std::vector<Extended> edges;
  for (Extended s : t) edges.push_back(towardA ? a + (b - a) * s : b - (b - a) * s);
  if (!towardA) std::reverse(edges.begin(), edges.end());
  return edges;
}

Extended Integrate(const std::function<Extended(Extended)>& f, const std::vector<Extended>& edges) {
  Extended sum = 0;
  for (std::size_t p = 0; p + 1 < edges.size(); ++p) {
    const Extended mid = (edges[p] + edges[p + 1]) / 2, half = (edges[p + 1] - edges[p]) / 2;
    for (std::size_t i = 0; i < Rule().x.size(); ++i) sum += Rule().w[i] * half * f(mid + half * Rule().x[i]);
  }
  return sum;
}

// ------------------------------------------------------------------ solenoid and circle

// Mutual inductance of a current sheet (radius r1, n turns over |len|) ending in the
// plane of a circle r2, integrated ring by ring over the sheet with Maxwell's formula.
Extended SheetCircleByRings(Extended r1, Extended r2, Extended len, Extended n) {
  const Extended L = std::fabs(len);
  const auto f = [&](Extended z) { return RingPairMutual(r1, r2, z) * n / L; };
  return Integrate(f, GradedPanels(0, L, true, 24)) * kMu0Classical / kMu0;
}

TEST(EndCircleMutual, ThreeFormsAgreeWithRingIntegral) {
  // Distinct radii give a smooth integrand, integrated to near rounding. A circle on
  // the sheet's own edge meets a logarithmic singularity at the end ring, which the
  // graded panels resolve to about 1e-9.
  const struct {
    Extended r1, r2, len, n, tol;
  } cases[] = {
      {0.10L, 0.05L, 0.30L, 100, 1e-14L},   // circle inside the sheet's radius
      {0.05L, 0.10L, 0.20L, 50, 1e-14L},    // circle outside
      {0.10L, 0.12L, -0.25L, 40, 1e-14L},   // sheet below the circle: same value
      {0.044L, 0.15L, 0.01L, 7.5L, 1e-14L}, // short sheet, large circle
      {0.10L, 0.10L, 0.20L, 30, 2e-9L},     // circle on the sheet's own edge
  };
  for (const auto& c : cases) {
    const Extended ref = SheetCircleByRings(c.r1, c.r2, c.len, c.n);
    EXPECT_LT(RelErr(JonesEndCircleMutual(c.r1, c.r2, c.len, c.n), ref), c.tol) << c.r1 << " " << c.r2;
    EXPECT_LT(RelErr(GarrettEndCircleMutual(c.r1, c.r2, c.len, c.n), ref), c.tol) << c.r1 << " " << c.r2;
    EXPECT_LT(RelErr(SnowEndCircleMutual(c.r1, c.r2, c.len, c.n), ref), c.tol) << c.r1 << " " << c.r2;
  }
  EXPECT_EQ(SnowEndCircleMutual(0.1L, 0.05L, 0.0L, 10), 0.0L);
}

// ------------------------------------------------------------------ two current sheets

// Double integral of Maxwell's ring formula over both sheets, panels graded towards
// the ends nearest each other.
Extended SheetsByRings(const CoilPair& c) {
  const auto e1 = GradedPanels(c.b1, c.b1 + c.h1, false, 24);
  const auto e2 = GradedPanels(c.b2, c.b2 + c.h2, true, 24);
  const auto outer = [&](Extended z1) {
    const auto inner = [&](Extended z2) { return RingPairMutual(c.rmin1, c.rmin2, z2 - z1); };
    return Integrate(inner, e2);
  };
  return Integrate(outer, e1) * c.N1 * c.N2 / c.h1 / c.h2 * kMu0Classical / kMu0;
}

CoilPair Sheets(Extended r1, Extended h1, Extended b1, Extended N1, Extended r2, Extended h2,
                Extended b2, Extended N2) {
  CoilPair c;
  c.rmin1 = c.rmax1 = r1;
  c.h1 = h1;
  c.b1 = b1;
  c.N1 = N1;
  c.rmin2 = c.rmax2 = r2;
  c.h2 = h2;
  c.b2 = b2;
  c.N2 = N2;
  return c;
}

TEST(SnowSheetMutual, AgreesWithDoubleIntegralOverBothSheets) {
  const struct {
    CoilPair c;
    Extended tol;
  } cases[] = {
      // Primary around the secondary's base, secondary through it.
      {Sheets(0.15L, 0.05L, 0.02L, 8, 0.044L, 0.32L, 0.0L, 1152), 1e-14L},
      // Separate coaxial sheets, the second above the first.
      {Sheets(0.05L, 0.10L, 0.0L, 20, 0.08L, 0.05L, 0.15L, 30), 1e-14L},
      // Equal radii stacked end to end: the touching ends take k = 1 - 1e-10 in
      // place of 1 (whose K is infinite), which moves the result by about 1e-8.
      {Sheets(0.05L, 0.10L, 0.0L, 20, 0.05L, 0.05L, 0.10L, 10), 3e-8L},
  };
  for (const auto& k : cases) {
    const Extended M = SnowSheetMutual(k.c);
    EXPECT_TRUE(std::isfinite(M));
    EXPECT_LT(RelErr(M, SheetsByRings(k.c)), k.tol) << k.c.rmin1 << " " << k.c.rmin2;
  }
}

TEST(SnowSheetTerm, CoincidentEqualRingsUseModulusBelowOne) {
  // 1 - 1e-10 as the 80-bit pattern: significand FFFFFFFF920C8099, exponent 3FFE.
  const unsigned char bytes[10] = {0x99, 0x80, 0x0C, 0x92, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x3F};
  Extended k = 0;
  std::memcpy(&k, bytes, sizeof bytes);
  EXPECT_EQ(k, 1.0L - 1e-10L);

  CoilPair c = Sheets(0.05L, 0.1L, 0, 1, 0.05L, 0.1L, 0, 1);
  const EllipticResult ke = EllipticKE(k);
  const Extended D = 0.1L;  // z = 0: D = r1 + r2
  const Extended expected =
      (ke.EllK - (2.0L / (k * k) - 1.0L) * (ke.EllK - ke.EllE)) * (4.0L / 3.0L) * 0.05L * 0.05L * D;
  EXPECT_EQ(SnowSheetTerm(c, 0), expected);
}

// ------------------------------------------------------------------ solenoids

// Nagaoka's coefficient K_N(2r/h), as tabulated (four decimals) in F. W. Grover,
// "Inductance Calculations" (1946), Table 36, after Nagaoka (1909) and Rosa & Grover,
// Bull. Bureau of Standards 8 (1912).
TEST(LorenzInductance, ReproducesNagaokaTable) {
  const struct {
    Extended diameterOverLength, KN;
  } table[] = {
      {0.1L, 0.9588L}, {0.2L, 0.9201L}, {0.3L, 0.8838L}, {0.5L, 0.8181L}, {0.7L, 0.7609L},
      {1.0L, 0.6884L}, {1.5L, 0.5950L}, {2.0L, 0.5255L}, {3.0L, 0.4292L}, {4.0L, 0.3654L},
      {5.0L, 0.3198L}, {10.0L, 0.2033L},
  };
  const Extended r = 0.05L, N = 100;
  for (const auto& row : table) {
    const Extended h = 2 * r / row.diameterOverLength;
    const Extended KN = LorenzInductance(N, h, r) * h / (kMu0Classical * kPi * r * r * N * N);
    EXPECT_NEAR(static_cast<double>(KN), static_cast<double>(row.KN), 0.5e-4) << row.diameterOverLength;
  }
}

TEST(LundinInductance, FollowsCurrentSheetAndSwitchesAtHEqualsTwoR) {
  // Lundin's fits reproduce the current-sheet inductance to a few ppm at every shape.
  const Extended r = 0.05L, N = 40;
  for (Extended shape : {0.05L, 0.2L, 0.5L, 0.9L, 1.0L, 1.1L, 2.0L, 5.0L, 20.0L}) {
    const Extended h = 2 * r * shape;
    EXPECT_LT(RelErr(LundinInductance(N, h, r), LorenzInductance(N, h, r)), 5e-6L) << shape;
  }
  // h = 2r belongs to the short-coil branch: continuous with the values just below,
  // while the long-coil branch just above differs by the fits' small mismatch.
  const Extended h = 2 * r;
  const Extended below = LundinInductance(N, std::nextafter(h, 0.0L), r);
  const Extended above = LundinInductance(N, std::nextafter(h, 1.0L), r);
  const Extended at = LundinInductance(N, h, r);
  ASSERT_GT(RelErr(above, below), 1e-9L);
  EXPECT_LT(RelErr(at, below), 1e-15L);
}

TEST(Wheeler, SolenoidSpiralAndCone) {
  // Default secondary.
  const Extended Ls = WheelerSolenoid(1152, 0.32L, 0.044L);
  EXPECT_LT(RelErr(Ls, kMu0Classical * kPi * 0.044L * 0.044L * 1152 * 1152 / (0.0396L + 0.32L)), 1e-15L);
  // Wheeler's solenoid formula is good to about 1 % of the current sheet.
  EXPECT_LT(RelErr(Ls, LorenzInductance(1152, 0.32L, 0.044L)), 0.01L);

  // Wheeler's spiral in inches: L[uH] = A^2 N^2 / (8A + 11W), A the mean radius and W
  // the width; 1 to 3 inches, 10 turns: 400/38 uH.
  EXPECT_LT(RelErr(WheelerSpiral(10, 0.0254L, 0.0762L), 400.0L / 38.0L * 1e-6L), 1e-15L);
  EXPECT_EQ(WheelerSpiral(10, 0.0762L, 0.0254L), WheelerSpiral(10, 0.0254L, 0.0762L));

  EXPECT_EQ(WheelerInductance(10, 0, 0.0254L, 0.0762L), WheelerSpiral(10, 0.0254L, 0.0762L));
  EXPECT_EQ(WheelerInductance(1152, 0.32L, 0.044L, 0.044L), Ls);
  // A cone and its mirror image (rmin and rmax exchanged) share the solenoid and
  // spiral parts; the angle's sign flips the factor 1 - 0.1466 sin 2 theta.
  const Extended h = 0.1L, a = 0.05L, b = 0.15L;
  const Extended theta = std::atan(h / (b - a));
  const Extended s2 = 0.1466L * std::sin(2 * theta);
  const Extended up = WheelerInductance(20, h, a, b), down = WheelerInductance(20, h, b, a);
  EXPECT_GT(down, up);
  EXPECT_LT(RelErr(down / up, (1 + s2) / (1 - s2)), 1e-15L);
}

TEST(KirchhoffInductance, SumOfTurnSelfAndPairMutuals) {
  const Extended r = 0.05L, h = 0.1L, wd = 0.001L;
  const int n = 25;
  Extended ref = n * GroverOneTurn(r, wd);
  for (int i = 1; i < n; ++i) ref += 2 * (n - i) * RingPairMutual(r, r, i * h / n) * kMu0Classical / kMu0;
  VectorReport report;
  EXPECT_LT(RelErr(KirchhoffInductance(report, r, h, wd, n), ref), 1e-15L);
  EXPECT_TRUE(report.lines.empty());
  EXPECT_LT(RelErr(KirchhoffInductance(report, r, h, wd, 24.6L), ref), 1e-15L);
  ASSERT_EQ(report.lines.size(), 1u);
  EXPECT_EQ(report.lines[0], "Turns rounded to 25");
}

TEST(SnowInductance, HelixAgreesWithTurnSumAndReportsItsInputs) {
  VectorReport report;
  // Snow's helix formula and the sum over circular turns describe the same coil of
  // round wire; they differ by a few parts in 1e4 for these shapes.
  const struct {
    Extended r, h, wd, N;
  } coils[] = {{0.05L, 0.1L, 0.001L, 50}, {0.044L, 0.32L, 0.00025L, 1152}, {0.1L, 0.05L, 0.002L, 10}};
  for (const auto& c : coils) {
    const Extended snow = SnowInductance(report, c.r, c.h, c.wd, c.N);
    const Extended turns = KirchhoffInductance(report, c.r, c.h, c.wd, c.N);
    EXPECT_LT(RelErr(snow, turns), 1e-3L) << c.N;
  }
  EXPECT_TRUE(report.lines.empty());
  EXPECT_EQ(SnowInductance(report, 0.05L, 0, 0.001L, 10), 1.0L);
  SnowInductance(report, 0.05L, 0.1L, 0.001L, 49.5L);
  ASSERT_EQ(report.lines.size(), 2u);
  EXPECT_EQ(report.lines[0], "The coil can't be flat");
  EXPECT_EQ(report.lines[1], "Turns rounded to 50");  // ties to even
}

TEST(ClassicalConstants, DoublePrecisionValuesAsTheFormulasHoldThem) {
  // The printed values carry 18 digits, so the constants' last bits show. With unit
  // turns and radii the formulas reduce to their constant over a known denominator.
  // 1/25400 as the double 3.9370078740157478413e-5, not the 80-bit quotient.
  EXPECT_EQ(WheelerSpiral(1, 0, 1), 3.9370078740157478413e-5L / 60);
  EXPECT_NE(WheelerSpiral(1, 0, 1), 1.0L / 25400 / 60);
  // mu0 * pi as the double 3.9478417604357438154e-6.
  EXPECT_EQ(WheelerSolenoid(1, 0.1L, 1), 3.9478417604357438154e-6L / (0.9L + 0.1L));
  // mu0 as the double 1.2566370614359172885e-6, 5.5e-18 (relative) below 4 pi 1e-7:
  // the quotient below carries a few roundings of 5.4e-20, far less than that gap.
  const Extended wd = 0.002L;
  const Extended mu = GroverOneTurn(1, wd) / (std::log(8.0L / (wd / 2)) - 1.75L);
  EXPECT_LT(RelErr(mu, 1.2566370614359172885e-6L), 3e-19L);
  EXPECT_GT(RelErr(mu, kMu0), 4e-18L);
}

// ------------------------------------------------------------------ loops and circles

TEST(OneTurn, FourFormulasAgreeForThinWire) {
  // They differ in the terms of order (a/r)^2 and, for Russell's, a/r.
  for (Extended ratio : {1e-2L, 1e-3L, 1e-4L}) {
    const Extended r = 0.1L, wd = 2 * r * ratio;
    const Extended g = GroverOneTurn(r, wd);
    EXPECT_LT(RelErr(MaxwellOneTurn(r, wd), g), ratio * ratio) << ratio;
    EXPECT_LT(RelErr(AIPOneTurn(r, wd), g), ratio * ratio) << ratio;
    EXPECT_LT(RelErr(RussellOneTurn(r, wd), g), ratio) << ratio;
  }
}

TEST(TwoCircles, MaxwellAndSnowOneTurn) {
  CoilPair c = Sheets(0.15L, 0, 0.02L, 1, 0.044L, 0.32L, 0.1L, 1152);
  const Extended ring = RingPairMutual(0.15L, 0.044L, 0.08L) * kMu0Classical / kMu0;
  EXPECT_LT(RelErr(MaxwellMutualOneTurn(c), ring), 1e-15L);
  EXPECT_LT(RelErr(SnowMutual61(c), ring), 1e-15L);  // a full turn: no correction
  c.N1 = 3;
  EXPECT_LT(RelErr(MaxwellMutualOneTurn(c), 3 * ring), 1e-15L);
}

}  // namespace
