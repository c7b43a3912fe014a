#include "transformer/mutual.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "numerics/format.h"
#include "numerics/input_rounding.h"
#include "numerics/rings.h"
#include "transformer/spiral_tables.h"

namespace quor::transformer {
using namespace quor::numerics;

// Neumann's formula M = mu0/(4 pi) * double integral of (dl1 . dl2)/R, taken along the
// two spirals by the midpoint rule on straight segments of equal angle.
//
// The outer loop runs along coil 1 and draws it segment by segment. None of these
// routines lets window events through, so the lines become visible only when the
// window next repaints; they are collected and drawn at the end as one polyline,
// which is the same picture.

namespace {

// Segments of a coil: trunc(ns*N), toward zero, of the Extended product (a product
// within the rounding of the decimal turns below a whole number is that number).
std::int64_t SegmentCount(std::int32_t ns, Extended N) {
  return static_cast<std::int64_t>(TruncWithinRounding(static_cast<Extended>(ns) * N));
}

// The drawn path of coil 1, handed to the canvas in pieces so that a coil of very
// many segments needs no path of its own length in memory.
class PathBuffer {
 public:
  explicit PathBuffer(Canvas& canvas) : canvas_(canvas) { points_.reserve(kPiece); }
  ~PathBuffer() { Flush(); }
  void Add(CanvasPoint p) {
    points_.push_back(p);
    if (points_.size() == kPiece) Flush();
  }
  void Flush() {
    if (!points_.empty()) canvas_.PolylineTo(points_.data(), points_.size());
    points_.clear();
  }

 private:
  static constexpr std::size_t kPiece = 1 << 16;
  Canvas& canvas_;
  std::vector<CanvasPoint> points_;
};

}  // namespace

void MutualSolenoids(TransformerContext& ctx, std::int32_t ns1, std::int32_t ns2) {
  const CoilPair& c = ctx.coils;
  const Extended p1 = c.h1 / (kTwoPi * c.N1);
  const Extended p2 = c.h2 / (kTwoPi * c.N2);
  const Extended dt1 = kTwoPi / ns1;
  const Extended dt2 = kTwoPi / ns2;
  const std::int64_t segs1 = SegmentCount(ns1, c.N1);
  const std::int64_t segs2 = SegmentCount(ns2, c.N2);
  const Extended r1r2 = c.rmin1 * c.rmin2;
  const Extended p1p2 = p1 * p2;
  const Extended db = c.b1 - c.b2;
  const Extended rr = c.rmin1 * c.rmin1 + c.rmin2 * c.rmin2;
  const Extended twoR1R2 = 2 * c.rmin1 * c.rmin2;

  ctx.Line("Calculating mutual inductance between solenoids...");
  Canvas& canvas = *ctx.canvas;
  canvas.MoveTo(ToScreenX(ctx.map, c.rmin1), ToScreenY(ctx.map, c.b1));
  canvas.SetPenColor(kGreen);

  // cos(theta1 - theta2) = cos theta1 cos theta2 + sin theta1 sin theta2, both angles
  // being segment midpoints of their own coil: cosines by table index instead of a
  // cosine call per term.
  const MidpointTable t1(ns1);
  const MidpointTable t2(ns2);

  PathBuffer path(canvas);
  Extended sum = 0;
  Extended theta1 = dt1 / 2;
  std::int32_t m1 = 0;
  for (std::int64_t i = 1; i <= segs1; ++i) {
    const Extended z1 = p1 * theta1;
    const Extended C1 = t1.cos[m1];
    const Extended S1 = t1.sin[m1];
    Extended theta2 = dt2 / 2;
    std::int32_t m2 = 0;
    for (std::int64_t j = 1; j <= segs2; ++j) {
      const Extended cs = C1 * t2.cos[m2] + S1 * t2.sin[m2];
      const Extended dz = z1 - p2 * theta2 + db;
      sum = sum + (r1r2 * cs + p1p2) / std::sqrt(dz * dz + (rr - twoR1R2 * cs));
      theta2 = theta2 + dt2;
      if (++m2 == ns2) m2 = 0;
    }
    theta1 = theta1 + dt1;
    if (++m1 == ns1) m1 = 0;
    const Extended phi = theta1 - dt1 / 2;  // end of the segment just summed
    path.Add({ToScreenX(ctx.map, c.rmin1 * std::cos(phi)),
                    ToScreenY(ctx.map, 0.5L * c.rmin1 * std::sin(phi) + p1 * phi + c.b1)});
  }
  path.Flush();
  ctx.coils.M = 1e-7L * sum * dt1 * dt2;
}

void MutualGeneralCoils(TransformerContext& ctx, std::int32_t ns1, std::int32_t ns2) {
  const CoilPair& c = ctx.coils;
  const Extended p1 = c.h1 / (kTwoPi * c.N1);
  const Extended p2 = c.h2 / (kTwoPi * c.N2);
  const Extended a1 = (c.rmax1 - c.rmin1) / (kTwoPi * c.N1);
  const Extended a2 = (c.rmax2 - c.rmin2) / (kTwoPi * c.N2);
  const Extended dt1 = kTwoPi / ns1;
  const Extended dt2 = kTwoPi / ns2;
  const std::int64_t segs1 = SegmentCount(ns1, c.N1);
  const std::int64_t segs2 = SegmentCount(ns2, c.N2);

  ctx.Line("Calculating mutual inductance between general coils...");
  // Direction cosines of the segment midpoints; the spiral is the same in every turn
  // but for its radius and height, so one turn's table serves all.
  const MidpointTable t1(ns1);
  const MidpointTable t2(ns2);

  Canvas& canvas = *ctx.canvas;
  canvas.MoveTo(ToScreenX(ctx.map, c.rmin1), ToScreenY(ctx.map, c.b1));
  canvas.SetPenColor(kGreen);

  PathBuffer path(canvas);
  Extended sum = 0;
  Extended theta1 = dt1 / 2;
  std::int32_t m1 = 0;
  for (std::int64_t i = 1; i <= segs1; ++i) {
    const Extended C1 = t1.cos[m1];
    const Extended S1 = t1.sin[m1];
    const Extended r1 = a1 * theta1 + c.rmin1;
    const Extended x1 = r1 * C1;
    const Extended y1 = r1 * S1;
    const Extended z1 = p1 * theta1 + c.b1;
    // Tangent dP/dtheta of coil 1.
    const Extended t1x = a1 * C1 - y1;
    const Extended t1y = a1 * S1 + x1;
    Extended theta2 = dt2 / 2;
    std::int32_t m2 = 0;
    for (std::int64_t j = 1; j <= segs2; ++j) {
      const Extended C2 = t2.cos[m2];
      const Extended S2 = t2.sin[m2];
      const Extended r2 = a2 * theta2 + c.rmin2;
      const Extended x2 = r2 * C2;
      const Extended y2 = r2 * S2;
      const Extended z2 = p2 * theta2 + c.b2;
      const Extended t2x = a2 * C2 - y2;
      const Extended t2y = a2 * S2 + x2;
      const Extended dx = x1 - x2;
      const Extended dy = y1 - y2;
      const Extended dz = z1 - z2;
      sum = sum + (t1x * t2x + t1y * t2y + p1 * p2) / std::sqrt(dx * dx + dy * dy + dz * dz);
      theta2 = theta2 + dt2;
      if (++m2 == ns2) m2 = 0;
    }
    theta1 = theta1 + dt1;
    if (++m1 == ns1) m1 = 0;
    const Extended phi = theta1 - dt1 / 2;
    const Extended r = a1 * phi + c.rmin1;
    path.Add({ToScreenX(ctx.map, r * std::cos(phi)),
                    ToScreenY(ctx.map, 0.5L * r * std::sin(phi) + p1 * phi + c.b1)});
  }
  path.Flush();
  ctx.coils.M = 1e-7L * sum * dt1 * dt2;
}

void MutualCircularTurns(TransformerContext& ctx) {
  const CoilPair& c = ctx.coils;
  const std::int32_t turns1 = RoundAtLeastOne(c.N1);
  const std::int32_t turns2 = RoundAtLeastOne(c.N2);
  ctx.Line("Calculating mutual inductance between general coils with circular turns...");
  if (c.N1 != turns1) ctx.Line("Turns 1 rounded to " + IntStr(turns1));
  if (c.N2 != turns2) ctx.Line("Turns 2 rounded to " + IntStr(turns2));
  ctx.Value("n1", "1", turns1);
  ctx.Value("n2", "1", turns2);

  // Each turn sits at the middle of its share of the winding.
  const Extended dz1 = c.h1 / turns1;
  const Extended dz2 = c.h2 / turns2;
  const Extended dr1 = (c.rmax1 - c.rmin1) / turns1;
  const Extended dr2 = (c.rmax2 - c.rmin2) / turns2;
  Canvas& canvas = *ctx.canvas;
  canvas.SetPenColor(kLime);

  Extended sum = 0;
  Extended za = c.b1 + dz1 / 2;
  Extended ra = c.rmin1 + dr1 / 2;
  for (std::int32_t i = 1; i <= turns1; ++i) {
    if (ctx.StoppedBetweenRows()) return;
    Extended zb = c.b2 + dz2 / 2;
    Extended rb = c.rmin2 + dr2 / 2;
    for (std::int32_t j = 1; j <= turns2; ++j) {
      sum = sum + RingPairTerm(ra, rb, za - zb);
      zb = zb + dz2;
      rb = rb + dr2;
    }
    DrawArc(canvas, ToScreenX(ctx.map, -ra), ToScreenY(ctx.map, za - ra / 2),
            ToScreenX(ctx.map, ra), ToScreenY(ctx.map, za + ra / 2), 0, 360);
    za = za + dz1;
    ra = ra + dr1;
  }
  ctx.coils.M = -kMu0 * sum;
}

}  // namespace quor::transformer
