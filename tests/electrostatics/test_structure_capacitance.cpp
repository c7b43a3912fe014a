// Calculate of the general structure window: the report of the sample, its failure
// lines, and the physics against closed-form capacitances.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_session.h"
#include "transformer/report_match.h"
#include "numerics/library_namespaces.h"

namespace {

using Lines = std::vector<std::string>;

Lines Calc(const Lines& description, bool list = false, int workers = -1,
          StructureResults* results = nullptr) {
  StructureSession session;
  session.SetDescription(description);
  CommandEnv env;
  env.workers = workers;
  const Result r = RunCommand(
      StructureFieldDefs(),
      [&](const FieldValues&, CommandEnv& e) { return session.Calculate(list, e); }, {}, env);
  if (results) *results = session.Results();
  return r.lines;
}

std::string Number(Extended x) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.21Lg", x);
  return buf;
}

}  // namespace

TEST(StructureCalculate, SampleReport) {
  StructureResults results;
  const Lines lines = Calc(StructureSampleLines(), false, -1, &results);
  const Lines expected = {
      "",
      "Conductor 1: terminal",
      "Conductor 2: base",
      "Capacitance matrix:",
      "k[terminal,terminal]:  141.7593990422 pF",
      "k[terminal,base]:  -69.5030628774 pF",
      "k[base,base]:  141.7593990422 pF",
      "Total capacitance:  144.5126723296 pF",
      "Capacitance terminal-base:   69.5030628774 pF",
      "Capacitance terminal-infinity:   72.2563361648 pF",
      "Capacitance base-infinity:   72.2563361648 pF",
      "Charges:",
      "Conductor terminal:  2.112625E-0010 C",
      "Conductor base: -2.112625E-0010 C",
      "Forces:",
      "Conductor terminal: -9.800008E-0011 N",
      "Conductor base:  9.800008E-0011 N",
      "Electric fields and breakdown voltages (closed objects only):",
      "For all the objects at the same voltage (V/m/V):",
      "",  // the tie line, checked below
      "Breakdown voltage:  2357.7965 kV",
      "For conductor \"terminal\" charged and the others grounded (V/m/V):",
      "Min:    0.4802135956 (1) Max:    2.0304256734 (24)",
      "Breakdown voltage:  1477.5227 kV",
      "For conductor \"base\" charged and the others grounded (V/m/V):",
      "Min:    0.4802135956 (31) Max:    2.0304256734 (57)",
      "Breakdown voltage:  1477.5227 kV",
      "For the conductors charged as specified (V/m):",
      "\"terminal\" at  1.00 V: Min:   0.562993 (1) Max:   3.205779 (22)",
      "Differential breakdown voltage:  1871.6202 kV",
      "\"base\" at -1.00 V: Min:  -3.205779 (59) Max:  -0.562993 (31)",
      "Differential breakdown voltage:  1871.6202 kV",
  };
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (i != 19) {
      EXPECT_EQ(lines[i], expected[i]) << i;
    }
  // The extremes at 1 V are exact ties between mirror rings (11/41, 27/54).
  const std::string& tie = lines[19];
  EXPECT_TRUE(tie == "Min:    0.0491846492 (41) Max:    1.2723744210 (27)" ||
              tie == "Min:    0.0491846492 (11) Max:    1.2723744210 (27)" ||
              tie == "Min:    0.0491846492 (41) Max:    1.2723744210 (54)" ||
              tie == "Min:    0.0491846492 (11) Max:    1.2723744210 (54)")
      << tie;
  EXPECT_TRUE(results.completed);
  EXPECT_EQ(results.EemaxText, " 3.2058");
  ASSERT_EQ(results.rings.size(), 60u);
  // The ring charges of each plate add up to its charge.
  Extended q = 0;
  for (int i = 0; i < 30; ++i) q += results.rings[i].q;
  EXPECT_NEAR(static_cast<double>(q / 2.112625e-10L), 1.0, 1e-6);

  // Listing the ring fields adds a heading and one line per ring and case.
  const Lines listed = Calc(StructureSampleLines(), true);
  EXPECT_EQ(listed.size(), lines.size() + 1 + 60 + 60 + 60);
  EXPECT_EQ(listed[18], "Electric fields (V/m/V) at the rings:");
  EXPECT_TRUE(report_match::Matches(listed[19], "1 {15.10}")) << listed[19];
}

TEST(StructureCalculate, FailureLines) {
  // Two rings whose wires reach each other's centre line (the row of one in the matrix
  // would equal the other's).
  const Extended a = 1 / (2 * kPi);
  const std::string z = Number(a);
  struct Row {
    Lines description;
    Lines expected;
  };
  const Row rows[] = {
      {{"Lx a 501 0 0 1 0"}, {"Too many rings"}},
      // Negative counts lower the total, not the rings made.
      {{"Lx a 300 0 0 1 0", "Ly a 201 0 1 1 1", "Lz a -100 0 2 1 2"}, {"Too many rings"}},
      {{"Lx a 0 0 0 1 0", ".V b 2"}, {"", "The structure has no rings."}},
      // The same element twice: rings at the same place give a modulus of exactly 1.
      {{"Lx a 1 0 0 1 0", "Ly b 1 0 0 1 0"}, {"", "Invalid structure: rings 1 and 2 are coincident"}},
      {{"Lx a 1 0 0 1 0", "Ly a 1 0 " + z + " 1 " + z},
       {"", "Invalid structure: rings 1 and 2 overlap"}},
      {{"Lx a 1 0 0 1 0", "Wrong line"}, {"Unknown element: Wrong line"}},
  };
  for (const Row& r : rows) {
    StructureResults results;
    EXPECT_EQ(Calc(r.description, false, -1, &results), r.expected) << r.description.back();
    EXPECT_FALSE(results.completed);
  }
}

TEST(StructureCalculate, SingleConductorAndConductorWithoutRings) {
  const Lines one = Calc({"Cs ball 20 0 0 1 -90 90"});
  EXPECT_FALSE(report_match::HasLineStarting(one, "For conductor"));
  EXPECT_TRUE(report_match::HasLineStarting(one, "\"ball\" at  1.00 V: Min: "));
  EXPECT_FALSE(report_match::HasLineStarting(one, "Differential"));
  EXPECT_EQ(one.back().substr(0, 15), "\"ball\" at  1.00");

  const Lines two = Calc({"Cs ball 20 0 0 1 -90 90", ".V ghost 0"});
  EXPECT_TRUE(report_match::HasLineStarting(two, "Capacitance ball-ghost:    0.0000000000 pF"));
  int noRings = 0;
  for (const std::string& l : two) noRings += l == "The conductor ghost has no rings.";
  EXPECT_EQ(noRings, 2);  // one conductor charged, and at the .V potentials
}

TEST(StructureCalculate, SphereAndDiskTendToTheirExactCapacitances) {
  // A sphere of radius r: 4 pi eps0 r. A thin disk of radius r: 8 eps0 r (both faces;
  // the ring strips are sheets).
  const Extended eps0 = Eps0(), r = 0.5L;
  struct Row {
    const char* element;
    Extended exact;
    double tolerance;  // relative, at 200 rings
  };
  const Row rows[] = {{"Cs body %d 0 0 0.5 -90 90", 4 * kPi * eps0 * r, 1e-7},
                      {"Ld body %d 0 0 0.5 0", 8 * eps0 * r, 2e-3}};
  for (const Row& row : rows) {
    double previous = 1;
    for (int n : {25, 50, 100, 200}) {
      char line[64];
      std::snprintf(line, sizeof line, row.element, n);
      const Extended C = report_match::ValueAfter(Calc({line}), "Total capacitance: ") * 1e-12L;
      const double error = std::fabs(static_cast<double>(C / row.exact - 1));
      EXPECT_LT(error, previous) << line;
      previous = error;
    }
    EXPECT_LT(previous, row.tolerance) << row.element;
  }
}

TEST(StructureCalculate, CapacitanceMatrixAndThreads) {
  // Three unlike conductors: a sphere, a ring-shaped plate and a cylinder.
  const Lines description = {"Cs sphere 40 0 1 0.3 -90 90", "Lp plate 30 0.2 0 0.8 0",
                             "Lc can 40 1 -1 1 0.5", "Ltop can 20 0 0.5 1 0.5", ".V plate -1",
                             ".V can 0"};
  StructureResults one, two;
  const Lines a = Calc(description, true, 0, &one);
  const Lines b = Calc(description, true, 2, &two);
  EXPECT_EQ(a, b);  // bit for bit, whatever the threads
  ASSERT_TRUE(one.completed);
  for (std::size_t i = 0; i < one.rings.size(); ++i) EXPECT_EQ(one.rings[i].q, two.rings[i].q);
  for (int m = 1; m <= 3; ++m) {
    EXPECT_GT(one.Cc(m, m), 0);
    Extended row = 0;
    for (int n = 1; n <= 3; ++n) {
      row += one.Cc(m, n);
      if (n == m) continue;
      EXPECT_LT(one.Cc(m, n), 0) << m << " " << n;
      EXPECT_NEAR(static_cast<double>(one.Cc(m, n) / one.Cc(n, m)), 1.0, 1e-12) << m << " " << n;
    }
    EXPECT_GT(row, 0);  // each conductor alone has a positive capacitance to infinity
  }
}
