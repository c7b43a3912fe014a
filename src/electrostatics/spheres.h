#pragma once
// Two conducting spheres in free space, by closed-form series only: the mutual
// capacitance from the bispherical images, the exact field at the point of the
// smaller sphere nearest the larger one (A. Russell's series), the classical
// approximations of Peek, Dean-Peek and Kirchhoff, the breakdown voltage they give
// for the program-wide breakdown field, and the exact capacitance matrix.
//
// Radii: ra of the larger sphere, rb of the smaller (ra >= rb); d is the distance
// between the centres, g = d - rb - ra the gap between the surfaces. V1 is the
// potential of the smaller sphere, V2 that of the larger one.
#include <cstdint>
#include <vector>

#include "electrostatics/breakdown_field.h"
#include "numerics/command.h"
#include "numerics/extended.h"
#include "numerics/fields.h"
#include "numerics/report.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// Every series here stops at this many terms, converged or not.
inline constexpr std::int32_t kSphereSeriesLimit = 1000000;
inline constexpr Extended kSphereSeriesTolerance = 1e-14L;

// The five edit fields of the window, in its order: Elarger, Esmaller, Edistance,
// Ev2, Ev1.
const std::vector<FieldDef>& SpheresFieldDefs();
// The values SpheresCommand returns.
const std::vector<ValueDef>& SpheresValueDefs();

// How the two spheres stand, as the mutual capacitance classifies them.
enum class SpherePlacement {
  Adjacent,     // d > ra + rb
  Nested,       // 0 < d < ra - rb: the smaller inside the larger, off centre
  Overlapping,  // touching, cutting each other, equal spheres at d = 0, d < 0
  Concentric,   // d = 0 and ra > rb
};

struct SphereMutualResult {
  SpherePlacement placement = SpherePlacement::Overlapping;
  Extended C = 0;            // -k12, farads (0 for overlapping spheres)
  std::int32_t terms = 0;    // terms of the series summed (0 without a series)
};

// -k12 by the series of bispherical images. Spheres whose gap is too small for the
// numbers to tell them from touching ones count as touching (Overlapping); the
// placements are judged within the rounding of the sizes (a centre distance of a few
// units in the last place of ra is a common centre).
SphereMutualResult SphereMutualCapacitanceValue(Extended d, Extended ra, Extended rb);
// The same, written: the heading of the placement, "Capacitance (-k12): ... pF", the
// number of terms and, at the term limit, "Convergence not reached".
SphereMutualResult SphereMutualCapacitance(Extended d, Extended ra, Extended rb,
                                           ReportSink& report);

// Russell's series for the field at the point of the smaller sphere nearest the other
// (V/m, positive when it points out of the smaller sphere).
struct SphereFieldResult {
  Extended E = 0;
  std::int32_t terms = 0;
};
SphereFieldResult RussellMaximumField(Extended d, Extended ra, Extended rb, Extended V1,
                                      Extended V2);

// Approximate fields of two equal spheres of radius r with the gap s.
// Dean and Peek, opposite potentials:
Extended DeanPeekField(Extended s, Extended r, Extended V1, Extended V2);
// Peek, one sphere earthed:
Extended PeekField(Extended s, Extended r, Extended V1, Extended V2);
// Kirchhoff's expansion in the gap, one sphere earthed:
Extended KirchhoffField(Extended s, Extended r, Extended V1, Extended V2);

// The capacitance matrix of the two spheres (farads; k12 negative), after Kirchhoff's
// series in the image ratios, with the terms each series took.
struct SphereCapacitanceMatrix {
  Extended k11 = 0, k22 = 0, k12 = 0;  // 1: the smaller sphere, 2: the larger
  std::int32_t n11 = 0, n22 = 0, n12 = 0;
};
SphereCapacitanceMatrix SphereCapacitances(Extended d, Extended ra, Extended rb);

// Calculate of the window as a plain function of its field texts: the report lines
// as they are written, Emax (kV/m) from env.breakdown. Diameters that are not positive,
// or a "smaller" sphere larger than the other, are refused.
Result SpheresCommand(const FieldValues& fields, CommandEnv& env);

}  // namespace quor::electrostatics
