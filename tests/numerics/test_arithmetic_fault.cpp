#include "numerics/arithmetic_fault.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "numerics/format.h"
#include "numerics/library_namespaces.h"

namespace {

// Values the optimiser cannot fold, so that the faults really happen at run time.
volatile long double zero = 0.0L;
volatile long double minusOne = -1.0L;
volatile long double huge = std::numeric_limits<long double>::max();

std::string FaultMessage() {
  try {
    CheckArithmeticFaults();
  } catch (const ArithmeticFault& f) {
    return f.what();
  }
  return "";
}

}  // namespace

TEST(ArithmeticFaults, EachKindOfFaultIsNamedAndClearingForgetsIt) {
  ClearArithmeticFaults();
  EXPECT_EQ(FaultMessage(), "");

  volatile long double r = 1.0L / zero;
  EXPECT_EQ(FaultMessage(), "Floating point division by zero");
  ClearArithmeticFaults();
  EXPECT_EQ(FaultMessage(), "");

  r = std::sqrt(minusOne);
  EXPECT_EQ(FaultMessage(), "Invalid floating point operation");
  ClearArithmeticFaults();

  r = huge * 2;
  EXPECT_EQ(FaultMessage(), "Floating point overflow");
  ClearArithmeticFaults();
  (void)r;
}

TEST(ArithmeticFaults, FormattingLeavesTheFlagsAsTheyWere) {
  ClearArithmeticFaults();
  // Extreme magnitudes, subnormals and non-finite values all print without a fault.
  for (long double x : {std::numeric_limits<long double>::max(),
                        std::numeric_limits<long double>::denorm_min(), 1e-4900L, -3.5e4000L,
                        std::numeric_limits<long double>::infinity(),
                        std::numeric_limits<long double>::quiet_NaN()}) {
    FixedStr(x, 15, 10);
    FixedStr(x, 30, -1);
    NumberText(x);
  }
  EXPECT_EQ(FaultMessage(), "");

  // ... and a fault raised before formatting is still there afterwards.
  volatile long double r = 1.0L / zero;
  (void)r;
  FixedStr(2.5L, 5, 1);
  EXPECT_EQ(FaultMessage(), "Floating point division by zero");
  ClearArithmeticFaults();
}

TEST(ArithmeticFaults, CheckingReportStopsBeforeTheFaultyLine) {
  VectorReport lines;
  FaultCheckingReport report(lines);
  ClearArithmeticFaults();
  ReportLine(report, "before");
  volatile long double r = std::sqrt(minusOne);
  EXPECT_THROW(ReportLine(report, "L = " + FixedStr(r, 15, 10)), ArithmeticFault);
  EXPECT_EQ(lines.lines, (std::vector<std::string>{"before"}));
  ClearArithmeticFaults();
}
