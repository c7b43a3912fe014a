#include "transformer/general_spiral.h"

#include <gtest/gtest.h>

#include <cstdint>

// A conical spiral of 3.5 turns and its copy raised by 0.4 mm, 40 segments a turn.
TEST(GeneralSpiralRows, WalkingTheSpiralGivesTheTabledRowsBitForBit) {
  const std::int32_t nsm = 40;
  const std::int64_t segs = 140;
  const Extended N = 3.5L;
  const Extended a = (0.08L - 0.05L) / (kTwoPi * N);
  const Extended p = 0.02L / (kTwoPi * N);
  const GeneralSpiralRows tabled(segs, nsm, 0.05L, a, p, 0.01L, 0.0004L, true);
  const GeneralSpiralRows walked(segs, nsm, 0.05L, a, p, 0.01L, 0.0004L, false);
  ASSERT_TRUE(tabled.Tabled());
  ASSERT_FALSE(walked.Tabled());
  for (std::int64_t i : {0, 1, 39, 40, 77, 139}) {
    SCOPED_TRACE(i);
    EXPECT_GT(tabled.Row(i), 0);
    EXPECT_EQ(tabled.Row(i), walked.Row(i));
  }
}

TEST(GeneralSpiralRows, HugeSpiralsAreWalkedWithoutTablingEverySegment) {
  // 10^6 turns of 10000 segments: tabling would take about a terabyte.
  const std::int64_t segs = 10'000'000'000;
  const GeneralSpiralRows spiral(segs, 10000, 0.05L, 1e-9L, 1e-9L, 0, 1e-4L);
  EXPECT_FALSE(spiral.Tabled());
}
