// The named values of the main window's commands (Calculate, self-capacitance,
// couplings, unit conversion): every printed number has a documented key, and the
// values hold together physically and against independent formulas.
#include <gtest/gtest.h>

#include <boost/math/special_functions/ellint_1.hpp>
#include <boost/math/special_functions/ellint_2.hpp>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "command_run.h"
#include "support/value_coverage.h"
#include "transformer/couplings.h"
#include "transformer/driver.h"
#include "transformer/self_capacitance.h"
#include "transformer/unit_conversion.h"
#include "transformer/value_defs.h"
#include "numerics/library_namespaces.h"

namespace {

using namespace value_coverage;

constexpr long double kPiL = 3.14159265358979323846264338327950288L;
constexpr long double kMu0L = 4e-7L * kPiL;

Result Transformer(const FieldValues& f) {
  return command_run::Run(TransformerFieldDefs(), &TransformerCommand, f);
}

// A single loop of radius 0.05 as the secondary, 2 cm above a single-loop primary, or
// 3 cm up inside the default solenoid.
const FieldValues kTwoLoops{{"En1", "1"},     {"Eh1", "0"},     {"En2", "1"},
                            {"Eh2", "0"},     {"Er2", "0.05"},  {"Es2", "0.05"},
                            {"Eb2", "0.02"},  {"Ewd2", "0.001"}};
const FieldValues kLoopInside{{"En2", "1"},    {"Eh2", "0"},    {"Er2", "0.05"},
                              {"Es2", "0.05"}, {"Eb2", "0.03"}, {"Ewd2", "0.001"}};

// Mutual inductance of two coaxial circular filaments (Maxwell), through Boost's
// complete elliptic integrals.
long double LoopMutual(long double a, long double b, long double d) {
  const long double k = std::sqrt(4 * a * b / ((a + b) * (a + b) + d * d));
  return kMu0L * std::sqrt(a * b) *
         ((2 / k - k) * boost::math::ellint_1(k) - 2 / k * boost::math::ellint_2(k));
}

// The current-sheet inductance of a solenoid by Nagaoka's coefficient.
long double NagaokaSheet(long double N, long double h, long double r) {
  const long double k = 2 * r / std::sqrt(4 * r * r + h * h);
  const long double kp = h / std::sqrt(4 * r * r + h * h);
  const long double K = boost::math::ellint_1(k), E = boost::math::ellint_2(k);
  const long double nagaoka = 4 / (3 * kPiL * kp) * (kp * kp / (k * k) * (K - E) + E - k);
  return kMu0L * N * N * kPiL * r * r / h * nagaoka;
}

// The coupling k and its mode (x - 1):x, whose ratio is sqrt((1 - k)/(1 + k)) and
// whose terms differ by one.
void ExpectMode(long double k, long double lower, long double upper) {
  EXPECT_NEAR(upper - lower, 1, 1e-15L);
  EXPECT_NEAR(lower / upper, std::sqrt((1 - k) / (1 + k)), 1e-15L);
}

}  // namespace

// Under every coil shape and option: each key documented and each number printed
// (beside the echoes of the fields) a value.
TEST(TransformerValues, EveryPrintedNumberIsADocumentedValue) {
  const FieldValues cases[] = {
      {},
      {{"CBOudin", "1"}, {"CBjvj", "1"}, {"Er1", "0.1"}, {"Es1", "0.12"}},  // conical, Jones
      {{"Er1", "0.1"}, {"Es1", "0.2"}, {"En1", "5"}, {"Eh1", "0.02"}},
      kTwoLoops,
      kLoopInside,
      {{"En2", "1"}, {"Eh2", "0"}, {"Er2", "0.05"}, {"Es2", "0.05"}, {"Ewd2", "0.001"}},
      {{"CBparalelo", "1"}, {"En1", "3"}},
      {{"CBel", "0"}, {"Ensm", "50"}, {"En2", "100"}},
      {{"CBel", "0"}, {"Ensm", "50"}, {"En1", "12.5"}, {"CBML2", "0"}, {"CBm", "0"}},
      {{"CBjvj", "1"}, {"CBML1", "0"}, {"En2", "1152.5"}},
      {{"En1", "12.5"}, {"CBm", "0"}, {"CBML2", "0"}},
  };
  for (const FieldValues& f : cases) {
    const Result r = Transformer(f);
    EXPECT_TRUE(r.Ok()) << r.message;
    ExpectDocumented(r, TransformerValueDefs());
    ExpectEveryNumberHasAValue(r.lines, r, FieldNumbers(TransformerFieldDefs(), f));
  }
}

// The default pair: the solenoid formulas against Nagaoka's current sheet, the
// coupling and mode from the values themselves, Snow's sheets against the turns.
TEST(TransformerValues, DefaultPairHoldsTogether) {
  const Result r = Transformer({{"CBOudin", "1"}});
  ASSERT_TRUE(r.Ok());
  for (const auto& [i, N, h, rad] : {std::tuple{"1", 12.0L, 0.1L, 0.1L},
                                     std::tuple{"2", 1152.0L, 0.32L, 0.044L}}) {
    const std::string L = std::string("L") + i;
    const long double sheet = NagaokaSheet(N, h, rad);
    // Lorenz's closed form is the current sheet itself; Lundin's fit holds to a few
    // parts per million, Wheeler's to about one percent for coils this short.
    EXPECT_NEAR(V(r, (L + "_Lorenz").c_str()), sheet, 1e-12L * sheet);
    EXPECT_NEAR(V(r, (L + "_Lundin").c_str()), sheet, 1e-5L * sheet);
    EXPECT_NEAR(V(r, (L + "_Wheeler").c_str()), sheet, 1e-2L * sheet);
    // Kirchhoff's turns and Maxwell's rings differ only by the wire's treatment.
    EXPECT_NEAR(V(r, (L + "_Kirchhoff").c_str()), V(r, (L + "_Maxwell").c_str()),
                1e-3L * sheet);
    EXPECT_EQ(V(r, L.c_str()), V(r, (L + "_Maxwell").c_str()));
  }
  const long double L1 = V(r, "L1"), L2 = V(r, "L2"), M = V(r, "M"), k = V(r, "k");
  EXPECT_NEAR(k, M / std::sqrt(L1 * L2), 1e-18L);
  ExpectMode(k, V(r, "mode_lower"), V(r, "mode_upper"));
  EXPECT_NEAR(V(r, "M_Snow_sheets"), M, 1e-3L * M);
  EXPECT_NEAR(V(r, "k_Lorenz_Snow"),
              V(r, "M_Snow_sheets") / std::sqrt(V(r, "L1_Lorenz") * V(r, "L2_Lorenz")), 1e-17L);
  // Oudin coil: the primary current also flows through the secondary.
  for (const auto& [stem, sign] : {std::pair{"oudin_", 1}, std::pair{"oudin_rev_", -1}}) {
    const std::string s = stem;
    const long double Meq = L1 + sign * M, L2eq = L1 + L2 + 2 * sign * M;
    EXPECT_NEAR(V(r, (s + "M").c_str()), Meq, 1e-15L);
    EXPECT_NEAR(V(r, (s + "L2").c_str()), L2eq, 1e-15L);
    const long double keq = V(r, (s + "k").c_str());
    EXPECT_NEAR(keq, std::fabs(Meq) / std::sqrt(L1 * L2eq), 1e-15L);
    ExpectMode(keq, V(r, (s + "mode_lower").c_str()), V(r, (s + "mode_upper").c_str()));
  }
}

// Single circles: the one-turn formulas and the ring sum at the wire's g.m.d.; two
// coaxial loops, and a loop inside the solenoid, against Maxwell's formula for
// coaxial filaments through Boost (the sheet formulas within a percent of the turns).
TEST(TransformerValues, LoopsAgainstIndependentFormulas) {
  const Result r = Transformer(kTwoLoops);
  ASSERT_TRUE(r.Ok());
  // Grover's thin loop, mu0 r (ln(8r/a) - 7/4); the forms differ by (a/r)^2 terms,
  // but for Russell's, whose modulus (r - a)/r brings terms of order (a/r) ln(r/a).
  const long double grover = kMu0L * 0.1L * (std::log(8 * 0.1L / 0.0005L) - 1.75L);
  for (const auto& [key, tolerance] : {std::pair{"L1_Grover_1turn", 1e-4L},
                                       {"L1_Maxwell_1turn", 1e-4L},
                                       {"L1_AIP_1turn", 1e-4L},
                                       {"L1_Maxwell", 1e-4L},
                                       {"L1_Russell_1turn", 5e-3L}})
    EXPECT_NEAR(V(r, key), grover, tolerance * grover) << key;
  const long double M = LoopMutual(0.1L, 0.05L, 0.02L);
  for (const char* key : {"M", "M_Maxwell_1turn", "M_Snow61"})
    EXPECT_NEAR(V(r, key), M, 1e-13L * M) << key;

  const Result inside = Transformer(kLoopInside);
  long double turns = 0;  // the primary's 12 turns at their middles
  for (int i = 0; i < 12; ++i) turns += LoopMutual(0.1L, 0.05L, (i + 0.5L) / 120 - 0.03L);
  EXPECT_NEAR(V(inside, "M"), turns, 1e-13L * turns);
  for (const char* key : {"M_Jones_1turn", "M_Garrett_1turn", "M_Snow_1turn"})
    EXPECT_NEAR(V(inside, key), turns, 1e-2L * turns) << key;
}

// Primary loops in parallel: the loop matrix is symmetric, and the port inductance is
// 1/(1' Lloops^-1 1) of the loops' own block.
TEST(TransformerValues, ParallelLoops) {
  for (const char* n : {"1", "2"}) {
    const Result r = Transformer({{"CBparalelo", "1"}, {"En1", n}});
    ASSERT_TRUE(r.Ok()) << r.message;
    const NamedValue* m = r.Find("L_loops");
    ASSERT_NE(m, nullptr);
    const std::size_t s = m->dims[0];
    auto L = [&](std::size_t i, std::size_t j) { return m->numbers[i * s + j]; };
    for (std::size_t i = 0; i < s; ++i)
      for (std::size_t j = 0; j < s; ++j) EXPECT_EQ(L(i, j), L(j, i));
    EXPECT_EQ(L(s - 1, s - 1), V(r, "L2_original"));
    if (s == 2) {
      EXPECT_NEAR(V(r, "L1"), L(0, 0), 1e-15L * L(0, 0));
      EXPECT_NEAR(V(r, "M"), L(0, 1), 1e-15L * L(0, 0));
      EXPECT_NEAR(V(r, "L2"), L(1, 1), 1e-15L * L(1, 1));
    } else {
      const long double port =
          (L(0, 0) * L(1, 1) - L(0, 1) * L(0, 1)) / (L(0, 0) + L(1, 1) - 2 * L(0, 1));
      EXPECT_NEAR(V(r, "L1"), port, 1e-14L * port);
    }
    EXPECT_NEAR(V(r, "k"), V(r, "M") / std::sqrt(V(r, "L1") * V(r, "L2")), 1e-18L);
  }
}

// The sums' own numbers: the g.m.d. of a round wire (Maxwell, a e^(-1/4)); the
// listed terms of a conical coil, one per pair of its rounded turns, end in -L.
TEST(TransformerValues, SumDetails) {
  const Result spiral = Transformer({{"CBel", "0"}, {"Ensm", "50"}, {"CBML2", "0"}, {"CBm", "0"}});
  EXPECT_NEAR(V(spiral, "gmd1"), 0.0005L * std::exp(-0.25L), 1e-18L);
  const Result cone = Transformer({{"Er1", "0.1"}, {"Es1", "0.2"}, {"En1", "5.4"},
                                   {"Eh1", "0.02"}, {"CBm", "0"}, {"CBML2", "0"}});
  EXPECT_EQ(cone.Find("L1_terms")->dims, (std::vector<std::size_t>{5, 5}));
  EXPECT_EQ(V(cone, "L1_sums", 24), -V(cone, "L1_Maxwell"));
  EXPECT_EQ(V(cone, "n1"), 5);
}

// A refusal keeps what was computed before it.
TEST(TransformerValues, RefusalKeepsEarlierValues) {
  const Result r = Transformer({{"CBparalelo", "1"}, {"Es2", "0.05"}, {"En2", "100"}});
  EXPECT_EQ(r.status, CommandStatus::Refused);
  EXPECT_GT(V(r, "L2_original"), 0);
  EXPECT_EQ(r.Find("L1"), nullptr);
}

// Medhurst's capacitance in his own units (cm, pF), Thomson's frequency from the
// values, and the same L as Calculate's Maxwell sum.
TEST(SelfCapacitanceValues, MedhurstAndThomson) {
  const FieldValues f{{"En1", "12.5"}};
  const Result r = command_run::Run(TransformerFieldDefs(), &SelfCapacitanceCommand, f);
  ASSERT_TRUE(r.Ok());
  ExpectDocumented(r, SelfCapacitanceValueDefs());
  ExpectEveryNumberHasAValue(r.lines, r, FieldNumbers(TransformerFieldDefs(), f));
  const Result calc = Transformer({{"CBm", "0"}});
  for (const auto& [i, l, D] : {std::tuple{"1", 10.0L, 20.0L}, std::tuple{"2", 32.0L, 8.8L}}) {
    const std::string s = i;
    // In metres the last coefficient becomes 0.27 sqrt(8e4) = 76.37, rounded to 76.4.
    const long double pF = 0.1126L * l + 0.08L * D + 0.27L * std::sqrt(D * D * D / l);
    EXPECT_NEAR(V(r, ("C" + s).c_str()) * 1e12L, pF, 5e-4L * pF);
    const long double L = V(r, ("L" + s).c_str()), C = V(r, ("C" + s).c_str());
    EXPECT_NEAR(V(r, ("f" + s).c_str()), 1 / (2 * kPiL * std::sqrt(L * C)), 1e-9L);
  }
  EXPECT_EQ(V(r, "n1"), 12);
  EXPECT_EQ(V(r, "L2"), V(calc, "L2_Maxwell"));
}

// Each optimal coupling gives exactly its mode a:b in the mode of Calculate.
TEST(CouplingsValues, EachKGivesItsMode) {
  const Result r = command_run::Run(CouplingsFieldDefs(), &CouplingsCommand);
  ExpectDocumented(r, CouplingsValueDefs());
  ExpectEveryNumberHasAValue(r.lines, r, {});
  ASSERT_EQ(r.Find("k")->numbers.size(), 15u);
  for (std::size_t i = 0; i < 15; ++i) {
    const long double a = V(r, "mode_lower", i), b = V(r, "mode_upper", i), k = V(r, "k", i);
    EXPECT_EQ(a, i + 1.0L);
    EXPECT_NEAR(ModeRatio(k), b, 1e-15L * b);
    EXPECT_EQ(V(r, "cycles", i), b / 2);
  }
}

// Inches and AWG gauges: 4 in is 0.1016 m, AWG 14 is 64.08 mils (1.628 mm), and the
// way back gives the gauge again; a field with no gauge has no value.
TEST(UnitValues, InchesAndGauges) {
  CommandEnv env;
  env.arguments["WINDOW"] = "transformer";
  const FieldValues inches{{"Eh1", "4"}, {"Ewd1", "14"}, {"Ewd2", "0"}};
  const Result m = command_run::Run(NoFieldDefs(), &ToMetersCommand, inches, env);
  ExpectDocumented(m, ToMetersValueDefs());
  EXPECT_NEAR(V(m, "Eh1"), 0.1016L, 1e-18L);
  EXPECT_NEAR(V(m, "Ewd1"), 64.08e-3L * 0.0254L, 1e-3L * 1.628e-3L);
  EXPECT_EQ(m.Find("Eh1")->unit, "m");

  const FieldValues metres{{"Ewd1", "0.0016277"}, {"Ewd2", "0"}};
  const Result in = command_run::Run(NoFieldDefs(), &ToInchesCommand, metres, env);
  ExpectDocumented(in, ToInchesValueDefs());
  EXPECT_NEAR(V(in, "Ewd1"), 14, 5e-3L);
  EXPECT_EQ(in.Find("Ewd2"), nullptr);  // 0 has no gauge: left as it is
}
