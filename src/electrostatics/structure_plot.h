#pragma once
// Colour maps of the potential and of the electric field of a calculated structure
// over the drawing area, from the ring charges of the calculation: each block of
// pixels takes the palette colour of the value at its point on the quantity's scale,
// silver outside it. When the axis lies inside the area only its right-hand side is
// computed and the left-hand side is its mirror image, which halves the work: the
// potential, Ez and |E| are even about the axis and the mirror block takes the same
// colour, while Er is odd and the mirror block takes the colour of -Er.
//
// Over the map the plot can draw lines of equal value through the values it computed,
// the conductors' outlines, length scales along the edges and its legend.
//
// Rows are independent: they are computed on worker threads and painted in order by
// the calling thread, which serves the window's events after every row and may stop.
// The picture does not depend on the number of threads.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "electrostatics/palette.h"
#include "electrostatics/plot_contours.h"
#include "electrostatics/plot_overlays.h"
#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_description.h"
#include "numerics/canvas.h"
#include "numerics/event_pump.h"
#include "numerics/fields.h"
#include "numerics/screen_mapping.h"

namespace quor::electrostatics {
using namespace quor::numerics;

enum class PlotQuantity { Potential, Radial, Axial, Total };

// The quantity a text of the plot box names by its first character: P potential,
// R radial field Er, A axial field Ez, T total field |E|, in either case. Nothing for
// any other text (the box is editable).
std::optional<PlotQuantity> PlotQuantityOf(std::string_view text);

// The values mapped to palette entries 0 and 255: VMin to VMax for the potential,
// -Emax to Emax for Er and Ez, 0 to Emax for |E|, Emax being the field scale (V/m).
struct PlotScale {
  Extended low = 0, high = 0, range = 0;
};
PlotScale PlotScaleOf(PlotQuantity quantity, Extended VMin, Extended VMax, Extended fieldScale);

// Palette entry round((v - low) 255/range), ties to even; silver outside 0..255.
Color PlotColor(Extended v, const PlotScale& scale, const Palette& palette);

// The columns computed: from the axis column X0 rightwards and mirrored about it when
// the axis is inside the area, else every column.
struct PlotColumns {
  int first = 0, last = 0;  // inclusive
  bool mirror = false;
  int X0 = 0;
};
PlotColumns PlotColumnsFor(const ScreenMapping& view, int width);

// One row of blocks: the colour of each computed column and of its mirror block. A
// point whose value met an arithmetic fault (the potential or Ez at a ring, where
// nothing guards the terms) ends the row: faultAt is its column index and the fault
// flags of the thread stay raised. The radial terms are guarded: a term that faults
// (on the axis the bracket divides by k = 0) is left out, and the last such point of
// the row is kept for the status bar.
struct PlotRow {
  std::vector<Color> color, mirrorColor;
  std::vector<Extended> value;  // at each computed point
  int faultAt = -1;
  bool singular = false;
  Extended singularR = 0, singularZ = 0;
};

class FieldPlot {
 public:
  // Copies what it reads: the rings with their charges, the palette, the transform of
  // the last drawing of the structure view.
  FieldPlot(const std::vector<StructureRing>& rings, Extended eps0, PlotQuantity quantity,
            const PlotScale& scale, const Palette& palette, const ScreenMapping& view,
            int width, int height, bool fast);

  int Rows() const { return (height_ - 1) / step_ + 1; }
  // Pure, for any thread; the fault flags are cleared first.
  PlotRow ComputeRow(int row) const;
  // Fills the row's blocks up to a faulting point.
  void PaintRow(Canvas& canvas, int row, const PlotRow& values) const;
  // The 256 palette colours in a bar near the bottom, five values of the scale below
  // it from its low end to its high end, and the unit (V or V/m) beside it; raised by
  // that many pixels (above the axes' numbers).
  void DrawLegend(Canvas& canvas, int raise = 0) const;
  // The part of the area the legend covers.
  PixelBox LegendBox(int raise = 0) const;
  // The points of the plot, every value not yet computed: the computed points of the
  // rows and columns and, mirroring, their mirror images about the axis column.
  PlotGrid Grid() const;
  // The values of one row (and their mirror images: -Er for the radial field) into
  // the grid, up to a faulting point.
  void StoreRow(PlotGrid& grid, int row, const PlotRow& values) const;
  const PlotScale& Scale() const { return scale_; }
  const Palette& Colours() const { return palette_; }
  const ScreenMapping& View() const { return view_; }
  const PlotColumns& Columns() const { return columns_; }
  int Step() const { return step_; }

 private:
  Extended Value(Extended r, Extended z, PlotRow& row) const;

  std::vector<StructureRing> rings_;
  Extended eps0_;
  PlotQuantity quantity_;
  PlotScale scale_;
  Palette palette_;
  ScreenMapping view_;
  int width_, height_;
  int step_, offset_;  // 5 x 5 blocks evaluated 1 pixel in, or single pixels
  PlotColumns columns_;
};

// How a plot runs: threads computing rows (0: all on the calling thread), the window's
// events after every row, its Stop, its status bar.
struct PlotControl {
  unsigned workers = 0;
  EventPump pump;
  std::function<bool()> stopRequested;
  std::function<void(const std::string&)> status;
};

// What is drawn over the finished map (after a stop too): lines of ten levels of the
// quantity, the outlines of these elements, length scales along the edges.
struct PlotOverlays {
  bool contours = false;
  bool axes = false;
  const std::vector<StructureElement>* outlines = nullptr;
};

// "Singularity at position r=..., z=..." of a radial term left out.
std::string SingularityText(Extended r, Extended z);

// Paints the rows in order, then (after a stop too) the contours over the rows
// painted, the outlines, the legend when asked for and the axes. Returns false when
// stopped. A fault ends it with ArithmeticFault after the part of the row before the
// faulting point is painted, with nothing drawn over it.
bool PlotField(Canvas& canvas, const FieldPlot& plot, bool legend, const PlotControl& control,
               const PlotOverlays& overlays = {});

// The plot's settings among the window's fields: CBplotar, CBrapido, CBlegend, Eemax
// (empty: the field scale the calculation writes there), CBcontours and CBaxes.
const std::vector<FieldDef>& StructurePlotFieldDefs();

// What the window's plot fields ask for. error holds the message line that replaces
// the plot: a quantity of no known letter, or a field plot whose scale (Emax, V/m) is
// not positive.
struct PlotRequest {
  PlotQuantity quantity = PlotQuantity::Potential;
  Extended fieldScale = 0;
  bool fast = true;
  bool legend = false;
  bool contours = false;  // drawn over the map: lines of ten levels
  bool axes = false;      // and length scales along the edges
  std::string error;
};
PlotRequest ReadPlotRequest(std::string_view quantityText, std::string_view eemaxText, bool fast,
                            bool legend);

// The threads worth giving a plot here: every core, none on a single one.
unsigned PlotWorkers();

}  // namespace quor::electrostatics
