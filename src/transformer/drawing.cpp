#include "transformer/drawing.h"

#include <algorithm>
#include <cmath>

namespace quor::transformer {
using namespace quor::numerics;

namespace {

// One coil as the ellipses of its bottom and top turns joined by its two sides; the
// ellipse of a turn of radius r at height z is 2r wide and r high (seen from above).
void DrawCoilOutline(Canvas& canvas, const ScreenMapping& map, Extended h, Extended rmin,
                     Extended rmax, Extended b) {
  DrawArc(canvas, ToScreenX(map, -rmin), ToScreenY(map, b + rmin / 2), ToScreenX(map, rmin),
          ToScreenY(map, b - rmin / 2), 0, 360);
  DrawArc(canvas, ToScreenX(map, -rmax), ToScreenY(map, b + h + rmax / 2), ToScreenX(map, rmax),
          ToScreenY(map, b + h - rmax / 2), 0, 360);
  canvas.MoveTo(ToScreenX(map, -rmax), ToScreenY(map, b + h));
  canvas.LineTo(ToScreenX(map, -rmin), ToScreenY(map, b));
  // The right side one pixel to the left, so that it falls inside the ellipses.
  canvas.MoveTo(ToScreenX(map, rmax) - 1, ToScreenY(map, b + h));
  canvas.LineTo(ToScreenX(map, rmin) - 1, ToScreenY(map, b));
}

}  // namespace

void PaintArrangement(Canvas& canvas, const CoilPair& c, ScreenMapping& map) {
  const int width = canvas.Width();
  const int height = canvas.Height();

  canvas.SetPenColor(kBlack);
  canvas.SetPenWidth(1);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetBrushColor(kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.Rectangle(0, 0, width, height);

  map.XMin = 10;
  map.XMax = width - 10;
  map.YMin = 10;
  map.YMax = height - 10;

  // Vertical extent of the world window: the turn ellipses reach r/2 above and below
  // their plane; the 2r terms keep a coil's whole diameter inside the square area.
  map.ZMax = std::max({c.b1 + c.h1 + c.rmax1 / 2, c.b2 + c.h2 + c.rmax2 / 2, 2 * c.rmin1,
                       2 * c.rmax1, 2 * c.rmin2, 2 * c.rmax2});
  map.ZMin = std::min({c.b1 - c.rmin1 / 2, c.b2 - c.rmin2 / 2, c.b1 + c.h1 - c.rmax1 / 2,
                       c.b2 + c.h2 - c.rmax2 / 2});

  // z grows upwards on the screen, so KY is negative; x uses the same scale, with the
  // axis in the middle of the area.
  map.KY = static_cast<Extended>(map.YMax - map.YMin) / (map.ZMin - map.ZMax);
  map.OY = map.YMax - map.KY * map.ZMin;
  map.KX = -map.KY;
  const Extended Xh = static_cast<Extended>(map.XMax - map.XMin) / map.KX / 2;
  map.OX = map.XMax - map.KX * Xh;

  canvas.SetPenColor(kRed);
  DrawCoilOutline(canvas, map, c.h2, c.rmin2, c.rmax2, c.b2);
  canvas.SetPenColor(kBlue);
  DrawCoilOutline(canvas, map, c.h1, c.rmin1, c.rmax1, c.b1);

  canvas.SetPenColor(kGray);
  canvas.SetPenStyle(PenStyle::Dot);
  canvas.MoveTo(map.XMin, ToScreenY(map, 0));
  canvas.LineTo(map.XMax, ToScreenY(map, 0));
  canvas.SetPenStyle(PenStyle::Solid);
}

}  // namespace quor::transformer
