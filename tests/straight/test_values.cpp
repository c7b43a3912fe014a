// The named values of the straight-wire and square-spiral panels: every printed
// number has a documented key, and the values hold together (the coupling, the wire
// cut in two, the spiral's total as the sum of its listed sides and pairs).
#include <gtest/gtest.h>

#include <cmath>

#include "command_run.h"
#include "straight/spiral.h"
#include "straight/straight_wires.h"
#include "support/value_coverage.h"
#include "numerics/library_namespaces.h"

using namespace value_coverage;

TEST(StraightValues, EveryPrintedNumberIsADocumentedValueAndTheyAgree) {
  const FieldValues aligned{{"Edistance", "0"}, {"Eoffset", "1"}};  // one wire cut in two
  for (const FieldValues& f : {FieldValues{}, aligned, {{"Elength2", "0.5"}, {"Eoffset", "0.2"}}}) {
    const Result r = command_run::Run(StraightFieldDefs(), &StraightCommand, f);
    ASSERT_TRUE(r.Ok());
    ExpectDocumented(r, StraightValueDefs());
    ExpectEveryNumberHasAValue(r.lines, r, FieldNumbers(StraightFieldDefs(), f));
    EXPECT_NEAR(V(r, "k"), V(r, "M") / std::sqrt(V(r, "L1") * V(r, "L2")), 1e-18L);
    // The segment sum converges on the closed form; Maxwell's g.m.d. filament on the
    // low-frequency formula, both for wires much longer than thick.
    EXPECT_NEAR(V(r, "M_numerical"), V(r, "M"), 1e-3L * V(r, "M"));
    EXPECT_NEAR(V(r, "L1_Maxwell"), V(r, "L1"), 1e-4L * V(r, "L1"));
    if (f != aligned) continue;
    EXPECT_EQ(V(r, "L_sum"), V(r, "L1") + V(r, "L2") + 2 * V(r, "M"));
    EXPECT_NEAR(V(r, "L_whole"), V(r, "L_sum"), 1e-6L * V(r, "L_sum"));
  }
}

TEST(SpiralValues, TheTotalIsTheSumOfTheListedSidesAndPairs) {
  for (const FieldValues& f : {FieldValues{}, {{"CBdet", "1"}, {"Esinner", "2"}, {"Esn", "4"}},
                               {{"CBdet", "1"}, {"CBflat", "1"}, {"Esn", "3"}}}) {
    const Result r = command_run::Run(SpiralFieldDefs(), &SpiralCommand, f);
    ASSERT_TRUE(r.Ok());
    ExpectDocumented(r, SpiralValueDefs());
    ExpectEveryNumberHasAValue(r.lines, r, FieldNumbers(SpiralFieldDefs(), f),
                               {"Segments indentified"});
    if (!r.Find("M_AA")) continue;
    // Sides A, B and C, D in pairs; parallel pairs of two turns counted from both.
    long double total = 0;
    for (const char* list : {"LA", "LC"})
      for (Extended L : r.Find(list)->numbers) total += 2 * L;
    for (const char* table : {"M_AA", "M_CC", "M_AC", "M_BD"})
      for (Extended M : r.Find(table)->numbers) total += 2 * M;
    EXPECT_NEAR(total, V(r, "L"), 1e-15L * V(r, "L"));
    // Side AA of turns k and j lies (j - k) spacings away, whichever is listed first.
    const std::size_t n = r.Find("M_AA")->dims[0];
    EXPECT_NEAR(V(r, "d_AA", 1), 20e-6L, 1e-18L);
    EXPECT_NEAR(V(r, "M_AA", 1), V(r, "M_AA", n), 1e-12L * V(r, "L"));
    const bool flat = f.count("CBflat") != 0;
    EXPECT_NEAR(V(r, "GMD"), flat ? 10e-6L * std::exp(-1.5L) : 5e-6L * std::exp(-0.25L), 1e-20L);
  }
}
