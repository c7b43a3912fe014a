#include "electrostatics/plot_contours.h"

#include <cmath>
#include <limits>
#include <utility>

namespace quor::electrostatics {
using namespace quor::numerics;

PlotGrid::PlotGrid(std::vector<int> columns, std::vector<int> rows)
    : xs(std::move(columns)),
      ys(std::move(rows)),
      values(xs.size() * ys.size(), std::numeric_limits<Extended>::quiet_NaN()) {}

std::vector<Extended> ContourLevels(Extended low, Extended range) {
  std::vector<Extended> levels;
  for (int i = 0; i < 10; ++i) levels.push_back(low + range * (2 * i + 1) / 20);
  return levels;
}

Color ContourColor(const Palette& palette) {
  constexpr Color kCandidates[] = {kWhite, 0xFF00FF, kBlack, kLime, kAqua, kYellow, kRed, kBlue};
  auto channel = [](Color c, int shift) { return static_cast<long>((c >> shift) & 0xFF); };
  Color best = kCandidates[0];
  long bestDistance = -1;
  for (const Color c : kCandidates) {
    long nearest = std::numeric_limits<long>::max();
    for (int i = 0; i < 256; ++i) {
      const Color p = palette.ColorAt(i);
      long d = 0;
      for (const int shift : {0, 8, 16}) {
        const long diff = channel(c, shift) - channel(p, shift);
        d += diff * diff;
      }
      if (d < nearest) nearest = d;
    }
    if (nearest > bestDistance) {
      bestDistance = nearest;
      best = c;
    }
  }
  return best;
}

namespace {

// The edges of a cell: 0 top (from its upper left to its upper right corner), 1 right,
// 2 bottom (lower left to lower right), 3 left (upper left to lower left).
struct Cell {
  double x0, x1, y0, y1;                  // pixel columns and rows of its corners
  Extended ul, ur, lr, ll;                // values at the corners
};

CanvasPoint Crossing(const Cell& c, int edge, Extended level) {
  auto along = [level](Extended a, Extended b) {
    return static_cast<double>((level - a) / (b - a));  // the corners differ in side: b != a
  };
  double x = 0, y = 0;
  switch (edge) {
    case 0: x = c.x0 + along(c.ul, c.ur) * (c.x1 - c.x0), y = c.y0; break;
    case 1: x = c.x1, y = c.y0 + along(c.ur, c.lr) * (c.y1 - c.y0); break;
    case 2: x = c.x0 + along(c.ll, c.lr) * (c.x1 - c.x0), y = c.y1; break;
    default: x = c.x0, y = c.y0 + along(c.ul, c.ll) * (c.y1 - c.y0); break;
  }
  return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

void Segment(Canvas& canvas, const Cell& c, int from, int to, Extended level) {
  const CanvasPoint a = Crossing(c, from, level), b = Crossing(c, to, level);
  canvas.MoveTo(a.x, a.y);
  // A line leaves out its last pixel: a piece shorter than a pixel still marks one.
  if (a == b)
    canvas.LineTo(a.x + 1, a.y);
  else
    canvas.LineTo(b.x, b.y);
}

// The pairs of edges the level crosses for each combination of corners at or above
// it (8 upper left, 4 upper right, 2 lower right, 1 lower left); -1 ends a list. The
// saddles 5 and 10 are settled by the mean of the corners.
constexpr int kSegments[16][4] = {
    {-1, -1, -1, -1}, {3, 2, -1, -1}, {2, 1, -1, -1}, {3, 1, -1, -1},
    {0, 1, -1, -1},   {-1, -1, -1, -1}, {0, 2, -1, -1}, {3, 0, -1, -1},
    {3, 0, -1, -1},   {0, 2, -1, -1},   {-1, -1, -1, -1}, {0, 1, -1, -1},
    {3, 1, -1, -1},   {2, 1, -1, -1},   {3, 2, -1, -1},   {-1, -1, -1, -1}};

void ContourCell(Canvas& canvas, const Cell& c, Extended level) {
  const int index = (c.ul >= level ? 8 : 0) | (c.ur >= level ? 4 : 0) | (c.lr >= level ? 2 : 0) |
                    (c.ll >= level ? 1 : 0);
  if (index == 5 || index == 10) {
    const bool centreHigh = (c.ul + c.ur + c.lr + c.ll) / 4 >= level;
    // The corners on the other side from the centre are cut off one by one.
    if ((index == 5) == centreHigh) {
      Segment(canvas, c, 3, 0, level);  // the upper left corner alone ...
      Segment(canvas, c, 2, 1, level);  // ... and the lower right one
    } else {
      Segment(canvas, c, 0, 1, level);  // the upper right corner alone ...
      Segment(canvas, c, 3, 2, level);  // ... and the lower left one
    }
    return;
  }
  const int* s = kSegments[index];
  if (s[0] >= 0) Segment(canvas, c, s[0], s[1], level);
}

}  // namespace

void DrawContours(Canvas& canvas, const PlotGrid& grid, const std::vector<Extended>& levels,
                  Color colour) {
  if (grid.xs.size() < 2 || grid.ys.size() < 2) return;
  canvas.SetPenColor(colour);
  canvas.SetPenWidth(1);
  canvas.SetPenStyle(PenStyle::Solid);
  for (std::size_t j = 0; j + 1 < grid.ys.size(); ++j)
    for (std::size_t i = 0; i + 1 < grid.xs.size(); ++i) {
      const Cell c{static_cast<double>(grid.xs[i]), static_cast<double>(grid.xs[i + 1]),
                   static_cast<double>(grid.ys[j]), static_cast<double>(grid.ys[j + 1]),
                   grid.At(j, i), grid.At(j, i + 1), grid.At(j + 1, i + 1), grid.At(j + 1, i)};
      if (!std::isfinite(c.ul) || !std::isfinite(c.ur) || !std::isfinite(c.lr) ||
          !std::isfinite(c.ll))
        continue;
      for (const Extended level : levels) ContourCell(canvas, c, level);
    }
}

}  // namespace quor::electrostatics
