#pragma once
// Capacitances of isolated conductors in free space that are often compared with a
// toroid as a high-voltage terminal: exact values for the sphere, disk, hemispheres,
// touching spheres and spheroids, and estimates for flat figures, solids and small
// groups of spheres.
#include "numerics/command.h"
#include "numerics/extended.h"
#include "numerics/report.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// The list of 18 lines (capacitances in pF) for the two dimensions of the toroid
// window: D the diameter or side of each shape, d its second dimension (minor axis
// of a spheroid, tube diameter of an enclosing toroid, gap between spheres). The
// spheroid lines need 0 < d < D; the sphere groups inside a toroid need D large
// enough to hold them. A formula that becomes 0/0 (every dimension zero) prints 0,
// the capacitance of a body that has shrunk to a point.
// With values, each capacitance is also returned in farads under its key (C_sphere,
// ...; see the toroid command's value list).
void ListOtherShapes(Extended D, Extended d, Extended e0, ReportSink& report,
                     Result* values = nullptr);

}  // namespace quor::electrostatics
