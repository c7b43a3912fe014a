// Primary loops connected in parallel, collapsed into one port against the secondary.
#include <gtest/gtest.h>

#include <cmath>

#include "numerics/rings.h"
#include "transformer/classical.h"
#include "transformer/context.h"
#include "transformer/parallel.h"
#include "transformer/report_match.h"
#include "numerics/library_namespaces.h"

using report_match::ExpectLayout;
using Lines = std::vector<std::string>;

namespace {

struct ParallelCase {
  VectorReport report;
  NullCanvas canvas{kArrangementSize, kArrangementSize};
  TransformerContext ctx{report, canvas};
  ParallelCase() {
    ReadTransformerInputs({}, ctx.coils);
    ctx.coils.L2 = 0.028L;  // about the default secondary's inductance (Wheeler)
  }
  Extended Run(Extended N, Extended h = 0.1L, Extended rmin = 0.1L, Extended rmax = 0.1L,
               Extended b = 0, Extended wd = 0.001L) {
    return ParallelPrimary(ctx, N, h, rmin, rmax, b, wd);
  }
};

// Jones' split current sheet of the secondary against a loop, as the routine forms it.
Extended SheetToLoop(const CoilPair& c, Extended r, Extended z) {
  const Extended top = c.h2 + c.b2 - z;
  const Extended bottom = c.b2 - z;
  return JonesEndCircleMutual(r, c.rmin2, top, top * c.N2 / c.h2) -
         JonesEndCircleMutual(r, c.rmin2, bottom, bottom * c.N2 / c.h2);
}

const char kStart[] = "Calculating inductance L1 with all the turns in parallel...";
const char kMatrix[] = "Inductances and mutual inductances (Maxwell and Jones methods):";

}  // namespace

TEST(ParallelPrimary, OneLoopIsItsOwnSelfInductance) {
  ParallelCase s;
  const Extended L2 = s.ctx.coils.L2;
  const Extended L1 = s.Run(1);
  ASSERT_TRUE(s.ctx.StopFlag);
  ExpectLayout(s.report.lines, {kStart, kMatrix, "L(1,1):{15.10} mH", "L(1,2):{15.10} mH",
                                "L(2,2):{15.10} mH"});
  const Extended self = MaxwellOneTurn(0.1L, 0.001L);
  EXPECT_NEAR(L1, self, 1e-15L * self);
  // Inverted twice: the matrix comes back.
  const Extended m = SheetToLoop(s.ctx.coils, 0.1L, 0);
  EXPECT_NEAR(s.ctx.coils.M, m, 1e-15L * m);
  EXPECT_NEAR(s.ctx.coils.L2, L2, 1e-15L * L2);
}

TEST(ParallelPrimary, SmallMatricesAreListedRowByRow) {
  ParallelCase s;
  s.Run(3);
  ExpectLayout(s.report.lines,
               {kStart, kMatrix, "L(1,1):{15.10} mH", "L(1,2):{15.10} mH", "L(1,3):{15.10} mH",
                "L(1,4):{15.10} mH", "L(2,2):{15.10} mH", "L(2,3):{15.10} mH",
                "L(2,4):{15.10} mH", "L(3,3):{15.10} mH", "L(3,4):{15.10} mH",
                "L(4,4):{15.10} mH"});
  // Loops at heights 0, 0.05 and 0.1 m, all of radius 0.1 m; entries in mH.
  const auto& l = s.report.lines;
  EXPECT_NEAR(std::stold(l[2].substr(7)), MaxwellOneTurn(0.1L, 0.001L) / 0.001L, 1e-10L);
  EXPECT_NEAR(std::stold(l[3].substr(7)), RingPairMutual(0.1L, 0.1L, 0.05L) / 0.001L, 1e-10L);
  EXPECT_NEAR(std::stold(l[4].substr(7)), RingPairMutual(0.1L, 0.1L, 0.1L) / 0.001L, 1e-10L);
  EXPECT_NEAR(std::stold(l[8].substr(7)), SheetToLoop(s.ctx.coils, 0.1L, 0.05L) / 0.001L,
              1e-10L);
  EXPECT_NEAR(std::stold(l[11].substr(7)), 28.0L, 1e-10L);

  ParallelCase five;
  five.Run(5);
  EXPECT_EQ(five.report.lines, Lines{kStart});
  EXPECT_TRUE(five.ctx.StopFlag);
}

TEST(ParallelPrimary, TwoLoopsMatchTheClosedForm) {
  // Two loops a, b in parallel share one flux linkage. With the secondary open,
  // i_a : i_b = (Lb - Mab) : (La - Mab), which gives
  //   L1 = (La Lb - Mab^2) / D,  M = (Ma (Lb - Mab) + Mb (La - Mab)) / D,
  // with D = La + Lb - 2 Mab; with the primary port open, i_a = -i_b and
  //   L2' = L2 - (Ma - Mb)^2 / D.
  ParallelCase s;
  const CoilPair c = s.ctx.coils;
  const Extended ra = 0.1L, rb = 0.12L, za = 0.01L, zb = 0.03L, wd = 0.001L;
  const Extended L1 = s.Run(2, zb - za, ra, rb, za, wd);
  ASSERT_TRUE(s.ctx.StopFlag);

  const Extended La = MaxwellOneTurn(ra, wd), Lb = MaxwellOneTurn(rb, wd);
  const Extended Mab = RingPairMutual(ra, rb, za - zb);
  const Extended Ma = SheetToLoop(c, ra, za), Mb = SheetToLoop(c, rb, zb);
  const Extended D = La + Lb - 2 * Mab;
  const Extended L1x = (La * Lb - Mab * Mab) / D;
  const Extended Mx = (Ma * (Lb - Mab) + Mb * (La - Mab)) / D;
  const Extended L2x = c.L2 - (Ma - Mb) * (Ma - Mb) / D;
  EXPECT_NEAR(L1, L1x, 1e-14L * L1x);
  EXPECT_NEAR(s.ctx.coils.M, Mx, 1e-14L * Mx);
  EXPECT_NEAR(s.ctx.coils.L2, L2x, 1e-14L * L2x);
  // Parallel loops: less inductance than either loop alone.
  EXPECT_LT(L1, std::min(La, Lb));
}

TEST(ParallelPrimary, LoopCountLimit) {
  {
    ParallelCase s;
    s.Run(99.4L, 0.1L, 0.1L, 0.1L, 0, 0.0005L);
    ASSERT_GE(s.report.lines.size(), 2u);
    EXPECT_EQ(s.report.lines[1], "Turns rounded to 99");
    EXPECT_EQ(s.report.lines.size(), 2u);  // no listing for so many loops
    EXPECT_TRUE(s.ctx.StopFlag);
  }
  {
    ParallelCase s;
    s.ctx.coils.M = 123;
    s.Run(99.6L);
    EXPECT_EQ(s.report.lines,
              (Lines{kStart, "Turns rounded to 100", "Too many turns in parallel (max=99)"}));
    EXPECT_FALSE(s.ctx.StopFlag);
    EXPECT_EQ(s.ctx.coils.M, 123);  // results untouched
  }
  {
    // A count beyond 32 bits keeps its low 32 bits when rounded; 2^32 - 1 loops come
    // out as -1 and must be refused like any other count above 99, not indexed.
    ParallelCase s;
    s.Run(4294967295.0L, 0.1L, 0.1L, 0.1L, 0, 0);
    EXPECT_EQ(s.report.lines,
              (Lines{kStart, "Turns rounded to -1", "Too many turns in parallel (max=99)"}));
    EXPECT_FALSE(s.ctx.StopFlag);
  }
}

TEST(ParallelPrimary, RefusalsAndFailures) {
  {
    ParallelCase s;
    s.ctx.coils.rmax2 = 0.05L;
    s.Run(3);
    EXPECT_EQ(s.report.lines,
              (Lines{kStart, "This calculation requires a solenoidal secondary coil"}));
    EXPECT_FALSE(s.ctx.StopFlag);
  }
  {
    // A loop of 0.1 um: its self-inductance is below the pivot threshold of the
    // inversion.
    ParallelCase s;
    s.Run(1, 0, 1e-7L, 1e-7L, 0, 1e-9L);
    ASSERT_FALSE(s.report.lines.empty());
    EXPECT_EQ(s.report.lines.back(), "Something wrong (line 1). The L matrix can't be inverted.");
    EXPECT_FALSE(s.ctx.StopFlag);
  }
}

TEST(ParallelPrimary, FlatSecondaryCountsItsTurns) {
  // A secondary of zero height is N2 turns on one circle: N2 ring mutual inductances
  // with each loop, the limit of the current sheet squeezed to no height.
  ParallelCase s;
  s.ctx.coils.N2 = 3;
  s.ctx.coils.h2 = 0;
  s.ctx.coils.b2 = 0.05L;
  s.Run(1);
  const Extended rings = 3 * RingPairMutual(0.1L, 0.044L, -0.05L);
  EXPECT_NEAR(s.ctx.coils.M, rings, 1e-15L * rings);

  ParallelCase thin;
  thin.ctx.coils.N2 = 3;
  thin.ctx.coils.h2 = 1e-6L;
  thin.ctx.coils.b2 = 0.05L - 0.5e-6L;
  thin.Run(1);
  EXPECT_NEAR(thin.ctx.coils.M, rings, 1e-8L * rings);
}
