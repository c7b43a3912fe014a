#pragma once
// The outer loop of a true-spiral self-inductance sum: after each outer segment it
// draws a line to the end of that segment, lets the window process pending events
// and tells whether the user has clicked Stop meanwhile.
//
// The lines are gathered and handed to the canvas as one polyline per turn (and at
// once when the sum is stopped), which is the same picture as one line per segment;
// repeated pixels are dropped because a line to the pen position draws nothing.
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "numerics/format.h"

#include "transformer/context.h"

class SpiralProgress {
 public:
  explicit SpiralProgress(TransformerContext& ctx) : ctx_(ctx) {}
  SpiralProgress(const SpiralProgress&) = delete;
  SpiralProgress& operator=(const SpiralProgress&) = delete;
  ~SpiralProgress() { Flush(); }

  void MoveTo(int x, int y) {
    Flush();
    ctx_.canvas->MoveTo(x, y);
    last_ = {x, y};
  }

  // Ends one outer segment at pixel p. Returns false, after writing
  // "Interrupted", when the run flag has been cleared by a Stop click.
  bool Step(CanvasPoint p) {
    if (!(p == last_)) {
      last_ = p;
      pending_.push_back(p);
    }
    PumpEvents(ctx_.pump);
    if (!ctx_.StopFlag) {
      Flush();
      ctx_.Line("Interrupted");
      return false;
    }
    return true;
  }

  void Flush() {
    if (!pending_.empty()) {
      ctx_.canvas->PolylineTo(pending_.data(), pending_.size());
      pending_.clear();
    }
  }

 private:
  TransformerContext& ctx_;
  CanvasPoint last_{};
  std::vector<CanvasPoint> pending_;
};

// True when a pixel coordinate lies within a hair of a rounding boundary.
inline bool NearPixelTie(Extended v) {
  return std::fabs(v - std::floor(v) - 0.5L) < 1e-9L;
}

// The pixel of a point of a spiral at the given angle, with its cosine and sine read
// from a table; at(cos, sin) gives the world point (x, z). A table value and the
// cosine of the angle accumulated step by step differ in their last bits only, which
// can tip the rounding of a point lying on a pixel boundary (with the default scale
// the axis x = 0 falls on one): there the direct cosine and sine are used.
template <class WorldAt>
CanvasPoint SpiralPixel(const ScreenMapping& map, Extended angle, Extended cs, Extended sn,
                        WorldAt at) {
  auto [x, z] = at(cs, sn);
  const auto asDrawn = [](Extended v) { return static_cast<Extended>(static_cast<double>(v)); };
  if (NearPixelTie(map.KX * asDrawn(x) + map.OX) || NearPixelTie(map.KY * asDrawn(z) + map.OY)) {
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
  c.g = std::exp(-0.25L) * (wd / 2);
  c.ell = std::sqrt((kTwoPi * rho) * (kTwoPi * rho) + turnRise * turnRise);
  c.s = c.g * c.ell / (kTwoPi * rho);
  ctx.Line("G. m. d.: " + FixedStr(c.g, 17, 15) + "; Vertical spacing: " + FixedStr(c.s, 17, 15));
  // Segments per turn as long as the g.m.d.: shown as a guide, not used.
  ctx.Line("Segments: high precision: " +
           IntStr(static_cast<std::int32_t>(std::llrint(c.ell / c.g))) + " used: " + IntStr(nsm));
  return c;
}
