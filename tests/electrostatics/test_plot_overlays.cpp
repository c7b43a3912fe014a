// What the structure window draws over and around its colour maps: the mirror half of
// a fast plot, lines of equal value, elliptic arcs, length scales and the legend.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "electrostatics/plot_contours.h"
#include "electrostatics/plot_overlays.h"
#include "electrostatics/structure_plot.h"
#include "electrostatics/structure_view.h"
#include "numerics/library_namespaces.h"

namespace {

// The pixels that FillRect paints, clipped to the area; nothing else is drawn.
class RasterCanvas : public NullCanvas {
 public:
  RasterCanvas(int w, int h) : NullCanvas(w, h), pixels(static_cast<std::size_t>(w * h), kWhite) {}
  void SetBrushColor(Color c) override { brush_ = c; }
  void FillRect(int x1, int y1, int x2, int y2) override {
    for (int y = std::max(y1, 0); y < std::min(y2, Height()); ++y)
      for (int x = std::max(x1, 0); x < std::min(x2, Width()); ++x) pixels[y * Width() + x] = brush_;
  }
  Color At(int x, int y) const { return pixels[y * Width() + x]; }
  std::vector<Color> pixels;

 private:
  Color brush_ = kBlack;
};

struct Point {
  double x, y;
};

// The pixel position of a point of the plane, unrounded.
Point At(const ScreenMapping& v, Extended r, Extended z) {
  return {static_cast<double>(v.KX * r + v.OX), static_cast<double>(v.KY * z + v.OY)};
}

// The end points of the lines of a recording, in drawing order: each MoveTo starts
// a piece, each LineTo adds a point to it.
std::vector<std::vector<Point>> Pieces(const std::vector<std::string>& calls) {
  std::vector<std::vector<Point>> pieces;
  for (const std::string& c : calls) {
    std::istringstream in(c);
    std::string op;
    double x = 0, y = 0;
    in >> op >> x >> y;
    if (op == "MoveTo") pieces.push_back({{x, y}});
    if (op == "LineTo" && !pieces.empty()) pieces.back().push_back({x, y});
  }
  return pieces;
}

double DistanceToPolyline(const std::vector<Point>& line, Point p) {
  double best = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    const Point a = line[i], b = line[i + 1];
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    const double t =
        len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    best = std::min(best, std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y));
  }
  return best;
}

struct Calculated {
  StructureDescription d;
  StructureResults results;
  ScreenMapping view;
};

const Calculated& Sample() {
  static const Calculated s = [] {
    Calculated s;
    VectorReport msg;
    s.d = ParseDescription(StructureSampleLines(), msg);
    s.results = CalculateStructure(s.d, false, BreakdownField{}, msg, nullptr);
    s.view = StructureViewTransform(s.d.view, 481, 481);
    return s;
  }();
  return s;
}

}  // namespace

TEST(FastPlotMirror, EveryPixelMatchesItsMirrorAboutTheAxisColumn) {
  // The sample's potential is even about the axis and Er odd: on a ramp of reds the
  // mirror pixel of level n has level n, or 255 - n for Er (silver stays silver).
  const Calculated& s = Sample();
  Palette reds;
  for (int i = 0; i < 256; ++i) reds.red[i] = static_cast<std::uint8_t>(i);
  for (const PlotQuantity q : {PlotQuantity::Potential, PlotQuantity::Radial}) {
    SCOPED_TRACE(static_cast<int>(q));
    const FieldPlot plot(s.results.rings, s.results.eps0, q,
                         PlotScaleOf(q, s.d.VMin, s.d.VMax, 3.2L), reds, s.view, 481, 481, true);
    RasterCanvas canvas(481, 481);
    canvas.pixels.assign(canvas.pixels.size(), 0x123456);  // no colour of the plot
    PlotControl control;
    ASSERT_TRUE(PlotField(canvas, plot, false, control));
    const int X0 = ViewX(s.view, 0);
    ASSERT_EQ(X0, 240);
    for (int y = 0; y < 481; ++y)
      for (int d = 0; d <= 240; ++d) {
        const Color right = canvas.At(X0 + d, y), left = canvas.At(X0 - d, y);
        ASSERT_NE(right, 0x123456u) << "unpainted " << X0 + d << " " << y;
        ASSERT_NE(left, 0x123456u) << "unpainted " << X0 - d << " " << y;
        if (q == PlotQuantity::Potential || right == kSilver || d == 0)
          ASSERT_EQ(left, right) << d << " " << y;
        else
          ASSERT_EQ(left & 0xFF, 255 - (right & 0xFF)) << d << " " << y;
      }
  }
}

TEST(EllipticArc, DrawnAlongTheElementFromItsFirstRing) {
  // A flattened ellipse, 1 m by 0.25 m about (0.5, 0), from -45 to 45 degrees of its
  // parameter: the element runs from r = 0.5 + cos 45 = 1.207 out to 1.5 and back.
  // Taken as geometric directions the angles would start the arc near r = 0.74.
  VectorReport msg;
  const StructureDescription d = ParseDescription({"Etest a 10 0.5 0 1 0.25 -45 45"}, msg);
  ASSERT_TRUE(d.Parsed());
  RecordingCanvas canvas(481, 481);
  const ScreenMapping v = DrawStructureView(canvas, d.view, d.elements);
  const std::vector<StructureRing> rings = GenerateRings(d);
  ASSERT_EQ(rings.size(), 10u);

  // The pieces after the axes: the element in red, then its mirror image.
  const std::vector<std::vector<Point>> pieces = Pieces(canvas.calls);
  ASSERT_EQ(pieces.size(), 4u);
  for (const int side : {1, -1}) {
    SCOPED_TRACE(side);
    const std::vector<Point>& arc = pieces[side == 1 ? 2 : 3];
    const Point end = At(v, side * (0.5L + std::sqrt(0.5L)), -0.25L * std::sqrt(0.5L));
    const Point first = At(v, side * rings[0].R, rings[0].Z);
    const Point second = At(v, side * rings[1].R, rings[1].Z);
    // It starts at the element's end, half a ring's step before the first ring ...
    EXPECT_LE(std::hypot(arc.front().x - end.x, arc.front().y - end.y), 1.0);
    EXPECT_LE(std::hypot(arc.front().x - first.x, arc.front().y - first.y),
              std::hypot(second.x - first.x, second.y - first.y));
    // ... passes through every ring and never comes nearer the axis than the end.
    for (const StructureRing& g : rings)
      EXPECT_LE(DistanceToPolyline(arc, At(v, side * g.R, g.Z)), 1.0);
    for (const Point& p : arc) EXPECT_GE(side * (p.x - v.OX), side * (end.x - v.OX) - 1) << p.x;
  }
}

TEST(Contours, MarchingSquaresOnKnownFields) {
  // A grid of 5-pixel cells like a fast plot's.
  std::vector<int> xs, ys;
  for (int i = 0; i <= 20; ++i) xs.push_back(1 + 5 * i), ys.push_back(1 + 5 * i);
  struct Case {
    const char* name;
    Extended (*f)(Extended x, Extended y);
    Extended level;
    double (*error)(Point p, Extended level);  // distance of a point from the exact line
    double tolerance;
  };
  const Case cases[] = {
      // v = x: the line x = level, exact but for rounding to a pixel.
      {"plane", [](Extended x, Extended) { return x; }, 37.3L,
       [](Point p, Extended level) { return std::fabs(p.x - static_cast<double>(level)); }, 0.5},
      // v = distance from (51, 51): a circle; the chords of a 5-pixel cell stray
      // 25/(8 r) from it, and rounding half a pixel on each axis.
      {"cone",
       [](Extended x, Extended y) { return std::sqrt((x - 51) * (x - 51) + (y - 51) * (y - 51)); },
       30,
       [](Point p, Extended level) {
         return std::fabs(std::hypot(p.x - 51, p.y - 51) - static_cast<double>(level));
       },
       25.0 / 240 + 0.71},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlotGrid grid(xs, ys);
    for (std::size_t j = 0; j < ys.size(); ++j)
      for (std::size_t i = 0; i < xs.size(); ++i) grid.At(j, i) = c.f(xs[i], ys[j]);
    RecordingCanvas canvas(120, 120);
    DrawContours(canvas, grid, {c.level}, 0xFF00FF);
    EXPECT_EQ(canvas.calls.front(), "PenColor FF00FF");
    const std::vector<std::vector<Point>> pieces = Pieces(canvas.calls);
    ASSERT_GE(pieces.size(), 20u);
    int quadrants[4] = {0, 0, 0, 0};
    for (const std::vector<Point>& piece : pieces)
      for (const Point& p : piece) {
        // A piece of less than a pixel is drawn as that pixel: its end is one right.
        if (&p != &piece.front() && p.x == piece.front().x + 1 && p.y == piece.front().y) continue;
        EXPECT_LE(c.error(p, c.level), c.tolerance) << p.x << " " << p.y;
        ++quadrants[(p.x > 51 ? 1 : 0) + (p.y > 51 ? 2 : 0)];
      }
    if (std::string(c.name) == "cone") {
      for (const int n : quadrants) EXPECT_GT(n, 10);  // all the way round
    }
  }

  // A saddle: the corners high and low in turn, 0.5 at the centre. Just below the
  // centre's value the high corners join and the low ones are cut off; just above,
  // the reverse. Each piece joins two edges about one corner (0, 0 upper left).
  PlotGrid saddle({0, 10}, {0, 10});
  saddle.At(0, 0) = 1, saddle.At(0, 1) = 0, saddle.At(1, 0) = 0, saddle.At(1, 1) = 1;
  const std::pair<Extended, std::vector<Point>> rows[] = {
      {0.4L, {{10, 0}, {0, 10}}},  // the low corners: upper right, lower left
      {0.6L, {{0, 0}, {10, 10}}},  // the high ones
  };
  for (const auto& [level, corners] : rows) {
    RecordingCanvas canvas(20, 20);
    DrawContours(canvas, saddle, {level}, kWhite);
    const std::vector<std::vector<Point>> pieces = Pieces(canvas.calls);
    ASSERT_EQ(pieces.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k)
      for (const Point& p : pieces[k])  // within 4 pixels of its corner (at 4 from it)
        EXPECT_LE(std::hypot(p.x - corners[k].x, p.y - corners[k].y), 4.5) << level;
  }

  // A point not computed leaves its cells out; so does a grid of one row.
  PlotGrid holed({0, 10, 20}, {0, 10});
  for (std::size_t i = 0; i < 3; ++i) holed.At(0, i) = 0, holed.At(1, i) = 1;
  holed.At(1, 0) = std::numeric_limits<Extended>::quiet_NaN();
  RecordingCanvas canvas(30, 30);
  DrawContours(canvas, holed, {0.5L}, kWhite);
  const std::vector<std::vector<Point>> pieces = Pieces(canvas.calls);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_GE(pieces[0].front().x, 10);
  RecordingCanvas none(30, 30);
  DrawContours(none, PlotGrid({0, 10}, {0}), {0.5L}, kWhite);
  EXPECT_TRUE(none.calls.empty());
}

TEST(Contours, ColourStandsOutFromThePalette) {
  // The nearest palette colour lies far away in RGB space: a grey ramp leaves a
  // saturated colour 208 levels from every grey; one colour everywhere, its opposite.
  auto distance = [](Color a, Color b) {
    double s = 0;
    for (const int shift : {0, 8, 16}) {
      const double d = static_cast<double>((a >> shift) & 0xFF) - static_cast<double>((b >> shift) & 0xFF);
      s += d * d;
    }
    return std::sqrt(s);
  };
  Palette jet, white, blues;
  for (int i = 0; i < 256; ++i) {
    jet.red[i] = static_cast<std::uint8_t>(i);
    jet.green[i] = static_cast<std::uint8_t>(255 - std::abs(2 * i - 255));
    jet.blue[i] = static_cast<std::uint8_t>(255 - i);
    white.red[i] = white.green[i] = white.blue[i] = 255;
    blues.blue[i] = static_cast<std::uint8_t>(i);
  }
  const std::pair<Palette, double> rows[] = {
      {GreyRamp(), 208}, {jet, 180}, {white, 441}, {blues, 360}};
  for (const auto& [palette, least] : rows) {
    const Color c = ContourColor(palette);
    double nearest = 1e9;
    for (int i = 0; i < 256; ++i) nearest = std::min(nearest, distance(c, palette.ColorAt(i)));
    EXPECT_GE(nearest, least) << std::hex << c;
  }
}

TEST(PlotAxes, StepsOfOneTwoFiveAndTheirNumbers) {
  const std::pair<Extended, Extended> steps[] = {
      {0.34L, 0.5L}, {1, 1}, {1.01L, 2}, {2.5L, 5}, {7, 10}, {0.0031L, 0.005L}, {120, 200},
      {0, 0},        {-1, 0}, {std::numeric_limits<Extended>::infinity(), 0}};
  for (const auto& [least, step] : steps) EXPECT_NEAR(NiceStep(least), step, step * 1e-15L) << least;

  // Views of the sample's proportions at three sizes: ticks every 60 pixels or a
  // little more, numbers with the decimals of their step.
  struct Row {
    Extended half;  // the view from -half to half across
    std::vector<std::string> bottom;
  };
  const Row rows[] = {
      {1.25L, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}},
      {12.5L, {"-10", "-5", "0", "5", "10"}},
      {0.0125L, {"-0.010", "-0.005", "0.000", "0.005", "0.010"}},
  };
  for (const Row& row : rows) {
    const ScreenMapping v =
        StructureViewTransform({row.half, -row.half, row.half * 0.8L, -row.half * 0.8L}, 481, 481);
    RecordingCanvas canvas(481, 481);
    DrawPlotAxes(canvas, v);
    std::vector<std::string> bottom;
    for (const std::string& c : canvas.calls) {
      std::istringstream in(c);
      std::string op, text;
      int x = 0, y = 0;
      in >> op >> x >> y >> text;
      if (op != "TextOut" || y != 481 - 21) continue;
      if (text == "r") continue;  // "r (m)" at the right end
      bottom.push_back(text);
      // Centred on its tick: the view's column of the value.
      const int X = ViewX(v, std::stold(text));
      EXPECT_NEAR(x + 3 * static_cast<int>(text.size()), X, 1) << text;
    }
    EXPECT_EQ(bottom, row.bottom) << row.half;
  }

  // The legend's box keeps the numbers out: only the two ends of the scale remain.
  const ScreenMapping v = StructureViewTransform({1.25L, -1.25L, 1, -1}, 481, 481);
  RecordingCanvas canvas(481, 481);
  DrawPlotAxes(canvas, v, {111, 400, 380, 481});
  int numbers = 0;
  for (const std::string& c : canvas.calls) numbers += c.rfind("TextOut", 0) == 0;
  EXPECT_EQ(numbers, 2 + 5 + 2);  // the two captions, five heights, two radii
}

TEST(PlotLegend, FiveValuesAndTheUnitWithAPrefixForLargeOrSmallScales) {
  struct Row {
    Extended low, high;
    const char* unit;
    std::vector<std::string> values;
    const char* shown;
  };
  const Row rows[] = {
      {-1, 1, "V", {"-1.000", "-0.500", "0.000", "0.500", "1.000"}, "V"},
      {0, 3.2058L, "V/m", {"0.000", "0.801", "1.603", "2.404", "3.206"}, "V/m"},
      {-255000, 255000, "V/m", {"-255.0", "-127.5", "0.0", "127.5", "255.0"}, "kV/m"},
      {0, 2.5e6L, "V/m", {"0.000", "0.625", "1.250", "1.875", "2.500"}, "MV/m"},
      {0, 100000, "V", {"0.0", "25.0", "50.0", "75.0", "100.0"}, "kV"},
      {0, 0.004L, "V", {"0.000", "1.000", "2.000", "3.000", "4.000"}, "mV"},
      {0, 9999, "V", {"0", "2500", "5000", "7499", "9999"}, "V"},
      {-1e20L, 1e20L, "V", {"-100.0", "-50.0", "0.0", "50.0", "100.0"}, "1E18 V"},
  };
  for (const Row& r : rows) {
    const LegendTexts t = LegendTextsFor(r.low, r.high, r.unit);
    EXPECT_EQ(t.values, r.values) << r.high;
    EXPECT_EQ(t.unit, r.shown);
  }
}
