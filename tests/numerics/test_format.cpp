#include "numerics/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "numerics/report.h"
#include "numerics/library_namespaces.h"

namespace {

struct FixedCase {
  Extended x;
  int width;
  int decimals;
  const char* text;
};

// The worked examples of the number texts, the whole field compared.
TEST(FixedStr, WorkedExamples) {
  const Extended eps0 = 1 / (299792458.0L * 299792458.0L * kMu0);
  const FixedCase cases[] = {
      {0.25L, 5, 1, "  0.3"},  // half-up on the digit string, not to even
      {0.05L, 5, 1, "  0.1"},
      {1.5L, 5, 1, "  1.5"},
      {-1.25L, 6, 2, " -1.25"},
      {1234.5678L, 6, 2, "1234.57"},  // wider than the field: kept whole
      {9.99999L, 6, 4, "10.0000"},    // carry through the nines into a new digit
      {3.14159265358979L, 12, 10, "3.1415926536"},
      {5e-05L, 12, 10, "0.0000500000"},
      {-2.5e-07L, 15, 10, "  -0.0000002500"},
      {0.0L, 15, 10, "   0.0000000000"},
      {-1e-20L, 12, 10, "-0.0000000000"},  // sign bit kept on a value that rounds to 0
      {-0.0L, 4, 1, "-0.0"},
      {2.0L / 3.0L, 17, 15, "0.666666666666667"},
      {100000000.0L / 3.0L, 17, 15, "33333333.333333333300000"},
      {1.2e-05L, 10, 6, "  0.000012"},
      {1e40L, 17, 15, " 1.00000000E+0040"},  // switches to scientific
      {-1e40L, 10, 0, "-1.0E+0040"},
      {eps0, 30, -1, "     8.85418781762038985E-0012"},
      {12345.678L, 4, 0, "12346"},
      {0.5L, 3, 0, "  1"},
      {-7.0L, 0, 0, "-7"},
      {0.999999999999999999L, 10, 17, "1.00000000000000000"},
      // 2^-18 is a tie at the 18th decimal: rounded to even at 17 decimals first.
      {3.814697265625e-6L, 0, 18, "0.000003814697265620"},
      // Exact ties in 19- and 20-digit integers: to even at the 18th digit.
      {17000000000000000150.0L, 0, 0, "17000000000000000200"},
      {17000000000000000050.0L, 26, -1, " 1.70000000000000000E+0019"},
      {17000000000000000150.0L, 26, -1, " 1.70000000000000002E+0019"},
      // Leading digits 10 to 15 carry a 19th significant digit.
      {12.7L, 15, 10, "  12.7000000000"},
      {1e35L, 0, 0, "100000000000000000000000000000000000"},
      // Leading digits 10 to 15 keep the exponent one lower, so fixed notation runs
      // on to about 1.6e36 before the switch to scientific.
      {1.5e36L, 0, 0, "1500000000000000000000000000000000000"},
      {1.7e36L, 17, 15, " 1.70000000E+0036"},
      {0.0L, 12, -1, " 0.000E+0000"},
      {-123.456L, 12, -1, "-1.235E+0002"},
      {9.9999999L, 10, -1, " 1.0E+0001"},  // rounding carries into the exponent
      {1.5e-300L, 6, -1, " 1.5E-0300"},   // at least two significant digits
      {std::numeric_limits<Extended>::denorm_min(), 10, -1, " 3.6E-4951"},
      {std::numeric_limits<Extended>::max(), 15, -1, " 1.189731E+4932"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FixedStr(c.x, c.width, c.decimals), c.text)
        << "x=" << static_cast<double>(c.x) << " at " << c.width << ":" << c.decimals;
  }
}

TEST(FixedStr, NonFiniteValuesAndWidthLimit) {
  const Extended inf = std::numeric_limits<Extended>::infinity();
  EXPECT_EQ(FixedStr(std::numeric_limits<Extended>::quiet_NaN(), 6, 2), "   Nan");
  EXPECT_EQ(FixedStr(inf, 6, 2), "  +Inf");
  EXPECT_EQ(FixedStr(-inf, 3, -1), "-Inf");
  EXPECT_EQ(SciStr(inf, 10), "      +Inf");
  // Fields wider than 255 characters are narrowed to 255.
  EXPECT_EQ(FixedStr(1.0L, 400, 2).size(), 255u);
  EXPECT_EQ(FixedStr(1.0L, 400, -1).size(), 255u);
  EXPECT_EQ(SciStr(2.5L, 11), FixedStr(2.5L, 11, -1));
  EXPECT_EQ(SciStr(2.5L, 11), " 2.50E+0000");
}

// glibc's printf writes the exact binary value correctly rounded (to even at exact
// ties), independently of the big-integer expansion behind FixedStr.
std::string Printf(const char* format, int precision, Extended x) {
  char buf[8192];
  std::snprintf(buf, sizeof buf, format, precision, x);
  return buf;
}

Extended RandomExtended(std::mt19937_64& rng, int minExp, int maxExp) {
  std::uniform_int_distribution<int> exp(minExp, maxExp);
  const std::uint64_t mantissa = rng() | (1ULL << 63);
  return std::ldexp(static_cast<Extended>(mantissa), exp(rng) - 63);
}

// Significant digits and exponent of printf's %.*Le text.
void SplitScientific(const std::string& s, std::string& digits, int& exponent) {
  const std::size_t ePos = s.find('e');
  digits.clear();
  for (std::size_t i = 0; i < ePos; ++i)
    if (s[i] >= '0' && s[i] <= '9') digits += s[i];
  exponent = std::stoi(s.substr(ePos + 1));
}

TEST(FixedStr, FixedDigitsMatchExactDecimalExpansion) {
  std::mt19937_64 rng(20240611);
  for (int i = 0; i < 20000; ++i) {
    const Extended x = RandomExtended(rng, -70, 115);  // about 1e-21 .. 1e35
    const Extended a = std::fabs(x);
    if (a < 10) {
      // Below 10 the digit string is the value rounded to 17 decimals.
      ASSERT_EQ(FixedStr(x, 0, 17), Printf("%.*Lf", 17, x)) << i;
      continue;
    }
    std::string digits;
    int k = 0;
    SplitScientific(Printf("%.*Le", 25, a), digits, k);
    // With 18 (leading 16..99) or 19 (leading 10..15) significant digits requested,
    // no second rounding on the digit string takes place.
    const bool carry = digits[0] == '1' && digits[1] < '6';
    const int decimals = carry ? 18 - k : 17 - k;
    if (decimals < 0) continue;
    ASSERT_EQ(FixedStr(x, 0, decimals), Printf("%.*Lf", decimals, x)) << i;
  }
}

// 18 significant digits at every magnitude, subnormals included.
TEST(FixedStr, ScientificDigitsMatchExactDecimalExpansion) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 5000; ++i) {
    Extended x = RandomExtended(rng, -16445, 16383);
    if (i % 2) x = -x;
    std::string expected;
    int exponent = 0;
    SplitScientific(Printf("%.*Le", 17, x), expected, exponent);
    if (expected[0] == '1' && expected[1] < '6') {
      // Leading digits 10..15: 19 digits rounded to even, then half-up to 18.
      SplitScientific(Printf("%.*Le", 18, x), expected, exponent);
      const bool up = expected[18] >= '5';
      expected.resize(18);
      for (int j = 17; up && j >= 0; --j) {
        if (expected[j] != '9') {
          ++expected[j];
          break;
        }
        expected[j] = '0';
        if (j == 0) expected.insert(expected.begin(), '1'), expected.pop_back(), ++exponent;
      }
    }
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    const std::string want =
        std::string(1, x < 0 ? '-' : ' ') + expected[0] + "." + expected.substr(1) + tail;
    ASSERT_EQ(SciStr(x, 26), want) << i;
  }
}

TEST(IntStr, Integers) {
  EXPECT_EQ(IntStr(-7), "-7");
  EXPECT_EQ(IntStr(0), "0");
  EXPECT_EQ(IntStr(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntStr(2147483647), "2147483647");
}

TEST(NumberText, ShortestPlainText) {
  const struct {
    Extended v;
    const char* text;
  } cases[] = {
      {0.0254L, "0.0254"},
      {100.0L, "100"},
      {0.1L / 0.0254L, "3.937007874015748"},
      {1e6L, "1E+6"},
      {2.5e-7L, "2.5E-7"},
      {0.0L, "0"},
      {-0.5L, "-0.5"},
      {1e-6L, "1E-6"},
      {-123456789.0L, "-1.23456789E+8"},
      {1.0L / 3.0e10L, "3.33333333333333E-11"},
      {999999.9999999999999L, "1000000"},  // below 1e6, rounds up to a whole million
  };
  for (const auto& c : cases) EXPECT_EQ(NumberText(c.v), c.text) << static_cast<double>(c.v);
}

TEST(RoundAtLeastOne, NearestEvenZeroBecomesOne) {
  const struct {
    Extended x;
    std::int32_t n;
  } cases[] = {{0.3L, 1},   {2.5L, 2},   {3.5L, 4},          {12.7L, 13},
               {0.5L, 1},   {-0.5L, 1},  {0.0L, 1},          {-2.6L, -3},
               {1.5L, 2},   {4294967298.0L, 2},  // low 32 bits of the 64-bit integer
               {4294967296.0L, 1}};
  for (const auto& c : cases) EXPECT_EQ(RoundAtLeastOne(c.x), c.n) << static_cast<double>(c.x);
}

TEST(ArcTan2, QuadrantsAndArcSin) {
  EXPECT_NEAR(static_cast<double>(ArcTan2(1, -1) - 3 * kPi / 4), 0.0, 1e-18);
  EXPECT_EQ(ArcTan2(0, -1), kPi);
  EXPECT_EQ(ArcTan2(-0.0L, -1), kPi);  // the range is (-pi, pi]
  EXPECT_EQ(ArcTan2(-1, 0), -kHalfPi);
  EXPECT_EQ(ArcSin(1), kHalfPi);
  EXPECT_EQ(ArcSin(-1), -kHalfPi);
  EXPECT_NEAR(static_cast<double>(ArcSin(0.5L) - kPi / 6), 0.0, 1e-18);
}

TEST(ReportLine, LongLinesAreCut) {
  VectorReport report;
  const std::string longLine = "L1 = " + std::string(300, '7');
  ReportLine(report, longLine);
  ReportLine(report, "");
  ReportLine(report, "  kept as is  ");
  ASSERT_EQ(report.lines.size(), 3u);
  EXPECT_EQ(report.lines[0], longLine.substr(0, 255));
  EXPECT_EQ(report.lines[1], "");
  EXPECT_EQ(report.lines[2], "  kept as is  ");
}

}  // namespace
