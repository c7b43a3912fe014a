// The drawing of the secondary resonance window: the arrangement to scale and the
// voltage and current of mode 1 along the winding.
#include <algorithm>
#include <cmath>

#include "numerics/format.h"
#include "resonator/resonator_command.h"

namespace quor::resonator {

namespace {

constexpr Color kTopLoadColor = 0x800000;  // navy
constexpr Color kVoltageColor = kBlue;
constexpr Color kCurrentColor = kGreen;
constexpr int kMargin = 10;
constexpr int kTextHeight = 14;

// Pixels from a world length, kept inside what an int holds whatever the sizes typed.
int Pix(Extended v) {
  return static_cast<int>(std::lround(std::clamp<Extended>(v, -1e6L, 1e6L)));
}

// World (rho, z) to pixels: rho = 0 at the left panel's centre, z up.
struct Mapping {
  Extended scale = 1, cx = 0, zlo = 0, ybase = 0;
  int X(Extended rho) const { return Pix(cx + rho * scale); }
  int Y(Extended z) const { return Pix(ybase - (z - zlo) * scale); }
};

void Circle(Canvas& canvas, const Mapping& map, Extended rho, Extended z, Extended radius) {
  const Extended r = std::max<Extended>(radius * map.scale, 1);
  canvas.Ellipse(Pix(map.cx + rho * map.scale - r), map.Y(z) - Pix(r),
                 Pix(map.cx + rho * map.scale + r) + 1, map.Y(z) + Pix(r) + 1);
}

// A profile along the winding: the values at the heights, as a fraction of the largest
// magnitude, from x0 to x0 + width.
void Profile(Canvas& canvas, const Mapping& map, int x0, int width,
             const std::vector<Extended>& z, const std::vector<Extended>& value) {
  Extended top = 0;
  for (const Extended v : value) top = std::max(top, std::fabs(v));
  if (!(top > 0) || z.empty()) return;
  for (std::size_t i = 0; i < z.size(); ++i) {
    const int x = x0 + Pix(std::fabs(value[i]) / top * width);
    if (i == 0)
      canvas.MoveTo(x, map.Y(z[i]));
    else
      canvas.LineTo(x, map.Y(z[i]));
  }
}

}  // namespace

void DrawResonator(const ResonatorOutcome& outcome, Canvas& canvas) {
  const int W = canvas.Width(), H = canvas.Height();
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(kWhite);
  canvas.SetPenColor(kWhite);
  canvas.FillRect(0, 0, W, H);
  if (!outcome.valid) return;
  const ResonatorInput& in = outcome.setup.input;
  const ResonatorCoil& c = in.coil;
  if (!(c.h > 0 && c.r > 0)) return;

  // The extent of the arrangement in the meridian plane.
  const Extended zt = c.b + c.h + in.top.height;
  Extended rhoMax = c.r + c.wd / 2, zlo = in.ground ? 0.0L : c.b, zhi = c.b + c.h;
  zlo = std::min(zlo, c.b);
  if (in.top.kind == TopLoadKind::Toroid) {
    rhoMax = std::max(rhoMax, in.top.major / 2);
    zlo = std::min(zlo, zt - in.top.minor / 2);
    zhi = std::max(zhi, zt + in.top.minor / 2);
  } else if (in.top.kind == TopLoadKind::Sphere) {
    rhoMax = std::max(rhoMax, in.top.sphere / 2);
    zlo = std::min(zlo, zt - in.top.sphere / 2);
    zhi = std::max(zhi, zt + in.top.sphere / 2);
  }
  const int panel = W / 2;  // the arrangement on the left half, the profiles on the right
  const int bottom = H - kMargin - kTextHeight;
  const int top = kMargin + kTextHeight;
  Mapping map;
  map.scale = std::min((panel - 2 * kMargin) / (2 * rhoMax), (bottom - top) / (zhi - zlo));
  map.cx = panel / 2.0L;
  map.zlo = zlo;
  map.ybase = bottom;

  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.SetPenWidth(1);
  canvas.SetPenStyle(PenStyle::Solid);
  if (in.ground) {
    canvas.SetPenColor(kGray);
    const int y = map.Y(0);
    canvas.MoveTo(kMargin / 2, y);
    canvas.LineTo(panel - kMargin / 2, y);
    for (int x = kMargin / 2; x < panel - kMargin / 2; x += 8) {
      canvas.MoveTo(x + 6, y);
      canvas.LineTo(x, y + 6);
    }
  }
  // The winding: its two sides and some of its turns.
  canvas.SetPenColor(kRed);
  const int xl = map.X(-c.r), xr = map.X(c.r);
  const int yb = map.Y(c.b), yt = map.Y(c.b + c.h);
  canvas.MoveTo(xl, yb);
  canvas.LineTo(xl, yt);
  canvas.MoveTo(xr, yb);
  canvas.LineTo(xr, yt);
  const std::int32_t turns = RoundAtLeastOne(c.N);
  const std::int32_t shown = std::min<std::int32_t>(turns, std::max(2, (yb - yt) / 3));
  for (std::int32_t i = 0; i < shown; ++i) {
    const int y = map.Y(c.b + c.h * (i + 0.5L) / shown);
    canvas.MoveTo(xl, y);
    canvas.LineTo(xr, y);
  }
  // The top load.
  canvas.SetPenColor(kTopLoadColor);
  canvas.SetPenWidth(2);
  if (in.top.kind == TopLoadKind::Toroid) {
    const Extended a = in.top.minor / 2, R = in.top.major / 2 - a;
    Circle(canvas, map, -R, zt, a);
    Circle(canvas, map, R, zt, a);
  } else if (in.top.kind == TopLoadKind::Sphere) {
    Circle(canvas, map, 0, zt, in.top.sphere / 2);
  }
  canvas.SetPenWidth(1);
  if (!outcome.computed || outcome.model.modes.empty()) return;

  // Mode 1 along the winding, at the winding's own heights.
  const ResonatorResult& m = outcome.model;
  const ResonatorMode& mode = m.modes.front();
  const int x0 = panel + kMargin, width = W - panel - 3 * kMargin;
  canvas.SetFontColor(kBlack);
  canvas.TextOut(x0, kMargin / 2, "Mode 1: " + FixedStr(mode.frequency / 1000, 1, 2) + " kHz");
  canvas.SetPenColor(kGray);
  canvas.MoveTo(x0, yb);
  canvas.LineTo(x0, yt);
  canvas.MoveTo(x0, yb);
  canvas.LineTo(x0 + width, yb);
  const std::vector<Extended>& nodeZ = m.inductances.nodeZ;
  std::vector<Extended> mid(mode.current.size());
  for (std::size_t s = 0; s < mid.size(); ++s) mid[s] = (nodeZ[s] + nodeZ[s + 1]) / 2;
  canvas.SetPenWidth(2);
  canvas.SetPenColor(kVoltageColor);
  Profile(canvas, map, x0, width, nodeZ, mode.voltage);
  canvas.SetPenColor(kCurrentColor);
  Profile(canvas, map, x0, width, mid, mode.current);
  canvas.SetPenWidth(1);
  canvas.SetFontColor(kVoltageColor);
  canvas.TextOut(x0, H - kMargin - kTextHeight + 2, "voltage");
  canvas.SetFontColor(kCurrentColor);
  canvas.TextOut(x0 + canvas.TextWidth("voltage  "), H - kMargin - kTextHeight + 2, "current");
  canvas.SetFontColor(kBlack);
}

}  // namespace quor::resonator
