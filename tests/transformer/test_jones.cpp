// J. V. Jones' solenoid-and-circular-turns mutual inductance.
#include <gtest/gtest.h>

#include <cmath>

#include "transformer/classical.h"
#include "transformer/context.h"
#include "transformer/jones.h"
#include "transformer/mutual.h"
#include "numerics/library_namespaces.h"

namespace {

CoilPair DefaultPair() {
  CoilPair c;
  ReadTransformerInputs({}, c);
  return c;
}

struct JonesCase {
  VectorReport report;
  RecordingCanvas canvas{kArrangementSize, kArrangementSize};
  TransformerContext ctx{report, canvas};
  explicit JonesCase(const CoilPair& c) { ctx.coils = c; }
};

Extended JonesM(const CoilPair& c) {
  JonesCase r(c);
  MutualJones(r.ctx);
  return r.ctx.coils.M;
}

Extended RingsM(const CoilPair& c) {
  JonesCase r(c);
  MutualCircularTurns(r.ctx);
  return r.ctx.coils.M;
}

}  // namespace

TEST(MutualJones, ApproachesTheRingSumAsThePrimaryTurnsMultiply) {
  // The ring sum puts each primary turn at the middle of its share of the winding, a
  // midpoint rule for the current sheet: its error falls like the square of the pitch.
  CoilPair c = DefaultPair();
  Extended previous = 0;
  for (int turns : {12, 48, 192}) {
    c.N1 = turns;
    c.wd1 = 0.1L / turns / 4;
    const Extended jones = JonesM(c);
    const Extended rings = RingsM(c);
    const Extended rel = std::fabs(rings - jones) / jones;
    if (turns == 192) {
      EXPECT_LT(rel, 1e-5L);
    }
    if (previous > 0) {
      EXPECT_LT(rel, previous / 8) << turns;  // pitch / 4 -> error / 16
    }
    previous = rel;
  }
}

TEST(MutualJones, FractionalPrimaryTurnsScaleTheSheet) {
  // The primary is a sheet of N1/h1 turns per metre: N1 is not rounded.
  CoilPair c = DefaultPair();
  const Extended m12 = JonesM(c);
  c.N1 = 12.5L;
  EXPECT_NEAR(JonesM(c) / m12, 12.5L / 12, 1e-15L);
}

TEST(MutualJones, SecondaryTurnsAreRoundedAndReported) {
  CoilPair c = DefaultPair();
  c.N2 = 3.6L;
  JonesCase r(c);
  MutualJones(r.ctx);
  EXPECT_EQ(r.report.lines,
            (std::vector<std::string>{
                "Calculating mutual inductance between a solenoid and a general coil with "
                "circular turns using J. V. Jones' method...",
                "Turns 2 rounded to 4"}));
  c.N2 = 4;
  EXPECT_EQ(r.ctx.coils.M, JonesM(c));
  // One yellow ellipse per secondary turn.
  int arcs = 0;
  for (const auto& call : r.canvas.calls) arcs += call.rfind("Arc ", 0) == 0;
  EXPECT_EQ(arcs, 4);
  EXPECT_EQ(r.canvas.calls.front(), "PenColor 00FFFF");
}

TEST(MutualJones, TurnInTheBasePlaneUsesOnlyTheUpperSheet) {
  // bottom = 0: the lower part of the sheet has no length and no turns.
  CoilPair c = DefaultPair();
  c.N2 = 1;
  c.h2 = 0;
  c.b1 = 0.02L;
  c.b2 = 0.02L;
  EXPECT_NEAR(JonesM(c), JonesEndCircleMutual(c.rmin1, c.rmin2, c.h1, c.N1),
              1e-15L * JonesM(c));
}

TEST(MutualJones, TurnBelowThePrimaryGetsTheDifferenceOfTwoSheets) {
  // A loop 5 cm under the primary: M = J(up to the top) - J(up to the bottom), both
  // sheets starting at the loop's plane; the result must fall short of the loop at
  // the base, since the turns are farther away.
  CoilPair c = DefaultPair();
  c.N2 = 1;
  c.h2 = 0;
  c.b1 = 0.05L;
  const Extended below = JonesM(c);
  c.b1 = 0;
  const Extended atBase = JonesM(c);
  EXPECT_GT(below, 0);
  EXPECT_LT(below, atBase);
  // The same value as the ring sum over 400 primary turns.
  c.b1 = 0.05L;
  c.N1 = 400;
  c.wd1 = 1e-5L;
  EXPECT_NEAR(JonesM(c), RingsM(c), 1e-5L * JonesM(c));
}
