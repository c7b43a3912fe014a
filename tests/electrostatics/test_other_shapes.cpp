// The other shapes of the toroid window: which lines appear, their exact texts for the
// default dimensions, and their values against independent routes (the conducting
// ellipsoid's integral, the point-charge systems solved directly, textbook values).
#include <gtest/gtest.h>

#include <array>
#include <boost/math/quadrature/exp_sinh.hpp>
#include <cmath>
#include <string>
#include <vector>

#include "electrostatics/other_shapes.h"
#include "electrostatics/ring_kernel.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/library_namespaces.h"

namespace {

const Extended kE0 = Eps0();
const Extended k4PiE0 = 4 * kPi * kE0;

std::vector<std::string> Shapes(Extended D, Extended d) {
  VectorReport r;
  FaultCheckingReport checked(r);
  ClearArithmeticFaults();
  ListOtherShapes(D, d, kE0, checked);
  CheckArithmeticFaults();
  return r.lines;
}

// The number before " pF" at the end of a line, in farads.
Extended Farads(const std::string& line) {
  const std::size_t end = line.rfind(" pF");
  const std::size_t start = line.find_last_of(' ', end - 1) + 1;
  return std::stold(line.substr(start, end - start)) * 1e-12L;
}

// The line that begins with `head`; fails the test when there is none.
std::string LineOf(const std::vector<std::string>& lines, const std::string& head) {
  for (const std::string& l : lines)
    if (l.rfind(head, 0) == 0) return l;
  ADD_FAILURE() << "no line " << head;
  return " 0 pF";
}

Extended Rel(Extended x, Extended ref) { return std::fabs(x / ref - 1); }

// A conducting ellipsoid of semi-axes a, b, c: C = 8 pi eps0 / int_0^inf ds /
// sqrt((a^2 + s)(b^2 + s)(c^2 + s)) (Landau & Lifshitz, Electrodynamics of Continuous
// Media, section 4), integrated with s = u^2 so that a flat disk (c = 0) stays smooth.
Extended Ellipsoid(Extended a, Extended b, Extended c) {
  static boost::math::quadrature::exp_sinh<Extended> integrator;
  auto f = [&](Extended u) {
    const Extended s = u * u;
    const Extended cu = c == 0 ? 0 : c / u;  // sqrt(c^2 + s) = u sqrt((c/u)^2 + 1)
    return 2 / std::sqrt((a * a + s) * (b * b + s) * (cu * cu + 1));
  };
  return 8 * kPi * kE0 / integrator.integrate(f, 1e-18L);
}

// Equal spheres of radius r at the given centres, each charge acting on the others as a
// point charge: solve P q = 1 (P_ii = 1/r, P_ij = 1/distance) by Gauss elimination;
// C = 4 pi eps0 sum q.
template <std::size_t N>
Extended PointChargeGroup(Extended r, const std::array<std::array<Extended, 2>, N>& c) {
  std::array<std::array<Extended, N + 1>, N> m{};
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t j = 0; j < N; ++j)
      m[i][j] = i == j ? 1 / r : 1 / std::hypot(c[i][0] - c[j][0], c[i][1] - c[j][1]);
    m[i][N] = 1;
  }
  for (std::size_t p = 0; p < N; ++p)
    for (std::size_t i = p + 1; i < N; ++i) {
      const Extended f = m[i][p] / m[p][p];
      for (std::size_t j = p; j <= N; ++j) m[i][j] -= f * m[p][j];
    }
  Extended total = 0;
  std::array<Extended, N> q{};
  for (std::size_t i = N; i-- > 0;) {
    Extended s = m[i][N];
    for (std::size_t j = i + 1; j < N; ++j) s -= m[i][j] * q[j];
    q[i] = s / m[i][i];
    total += q[i];
  }
  return k4PiE0 * total;
}

}  // namespace

TEST(OtherShapes, DefaultListLineByLine) {
  const std::vector<std::string> expected = {
      "Horned toroid with diameter =  0.90:   43.594804 pF",
      "Sphere with diameter =  0.90:   50.0692525224 pF",
      "Thin disk with diameter =  0.90:   31.8750761434 pF",
      "Hollow hemisphere with diameter =  0.90:   40.9721643329 pF",
      "Closed hemisphere with diameter =  0.90:   42.3235122009 pF",
      "Two spheres with diameter = 0.90 in contact:   69.4107224373 pF",
      "Oblate  0.90x 0.30 spheroid:   38.3487410863 pF",
      "Prolate  0.90x 0.30 spheroid:   26.7796452484 pF",
      "Flat square with side =  0.90 ~=         34.8482 pF",
      "Flat equilateral triangle with side =  0.90 ~=         25.1308 pF",
      "Cube with side  0.90 ~=         66.1593 pF",
      "Tetrahedron with side =  0.90 ~=         35.7394 pF",
      "Triangle of 3 spheres enclosed by a  0.90x 0.30 toroid ~=         26.8320 pF",
      "Square of 4 spheres enclosed by a  0.90x 0.30 toroid ~=         34.1111 pF",
      "3 aligned spheres with d.  0.90 separated by  0.30 ~=         93.2324 pF",
      "Triangle of 3 spheres with d.  0.90 separated by  0.30 ~=         85.8330 pF",
      "Square of 4 spheres with d.  0.90 separated by  0.30 ~=         99.3849 pF",
      "4 aligned spheres with d.  0.90 separated by  0.30 ~=        111.9008 pF",
  };
  EXPECT_EQ(Shapes(0.9L, 0.3L), expected);
}

TEST(OtherShapes, WhichLinesAppear) {
  auto has = [](const std::vector<std::string>& lines, const char* head) {
    for (const std::string& l : lines)
      if (l.rfind(head, 0) == 0) return true;
    return false;
  };
  struct Row {
    Extended D, d;
    std::size_t count;
    bool spheroids, triangleInside, squareInside;
  };
  const Row rows[] = {
      {0.9L, 0.3L, 18, true, true, true},
      {0.9L, 0.9L, 14, false, false, false},  // d = D: no spheroid; no room inside
      {0.9L, 0.0L, 16, false, true, true},    // d = 0: spheres of radius 0 inside
      {0.9L, 0.35L, 17, true, false, true},   // room for a square of four, not a triangle
      {0.9L, 1.2L, 14, false, false, false},
      {0.0L, 0.0L, 16, false, true, true},    // every dimension zero: 0/0 prints 0
  };
  for (const Row& r : rows) {
    const auto lines = Shapes(r.D, r.d);
    EXPECT_EQ(lines.size(), r.count) << r.D << " " << r.d;
    EXPECT_EQ(has(lines, "Oblate"), r.spheroids) << r.D << " " << r.d;
    EXPECT_EQ(has(lines, "Prolate"), r.spheroids) << r.D << " " << r.d;
    EXPECT_EQ(has(lines, "Triangle of 3 spheres enclosed"), r.triangleInside) << r.D << " " << r.d;
    EXPECT_EQ(has(lines, "Square of 4 spheres enclosed"), r.squareInside) << r.D << " " << r.d;
  }
  for (const std::string& l : Shapes(0, 0)) EXPECT_EQ(Farads(l), 0) << l;
}

TEST(OtherShapes, ExactShapesAgainstTheEllipsoidAndTextbookValues) {
  for (const auto& [D, d] : {std::pair{0.9L, 0.3L}, {2.0L, 1.9L}, {0.5L, 0.01L}}) {
    const auto lines = Shapes(D, d);
    const Extended a = D / 2;
    // The line values carry 10 decimals of pF: below 1e-11 relative for these sizes.
    const Extended tol = 2e-11L;
    EXPECT_LT(Rel(Farads(LineOf(lines, "Sphere")), Ellipsoid(a, a, a)), tol);
    EXPECT_LT(Rel(Farads(LineOf(lines, "Thin disk")), Ellipsoid(a, a, 0)), tol);
    EXPECT_LT(Rel(Farads(LineOf(lines, "Oblate")), Ellipsoid(a, a, d / 2)), tol) << D << " " << d;
    EXPECT_LT(Rel(Farads(LineOf(lines, "Prolate")), Ellipsoid(a, d / 2, d / 2)), tol)
        << D << " " << d;
    // Kelvin's hemispherical bowl, 4 pi eps0 a (1/2 + 1/pi); the closed hemisphere,
    // 4 pi eps0 a (2 - 2/sqrt 3); two touching spheres, 8 pi eps0 a ln 2 (Smythe, Static
    // and Dynamic Electricity, ch. V).
    EXPECT_LT(Rel(Farads(LineOf(lines, "Hollow hemisphere")), k4PiE0 * a * (0.5L + 1 / kPi)), tol);
    EXPECT_LT(Rel(Farads(LineOf(lines, "Closed hemisphere")), k4PiE0 * a * (2 - 2 / std::sqrt(3.0L))),
              tol);
    EXPECT_LT(Rel(Farads(LineOf(lines, "Two spheres with")), 2 * k4PiE0 * a * std::log(2.0L)), tol);
  }
}

TEST(OtherShapes, SphereGroupsAreTheSolvedPointChargeSystems) {
  for (const auto& [D, d] : {std::pair{0.9L, 0.3L}, {1.0L, 0.05L}, {0.2L, 1.5L}}) {
    const auto lines = Shapes(D, d);
    const Extended tol = 1e-5L;  // four decimals of pF
    // Spheres of diameter D with gaps d: centres b = D + d apart.
    const Extended r = D / 2, b = D + d, h = b * std::sqrt(3.0L) / 2;
    using P = std::array<Extended, 2>;
    EXPECT_LT(Rel(Farads(LineOf(lines, "3 aligned")),
                  PointChargeGroup<3>(r, {P{0, 0}, P{b, 0}, P{2 * b, 0}})), tol);
    EXPECT_LT(Rel(Farads(LineOf(lines, "4 aligned")),
                  PointChargeGroup<4>(r, {P{0, 0}, P{b, 0}, P{2 * b, 0}, P{3 * b, 0}})), tol);
    EXPECT_LT(Rel(Farads(LineOf(lines, "Triangle of 3 spheres with")),
                  PointChargeGroup<3>(r, {P{0, 0}, P{b, 0}, P{b / 2, h}})), tol);
    EXPECT_LT(Rel(Farads(LineOf(lines, "Square of 4 spheres with")),
                  PointChargeGroup<4>(r, {P{0, 0}, P{b, 0}, P{b, b}, P{0, b}})), tol);
    if (D < (std::sqrt(3.0L) + 1) * d) continue;
    // Spheres of diameter d that touch the inside of a D x d toroid's hole: triangle
    // centres (D - d)/sqrt 3 apart, square centres (D - d)/sqrt 2.
    const Extended bt = (D - d) / std::sqrt(3.0L), bs = (D - d) / std::sqrt(2.0L);
    EXPECT_LT(Rel(Farads(LineOf(lines, "Triangle of 3 spheres enclosed")),
                  PointChargeGroup<3>(d / 2, {P{0, 0}, P{bt, 0}, P{bt / 2, bt * std::sqrt(3.0L) / 2}})),
              tol);
    EXPECT_LT(Rel(Farads(LineOf(lines, "Square of 4 spheres enclosed")),
                  PointChargeGroup<4>(d / 2, {P{0, 0}, P{bs, 0}, P{bs, bs}, P{0, bs}})), tol);
  }
}
