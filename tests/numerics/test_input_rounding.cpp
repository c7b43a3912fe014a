// Sizes typed as decimals compared within their rounding: the sums and halves that
// decide between formulas land a few units in the last place off the decimal value,
// and only that much is forgiven.
#include <gtest/gtest.h>

#include <string>

#include "numerics/input_rounding.h"
#include "numerics/library_namespaces.h"

namespace {

Extended Typed(const char* text) { return std::stold(text); }

}  // namespace

TEST(InputRounding, DecimalSumsMeetTheirDecimalValue) {
  struct Row {
    const char *a, *b, *sum;  // (a + b)/2 against sum, as the straight wires compare them
  };
  // In binary these halves differ from the typed value in the last bits; (0.3 + 0.4)/2
  // is 0.35 less one unit.
  const Row rows[] = {{"0.3", "0.4", "0.35"}, {"0.7", "0.9", "0.8"}, {"0.1", "0.2", "0.15"},
                      {"1e-7", "3e-7", "2e-7"}, {"123.4", "0.6", "62"}};
  int exact = 0;
  for (const Row& r : rows) {
    const Extended half = (Typed(r.a) + Typed(r.b)) / 2;
    exact += half == Typed(r.sum);
    EXPECT_TRUE(EqualWithinRounding(half, Typed(r.sum))) << r.sum;
    EXPECT_FALSE(LessBeyondRounding(half, Typed(r.sum))) << r.sum;
    EXPECT_FALSE(GreaterBeyondRounding(half, Typed(r.sum))) << r.sum;
  }
  EXPECT_LT(exact, 5);  // the rows do exercise the rounding
  // A difference in the 14th digit is a different size.
  EXPECT_FALSE(EqualWithinRounding(Typed("0.35"), Typed("0.35000000000001")));
  EXPECT_TRUE(LessBeyondRounding(Typed("0.35"), Typed("0.35000000000001")));
  // Against zero, the other sizes of the comparison set the scale.
  EXPECT_TRUE(EqualWithinRounding(Typed("0.3") - Typed("0.1") - Typed("0.2"), 0, 0.3L));
  EXPECT_FALSE(EqualWithinRounding(1e-15L, 0, 0.3L));
  EXPECT_FALSE(EqualWithinRounding(1e-300L, 0));  // without a scale only 0 is 0
}

TEST(InputRounding, CountsOfDecimalTurns) {
  // 60 segments a turn on 1.05 turns are 63 segments, 100 on 0.53 turns 53 (the
  // products fall 3e-18 short in binary); 12.49 turns of 20 leave 249.8, 249 whole.
  EXPECT_LT(60 * Typed("1.05"), 63);
  EXPECT_EQ(TruncWithinRounding(60 * Typed("1.05")), 63);
  EXPECT_EQ(TruncWithinRounding(100 * Typed("0.53")), 53);
  EXPECT_EQ(TruncWithinRounding(20 * Typed("12.49")), 249);
  EXPECT_EQ(TruncWithinRounding(Typed("2.9999999999")), 2);
  EXPECT_EQ(TruncWithinRounding(0), 0);
}
