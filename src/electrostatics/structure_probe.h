#pragma once
// The probe of the structure view: potential and field at the point under a click,
// from the ring charges of the last calculation, and the coordinates under the mouse.
#include <string>
#include <vector>

#include "electrostatics/structure_description.h"
#include "numerics/screen_mapping.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// The point under pixel (X, Y) of the view (metres), the potential of the ring charges
// there (V) and their field (V/m). Nothing guards the sums: on the axis the radial
// bracket divides by k = 0 and on a ring k'^2 is 0, and the fault flags tell the
// caller.
struct StructureProbe {
  Extended r = 0, z = 0, V = 0, Er = 0, Ez = 0, E = 0;
};
StructureProbe ProbeAt(const std::vector<StructureRing>& rings, Extended eps0,
                       const ScreenMapping& view, int X, int Y);
// The same at the point (r, z) of the plane, in metres.
StructureProbe ProbeAt(const std::vector<StructureRing>& rings, Extended eps0, Extended r,
                       Extended z);

// "r: ... z: ... V: ... Er: ... Ez: ... |E|: ..." of a probe, and of pixel (X, Y).
std::string ProbeLine(const StructureProbe& probe);
std::string ProbeLine(const std::vector<StructureRing>& rings, Extended eps0,
                      const ScreenMapping& view, int X, int Y);

// The status bar's read-out of the point under the mouse: "r:" and " z: " with three
// significant digits.
std::string CoordinateText(const ScreenMapping& view, int X, int Y);

}  // namespace quor::electrostatics
