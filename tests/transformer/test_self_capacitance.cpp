// The two menu commands of the main window that need no Calculate: the optimal
// couplings of a Tesla coil and each coil's Medhurst self-capacitance and
// self-resonance.
#include <gtest/gtest.h>

#include <cmath>

#include "command_run.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/canvas.h"
#include "numerics/format.h"
#include "transformer/couplings.h"
#include "transformer/driver.h"
#include "transformer/report_match.h"
#include "transformer/self_capacitance.h"
#include "numerics/library_namespaces.h"

using Lines = std::vector<std::string>;
using command_run::LinesOf;

namespace {
Lines SelfCapacitanceLines(const FieldValues& fields) {
  return LinesOf(TransformerFieldDefs(), &SelfCapacitanceCommand, fields);
}
}  // namespace

TEST(OptimalCouplings, TableAndTheModesItPredicts) {
  VectorReport r;
  r.lines = LinesOf(CouplingsFieldDefs(), &CouplingsCommand);
  ASSERT_EQ(r.lines.size(), 17u);
  EXPECT_EQ(r.lines[0], "");
  EXPECT_EQ(r.lines[1], "Optimal couplings for a Tesla coil:");
  EXPECT_EQ(r.lines[2], "Mode 1:2, energy transfer in  1.0 cycles: k= 0.6000000000");
  EXPECT_EQ(r.lines[3], "Mode 2:3, energy transfer in  1.5 cycles: k= 0.3846153846");
  EXPECT_EQ(r.lines[16], "Mode 15:16, energy transfer in  8.0 cycles: k= 0.0644490644");
  // Each k is the one for which Calculate's mode line reads exactly a.0:b.0: the two
  // resonances of the coupled pair stand as b:a.
  for (int a = 1; a <= 15; ++a) {
    const Extended k = OptimalCoupling(a);
    EXPECT_EQ(ModeText(k), "Mode: " + FixedStr(a, 4, 1) + ":" + FixedStr(a + 1, 4, 1)) << a;
    EXPECT_NEAR(ModeRatio(k), a + 1, 1e-15L * (a + 1)) << a;
  }
}

// R. G. Medhurst, "H.F. resistance and self-capacitance of single-layer solenoids",
// Wireless Engineer 24 (1947), pp. 35-43 and 80-92: his table of the self-capacitance
// per centimetre of diameter, H = C/D in pF/cm, against length/diameter. The formula is
// his fit to those measurements, within 3 per cent of the table from l/D = 1 up; a
// slip in a coefficient, in the radius for the diameter or in the units costs far more.
TEST(MedhurstCapacitance, FollowsMedhurstsTable) {
  struct Row {
    Extended ratio, H;
  };
  const Row table[] = {{1.0L, 0.46L}, {2.0L, 0.50L}, {10.0L, 1.32L}, {20.0L, 2.36L}};
  VectorReport report;
  NullCanvas canvas(10, 10);
  TransformerContext ctx(report, canvas);
  const Extended r = 0.05L;  // D = 10 cm
  for (const Row& row : table) {
    ctx.StopFlag = false;
    const Extended pF = MedhurstCapacitance(ctx, row.ratio * 2 * r, r, r) * 1e12L;
    EXPECT_TRUE(ctx.StopFlag);
    EXPECT_NEAR(pF / 10, row.H, 0.03L * row.H) << "l/D = " << static_cast<double>(row.ratio);
  }
  EXPECT_TRUE(report.lines.empty());
  // Flat and conical coils are outside the formula.
  for (const auto& [h, rmax] : {std::pair{0.0L, r}, std::pair{0.1L, 0.06L}}) {
    EXPECT_EQ(MedhurstCapacitance(ctx, h, rmax, r), 0);
    EXPECT_FALSE(ctx.StopFlag);
  }
  EXPECT_EQ(report.lines, Lines(2, "The coil must be solenoidal."));
}

TEST(SelfCapacitance, DefaultCoils) {
  const Lines lines = SelfCapacitanceLines(TransformerDefaults());
  // C: (76.4 sqrt(0.001/0.1) + 1.126 + 1.6) pF and (76.4 sqrt(0.044^3/0.32) + 3.6032 + 0.704) pF.
  EXPECT_EQ(lines, (Lines{"", "Primary:",
                          "Length:0.1; radius:0.1; Medhurst self-capacitance: 10.3660 pF",
                          "Inductance:     0.0318 mH", "Self-resonance frequency:  8764.0521 kHz",
                          "Secondary:",
                          "Length:0.32; radius:0.044; Medhurst self-capacitance:  5.5537 pF",
                          "Inductance:    28.2670 mH", "Self-resonance frequency:   401.6880 kHz"}));
  ASSERT_EQ(lines.size(), 9u);

  // The inductances are Calculate's Maxwell values with circular turns, and the
  // frequencies Thomson's 1/(2 pi sqrt(L C)) of them.
  const Lines calc = LinesOf(TransformerFieldDefs(), &TransformerCommand, TransformerDefaults());
  const struct {
    int at;
    const char* label;
    Extended C;
  } coils[] = {{3, "Maxwell primary inductance: L1: ", 10.366e-12L},
               {7, "Maxwell secondary inductance: L2: ", 5.553714e-12L}};
  for (const auto& c : coils) {
    const Extended mH = report_match::ValueAfter(calc, c.label);
    EXPECT_EQ(lines[c.at], "Inductance: " + FixedStr(mH, 10, 4) + " mH");
    const Extended kHz = std::stold(lines[c.at + 1].substr(26));
    EXPECT_NEAR(kHz, 1 / (2 * kPi * std::sqrt(mH * 1e-3L * c.C)) / 1000, 1e-6L * kHz);
  }
}

TEST(SelfCapacitance, EachCoilStandsAlone) {
  FieldValues flat = TransformerDefaults();
  flat["Eh1"] = "0";
  const Lines defaults = SelfCapacitanceLines(TransformerDefaults());
  const Lines tail(defaults.begin() + 5, defaults.end());
  Lines expected{"", "Primary:", "The coil must be solenoidal."};
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_EQ(SelfCapacitanceLines(flat), expected);

  // A conical secondary after a primary of fractional turns, rounded for the ring sum.
  FieldValues f = TransformerDefaults();
  f["Es2"] = "0.06";
  f["En1"] = "12.4";
  const Lines lines = SelfCapacitanceLines(f);
  EXPECT_EQ(lines, (Lines{"", "Primary:", "Turns rounded to 12", defaults[2], defaults[3],
                          defaults[4], "Secondary:", "The coil must be solenoidal."}));
}

// A height beyond the number range overflows Medhurst's bracket: the command ends as
// Calculate does on an arithmetic fault, after the lines written so far.
TEST(SelfCapacitance, ArithmeticFaultEndsTheCommand) {
  FieldValues f = TransformerDefaults();
  f["Eh2"] = "1e4932";
  const Result r = command_run::Run(TransformerFieldDefs(), &SelfCapacitanceCommand, f);
  EXPECT_EQ(r.status, CommandStatus::Fault);
  EXPECT_EQ(r.message, "Floating point division by zero");
  const Lines defaults = SelfCapacitanceLines(TransformerDefaults());
  EXPECT_EQ(r.lines, Lines(defaults.begin(), defaults.begin() + 6));
}

// A solenoid without a size, a wire or turns is refused under its heading: a negative
// height or radius (no Medhurst capacitance), a wire of no diameter (whose ring sum
// gave 1e14 mH), a negative count of turns. The other coil is still computed.
TEST(SelfCapacitance, CoilsWithoutSizeWireOrTurns) {
  const Lines defaults = SelfCapacitanceLines(TransformerDefaults());
  struct Row {
    FieldValues changes;
    std::string line;
  };
  const Row rows[] = {
      {{{"Eh2", "-0.32"}}, "The dimensions must be positive"},
      {{{"Er2", "0"}, {"Es2", "0"}}, "The dimensions must be positive"},
      {{{"Ewd2", "0"}}, "The wire diameter must be positive"},
      {{{"Ewd2", "-0.0002"}}, "The wire diameter must be positive"},
      {{{"En2", "-5"}}, "The number of turns must not be negative"},
  };
  for (const Row& r : rows) {
    FieldValues f = TransformerDefaults();
    for (const auto& [name, text] : r.changes) f[name] = text;
    const Result result = command_run::Run(TransformerFieldDefs(), &SelfCapacitanceCommand, f);
    EXPECT_EQ(result.status, CommandStatus::Refused) << r.line;
    Lines expected(defaults.begin(), defaults.begin() + 6);
    expected.push_back(r.line);
    EXPECT_EQ(result.lines, expected) << r.line;
  }
  // On the primary: its line under its heading, the secondary computed after it.
  FieldValues f = TransformerDefaults();
  f["Ewd1"] = "0";
  const Lines lines = SelfCapacitanceLines(f);
  EXPECT_EQ(lines, (Lines{"", "Primary:", "The wire diameter must be positive", "Secondary:",
                          defaults[6], defaults[7], defaults[8]}));
}
