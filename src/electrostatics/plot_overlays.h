#pragma once
// What is drawn over a colour map of the structure window: the conductors' outlines,
// length scales along the edges, the legend's texts, and the mark of a probed point.
#include <string>
#include <vector>

#include "electrostatics/structure_description.h"
#include "numerics/canvas.h"
#include "numerics/screen_mapping.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// Every element's own curve and its mirror image beyond the axis, as a black line on
// a white band three pixels wide: it shows on the darkest and the lightest colours.
void DrawOutlines(Canvas& canvas, const ScreenMapping& view,
                  const std::vector<StructureElement>& elements);

// The smallest of 1, 2 or 5 times a power of ten that is at least `least`; 0 for a
// value that is not positive and finite.
Extended NiceStep(Extended least);

// The strip along the bottom edge that the axes' ticks and numbers take: a legend
// stands this much higher when the axes are drawn.
inline constexpr int kAxisStripHeight = 22;

// A rectangle the axes' numbers keep out of, right and bottom edges excluded.
struct PixelBox {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Length scales in metres on the map: ticks along the left edge at heights z and along
// the bottom edge at radii r, every NiceStep of about 60 pixels, each with its number
// (as many decimals as the step needs) on white, and "z (m)" at the top left, "r (m)"
// at the bottom right. Numbers that would run off the area, into each other's corner
// or into keepOut (the legend) are left out; their ticks stay.
void DrawPlotAxes(Canvas& canvas, const ScreenMapping& view, const PixelBox& keepOut = {});

// A small cross centred on the pixel, black on white like the outlines.
void DrawProbeMark(Canvas& canvas, int X, int Y);

// The texts of the legend: the values at five points evenly along the scale from low
// to high, and the unit, with an SI prefix where the values are large or small
// ("kV", "MV/m", ...) so that each text stays short: at most four significant digits
// and three decimals.
struct LegendTexts {
  std::vector<std::string> values;  // five
  std::string unit;
};
LegendTexts LegendTextsFor(Extended low, Extended high, const std::string& unit);

}  // namespace quor::electrostatics
