#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "numerics/canvas.h"
#include "transformer/coil_pair.h"
#include "transformer/drawing.h"
#include "numerics/library_namespaces.h"

namespace {

CoilPair DefaultCoils() {
  CoilPair c;
  ReadTransformerInputs(TransformerDefaults(), c);
  return c;
}

std::vector<int> Ints(const std::string& call) {
  std::istringstream in(call);
  std::string name;
  in >> name;
  std::vector<int> v;
  for (int x; in >> x;) v.push_back(x);
  return v;
}

std::vector<std::vector<int>> Calls(const RecordingCanvas& canvas, const std::string& name) {
  std::vector<std::vector<int>> out;
  for (const std::string& c : canvas.calls)
    if (c.rfind(name + " ", 0) == 0) out.push_back(Ints(c));
  return out;
}

}  // namespace

TEST(ScreenMapping, RoundsToNearestWithTiesToEven) {
  ScreenMapping map;
  map.KX = 1;
  map.OX = 0.5L;
  map.KY = -2;
  map.OY = 0;
  struct Row {
    double world;
    int x, y;
  };
  // KX*x + OX of 0.5, 1.5, 2.5, -1.5 and 2.6; -2*z of -0.25 (0.5) and 0.75 (-1.5).
  for (const Row& r : {Row{0, 0, 0}, Row{1, 2, -2}, Row{2, 2, -4}, Row{-2, -2, 4},
                       Row{2.1, 3, -4}, Row{-0.25, 0, 0}, Row{0.75, 1, -2}}) {
    EXPECT_EQ(ToScreenX(map, r.world), r.x) << r.world;
    EXPECT_EQ(ToScreenY(map, r.world), r.y) << r.world;
  }
  // Points beyond any screen are held 2^30 - 1 pixels out.
  map.KX = 1e30L;
  EXPECT_EQ(ToScreenX(map, 1), 1073741823);
  EXPECT_EQ(ToScreenX(map, -1e300), -1073741823);
}

TEST(DrawPrimitives, ArcDirectionsAndCentre) {
  struct Row {
    int x1, y1, x2, y2, start, end;
    std::vector<int> expected;
  };
  const std::vector<Row> rows = {
      // Whole ellipse: both directions to +x.
      {0, 0, 100, 50, 0, 360, {0, 0, 100, 50, 10050, 25, 10050, 25}},
      // Upper half: from +x counter-clockwise to -x.
      {0, 0, 100, 50, 0, 180, {0, 0, 100, 50, 10050, 25, -9950, 25}},
      // 90 degrees points up the screen (smaller y).
      {10, 20, 30, 40, 90, 270, {10, 20, 30, 40, 20, 30 - 10000, 20, 30 + 10000}},
      // Centre by integer division toward zero: (-3 + 0)/2 = -1, (-7 + 0)/2 = -3.
      {-3, -7, 0, 0, 0, 45, {-3, -7, 0, 0, 9999, -3, -1 + 7071, -3 - 7071}},
      // A turn of a coil far too small for the drawing's scale: a box far off screen,
      // whose centre must not overflow.
      {-1163220309, -1163220309, -1163220309, -1163220309, 0, 360,
       {-1163220309, -1163220309, -1163220309, -1163220309, -1163210309, -1163220309,
        -1163210309, -1163220309}},
  };
  for (const Row& r : rows) {
    RecordingCanvas canvas(100, 100);
    DrawArc(canvas, r.x1, r.y1, r.x2, r.y2, r.start, r.end);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(Ints(canvas.calls[0]), r.expected) << canvas.calls[0];
  }
}

TEST(DrawPrimitives, CircleRadiusAtLeastOne) {
  for (int R : {0, -5, 1}) {
    RecordingCanvas canvas(100, 100);
    DrawCircle(canvas, 40, 60, R);
    EXPECT_EQ(canvas.calls, std::vector<std::string>{"Ellipse 39 59 41 61"}) << R;
  }
  RecordingCanvas canvas(100, 100);
  DrawCircle(canvas, 40, 60, 7);
  EXPECT_EQ(canvas.calls, std::vector<std::string>{"Ellipse 33 53 47 67"});
}

TEST(Arrangement, DefaultScaleAndBaseLine) {
  RecordingCanvas canvas(297, 297);
  ScreenMapping map;
  PaintArrangement(canvas, DefaultCoils(), map);

  // ZMax is the top of the secondary's top ellipse, 0.32 + 0.044/2; ZMin the bottom of
  // the primary's bottom ellipse, -0.1/2.
  EXPECT_NEAR(static_cast<double>(map.ZMax), 0.342, 1e-15);
  EXPECT_NEAR(static_cast<double>(map.ZMin), -0.05, 1e-15);
  EXPECT_NEAR(static_cast<double>(map.KY), -277 / 0.392, 1e-9);
  EXPECT_EQ(map.KX, -map.KY);
  EXPECT_EQ(map.XMin, 10);
  EXPECT_EQ(map.XMax, 287);
  EXPECT_EQ(map.YMin, 10);
  EXPECT_EQ(map.YMax, 287);
  EXPECT_EQ(ToScreenY(map, 0.342), 10);
  EXPECT_EQ(ToScreenY(map, -0.05), 287);
  // The axis falls in the middle: symmetric points land symmetric about 148.5.
  EXPECT_EQ(ToScreenX(map, -0.1) + ToScreenX(map, 0.1), 297);

  // Cleared and framed first, base line dotted grey at row 252 (10 + 277*0.342/0.392)
  // last, and the pen back to solid.
  ASSERT_GE(canvas.calls.size(), 6u);
  const std::vector<std::string> head(canvas.calls.begin(), canvas.calls.begin() + 6);
  EXPECT_EQ(head, (std::vector<std::string>{"PenColor 000000", "PenWidth 1", "PenStyle Solid",
                                            "BrushColor FFFFFF", "BrushStyle Solid",
                                            "Rectangle 0 0 297 297"}));
  const std::vector<std::string> tail(canvas.calls.end() - 5, canvas.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"PenColor 808080", "PenStyle Dot", "MoveTo 10 252",
                                            "LineTo 287 252", "PenStyle Solid"}));
}

TEST(Arrangement, CoilsAsEllipsesAndSides) {
  // Secondary (red) first, then primary (blue): two ellipses each, 2r wide and r high,
  // on the planes of the bottom and top turns, joined by the two sides.
  CoilPair c = DefaultCoils();
  c.rmax1 = 0.05;  // primary narrowing upwards
  RecordingCanvas canvas(297, 297);
  ScreenMapping map;
  PaintArrangement(canvas, c, map);

  const auto red = std::find(canvas.calls.begin(), canvas.calls.end(), "PenColor 0000FF");
  const auto blue = std::find(canvas.calls.begin(), canvas.calls.end(), "PenColor FF0000");
  ASSERT_LT(red, blue);
  const auto arcs = Calls(canvas, "Arc");
  ASSERT_EQ(arcs.size(), 4u);
  const Extended k = map.KX;
  const Extended width[4] = {2 * k * 0.044L, 2 * k * 0.044L, 2 * k * 0.1L, 2 * k * 0.05L};
  const Extended centreZ[4] = {0, 0.32L, 0, 0.1L};
  for (int i = 0; i < 4; ++i) {
    const auto& a = arcs[i];
    EXPECT_NEAR(a[2] - a[0], static_cast<double>(width[i]), 1.0) << i;
    EXPECT_NEAR(a[3] - a[1], static_cast<double>(width[i] / 2), 1.0) << i;  // y1 above
    EXPECT_NEAR((a[1] + a[3]) / 2.0, ToScreenY(map, static_cast<double>(centreZ[i])), 1.0) << i;
    EXPECT_EQ(a[4], a[6]);  // whole ellipse
    EXPECT_EQ(a[5], a[7]);
  }
  // The primary's sides run from the top turn (radius 0.05) down to the bottom turn
  // (radius 0.1); the right one is drawn one pixel to the left.
  const auto lines = Calls(canvas, "LineTo");
  const auto moves = Calls(canvas, "MoveTo");
  ASSERT_GE(moves.size(), 4u);
  EXPECT_EQ(moves[2], (std::vector<int>{ToScreenX(map, -0.05), ToScreenY(map, 0.1)}));
  EXPECT_EQ(lines[2], (std::vector<int>{ToScreenX(map, -0.1), ToScreenY(map, 0)}));
  EXPECT_EQ(moves[3], (std::vector<int>{ToScreenX(map, 0.05) - 1, ToScreenY(map, 0.1)}));
  EXPECT_EQ(lines[3], (std::vector<int>{ToScreenX(map, 0.1) - 1, ToScreenY(map, 0)}));
}

TEST(Arrangement, FlatCoilDrawsCoincidentEllipses) {
  CoilPair c = DefaultCoils();
  c.h1 = 0;
  c.b1 = 0.05;
  RecordingCanvas canvas(297, 297);
  ScreenMapping map;
  PaintArrangement(canvas, c, map);
  const auto arcs = Calls(canvas, "Arc");
  ASSERT_EQ(arcs.size(), 4u);
  EXPECT_EQ(arcs[2], arcs[3]);
  const auto lines = Calls(canvas, "LineTo");
  const auto moves = Calls(canvas, "MoveTo");
  EXPECT_EQ(moves[2], lines[2]);  // zero-length side
}
