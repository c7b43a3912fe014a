// The charged-ring kernel against textbook values and against itself differentiated.
#include <gtest/gtest.h>

#include <cmath>

#include "electrostatics/ring_kernel.h"
#include "numerics/elliptic.h"
#include "numerics/library_namespaces.h"

namespace {
const Extended kEps0 = Eps0();
const Extended kCoulomb = 1.0L / (4.0L * kPi * kEps0);  // 1/(4 pi eps0), V m/C
}  // namespace

TEST(RingKernel, ConstantsAndTextbookPotentials) {
  EXPECT_NEAR(static_cast<double>(kEps0), 8.854187817e-12, 1e-21);
  EXPECT_NEAR(static_cast<double>(RingPotentialCoefficient(1, 0, 0, 0, kEps0)), 8.98755e9, 1e4);
  // On the axis every point of the ring is at the same distance (Smythe 5.07 reduces
  // to the point-charge law).
  for (const auto& [R, Z, z] : {std::tuple{1.0L, 0.0L, 0.0L}, {0.3L, 0.2L, -0.7L}, {2.0L, 1.0L, 5.0L}}) {
    const Extended expected = kCoulomb / std::sqrt((z - Z) * (z - Z) + R * R);
    EXPECT_NEAR(static_cast<double>(RingPotentialCoefficient(R, Z, 0, z, kEps0) / expected), 1.0,
                1e-17);
  }
}

TEST(RingKernel, SelfCoefficientGrowsLikeTheLogOfTheWireRadius) {
  const RingCoefficient a = RingSelfCoefficientK(1, 0, 0.01L, kEps0);
  EXPECT_NEAR(static_cast<double>(a.P), 1.9123e10, 0.0001e10);
  EXPECT_NEAR(static_cast<double>(EllipticKE(a.k).EllK), 6.68466, 1e-5);
  const Extended b = RingSelfCoefficient(1, 0, 0.005L, kEps0);
  EXPECT_NEAR(static_cast<double>(b), 2.1106e10, 0.0001e10);
  // Halving the wire radius adds about ln 2/(4 pi^2 eps0 R).
  EXPECT_NEAR(static_cast<double>((b - a.P) / (std::log(2.0L) / (4 * kPi * kPi * kEps0))), 1.0,
              1e-3);
  EXPECT_EQ(EquivalentWireRadius(kTwoPi), 1.0L);
}

TEST(RingKernel, FieldIsMinusTheGradientOfThePotential) {
  // Central differences of the potential, an independent route to the field.
  const Extended R = 0.4L, Z = 0.1L, q = 1e-9L;
  for (const auto& [r, z] : {std::pair{0.7L, 0.3L}, {0.2L, -0.25L}, {0.41L, 0.1L}, {1.5L, 2.0L}}) {
    const Extended h = 1e-6L;
    auto V = [&](Extended rr, Extended zz) { return q * RingPotentialCoefficient(R, Z, rr, zz, kEps0); };
    const Extended Er = -(V(r + h, z) - V(r - h, z)) / (2 * h);
    const Extended Ez = -(V(r, z + h) - V(r, z - h)) / (2 * h);
    const RingFieldTerms t = RingField(R, Z, q, r, z, kEps0);
    EXPECT_NEAR(static_cast<double>(-t.erTerm / Er), 1.0, 1e-8) << r << " " << z;
    if (z != Z) {
      EXPECT_NEAR(static_cast<double>(t.ezTerm / Ez), 1.0, 1e-8) << r << " " << z;
    }
    EXPECT_EQ(RingFieldRadialTerm(R, Z, q, r, z, kEps0), t.erTerm);
    EXPECT_EQ(RingFieldAxialTerm(R, Z, q, r, z, kEps0), t.ezTerm);
    // The mirror point: the same potential and axial field, the radial term as it is
    // (the caller negates the radial total for r < 0).
    EXPECT_EQ(RingPotentialCoefficient(R, Z, -r, z, kEps0), RingPotentialCoefficient(R, Z, r, z, kEps0));
    EXPECT_EQ(RingField(R, Z, q, -r, z, kEps0).ezTerm, t.ezTerm);
    EXPECT_EQ(RingField(R, Z, q, -r, z, kEps0).erTerm, t.erTerm);
  }
}

TEST(RingKernel, SurfaceFieldAndAxialForce) {
  // Gauss: the charge over the strip's area over eps0.
  const Extended R = 0.5L, a = 0.002L, q = 3e-9L;
  EXPECT_NEAR(static_cast<double>(RingSurfaceField(R, a, q, kEps0) /
                                  (q / (2 * kPi * R * 2 * kPi * a) / kEps0)),
              1.0, 1e-18);
  // Pi(k, k) = E(k)/k'^2 makes the force term q q dz E/(k'^2 d^3); like charges repel:
  // the ring above is pushed up.
  const Extended Ri = 0.3L, Zi = 0.2L, Rj = 0.5L, Zj = 0.0L, qi = 1e-9L, qj = 2e-9L;
  const Extended d = std::sqrt((Zi - Zj) * (Zi - Zj) + (Ri + Rj) * (Ri + Rj));
  const Extended k = 2 * std::sqrt(Ri * Rj) / d;
  const Extended expected = qi * qj * (Zi - Zj) * EllipticKE(k).EllE / (1 - k * k) / (d * d * d);
  const Extended f = RingAxialForce(Ri, Zi, qi, Rj, Zj, qj);
  EXPECT_NEAR(static_cast<double>(f / expected), 1.0, 1e-15);
  EXPECT_GT(f, 0);
  EXPECT_EQ(RingAxialForce(Rj, Zj, qj, Ri, Zi, qi), -f);
}
