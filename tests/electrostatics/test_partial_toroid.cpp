// The partial toroid: Report lines, the ring table, degenerate inputs, the drawing and
// the probe, and the capacitance against the exact toroid as the rings multiply.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "electrostatics/partial_toroid.h"
#include "electrostatics/ring_kernel.h"
#include "electrostatics/toroid.h"
#include "command_run.h"
#include "numerics/file_write.h"
#include "numerics/format.h"
#include "transformer/report_match.h"
#include "numerics/library_namespaces.h"

using report_match::Matches;

namespace {

std::vector<std::string> Partial(const FieldValues& changes, const std::string& dir = {},
                             const std::vector<std::pair<int, int>>& probes = {}) {
  FieldValues f = DefaultValues(PartialFieldDefs());
  for (const auto& [k, v] : changes) f[k] = v;
  CommandEnv env;
  env.directory = dir;
  for (const auto& [x, y] : probes) env.probes.push_back({x, y});
  return command_run::LinesOf(PartialFieldDefs(), &PartialCommand, f, env);
}

// The number after a label in the line that begins with it.
Extended ValueAfter(const std::vector<std::string>& lines, const std::string& label) {
  for (const std::string& l : lines)
    if (l.rfind(label, 0) == 0) return std::stold(l.substr(label.size()));
  ADD_FAILURE() << "no line " << label;
  return 0;
}

std::string FreshDir() {
  std::string dir = ::testing::TempDir() + "quor_partial_XXXXXX";
  EXPECT_NE(::mkdtemp(dir.data()), nullptr);
  return dir;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The exact capacitance of the complete toroid, pF.
Extended ExactToroidPf(Extended D, Extended d) {
  VectorReport quiet;
  return ExactToroidCapacitance(D, d, Eps0(), ToroidSwitches{}, quiet) / 1e-12L;
}

PartialState Solved(const FieldValues& changes = {}) {
  FieldValues f = DefaultValues(PartialFieldDefs());
  for (const auto& [k, v] : changes) f[k] = v;
  PartialState s;
  CommandEnv env;
  RunCommand(
      PartialFieldDefs(),
      [&s](const FieldValues& fields, CommandEnv& e) { return CalculatePartial(fields, s, e); },
      f, env);
  return s;
}

}  // namespace

TEST(PartialToroid, DefaultReportLines) {
  const std::vector<std::string> lines = Partial({});
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "Partial 0.90x0.30 toroid decomposed in 20 thin rings:");
  EXPECT_TRUE(Matches(lines[2], "Capacitance: {15.10} pF")) << lines[2];
  EXPECT_TRUE(Matches(lines[3], "Maximum electric field at the surface: {12.10} V/m/V")) << lines[3];
  EXPECT_TRUE(Matches(lines[4], "Minimum electric field at the surface: {12.10} V/m/V")) << lines[4];
  EXPECT_TRUE(Matches(lines[5], "Minimum field/maximum field: {12.10}")) << lines[5];
  EXPECT_TRUE(Matches(lines[6], "Maximum breakdown voltage: {10.5} kV")) << lines[6];
  // Within 0.02 % of the exact toroid already with 20 rings, the field within 0.5 %.
  VectorReport quiet;
  EXPECT_NEAR(static_cast<double>(ValueAfter(lines, "Capacitance: ") / ExactToroidPf(0.9L, 0.3L)),
              1.0, 2e-4);
  EXPECT_NEAR(static_cast<double>(ValueAfter(lines, "Maximum electric field at the surface: ") /
                                  ExactToroidMaxField(0.9L, 0.3L, ToroidSwitches{}, quiet)),
              1.0, 5e-3);
  // Breakdown voltage = Emax/Emaxring with Emax = 3000 kV/m; a full turn has no warning.
  EXPECT_NEAR(static_cast<double>(ValueAfter(lines, "Maximum breakdown voltage: ") *
                                  ValueAfter(lines, "Maximum electric field at the surface: ")),
              3000.0, 1e-4);
}

TEST(PartialToroid, CapacitanceConvergesToTheExactToroidAsRingsMultiply) {
  // A fat and a thin toroid; the ring model's error shrinks steadily with n.
  for (const auto& [D, d] : {std::pair{"0.9", "0.3"}, std::pair{"1.2", "0.1"}}) {
    const Extended exact = ExactToroidPf(std::stold(D), std::stold(d));
    Extended last = 1;
    for (const char* n : {"20", "50", "100", "200"}) {
      const Extended C = ValueAfter(Partial({{"Epmajor", D}, {"Epminor", d}, {"Enrings", n}}),
                                    "Capacitance: ");
      const Extended error = std::fabs(C / exact - 1);
      EXPECT_LT(error, last) << D << "x" << d << " n=" << n;
      last = error;
    }
    EXPECT_LT(last, 2e-5) << D << "x" << d;
  }
}

TEST(PartialToroid, ExactSeriesOnTheSurfaceAgreesWithTheToroidWindow) {
  // On the tube the exact potential is 1 V; the surface field at the outer equator is
  // the toroid's maximum field, and eps0 times the surface field integrated over the
  // whole tube is its charge at 1 V, the exact capacitance (Gauss): the same answer
  // from the other series.
  const Extended D = 0.9L, d = 0.3L, a0 = d / 2, R0 = (D - d) / 2;
  VectorReport quiet;
  const Extended Emax = ExactToroidMaxField(D, d, ToroidSwitches{}, quiet);
  const int steps = 240;
  Extended charge = 0;
  for (int i = 0; i < steps; ++i) {
    const Extended t = 2 * kPi * i / steps;
    const Extended r = R0 + a0 * std::cos(t), z = a0 * std::sin(t);
    const ExactToroidPoint e = ExactToroidAt(D, d, r, z);
    ASSERT_TRUE(e.defined);
    EXPECT_NEAR(static_cast<double>(e.V), 1.0, 1e-7) << t;
    if (i == 0) {
      EXPECT_NEAR(static_cast<double>(e.Es / Emax), 1.0, 1e-7);
      EXPECT_NEAR(static_cast<double>(e.Eeta / Emax), 1.0, 1e-7);
    }
    // The mirror point: the same potential and field magnitude.
    EXPECT_NEAR(static_cast<double>(ExactToroidAt(D, d, -r, z).V), 1.0, 1e-7);
    charge += Eps0() * e.Es * 2 * kPi * r * a0 * (2 * kPi / steps);
  }
  EXPECT_NEAR(static_cast<double>(charge / 1e-12L / ExactToroidPf(D, d)), 1.0, 1e-7);
  // No toroidal coordinates on the axis or on the focal circle.
  const Extended c = std::sqrt(R0 * R0 - a0 * a0);
  EXPECT_FALSE(ExactToroidAt(D, d, 0, 0.2L).defined);
  EXPECT_FALSE(ExactToroidAt(D, d, c, 0).defined);
  EXPECT_FALSE(ExactToroidAt(D, d, -c, 0).defined);
}

TEST(PartialToroid, HalfBandIsWarnedAndMirrorsTheOtherHalf) {
  const auto upper = Partial({{"Efangle", "180"}});
  const auto lower = Partial({{"Eiangle", "180"}, {"Efangle", "360"}});
  EXPECT_EQ(upper.back(), "Warning: the electric fields are not at a single side in an open object");
  // The lower half is the upper one reflected in the equatorial plane.
  const Extended cu = ValueAfter(upper, "Capacitance: "), cl = ValueAfter(lower, "Capacitance: ");
  EXPECT_NEAR(static_cast<double>(cu / cl), 1.0, 1e-9);
  // Half the surface holds more than half the charge of the whole (edges), less than all.
  const Extended whole = ValueAfter(Partial({}), "Capacitance: ");
  EXPECT_GT(cu, whole / 2);
  EXPECT_LT(cu, whole);
}

TEST(PartialToroid, RingCountsOutsideTheTableStopAfterTheTitle) {
  struct Row {
    const char* n;
    const char* message;
  };
  for (const Row& r : {Row{"201", "Too many rings"}, Row{"0", "The number of rings must be at least 1"},
                       Row{"-5", "The number of rings must be at least 1"}}) {
    const auto lines = Partial({{"Enrings", r.n}});
    ASSERT_EQ(lines.size(), 3u) << r.n;
    EXPECT_EQ(lines[2], r.message);
  }
  // A count that is no number is refused before the title.
  EXPECT_EQ(Partial({{"Enrings", "x"}}),
            std::vector<std::string>{
                "Invalid number in \"Number of rings\": x (use \".\" as the decimal point)"});
  const auto full = Partial({{"Enrings", "200"}});
  EXPECT_EQ(full[1], "Partial 0.90x0.30 toroid decomposed in 200 thin rings:");
  EXPECT_EQ(full.size(), 7u);
}

TEST(PartialToroid, DegenerateStructuresStopWithTheirMessage) {
  // Two turns of the band put ring 2 on ring 1; a wire radius of astronomic size makes
  // every wire reach over its neighbours. Neither is followed by a capacitance.
  const auto twice = Partial({{"Efangle", "720"}, {"Enrings", "2"}});
  EXPECT_EQ(twice.back(), "Invalid structure: rings 1 and 2 are coincident");
  const auto flat = Partial({{"Ealfa", "1e-30"}});
  EXPECT_EQ(flat.back(), "Invalid structure: rings 1 and 2 overlap");
  EXPECT_EQ(flat.size(), 3u);
}

TEST(PartialToroid, TableFileAndListingAgree) {
  const std::string dir = FreshDir();
  const auto lines = Partial({{"CBlistar", "1"}, {"CBsalvar", "1"}}, dir);
  ASSERT_EQ(lines.size(), 2u + 1 + 20 + 1 + 5);
  EXPECT_EQ(lines[2], "Capacitances and surface electric fields at the rings (pF,(V/m)/V)");
  EXPECT_EQ(lines[23], "Ring capacitances and total surface fields saved in file \"torus20.tab\"");
  const std::string table = Slurp(dir + "/torus20.tab");
  std::istringstream in(table);
  std::string row;
  Extended sum = 0;
  for (int i = 1; i <= 20; ++i) {
    ASSERT_TRUE(std::getline(in, row));
    ASSERT_EQ(row.back(), '\r');
    row.pop_back();
    EXPECT_TRUE(Matches(row, "{12.10} {15.10} {15.10}")) << row;
    // Listing: i, angle in degrees, charge, field; file: angle in radians, same rest.
    const std::string& listed = lines[2 + i];
    EXPECT_TRUE(Matches(listed, IntStr(i) + " {12.5} {15.10} {15.10}")) << listed;
    EXPECT_EQ(listed.substr(listed.size() - 31), row.substr(row.size() - 31));
    std::istringstream fields(row);
    Extended theta, q;
    fields >> theta >> q;
    EXPECT_NEAR(static_cast<double>(theta), (i - 0.5) * 2 * M_PI / 20, 1e-10);
    sum += q;
  }
  EXPECT_FALSE(std::getline(in, row));
  EXPECT_NEAR(static_cast<double>(sum / ValueAfter(lines, "Capacitance: ")), 1.0, 1e-9);
}

TEST(PartialToroid, UnwritableTableLeavesNoFileAndNamesIt) {
  const std::string dir = FreshDir() + "/missing";
  CommandEnv env;
  env.directory = dir;
  const Result r = command_run::Run(PartialFieldDefs(), &PartialCommand, {{"CBsalvar", "1"}}, env);
  EXPECT_EQ(r.status, CommandStatus::Fault);
  EXPECT_NE(r.message.find("torus20.tab"), std::string::npos) << r.message;
  EXPECT_EQ(::access((dir + "/torus20.tab").c_str(), F_OK), -1);
}

TEST(PartialToroid, DrawingStaysOnTheCanvasForAnyInput) {
  // Every coordinate a drawing passes lies within a few widths of the canvas; a ring
  // count outside the table draws the tube and a note instead of rings.
  const std::vector<FieldValues> inputs = {
      {}, {{"Enrings", "0"}}, {{"Enrings", "2000000000"}}, {{"Epmajor", "0"}, {"Epminor", "0"}},
      {{"Ealfa", "0"}}, {{"Epminor", "-0.3"}}, {{"Efracao", "0"}, {"Efangle", "90"}}};
  for (const FieldValues& changes : inputs) {
    FieldValues f = DefaultValues(PartialFieldDefs());
    for (const auto& [k, v] : changes) f[k] = v;
    RecordingCanvas canvas(kPBpartialWidth, kPBpartialHeight);
    PartialState s;
    PaintPartial(f, s, canvas);
    ASSERT_FALSE(canvas.calls.empty());
    int ellipses = 0;
    for (const std::string& call : canvas.calls) {
      std::istringstream words(call);
      std::string op;
      words >> op;
      ellipses += op == "Ellipse";
      if (op == "TextOut" || op == "PenColor" || op == "BrushColor") continue;
      for (long v; words >> v;) ASSERT_LT(std::labs(v), 20000) << call;
    }
    if (changes.empty()) {
      EXPECT_EQ(ellipses, 40);  // a blue and a green circle per ring
    }
  }
}

TEST(PartialToroid, ProbeAnswersOnlyAfterCalculateUntilTheNextRepaint) {
  PartialState s = Solved();
  ASSERT_TRUE(s.PartialSolved);
  VectorReport report;
  ProbePartial(s, 500, 120, report);
  ASSERT_FALSE(report.lines.empty());
  EXPECT_TRUE(Matches(report.lines[0], "r: {5.3} z: {5.3} V: {8.6} Er: {8.6} Ez: {8.6} |E|: {8.6}"))
      << report.lines[0];
  NullCanvas canvas(kPBpartialWidth, kPBpartialHeight);
  PaintPartial(DefaultValues(PartialFieldDefs()), s, canvas);
  VectorReport after;
  ProbePartial(s, 500, 120, after);
  EXPECT_TRUE(after.lines.empty());
}

TEST(PartialToroid, ProbeRingSumsNearTheSurfaceAndOnARing) {
  // Close to the tube's surface the potential of the ring charges is about 1 V, and so
  // is the exact one; the lines follow the ring sums in their layout.
  PartialState s = Solved({{"Enrings", "100"}});
  for (const auto& [r, z] : {std::pair{s.R, s.a0}, std::pair{-s.R - s.a0, 0.0L}}) {
    VectorReport report;
    ProbePartial(s, static_cast<int>(std::llrint(s.SX * r + s.OX)),
                 static_cast<int>(std::llrint(s.SY * z + s.OY)), report);
    const std::vector<std::string>& l = report.lines;
    ASSERT_EQ(l.size(), 5u);
    EXPECT_NEAR(static_cast<double>(std::stold(l[0].substr(l[0].find(" V: ") + 4))), 1.0, 0.01);
    EXPECT_EQ(l[1], "For complete toroid, valid at the outer side:");
    EXPECT_TRUE(Matches(l[2], "Exact potential: {15.10} ({I} terms)")) << l[2];
    EXPECT_NEAR(static_cast<double>(ValueAfter(l, "Exact potential: ")), 1.0, 0.01);
    EXPECT_TRUE(Matches(l[3], "Exact electric field (surface or horizontal axis): {15.10} V/m/V"));
    EXPECT_TRUE(Matches(l[4], "Exact electric field (surface only): {15.10} V/m/V"));
  }

  // A click right on the centre line of ring 7: a clear line, no fault.
  s.SX = 1;
  s.SY = -1;
  s.OX = -s.rho[6];
  s.OY = s.z[6];
  VectorReport report;
  ProbePartial(s, 0, 0, report);
  ASSERT_FALSE(report.lines.empty());
  EXPECT_NE(report.lines[0].find(" lies on ring 7: the ring sums are infinite there"),
            std::string::npos) << report.lines[0];
}

TEST(PartialToroid, ProbeOfAToroidWithoutHole) {
  const auto lines = Partial({{"Epmajor", "0.6"}}, {}, {{400, 100}});
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.back(), "This is not a toroid.");
  EXPECT_TRUE(Matches(lines[lines.size() - 2], "r: {5.3} z: {5.3} V: {8.6} Er: {8.6} Ez: {8.6} |E|: {8.6}"));
}
