#include "electrostatics/structure_probe.h"

#include <cmath>

#include "electrostatics/ring_kernel.h"
#include "numerics/format.h"

std::string ProbeLine(const std::vector<StructureRing>& rings, Extended eps0,
                      const ScreenMapping& view, int X, int Y) {
  const Extended z = (Y - view.OY) / view.KY;
  const Extended r = (X - view.OX) / view.KX;
  Extended V = 0, Er = 0, Ez = 0;
  for (const StructureRing& ring : rings) {
    V += RingPotential(ring.R, ring.Z, ring.q, r, z, eps0);
    const RingFieldTerms t = RingField(ring.R, ring.Z, ring.q, r, z, eps0);
    Er -= t.erTerm;
    Ez += t.ezTerm;
  }
  if (r < 0) Er = -Er;  // the field of the mirror point points the other way
  const Extended E = std::sqrt(Er * Er + Ez * Ez);
  return "r: " + FixedStr(r, 5, 3) + " z: " + FixedStr(z, 5, 3) + " V: " + FixedStr(V, 7, 3) +
         " Er: " + FixedStr(Er, 7, 3) + " Ez: " + FixedStr(Ez, 7, 3) + " |E|: " +
         FixedStr(E, 8, 4);
}

std::string CoordinateText(const ScreenMapping& view, int X, int Y) {
  const Extended r = (X - view.OX) / view.KX;
  const Extended z = (Y - view.OY) / view.KY;
  return "r:" + SciStr(r, 11) + " z: " + SciStr(z, 11);
}
