#pragma once
// Thin coaxial rings carrying a uniformly spread charge: the kernel of every
// capacitance calculation that cuts a conducting surface into rings. Positions are in
// the meridian half-plane, r from the axis and z along it (metres); a field point with
// negative r stands for its mirror point on the other side of the axis.
//
// The potential of a charged ring at (r, z) is (Smythe, Static and Dynamic
// Electricity, 5.07) V = q K(k) / (2 pi^2 eps0 d), with d the greatest distance from
// the point to the ring and k = 2 sqrt(r R)/d; its field follows by differentiation.
#include "numerics/extended.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// Speed of light (exact) and the stored nearest values of the constants the kernel
// combines.
inline constexpr Extended kLightSpeed = 299792458.0L;
inline constexpr Extended kTwoPiSquared = 1.97392088021787172388e+1L;

// Permittivity of free space, 1/(c^2 mu0), about 8.854187817e-12 F/m. Computed at the
// start of each calculation and passed to the routines below.
Extended Eps0();

// Where a ring (R, Z) stands as seen from a field point (r, z).
struct RingGeometry {
  Extended s = 0;  // |r| + |R|
  Extended d = 0;  // greatest distance from the point to the ring
  Extended k = 0;  // modulus, 2 sqrt|r R| / d; above 1 only through rounding
};
RingGeometry RingGeometryAt(Extended R, Extended Z, Extended r, Extended z);

// A potential coefficient with the modulus it was formed with: callers reject a
// structure whose rings give k > 1 (coincident rings).
struct RingCoefficient {
  Extended P = 0;  // V/C
  Extended k = 0;
};

// Potential at (r, z) of one coulomb spread on the ring (R, Z): K(k)/(pi pi 2 eps0 d).
RingCoefficient RingPotentialCoefficientK(Extended R, Extended Z, Extended r, Extended z,
                                          Extended eps0);
Extended RingPotentialCoefficient(Extended R, Extended Z, Extended r, Extended z, Extended eps0);
// Potential on the ring's own surface per coulomb: the point at radius R displaced
// along the axis by the equivalent wire radius a.
RingCoefficient RingSelfCoefficientK(Extended R, Extended Z, Extended a, Extended eps0);
Extended RingSelfCoefficient(Extended R, Extended Z, Extended a, Extended eps0);

// The wire radius whose perimeter equals the width w of the strip a ring replaces:
// w/(2 pi).
Extended EquivalentWireRadius(Extended w);

// The two terms of a ring's field at (r, z) (V/m), as sums accumulate them:
// Er <- Er - erTerm and Ez <- Ez + ezTerm, ring after ring; the radial total is
// negated afterwards when r < 0. With c0 = pi pi 2 eps0 and dK/dk = (E - k'^2 K)/(k k'^2):
//   erTerm = q/(c0 d^3) [(2|R|/k - s k) dK/dk - s K]
//   ezTerm = q (z - Z) E/(c0 d^3 k'^2)
// On the axis (k = 0) the radial bracket divides by zero, on the ring itself k'^2 = 0:
// the arithmetic-fault flags then tell the caller.
struct RingFieldTerms {
  Extended erTerm = 0;
  Extended ezTerm = 0;
};
RingFieldTerms RingField(Extended R, Extended Z, Extended q, Extended r, Extended z,
                         Extended eps0);
// Only the radial or only the axial term, for plots of one component.
Extended RingFieldRadialTerm(Extended R, Extended Z, Extended q, Extended r, Extended z,
                             Extended eps0);
Extended RingFieldAxialTerm(Extended R, Extended Z, Extended q, Extended r, Extended z,
                            Extended eps0);

// What both terms share at one point: the geometry, K and E, k'^2 and q/(c0 d^3). A
// caller that guards the radial term against faults but not the axial one forms the
// parts once and checks the fault flags between the terms.
struct RingFieldParts {
  RingGeometry g;
  Extended K = 0, E = 0;
  Extended kp2 = 0;    // k'^2
  Extended scale = 0;  // q/(c0 d^3)
};
RingFieldParts RingFieldPartsAt(Extended R, Extended Z, Extended q, Extended r, Extended z,
                                Extended eps0);
Extended RingRadialTerm(const RingFieldParts& f, Extended R);
Extended RingAxialTerm(const RingFieldParts& f, Extended Z, Extended q, Extended z,
                       Extended eps0);

// Potential at (r, z) of the charge q on the ring (R, Z), as the plots and the probe sum
// it: q K/(c0 d) with c0 = pi pi 2 eps0.
Extended RingPotential(Extended R, Extended Z, Extended q, Extended r, Extended z,
                       Extended eps0);

// Field at the surface of a ring of radius R and wire radius a carrying q: the charge
// over the strip's area 2 pi R 2 pi a, over eps0 (the sum of the fields on both faces
// of an open sheet, the outside field of a closed surface).
Extended RingSurfaceField(Extended R, Extended a, Extended q, Extended eps0);

// Axial force term between rings i and j before scaling: qi qj (Zi - Zj) Pi/d^3 with
// d^2 = (Zi - Zj)^2 + (Ri + Rj)^2, k = 2 sqrt(Ri Rj)/d and Pi = Pi(k, k) = E(k)/k'^2.
// The force on a conductor in newtons is the sum over its rings i and all other rings
// j of the structure, divided by 2 pi^2 eps0 (the stored 2 pi^2 times eps0).
Extended RingAxialForce(Extended Ri, Extended Zi, Extended qi, Extended Rj, Extended Zj,
                        Extended qj);

}  // namespace quor::electrostatics
