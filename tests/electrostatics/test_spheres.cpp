// Two spheres: the closed-form series against Kelvin's successive image charges (a
// method apart: point charges placed one by one), and the report as the window writes it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "command_run.h"
#include "electrostatics/ring_kernel.h"
#include "electrostatics/spheres.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/library_namespaces.h"

namespace {

// The smaller sphere centred at 0, the larger at d on the same axis (outside or around
// it). The live sphere holds 1 V with the other earthed: the charge 4 pi eps0 R at its
// centre, then each charge's image in the other sphere, in turn, until they vanish.
struct Images {
  Extended onSmall = 0, onLarge = 0;
  Extended nearField = 0;  // at (rb, 0), pointing out of the smaller sphere
};
Images KelvinImages(Extended d, Extended ra, Extended rb, bool smallLive) {
  const Extended k = 4 * kPi * Eps0();
  Images r;
  Extended x = smallLive ? 0 : d, q = k * (smallLive ? rb : ra);
  bool onSmall = smallLive;
  for (const Extended q0 = q; std::fabs(q) > 1e-40L * q0;) {
    (onSmall ? r.onSmall : r.onLarge) += q;
    const Extended s = rb - x;
    r.nearField += q * s / (k * std::fabs(s) * s * s);
    const Extended c = onSmall ? d : 0, R = onSmall ? ra : rb;
    q = -q * R / std::fabs(x - c);
    x = c + R * R / (x - c);
    onSmall = !onSmall;
  }
  return r;
}

std::vector<std::string> Spheres(const FieldValues& overrides, Extended Emax = 3000) {
  FieldValues fields = DefaultValues(SpheresFieldDefs());
  for (const auto& [name, text] : overrides) fields[name] = text;
  return command_run::LinesOf(SpheresFieldDefs(), &SpheresCommand, fields,
                              command_run::WithBreakdown(Emax));
}

int Count(const std::vector<std::string>& lines, const std::string& part) {
  int n = 0;
  for (const std::string& l : lines) n += l.find(part) != std::string::npos;
  return n;
}

struct Geometry {
  Extended ra, rb, gap;
};
// Equal, unequal, nearly touching, a needle by a ball, and far apart (where the
// difference forms of the image ratios lose their digits).
const Geometry kGeometries[] = {{0.015L, 0.015L, 0.03L}, {0.025L, 0.01L, 0.005L},
                                {0.1L, 0.002L, 0.05L},   {0.05L, 0.01L, 0.0005L},
                                {0.02L, 0.019L, 2.0L},   {0.015L, 0.015L, 100.0L}};

}  // namespace

TEST(Spheres, CapacitanceCoefficientsAreThoseOfTheImageCharges) {
  for (const Geometry& g : kGeometries) {
    const Extended d = g.gap + g.rb + g.ra;
    const Images small = KelvinImages(d, g.ra, g.rb, true);
    const Images large = KelvinImages(d, g.ra, g.rb, false);
    const SphereCapacitanceMatrix m = SphereCapacitances(d, g.ra, g.rb);
    const SphereMutualResult mutual = SphereMutualCapacitanceValue(d, g.ra, g.rb);
    EXPECT_EQ(mutual.placement, SpherePlacement::Adjacent);
    EXPECT_NEAR(static_cast<double>(m.k11 / small.onSmall), 1.0, 1e-13) << g.gap;
    EXPECT_NEAR(static_cast<double>(m.k22 / large.onLarge), 1.0, 1e-13) << g.gap;
    EXPECT_NEAR(static_cast<double>(m.k12 / small.onLarge), 1.0, 1e-13) << g.gap;
    EXPECT_NEAR(static_cast<double>(m.k12 / large.onSmall), 1.0, 1e-13) << g.gap;
    EXPECT_NEAR(static_cast<double>(-mutual.C / small.onLarge), 1.0, 1e-13) << g.gap;
  }
}

TEST(Spheres, RussellFieldIsTheImageFieldAtTheNearestPoint) {
  const std::pair<Extended, Extended> potentials[] = {{1, -1}, {1, 0}, {0, 1}, {2, 1}, {5, 5}};
  for (const Geometry& g : kGeometries) {
    if (g.gap > 1) continue;  // Russell's own mu loses digits there; kept as he wrote it
    const Extended d = g.gap + g.rb + g.ra;
    const Images small = KelvinImages(d, g.ra, g.rb, true);
    const Images large = KelvinImages(d, g.ra, g.rb, false);
    for (const auto& [V1, V2] : potentials) {
      // Relative to the two contributions: with equal potentials they nearly cancel.
      const Extended a = V1 * small.nearField, b = V2 * large.nearField;
      const Extended E = RussellMaximumField(d, g.ra, g.rb, V1, V2).E;
      EXPECT_LT(std::fabs(E - (a + b)), 1e-13L * (std::fabs(a) + std::fabs(b))) << g.gap << " " << V1;
    }
  }
}

TEST(Spheres, InnerSphereMatchesImagesAndTheSphericalCapacitor) {
  const Extended ra = 0.025L, rb = 0.015L, spherical = 4 * kPi * Eps0() * ra * rb / (ra - rb);
  for (const Extended d : {0.005L, 0.0099L, 1e-9L}) {
    const SphereMutualResult m = SphereMutualCapacitanceValue(d, ra, rb);
    EXPECT_EQ(m.placement, SpherePlacement::Nested);
    // The earthed outer sphere takes minus the whole charge of the inner one.
    EXPECT_NEAR(static_cast<double>(m.C / KelvinImages(d, ra, rb, true).onSmall), 1.0, 1e-13);
  }
  EXPECT_NEAR(static_cast<double>(SphereMutualCapacitanceValue(1e-9L, ra, rb).C / spherical), 1.0,
              1e-14);
  const SphereMutualResult c = SphereMutualCapacitanceValue(0, ra, rb);
  EXPECT_EQ(c.placement, SpherePlacement::Concentric);
  EXPECT_EQ(c.C, 4 * kPi * Eps0() * rb * ra / (ra - rb));
}

// The approximations approach the exact field as the gap s closes: Kirchhoff's
// expansion, exact through (s/r)^3, within a fifth of (s/r)^4; Dean-Peek's within
// 0.2 % and Peek's within 20 % of s/r. The bounds sit just above what the formulas
// reach, so that a wrong coefficient (1/45, 1/3, the 8 or the 4) shows.
TEST(Spheres, ApproximationsApproachTheExactFieldForSmallGaps) {
  const Extended r = 0.015L;
  for (const Extended x : {0.01L, 0.05L, 0.1L}) {
    const Extended s = x * r, d = s + 2 * r;
    const Extended earthed = RussellMaximumField(d, r, r, 1, 0).E;
    const Extended opposite = RussellMaximumField(d, r, r, 1, -1).E;
    EXPECT_LT(std::fabs(KirchhoffField(s, r, 1, 0) / earthed - 1), 0.2L * x * x * x * x) << x;
    EXPECT_LT(std::fabs(DeanPeekField(s, r, 1, -1) / opposite - 1), 0.002L * x) << x;
    EXPECT_LT(std::fabs(PeekField(s, r, 1, 0) / earthed - 1), 0.2L * x) << x;
  }
}

TEST(SpheresReport, DefaultsAndTheBreakdownSetting) {
  const std::vector<std::string> expected = {
      "",
      "Adjacent spheres:",
      "Capacitance (-k12):    0.4493521164 pF",
      "8 terms of the series used",
      "Maximum electric field and breakdown voltage between two spheres",
      "ra: 0.0150; rb: 0.0150; distance: 0.0300; between centers: 0.0600",
      "Russel's formula (exact), at the small sphere:  118.0187463106 V/m (14 terms)",
      "Vbreakdown:  50.84 kV",
      "Dean-Peek's formula (approx.):  118.7184270936 V/m; Vbreakdown:  50.54 kV",
      "Exact capacitance matrix (Kirchhoff/Russel):",
      "k11(small)=   1.7888432979 pF (14 terms in the series)",
      "k22(large)=   1.7888432979 pF (14 terms in the series)",
      "k12=k21=  -0.4493521164 pF (14 terms in the series)",
      "Capacitance small sphere - infinity:    1.3394911815 pF",
      "Capacitance large sphere - infinity:    1.3394911815 pF",
      "Capacitance large sphere - small sphere:    0.4493521164 pF",
      "Cap. between the spheres with opposite charges:    1.1190977071 pF",
      "Cap. large sphere - infinity with small sphere floating:    1.6759673826 pF",
      "Cap. small sphere - infinity with large sphere floating:    1.6759673826 pF",
      "Cap. of both spheres - infinity:    2.6789823629 pF",
  };
  EXPECT_EQ(Spheres({}), expected);
  const std::vector<std::string> half = Spheres({}, 1500);
  EXPECT_EQ(half[7], "Vbreakdown:  25.42 kV");
  EXPECT_EQ(half[8], "Dean-Peek's formula (approx.):  118.7184270936 V/m; Vbreakdown:  25.27 kV");
}

TEST(SpheresReport, RefusalsAndPlacementsWithoutField) {
  const struct {
    FieldValues fields;
    std::vector<std::string> lines;
  } rows[] = {
      {{{"Elarger", "0.02"}}, {"", "The smaller sphere is larger than the other"}},
      {{{"Esmaller", "0"}}, {"", "The diameters must be positive"}},
      {{{"Elarger", "-0.04"}}, {"", "The diameters must be positive"}},
      {{{"Edistance", "0"}}, {"", "The spheres overlap:", "Capacitance (-k12):    0.0000000000 pF"}},
      {{{"Edistance", "-1"}}, {"", "The spheres overlap:", "Capacitance (-k12):    0.0000000000 pF"}},
      {{{"Elarger", "0.5"}, {"Esmaller", "0.25"}, {"Edistance", "-0.375"}},
       {"", "Concentrical spheres:", "Capacitance (-k12):   27.8162514013 pF"}},
      {{{"Elarger", "0.05"}, {"Edistance", "-0.035"}},
       {"", "One sphere is inside the other:", "Capacitance (-k12):    4.5537154461 pF",
        "11 terms of the series used"}},
  };
  for (const auto& row : rows) EXPECT_EQ(Spheres(row.fields), row.lines) << row.lines.back();
}

// Which breakdown and approximation lines each choice of potentials brings.
TEST(SpheresReport, LinesThatDependOnThePotentials) {
  const struct {
    FieldValues fields;
    int breakdown, deanPeek, peek, kirchhoff, equal;
  } rows[] = {
      {{{"Ev2", "0"}}, 3, 0, 1, 1, 0},
      {{{"Ev1", "0"}, {"Ev2", "2"}}, 3, 0, 1, 1, 0},
      {{{"Ev1", "2"}, {"Ev2", "1"}}, 0, 0, 0, 0, 0},
      {{{"Elarger", "0.04"}}, 1, 0, 0, 0, 0},
      {{{"Elarger", "0.04"}, {"Ev2", "0"}}, 1, 0, 0, 0, 0},
      {{{"Ev1", "3"}, {"Ev2", "3"}}, 0, 0, 0, 0, 1},
      {{{"Ev1", "0"}, {"Ev2", "0"}}, 0, 0, 0, 0, 1},
  };
  for (const auto& row : rows) {
    const std::vector<std::string> lines = Spheres(row.fields);
    const std::string where = row.fields.begin()->second;
    EXPECT_EQ(Count(lines, "Vbreakdown"), row.breakdown) << where;
    EXPECT_EQ(Count(lines, "Dean-Peek's"), row.deanPeek) << where;
    EXPECT_EQ(Count(lines, "Peek's formula"), row.peek) << where;
    EXPECT_EQ(Count(lines, "Kirchhoff's formula"), row.kirchhoff) << where;
    EXPECT_EQ(Count(lines, "Equal potentials: no breakdown voltage between the spheres"),
              row.equal);
    EXPECT_EQ(Count(lines, "k11(small)="), 1) << where;
  }
  // Both spheres earthed: no field at all, found at the first term.
  EXPECT_EQ(Spheres({{"Ev1", "0"}, {"Ev2", "0"}})[6],
            "Russel's formula (exact), at the small sphere:    0.0000000000 V/m (1 terms)");
}

TEST(SpheresReport, SeriesStopAtTheTermLimitAndFaultsEndTheCommand) {
  // A gap of 1e-18 m: no series converges within a million terms.
  const std::vector<std::string> lines = Spheres({{"Edistance", "1e-18"}});
  EXPECT_EQ(lines[3], "1000000 terms of the series used");
  EXPECT_EQ(lines[4], "Convergence not reached");
  EXPECT_EQ(Count(lines, "(1000000 terms)"), 1);
  EXPECT_EQ(Count(lines, "(1000000 terms in the series)"), 3);
  EXPECT_EQ(Count(lines, "Nan") + Count(lines, "Inf"), 0);

  // A field beyond the range of the numbers: the lines so far, then the fault.
  FieldValues fields = DefaultValues(SpheresFieldDefs());
  fields["Ev1"] = "1e4932";
  const Result report = command_run::Run(SpheresFieldDefs(), &SpheresCommand, fields);
  EXPECT_EQ(report.status, CommandStatus::Fault);
  EXPECT_EQ(report.message, "Floating point overflow");
  ASSERT_EQ(report.lines.size(), 6u);
  EXPECT_EQ(report.lines.back().substr(0, 4), "ra: ");
}
