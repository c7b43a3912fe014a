#pragma once
// The segment sums written out as plain double loops, one term per segment pair and a
// long double cosine per term: slow, but a reference that shares none of the
// reductions of the product code (symmetry by angle difference, cosine tables, rows
// summed on worker threads). Used by the tests on small cases and by the benchmarks
// to measure the cost per term of the direct form.
#include <cmath>
#include <cstdint>
#include <vector>

#include "numerics/canvas.h"
#include "numerics/extended.h"
#include "transformer/coil_pair.h"
#include "transformer/drawing.h"
#include "numerics/library_namespaces.h"

namespace literal {

inline std::int32_t RoundTurns(Extended N) {
  const auto n = static_cast<std::int32_t>(std::llrint(N));
  return n == 0 ? 1 : n;
}

inline Extended Gmd(Extended wd) { return std::exp(-0.25L) * (wd / 2); }

// Neumann's integral for two coaxial circles, M = mu0*a*b/2 * integral over one turn
// of cos(phi)/R(phi), by the trapezoidal rule, which converges geometrically for a
// smooth periodic integrand. Independent of the elliptic-integral code; rings a
// g.m.d. apart need more points.
inline Extended NeumannRings(Extended a, Extended b, Extended d, int points = 4000) {
  Extended sum = 0;
  for (int k = 0; k < points; ++k) {
    const Extended phi = kTwoPi * k / points;
    sum += std::cos(phi) / std::sqrt(a * a + b * b - 2 * a * b * std::cos(phi) + d * d);
  }
  return kMu0 * a * b / 2 * sum * (kTwoPi / points);
}

// Maxwell's helix sum: turn 1 of the copy against every turn of the first copy, all
// nsm*nsm segment pairs per turn. Appends the drawn path (MoveTo at each turn start,
// then one point per outer segment) to path when given.
inline Extended MaxwellSolenoid(std::int32_t nsm, Extended N, Extended h, Extended r, Extended b,
                                Extended wd, const ScreenMapping* map = nullptr,
                                std::vector<std::vector<CanvasPoint>>* path = nullptr) {
  const std::int32_t n = RoundTurns(N);
  const Extended p = h / (kTwoPi * n);
  const Extended dt = kTwoPi / nsm;
  const Extended g = Gmd(wd);
  const Extended ell = std::sqrt((kTwoPi * r) * (kTwoPi * r) + (h / n) * (h / n));
  const Extended s = g * ell / (kTwoPi * r);
  const Extended r2 = r * r, p2 = p * p, twoR2 = 2 * r2;
  const Extended theta0 = dt / 2;
  Extended theta = theta0, L = 0;
  for (std::int32_t i = 1; i <= n; ++i) {
    Extended S1 = 0, S2 = 0;
    if (path) path->push_back({{ToScreenX(*map, r), ToScreenY(*map, b + p * (theta - theta0))}});
    for (std::int32_t k = 0; k < nsm; ++k) {
      const Extended zA = p * theta;
      Extended phi = theta0;
      for (std::int32_t l = 0; l < nsm; ++l) {
        const Extended c = std::cos(theta - phi);
        const Extended num = p2 + c * r2;
        const Extended q = twoR2 - c * twoR2;
        const Extended delta = zA - phi * p;
        S1 = S1 + num / std::sqrt(q + (s + delta) * (s + delta));
        S2 = S2 + num / std::sqrt(q + (delta - s) * (delta - s));
        phi = phi + dt;
      }
      theta = theta + dt;
      if (path) {
        const Extended a = theta - theta0;
        path->back().push_back({ToScreenX(*map, r * std::cos(a)),
                                ToScreenY(*map, b + a * p + 0.5L * r * std::sin(a))});
      }
    }
    L = (i == 1) ? S1 * n : L + (S1 + S2) * (n - (i - 1));
  }
  return 1e-7L * L * dt * dt;
}

// Every segment of the first copy against every segment of the second, one running sum,
// on one thread. With tables = true the cosines and sines of the segment midpoints
// come from one-turn tables by index (the form the benchmarks time as the direct
// method); otherwise each term calls the long double cosine and sine.
inline Extended MaxwellGeneralCoil(std::int32_t nsm, Extended N, Extended h, Extended rmin,
                                   Extended rmax, Extended b, Extended wd, bool tables = false) {
  std::vector<Extended> ct(nsm), st(nsm);
  for (std::int32_t m = 0; m < nsm; ++m) {
    ct[m] = std::cos((m + 0.5L) * (kTwoPi / nsm));
    st[m] = std::sin((m + 0.5L) * (kTwoPi / nsm));
  }
  auto cosAt = [&](Extended theta, std::int32_t m) { return tables ? ct[m] : std::cos(theta); };
  auto sinAt = [&](Extended theta, std::int32_t m) { return tables ? st[m] : std::sin(theta); };
  const Extended g = Gmd(wd);
  const Extended rho = std::sqrt(rmin * rmax);
  const Extended ell = std::sqrt((kTwoPi * rho) * (kTwoPi * rho) + (h / N) * (h / N));
  const Extended s = g * ell / (kTwoPi * rho);
  const Extended p = h / (kTwoPi * N);
  const Extended a = (rmax - rmin) / (kTwoPi * N);
  const Extended dt = kTwoPi / nsm;
  const auto segs = static_cast<std::int64_t>(std::trunc(static_cast<Extended>(nsm) * N));
  Extended sum = 0, thetaA = dt / 2;
  std::int32_t mA = 0;
  for (std::int64_t i = 0; i < segs; ++i) {
    const Extended C = cosAt(thetaA, mA), S = sinAt(thetaA, mA);
    const Extended rA = rmin + thetaA * a;
    const Extended xA = C * rA, yA = S * rA, zA = b + thetaA * p;
    const Extended txA = C * a - yA, tyA = S * a + xA;
    Extended thetaB = dt / 2;
    std::int32_t mB = 0;
    for (std::int64_t j = 0; j < segs; ++j) {
      const Extended C2 = cosAt(thetaB, mB), S2 = sinAt(thetaB, mB);
      const Extended rB = rmin + thetaB * a;
      const Extended xB = C2 * rB, yB = S2 * rB, zB = (b + s) + thetaB * p;
      const Extended txB = C2 * a - yB, tyB = S2 * a + xB;
      const Extended dx = xA - xB, dy = yA - yB, dz = zA - zB;
      sum = sum + (p * p + tyA * tyB + txA * txB) / std::sqrt(dx * dx + dy * dy + dz * dz);
      thetaB = thetaB + dt;
      if (++mB == nsm) mB = 0;
    }
    thetaA = thetaA + dt;
    if (++mA == nsm) mA = 0;
  }
  return 1e-7L * sum * dt * dt;
}

// The path the general-coil routine draws, as the formulas read: MoveTo the start,
// then after each outer segment a line to its end, the cosine and sine of the angle
// accumulated by repeated addition.
inline std::vector<std::vector<CanvasPoint>> GeneralCoilPath(std::int32_t nsm, Extended N,
                                                             Extended h, Extended rmin,
                                                             Extended rmax, Extended b,
                                                             const ScreenMapping& map) {
  const Extended p = h / (kTwoPi * N);
  const Extended a = (rmax - rmin) / (kTwoPi * N);
  const Extended dt = kTwoPi / nsm;
  const auto segs = static_cast<std::int64_t>(std::trunc(static_cast<Extended>(nsm) * N));
  std::vector<std::vector<CanvasPoint>> path{{{ToScreenX(map, rmin), ToScreenY(map, b)}}};
  Extended thetaA = dt / 2;
  for (std::int64_t i = 0; i < segs; ++i) {
    thetaA = thetaA + dt;
    const Extended phi = thetaA - dt / 2;
    path.back().push_back({ToScreenX(map, (rmin + phi * a) * std::cos(phi)),
                           ToScreenY(map, b + phi * p + 0.5L * (rmin + phi * a) * std::sin(phi))});
  }
  return path;
}

// Neumann's integral between two solenoidal helices, cos(theta1 - theta2) per term.
inline Extended MutualSolenoids(const CoilPair& c, std::int32_t ns1, std::int32_t ns2) {
  const Extended p1 = c.h1 / (kTwoPi * c.N1), p2 = c.h2 / (kTwoPi * c.N2);
  const Extended dt1 = kTwoPi / ns1, dt2 = kTwoPi / ns2;
  const auto segs1 = static_cast<std::int64_t>(std::trunc(static_cast<Extended>(ns1) * c.N1));
  const auto segs2 = static_cast<std::int64_t>(std::trunc(static_cast<Extended>(ns2) * c.N2));
  const Extended r1r2 = c.rmin1 * c.rmin2, p1p2 = p1 * p2, db = c.b1 - c.b2;
  const Extended rr = c.rmin1 * c.rmin1 + c.rmin2 * c.rmin2, twoR1R2 = 2 * c.rmin1 * c.rmin2;
  Extended sum = 0, theta1 = dt1 / 2;
  for (std::int64_t i = 0; i < segs1; ++i) {
    const Extended z1 = p1 * theta1;
    Extended theta2 = dt2 / 2;
    for (std::int64_t j = 0; j < segs2; ++j) {
      const Extended cs = std::cos(theta1 - theta2);
      const Extended dz = z1 - p2 * theta2 + db;
      sum = sum + (r1r2 * cs + p1p2) / std::sqrt(dz * dz + (rr - twoR1R2 * cs));
      theta2 = theta2 + dt2;
    }
    theta1 = theta1 + dt1;
  }
  return 1e-7L * sum * dt1 * dt2;
}

}  // namespace literal
