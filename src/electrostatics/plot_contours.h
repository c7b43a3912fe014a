#pragma once
// Lines of equal value over a colour map, traced by marching squares through the
// values the plot computed: each cell of four neighbouring points is crossed by a
// level where its corners lie on both sides of it, at the points of its edges found
// by linear interpolation. A cell whose corners lie two and two on opposite sides
// diagonally (a saddle) is split as the mean of its corners says.
#include <cstddef>
#include <vector>

#include "electrostatics/palette.h"
#include "numerics/canvas.h"
#include "numerics/extended.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// Values at points of the drawing area: columns xs and rows ys in pixels, both
// increasing, not necessarily evenly spaced (a mirrored fast plot has its points one
// pixel either side of the axis). A point not computed holds NaN.
struct PlotGrid {
  std::vector<int> xs, ys;
  std::vector<Extended> values;  // ys.size() rows of xs.size()

  PlotGrid() = default;
  PlotGrid(std::vector<int> columns, std::vector<int> rows);
  Extended& At(std::size_t row, std::size_t column) { return values[row * xs.size() + column]; }
  Extended At(std::size_t row, std::size_t column) const {
    return values[row * xs.size() + column];
  }
};

// Ten levels spread evenly over the scale from low to low + range: the middles of ten
// equal bands, so that no line runs along a conductor held at an end of the scale,
// where the computed values only ripple about the level.
std::vector<Extended> ContourLevels(Extended low, Extended range);

// Of a few strong colours (white, magenta, black, lime, aqua, yellow, red, blue) the
// one farthest from every colour of the palette, the first of them on a tie.
Color ContourColor(const Palette& palette);

// One-pixel lines of the levels through the grid in the given colour. Cells with a
// point not computed (or not finite) are left out.
void DrawContours(Canvas& canvas, const PlotGrid& grid, const std::vector<Extended>& levels,
                  Color colour);

}  // namespace quor::electrostatics
