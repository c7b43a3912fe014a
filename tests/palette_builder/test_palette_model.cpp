// The palette model of tintor: its start, the curve interpolation and the clicks.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "palette_builder/palette_model.h"

namespace {

PaletteModel DrawnStart() {
  PaletteModel m = StartPalette();
  for (int a = 0; a < kChannels; ++a) RecomputeChannel(m, a);
  return m;
}

// 4 X(y) on the broken line, in exact rational arithmetic, floored.
long ExactIntensity(const PaletteModel& m, int a, int y) {
  for (int i = 1; i < kControlPoints; ++i) {
    if (y <= m.Y[a][i]) {
      const long dy = m.Y[a][i] - m.Y[a][i - 1];
      const long num = 4 * (m.X[a][i - 1] * dy + (m.X[a][i] - m.X[a][i - 1]) * (y - m.Y[a][i - 1]));
      return num >= 0 ? num / dy : -((-num + dy - 1) / dy);
    }
  }
  return -1;
}

}  // namespace

TEST(PaletteModel, StartIsGreyUntilTheFirstDrawingBendsTheLastSegment) {
  const PaletteModel start = StartPalette();
  for (int y = 0; y < kPaletteEntries; ++y) ASSERT_EQ(start.ColorAt(y), 0x010101u * y) << y;

  const PaletteModel m = DrawnStart();
  for (int a = 0; a < kChannels; ++a) {
    for (int y = 0; y < kPaletteEntries; ++y) {
      // Up to row 192 the line has slope 1/4, so intensity = row; past it the segment
      // from (48, 192) to (63, 255): floor(4 (48 + 15 (y - 192) / 63)).
      const int expected = y <= 192 ? y : (4 * (48 * 63 + 15 * (y - 192))) / 63;
      ASSERT_EQ(m.palette[a][y], expected) << "channel " << a << " entry " << y;
    }
  }
  EXPECT_EQ(m.palette[0][193], 192);
  EXPECT_EQ(m.palette[0][194], 193);
  EXPECT_EQ(m.ColorAt(255), 0xFCFCFCu);  // 252 at the top: near white
}

TEST(PaletteModel, AClickMovesTheNearestPointWithoutPassingItsNeighbours) {
  struct Row {
    int x, y;        // the click
    int point;       // the point that moves
    int newX, newY;  // where it ends
  } rows[] = {
      {20, 70, 1, 20, 70},    // Y = 64 is nearest: column and row follow the click
      {10, 250, 4, 10, 255},  // the last point keeps row 255
      {5, 32, 0, 5, 0},       // halfway between rows 0 and 64: the lower index wins
      {40, 96, 1, 40, 96},    // halfway between 64 and 128: point 1
      {33, 128, 2, 33, 128},  // right on a point
      {70, -10, 0, 63, 0},    // outside the box: the column is held in 0..63
      {-5, 300, 4, 0, 255},
  };
  for (const Row& r : rows) {
    for (int a = 0; a < kChannels; ++a) {
      PaletteModel m = StartPalette();
      PaletteModel expected = m;
      expected.X[a][r.point] = r.newX;
      expected.Y[a][r.point] = r.newY;
      EXPECT_EQ(MoveControlPoint(m, a, r.x, r.y), r.point) << r.x << "," << r.y;
      EXPECT_EQ(m.X, expected.X) << r.x << "," << r.y << " channel " << a;
      EXPECT_EQ(m.Y, expected.Y) << r.x << "," << r.y << " channel " << a;
    }
  }

  // The moved point bends both of its segments: (0, 0)-(20, 70)-(32, 128).
  PaletteModel m = DrawnStart();
  MoveControlPoint(m, 0, 20, 70);
  RecomputeChannel(m, 0);
  EXPECT_EQ(m.palette[0][70], 80);
  EXPECT_EQ(m.palette[0][35], 40);
  EXPECT_EQ(m.palette[0][99], 104);  // 4 (20 + 12 * 29 / 58) = 104
  EXPECT_EQ(m.palette[1][70], 70);   // green untouched
}

TEST(PaletteModel, SixtyThreeOnEveryPointOfEveryChannelIsNearWhite) {
  PaletteModel m = DrawnStart();
  for (int a = 0; a < kChannels; ++a) {
    for (int i = 0; i < kControlPoints; ++i) MoveControlPoint(m, a, 63, m.Y[a][i]);
    RecomputeChannel(m, a);
  }
  for (int y = 0; y < kPaletteEntries; ++y) ASSERT_EQ(m.ColorAt(y), 0xFCFCFCu) << y;
}

TEST(PaletteModel, RandomClicksKeepTheCurvesEditableAndTheColoursOnTheLine) {
  std::mt19937 gen(15);
  std::uniform_int_distribution<int> channel(0, 2), x(-20, 90), y(-20, 280);
  PaletteModel m = DrawnStart();
  for (int click = 0; click < 3000; ++click) {
    const int a = channel(gen);
    MoveControlPoint(m, a, x(gen), y(gen));
    ASSERT_TRUE(ChannelIsUsable(m, a)) << "after click " << click;
    RecomputeChannel(m, a);
    // The doubles may land a hair under an exact integer, never further.
    for (int row = 0; row < kPaletteEntries; ++row) {
      const long exact = ExactIntensity(m, a, row);
      ASSERT_LE(std::abs(m.palette[a][row] - exact), 1)
          << "click " << click << " channel " << a << " row " << row;
    }
  }
}
