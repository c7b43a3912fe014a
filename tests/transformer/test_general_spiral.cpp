#include "transformer/general_spiral.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>

#include "numerics/row_pool.h"
#include "numerics/library_namespaces.h"

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

TEST(RowPool, RowsComeInOrderWithTheFaultsOfTheirWorkers) {
  // Row 700 divides by zero and row 900 takes the square root of a negative number,
  // on whichever worker computes them: the flags come to the thread that takes the
  // row, when it takes it, as if it had computed the row itself.
  auto row = [](std::int64_t i) -> Extended {
    volatile Extended zero = 0;
    if (i == 700) return 1 / zero;
    if (i == 900) return std::sqrt(zero - 1);
    return static_cast<Extended>(i);
  };
  for (unsigned threads : {0u, 2u}) {
    SCOPED_TRACE(threads);
    RowPool pool(1000, row, threads);
    std::feclearexcept(FE_ALL_EXCEPT);
    for (std::int64_t i = 0; i < 700; ++i) ASSERT_EQ(pool.Next(), static_cast<Extended>(i));
    EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID));
    EXPECT_TRUE(std::isinf(pool.Next()));
    EXPECT_TRUE(std::fetestexcept(FE_DIVBYZERO));
    std::feclearexcept(FE_ALL_EXCEPT);
    for (std::int64_t i = 701; i < 900; ++i) ASSERT_EQ(pool.Next(), static_cast<Extended>(i));
    EXPECT_TRUE(std::isnan(pool.Next()));
    EXPECT_TRUE(std::fetestexcept(FE_INVALID));
    EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO));
  }
}

TEST(RowPool, ThreadsOnlyForSumsOfMillionsOfTerms) {
  EXPECT_EQ(RowPool::WorkersFor(1000, 1000), 0u);
  EXPECT_EQ(RowPool::WorkersFor(1, 100'000'000), 0u);  // one row: nothing to share
  EXPECT_GT(RowPool::WorkersFor(3000, 3000), 0u);
  // Rows times terms beyond the range of a 64-bit integer.
  EXPECT_GT(RowPool::WorkersFor(4'000'000'000, 4'000'000'000), 0u);
}
