// Exact potential and field of a complete toroid at 1 V at any point outside it, by
// the series of toroidal harmonics (Smythe, Static and Dynamic Electricity, ch. V):
// with the surface at cosh(eta0) = q and the point at (eta, theta),
//   V = (sqrt 2/pi) sqrt(ch - cos theta) sum_n eps_n (Q(n-1/2)(q)/P(n-1/2)(q))
//       P(n-1/2)(ch) cos(n theta),
// eps_0 = 1, eps_n = 2. Its derivative along eta gives the field normal to the
// surfaces eta = constant; on the surface itself the Wronskian of P and Q turns the
// derivative into the sum of cos(n theta)/P(n-1/2)(q) alone, the series whose value at
// theta = 0 is the toroid's maximum field.
#include <cmath>

#include "electrostatics/partial_toroid.h"
#include "electrostatics/toroid.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {
constexpr Extended kSeriesTolerance = 1e-8L;
constexpr std::int32_t kLastTerm = 1001;
}  // namespace

ExactToroidPoint ExactToroidAt(Extended D, Extended d, Extended r, Extended z) {
  ExactToroidPoint out;
  const Extended a0 = d / 2;
  const Extended R0 = (D - d) / 2;
  const Extended c = std::sqrt(R0 * R0 - a0 * a0);  // focal radius
  const Extended q = R0 / a0;

  // Toroidal coordinates of the point. On the axis eta = 0 and theta is undefined; on
  // the focal circle (either side of the axis) eta is infinite.
  const Extended outer = z * z + (r + c) * (r + c);
  const Extended inner = z * z + (r - c) * (r - c);
  if (r == 0 || outer == 0 || inner == 0) return out;
  const Extended eta = std::log(outer / inner) / 2;
  const Extended ep = std::exp(eta), em = std::exp(-eta);
  const Extended sh = (ep - em) / 2;
  const Extended ch = (ep + em) / 2;
  const Extended cosT = ch - (c / r) * sh;
  const Extended sinT = (z / r) * sh;
  Extended theta;
  if (cosT == 0) {
    theta = sinT > 0 ? kHalfPi : -kHalfPi;
  } else {
    theta = std::atan(sinT / cosT);
    if (cosT < 0) theta = sinT > 0 ? theta + kPi : theta - kPi;
  }
  out.defined = true;

  // Surface (index s, argument q) and point (index p, argument ch).
  const Extended ks = ToroidalModulus(q);
  HalfDegreePair Ps = ToroidalPStart(ks);
  HalfDegreePair Qs = ToroidalQStart(ks);
  HalfDegreePair Pp = ToroidalPStart(ToroidalModulus(ch));

  const Extended twoOverPi = kToroidalTwoOverPi;
  const Extended w = std::sqrt(2 * (ch - cosT));
  Extended SV = (Qs.lower / (2 * Ps.lower)) * Pp.lower;
  Extended Seta = twoOverPi * (sh / w) * SV +
                  twoOverPi * (w / sh) * 0.25L * (Qs.lower / Ps.lower) * (Pp.upper - ch * Pp.lower);
  Extended SE = 1 / Pp.lower;
  std::int32_t n = 0;
  for (n = 1;; ++n) {
    // Ps, Qs to degree n - 1/2; Pp to degrees n - 1/2 and n + 1/2.
    if (n >= 2) {
      AdvanceToroidal(Ps, n - 1, q);
      AdvanceToroidal(Qs, n - 1, q);
    }
    AdvanceToroidal(Pp, n, ch);
    const Extended cosN = std::cos(n * theta);
    const Extended ratio = Qs.upper / Ps.upper;
    const Extended tV = cosN * ratio * Pp.lower;
    const Extended tEta = cosN * twoOverPi * (w / sh) * ratio * (n + 0.5L) *
                              (Pp.upper - ch * Pp.lower) +
                          twoOverPi * (sh / w) * tV;
    const Extended tE = 2 * cosN / Pp.lower;
    SV += tV;
    Seta += tEta;
    SE += tE;
    // The sum ends when the term's envelope (cos(n theta) taken as 1) is small against
    // it: the term alone vanishes wherever cos(n theta) does (every odd n at theta =
    // 90 degrees), long before the series has converged.
    if (std::fabs(ratio * Pp.lower / SV) < kSeriesTolerance || n >= kLastTerm) break;
    // Inside the tube the series diverge; stop before the sums overflow.
    if (!std::isfinite(SV) || !std::isfinite(Seta)) break;
  }
  out.terms = n;
  out.V = twoOverPi * w * SV;
  out.Eeta = (ch - cosT) * Seta / c;
  if (r < 0) out.Eeta = -out.Eeta;
  const Extended g = ch - cosT;
  out.Es = SE * 2 * std::sqrt(2.0L) * std::pow(g, 1.5L) / (kPi * d * (ch * ch - 1));
  return out;
}

}  // namespace quor::electrostatics
