#include "electrostatics/structure_plot.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <thread>
#include <utility>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/structure_probe.h"
#include "electrostatics/structure_view.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/format.h"
#include "numerics/number_reading.h"
#include "numerics/row_pool.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

constexpr int kFaults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

// The kernel's terms are computed in its own translation unit, so each call is done
// before the flags are read after it.
bool Faulted() { return std::fetestexcept(kFaults) != 0; }

}  // namespace

std::optional<PlotQuantity> PlotQuantityOf(std::string_view text) {
  if (text.empty()) return std::nullopt;
  switch (text.front()) {
    case 'P': case 'p': return PlotQuantity::Potential;
    case 'R': case 'r': return PlotQuantity::Radial;
    case 'A': case 'a': return PlotQuantity::Axial;
    case 'T': case 't': return PlotQuantity::Total;
    default: return std::nullopt;
  }
}

PlotScale PlotScaleOf(PlotQuantity quantity, Extended VMin, Extended VMax, Extended fieldScale) {
  switch (quantity) {
    case PlotQuantity::Potential: return {VMin, VMax, VMax - VMin};
    case PlotQuantity::Total: return {0, fieldScale, fieldScale};
    default: return {-fieldScale, fieldScale, 2 * fieldScale};
  }
}

Color PlotColor(Extended v, const PlotScale& scale, const Palette& palette) {
  const Extended x = (v - scale.low) * 255 / scale.range;
  // Far outside (or not a number): silver without rounding a huge value to an integer.
  if (!(x > -1 && x < 256)) return kSilver;
  const long long n = std::llrint(x);  // nearest, ties to even
  return n >= 0 && n <= 255 ? palette.ColorAt(static_cast<int>(n)) : kSilver;
}

PlotColumns PlotColumnsFor(const ScreenMapping& view, int width) {
  PlotColumns c;
  c.X0 = ViewX(view, 0);
  if (c.X0 < 0 || c.X0 > width - 1) {
    c.first = 0;
    c.last = width - 1;
    return c;
  }
  c.mirror = true;
  c.first = c.X0;
  c.last = c.X0 <= width / 2 ? width : 2 * c.X0 + 3;
  return c;
}

FieldPlot::FieldPlot(const std::vector<StructureRing>& rings, Extended eps0,
                     PlotQuantity quantity, const PlotScale& scale, const Palette& palette,
                     const ScreenMapping& view, int width, int height, bool fast)
    : rings_(rings),
      eps0_(eps0),
      quantity_(quantity),
      scale_(scale),
      palette_(palette),
      view_(view),
      width_(width),
      height_(height),
      step_(fast ? 5 : 1),
      offset_(fast ? 1 : 0),
      columns_(PlotColumnsFor(view, width)) {}

// The value at (r, z) summed over the rings. The radial terms are guarded one by one;
// a fault anywhere else is left in the flags for the caller.
Extended FieldPlot::Value(Extended r, Extended z, PlotRow& row) const {
  auto skipRadial = [&] {
    std::feclearexcept(kFaults);
    row.singular = true;
    row.singularR = r;
    row.singularZ = z;
  };
  Extended v = 0;
  switch (quantity_) {
    case PlotQuantity::Potential:
      for (const StructureRing& g : rings_) v += RingPotential(g.R, g.Z, g.q, r, z, eps0_);
      return v;
    case PlotQuantity::Axial:
      for (const StructureRing& g : rings_) v += RingFieldAxialTerm(g.R, g.Z, g.q, r, z, eps0_);
      return v;
    case PlotQuantity::Radial:
      for (const StructureRing& g : rings_) {
        const Extended term = RingFieldRadialTerm(g.R, g.Z, g.q, r, z, eps0_);
        if (Faulted()) {
          skipRadial();
          continue;
        }
        v -= term;
      }
      return r < 0 ? -v : v;
    case PlotQuantity::Total: {
      Extended Er = 0, Ez = 0;
      for (const StructureRing& g : rings_) {
        // The parts serve both terms: a fault in them is also one of Ez, unguarded.
        const RingFieldParts f = RingFieldPartsAt(g.R, g.Z, g.q, r, z, eps0_);
        if (Faulted()) return 0;
        const Extended term = RingRadialTerm(f, g.R);
        if (Faulted())
          skipRadial();
        else
          Er -= term;
        Ez += RingAxialTerm(f, g.Z, g.q, z, eps0_);
        if (Faulted()) return 0;
      }
      if (r < 0) Er = -Er;
      return std::sqrt(Er * Er + Ez * Ez);
    }
  }
  return v;
}

PlotRow FieldPlot::ComputeRow(int rowIndex) const {
  std::feclearexcept(kFaults);
  PlotRow row;
  const int y = rowIndex * step_;
  const Extended z = (y + offset_ - view_.OY) / view_.KY;
  const std::size_t n = static_cast<std::size_t>((columns_.last - columns_.first) / step_ + 1);
  row.color.reserve(n);
  row.mirrorColor.reserve(n);
  row.value.reserve(n);
  for (int x = columns_.first; x <= columns_.last; x += step_) {
    const Extended r = (x + offset_ - view_.OX) / view_.KX;
    const Extended v = Value(r, z, row);
    if (Faulted()) {
      row.faultAt = static_cast<int>(row.color.size());
      return row;
    }
    const Color c = PlotColor(v, scale_, palette_);
    row.value.push_back(v);
    row.color.push_back(c);
    // Er is odd about the axis: the mirror point has the opposite radial field.
    row.mirrorColor.push_back(quantity_ == PlotQuantity::Radial ? PlotColor(-v, scale_, palette_)
                                                                : c);
  }
  return row;
}

void FieldPlot::PaintRow(Canvas& canvas, int rowIndex, const PlotRow& values) const {
  const int y = rowIndex * step_;
  const std::size_t n =
      values.faultAt >= 0 ? static_cast<std::size_t>(values.faultAt) : values.color.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int x = columns_.first + static_cast<int>(i) * step_;
    canvas.SetBrushColor(values.color[i]);
    canvas.FillRect(x, y, x + step_, y + step_);
    // The mirror image of the block's columns x ... x + step - 1 about the axis column
    // X0, which itself belongs to the computed side: a single pixel on the axis is its
    // own mirror image, and a 5-pixel block on it mirrors into the four columns left
    // of it. (The block's point, offset pixels in from x, so lands on its own mirror.)
    if (!columns_.mirror) continue;
    const int mirrorLeft = 2 * columns_.X0 - (x + step_ - 1);
    const int mirrorRight = std::min(2 * columns_.X0 - x, columns_.X0 - 1);  // inclusive
    if (mirrorRight < mirrorLeft) continue;
    canvas.SetBrushColor(values.mirrorColor[i]);
    canvas.FillRect(mirrorLeft, y, mirrorRight + 1, y + step_);
  }
}

void FieldPlot::DrawLegend(Canvas& canvas, int raise) const {
  const int x0 = width_ / 2 - 127, y0 = height_ - 40 - raise;
  for (int i = 0; i <= 255; ++i) {
    canvas.SetPenColor(palette_.ColorAt(i));
    canvas.MoveTo(x0 + i, y0);
    canvas.LineTo(x0 + i, y0 + 20);
  }
  canvas.SetBrushColor(kBlack);
  canvas.SetFontColor(kWhite);
  const LegendTexts t = LegendTextsFor(scale_.low, scale_.high,
                                       quantity_ == PlotQuantity::Potential ? "V" : "V/m");
  // Each value under the colour of its point of the scale: the ends flush with the
  // bar's ends, the three between centred on entries 64, 128 and 191.
  for (int i = 0; i <= 4; ++i) {
    const std::string& text = t.values[static_cast<std::size_t>(i)];
    const int w = canvas.TextWidth(text);
    const int at = x0 + (255 * i + 2) / 4;
    canvas.TextOut(i == 0 ? x0 : i == 4 ? x0 + 255 - w : at - w / 2, y0 + 21, text);
  }
  canvas.TextOut(x0 + 260, y0 + 3, t.unit);
}

PixelBox FieldPlot::LegendBox(int raise) const {
  const int x0 = width_ / 2 - 127, y0 = height_ - 40 - raise;
  return {x0 - 2, y0 - 2, x0 + 300, y0 + 21 + 16};
}

PlotGrid FieldPlot::Grid() const {
  std::vector<int> xs, ys;
  const int n = (columns_.last - columns_.first) / step_ + 1;
  if (columns_.mirror)  // the mirror images, leftmost first; a point on the axis has none
    for (int i = n - 1; i >= 0; --i) {
      const int px = columns_.first + i * step_ + offset_;
      if (px != columns_.X0) xs.push_back(2 * columns_.X0 - px);
    }
  for (int i = 0; i < n; ++i) xs.push_back(columns_.first + i * step_ + offset_);
  for (int k = 0; k < Rows(); ++k) ys.push_back(k * step_ + offset_);
  return PlotGrid(std::move(xs), std::move(ys));
}

void FieldPlot::StoreRow(PlotGrid& grid, int rowIndex, const PlotRow& values) const {
  const std::size_t n = (columns_.last - columns_.first) / step_ + 1;
  const std::size_t computed = values.faultAt >= 0 ? static_cast<std::size_t>(values.faultAt)
                                                   : values.value.size();
  // The computed points follow their mirror images in the grid (see Grid).
  const std::size_t mirrors = grid.xs.size() - n;
  const std::size_t row = static_cast<std::size_t>(rowIndex);
  for (std::size_t i = 0; i < computed && i < n; ++i) {
    const Extended v = values.value[i];
    grid.At(row, mirrors + i) = v;
    // Er is odd about the axis, the other quantities even.
    if (mirrors > 0 && n - 1 - i < mirrors)
      grid.At(row, n - 1 - i) = quantity_ == PlotQuantity::Radial ? -v : v;
  }
}

std::string SingularityText(Extended r, Extended z) {
  return "Singularity at position r=" + FixedStr(r, 6, 4) + ", z=" + FixedStr(z, 6, 4);
}

bool PlotField(Canvas& canvas, const FieldPlot& plot, bool legend, const PlotControl& control,
               const PlotOverlays& overlays) {
  canvas.SetBrushColor(kBlack);
  PlotGrid grid;
  if (overlays.contours) grid = plot.Grid();
  const int rows = plot.Rows();
  RowPoolOf<PlotRow> pool(
      rows, [&plot](std::int64_t k) { return plot.ComputeRow(static_cast<int>(k)); },
      control.workers);
  bool stopped = false;
  for (int k = 0; k < rows; ++k) {
    const PlotRow row = pool.Next();
    plot.PaintRow(canvas, k, row);
    if (row.faultAt >= 0) CheckArithmeticFaults();
    if (overlays.contours) plot.StoreRow(grid, k, row);
    // The window's own work keeps the flags as they were: what the toolkit's
    // arithmetic raises is no fault of the plot.
    const FaultFlagsKeeper keepFlags;
    if (row.singular && control.status) control.status(SingularityText(row.singularR, row.singularZ));
    PumpEvents(control.pump);
    if (control.stopRequested && control.stopRequested()) {
      stopped = true;
      break;
    }
  }
  if (overlays.contours)
    DrawContours(canvas, grid, ContourLevels(plot.Scale().low, plot.Scale().range),
                 ContourColor(plot.Colours()));
  if (overlays.outlines) DrawOutlines(canvas, plot.View(), *overlays.outlines);
  // The axes' numbers along the bottom edge take the strip below the legend.
  const int raise = overlays.axes ? kAxisStripHeight : 0;
  if (legend) plot.DrawLegend(canvas, raise);
  if (overlays.axes)
    DrawPlotAxes(canvas, plot.View(), legend ? plot.LegendBox(raise) : PixelBox{});
  return !stopped;
}

PlotRequest ReadPlotRequest(std::string_view quantityText, std::string_view eemaxText, bool fast,
                            bool legend) {
  PlotRequest request;
  request.fast = fast;
  request.legend = legend;
  request.fieldScale = ReadNumber(eemaxText);
  const std::optional<PlotQuantity> quantity = PlotQuantityOf(quantityText);
  if (!quantity) {
    request.error = "Unknown plot quantity: " + std::string(quantityText) +
                    " (the first letter chooses: P, R, A or T)";
    return request;
  }
  request.quantity = *quantity;
  // A field scale of zero would divide by zero at every block; a negative one turns
  // the scale upside down.
  if (request.quantity != PlotQuantity::Potential && !(request.fieldScale > 0))
    request.error = "Invalid field scale Emax: " + std::string(eemaxText) +
                    " (a positive field in V/m)";
  return request;
}

unsigned PlotWorkers() {
  const unsigned hw = std::thread::hardware_concurrency();
  return hw <= 1 ? 0 : hw;
}

const std::vector<FieldDef>& StructurePlotFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"CBplotar", "Plot quantity", "Potential V",
       "Potential V, Radial electric field Er, Axial electric field Ez or Total electric "
       "field |E|: the first letter chooses", false, FieldKind::Text},
      {"CBrapido", "fast", "1", "Blocks of 5 x 5 pixels instead of single pixels", true},
      {"CBlegend", "Scale", "0", "Colour legend below the plot", true},
      // A text: empty takes the calculation's scale, and the plot refuses a scale that
      // is not a positive number with a line of its own.
      {"Eemax", "Emax", "", "Field scale of the plots, V/m (empty: as Calculate writes it)",
       false, FieldKind::Text},
      {"CBcontours", "Contours", "0", "Lines of ten equally spaced values over the plot", true},
      {"CBaxes", "Axes", "0", "Ticks and numbers in metres along the left and bottom edges",
       true},
  };
  return defs;
}

}  // namespace quor::electrostatics
