#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "literal_reference.h"
#include "numerics/canvas.h"
#include "numerics/report.h"
#include "transformer/context.h"
#include "transformer/mutual.h"
#include "numerics/library_namespaces.h"

namespace {

struct Rig {
  VectorReport report;
  RecordingCanvas canvas{kArrangementSize, kArrangementSize};
  TransformerContext ctx{report, canvas};
  explicit Rig(const CoilPair& c) {
    ctx.coils = c;
    NullCanvas paint(kArrangementSize, kArrangementSize);
    PaintArrangement(paint, c, ctx.map);
  }
  int Count(const std::string& prefix) const {
    int n = 0;
    for (const std::string& s : canvas.calls) n += s.rfind(prefix, 0) == 0;
    return n;
  }
};

CoilPair Coils(Extended N1, Extended h1, Extended rmin1, Extended rmax1, Extended b1, Extended N2,
               Extended h2, Extended rmin2, Extended rmax2, Extended b2) {
  CoilPair c;
  c.N1 = N1, c.h1 = h1, c.rmin1 = rmin1, c.rmax1 = rmax1, c.b1 = b1, c.wd1 = 0.001L;
  c.N2 = N2, c.h2 = h2, c.rmin2 = rmin2, c.rmax2 = rmax2, c.b2 = b2, c.wd2 = 0.0002L;
  return c;
}

CoilPair Swapped(const CoilPair& c) {
  return Coils(c.N2, c.h2, c.rmin2, c.rmax2, c.b2, c.N1, c.h1, c.rmin1, c.rmax1, c.b1);
}

Extended GeneralM(const CoilPair& c, int ns1, int ns2) {
  Rig rig(c);
  MutualGeneralCoils(rig.ctx, ns1, ns2);
  return rig.ctx.coils.M;
}
Extended SolenoidM(const CoilPair& c, int ns1, int ns2) {
  Rig rig(c);
  MutualSolenoids(rig.ctx, ns1, ns2);
  return rig.ctx.coils.M;
}
Extended CircularM(const CoilPair& c) {
  Rig rig(c);
  MutualCircularTurns(rig.ctx);
  return rig.ctx.coils.M;
}

}  // namespace

TEST(MutualCircularTurns, HeadingAndRoundingLines) {
  const std::string heading =
      "Calculating mutual inductance between general coils with circular turns...";
  struct Row {
    Extended N1, N2;
    std::vector<std::string> lines;
    int arcs;
  };
  const std::vector<Row> rows = {
      {12, 40, {heading}, 12},
      {12.4L, 40, {heading, "Turns 1 rounded to 12"}, 12},
      {0.3L, 40, {heading, "Turns 1 rounded to 1"}, 1},
      {12, 39.5L, {heading, "Turns 2 rounded to 40"}, 12},  // ties to even
      {2.5L, 40.6L, {heading, "Turns 1 rounded to 2", "Turns 2 rounded to 41"}, 2},
  };
  for (const Row& r : rows) {
    Rig rig(Coils(r.N1, 0.1L, 0.1L, 0.1L, 0, r.N2, 0.32L, 0.044L, 0.044L, 0));
    MutualCircularTurns(rig.ctx);
    EXPECT_EQ(rig.report.lines, r.lines) << static_cast<double>(r.N1);
    EXPECT_EQ(rig.Count("Arc "), r.arcs);
    EXPECT_EQ(rig.canvas.calls.front(), "PenColor 00FF00");
  }
}

TEST(MutualCircularTurns, MatchesNeumannIntegralOverTurnPairs) {
  // A conical 3-turn coil against a 4-turn solenoid above it, turns at the middle of
  // their share of each winding.
  const CoilPair c = Coils(3, 0.03L, 0.06L, 0.09L, 0, 4, 0.08L, 0.04L, 0.04L, 0.05L);
  Extended expected = 0;
  for (int i = 0; i < 3; ++i) {
    const Extended za = 0.005L + i * 0.01L, ra = 0.065L + i * 0.01L;
    for (int j = 0; j < 4; ++j) expected += literal::NeumannRings(ra, 0.04L, za - (0.06L + j * 0.02L));
  }
  const Extended m = CircularM(c);
  EXPECT_NEAR(static_cast<double>(m / expected), 1.0, 1e-13);
  // Exchanging the coils adds the same ring pairs in another order.
  EXPECT_NEAR(static_cast<double>(CircularM(Swapped(c)) / m), 1.0, 1e-15);
}

TEST(MutualSegments, SegmentCountTruncatesTurnsTimesSegments) {
  struct Row {
    Extended N1;
    int lines;
  };
  for (const Row& r : {Row{12.5L, 250}, Row{12.49L, 249}, Row{12, 240}, Row{0.01L, 0}}) {
    const CoilPair c = Coils(r.N1, 0.1L, 0.1L, 0.1L, 0, 3, 0.05L, 0.044L, 0.044L, 0.01L);
    for (bool general : {false, true}) {
      Rig rig(c);
      if (general)
        MutualGeneralCoils(rig.ctx, 20, 5);
      else
        MutualSolenoids(rig.ctx, 20, 5);
      EXPECT_EQ(rig.Count("LineTo "), r.lines) << static_cast<double>(r.N1) << " " << general;
      EXPECT_EQ(rig.canvas.calls[1], "PenColor 008000");
      EXPECT_EQ(rig.report.lines.size(), 1u);
      if (r.lines == 0) {
        EXPECT_EQ(rig.ctx.coils.M, 0);
      }
    }
  }
}

TEST(MutualSegments, SolenoidsAgreeWithDirectCosineSumAndGeneralCoils) {
  // The solenoid routine takes its cosines from tables; the general routine works with
  // points and tangents. Both must add up the same Neumann sum as the direct form
  // with one cosine per term, also with different segment counts on the two coils.
  const CoilPair c = Coils(12, 0.1L, 0.1L, 0.1L, 0, 150, 0.3L, 0.044L, 0.044L, 0.02L);
  for (auto [ns1, ns2] : {std::pair{20, 20}, std::pair{13, 29}, std::pair{1, 7}}) {
    const Extended direct = literal::MutualSolenoids(c, ns1, ns2);
    const Extended sol = SolenoidM(c, ns1, ns2);
    EXPECT_NEAR(static_cast<double>(sol / direct), 1.0, 1e-14) << ns1 << "/" << ns2;
    EXPECT_NEAR(static_cast<double>(GeneralM(c, ns1, ns2) / sol), 1.0, 1e-14) << ns1 << "/" << ns2;
  }
}

TEST(MutualSegments, ExchangingTheCoilsGivesTheSameM) {
  // Conical primary around a slightly conical secondary; noninteger turns.
  const CoilPair c = Coils(6.5L, 0.05L, 0.1L, 0.15L, 0, 20, 0.2L, 0.04L, 0.05L, 0.01L);
  const Extended m = GeneralM(c, 16, 24);
  EXPECT_GT(m, 0);
  EXPECT_NEAR(static_cast<double>(GeneralM(Swapped(c), 24, 16) / m), 1.0, 1e-14);
}

TEST(MutualSegments, TrueSpiralsConvergeToCircularTurnsForSingleLoops) {
  // Two flat one-turn spirals are closed circles: the midpoint rule on a periodic
  // integrand converges geometrically to the ring-pair value.
  const CoilPair c = Coils(1, 0, 0.1L, 0.1L, 0, 1, 0, 0.05L, 0.05L, 0.02L);
  const Extended ring = CircularM(c);
  EXPECT_NEAR(static_cast<double>(ring / literal::NeumannRings(0.1L, 0.05L, -0.02L)), 1.0, 1e-13);
  Extended previous = 1;
  for (int ns : {2, 3, 4, 6, 8}) {
    const Extended err = std::fabs(GeneralM(c, ns, ns + 1) / ring - 1);
    EXPECT_LT(err, previous / 10) << ns;
    previous = err;
  }
  EXPECT_LT(std::fabs(GeneralM(c, 24, 25) / ring - 1), 1e-15);
  // The solenoid routine on the same loops (zero pitch).
  EXPECT_NEAR(static_cast<double>(SolenoidM(c, 64, 64) / ring), 1.0, 1e-12);
}
