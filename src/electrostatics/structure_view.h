#pragma once
// The structure view: the meridian cross-section of a structure drawn to scale on a
// square area, its mirror image beyond the axis in grey, and each ring as the
// calculation makes it (the far half of the ring in an oblique view and its two
// cross-sections). The colour plots and the probe map pixels back to the plane with
// the same transform.
#include <vector>

#include "electrostatics/structure_description.h"
#include "numerics/canvas.h"
#include "numerics/screen_mapping.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// The drawing area of the structure window is a square of this many pixels.
inline constexpr int kStructureAreaSize = 481;

// Pixel column and row of a point: round(sx r + ox) and round(sz z + oz), with
// sx = KX, ox = OX, sz = KY (negative: z grows upwards) and oz = OY of the mapping.
int ViewX(const ScreenMapping& view, Extended r);
int ViewY(const ScreenMapping& view, Extended z);

// The one-scale transform that fits the view window into the area with a 20-pixel
// margin, its centre on the area's centre.
ScreenMapping StructureViewTransform(const ViewWindow& window, int width, int height);

// The pixels of an element's own curve, or of its mirror image beyond the axis: a
// segment's two ends, or points along an arc from angle1 to angle2 (an ellipse's
// points by their parametric angle, (r0 + rhor cos t, z0 + rvert sin t)), each step
// a few degrees.
std::vector<CanvasPoint> ElementOutline(const ScreenMapping& view, const StructureElement& e,
                                        bool mirror);

// Clears the area, draws the dotted axes and every element in red with its mirror
// image in grey; returns the transform it drew with. A circular arc is the canvas's
// arc between its rounded angles; an elliptic arc is its outline, since the canvas's
// arc takes directions seen from the centre, which on a flattened ellipse are not its
// parametric angles.
ScreenMapping DrawStructureView(Canvas& canvas, const ViewWindow& window,
                                const std::vector<StructureElement>& elements);

// The six buttons that zoom and pan the view window: zoom in to 0.75 of the size, zoom
// out to 1.5 times it (so zooming in and out again leaves the view 1.125 times as
// large), and moves by a quarter of the width or height.
enum class ViewChange { ZoomIn, ZoomOut, Left, Right, Up, Down };
void ChangeView(ViewWindow& window, ViewChange change);

// One ring: the far half in silver, the cross-sections of its wire in green (mirror
// side) and blue, filled with the current brush.
void DrawRing(Canvas& canvas, const ScreenMapping& view, const StructureRing& ring);

}  // namespace quor::electrostatics
