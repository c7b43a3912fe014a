// The distributed model of the secondary: its matrices against plain sums and exact
// electrostatics, the physics its modes must obey, and measured coils.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/toroid.h"
#include "numerics/canvas.h"
#include "numerics/rings.h"
#include "resonator/resonator_model.h"
#include "transformer/context.h"
#include "transformer/maxwell.h"
#include "numerics/library_namespaces.h"

namespace {

Extended RelErr(Extended a, Extended b) { return std::fabs(a / b - 1); }

// The main window's default secondary: 1152 turns, 0.32 m high, radius 0.044 m.
ResonatorCoil DefaultSecondary() { return {1152, 0.32L, 0.044L, 0, 0.0002L}; }

ResonatorResult Solve(const ResonatorCoil& coil, bool ground, TopLoad top = {}, int sections = 100) {
  ResonatorInput in;
  in.coil = coil;
  in.ground = ground;
  in.top = top;
  in.sections = sections;
  std::optional<ResonatorResult> r = SolveResonator(in);
  EXPECT_TRUE(r.has_value());
  return r ? *r : ResonatorResult();
}

Extended F1(const ResonatorCoil& coil, bool ground, TopLoad top = {}, int sections = 100) {
  return Solve(coil, ground, top, sections).modes.at(0).frequency;
}

// Turn pairs summed one by one with Maxwell's ring formula, straight from the
// definition of the section matrix: each turn's share of each section by its overlap.
Extended PlainSectionPair(const ResonatorCoil& c, bool ground, int S, int s, int t) {
  const int n = static_cast<int>(c.N);
  const Extended dz = c.h / n, g = WireGmd(c.wd), H = c.h / S;
  auto share = [&](int turn, int section) {
    const Extended lo = std::max((turn - 1) * dz, section * H);
    const Extended hi = std::min(turn * dz, (section + 1) * H);
    return hi > lo ? (hi - lo) / dz : 0.0L;
  };
  auto first = [&](int section) { return section * n / S + 1; };
  auto last = [&](int section) { return std::min(n, (section + 1) * n / S + 1); };
  Extended sum = 0;
  for (int i = first(s); i <= last(s); ++i)
    for (int j = first(t); j <= last(t); ++j) {
      const Extended w = share(i, s) * share(j, t);
      if (w == 0) continue;
      const Extended zi = c.b + (i - 0.5L) * dz, zj = c.b + (j - 0.5L) * dz;
      const Extended d = std::fabs(zi - zj);
      Extended m = i == j ? RingPairMutual(c.r, c.r, g)
                          : (RingPairMutual(c.r, c.r, d - g) + RingPairMutual(c.r, c.r, d + g)) / 2;
      if (ground) m -= RingPairMutual(c.r, c.r, zi + zj);
      sum += w * m;
    }
  return sum;
}

}  // namespace

// Each section holds n/S turns, each turn is shared out whole, and the runs are in
// order without gaps.
TEST(ResonatorSections, TurnsSharedOutInEqualSections) {
  const struct {
    int turns, sections;
  } rows[] = {{1152, 100}, {1152, 1}, {365, 365}, {1001, 400}, {7, 3}, {10, 4}};
  for (const auto& row : rows) {
    std::vector<Extended> share(row.turns + 1, 0.0L);
    int next = 1;
    for (int s = 0; s < row.sections; ++s) {
      Extended held = 0;
      for (const TurnRun& r : SectionTurns(row.turns, row.sections, s)) {
        EXPECT_TRUE(r.i1 == next || r.i1 == next - 1) << row.turns << "/" << row.sections;
        EXPECT_TRUE(r.w == 1 || r.i1 == r.i2);
        for (int i = r.i1; i <= r.i2; ++i) share[i] += r.w;
        held += r.w * (r.i2 - r.i1 + 1);
        next = r.i2 + 1;
      }
      EXPECT_NEAR(held, static_cast<Extended>(row.turns) / row.sections, 1e-15L);
    }
    for (int i = 1; i <= row.turns; ++i) EXPECT_NEAR(share[i], 1, 1e-15L) << i;
  }
}

// The block sums by prefix sums against the plain turn-by-turn sum, with turns cut by
// the sections' ends, with and without the ground plane; and, without it, the whole matrix adds
// up to the main window's Maxwell inductance with circular turns.
TEST(ResonatorInductance, PrefixSumsAgreeWithTheTurnByTurnSum) {
  const struct {
    ResonatorCoil coil;
    bool ground;
    int sections;
  } rows[] = {
      {{97, 0.1L, 0.03L, 0.02L, 0.0008L}, true, 7},
      {{97, 0.1L, 0.03L, 0.02L, 0.0008L}, false, 7},
      {{60, 0.3L, 0.15L, 0, 0.004L}, true, 60},
      {{60, 0.3L, 0.15L, 0.5L, 0.004L}, true, 1},
  };
  for (const auto& row : rows) {
    const SectionInductances L = BuildSectionInductances(row.coil, row.ground, row.sections);
    for (int s = 0; s < row.sections; ++s)
      for (int t = 0; t < row.sections; ++t) {
        const Extended plain = PlainSectionPair(row.coil, row.ground, row.sections, s, t);
        EXPECT_LT(std::fabs(L.L(s, t) - plain), 1e-13L * L.L(0, 0)) << s << "," << t;
      }
    if (!row.ground) {
      VectorReport report;
      NullCanvas none(kArrangementSize, kArrangementSize);
      TransformerContext ctx(report, none);
      const ResonatorCoil& c = row.coil;
      const Extended maxwell = MaxwellSolenoidCircular(ctx, c.N, c.h, c.r, c.r, c.b, c.wd);
      EXPECT_LT(RelErr(L.L.Sum(), maxwell), 1e-14L);
    }
  }
}

// The top load's rings alone against exact values: the toroid's series of toroidal
// harmonics, the sphere 4 pi eps0 a in free space and, over a grounded plane with its
// centre at height d, 4 pi eps0 a sinh(alpha) sum 1/sinh(n alpha), cosh(alpha) = d/a
// (the image series, Smythe 5.08).
TEST(ResonatorCapacitance, TopLoadRingsAgainstExactCapacitances) {
  const ResonatorCoil coil = DefaultSecondary();
  const std::vector<Extended> nodes = {0, 0.32L};
  auto topRings = [&](const TopLoad& top) {
    std::vector<ModelRing> rings;
    for (const ModelRing& r : ModelRings(coil, nodes, top))
      if (r.topLoad) rings.push_back(r);
    return rings;
  };
  VectorReport none;
  const Extended e0 = Eps0();
  for (const auto& [D, d] : {std::pair{0.3L, 0.08L}, {0.6L, 0.15L}, {1.0L, 0.45L}}) {
    TopLoad top{TopLoadKind::Toroid, D, d, 0, 0.05L};
    const Extended exact = ExactToroidCapacitance(D, d, e0, {false, true}, none);
    EXPECT_LT(RelErr(*RingsCapacitance(topRings(top), false), exact), 0.005L) << D << "x" << d;
  }
  const Extended a = 0.1L;
  for (const Extended height : {0.0L, 0.5L, 2.0L}) {
    const TopLoad sphere{TopLoadKind::Sphere, 0, 0, 2 * a, height};
    const Extended centre = 0.32L + height;
    const Extended alpha = std::acosh(centre / a);
    Extended series = 0;
    for (int n = 1; n < 2000; ++n) series += 1 / std::sinh(n * alpha);
    const Extended imaged = 2 * kTwoPi * e0 * a * std::sinh(alpha) * series;
    EXPECT_LT(RelErr(*RingsCapacitance(topRings(sphere), true), imaged), 0.005L) << height;
    EXPECT_LT(RelErr(*RingsCapacitance(topRings(sphere), false), 2 * kTwoPi * e0 * a), 0.005L);
  }
}

// At each mode the peak magnetic energy of the currents equals the peak electric energy
// of the node voltages: (1/2) i^T L i = (1/2) v^T C v. Les is the magnetic energy
// referred to the base current, and Les Ces resonates at mode 1.
TEST(ResonatorModes, EnergyBalanceAtEachMode) {
  const TopLoad toroid{TopLoadKind::Toroid, 0.3L, 0.08L, 0, 0.05L};
  for (const TopLoad& top : {TopLoad{}, toroid}) {
    const ResonatorResult r = Solve(DefaultSecondary(), true, top, 60);
    ASSERT_EQ(r.modes.size(), 3u);
    const SquareMatrix& L = r.inductances.L;
    const SquareMatrix& C = r.capacitances.C;
    Extended last = 0;
    for (const ResonatorMode& m : r.modes) {
      EXPECT_GT(m.frequency, last);
      last = m.frequency;
      EXPECT_EQ(m.voltage.front(), 0);
      EXPECT_EQ(m.voltage.back(), 1);
      Extended magnetic = 0, electric = 0;
      for (int i = 0; i < L.n; ++i)
        for (int j = 0; j < L.n; ++j) {
          magnetic += m.current[i] * L(i, j) * m.current[j];
          electric += m.voltage[i + 1] * C(i, j) * m.voltage[j + 1];
        }
      EXPECT_LT(RelErr(magnetic, electric), 1e-10L) << m.frequency;
    }
    const ResonatorMode& m1 = r.modes[0];
    const Extended i0 = m1.current[0];
    Extended magnetic = 0;
    for (int i = 0; i < L.n; ++i)
      for (int j = 0; j < L.n; ++j) magnetic += m1.current[i] * L(i, j) * m1.current[j];
    EXPECT_LT(RelErr(r.Les, magnetic / (i0 * i0)), 1e-15L);
    EXPECT_LT(r.Les, r.Lground);  // the current falls along the winding
    EXPECT_LT(RelErr(1 / (kTwoPi * std::sqrt(r.Les * r.Ces)), m1.frequency), 1e-15L);
  }
}

TEST(ResonatorModes, ConvergedInTheNumberOfSections) {
  const ResonatorCoil tall{1700, 1.07696L, 0.05405L, 0.3302L, 0.000510559L};
  const TopLoad toroid{TopLoadKind::Toroid, 0.3L, 0.08L, 0, 0.05L};
  for (const auto& [coil, top] : {std::pair{DefaultSecondary(), TopLoad{}},
                                  {DefaultSecondary(), toroid}, {tall, TopLoad{}}}) {
    EXPECT_LT(RelErr(F1(coil, true, top, 200), F1(coil, true, top, 100)), 0.002L);
  }
}

// A top load much larger than the coil carries one current up the whole winding: the
// coil then acts as its low-frequency inductance L (over the plane) with the total
// capacitance at the top, the quadratic form of C with the node voltages that one
// current makes (the sections' drops L 1, summed from the base, the top at 1 V). The
// lumped circuit's error falls as the load grows.
TEST(ResonatorModes, LargeTopLoadTendsToTheLumpedCircuit) {
  const ResonatorCoil coil = DefaultSecondary();
  Extended previous = 1;
  for (const Extended diameter : {0.3L, 1.0L, 3.0L, 10.0L}) {
    const TopLoad sphere{TopLoadKind::Sphere, 0, 0, diameter, diameter / 2 + 0.02L};
    const ResonatorResult r = Solve(coil, true, sphere, 50);
    const SquareMatrix& L = r.inductances.L;
    const SquareMatrix& C = r.capacitances.C;
    std::vector<Extended> v(L.n);
    Extended rise = 0;
    for (int s = 0; s < L.n; ++s) {
      for (int t = 0; t < L.n; ++t) rise += L(s, t);
      v[s] = rise;
    }
    Extended total = 0;
    for (int i = 0; i < C.n; ++i)
      for (int j = 0; j < C.n; ++j) total += v[i] / rise * C(i, j) * v[j] / rise;
    const Extended lumped = 1 / (kTwoPi * std::sqrt(r.Lground * total));
    const Extended error = RelErr(r.modes[0].frequency, lumped);
    EXPECT_LT(error, previous) << diameter;
    previous = error;
  }
  EXPECT_LT(previous, 1e-7L);
}

// Without the plane the base stays held at zero potential (the potential far away): the
// coil stands alone in space, fed at its base, and mode 1 is still its quarter wave.
// A free coil neither knows its height nor, lifted far above a plane, feels the plane.
TEST(ResonatorModes, FreeCoilIgnoresItsHeightAndIsThePlaneFarAway) {
  ResonatorCoil coil = DefaultSecondary();
  const Extended free0 = F1(coil, false, {}, 50);
  coil.b = 3;
  EXPECT_LT(RelErr(F1(coil, false, {}, 50), free0), 1e-12L);
  coil.b = 200;
  EXPECT_LT(RelErr(F1(coil, true, {}, 50), free0), 0.001L);
  coil.b = 0.05L;
  EXPECT_GT(RelErr(F1(coil, true, {}, 50), free0), 0.005L);  // a near plane matters
}
