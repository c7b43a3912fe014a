// The checks of a ring set before its matrix is formed: rings of negative radius or
// wire radius, coincident rings, wires that overlap, rings without wire; and the
// structures of the program's own examples far from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "command_run.h"
#include "electrostatics/ring_kernel.h"
#include "electrostatics/ring_set_checks.h"
#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_description.h"
#include "numerics/library_namespaces.h"

namespace {

std::string Line(const std::optional<std::string>& fault) { return fault ? *fault : ""; }

}  // namespace

TEST(RingSetFault, EachFaultInItsOrder) {
  struct Row {
    std::vector<RingPlace> rings;
    std::string line;  // "" when the set passes
  };
  const Row rows[] = {
      {{}, ""},
      {{{0.1L, 0, 0.01L}, {0.2L, 0, 0.01L}}, ""},
      // A ring on the axis, as a sum of decimals leaves it, is no negative one.
      {{{0.3L - 0.1L - 0.2L, 0, 0.01L}, {0.1L, 0, 0.01L}}, ""},
      {{{0.1L, 0, 0.01L}, {-0.2L, 0, 0.01L}}, "Invalid structure: ring 2 has a negative radius"},
      {{{0.1L, 0, -0.01L}}, "Invalid structure: ring 1 has a negative wire radius"},
      {{{0.1L, 0.5L, 0.01L}, {0.1L, 0.5L, 0.01L}}, "Invalid structure: rings 1 and 2 are coincident"},
      // Centres 0.02 apart: wires of 0.01 touch, of 0.0101 overlap.
      {{{0.1L, 0.3L, 0.01L}, {0.1L, 0.32L, 0.01L}}, ""},
      {{{0.1L, 0.3L, 0.0101L}, {0.1L, 0.32L, 0.0101L}}, "Invalid structure: rings 1 and 2 overlap"},
      // Diagonal neighbours 0.05 apart (a 3-4-5 triangle).
      {{{0.3L, 0, 0.025L}, {0.33L, 0.04L, 0.025L}}, ""},
      {{{0.3L, 0, 0.026L}, {0.33L, 0.04L, 0.025L}}, "Invalid structure: rings 1 and 2 overlap"},
      // Row order: the pair (1, 3) comes before (2, 3).
      {{{0.1L, 0, 0.01L}, {0.5L, 0, 0.01L}, {0.1L, 0.015L, 0.01L}, {0.5L, 0, 0.01L}},
       "Invalid structure: rings 1 and 3 overlap"},
      // The wire radius of zero last: coincident rings say so first.
      {{{0.1L, 0, 0}, {0.1L, 0, 0}}, "Invalid structure: rings 1 and 2 are coincident"},
      {{{0.1L, 0, 0.01L}, {0.2L, 0, 0}}, "Invalid structure: ring 2 has a wire radius of zero"},
  };
  for (const Row& r : rows) EXPECT_EQ(Line(RingSetFault(r.rings)), r.line) << r.line;
}

// The sample capacitor (and so the guide's examples, which calculate it) keeps its
// rings far from overlapping: neighbours along a plate or an edge stand a strip apart,
// pi times the sum of their wire radii (each wire is its strip over 2 pi), and no pair
// of rings comes closer than that.
TEST(RingSetFault, TheSampleKeepsItsWiresApart) {
  VectorReport none;
  const StructureDescription d = ParseDescription(StructureSampleLines(), none);
  ASSERT_TRUE(d.Parsed());
  const std::vector<StructureRing> rings = GenerateRings(d);
  Extended closest = 1e9L;
  for (std::size_t i = 0; i < rings.size(); ++i)
    for (std::size_t j = i + 1; j < rings.size(); ++j)
      closest = std::min(closest, std::hypot(rings[i].R - rings[j].R, rings[i].Z - rings[j].Z) /
                                      (rings[i].a + rings[j].a));
  EXPECT_NEAR(static_cast<double>(closest), kPi, 1e-12);
}

// Two plates of radius 1 m, 0.01 m apart: cut into 10 rings each their wires (0.016 m)
// overlap across the gap, and the matrix gave k[a,a] = -1913.9 pF; cut into 100 each
// they keep apart, and the mutual capacitance approaches the parallel-plate value
// eps0 pi r^2/s = 2781.6 pF from above (the field fringes outside the gap).
TEST(StructureOverlap, PlatesTooCoarselyCutAreRefused) {
  auto plates = [](int rings) {
    const std::string n = std::to_string(rings);
    return std::vector<std::string>{"La a " + n + " 0 0 1 0", "Lb b " + n + " 0 0.01 1 0.01"};
  };
  VectorReport msg;
  StructureResults coarse = CalculateStructure(ParseDescription(plates(10), msg), false, {}, msg);
  EXPECT_FALSE(coarse.completed);
  EXPECT_EQ(msg.lines.back(), "Invalid structure: rings 1 and 11 overlap");

  VectorReport fine;
  const StructureResults ok = CalculateStructure(ParseDescription(plates(100), fine), false, {}, fine);
  ASSERT_TRUE(ok.completed);
  const Extended parallelPlate = Eps0() * kPi / 0.01L;
  const Extended mutual = -ok.Cc(1, 2);
  EXPECT_GT(mutual, parallelPlate);
  EXPECT_LT(mutual, 1.03L * parallelPlate);
}

// An element that makes rings without a length, or an arc of negative radius, is named
// by its place among the elements; the rings it would make are not judged.
TEST(StructureOverlap, ElementsOfNoLengthOrNegativeRadius) {
  struct Row {
    std::vector<std::string> description;
    std::string line;
  };
  const Row rows[] = {
      {{"Lx a 10 0 0 1 0", "Ly a 5 0.5 1 0.5 1"}, "Invalid structure: element 2 has zero length"},
      {{"Cx a 10 1 1 0 -90 90"}, "Invalid structure: element 1 has zero length"},
      {{"Cx a 10 1 1 0.25 30 30"}, "Invalid structure: element 1 has zero length"},
      {{"Ex a 10 1 1 0 0 -90 90"}, "Invalid structure: element 1 has zero length"},
      {{"Lx a 10 0 0 1 0", "Cedge a 10 1 0.75 -0.25 -90 90"},
       "Invalid structure: element 2 has a negative radius"},
      // An element without rings makes none to judge.
      {{"Lx a 10 0 0 1 0", "Ly a 0 0.5 1 0.5 1"}, ""},
      // Negative radii come from the coordinates or from a negative scale factor.
      {{"Lx a 10 -1 0 0 0"}, "Invalid structure: ring 1 has a negative radius"},
      {{"Lx a 10 0 0 1 0", ".K a -1"}, "Invalid structure: ring 1 has a negative radius"},
      // An ellipse of one zero semi-axis is a line: rings of length.
      {{"Ex a 10 0.5 1 0.5 0 0 180"}, ""},
  };
  for (const Row& r : rows) {
    VectorReport msg;
    const StructureResults results = CalculateStructure(ParseDescription(r.description, msg),
                                                        false, {}, msg);
    EXPECT_EQ(results.completed, r.line.empty()) << r.description.back();
    if (!r.line.empty()) {
      EXPECT_EQ(msg.lines.back(), r.line) << r.description.back();
    }
  }
}
