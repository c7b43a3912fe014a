// The Calculate command end to end: which lines appear under which options and coil
// shapes, in which order and layout; the coupling, mode and Oudin arithmetic; the Stop
// click; and consistency between the values the report lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "command_run.h"
#include "numerics/arithmetic_fault.h"
#include "transformer/context.h"
#include "transformer/driver.h"
#include "transformer/report_match.h"
#include "numerics/library_namespaces.h"

using report_match::ExpectLayout;
using report_match::HasLineStarting;
using report_match::ValueAfter;
using Lines = std::vector<std::string>;

namespace {

Lines TransformerLines(const FieldValues& fields) {
  return command_run::LinesOf(TransformerFieldDefs(), &TransformerCommand, fields);
}

const char kPrimaryDefault[] = "n1=12.00; h1= 0.1000; r11= 0.10; r12= 0.10; b1= 0.0000; d1=0.0010";
const char kSecondaryDefault[] =
    "n2=1152.00; h2= 0.3200; r21= 0.04; r22= 0.04; b2= 0.0000; d2=0.0002";

Lines Cat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}
Lines Repeat(const std::string& line, int n) { return Lines(static_cast<std::size_t>(n), line); }

// The block of one coil. which: "primary"/"secondary", i: "1"/"2".
Lines CoilBlock(const std::string& which, const std::string& i, const std::string& desc,
                bool solenoid, bool loop, const Lines& maxwellLines, bool maxwell) {
  Lines b{desc, "Wheeler " + which + " inductance L" + i + ": {15.10} mH" +
                    (maxwell ? "" : " <- used")};
  if (solenoid)
    for (const char* name : {"Lundin    ", "Lorenz    ", "Snow      ", "Kirchhoff "})
      b.push_back(name + which + " inductance L" + i + ": {15.10} mH");
  if (loop)
    for (const char* name : {"Grover  ", "Maxwell ", "AIP Hand. ", "Russell "})
      b.push_back(std::string(name) + "1 turn inductance L" + i + ": {15.10} mH");
  if (maxwell) {
    b.insert(b.end(), maxwellLines.begin(), maxwellLines.end());
    b.push_back("Maxwell " + which + " inductance: L" + i + ": {15.10} mH <- used");
  }
  return b;
}

const Lines kPrimary = CoilBlock("primary", "1", kPrimaryDefault, true, false, {}, true);
const Lines kSecondary = CoilBlock("secondary", "2", kSecondaryDefault, true, false, {}, true);
const Lines kCircularM = {
    "Calculating mutual inductance between general coils with circular turns...",
    "Mutual Inductance M: {19.14} mH <-used"};
const Lines kSnowSheets = {"Snow M (two current-sheet solenoids): {19.14} mH",
                           "Turns-independent k from Lorenz L and Snow M: {19.14}"};
const Lines kCoupling = {"Coupling coefficient k: {19.14}", "Mode: {4.1}:{4.1}"};
const std::string kTermo = "Termo={10.6} Integral={10.6}";

struct LayoutCase {
  const char* what;
  FieldValues fields;
  Lines layout;
};

std::vector<LayoutCase> LayoutCases() {
  return {
      {"defaults", {}, Cat({{""}, kPrimary, kSecondary, kCircularM, kSnowSheets, kCoupling})},
      {"no mutual inductance", {{"CBm", "0"}}, Cat({{""}, kPrimary, kSecondary})},
      {"Wheeler primary",
       {{"CBML1", "0"}},
       Cat({{""}, CoilBlock("primary", "1", kPrimaryDefault, true, false, {}, false),
            kSecondary, kCircularM, kSnowSheets, kCoupling})},
      {"conical primary",
       {{"Es1", "0.15"}},
       Cat({{""},
            CoilBlock("primary", "1",
                      "n1=12.00; h1= 0.1000; r11= 0.10; r12= 0.15; b1= 0.0000; d1=0.0010",
                      false, false, Repeat(kTermo, 144), true),
            kSecondary, kCircularM, kCoupling})},
      {"single-loop primary",
       {{"En1", "1"}, {"Eh1", "0"}},
       Cat({{""},
            CoilBlock("primary", "1",
                      "n1= 1.00; h1= 0.0000; r11= 0.10; r12= 0.10; b1= 0.0000; d1=0.0010",
                      false, true, {}, true),
            kSecondary, kCircularM, kCoupling})},
      {"fractional turns on a true spiral",
       {{"CBel", "0"}, {"En1", "12.5"}, {"Ensm", "50"}, {"CBML2", "0"}, {"CBm", "0"}},
       Cat({{"", "n1=12.50; h1= 0.1000; r11= 0.10; r12= 0.10; b1= 0.0000; d1=0.0010",
             "Wheeler primary inductance L1: {15.10} mH",
             "Lundin    primary inductance L1: {15.10} mH",
             "Lorenz    primary inductance L1: {15.10} mH", "Turns rounded to 12",
             "Snow      primary inductance L1: {15.10} mH", "Turns rounded to 12",
             "Kirchhoff primary inductance L1: {15.10} mH",
             "Calculating Maxwell inductance of a general coil...",
             "G. m. d.: {17.15}; Vertical spacing: {17.15}",
             "Segments: high precision: {I} used: 50",
             "Maxwell primary inductance: L1: {15.10} mH <- used"},
            CoilBlock("secondary", "2", kSecondaryDefault, true, false, {}, false)})},
      {"Jones with a flat primary",
       {{"CBjvj", "1"}, {"Eh1", "0"}, {"Es1", "0.2"}, {"CBML1", "0"}},
       Cat({{""},
            CoilBlock("primary", "1",
                      "n1=12.00; h1= 0.0000; r11= 0.10; r12= 0.20; b1= 0.0000; d1=0.0010",
                      false, false, {}, false),
            kSecondary, {"Jones M requires a solenoidal primary coil"}, kCircularM,
            kCoupling})},
      {"Jones with a solenoidal primary",
       {{"CBjvj", "1"}},
       Cat({{""}, kPrimary, kSecondary,
            {"Calculating mutual inductance between a solenoid and a general coil with "
             "circular turns using J. V. Jones' method...",
             "Mutual Inductance M: {19.14} mH <-used"},
            kSnowSheets, kCoupling})},
      {"primary turns in parallel without M and k asked",
       {{"CBparalelo", "1"}, {"CBm", "0"}},
       Cat({{"", "Original secondary inductance: L2: {15.10} mH",
             "Calculating inductance L1 with all the turns in parallel...",
             "Primary inductance L1:   {15.10} mH <- used",
             "Secondary inductance L2: {15.10} mH <- used", "Mutual inductance: {15.10} mH"},
            kCoupling})},
      {"Oudin coil",
       {{"CBOudin", "1"}},
       Cat({{""}, kPrimary, kSecondary, kCircularM, kSnowSheets, kCoupling,
            {"Normal Oudin coil: Eqv. k={12.10}; Mode: {4.1}:{4.1}",
             "Eqv. M: {15.10} mH; Eqv. L2: {15.10} mH",
             "Reverse Oudin coil: Eqv. k={12.10}; Mode: {4.1}:{4.1}",
             "Eqv. M: {15.10} mH; Eqv. L2: {15.10} mH"}})},
      {"single-loop secondary on the primary's base",
       {{"En2", "1"}, {"Eh2", "0"}},
       Cat({{""}, kPrimary,
            CoilBlock("secondary", "2",
                      "n2= 1.00; h2= 0.0000; r21= 0.04; r22= 0.04; b2= 0.0000; d2=0.0002",
                      false, true, {}, true),
            kCircularM,
            {"J. Viriamu Jones 1 turn M (common base): {19.14} mH",
             "J. Viriamu Jones 1 turn M: {19.14} mH", "Garrett 1 turn M: {19.14} mH",
             "Snow 1 turn M: {19.14} mH"},
            kCoupling})},
      {"two single circles",
       {{"En1", "1"}, {"Eh1", "0"}, {"En2", "1"}, {"Eh2", "0"}, {"Eb2", "0.05"}},
       Cat({{""},
            CoilBlock("primary", "1",
                      "n1= 1.00; h1= 0.0000; r11= 0.10; r12= 0.10; b1= 0.0000; d1=0.0010",
                      false, true, {}, true),
            CoilBlock("secondary", "2",
                      "n2= 1.00; h2= 0.0000; r21= 0.04; r22= 0.04; b2= 0.0500; d2=0.0002",
                      false, true, {}, true),
            kCircularM,
            {"Maxwell M (n1<=1, #1 (ok)): {19.14} mH", "Snow M #61: {19.14} mH"},
            kCoupling})},
  };
}

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.what; }

class CalculateLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(CalculateLayout, LinesInOrder) {
  const LayoutCase& tc = GetParam();
  std::vector<bool> running;
  CommandEnv env;
  env.onRunningChanged = [&](bool r) { running.push_back(r); };
  const Result result = RunCommand(TransformerFieldDefs(), &TransformerCommand, tc.fields, env);
  ExpectLayout(result.lines, tc.layout);
  EXPECT_EQ(result.status, CommandStatus::Ok);
  // A true-spiral sum runs and ends; the others never run as stoppable.
  EXPECT_TRUE(running.empty() || running == (std::vector<bool>{true, false}));
}

INSTANTIATE_TEST_SUITE_P(Options, CalculateLayout, ::testing::ValuesIn(LayoutCases()),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                           std::string s;
                           for (const char* p = info.param.what; *p; ++p)
                             s += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return s;
                         });

}  // namespace

TEST(CalculateValues, CouplingUsesTheInductancesMarkedUsed) {
  struct Case {
    FieldValues fields;
    const char* L1;
    const char* L2;
    const char* M;
  };
  const Case cases[] = {
      {{}, "Maxwell primary inductance: L1: ", "Maxwell secondary inductance: L2: ",
       "Mutual Inductance M: "},
      {{{"CBML1", "0"}}, "Wheeler primary inductance L1: ", "Maxwell secondary inductance: L2: ",
       "Mutual Inductance M: "},
      {{{"CBparalelo", "1"}}, "Primary inductance L1:   ", "Secondary inductance L2: ",
       "Mutual inductance: "},
  };
  for (const Case& c : cases) {
    const Lines lines = TransformerLines(c.fields);
    const long double L1 = ValueAfter(lines, c.L1);
    const long double L2 = ValueAfter(lines, c.L2);
    const long double M = ValueAfter(lines, c.M);
    const long double k = ValueAfter(lines, "Coupling coefficient k: ");
    // The printed inductances carry about nine significant digits.
    EXPECT_NEAR(k, M / std::sqrt(L1 * L2), 1e-7L * k) << c.L1;
  }
}

// The values of the result are the inductances the lines print (in henries, the lines
// in millihenries to ten decimals) and k of the coupling line.
TEST(CalculateValues, NamedValuesAreThePrintedOnes) {
  CommandEnv env;
  const Result r = RunCommand(TransformerFieldDefs(), &TransformerCommand, {}, env);
  ASSERT_TRUE(r.Ok());
  const struct {
    const char* key;
    const char* label;
  } printed[] = {{"L1", "Maxwell primary inductance: L1: "},
                 {"L2", "Maxwell secondary inductance: L2: "},
                 {"M", "Mutual Inductance M: "}};
  for (const auto& p : printed) {
    ASSERT_NE(r.Find(p.key), nullptr) << p.key;
    EXPECT_EQ(r.Find(p.key)->unit, "H");
    EXPECT_NEAR(r.Find(p.key)->Number() * 1000, ValueAfter(r.lines, p.label), 1e-10L) << p.key;
  }
  EXPECT_NEAR(r.Find("k")->Number(), ValueAfter(r.lines, "Coupling coefficient k: "), 1e-14L);
  EXPECT_EQ(r.Find("k")->unit, "1");
  // Without M there is no M nor k.
  const Result noM = RunCommand(TransformerFieldDefs(), &TransformerCommand, {{"CBm", "0"}}, env);
  EXPECT_EQ(noM.Find("M"), nullptr);
  EXPECT_NE(noM.Find("L2"), nullptr);
}

TEST(CalculateValues, MaxwellRingSumAgreesWithKirchhoffForTheDefaultPrimary) {
  // Both sum exact ring mutual inductances over the circular turns and give a turn of
  // round wire the same self term, ln(8r/a) - 7/4 = ln(8r/g) - 2; they differ only
  // in pairing distinct turns at d +- g instead of d, a second-order change in g/d.
  const Lines lines = TransformerLines({{"CBm", "0"}});
  const long double maxwell = ValueAfter(lines, "Maxwell primary inductance: L1: ");
  const long double kirchhoff = ValueAfter(lines, "Kirchhoff primary inductance L1: ");
  EXPECT_NEAR(maxwell, kirchhoff, 1e-3L * kirchhoff);
}

TEST(CalculateValues, LoopOnTheSolenoidBaseByFourFormulas) {
  // Jones, Garrett and Snow give the same current-sheet value in different closed
  // forms; the loop in the base plane makes the split at its plane trivial, so the
  // common-base line repeats Jones' value. The 12 circular turns of the ring sum come
  // within a few parts per thousand of the sheet.
  const Lines lines = TransformerLines({{"En2", "1"}, {"Eh2", "0"}});
  const long double base = ValueAfter(lines, "J. Viriamu Jones 1 turn M (common base): ");
  const long double jones = ValueAfter(lines, "J. Viriamu Jones 1 turn M: ");
  const long double garrett = ValueAfter(lines, "Garrett 1 turn M: ");
  const long double snow = ValueAfter(lines, "Snow 1 turn M: ");
  const long double rings = ValueAfter(lines, "Mutual Inductance M: ");
  EXPECT_EQ(base, jones);
  EXPECT_NEAR(garrett, jones, 1e-9L * jones);
  EXPECT_NEAR(snow, jones, 1e-9L * jones);
  EXPECT_NEAR(rings, jones, 1e-2L * jones);
}

TEST(CalculateValues, TwoCirclesThreeWays) {
  // One turn each: the ring sum, Maxwell's two-circle formula and Snow's #61 with
  // N1 = 1 are all the mutual inductance of two coaxial circles.
  const Lines lines =
      TransformerLines({{"En1", "1"}, {"Eh1", "0"}, {"En2", "1"}, {"Eh2", "0"}, {"Eb2", "0.05"}});
  const long double rings = ValueAfter(lines, "Mutual Inductance M: ");
  EXPECT_NEAR(ValueAfter(lines, "Maxwell M (n1<=1, #1 (ok)): "), rings, 1e-12L);
  EXPECT_NEAR(ValueAfter(lines, "Snow M #61: "), rings, 1e-12L);
}

TEST(Coupling, ModeTexts) {
  EXPECT_EQ(ModeText(0.6L), "Mode:  1.0: 2.0");
  EXPECT_EQ(ModeText(0.2L), "Mode:  4.4: 5.4");
  EXPECT_NEAR(ModeRatio(0.2L), 5.4494897427831781L, 1e-15L);  // (1.2 + sqrt(0.96))/0.4
  // The two resonance frequencies are in the ratio x:(x - 1) = sqrt((1 + k)/(1 - k)).
  for (long double k : {0.05L, 0.3L, 0.6L, 0.9L}) {
    const long double x = ModeRatio(k);
    EXPECT_NEAR(x / (x - 1), std::sqrt((1 + k) / (1 - k)), 1e-15L) << k;
  }
}

TEST(Coupling, LinesWithAndWithoutOudin) {
  VectorReport plain;
  WriteCoupling(plain, 1, 4, 0.5L, false);
  EXPECT_EQ(plain.lines, (Lines{"Coupling coefficient k:    0.25000000000000", "Mode:  3.4: 4.4"}));

  // L1 = 1 H, L2 = 4 H, M = 0.5 H. Normal: Meq = 1.5, L2eq = 6, keq = 1.5/sqrt(6).
  // Reverse: Meq = 0.5, L2eq = 4, keq = 0.25.
  VectorReport oudin;
  WriteCoupling(oudin, 1, 4, 0.5L, true);
  EXPECT_EQ(oudin.lines,
            (Lines{"Coupling coefficient k:    0.25000000000000", "Mode:  3.4: 4.4",
                   "Normal Oudin coil: Eqv. k=0.6123724357; Mode:  1.0: 2.0",
                   "Eqv. M: 1500.0000000000 mH; Eqv. L2: 6000.0000000000 mH",
                   "Reverse Oudin coil: Eqv. k=0.2500000000; Mode:  3.4: 4.4",
                   "Eqv. M:  500.0000000000 mH; Eqv. L2: 4000.0000000000 mH"}));

  // Reverse connection with M > L1: the equivalent M is negative, its k is not.
  VectorReport reversed;
  WriteCoupling(reversed, 1, 9, 2, true);
  ASSERT_EQ(reversed.lines.size(), 6u);
  EXPECT_EQ(reversed.lines[4].substr(0, 39), "Reverse Oudin coil: Eqv. k=0.4082482905");
  EXPECT_EQ(reversed.lines[5], "Eqv. M: -1000.0000000000 mH; Eqv. L2: 6000.0000000000 mH");
}

TEST(Coupling, ImpossibleCouplingStopsBeforeTheMode) {
  for (long double M : {1.0L, 1.5L}) {
    VectorReport r;
    WriteCoupling(r, 1, 1, M, true);
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[1], "This result (k>1) is impossible");
  }
}

TEST(CalculateStop, RequestDuringTheTrueSpiralPrimary) {
  // Whole turns on a solenoid with circular turns off: the reduced helix sum, which
  // pumps events once per outer segment and runs as stoppable meanwhile.
  const FieldValues fields{{"CBel", "0"}, {"Ensm", "100"}};
  CommandEnv env;
  bool running = false, stop = false;
  std::vector<bool> runningSeen, changes;
  int pumps = 0;
  env.onRunningChanged = [&](bool r) {
    running = r;
    changes.push_back(r);
  };
  env.stopRequested = [&] { return stop; };
  env.pump = [&] {
    ++pumps;
    runningSeen.push_back(running);
    if (pumps == 5) stop = true;  // the user clicks Stop
  };
  const Result result = RunCommand(TransformerFieldDefs(), &TransformerCommand, fields, env);

  EXPECT_EQ(pumps, 5);
  EXPECT_EQ(runningSeen, std::vector<bool>(5, true));
  EXPECT_EQ(changes, (std::vector<bool>{true, false}));  // stopped again at the end
  EXPECT_EQ(result.status, CommandStatus::Refused);
  EXPECT_EQ(result.message, "Interrupted");
  // What was computed before the stop stands; the stopped sum left no inductance.
  EXPECT_NE(result.Find("L1_Wheeler"), nullptr);
  EXPECT_NE(result.Find("gmd1"), nullptr);
  EXPECT_EQ(result.Find("L1_Maxwell"), nullptr);
  EXPECT_EQ(result.Find("L1"), nullptr);
  Lines expected = CoilBlock("primary", "1", kPrimaryDefault, true, false, {}, true);
  expected.pop_back();  // no inductance line
  expected.insert(expected.begin(), "");
  for (const char* l : {"Calculating Maxwell inductance of a solenoid...",
                        "G. m. d.: {17.15}; Vertical spacing: {17.15}",
                        "Segments: high precision: {I} used: 100", "Interrupted"})
    expected.push_back(l);
  ExpectLayout(result.lines, expected);
}

// The ring sums with circular turns are stopped between two rows: a conical secondary's
// self-inductance, or the mutual inductance ring by ring. The lines before the stop are
// those of the whole run, and the quantity being summed is left out.
TEST(CalculateStop, RingSumsStopBetweenRows) {
  struct Case {
    FieldValues fields;
    const char* missing;
  };
  for (const Case& c : {Case{{{"En2", "40"}, {"Es2", "0.2"}}, "L2"},
                        Case{{{"En2", "40"}}, "M"}}) {
    const Result whole = command_run::Run(TransformerFieldDefs(), &TransformerCommand, c.fields);
    CommandEnv env;
    int asked = 0;
    env.stopRequested = [&] { return ++asked > 3; };
    const Result result = RunCommand(TransformerFieldDefs(), &TransformerCommand, c.fields, env);
    EXPECT_EQ(result.status, CommandStatus::Refused) << c.missing;
    EXPECT_EQ(result.message, "Interrupted");
    EXPECT_EQ(result.Find(c.missing), nullptr);
    EXPECT_NE(whole.Find(c.missing), nullptr);
    ASSERT_FALSE(result.lines.empty());
    EXPECT_EQ(result.lines.back(), "Interrupted");
    ASSERT_LT(result.lines.size(), whole.lines.size());
    EXPECT_TRUE(std::equal(result.lines.begin(), result.lines.end() - 1, whole.lines.begin()));
  }
}

// The main window's Calculate can be stopped, so it runs a true-spiral sum that
// quor-cli refuses: a conical primary of 16 turns at 2000 segments a turn (1.02e9
// segment pairs), stopped at its third pump.
TEST(CalculateStop, TheWindowRunsWhatQuorCliRefuses) {
  const FieldValues fields{{"CBel", "0"}, {"Es1", "0.12"}, {"En1", "16"}};
  EXPECT_EQ(TransformerLines(fields), (Lines{"", "Too many segment pairs for L (max=1000000000)"}));
  CommandEnv env;
  bool stop = false;
  int pumps = 0;
  env.stopRequested = [&] { return stop; };
  env.pump = [&] {
    if (++pumps == 3) stop = true;  // the user clicks Stop
  };
  const Result result = RunCommand(TransformerFieldDefs(), &TransformerCommand, fields, env);
  EXPECT_EQ(pumps, 3);
  EXPECT_NE(std::find(result.lines.begin(), result.lines.end(),
                      "Calculating Maxwell inductance of a general coil..."),
            result.lines.end());
  EXPECT_EQ(result.message, "Interrupted");
}

TEST(CalculateFault, ArithmeticFaultEndsTheCommandAndTheRunningState) {
  // A flat spiral wound from the axis, as a true spiral: its turn radius
  // sqrt(rmin*rmax) and turn length are 0, and the spacing of the two copies is 0/0,
  // inside the routine that runs as stoppable. (Without M: the spiral lies across the
  // secondary's first turn.)
  const FieldValues fields{{"CBel", "0"}, {"Er1", "0"}, {"Eh1", "0"}, {"CBm", "0"}};
  VectorReport window;
  CommandEnv env;
  env.report = &window;
  std::vector<bool> changes;
  env.onRunningChanged = [&](bool r) { changes.push_back(r); };
  const Result fault = RunCommand(TransformerFieldDefs(), &TransformerCommand, fields, env);
  EXPECT_EQ(fault.status, CommandStatus::Fault);
  EXPECT_EQ(fault.message, "Invalid floating point operation");
  EXPECT_EQ(changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(env.report, &window);  // the window's own sink again
  EXPECT_EQ(fault.lines, window.lines);
  ASSERT_FALSE(window.lines.empty());
  EXPECT_EQ(window.lines.back(), "Calculating Maxwell inductance of a general coil...");

  // The next Calculate starts afresh: no fault left over from the last one.
  const Result next = RunCommand(TransformerFieldDefs(), &TransformerCommand, {}, env);
  EXPECT_EQ(next.status, CommandStatus::Ok);
  EXPECT_EQ(next.lines.back().rfind("Mode: ", 0), 0u);
}
