// The named values of the straight-wire and square-spiral panels: every printed
// number has a documented key, and the values hold together (Neumann's integral,
// the spiral's total as the sum of its listed sides and pairs).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "command_run.h"
#include "straight/spiral.h"
#include "straight/straight_wires.h"
#include "support/value_coverage.h"

namespace {

using value_coverage::ExpectDocumented;
using value_coverage::ExpectEveryNumberHasAValue;
using value_coverage::FieldNumbers;

long double V(const Result& r, const char* key, std::size_t i = 0) {
  const NamedValue* v = r.Find(key);
  if (!v || i >= v->numbers.size()) {
    ADD_FAILURE() << "no value " << key << "[" << i << "]";
    return 0;
  }
  return v->numbers[i];
}

// Neumann's integral for parallel filaments l1 (centred at 0) and l2 (centred at c) a
// distance d apart: the inner integral in closed form (asinh), the outer by Simpson.
long double NeumannParallel(long double l1, long double l2, long double d, long double c) {
  const int n = 20000;
  const long double h = l1 / n;
  long double sum = 0;
  for (int i = 0; i <= n; ++i) {
    const long double x = -l1 / 2 + i * h;
    const long double f = std::asinh((c + l2 / 2 - x) / d) - std::asinh((c - l2 / 2 - x) / d);
    sum += (i == 0 || i == n ? 1 : i % 2 ? 4 : 2) * f;
  }
  return 1e-7L * sum * h / 3;
}

}  // namespace

TEST(StraightValues, EveryPrintedNumberIsADocumentedValueAndTheyAgree) {
  const FieldValues cases[] = {
      {},
      {{"Edistance", "0"}, {"Eoffset", "1"}},  // one wire cut in two
      {{"Elength2", "0.5"}, {"Eoffset", "0.2"}},
  };
  for (const FieldValues& f : cases) {
    const Result r = command_run::Run(StraightFieldDefs(), &StraightCommand, f);
    ASSERT_TRUE(r.Ok());
    ExpectDocumented(r, StraightValueDefs());
    ExpectEveryNumberHasAValue(r.lines, r, FieldNumbers(StraightFieldDefs(), f));
    EXPECT_NEAR(V(r, "k"), V(r, "M") / std::sqrt(V(r, "L1") * V(r, "L2")), 1e-18L);
    // The segment sum converges on the closed form; Maxwell's g.m.d. filament on the
    // low-frequency formula, both for wires much longer than thick.
    EXPECT_NEAR(V(r, "M_numerical"), V(r, "M"), 1e-3L * V(r, "M"));
    EXPECT_NEAR(V(r, "L1_Maxwell"), V(r, "L1"), 1e-4L * V(r, "L1"));
  }
  const Result parallel = command_run::Run(StraightFieldDefs(), &StraightCommand,
                                           {{"Elength2", "0.5"}, {"Eoffset", "0.2"}});
  const long double neumann = NeumannParallel(1, 0.5L, 0.1L, 0.2L);
  EXPECT_NEAR(V(parallel, "M"), neumann, 1e-12L * neumann);

  const Result aligned = command_run::Run(StraightFieldDefs(), &StraightCommand,
                                          {{"Edistance", "0"}, {"Eoffset", "1"}});
  EXPECT_EQ(V(aligned, "L_sum"), V(aligned, "L1") + V(aligned, "L2") + 2 * V(aligned, "M"));
  EXPECT_NEAR(V(aligned, "L_whole"), V(aligned, "L_sum"), 1e-6L * V(aligned, "L_sum"));
}

TEST(SpiralValues, TheTotalIsTheSumOfTheListedSidesAndPairs) {
  const FieldValues cases[] = {
      {},
      {{"CBdet", "1"}, {"Esinner", "2"}, {"Esn", "4"}},
      {{"CBdet", "1"}, {"CBflat", "1"}, {"Esn", "3"}},
  };
  for (const FieldValues& f : cases) {
    const Result r = command_run::Run(SpiralFieldDefs(), &SpiralCommand, f);
    ASSERT_TRUE(r.Ok());
    ExpectDocumented(r, SpiralValueDefs());
    ExpectEveryNumberHasAValue(r.lines, r, FieldNumbers(SpiralFieldDefs(), f),
                               {"Segments indentified"});
    EXPECT_NEAR(V(r, "L_Mohan"), V(r, "L_Lee"), 0.05L * V(r, "L_Lee"));
    if (!r.Find("M_AA")) continue;
    // Sides A, B and C, D in pairs; parallel pairs of two turns counted from both.
    long double total = 0;
    for (const char* list : {"LA", "LC"})
      for (Extended L : r.Find(list)->numbers) total += 2 * L;
    for (const char* table : {"M_AA", "M_CC", "M_AC", "M_BD"})
      for (Extended M : r.Find(table)->numbers) total += 2 * M;
    EXPECT_NEAR(total, V(r, "L"), 1e-15L * V(r, "L"));
    // Reciprocity of the listed mutual inductances; the geometry of the turns.
    const NamedValue& MAA = *r.Find("M_AA");
    const std::size_t n = MAA.dims[0];
    const long double s = 20e-6L;
    for (std::size_t k = 0; k < n; ++k) {
      EXPECT_NEAR(V(r, "lA", k), (2 * V(r, "turn", k) - 1) * s, 1e-18L);
      for (std::size_t j = 0; j < n; ++j) {
        EXPECT_NEAR(MAA.numbers[k * n + j], MAA.numbers[j * n + k], 1e-12L * V(r, "L"));
        const long double apart = std::fabs(V(r, "turn", k) - V(r, "turn", j)) * s;
        EXPECT_NEAR(V(r, "d_AA", k * n + j), apart, 1e-18L);
      }
    }
    const bool flat = f.count("CBflat") != 0;
    EXPECT_NEAR(V(r, "GMD"), flat ? 10e-6L * std::exp(-1.5L) : 5e-6L * std::exp(-0.25L), 1e-20L);
  }
}
