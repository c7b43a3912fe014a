#pragma once
// A thin conducting sheet shaped as the lateral surface of a cone frustum: in the
// meridian plane it runs straight from the inner radius at height 0 to the outer
// radius at height h (a flat annulus or disk when h = 0, a cylinder when the
// diameters are equal). It is cut into n equal strips, each replaced by a coaxial thin
// ring at its middle; at 1 V the ring charges give the capacitance and, ring by ring,
// the sum of the fields on the two faces.
#include <cstdint>
#include <string>
#include <vector>

#include "numerics/canvas.h"
#include "numerics/command.h"
#include "numerics/extended.h"
#include "numerics/fields.h"
#include "numerics/report.h"

namespace quor::electrostatics {
using namespace quor::numerics;

inline constexpr int kSheetMaxRings = 200;
// The drawing area PBsheet.
inline constexpr int kPBsheetWidth = 521;
inline constexpr int kPBsheetHeight = 273;

// Eidiameter, Eodiameter, Eheight, Ensheet, Edivisor, CBssheet, CBlsheet.
const std::vector<FieldDef>& SheetFieldDefs();
// The values SheetCommand returns.
const std::vector<ValueDef>& SheetValueDefs();

// The fields as last read and the geometry derived from them.
struct SheetGeometry {
  Extended Di = 0;    // diameter of the lower edge
  Extended Do = 0;    // diameter of the upper edge
  Extended h = 0;     // height of the upper edge above the lower
  std::int32_t n = 0;
  Extended alfa = 0;  // divisor of the half strip width giving the wire radius
  bool CBssheet = false;
  bool CBlsheet = false;

  // With n < 1 the steps are undefined: RingsDefined is false and the rest stays 0.
  bool RingsDefined = false;
  Extended dr = 0;  // radial step between rings
  Extended dz = 0;  // axial step
  Extended r1 = 0;  // radius of the first ring
  Extended z1 = 0;  // height of the first ring
  Extended rr = 0;  // equivalent wire radius of every ring

  // Ring i (1-based) lies at the middle of strip i.
  Extended Rho(int i) const { return r1 + (i - 1) * dr; }
  Extended Z(int i) const { return z1 + (i - 1) * dz; }
};

SheetGeometry ReadSheetInputs(const FieldValues& fields);
// The sheet, its edges and the rings, scaled to the canvas.
void DrawSheet(const SheetGeometry& g, Canvas& canvas);
void PaintSheet(const FieldValues& fields, Canvas& canvas);

// Calculate: the sheet drawn on env.canvas (a blank one of the window's size without
// it), then the capacitance and the fields. The ring table goes to "sheet<n>.tab" in
// env.directory when asked for; a table that cannot be written ends it with FileError.
// Refused: too many or too few rings, negative diameters, a ring on the axis, rings
// that coincide or a matrix that cannot be inverted.
Result SheetCommand(const FieldValues& fields, CommandEnv& env);

}  // namespace quor::electrostatics
