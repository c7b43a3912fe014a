#include "electrostatics/other_shapes.h"

#include <cmath>
#include <string>

#include "numerics/format.h"

namespace quor::electrostatics {
using namespace quor::numerics;

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

void ListOtherShapes(Extended D, Extended d, Extended e0, ReportSink& report, Result* values) {
  // One line: its text before the number, the capacitance in pF as printed, and the
  // key under which it is returned in farads.
  auto shape = [&](const char* key, const std::string& text, Extended pf, int width,
                   int decimals) {
    ReportLine(report, text + Pf(pf, width, decimals));
    if (values) values->Add(key, "F", pf * kPico);
  };
  const std::string Ds = FixedStr(D, 5, 2);
  const std::string ds = FixedStr(d, 5, 2);
  const Extended sqrt2 = std::sqrt(2.0L);
  const Extended sqrt3 = std::sqrt(3.0L);

  // The horn torus (tube radius equal to the centre radius, no hole): a numerical
  // result, as a fraction of the sphere of the same outer diameter.
  shape("C_horn", "Horned toroid with diameter = " + Ds + ": ",
        kTwoPi * e0 * D * 0.87069013L / kPico, 11, 6);
  // Exact values with a = D/2 (Smythe, Static and Dynamic Electricity, ch. V): sphere
  // 4 pi eps0 a; thin disk 8 eps0 a (the flat limit of the oblate spheroid);
  // hemispherical bowl 4 pi eps0 a (1/2 + 1/pi) (Kelvin); closed hemisphere
  // 4 pi eps0 a (2 - 2/sqrt 3); two touching spheres of radius a 8 pi eps0 a ln 2
  // (Kelvin's series of images summed).
  shape("C_sphere", "Sphere with diameter = " + Ds + ": ", kTwoPi * e0 * D / kPico, 15, 10);
  shape("C_disk", "Thin disk with diameter = " + Ds + ": ", e0 * 4.0L * D / kPico, 15, 10);
  shape("C_hollow_hemisphere", "Hollow hemisphere with diameter = " + Ds + ": ",
        kTwoPi * e0 * D * 0.818309886183790671538L / kPico, 15, 10);
  shape("C_closed_hemisphere", "Closed hemisphere with diameter = " + Ds + ": ",
        (1.0L - 1.0L / sqrt3) * kFourPi * e0 * D / kPico, 15, 10);
  shape("C_two_spheres", "Two spheres with diameter =" + Ds + " in contact: ",
        std::log(2.0L) * kFourPi * e0 * D / kPico, 15, 10);

  // Spheroids with semi-axes D/2 and d/2 and focal distance f: 4 pi eps0 f over
  // arcsin(f/a) (oblate) or over ln((a + f)/b) (prolate) (the conducting ellipsoid:
  // Landau & Lifshitz, Electrodynamics of Continuous Media, section 4).
  if (0 < d && d < D) {
    const Extended f = std::sqrt((D / 2.0L) * (D / 2.0L) - (d / 2.0L) * (d / 2.0L));
    shape("C_oblate", "Oblate " + Ds + "x" + ds + " spheroid: ",
          f * kFourPi * e0 / ArcSin(f / (D / 2.0L)) / kPico, 15, 10);
    shape("C_prolate", "Prolate " + Ds + "x" + ds + " spheroid: ",
          f * kFourPi * e0 / std::log((D / 2.0L + f) / (d / 2.0L)) / kPico, 15, 10);
  }

  // Numerical results for figures without a closed form, as fractions of 4 pi eps0 D.
  shape("C_square", "Flat square with side = " + Ds + " ~= ",
        kFourPi * e0 * D * 0.348L / kPico, 15, 4);
  shape("C_triangle", "Flat equilateral triangle with side = " + Ds + " ~= ",
        kFourPi * e0 * D * 0.25096L / kPico, 15, 4);
  shape("C_cube", "Cube with side " + Ds + " ~= ", kFourPi * e0 * D * 0.6606782L / kPico, 15, 4);
  shape("C_tetrahedron", "Tetrahedron with side = " + Ds + " ~= ",
        kFourPi * e0 * D * 0.3569L / kPico, 15, 4);

  // Groups of equal spheres treated as point charges at their centres: potential
  // coefficients 1/r for a sphere's own charge and 1/b between centres b apart; the
  // charges at 1 V solve the small symmetric system, and the closed forms below are
  // those solutions (r the sphere radius, s the gap, b = 2r + s).
  if (D >= (sqrt3 + 1.0L) * d) {
    // Three spheres of diameter d at the corners of a triangle that fits in the hole
    // of a D x d toroid: centres (D - d)/sqrt 3 apart.
    const Extended r = d / 2.0L;
    const Extended s = (D - (sqrt3 + 1.0L) * d) / sqrt3;
    shape("C_3_enclosed", "Triangle of 3 spheres enclosed by a " + Ds + "x" + ds + " toroid ~= ",
          Ratio(kFourPi * e0 * kTera * 3.0L * r * (2.0L * r + s), 4.0L * r + s), 15, 4);
  }
  if (D >= (sqrt2 + 1.0L) * d) {
    // Four spheres at the corners of a square, centres (D - d)/sqrt 2 apart.
    shape("C_4_enclosed", "Square of 4 spheres enclosed by a " + Ds + "x" + ds + " toroid ~= ",
          Ratio(kFourPi * e0 * 4.0L * d * (D - d), (2.0L * sqrt2 - 1.0L) * d + 2.0L * D) / kPico,
          15, 4);
  }
  const Extended r = D / 2.0L;
  const Extended s = d;
  shape("C_3_aligned", "3 aligned spheres with d. " + Ds + " separated by " + ds + " ~= ",
        Ratio(kFourPi * e0 * kTera * r * (2.0L * r + s) * (6.0L * s + 5.0L * r),
              2.0L * s * s + 9.0L * r * s + 6.0L * r * r),
        15, 4);
  shape("C_3_triangle", "Triangle of 3 spheres with d. " + Ds + " separated by " + ds + " ~= ",
        Ratio(kFourPi * e0 * kTera * 3.0L * r * (2.0L * r + s), 4.0L * r + s), 15, 4);
  shape("C_4_square", "Square of 4 spheres with d. " + Ds + " separated by " + ds + " ~= ",
        Ratio(sqrt2 * kFourPi * e0 * kTera * D * 2.0L * (d + D),
              (4.0L * sqrt2 + 1.0L) * D / 2.0L + sqrt2 * d),
        15, 4);
  shape("C_4_aligned", "4 aligned spheres with d. " + Ds + " separated by " + ds + " ~= ",
        Ratio(kFourPi * e0 * kTera * 8.0L * r * (2.0L * r + s) * (6.0L * s + 7.0L * r),
              12.0L * s * s + 64.0L * r * s + 57.0L * r * r),
        15, 4);
}

}  // namespace quor::electrostatics
