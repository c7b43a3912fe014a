// Straight filaments and wires: the closed mutual inductance against Neumann's double
// sum and against Grover's special cases, the wire formulas against each other, and
// the report of the two-wire panel.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "command_run.h"
#include "straight/straight_wires.h"
#include "straight/wires.h"
#include "numerics/library_namespaces.h"

namespace {

std::vector<std::string> StraightLines(const FieldValues& fields) {
  return command_run::LinesOf(StraightFieldDefs(), &StraightCommand, fields);
}

double Rel(Extended a, Extended b) { return static_cast<double>(std::fabs(a / b - 1)); }

// The value of a report line "label  value uH".
Extended Value(const std::string& line) {
  const std::size_t colon = line.rfind(": ");
  return std::stold(line.substr(colon + 2));
}

}  // namespace

TEST(ParallelFilamentMutual, AgreesWithNeumannDoubleSum) {
  // The midpoint rule on 2000 segments errs by about (segment/d)^2/24, below 1e-5 here.
  struct Row {
    Extended l1, l2, d, c;
  };
  const Row rows[] = {
      {1, 1, 0.1L, 0},          // side by side
      {1, 0.5L, 0.05L, 0.3L},   // unequal, shifted within the other's length
      {0.3L, 1.2L, 0.2L, -0.4L},
      {0.5L, 0.5L, 0.1L, 0.9L}, // shifted past each other
      {0.5L, 0.3L, 0, 0.6L},    // in line with a gap of 0.2
  };
  for (const Row& r : rows) {
    const Extended closed = ParallelFilamentMutual(r.l1, r.l2, r.d, r.c);
    EXPECT_LT(Rel(NumericalParallelMutual(2000, r.l1, r.l2, r.d, r.c), closed), 1e-5)
        << r.l1 << " " << r.l2 << " " << r.d << " " << r.c;
    // Swapping the filaments (the shift seen from the other one) changes nothing.
    EXPECT_LT(Rel(ParallelFilamentMutual(r.l2, r.l1, r.d, -r.c), closed), 1e-15);
  }
}

TEST(ParallelFilamentMutual, GroverClosedForms) {
  // Equal filaments side by side: Grover's formula, and Lee's form to order (d/l)^2.
  for (Extended d : {0.001L, 0.1L, 3.0L}) {
    EXPECT_LT(Rel(ParallelFilamentMutual(2, 2, d, 0), EqualWiresMutual(2, d)), 1e-15) << d;
  }
  EXPECT_LT(Rel(EqualWiresMutualLee(2, 0.02L), EqualWiresMutual(2, 0.02L)), 1e-5);
  // Filaments on one line (Grover, chapter 6): with the gap g between their ends,
  // M = 1e-7 [(l1+l2+g) ln(l1+l2+g) + g ln g - (l1+g) ln(l1+g) - (l2+g) ln(l2+g)];
  // touching ends (g = 0) leave the first three terms.
  const Extended l1 = 0.5L, l2 = 0.3L;
  auto xlnx = [](Extended x) { return x == 0 ? 0 : x * std::log(x); };
  for (Extended g : {0.0L, 0.2L}) {
    const Extended grover =
        1e-7L * (xlnx(l1 + l2 + g) + xlnx(g) - xlnx(l1 + g) - xlnx(l2 + g));
    EXPECT_LT(Rel(ParallelFilamentMutual(l1, l2, 0, (l1 + l2) / 2 + g), grover), 1e-10) << g;
  }
}

TEST(WireFormulas, AgreeWithEachOther) {
  const Extended l = 1, r = 0.0005L;
  const Extended low = WireSelfLowFreq(l, r);
  // Maxwell's filament at the geometric mean distance g = r e^(-1/4) exceeds the
  // low-frequency formula by 2e-7 g to first order in g/l.
  const Extended g = r * std::exp(-0.25L);
  EXPECT_LT(Rel(ParallelFilamentMutual(l, l, g, 0) - low, 2e-7L * g), 1e-3);
  // Rosa's form (labelled Snow) exceeds it by 2e-7 r to first order in r/l.
  EXPECT_LT(Rel(WireSelfSnow(l, r) - low, 2e-7L * r), 1e-3);
  // One wire cut in two in line: the low-frequency inductance is exactly additive,
  // L(l1 + l2) = L(l1) + L(l2) + 2 M(in line, touching), but for the 1e-12 m that
  // stands in for the zero distance (2e-19 H).
  for (Extended l1 : {0.5L, 0.2L}) {
    const Extended l2 = 1 - l1;
    EXPECT_LT(Rel(WireSelfLowFreq(l1, r) + WireSelfLowFreq(l2, r) +
                      2 * ParallelFilamentMutual(l1, l2, 0, 0.5L),
                  low),
              1e-12);
  }
  EXPECT_EQ(WireSelfLowFreq(-l, r), low);
}

TEST(NumericalMutual, EqualWiresByIndexDifferenceMatchTheFullSum) {
  struct Row {
    Extended l, d, c;
  };
  for (const Row& r : {Row{1, 0.1L, 0}, Row{0.7L, 0.01L, 0.25L}, Row{0.5L, 0, 0.5L}}) {
    EXPECT_LT(Rel(NumericalEqualMutual(700, r.l, r.d, r.c),
                  NumericalParallelMutual(700, r.l, r.l, r.d, r.c)),
              1e-13)
        << r.l << " " << r.d << " " << r.c;
  }
}

TEST(StraightWiresReport, DefaultWiresLineByLine) {
  // Reference values from 30-digit arithmetic: the self-inductances from the formulas,
  // the mutual and Maxwell inductances by quadrature of Neumann's integral, the
  // numerical M by the exact sum of the 10^6 midpoint terms.
  const std::vector<std::string> expected = {
      "",
      "Inductances of round straight wires",
      "Low-frequency inductance L1:    1.5088099280 uH",
      "Low-frequency inductance L2:    1.5088099280 uH",
      "Mutual inductance M:    0.4186470776 uH",
      "Mutual inductance M (numerical):    0.4186472277 uH",
      "Coupling coefficient k:    0.2774684007",
      "M for equal // wires:    0.4186470776 uH",
      "M for equal // wires (Lee):    0.4191464547 uH",
      "Maxwell inductance L1:    1.5088878005 uH",
      "Maxwell inductance L2:    1.5088878005 uH",
      "Maxwell inductance L1 (flat wire):    1.6202251155 uH",
      "Maxwell inductance L2 (flat wire):    1.6202251155 uH",
  };
  EXPECT_EQ(StraightLines({}), expected);
}

TEST(StraightWiresReport, WhichBlocksAppear) {
  // Two halves of one wire in line: no equal-wire lines (shifted), the aligned block,
  // M at the in-line distance (Grover: 1e-7 ln 2 for halves touching). The references
  // are computed as in the default case; the numerical M is the exact midpoint sum.
  const std::vector<std::string> aligned = StraightLines(
      {{"Elength1", "0.5"}, {"Elength2", "0.5"}, {"Edistance", "0"}, {"Eoffset", "0.5"}});
  const std::vector<std::string> expected = {
      "",
      "Inductances of round straight wires",
      "Low-frequency inductance L1:    0.6850902460 uH",
      "Low-frequency inductance L2:    0.6850902460 uH",
      "Mutual inductance M:    0.0693147181 uH",
      "Mutual inductance M (numerical):    0.0692897243 uH",
      "Coupling coefficient k:    0.1011760399",
      "The segments are aligned",
      "Inductance of the complete segment (Lowf):    1.5088099280 uH",
      "L1+L2+2*M:    1.5088099280 uH",
      "Inductance of the complete segment (Snow):    1.5089099155 uH",
      "L1+L2+2*M:    1.5090098780 uH",
      "Maxwell inductance L1:    0.6851681109 uH",
      "Maxwell inductance L2:    0.6851681109 uH",
      "Maxwell inductance L1 (flat wire):    0.7408201490 uH",
      "Maxwell inductance L2 (flat wire):    0.7408201490 uH",
  };
  EXPECT_EQ(aligned, expected);

  // Unequal lengths: neither the equal-wire lines nor the aligned block.
  const std::vector<std::string> unequal = StraightLines({{"Elength2", "0.5"}});
  ASSERT_EQ(unequal.size(), 11u);
  EXPECT_EQ(unequal[7].rfind("Maxwell inductance L1: ", 0), 0u);

  // Equal wires past the full sum's count: summed through the segment differences.
  const std::vector<std::string> fine = StraightLines({{"Esegments", "200000"}});
  EXPECT_NEAR(static_cast<double>(Value(fine[5]) / Value(fine[4])), 1, 1e-9);
}

TEST(StraightWiresReport, InputsThatDescribeNoPairOfWiresAreRefused) {
  const std::pair<FieldValues, const char*> rows[] = {
      {{{"Elength1", "0"}}, "The lengths must be positive"},
      {{{"Elength2", "-1"}}, "The lengths must be positive"},
      {{{"Eradius1", "0"}}, "The diameters must be positive"},
      {{{"Elength1", "0.001"}}, "The wires must be longer than their diameters"},
      {{{"Edistance", "-0.1"}}, "The radial distance can't be negative"},
      {{{"Edistance", "0"}}, "The wires can't overlap"},
      {{{"Edistance", "0"}, {"Eoffset", "-0.9"}}, "The wires can't overlap"},
      {{{"Edistance", "0.0009"}, {"Eoffset", "0.5"}}, "The wires can't overlap"},
      {{{"Esegments", "0"}}, "The number of segments must be positive"},
      {{{"Esegments", "-5"}}, "The number of segments must be positive"},
      {{{"Esegments", "10001"}, {"Elength2", "0.9"}},
       "Too many segments for the numerical calculation (max=10000)"},
      {{{"Esegments", "10000001"}},
       "Too many segments for the numerical calculation (max=10000000)"},
  };
  for (const auto& [fields, message] : rows) {
    EXPECT_EQ(StraightLines(fields),
              (std::vector<std::string>{"", "Inductances of round straight wires", message}))
        << message;
  }
  // A diameter typed with its unit is no number: refused before the title.
  EXPECT_EQ(StraightLines({{"Eradius2", "1 mm"}}),
            std::vector<std::string>{
                "Invalid number in \"Diameter 2\": 1 mm (use \".\" as the decimal point)"});
  // Touching side by side, or end to end, is no overlap.
  EXPECT_EQ(StraightLines({{"Edistance", "0.001"}}).size(), 13u);
  EXPECT_EQ(StraightLines({{"Edistance", "0"}, {"Eoffset", "-1"}}).size(), 11u);
}
