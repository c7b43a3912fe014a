// The conical sheet: Report lines, the ring table, degenerate inputs, and the flat
// disk against its exact capacitance 8 eps0 a (Cavendish; Smythe 5.03).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command_run.h"
#include "electrostatics/conical_sheet.h"
#include "electrostatics/ring_kernel.h"
#include "numerics/format.h"
#include "transformer/report_match.h"
#include "numerics/library_namespaces.h"

using report_match::Matches;

namespace {

std::vector<std::string> Sheet(const FieldValues& changes, const std::string& dir = {}) {
  FieldValues f = DefaultValues(SheetFieldDefs());
  for (const auto& [k, v] : changes) f[k] = v;
  CommandEnv env;
  env.directory = dir;
  return command_run::LinesOf(SheetFieldDefs(), &SheetCommand, f, env);
}

Extended ValueAfter(const std::vector<std::string>& lines, const std::string& label) {
  for (const std::string& l : lines)
    if (l.rfind(label, 0) == 0) return std::stold(l.substr(label.size()));
  ADD_FAILURE() << "no line " << label;
  return 0;
}

Extended DiskCapacitance(int n) {
  return ValueAfter(Sheet({{"Eidiameter", "0"}, {"Eheight", "0"}, {"Ensheet", IntStr(n)}}),
                    "Capacitance: ");
}

}  // namespace

TEST(ConicalSheet, DefaultReportLinesListAndTable) {
  std::string dir = ::testing::TempDir() + "quor_sheet_XXXXXX";
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  const auto lines = Sheet({{"CBlsheet", "1"}, {"CBssheet", "1"}}, dir);
  ASSERT_EQ(lines.size(), 2u + 1 + 20 + 1 + 3);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "Thin sheet: id: 0.30 od: 0.90 h: 0.50 decomposed in 20 thin rings:");
  EXPECT_EQ(lines[2], "Capacitances and total surface electric fields at the rings (pF,(V/m)/V)");
  EXPECT_EQ(lines[23], "Ring capacitances and total surface fields saved in file \"sheet20.tab\"");
  EXPECT_TRUE(Matches(lines[24], "Capacitance: {15.10} pF")) << lines[24];
  EXPECT_TRUE(Matches(lines[25], "Maximum sum of electric fields at both surfaces: {12.10} V/m/V"));
  EXPECT_TRUE(Matches(lines[26], "Minimum sum of electric fields at both surfaces: {12.10} V/m/V"));

  std::ifstream in(dir + "/sheet20.tab", std::ios::binary);
  std::string row;
  Extended sum = 0;
  for (int i = 1; i <= 20; ++i) {
    ASSERT_TRUE(std::getline(in, row));
    ASSERT_EQ(row.back(), '\r');
    row.pop_back();
    EXPECT_TRUE(Matches(row, "{12.10} {12.10} {15.10} {15.10}")) << row;
    EXPECT_TRUE(Matches(lines[2 + i], IntStr(i) + " {12.5} {12.5} {15.10} {15.10}")) << lines[2 + i];
    // Ring i at the middle of strip i of the generator from (0.15, 0) to (0.45, 0.5).
    std::istringstream fields(row);
    Extended rho, z, q;
    fields >> rho >> z >> q;
    EXPECT_NEAR(static_cast<double>(rho), 0.15 + 0.3 * (i - 0.5) / 20, 1e-10);
    EXPECT_NEAR(static_cast<double>(z), 0.5 * (i - 0.5) / 20, 1e-10);
    sum += q;
  }
  EXPECT_FALSE(std::getline(in, row));
  EXPECT_NEAR(static_cast<double>(sum / ValueAfter(lines, "Capacitance: ")), 1.0, 1e-9);
}

TEST(ConicalSheet, FlatDiskConvergesToTheExactCapacitance) {
  // An isolated thin disk of diameter Do holds C = 4 eps0 Do. The ring model errs
  // at the rim, where the charge density grows like 1/sqrt(distance to the edge),
  // and the error must shrink steadily as the rings multiply.
  const Extended exact = 4 * Eps0() * 0.9L / 1e-12L;  // 31.876 pF
  Extended last = 1;
  for (int n : {20, 50, 100, 200}) {
    const Extended error = std::fabs(DiskCapacitance(n) / exact - 1);
    EXPECT_LT(error, last) << n;
    last = error;
  }
  EXPECT_LT(last, 0.005);
  EXPECT_NEAR(static_cast<double>(DiskCapacitance(100)), 31.8, 0.1);
  // The first ring sits at half a step from the centre, in the plane.
  const auto listed = Sheet({{"Eidiameter", "0"}, {"Eheight", "0"}, {"CBlsheet", "1"}});
  EXPECT_TRUE(Matches(listed[3], "1      0.01125      0.00000 {15.10} {15.10}")) << listed[3];
}

TEST(ConicalSheet, CylinderTallerHoldsMore) {
  // Equal diameters: an open tube, every ring of the same radius. Its capacitance
  // grows with its length and exceeds that of the disk it stands on.
  const auto tube = [](const char* h) {
    return ValueAfter(Sheet({{"Eidiameter", "0.9"}, {"Eheight", h}, {"Ensheet", "60"}}), "Capacitance: ");
  };
  EXPECT_LT(tube("0.5"), tube("1.0"));
  EXPECT_GT(tube("1.0"), DiskCapacitance(60));
}

TEST(ConicalSheet, InputsThatMakeNoSheetStopWithTheirMessage) {
  struct Row {
    FieldValues changes;
    std::vector<std::string> tail;  // the lines after the empty one
  };
  const std::string title = "Thin sheet: id: 0.30 od: 0.90 h: 0.50 decomposed in ";
  const Row rows[] = {
      {{{"Ensheet", "201"}}, {"Too many rings"}},
      {{{"Ensheet", "0"}}, {"The number of rings must be at least 1"}},
      {{{"Ensheet", "-1"}}, {"The number of rings must be at least 1"}},
      {{{"Eidiameter", "0.9"}, {"Eheight", "0"}},
       {"Thin sheet: id: 0.90 od: 0.90 h: 0.00 decomposed in 20 thin rings:",
        "Invalid structure: the sheet has zero length (equal diameters and height 0)"}},
      {{{"Eidiameter", "0"}, {"Eodiameter", "0"}},
       {"Thin sheet: id: 0.00 od: 0.00 h: 0.50 decomposed in 20 thin rings:",
        "Invalid structure: ring 1 has radius zero"}},
      {{{"Eidiameter", "-0.3"}},
       {"Thin sheet: id: -0.30 od: 0.90 h: 0.50 decomposed in 20 thin rings:",
        "Invalid structure: the diameters must not be negative"}},
      {{{"Edivisor", "1e-30"}},
       {title + "20 thin rings:", "Invalid structure: rings 1 and 2 overlap"}},
  };
  for (const Row& r : rows) {
    std::vector<std::string> expected{""};
    expected.insert(expected.end(), r.tail.begin(), r.tail.end());
    EXPECT_EQ(Sheet(r.changes), expected) << r.tail.back();
  }
  EXPECT_EQ(Sheet({{"Ensheet", "200"}}).size(), 5u);
}

TEST(ConicalSheet, DrawingOfTheDefaults) {
  RecordingCanvas canvas(kPBsheetWidth, kPBsheetHeight);
  PaintSheet(DefaultValues(SheetFieldDefs()), canvas);
  int circles = 0, arcs = 0;
  for (const std::string& c : canvas.calls) {
    circles += c.rfind("Ellipse", 0) == 0;
    arcs += c.rfind("Arc", 0) == 0;
  }
  EXPECT_EQ(circles, 40);   // each ring on both sides
  EXPECT_EQ(arcs, 2 + 20);  // the two edges, each ring in perspective
  // Nothing to draw without rings but the frame, the axes and the sheet's outline.
  RecordingCanvas empty(kPBsheetWidth, kPBsheetHeight);
  PaintSheet({{"Ensheet", "0"}}, empty);
  EXPECT_EQ(empty.calls.back().rfind("TextOut 3 3 ", 0), 0u) << empty.calls.back();
}
