#pragma once
// The probe of the structure view: potential and field at the point under a click,
// from the ring charges of the last calculation, and the coordinates under the mouse.
#include <string>
#include <vector>

#include "electrostatics/structure_description.h"
#include "numerics/screen_mapping.h"

// "r: ... z: ... V: ... Er: ... Ez: ... |E|: ..." at pixel (X, Y) of the view. Nothing
// guards the sums: on the axis the radial bracket divides by k = 0 and on a ring k'^2
// is 0, and the fault flags tell the caller.
std::string ProbeLine(const std::vector<StructureRing>& rings, Extended eps0,
                      const ScreenMapping& view, int X, int Y);

// The status bar's read-out of the point under the mouse: "r:" and " z: " with three
// significant digits.
std::string CoordinateText(const ScreenMapping& view, int X, int Y);
