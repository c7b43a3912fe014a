// Classical inductance formulas, evaluated term by term in the order written here:
// the printed values carry 18 digits, so the order of the operations shows.
#include "transformer/classical.h"

#include <cmath>

#include "numerics/elliptic.h"
#include "numerics/format.h"

namespace quor::transformer {
using namespace quor::numerics;

namespace {

// The constants of these formulas are double-precision values (the nearest doubles to
// the quantities named), held in Extended: mu0 = 4 pi 1e-7 and its multiples, and
// pi and its small multiples on their own.
constexpr Extended kMu0d = 1.2566370614359172885e-6L;
constexpr Extended kHalfMu0d = 6.2831853071795864425e-7L;
constexpr Extended kPiE7 = 3.1415926535897932213e-7L;   // pi * 1e-7
constexpr Extended kTenE7 = 9.9999999999999995475e-8L;  // 1e-7
constexpr Extended kMu0Pi = 3.9478417604357438154e-6L;  // mu0 * pi
constexpr Extended kFourOverPiSq = 0.40528473456935110164L;
constexpr Extended kOneOverThreePi = 0.10610329539459689707L;
constexpr Extended kPid = 3.141592653589793115997963468544185161590576171875L;
constexpr Extended kTwoPid = 6.28318530717958623199592693708837032318115234375L;
constexpr Extended kThreePid = 9.424777960769379347993890405632555484771728515625L;
constexpr Extended kFourPid = 12.5663706143591724639918538741767406463623046875L;
constexpr Extended kHalfPid = 1.5707963267948965579989817342720925807952880859375L;
// Wheeler's spiral formula in inches and microhenries, converted: 1/25400.
constexpr Extended kInchFactor = 3.9370078740157478413e-5L;

constexpr bool IsDouble(Extended x) { return static_cast<Extended>(static_cast<double>(x)) == x; }
static_assert(IsDouble(kMu0d) && IsDouble(kHalfMu0d) && IsDouble(kPiE7) && IsDouble(kTenE7) &&
              IsDouble(kMu0Pi) && IsDouble(kFourOverPiSq) && IsDouble(kOneOverThreePi) &&
              IsDouble(kPid) && IsDouble(kTwoPid) && IsDouble(kThreePid) && IsDouble(kFourPid) &&
              IsDouble(kHalfPid) && IsDouble(kInchFactor));

// The modulus used in place of k = 1 (coincident equal rings), 1 - 1e-10 as stored:
// significand FFFFFFFF920C8099 hex, biased exponent 3FFE hex.
constexpr Extended kAlmostOne = static_cast<Extended>(0xFFFFFFFF920C8099ULL) * 0x1p-64L;

Extended Sqr(Extended x) { return x * x; }

void TurnsRounded(ReportSink& report, std::int32_t n) {
  ReportLine(report, "Turns rounded to " + IntStr(n));
}

}  // namespace

// ---------------------------------------------------------------- Wheeler

Extended WheelerSolenoid(Extended N, Extended h, Extended r) {
  return kMu0Pi * Sqr(r) * Sqr(N) / (0.9L * r + h);
}

Extended WheelerSpiral(Extended N, Extended rmin, Extended rmax) {
  Extended a = rmin;
  Extended c = rmax;
  if (rmax < rmin) {
    a = rmax;
    c = rmin;
  }
  return kInchFactor * Sqr(N) * Sqr(a + c) / (60.0L * c - 28.0L * a);
}

Extended WheelerInductance(Extended N, Extended h, Extended rmin, Extended rmax) {
  if (h == 0) return WheelerSpiral(N, rmin, rmax);
  if (rmin == rmax) return WheelerSolenoid(N, h, rmin);
  // A conical coil: Wheeler's interpolation between the solenoid of the mean radius
  // and the flat spiral, by the cone angle.
  const Extended theta = std::atan(h / (rmax - rmin));
  const Extended Ls = WheelerSolenoid(N, h, (rmin + rmax) / 2.0L);
  const Extended Lf = WheelerSpiral(N, rmin, rmax);
  return std::sqrt(Sqr(Ls * std::sin(theta)) + Sqr(Lf * std::cos(theta))) *
         (1.0L - 0.1466L * std::sin(2.0L * theta));
}

// ---------------------------------------------------------------- Lundin

// Lundin's rational and polynomial fits (Proc. IEEE 73, 1985), accurate to a few
// parts per million of the current-sheet inductance.
Extended LundinF1(Extended x) {
  return (1.0L + 0.383901L * x + 0.017108L * Sqr(x)) / (1.0L + 0.258952L * x);
}

Extended LundinF2(Extended x) {
  return 0.093842L * x + 0.002029L * Sqr(x) - 0.000801L * (x * x * x);
}

Extended LundinInductance(Extended N, Extended h, Extended r) {
  const Extended x = 4.0L * Sqr(r) / Sqr(h);
  const Extended y = 1.0L / x;
  if (h > 2.0L * r) {
    return kMu0d * Sqr(N) * Sqr(r) * kPid / h * (LundinF1(x) - 8.0L * r / (kThreePid * h));
  }
  return kMu0d * Sqr(N) * r * (LundinF1(y) * (std::log(8.0L * r / h) - 0.5L) + LundinF2(y));
}

// ---------------------------------------------------------------- Lorenz

// Lorenz's exact inductance of a uniform current sheet, written as Nagaoka's
// coefficient times the long-solenoid value.
Extended LorenzInductance(Extended N, Extended h, Extended r) {
  const Extended D = std::sqrt(4.0L * Sqr(r) + Sqr(h));
  const Extended k = 2.0L * r / D;
  const EllipticResult ke = EllipticKE(k);
  const Extended K = ke.EllK;
  const Extended E = ke.EllE;
  return kMu0d * Sqr(N) * kPid * Sqr(r) / h * kOneOverThreePi *
         (D * h * (K - E) / Sqr(r) + 4.0L * D * E / h - 8.0L * r / h);
}

// ---------------------------------------------------------------- Snow

// Snow's formula for a helix of round wire: the current-sheet inductance corrected
// for the round wire and the pitch.
Extended SnowInductance(ReportSink& report, Extended r, Extended h, Extended wd, Extended N) {
  if (h == 0) {
    ReportLine(report, "The coil can't be flat");
    return 1.0L;
  }
  const std::int32_t n = RoundAtLeastOne(N);
  if (N != n) TurnsRounded(report, n);
  const Extended nn = n;
  const Extended x = 2.0L * r / h;
  const Extended phi = std::atan(x);
  const Extended s = std::sin(phi);
  const Extended c = std::cos(phi);
  const EllipticResult ke = EllipticKE(s);
  const Extended K = ke.EllK;
  const Extended E = ke.EllE;
  const Extended A = 2.0L * Sqr(nn) * r * ((((Sqr(x) - 1.0L) * E + K) / s - Sqr(x)) * kFourPid / 3.0L);
  const Extended z = nn * kPid * wd / h;
  const Extended B = 2.0L * nn * (0.25L - std::log(z));
  const Extended C = std::log(kTwoPid * nn * r / h) / 3.0L + B -
                     (E / s - 1.0L) * kFourOverPiSq * (Sqr(z) / 8.0L + 1.0L) -
                     ((K - E) / s - 0.5L * s * K) * (2.0L / 3.0L) -
                     (0.5L * c / s) * (1.0L - (c / s) * phi);
  const Extended G =
      C * kTwoPid * r + (std::log(4.0L) * c + std::log((c + 1.0L) / (1.0L - c))) * h;
  return kTenE7 * (G + A);
}

// ---------------------------------------------------------------- Kirchhoff

// The solenoid as n circular turns: n self terms of a loop of round wire and the
// Maxwell mutual inductance of every pair, equal pairs counted together.
Extended KirchhoffInductance(ReportSink& report, Extended r, Extended h, Extended wd, Extended N) {
  const Extended a = wd / 2.0L;
  const std::int32_t n = RoundAtLeastOne(N);
  const Extended p = h / n;
  if (N != n) TurnsRounded(report, n);
  Extended S = n * r * (std::log(8.0L * r / a) - 1.75L);
  for (std::int32_t i = 1; i <= n - 1; ++i) {
    const Extended z = i * p;
    const Extended k = 2.0L * r / std::sqrt(4.0L * Sqr(r) + Sqr(z));
    const EllipticResult ke = EllipticKE(k);
    S = S + (r / k) * (2.0L * (n - i)) * ((2.0L - Sqr(k)) * ke.EllK - 2.0L * ke.EllE);
  }
  return kMu0d * S;
}

// ---------------------------------------------------------------- single loops

// Loop of round wire, large radius r against the wire radius a (Grover).
Extended GroverOneTurn(Extended r, Extended wd) {
  const Extended a = wd / 2.0L;
  return kMu0d * r * (std::log(8.0L * r / a) - 1.75L);
}

// Maxwell: the wire as a filament at the geometric mean distance of its section.
Extended MaxwellOneTurn(Extended r, Extended wd) {
  const Extended a = wd / 2.0L;
  const Extended g = std::exp(-0.25L) * a;
  const Extended u = g / r;
  return kMu0d * r *
         ((1.0L + 3.0L * Sqr(u) / 16.0L) * std::log(8.0L * r / g) - 2.0L - Sqr(u) / 16.0L);
}

// The form with the second-order terms in a/r.
Extended AIPOneTurn(Extended r, Extended wd) {
  const Extended a = wd / 2.0L;
  const Extended u = a / r;
  return kMu0d * r * ((1.0L + Sqr(u) / 8.0L) * std::log(8.0L * r / a) + Sqr(u) / 24.0L - 1.75L);
}

// Russell's form through the complete integrals of modulus (r - a)/r, plus the
// internal inductance term mu0 r / 4.
Extended RussellOneTurn(Extended r, Extended wd) {
  const Extended a = wd / 2.0L;
  const EllipticResult ke = EllipticKE((r - a) / r);
  return kMu0d * r * (2.0L * (ke.EllK - ke.EllE) + 0.25L);
}

// ---------------------------------------------------------------- solenoid and circle

// Current sheet (radius r1, n turns over len) and a circle of radius r2 in the plane
// of one end: Jones's form with the complete integral of the third kind.
Extended JonesEndCircleMutual(Extended r1, Extended r2, Extended len, Extended n) {
  const Extended g = 2.0L * std::sqrt(r1 * r2);
  const Extended c = g / (r1 + r2);
  const Extended D = std::sqrt(Sqr(len) + Sqr(r1 + r2));
  const Extended k = g / D;
  Extended T;
  if (c == 1) {
    const EllipticResult ke = EllipticKE(k);
    T = (ke.EllK - ke.EllE) / Sqr(k);
  } else {
    const EllipticResult ke = EllipticKEPi(k, c);
    T = (ke.EllK - ke.EllE) / Sqr(k) + Sqr(std::sqrt(1.0L - Sqr(c)) / c) * (ke.EllK - ke.EllPi);
  }
  return T * kTenE7 * (kTwoPid * n) * (r1 + r2) * c * k;
}

// The same mutual inductance in Garrett's arrangement of the terms.
Extended GarrettEndCircleMutual(Extended r1, Extended r2, Extended len, Extended n) {
  const Extended g = 2.0L * std::sqrt(r1 * r2);
  const Extended c = g / (r1 + r2);
  const Extended D = std::sqrt(Sqr(len) + Sqr(r1 + r2));
  const Extended k = g / D;
  if (c == 1) {
    const EllipticResult ke = EllipticKE(k);
    return kHalfMu0d * n * (ke.EllK - ke.EllE) * D;
  }
  const EllipticResult ke = EllipticKEPi(k, c);
  return (Sqr(r1 - r2) / D * (ke.EllK - ke.EllPi) + (ke.EllK - ke.EllE) * D) * kHalfMu0d * n;
}

// Snow's form with Heuman's combination of incomplete integrals of modulus k' in
// place of the third kind.
Extended SnowEndCircleMutual(Extended r1, Extended r2, Extended len, Extended n) {
  if (len == 0) return 0.0L;
  const Extended k = 2.0L * std::sqrt(r1 * r2 / (Sqr(r1 + r2) + Sqr(len)));
  const Extended kp = std::sqrt(1.0L - Sqr(k));
  if (r1 == r2) {
    const EllipticResult ke = EllipticKE(k);
    return kMu0d * n * std::sqrt(r1 * r2) / k * (ke.EllK - ke.EllE);
  }
  const Extended t =
      std::sqrt((Sqr(len / (r1 + r2)) + 1.0L) / (Sqr(len / (r1 - r2)) + 1.0L));
  const Extended psi = ArcSin(t);
  const EllipticResult ke = EllipticKE(k);
  const IncompleteResult fe = IncompleteFE(kp, psi);
  const Extended sigma = len > 0 ? 1.0L : -1.0L;
  const Extended K = ke.EllK;
  const Extended E = ke.EllE;
  const Extended P = std::sqrt(r1 * r2) * 2.0L * len / k * (K - E);
  const Extended Q = std::fabs(Sqr(r1) - Sqr(r2)) * sigma *
                     (K * fe.EllEphi - (K - E) * fe.EllFphi - kHalfPid);
  return (Q + P) * kHalfMu0d * n / len;
}

// ---------------------------------------------------------------- two current sheets

// One corner term of Snow's mutual inductance of two coaxial current sheets of radii
// rmin1 and rmin2, for the axial distance z between two of their ends.
Extended SnowSheetTerm(const CoilPair& c, Extended z) {
  const Extended r1 = c.rmin1;
  const Extended r2 = c.rmin2;
  const Extended D = std::sqrt(Sqr(z) + Sqr(r1 + r2));
  Extended k = 2.0L * std::sqrt(r1 * r2) / D;
  if (k == 1) k = kAlmostOne;  // coincident ends of equal sheets: K(1) is infinite
  const Extended cc = 2.0L * std::sqrt(r1 * r2) / (r1 + r2);
  Extended K;
  Extended E;
  Extended T;
  if (cc == 1) {
    const EllipticResult ke = EllipticKE(k);
    K = ke.EllK;
    E = ke.EllE;
    T = z * D * (K - E);
  } else {
    const EllipticResult ke = EllipticKEPi(k, cc);
    K = ke.EllK;
    E = ke.EllE;
    T = (Sqr(r1 - r2) / D * (K - ke.EllPi) + (K - E) * D) * z;
  }
  return (K - (2.0L / Sqr(k) - 1.0L) * (K - E)) * (4.0L / 3.0L) * r1 * r2 * D + z * T;
}

Extended SnowSheetMutual(const CoilPair& c) {
  const Extended d = c.b2 - c.b1;
  Extended S = SnowSheetTerm(c, d + c.h2);
  S = S + SnowSheetTerm(c, d - c.h1);
  S = S - SnowSheetTerm(c, d + c.h2 - c.h1);
  S = S - SnowSheetTerm(c, d);
  return S * kHalfMu0d * c.N1 * c.N2 / c.h1 / c.h2;
}

// ---------------------------------------------------------------- two circles

Extended MaxwellMutualOneTurn(const CoilPair& c) {
  const Extended g = std::sqrt(c.rmin1 * c.rmin2);
  const Extended k = 2.0L * g / std::sqrt(Sqr(c.b1 - c.b2) + Sqr(c.rmin1 + c.rmin2));
  const EllipticResult ke = EllipticKE(k);
  return kMu0d * g * c.N1 * ((2.0L / k - k) * ke.EllK - (2.0L / k) * ke.EllE);
}

// A flat coil of at most one turn against the circle rmin2 (Snow): the one-turn value
// scaled by N1^2, less a correction V that vanishes at N1 = 1.
Extended SnowMutual61(const CoilPair& c) {
  const Extended g = std::sqrt(c.rmin1 * c.rmin2);
  const Extended k = 2.0L * g / std::sqrt(Sqr(c.b1 - c.b2) + Sqr(c.rmin1 + c.rmin2));
  const EllipticResult ke = EllipticKE(k);
  const Extended M0 = kMu0d * g * ((2.0L / k - k) * ke.EllK - (2.0L / k) * ke.EllE);
  const Extended theta = kPid * c.N1;
  const Extended kp = std::sqrt(1.0L - Sqr(k));
  const Extended cosT = std::cos(theta);
  const Extended sinT = std::sin(theta);
  const Extended w = std::sqrt(1.0L - Sqr(k * cosT));
  const Extended V = ((w - kp) / k - Sqr(kp / k) * (ArcSin(k * cosT) * cosT - ArcSin(k)) -
                      std::log((w + k * sinT) / kp) * sinT / Sqr(k)) *
                     kPiE7 * g;
  return Sqr(c.N1) * M0 - V;
}

}  // namespace quor::transformer
