// Colour plots, the probe and the view of the structure window, on the sample and on
// a ring placed exactly on a plot point.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/structure_plot.h"
#include "electrostatics/structure_probe.h"
#include "electrostatics/structure_view.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/format.h"
#include "numerics/library_namespaces.h"

namespace {

using Calls = std::vector<std::string>;

struct Sample {
  StructureDescription d;
  StructureResults results;
  ScreenMapping view;
};

const Sample& TheSample() {
  static const Sample s = [] {
    Sample s;
    VectorReport msg;
    s.d = ParseDescription(StructureSampleLines(), msg);
    s.results = CalculateStructure(s.d, false, BreakdownField{}, msg, nullptr);
    s.view = StructureViewTransform(s.d.view, 481, 481);
    return s;
  }();
  return s;
}

FieldPlot SamplePlot(PlotQuantity q, bool fast, const ScreenMapping& view, int size = 481) {
  const Sample& s = TheSample();
  return FieldPlot(s.results.rings, s.results.eps0, q, PlotScaleOf(q, s.d.VMin, s.d.VMax, 3.2L),
                   GreyRamp(), view, size, size, fast);
}

// The FillRect calls of a recording, without the brush colours.
Calls Fills(const Calls& calls) {
  Calls fills;
  for (const std::string& c : calls)
    if (c.rfind("FillRect", 0) == 0) fills.push_back(c);
  return fills;
}

}  // namespace

TEST(StructurePlot, ColumnsFromTheAxisAndTheirMirrorImages) {
  const ScreenMapping& v = TheSample().view;
  EXPECT_EQ(v.OX, 240.5L);
  const PlotColumns c = PlotColumnsFor(v, 481);
  EXPECT_TRUE(c.mirror);
  EXPECT_EQ(c.X0, 240);
  EXPECT_EQ(c.first, 240);
  EXPECT_EQ(c.last, 481);

  // Single pixels: 240 ... 481, each but the axis column mirrored; 481's mirror is -1.
  const FieldPlot single = SamplePlot(PlotQuantity::Potential, false, v);
  RecordingCanvas canvas(481, 481);
  single.PaintRow(canvas, 7, single.ComputeRow(7));
  const Calls fills = Fills(canvas.calls);
  ASSERT_EQ(fills.size(), 242u + 241u);
  EXPECT_EQ(fills[0], "FillRect 240 7 241 8");
  EXPECT_EQ(fills[1], "FillRect 241 7 242 8");
  EXPECT_EQ(fills[2], "FillRect 239 7 240 8");
  EXPECT_EQ(fills.back(), "FillRect -1 7 0 8");

  // Fast: 5 x 5 blocks at 240, 245, ... 480 and rows 0, 5, ... 480, each mirrored
  // column for column about column 240: the block on the axis into the four columns
  // left of it, the block 245 ... 249 onto 231 ... 235, the last one onto -4 ... 0.
  const FieldPlot fast = SamplePlot(PlotQuantity::Potential, true, v);
  EXPECT_EQ(fast.Rows(), 97);
  RecordingCanvas blocks(481, 481);
  fast.PaintRow(blocks, 96, fast.ComputeRow(96));
  const Calls f = Fills(blocks.calls);
  ASSERT_EQ(f.size(), 49u + 49u);
  EXPECT_EQ(f[0], "FillRect 240 480 245 485");
  EXPECT_EQ(f[1], "FillRect 236 480 240 485");
  EXPECT_EQ(f[2], "FillRect 245 480 250 485");
  EXPECT_EQ(f[3], "FillRect 231 480 236 485");
  EXPECT_EQ(f[96], "FillRect 480 480 485 485");
  EXPECT_EQ(f[97], "FillRect -4 480 1 485");

  // The axis off the area: every column, none mirrored; far right of the middle: from
  // X0 to 2 X0 + 3.
  const PlotColumns off = PlotColumnsFor(StructureViewTransform({3, 0.5L, 1, -1}, 481, 481), 481);
  EXPECT_EQ(std::tuple(off.mirror, off.first, off.last), std::tuple(false, 0, 480));
  const PlotColumns right = PlotColumnsFor(StructureViewTransform({1, -2, 1, -1}, 481, 481), 481);
  EXPECT_EQ(std::tuple(right.mirror, right.X0, right.last), std::tuple(true, 314, 631));
}

TEST(StructurePlot, ColourIndexRoundsToEvenAndSilverOutsideTheScale) {
  // |E| from 0 to 255 V/m: the value is the unrounded index.
  const PlotScale scale = PlotScaleOf(PlotQuantity::Total, -1, 1, 255);
  EXPECT_EQ(std::tuple(scale.low, scale.high, scale.range), std::tuple(0.0L, 255.0L, 255.0L));
  const Palette grey = GreyRamp();
  const std::pair<Extended, Color> rows[] = {
      {0, 0x000000},      {255, 0xFFFFFF},  // the ends of the scale
      {255.4L, 0xFFFFFF}, {255.6L, kSilver},  // just above high: within or beyond half a step
      {-0.5L, 0x000000},  {-0.6L, kSilver},  {127.5L, 0x808080}, {128.5L, 0x808080},  // ties
      {std::numeric_limits<Extended>::infinity(), kSilver}, {std::numeric_limits<Extended>::quiet_NaN(), kSilver},
  };
  for (const auto& [v, colour] : rows) EXPECT_EQ(PlotColor(v, scale, grey), colour) << v;
  const PlotScale axial = PlotScaleOf(PlotQuantity::Axial, -1, 1, 3);
  EXPECT_EQ(std::tuple(axial.low, axial.high, axial.range), std::tuple(-3.0L, 3.0L, 6.0L));
  const PlotScale potential = PlotScaleOf(PlotQuantity::Potential, -1, 2, 3);
  EXPECT_EQ(std::tuple(potential.low, potential.range), std::tuple(-1.0L, 3.0L));
}

TEST(StructurePlot, MirrorColoursAndThreadsDoNotChangeThePicture) {
  // The axis on column 50 exactly: every radial term of that column divides by k = 0
  // and is left out, with its position in the status bar. (41 pixels a metre: no
  // point falls exactly on a ring, where the potential and Ez would fault.)
  ScreenMapping v;
  v.KX = 41, v.OX = 50, v.KY = -41, v.OY = 50;
  for (const PlotQuantity q : {PlotQuantity::Radial, PlotQuantity::Total, PlotQuantity::Potential}) {
    SCOPED_TRACE(static_cast<int>(q));
    const FieldPlot plot = SamplePlot(q, false, v, 101);
    Calls pictures[2], statuses[2];
    for (int t = 0; t < 2; ++t) {
      RecordingCanvas canvas(101, 101);
      PlotControl control;
      control.workers = t == 0 ? 0 : 3;
      control.status = [&](const std::string& s) { statuses[t].push_back(s); };
      EXPECT_TRUE(PlotField(canvas, plot, false, control));
      pictures[t] = canvas.calls;
    }
    EXPECT_EQ(pictures[0], pictures[1]);
    EXPECT_EQ(statuses[0], statuses[1]);
    if (q != PlotQuantity::Potential) {
      ASSERT_EQ(statuses[0].size(), 101u);
      EXPECT_EQ(statuses[0][0], "Singularity at position r=0.0000, z=1.2195");
    }
    // Er is odd about the axis: on the grey ramp the mirror block takes level 255 - n;
    // the potential and |E| are even and keep the colour.
    // (Column 50, on the axis, has Er = 0: its own mirror image.)
    const PlotRow row = plot.ComputeRow(30);
    for (std::size_t i = 1; i < row.color.size(); ++i) {
      const Color c = row.color[i], m = row.mirrorColor[i];
      if (q != PlotQuantity::Radial || c == kSilver)
        EXPECT_EQ(m, c);
      else
        EXPECT_EQ(m & 0xFF, 255 - (c & 0xFF)) << i;
    }
  }
}

TEST(StructurePlot, StopLeavesTheLowerRowsAndDrawsTheLegend) {
  const FieldPlot plot = SamplePlot(PlotQuantity::Potential, true, TheSample().view);
  RecordingCanvas canvas(481, 481);
  PlotControl control;
  control.workers = 2;
  int rows = 0;
  control.pump = [&] { ++rows; };
  control.stopRequested = [&] { return rows == 48; };
  EXPECT_FALSE(PlotField(canvas, plot, true, control));
  const Calls fills = Fills(canvas.calls);
  EXPECT_EQ(fills.size(), 48u * 98u);
  EXPECT_EQ(fills.back(), "FillRect -4 235 1 240");
  // The bar of 256 colours from x0 = 240 - 127 at y0 = 441, then five values of the
  // scale under entries 0, 64, 128, 191 and 255 and the unit right of the bar (6
  // pixels a character on the recording canvas).
  const Calls tail(canvas.calls.end() - 11, canvas.calls.end());
  EXPECT_EQ(tail, (Calls{"PenColor FFFFFF", "MoveTo 368 441", "LineTo 368 461",
                         "BrushColor 000000", "FontColor FFFFFF", "TextOut 113 462 -1.000",
                         "TextOut 159 462 -0.500", "TextOut 226 462 0.000",
                         "TextOut 289 462 0.500", "TextOut 338 462 1.000", "TextOut 373 444 V"}));
}

TEST(StructureProbe, PotentialAndFieldAgainstTheRingsIntegratedAroundTheAxis) {
  // Each ring's charge summed point by point around its circle (the trapezoidal rule
  // converges geometrically for this periodic integrand): potential, and the field as
  // its gradient taken under the integral. For a point left of the axis the same
  // integrals give the field along the same Cartesian direction, the sign the probe
  // shows there.
  const Sample& s = TheSample();
  const Extended k = 1 / (4 * kPi * s.results.eps0);
  // Above the terminal, its mirror point and two points between and beside the plates.
  for (const auto& [X, Y] : {std::pair{300, 40}, {181, 40}, {400, 250}, {470, 240}}) {
    const Extended r = (X - s.view.OX) / s.view.KX, z = (Y - s.view.OY) / s.view.KY;
    Extended V = 0, Er = 0, Ez = 0;
    constexpr int M = 4000;
    for (const StructureRing& g : s.results.rings)
      for (int i = 0; i < M; ++i) {
        const Extended phi = 2 * kPi * i / M;
        const Extended dx = r - g.R * std::cos(phi), dy = g.R * std::sin(phi), dz = z - g.Z;
        const Extended dist = std::sqrt(dx * dx + dy * dy + dz * dz);
        const Extended w = k * g.q / M;
        V += w / dist;
        Er += w * dx / (dist * dist * dist);
        Ez += w * dz / (dist * dist * dist);
      }
    const std::string expected = "r: " + FixedStr(r, 5, 3) + " z: " + FixedStr(z, 5, 3) +
                                 " V: " + FixedStr(V, 7, 3) + " Er: " + FixedStr(Er, 7, 3) +
                                 " Ez: " + FixedStr(Ez, 7, 3) + " |E|: " +
                                 FixedStr(std::sqrt(Er * Er + Ez * Ez), 8, 4);
    EXPECT_EQ(ProbeLine(s.results.rings, s.results.eps0, s.view, X, Y), expected);
  }
  EXPECT_EQ(CoordinateText(s.view, 300, 100), "r: 3.37E-0001 z:  7.96E-0001");
}

TEST(StructurePlot, PointOnARingEndsTheAxialPlotAndTheProbe) {
  // One ring exactly on the fast plot's point of block (245, 235): r = 5.5/64,
  // z = 4.5/64, where k = 1 and k'^2 = 0.
  ScreenMapping v;
  v.KX = 64, v.OX = 240.5L, v.KY = -64, v.OY = 240.5L;
  const std::vector<StructureRing> rings = {{5.5L / 64, 4.5L / 64, 0.001L, 1e-10L, 1}};
  RecordingCanvas canvas(481, 481);
  auto plot = [&](PlotQuantity q, Calls& status) {
    const FieldPlot p(rings, Eps0(), q, PlotScaleOf(q, -1, 1, 1), GreyRamp(), v, 481, 481, true);
    canvas.calls.clear();
    PlotControl control;
    control.workers = 2;
    control.status = [&](const std::string& s) { status.push_back(s); };
    ClearArithmeticFaults();
    PlotField(canvas, p, true, control);
    return Fills(canvas.calls);
  };
  Calls status;
  // The row is painted up to the point: the block on the axis and its mirror image.
  EXPECT_THROW(plot(PlotQuantity::Axial, status), ArithmeticFault);
  EXPECT_EQ(Fills(canvas.calls).size(), 47u * 98u + 2u);
  EXPECT_EQ(Fills(canvas.calls).back(), "FillRect 236 235 240 240");
  // The potential stays finite there (K(1) ends the AGM at pi 2^49); the radial term is
  // left out with its message and the plot goes on.
  EXPECT_EQ(plot(PlotQuantity::Potential, status).size(), 97u * 98u);
  EXPECT_EQ(plot(PlotQuantity::Radial, status).size(), 97u * 98u);
  EXPECT_EQ(status, Calls{"Singularity at position r=0.0859, z=0.0703"});

  ClearArithmeticFaults();
  ProbeLine(rings, Eps0(), v, 246, 236);
  EXPECT_THROW(CheckArithmeticFaults(), ArithmeticFault);
  ClearArithmeticFaults();
}

TEST(StructureView, ZoomAndPan) {
  const ViewWindow start{1.25L, -1.25L, 1, -1};
  const std::pair<ViewChange, ViewWindow> rows[] = {
      {ViewChange::ZoomIn, {0.9375L, -0.9375L, 0.75L, -0.75L}},
      {ViewChange::ZoomOut, {1.875L, -1.875L, 1.5L, -1.5L}},
      {ViewChange::Left, {0.625L, -1.875L, 1, -1}},
      {ViewChange::Right, {1.875L, -0.625L, 1, -1}},
      {ViewChange::Up, {1.25L, -1.25L, 1.5L, -0.5L}},
      {ViewChange::Down, {1.25L, -1.25L, 0.5L, -1.5L}},
  };
  for (const auto& [change, expected] : rows) {
    ViewWindow w = start;
    ChangeView(w, change);
    EXPECT_EQ(std::tuple(w.RMax, w.XMin, w.ZMax, w.ZMin),
              std::tuple(expected.RMax, expected.XMin, expected.ZMax, expected.ZMin));
  }
  // In and out again: 0.75 x 1.5 = 1.125 times the size.
  ViewWindow w = start;
  ChangeView(w, ViewChange::ZoomIn);
  ChangeView(w, ViewChange::ZoomOut);
  EXPECT_EQ(w.RMax - w.XMin, 1.125L * 2.5L);
  EXPECT_EQ(w.ZMax - w.ZMin, 1.125L * 2);
}

TEST(StructureView, AxesElementsMirrorImagesAndARing) {
  VectorReport msg;
  const StructureDescription d = ParseDescription({"Lp a 1 0 1 1 1", "Cq a 1 1 0 1 -90 90"}, msg);
  RecordingCanvas canvas(481, 481);
  // RMax 2, heights -1 ... 1: 441/4 = 110.25 pixels a metre, the origin at 240.5.
  const ScreenMapping v = DrawStructureView(canvas, d.view, d.elements);
  DrawRing(canvas, v, GenerateRings(d).front());
  EXPECT_EQ(canvas.calls,
            (Calls{"PenColor 000000", "BrushColor FFFFFF", "Rectangle 0 0 481 481",
                   "PenColor 808080", "PenStyle Dot", "MoveTo 0 240", "LineTo 480 240",
                   "MoveTo 240 0", "LineTo 240 480", "PenStyle Solid",
                   // the segment at z = 1 and its mirror image
                   "PenColor 0000FF", "MoveTo 240 130", "LineTo 351 130", "PenColor 808080",
                   "MoveTo 240 130", "LineTo 130 130",
                   // the right half circle about (1, 0), counter-clockwise from -90 to 90
                   // degrees, and the left one from 90 to 270
                   "PenColor 0000FF", "Arc 240 130 461 351 350 10240 350 -9760",
                   "PenColor 808080", "Arc 20 130 240 351 130 -9760 130 10240",
                   // the ring at R = 0.5, z = 1: far half, then both wire sections
                   // (a = 1/(2 pi): 18 pixels)
                   "PenColor C0C0C0", "Arc 185 116 296 144 10240 130 -9760 130",
                   "PenColor 008000", "Ellipse 167 112 203 148", "PenColor FF0000",
                   "Ellipse 278 112 314 148"}));
}
