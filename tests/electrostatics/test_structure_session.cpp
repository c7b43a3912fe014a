// The structure session: Calculate writes what the parse and the calculation write,
// the view window lives between commands, Probe reads the charges of the last
// calculation through the last drawing, and the one command runs them in the order
// of the window.
#include "electrostatics/structure_session.h"

#include <gtest/gtest.h>

#include <cmath>

#include "command_run.h"
#include "electrostatics/structure_probe.h"
#include "numerics/library_namespaces.h"

namespace {

using Lines = std::vector<std::string>;

Result Calculate(StructureSession& s, CommandEnv env = {}) {
  return RunCommand(
      StructureFieldDefs(),
      [&s](const FieldValues&, CommandEnv& e) { return s.Calculate(false, e); }, {}, env);
}

// The potential the probe line shows, "... V: <value> Er: ...".
Extended ProbedV(const std::string& line) {
  const std::size_t at = line.find(" V: ");
  return std::stold(line.substr(at + 4));
}

TEST(StructureSession, CalculateWritesTheParseAndTheCalculation) {
  // The same lines as the parse and the calculation called one after the other.
  VectorReport parts;
  const StructureDescription d = ParseDescription(StructureSampleLines(), parts);
  const StructureResults direct = CalculateStructure(d, false, BreakdownField{}, parts);
  StructureSession session;
  const Result r = Calculate(session);
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(r.lines, parts.lines);
  EXPECT_TRUE(session.Calculated());
  EXPECT_EQ(session.Results().rings.size(), direct.rings.size());
  EXPECT_EQ(session.Results().EemaxText, direct.EemaxText);
}

TEST(StructureSession, RefusalsKeepTheViewAndTheLastResults) {
  StructureSession session;
  ASSERT_TRUE(Calculate(session).Ok());
  const ViewWindow fitted = session.Window();
  NullCanvas area(kStructureAreaSize, kStructureAreaSize);
  session.ChangeView(ViewChange::ZoomIn, area);
  EXPECT_EQ(session.Window().RMax, fitted.RMax * 0.75L);

  // The same description again: no new parse, the zoom stays.
  EXPECT_TRUE(Calculate(session).Ok());
  EXPECT_EQ(session.Window().RMax, fitted.RMax * 0.75L);

  // A description that stops the parse: its line ends the command, the view window
  // stays as it was, and there is nothing to probe.
  session.SetDescription({"Ltop a 3 0 1 1 1", "Qbad a 3 0 0 1 1"});
  const Result bad = Calculate(session);
  EXPECT_EQ(bad.status, CommandStatus::Refused);
  EXPECT_EQ(bad.message, "Unknown element: Qbad a 3 0 0 1 1");
  EXPECT_EQ(bad.lines.back(), bad.message);
  EXPECT_EQ(session.Window().RMax, fitted.RMax * 0.75L);
  EXPECT_FALSE(session.Calculated());
  VectorReport probe;
  session.Probe(240, 240, probe);
  EXPECT_TRUE(probe.lines.empty());

  // A structure the calculation refuses after a parse that finished.
  session.SetDescription({"La a 3 0 0 1 0", "Lb a 3 0 0 1 0"});
  const Result coincident = Calculate(session);
  EXPECT_EQ(coincident.status, CommandStatus::Refused);
  EXPECT_EQ(coincident.message, "Invalid structure: rings 1 and 4 are coincident");
}

TEST(StructureSession, ProbeReadsTheChargesThroughTheLastDrawing) {
  StructureSession session;
  ASSERT_TRUE(Calculate(session).Ok());
  const ScreenMapping& view = session.ViewTransform();
  // The plates stand at +1 V (terminal, z from 0.5 to 1) and -1 V (base, the mirror
  // image): on the middle of the top face of each the potential is its own, within
  // what the gaps between thin rings and the rounding of the pixel leave (a few per
  // cent); far out it falls towards 0.
  struct Point {
    Extended r, z, V, tolerance;
  };
  for (const Point& p : {Point{0.5L, 1.0L, 1, 0.05L}, Point{0.5L, -1.0L, -1, 0.05L},
                         Point{0.5L, 0.0L, 0, 0.02L}}) {
    VectorReport line;
    const int X = ViewX(view, p.r), Y = ViewY(view, p.z);
    session.Probe(X, Y, line);
    ASSERT_EQ(line.lines.size(), 1u);
    EXPECT_EQ(line.lines[0],
              ProbeLine(session.Results().rings, session.Results().eps0, view, X, Y));
    EXPECT_NEAR(static_cast<double>(ProbedV(line.lines[0])), static_cast<double>(p.V),
                static_cast<double>(p.tolerance))
        << line.lines[0];
  }
}

TEST(StructureSession, PlotStopsWhenAsked) {
  StructureSession session;
  ASSERT_TRUE(Calculate(session).Ok());
  const PlotRequest request = session.PlotRequestOf({});
  ASSERT_TRUE(request.error.empty());
  EXPECT_EQ(request.quantity, PlotQuantity::Potential);
  RecordingCanvas canvas(kStructureAreaSize, kStructureAreaSize);
  PlotControl control;
  int rows = 0;
  control.pump = [&] { ++rows; };
  control.stopRequested = [&] { return rows == 3; };
  EXPECT_FALSE(session.Plot(request, canvas, control));
  EXPECT_EQ(rows, 3);
  EXPECT_FALSE(canvas.calls.empty());
  // An empty field scale takes the calculation's, as the window's field shows it; a
  // quantity of no known letter is refused by its own line.
  EXPECT_EQ(session.PlotRequestOf({{"CBplotar", "Total"}}).fieldScale,
            std::stold(session.Results().EemaxText));
  EXPECT_EQ(session.PlotRequestOf({{"CBplotar", "Xtra"}}).error,
            "Unknown plot quantity: Xtra (the first letter chooses: P, R, A or T)");
}

TEST(StructureCommand, CalculateThenPlotThenProbesAsTheWindowDoesThem) {
  StructureSession session;
  ASSERT_TRUE(Calculate(session).Ok());
  VectorReport probeLine;
  session.Probe(300, 100, probeLine);

  // Without a canvas: Calculate and the probes; no plot.
  CommandEnv env;
  env.probes = {{300, 100}};
  const Result r = command_run::Run(StructureWindowFieldDefs(), &StructureCommand, {}, env);
  ASSERT_TRUE(r.Ok());
  Lines expected = Calculate(session).lines;
  expected.push_back(probeLine.lines[0]);
  EXPECT_EQ(r.lines, expected);

  // With a canvas and a plot its fields refuse: the line, the probes still answer.
  RecordingCanvas canvas(kStructureAreaSize, kStructureAreaSize);
  env.canvas = &canvas;
  const Result refused =
      command_run::Run(StructureWindowFieldDefs(), &StructureCommand, {{"CBplotar", "?"}}, env);
  EXPECT_EQ(refused.status, CommandStatus::Refused);
  EXPECT_EQ(refused.lines.back(), probeLine.lines[0]);
  EXPECT_EQ(refused.lines[refused.lines.size() - 2], refused.message);

  // The description is a field: a line feed between its lines, as the window's text.
  const Result two = command_run::Run(StructureWindowFieldDefs(), &StructureCommand,
                                      {{"Mlista", "La a 2 0 0 1 0\nLb b 2 0 1 1 1"}});
  ASSERT_TRUE(two.Ok());
  EXPECT_EQ(two.lines[1], "Conductor 1: a");
  EXPECT_EQ(two.lines[2], "Conductor 2: b");
}

}  // namespace
