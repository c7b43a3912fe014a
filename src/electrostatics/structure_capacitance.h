#pragma once
// Capacitances of a structure of conductors cut into thin charged rings: the matrix
// of potential coefficients between all rings, inverted into the capacitance matrix of
// the rings and summed into that of the conductors; the charges and axial forces for
// the potentials of the .V commands; the surface fields and the breakdown voltages
// when all conductors are at one potential, when one is charged and the others
// grounded, and at the potentials given.
#include <string>
#include <vector>

#include "electrostatics/breakdown_field.h"
#include "electrostatics/structure_description.h"
#include "numerics/canvas.h"
#include "numerics/command.h"
#include "numerics/fields.h"
#include "numerics/matrix.h"
#include "numerics/report.h"
#include "numerics/screen_mapping.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// What a calculation leaves for the plots and the probe.
struct StructureResults {
  bool completed = false;          // every section written; a stop leaves it false
  Extended eps0 = 0;
  std::vector<StructureRing> rings;  // with their charges at the .V potentials
  ExtMatrix Cc{1};                 // capacitance matrix of the conductors, F (1-based)
  Extended FieldScale = 0;         // largest surface field magnitude there, V/m
  std::string EemaxText;           // FieldScale as the window's Emax field shows it
};

// Where the rings are drawn as they are made (the structure view already drawn).
struct StructureDrawing {
  Canvas* canvas = nullptr;
  ScreenMapping view;
};

// The calculation of Calculate after the description was parsed in full, every line
// to msg. listFields also lists the surface field of every ring. Stops with its
// message on too many rings, on a structure without rings, on an element of zero
// length or of negative radius, on rings that RingSetFault refuses (negative radii,
// coincident rings, wires that overlap) and on a matrix that cannot be inverted. The
// matrix fill and the forces are computed by rows on `workers` threads (-1: as many as
// pay off; the results do not depend on the count). An arithmetic fault ends it with
// ArithmeticFault. With values, the numbers of the lines are added to it as they are
// written (StructureValueDefs lists them).
StructureResults CalculateStructure(const StructureDescription& description, bool listFields,
                                    const BreakdownField& breakdown, ReportSink& msg,
                                    const StructureDrawing* drawing = nullptr, int workers = -1,
                                    Result* values = nullptr);

// The window's one check box that the calculation reads, CBlistar.
const std::vector<FieldDef>& StructureFieldDefs();

}  // namespace quor::electrostatics
