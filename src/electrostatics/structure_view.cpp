#include "electrostatics/structure_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

// Nearest integer, ties to even. Points far outside the area (a zoomed view) are
// held to a range the canvas draws quickly and that fits an int.
int Round(Extended v) {
  constexpr Extended kFar = 1e6L;
  if (v > kFar) v = kFar;
  if (v < -kFar) v = -kFar;
  return static_cast<int>(std::llrint(v));
}

int RoundDegrees(Extended radians) { return Round(radians * 180.0L / kPi); }

}  // namespace

std::vector<CanvasPoint> ElementOutline(const ScreenMapping& view, const StructureElement& e,
                                        bool mirror) {
  const Extended side = mirror ? -1 : 1;
  const Extended* p = e.p;
  if (e.kind == ElementKind::Line)
    return {{ViewX(view, side * p[0]), ViewY(view, p[1])},
            {ViewX(view, side * p[2]), ViewY(view, p[3])}};
  const bool circle = e.kind == ElementKind::Circle;
  const Extended r0 = p[0], z0 = p[1], rhor = p[2], rvert = circle ? p[2] : p[3];
  const Extended angle1 = circle ? p[3] : p[4], angle2 = circle ? p[4] : p[5];
  // A point at least every 3 degrees of the parameter: on the largest ellipse that
  // fits the area a chord strays less than a tenth of a pixel from the curve. A span
  // of many turns (any number may be typed) is drawn with at most 720 steps.
  const Extended span = angle2 - angle1;
  int steps = 1;
  if (std::isfinite(span))
    steps = static_cast<int>(std::min<Extended>(720, std::ceil(std::fabs(span) * 60 / kPi)));
  steps = std::max(steps, 1);
  std::vector<CanvasPoint> points;
  points.reserve(static_cast<std::size_t>(steps) + 1);
  for (int i = 0; i <= steps; ++i) {
    const Extended t = i == steps ? angle2 : angle1 + span * i / steps;
    points.push_back({ViewX(view, side * (r0 + rhor * std::cos(t))),
                      ViewY(view, z0 + rvert * std::sin(t))});
  }
  return points;
}

int ViewX(const ScreenMapping& view, Extended r) { return Round(view.KX * r + view.OX); }
int ViewY(const ScreenMapping& view, Extended z) { return Round(view.KY * z + view.OY); }

ScreenMapping StructureViewTransform(const ViewWindow& w, int width, int height) {
  ScreenMapping m;
  // A structure that reaches no positive radius (all of it on the axis, or rings of
  // negative radius that the calculation refuses) leaves no width: the height alone
  // sets the scale.
  const Extended across = w.RMax - w.XMin;
  Extended sx = across > 0 ? (width - 40) / across : std::numeric_limits<Extended>::infinity();
  Extended sz = (height - 40) / (w.ZMin - w.ZMax);
  if (std::fabs(sx) <= std::fabs(sz))
    sz = -sx;
  else
    sx = -sz;
  m.KX = sx;
  m.KY = sz;
  m.OX = static_cast<Extended>(width) / 2 - (w.RMax + w.XMin) * sx / 2;
  m.OY = static_cast<Extended>(height) / 2 - (w.ZMax + w.ZMin) * sz / 2;
  return m;
}

ScreenMapping DrawStructureView(Canvas& canvas, const ViewWindow& window,
                                const std::vector<StructureElement>& elements) {
  const int W = canvas.Width(), H = canvas.Height();
  canvas.SetPenColor(kBlack);
  canvas.SetBrushColor(kWhite);
  canvas.Rectangle(0, 0, W, H);
  const ScreenMapping v = StructureViewTransform(window, W, H);

  canvas.SetPenColor(kGray);
  canvas.SetPenStyle(PenStyle::Dot);
  canvas.MoveTo(0, ViewY(v, 0));
  canvas.LineTo(W - 1, ViewY(v, 0));
  canvas.MoveTo(ViewX(v, 0), 0);
  canvas.LineTo(ViewX(v, 0), H - 1);
  canvas.SetPenStyle(PenStyle::Solid);

  for (const StructureElement& e : elements) {
    const Extended* p = e.p;
    for (const Color pen : {kRed, kGray}) {
      canvas.SetPenColor(pen);
      const bool mirror = pen == kGray;
      if (e.kind != ElementKind::Circle) {
        const std::vector<CanvasPoint> points = ElementOutline(v, e, mirror);
        canvas.MoveTo(points.front().x, points.front().y);
        canvas.PolylineTo(points.data() + 1, points.size() - 1);
        continue;
      }
      const Extended r0 = p[0], z0 = p[1], r = p[2], angle1 = p[3], angle2 = p[4];
      if (!mirror) {
        DrawArc(canvas, ViewX(v, r0 - r), ViewY(v, z0 + r), ViewX(v, r0 + r), ViewY(v, z0 - r),
                RoundDegrees(angle1), RoundDegrees(angle2));
      } else {
        // Seen in the mirror the arc runs the other way: 180 - angle.
        DrawArc(canvas, ViewX(v, -(r0 + r)), ViewY(v, z0 + r), ViewX(v, -(r0 - r)),
                ViewY(v, z0 - r), Round(180 - angle2 * 180.0L / kPi),
                Round(180 - angle1 * 180.0L / kPi));
      }
    }
  }
  return v;
}

void ChangeView(ViewWindow& v, ViewChange change) {
  const Extended w = v.RMax - v.XMin, h = v.ZMax - v.ZMin;
  switch (change) {
    case ViewChange::ZoomIn:
      v.RMax -= w / 8, v.XMin += w / 8, v.ZMax -= h / 8, v.ZMin += h / 8;
      break;
    case ViewChange::ZoomOut:
      v.RMax += w / 4, v.XMin -= w / 4, v.ZMax += h / 4, v.ZMin -= h / 4;
      break;
    case ViewChange::Left:  // the window moves left: the structure moves right
      v.RMax -= w / 4, v.XMin -= w / 4;
      break;
    case ViewChange::Right:
      v.RMax += w / 4, v.XMin += w / 4;
      break;
    case ViewChange::Up:
      v.ZMax += h / 4, v.ZMin += h / 4;
      break;
    case ViewChange::Down:
      v.ZMax -= h / 4, v.ZMin -= h / 4;
      break;
  }
}

void DrawRing(Canvas& canvas, const ScreenMapping& view, const StructureRing& ring) {
  const Extended R = ring.R, Z = ring.Z;
  canvas.SetPenColor(kSilver);
  DrawArc(canvas, ViewX(view, -R), ViewY(view, Z + R / 4), ViewX(view, R), ViewY(view, Z - R / 4),
          0, 180);
  const int radius = Round(view.KX * ring.a);
  canvas.SetPenColor(kGreen);
  DrawCircle(canvas, ViewX(view, -R), ViewY(view, Z), radius);
  canvas.SetPenColor(kBlue);
  DrawCircle(canvas, ViewX(view, R), ViewY(view, Z), radius);
}

}  // namespace quor::electrostatics
