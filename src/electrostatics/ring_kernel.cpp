#include "electrostatics/ring_kernel.h"

#include <cmath>

#include "numerics/elliptic.h"

namespace quor::electrostatics {
using namespace quor::numerics;

Extended Eps0() { return 1.0L / (kLightSpeed * kLightSpeed * kMu0); }

RingGeometry RingGeometryAt(Extended R, Extended Z, Extended r, Extended z) {
  RingGeometry g;
  g.s = std::fabs(r) + std::fabs(R);
  g.d = std::sqrt((z - Z) * (z - Z) + g.s * g.s);
  g.k = 2.0L * std::sqrt(std::fabs(r * R)) / g.d;
  return g;
}

RingCoefficient RingPotentialCoefficientK(Extended R, Extended Z, Extended r, Extended z,
                                          Extended eps0) {
  const RingGeometry g = RingGeometryAt(R, Z, r, z);
  const EllipticResult ke = EllipticKE(g.k);
  return {ke.EllK / (kPi * kPi * 2.0L * eps0 * g.d), g.k};
}

Extended RingPotentialCoefficient(Extended R, Extended Z, Extended r, Extended z, Extended eps0) {
  return RingPotentialCoefficientK(R, Z, r, z, eps0).P;
}

RingCoefficient RingSelfCoefficientK(Extended R, Extended Z, Extended a, Extended eps0) {
  return RingPotentialCoefficientK(R, Z, R, Z + a, eps0);
}

Extended RingSelfCoefficient(Extended R, Extended Z, Extended a, Extended eps0) {
  return RingSelfCoefficientK(R, Z, a, eps0).P;
}

Extended EquivalentWireRadius(Extended w) { return w / kTwoPi; }

RingFieldParts RingFieldPartsAt(Extended R, Extended Z, Extended q, Extended r, Extended z,
                                Extended eps0) {
  RingFieldParts f;
  f.g = RingGeometryAt(R, Z, r, z);
  const EllipticResult ke = EllipticKE(f.g.k);
  f.K = ke.EllK;
  f.E = ke.EllE;
  f.kp2 = 1.0L - f.g.k * f.g.k;
  const Extended c0 = kPi * kPi * 2.0L * eps0;
  f.scale = q / (c0 * (f.g.d * f.g.d * f.g.d));
  return f;
}

Extended RingRadialTerm(const RingFieldParts& f, Extended R) {
  const Extended k = f.g.k;
  const Extended dKdk = (f.E - f.kp2 * f.K) / (k * f.kp2);
  return f.scale * ((2.0L * std::fabs(R) / k - f.g.s * k) * dKdk - f.g.s * f.K);
}

Extended RingAxialTerm(const RingFieldParts& f, Extended Z, Extended q, Extended z,
                       Extended eps0) {
  const Extended c0 = kPi * kPi * 2.0L * eps0;
  return q * (z - Z) * f.E / (c0 * (f.g.d * f.g.d * f.g.d) * f.kp2);
}

Extended RingPotential(Extended R, Extended Z, Extended q, Extended r, Extended z,
                       Extended eps0) {
  const RingGeometry g = RingGeometryAt(R, Z, r, z);
  const Extended c0 = kPi * kPi * 2.0L * eps0;
  return q * EllipticKE(g.k).EllK / (c0 * g.d);
}

RingFieldTerms RingField(Extended R, Extended Z, Extended q, Extended r, Extended z,
                         Extended eps0) {
  const RingFieldParts f = RingFieldPartsAt(R, Z, q, r, z, eps0);
  return {RingRadialTerm(f, R), RingAxialTerm(f, Z, q, z, eps0)};
}

Extended RingFieldRadialTerm(Extended R, Extended Z, Extended q, Extended r, Extended z,
                             Extended eps0) {
  return RingRadialTerm(RingFieldPartsAt(R, Z, q, r, z, eps0), R);
}

Extended RingFieldAxialTerm(Extended R, Extended Z, Extended q, Extended r, Extended z,
                            Extended eps0) {
  return RingAxialTerm(RingFieldPartsAt(R, Z, q, r, z, eps0), Z, q, z, eps0);
}

Extended RingSurfaceField(Extended R, Extended a, Extended q, Extended eps0) {
  return q / (kTwoPi * R * 2.0L * kPi * a * eps0);
}

Extended RingAxialForce(Extended Ri, Extended Zi, Extended qi, Extended Rj, Extended Zj,
                        Extended qj) {
  const Extended dz = Zi - Zj;
  const Extended d = std::sqrt(dz * dz + (Ri + Rj) * (Ri + Rj));
  const Extended k = 2.0L * std::sqrt(Ri * Rj) / d;
  const EllipticResult ke = EllipticKEPi(k, k);
  return qi * qj * dz * ke.EllPi / (d * d * d);
}

}  // namespace quor::electrostatics
