#pragma once
// The outer loop of a true-spiral self-inductance sum: after each outer segment it
// draws a line to the end of that segment, lets the window process pending events
// and tells whether the user has clicked Stop meanwhile.
//
// A line to the pen position draws nothing, so a segment ending in the pixel of the
// previous one is not drawn; the others go to the canvas before the window is
// served, so that the drawing shows how far the sum has come however slow its steps.
#include <cmath>
#include <cstdint>
#include <utility>

#include "numerics/format.h"
#include "numerics/rings.h"

#include "transformer/context.h"

namespace quor::transformer {
using namespace quor::numerics;

class SpiralProgress {
 public:
  explicit SpiralProgress(TransformerContext& ctx) : ctx_(ctx) {}
  SpiralProgress(const SpiralProgress&) = delete;
  SpiralProgress& operator=(const SpiralProgress&) = delete;

  void MoveTo(int x, int y) {
    ctx_.canvas->MoveTo(x, y);
    last_ = {x, y};
  }

  // Ends one outer segment at pixel p. Returns false, after writing
  // "Interrupted", when a stop was requested meanwhile (or the run flag cleared).
  bool Step(CanvasPoint p) {
    if (!(p == last_)) {
      last_ = p;
      ctx_.canvas->LineTo(p.x, p.y);
    }
    PumpEvents(ctx_.pump);
    return GoOn();
  }

  // After the last outer segment: a pump that serves the window only now and then
  // may have let the last steps pass without serving it, so a Stop click made just
  // then is taken now, while the sum still runs, rather than starting a new
  // Calculate once the sum is over. Returns false as Step does.
  bool Finish() {
    if (!ctx_.pumpNow) return true;
    ctx_.pumpNow();
    return GoOn();
  }

 private:
  bool GoOn() {
    if (ctx_.StopRequested()) ctx_.StopFlag = false;
    if (ctx_.StopFlag) return true;
    ctx_.Line("Interrupted");
    return false;
  }

  TransformerContext& ctx_;
  CanvasPoint last_{};
};

// True when a pixel coordinate lies within tol of a rounding boundary k + 1/2. (rint
// rounds in the processor's mode, nearest, and needs no switch of the mode as floor
// does: this runs once per outer step.)
inline bool NearPixelTie(Extended v, Extended tol) {
  const Extended t = v - 0.5L;
  return std::fabs(t - std::rint(t)) < tol;
}

// The pixel of a point of a spiral at the given angle, with its cosine and sine read
// from a table; at(cos, sin) gives the world point (x, z) of a point at distance
// radius from the axis. The angle is accumulated step by step, while the table value
// stands for indexAngle = steps*dtheta: the two differ by the rounding drift of the
// sum (it grows with the number of steps, to some 1e-7 rad after 10^9 of them), and
// the drift can tip the rounding of a point lying near a pixel boundary (with the
// default scale the axis x = 0 falls on one). Near a boundary, within what the drift
// can move the point, the direct cosine and sine of the angle are used.
template <class WorldAt>
CanvasPoint SpiralPixel(const ScreenMapping& map, Extended angle, Extended indexAngle,
                        Extended cs, Extended sn, Extended radius, WorldAt at) {
  auto [x, z] = at(cs, sn);
  const auto asDrawn = [](Extended v) { return static_cast<Extended>(static_cast<double>(v)); };
  // The drift, plus a few units in the last place of the angle for the table's own
  // rounding and the turns' worth of 2 pi the index stands for.
  const Extended drift = std::fabs(angle - indexAngle) + std::fabs(angle) * 0x1p-59L;
  const Extended tol =
      1e-9L + 2 * drift * std::fabs(radius) * (std::fabs(map.KX) + std::fabs(map.KY));
  if (NearPixelTie(map.KX * asDrawn(x) + map.OX, tol) ||
      NearPixelTie(map.KY * asDrawn(z) + map.OY, tol)) {
    const auto direct = at(std::cos(angle), std::sin(angle));
    x = direct.first;
    z = direct.second;
  }
  return {ToScreenX(map, x), ToScreenY(map, z)};
}

// Maxwell's separation of the two filamentary copies of a coil: the geometric mean
// distance of the round wire from itself, g = exp(-1/4)*wd/2, measured normal to the
// winding. Along the axis the copies are s = g*l/(2 pi rho) apart, l being the length
// of one turn of radius rho. Writes the two lines that show them.
struct CopySeparation {
  Extended g = 0, s = 0, ell = 0;
};

inline CopySeparation WriteCopySeparation(TransformerContext& ctx, std::int32_t nsm, Extended wd,
                                          Extended rho, Extended turnRise) {
  CopySeparation c;
  c.g = WireGmd(wd);
  c.ell = std::sqrt((kTwoPi * rho) * (kTwoPi * rho) + turnRise * turnRise);
  c.s = c.g * c.ell / (kTwoPi * rho);
  ctx.Line("G. m. d.: " + FixedStr(c.g, 17, 15) + "; Vertical spacing: " + FixedStr(c.s, 17, 15));
  // Segments per turn as long as the g.m.d.: shown as a guide, not used.
  const auto guide = static_cast<std::int32_t>(std::llrint(c.ell / c.g));
  ctx.Line("Segments: high precision: " + IntStr(guide) + " used: " + IntStr(nsm));
  ctx.Value(ctx.CoilKey("gmd"), "m", c.g);
  ctx.Value(ctx.CoilKey("spacing"), "m", c.s);
  ctx.Value(ctx.CoilKey("segments"), "1", guide);
  return c;
}

}  // namespace quor::transformer
