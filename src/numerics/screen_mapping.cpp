#include "numerics/screen_mapping.h"

#include <cmath>
#include <cstdint>

namespace quor::numerics {

namespace {
// Pixels farther than this from the origin are held there: nothing so far is ever in
// view, and the sum of two such coordinates (the centre of a box) still fits an int.
constexpr Extended kFarthestPixel = 1073741823.0L;  // 2^30 - 1

// Nearest integer, ties to even (the processor's default rounding).
int RoundToInt(Extended v) {
  if (v > kFarthestPixel) v = kFarthestPixel;
  if (v < -kFarthestPixel) v = -kFarthestPixel;
  return static_cast<int>(std::llrint(v));
}
}  // namespace

int ToScreenX(const ScreenMapping& map, double x) {
  return RoundToInt(map.KX * static_cast<Extended>(x) + map.OX);
}

int ToScreenY(const ScreenMapping& map, double z) {
  return RoundToInt(map.KY * static_cast<Extended>(z) + map.OY);
}

void DrawCircle(Canvas& canvas, int X, int Y, int R) {
  if (R < 1) R = 1;
  canvas.Ellipse(X - R, Y - R, X + R, Y + R);
}

void DrawArc(Canvas& canvas, int X1, int Y1, int X2, int Y2, int StartDeg, int EndDeg) {
  // Integer division truncating toward zero, as the centre of the box.
  const int Cx = static_cast<int>((std::int64_t{X1} + X2) / 2);
  const int Cy = static_cast<int>((std::int64_t{Y1} + Y2) / 2);
  const Extended a1 = StartDeg * kPi / 180;
  const Extended a2 = EndDeg * kPi / 180;
  // Direction points far from the centre: the arc operation uses only their
  // directions, and the screen y axis points down.
  canvas.Arc(X1, Y1, X2, Y2, Cx + RoundToInt(10000 * std::cos(a1)),
             Cy - RoundToInt(10000 * std::sin(a1)), Cx + RoundToInt(10000 * std::cos(a2)),
             Cy - RoundToInt(10000 * std::sin(a2)));
}

}  // namespace quor::numerics
