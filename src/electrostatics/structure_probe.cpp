#include "electrostatics/structure_probe.h"

#include <cmath>

#include "electrostatics/ring_kernel.h"
#include "numerics/format.h"

namespace quor::electrostatics {
using namespace quor::numerics;

StructureProbe ProbeAt(const std::vector<StructureRing>& rings, Extended eps0,
                       const ScreenMapping& view, int X, int Y) {
  return ProbeAt(rings, eps0, (X - view.OX) / view.KX, (Y - view.OY) / view.KY);
}

StructureProbe ProbeAt(const std::vector<StructureRing>& rings, Extended eps0, Extended r,
                       Extended z) {
  StructureProbe p;
  p.z = z;
  p.r = r;
  for (const StructureRing& ring : rings) {
    p.V += RingPotential(ring.R, ring.Z, ring.q, p.r, p.z, eps0);
    const RingFieldTerms t = RingField(ring.R, ring.Z, ring.q, p.r, p.z, eps0);
    p.Er -= t.erTerm;
    p.Ez += t.ezTerm;
  }
  if (p.r < 0) p.Er = -p.Er;  // the field of the mirror point points the other way
  p.E = std::sqrt(p.Er * p.Er + p.Ez * p.Ez);
  return p;
}

std::string ProbeLine(const StructureProbe& p) {
  return "r: " + FixedStr(p.r, 5, 3) + " z: " + FixedStr(p.z, 5, 3) + " V: " + FixedStr(p.V, 7, 3) +
         " Er: " + FixedStr(p.Er, 7, 3) + " Ez: " + FixedStr(p.Ez, 7, 3) + " |E|: " +
         FixedStr(p.E, 8, 4);
}

std::string ProbeLine(const std::vector<StructureRing>& rings, Extended eps0,
                      const ScreenMapping& view, int X, int Y) {
  return ProbeLine(ProbeAt(rings, eps0, view, X, Y));
}

std::string CoordinateText(const ScreenMapping& view, int X, int Y) {
  const Extended r = (X - view.OX) / view.KX;
  const Extended z = (Y - view.OY) / view.KY;
  return "r:" + SciStr(r, 11) + " z: " + SciStr(z, 11);
}

}  // namespace quor::electrostatics
