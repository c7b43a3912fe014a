#include "electrostatics/plot_overlays.h"

#include <algorithm>
#include <cmath>

#include "electrostatics/structure_view.h"
#include "numerics/format.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

// The height of a line of the canvas's text (an 8-point face) with a pixel to spare.
constexpr int kTextHeight = 14;

// The axes' ticks and labels aim at this many pixels between two numbers.
constexpr Extended kTickSpacing = 60;

// A white band three pixels wide under a black one-pixel line.
void HaloPolyline(Canvas& canvas, const std::vector<CanvasPoint>& points, bool band) {
  if (points.size() < 2) return;
  canvas.SetPenColor(band ? kWhite : kBlack);
  canvas.SetPenWidth(band ? 3 : 1);
  canvas.MoveTo(points.front().x, points.front().y);
  canvas.PolylineTo(points.data() + 1, points.size() - 1);
}

void HaloLine(Canvas& canvas, CanvasPoint from, CanvasPoint to) {
  for (const bool band : {true, false}) HaloPolyline(canvas, {from, to}, band);
}

bool Overlap(const PixelBox& a, const PixelBox& b) {
  return a.x1 < b.x2 && b.x1 < a.x2 && a.y1 < b.y2 && b.y1 < a.y2;
}

// The number of a tick with the decimals its step needs: none for 1, 2, 5, 10 ...,
// one for 0.1, 0.2, 0.5, and so on.
std::string TickText(Extended value, Extended step) {
  const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9L)), 0, 12);
  return FixedStr(value, 1, decimals);
}

// The multiples k step of the step within [a, b], as the first and last k; none when
// more than a few dozen (an area never holds more).
bool TickRange(Extended a, Extended b, Extended step, long long& first, long long& last) {
  if (a > b) std::swap(a, b);
  const Extended lo = std::ceil(a / step), hi = std::floor(b / step);
  if (!std::isfinite(lo) || !std::isfinite(hi) || hi - lo > 64 || std::fabs(lo) > 1e15L)
    return false;
  first = static_cast<long long>(lo);
  last = static_cast<long long>(hi);
  return true;
}

// A text of "0.000" form that only its sign made negative loses the sign.
std::string WithoutNegativeZero(std::string text) {
  if (!text.empty() && text.front() == '-' &&
      text.find_first_not_of("0.", 1) == std::string::npos)
    text.erase(0, 1);
  return text;
}

}  // namespace

void DrawOutlines(Canvas& canvas, const ScreenMapping& view,
                  const std::vector<StructureElement>& elements) {
  canvas.SetPenStyle(PenStyle::Solid);
  // All the bands first: a band never covers the line of a neighbouring element.
  for (const bool band : {true, false})
    for (const StructureElement& e : elements)
      for (const bool mirror : {false, true})
        HaloPolyline(canvas, ElementOutline(view, e, mirror), band);
  canvas.SetPenWidth(1);
}

Extended NiceStep(Extended least) {
  if (!(least > 0) || !std::isfinite(least)) return 0;
  const Extended power = std::pow(10.0L, std::floor(std::log10(least)));
  for (const Extended m : {1.0L, 2.0L, 5.0L, 10.0L})
    if (m * power >= least * (1 - 1e-12L)) return m * power;
  return 10 * power;
}

void DrawPlotAxes(Canvas& canvas, const ScreenMapping& view, const PixelBox& keepOut) {
  const int W = canvas.Width(), H = canvas.Height();
  if (!std::isfinite(view.KX) || !std::isfinite(view.KY) || view.KX == 0 || view.KY == 0) return;
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetBrushColor(kWhite);
  canvas.SetFontColor(kBlack);

  const std::string rCaption = "r (m)", zCaption = "z (m)";
  const int rCaptionWidth = canvas.TextWidth(rCaption);
  const int bottomLabelY = H - 7 - kTextHeight;  // just above the bottom ticks
  const int labelX = 9;                          // just right of the left ticks
  std::vector<PixelBox> taken = {keepOut,
                                 {W - 2 - rCaptionWidth - 4, bottomLabelY, W, H},
                                 {0, 0, labelX + canvas.TextWidth(zCaption) + 4, 2 + kTextHeight + 2}};

  // Radii along the bottom edge.
  const Extended stepR = NiceStep(kTickSpacing / std::fabs(view.KX));
  long long first = 0, last = -1;
  if (stepR > 0 && TickRange((0 - view.OX) / view.KX, (W - 1 - view.OX) / view.KX, stepR, first,
                             last))
    for (long long k = first; k <= last; ++k) {
      const Extended r = k * stepR;
      const int X = ViewX(view, r);
      HaloLine(canvas, {X, H - 1}, {X, H - 7});
      const std::string text = TickText(r, stepR);
      const int w = canvas.TextWidth(text);
      const PixelBox box{X - w / 2, bottomLabelY, X - w / 2 + w, bottomLabelY + kTextHeight};
      if (box.x1 < 2 || box.x2 > W - 2 ||
          std::any_of(taken.begin(), taken.end(), [&](const PixelBox& t) { return Overlap(box, t); }))
        continue;
      canvas.TextOut(box.x1, box.y1, text);
      taken.push_back(box);  // long numbers of a fine step skip their neighbours
    }
  // The bottom numbers keep their row: the left ones stay above it.
  taken.push_back({0, bottomLabelY - 2, W, H});

  // Heights along the left edge.
  const Extended stepZ = NiceStep(kTickSpacing / std::fabs(view.KY));
  first = 0, last = -1;
  if (stepZ > 0 && TickRange((0 - view.OY) / view.KY, (H - 1 - view.OY) / view.KY, stepZ, first,
                             last))
    for (long long k = first; k <= last; ++k) {
      const Extended z = k * stepZ;
      const int Y = ViewY(view, z);
      HaloLine(canvas, {0, Y}, {7, Y});
      const std::string text = TickText(z, stepZ);
      const PixelBox box{labelX, Y - kTextHeight / 2, labelX + canvas.TextWidth(text),
                         Y - kTextHeight / 2 + kTextHeight};
      if (box.y1 < 0 ||
          std::any_of(taken.begin(), taken.end(), [&](const PixelBox& t) { return Overlap(box, t); }))
        continue;
      canvas.TextOut(box.x1, box.y1, text);
    }

  canvas.TextOut(labelX, 2, zCaption);
  canvas.TextOut(W - 2 - rCaptionWidth, bottomLabelY, rCaption);
  canvas.SetPenWidth(1);
}

void DrawProbeMark(Canvas& canvas, int X, int Y) {
  canvas.SetPenStyle(PenStyle::Solid);
  // Four pixels either side of the point (a line leaves out its last pixel); both
  // bands first, so that neither covers the other arm.
  for (const bool band : {true, false}) {
    HaloPolyline(canvas, {{X - 4, Y}, {X + 5, Y}}, band);
    HaloPolyline(canvas, {{X, Y - 4}, {X, Y + 5}}, band);
  }
  canvas.SetPenWidth(1);
}

LegendTexts LegendTextsFor(Extended low, Extended high, const std::string& unit) {
  const Extended largest = std::max(std::fabs(low), std::fabs(high));
  // Values of 0.01 to 9999 are written as they are; others in thousands, millions,
  // thousandths ... of the unit, so that the largest lies between 1 and 1000.
  int exponent = 0;
  if (std::isfinite(largest) && largest > 0 && (largest >= 10000 || largest < 0.01L))
    exponent = 3 * static_cast<int>(std::floor(std::log10(largest) / 3));
  const Extended scale = std::pow(10.0L, exponent);
  const Extended scaledLargest = largest / scale;
  const int decimals =
      scaledLargest > 0 && std::isfinite(scaledLargest)
          ? std::clamp(3 - static_cast<int>(std::floor(std::log10(scaledLargest))), 0, 3)
          : 3;
  LegendTexts t;
  for (int i = 0; i <= 4; ++i) {
    // The ends exactly, the points between them evenly.
    const Extended v = i == 0 ? low : i == 4 ? high : low + (high - low) * i / 4;
    t.values.push_back(WithoutNegativeZero(FixedStr(v / scale, 1, decimals)));
  }
  static const char* const kPrefixes[] = {"p", "n", "u", "m", "", "k", "M", "G", "T"};
  if (exponent >= -12 && exponent <= 12)
    t.unit = kPrefixes[exponent / 3 + 4] + unit;
  else
    t.unit = "1E" + std::to_string(exponent) + " " + unit;
  return t;
}

}  // namespace quor::electrostatics
