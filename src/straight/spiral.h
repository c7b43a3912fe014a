#pragma once
// The flat square spiral inductor: every turn cut into four straight sides, its
// inductance by Maxwell's method (the self-inductances of the sides at the geometric
// mean distance of the conductor, plus the mutual inductances of all parallel sides),
// the inductance of one square turn and two closed approximations for square coils.
// Lengths reported in micrometres, inductances in nanohenries.
//
// Turn k (x to the right, y up, origin at the centre, s the spacing of the turns)
// starts at (-(k-1)s, (k-1)s) and runs down side A to (-(k-1)s, -ks), right along B to
// (ks, -ks), up C to (ks, ks) and left along D to (-ks, ks), where turn k + 1 starts.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "numerics/canvas.h"
#include "numerics/command.h"
#include "numerics/fields.h"
#include "numerics/report.h"
#include "numerics/screen_mapping.h"

namespace quor::straight {
using namespace quor::numerics;

// Esunit, Esinner, Esn, Esd, CBflat, CBdet.
const std::vector<FieldDef>& SpiralFieldDefs();

// The drawing area of the spiral, in pixels.
inline constexpr int kSpiralBoxSize = 350;
// The sum makes about 4 n^2 side pairs: a thousand turns take a few seconds.
inline constexpr std::int32_t kMaxSpiralTurns = 1000;

struct SpiralInputs {
  double s = 0;            // spacing of the turns
  std::int32_t kA = 0;     // innermost turn
  std::int32_t kB = 0;     // outermost turn
  double w = 0;            // half the wire diameter (half the strip width)
  bool flat = false;       // a thin flat strip instead of a round wire
  bool details = false;    // list every side and pair
};

// The spiral fields; a length too large for a double reads as 0, as a malformed one.
SpiralInputs ReadSpiralInputs(const FieldValues& fields);

// The start and end points of sides A, B, C and D of turn k.
struct SpiralSide {
  double x0, y0, x1, y1;
};
std::array<SpiralSide, 4> SpiralTurnSides(std::int64_t k, double s);

// The spiral to scale on the canvas (green, each side as wide as the wire, at least
// three pixels), the screen mapping kept for the overlay of the next calculation.
// Turns or a spacing that describe no spiral leave the area blank; a wire too thick
// for the spacing is drawn, which shows the overlap.
void PaintSpiral(Canvas& canvas, const SpiralInputs& in, ScreenMapping& map);

// Calculate of the panel: the report, and the centre line of the spiral in red over
// env.canvas with the mapping of its last paint (env.mapping). Without a canvas (or
// without a mapping) the spiral is first painted, as a window just opened would show
// it. Inputs that describe no spiral are refused with one line after the title.
// Values: the inductances (H) and diameters (m), with List details the listed terms,
// by the keys of SpiralValueDefs.
Result SpiralCommand(const FieldValues& fields, CommandEnv& env);
const std::vector<ValueDef>& SpiralValueDefs();

}  // namespace quor::straight
