#pragma once
// The coil arrangement drawn to scale, and the world-to-pixel mapping that the
// inductance routines reuse to draw the turns they are summing.
#include <cstdint>

#include "numerics/canvas.h"
#include "numerics/extended.h"
#include "numerics/screen_mapping.h"
#include "transformer/coil_pair.h"

namespace quor::transformer {
using namespace quor::numerics;

// Paints the arrangement of the two coils on the whole canvas and sets the mapping.
void PaintArrangement(Canvas& canvas, const CoilPair& coils, ScreenMapping& map);

}  // namespace quor::transformer
