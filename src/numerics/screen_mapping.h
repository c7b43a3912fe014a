#pragma once
// The world-to-pixel mapping of the drawings (x to the right, z up on the screen) and
// the circle and arc operations every drawing of the program uses.
#include <cstdint>

#include "numerics/canvas.h"
#include "numerics/extended.h"

namespace quor::numerics {

struct ScreenMapping {
  Extended KX = 1, OX = 0, KY = -1, OY = 0;
  std::int32_t XMin = 10, XMax = 287, YMin = 10, YMax = 287;
  Extended ZMin = 0, ZMax = 0;
};

// round-to-nearest (ties to even) of KX*x + OX, formed in Extended.
int ToScreenX(const ScreenMapping& map, double x);
int ToScreenY(const ScreenMapping& map, double z);
// Circle of radius R (at least 1) about (X, Y) with the current pen and brush.
void DrawCircle(Canvas& canvas, int X, int Y, int R);
// Arc of the ellipse in the box, counter-clockwise from StartDeg to EndDeg
// (0 degrees to +x, 90 up on the screen); equal directions draw the whole ellipse.
void DrawArc(Canvas& canvas, int X1, int Y1, int X2, int Y2, int StartDeg, int EndDeg);

}  // namespace quor::numerics
