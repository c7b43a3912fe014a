#include "electrostatics/other_shapes.h"

#include <cmath>
#include <string>

#include "numerics/format.h"

namespace {

constexpr Extended kFourPi = 12.5663706143591729541L;
constexpr Extended kPico = 1e-12L;   // farads per picofarad, divided by
constexpr Extended kTera = 1e12L;    // picofarads per farad, multiplied by (sphere groups)

// num/den, except that 0/0 gives 0: every formula below that can meet it does so only
// when all its lengths are zero, and a conductor shrunk to a point holds no charge.
Extended Ratio(Extended num, Extended den) {
  if (num == 0 && den == 0) return 0;
  return num / den;
}

std::string Pf(Extended c, int width, int decimals) {
  return FixedStr(c, width, decimals) + " pF";
}

}  // namespace

void ListOtherShapes(Extended D, Extended d, Extended e0, ReportSink& report) {
  const std::string Ds = FixedStr(D, 5, 2);
  const std::string ds = FixedStr(d, 5, 2);
  const Extended sqrt2 = std::sqrt(2.0L);
  const Extended sqrt3 = std::sqrt(3.0L);

  // The horn torus (tube radius equal to the centre radius, no hole): a numerical
  // result, as a fraction of the sphere of the same outer diameter.
  ReportLine(report, "Horned toroid with diameter = " + Ds + ": " +
                         Pf(kTwoPi * e0 * D * 0.87069013L / kPico, 11, 6));
  // Exact values with a = D/2 (Smythe, Static and Dynamic Electricity, ch. V): sphere
  // 4 pi eps0 a; thin disk 8 eps0 a (the flat limit of the oblate spheroid);
  // hemispherical bowl 4 pi eps0 a (1/2 + 1/pi) (Kelvin); closed hemisphere
  // 4 pi eps0 a (2 - 2/sqrt 3); two touching spheres of radius a 8 pi eps0 a ln 2
  // (Kelvin's series of images summed).
  ReportLine(report, "Sphere with diameter = " + Ds + ": " + Pf(kTwoPi * e0 * D / kPico, 15, 10));
  ReportLine(report, "Thin disk with diameter = " + Ds + ": " + Pf(e0 * 4.0L * D / kPico, 15, 10));
  ReportLine(report, "Hollow hemisphere with diameter = " + Ds + ": " +
                         Pf(kTwoPi * e0 * D * 0.818309886183790671538L / kPico, 15, 10));
  ReportLine(report, "Closed hemisphere with diameter = " + Ds + ": " +
                         Pf((1.0L - 1.0L / sqrt3) * kFourPi * e0 * D / kPico, 15, 10));
  ReportLine(report, "Two spheres with diameter =" + Ds + " in contact: " +
                         Pf(std::log(2.0L) * kFourPi * e0 * D / kPico, 15, 10));

  // Spheroids with semi-axes D/2 and d/2 and focal distance f: 4 pi eps0 f over
  // arcsin(f/a) (oblate) or over ln((a + f)/b) (prolate) (the conducting ellipsoid:
  // Landau & Lifshitz, Electrodynamics of Continuous Media, section 4).
  if (0 < d && d < D) {
    const Extended f = std::sqrt((D / 2.0L) * (D / 2.0L) - (d / 2.0L) * (d / 2.0L));
    ReportLine(report, "Oblate " + Ds + "x" + ds + " spheroid: " +
                           Pf(f * kFourPi * e0 / ArcSin(f / (D / 2.0L)) / kPico, 15, 10));
    ReportLine(report, "Prolate " + Ds + "x" + ds + " spheroid: " +
                           Pf(f * kFourPi * e0 / std::log((D / 2.0L + f) / (d / 2.0L)) / kPico,
                              15, 10));
  }

  // Numerical results for figures without a closed form, as fractions of 4 pi eps0 D.
  ReportLine(report, "Flat square with side = " + Ds + " ~= " +
                         Pf(kFourPi * e0 * D * 0.348L / kPico, 15, 4));
  ReportLine(report, "Flat equilateral triangle with side = " + Ds + " ~= " +
                         Pf(kFourPi * e0 * D * 0.25096L / kPico, 15, 4));
  ReportLine(report, "Cube with side " + Ds + " ~= " + Pf(kFourPi * e0 * D * 0.6606782L / kPico, 15, 4));
  ReportLine(report, "Tetrahedron with side = " + Ds + " ~= " +
                         Pf(kFourPi * e0 * D * 0.3569L / kPico, 15, 4));

  // Groups of equal spheres treated as point charges at their centres: potential
  // coefficients 1/r for a sphere's own charge and 1/b between centres b apart; the
  // charges at 1 V solve the small symmetric system, and the closed forms below are
  // those solutions (r the sphere radius, s the gap, b = 2r + s).
  if (D >= (sqrt3 + 1.0L) * d) {
    // Three spheres of diameter d at the corners of a triangle that fits in the hole
    // of a D x d toroid: centres (D - d)/sqrt 3 apart.
    const Extended r = d / 2.0L;
    const Extended s = (D - (sqrt3 + 1.0L) * d) / sqrt3;
    ReportLine(report, "Triangle of 3 spheres enclosed by a " + Ds + "x" + ds + " toroid ~= " +
                           Pf(Ratio(kFourPi * e0 * kTera * 3.0L * r * (2.0L * r + s),
                                    4.0L * r + s),
                              15, 4));
  }
  if (D >= (sqrt2 + 1.0L) * d) {
    // Four spheres at the corners of a square, centres (D - d)/sqrt 2 apart.
    ReportLine(report, "Square of 4 spheres enclosed by a " + Ds + "x" + ds + " toroid ~= " +
                           Pf(Ratio(kFourPi * e0 * 4.0L * d * (D - d),
                                    (2.0L * sqrt2 - 1.0L) * d + 2.0L * D) /
                                  kPico,
                              15, 4));
  }
  const Extended r = D / 2.0L;
  const Extended s = d;
  ReportLine(report, "3 aligned spheres with d. " + Ds + " separated by " + ds + " ~= " +
                         Pf(Ratio(kFourPi * e0 * kTera * r * (2.0L * r + s) * (6.0L * s + 5.0L * r),
                                  2.0L * s * s + 9.0L * r * s + 6.0L * r * r),
                            15, 4));
  ReportLine(report, "Triangle of 3 spheres with d. " + Ds + " separated by " + ds + " ~= " +
                         Pf(Ratio(kFourPi * e0 * kTera * 3.0L * r * (2.0L * r + s), 4.0L * r + s),
                            15, 4));
  ReportLine(report, "Square of 4 spheres with d. " + Ds + " separated by " + ds + " ~= " +
                         Pf(Ratio(sqrt2 * kFourPi * e0 * kTera * D * 2.0L * (d + D),
                                  (4.0L * sqrt2 + 1.0L) * D / 2.0L + sqrt2 * d),
                            15, 4));
  ReportLine(report, "4 aligned spheres with d. " + Ds + " separated by " + ds + " ~= " +
                         Pf(Ratio(kFourPi * e0 * kTera * 8.0L * r * (2.0L * r + s) *
                                      (6.0L * s + 7.0L * r),
                                  12.0L * s * s + 64.0L * r * s + 57.0L * r * r),
                            15, 4));
}
