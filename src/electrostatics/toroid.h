#pragma once
// The isolated toroid (a torus surface in free space) in toroidal coordinates: its
// exact capacitance and maximum surface field by the series of toroidal Legendre
// functions of half-integer degree, and two approximate capacitance formulas.
//
// Toroidal coordinates (eta, theta) with focal radius c: r = c sinh(eta)/(cosh(eta) -
// cos(theta)), z = c sin(theta)/(cosh(eta) - cos(theta)). A torus of tube radius a
// whose tube centres lie on a circle of radius R is the surface cosh(eta0) = q = R/a,
// with c = sqrt(R^2 - a^2). Laplace's equation separates there (Smythe, Static and
// Dynamic Electricity, ch. V, toroidal harmonics) with the Legendre functions
// P_(n-1/2)(q) and Q_(n-1/2)(q).
#include <cstdint>
#include <vector>

#include "numerics/extended.h"
#include "numerics/report.h"

namespace quor::electrostatics {
using namespace quor::numerics;

// ---------------------------------------------------------------------------------
// Toroidal Legendre functions P_(n-1/2)(q), Q_(n-1/2)(q) for q = cosh(eta) > 1.
//
// The two functions of lowest degree are complete elliptic integrals of the modulus
// k = sqrt(2/(q + 1)) = sech(eta/2) and of its complement k' = sqrt(1 - k^2) =
// tanh(eta/2) (Abramowitz & Stegun 8.13):
//   P(-1/2) = (2/pi) k K(k'),         P(1/2) = (2/pi) (2 E(k')/k - k K(k')),
//   Q(-1/2) = k K(k),                 Q(1/2) = 2 (K(k) - E(k))/k - k K(k).
// Higher degrees follow from the three-term recurrence (A&S 8.5.3)
//   F(n + 1/2) = (2n q F(n - 1/2) - (n - 1/2) F(n - 3/2)) / (n + 1/2),
// which both kinds obey. P grows with n like (q + sqrt(q^2 - 1))^n, so the forward
// recurrence is stable for it; Q decays at that rate and the forward recurrence loses
// its digits as n grows: a negative Q (the true Q is positive and decreasing) marks
// where it has broken down.
// ---------------------------------------------------------------------------------

// 2/pi as the stored Extended the toroidal series use.
inline constexpr Extended kToroidalTwoOverPi = 0.636619772367581343076L;

// One function at two consecutive degrees: `lower` = F(nu - 1), `upper` = F(nu). The
// starting pairs hold F(-1/2) and F(1/2).
struct HalfDegreePair {
  Extended lower = 0;
  Extended upper = 0;
};

// The modulus of the starting values at argument q: sqrt(2/(q + 1)). (The toroid
// routines below form it from the tube as sqrt(2a/(R + a)), the same number up to
// rounding.)
Extended ToroidalModulus(Extended q);

// P(-1/2), P(1/2) from one EllipticKE of k' = sqrt(1 - k*k).
HalfDegreePair ToroidalPStart(Extended k);
// Q(-1/2), Q(1/2) from one EllipticKE of k.
HalfDegreePair ToroidalQStart(Extended k);

// F(n + 1/2) from F(n - 3/2) = lower and F(n - 1/2) = upper, computed as
// (1/(n + 1/2)) * (2n q F(n - 1/2) - (n - 1/2) F(n - 3/2)). n >= 1.
Extended ToroidalRecurrence(Extended n, Extended q, Extended lower, Extended upper);

// Step n of the recurrence on a pair holding F(n - 3/2), F(n - 1/2): afterwards it
// holds F(n - 1/2), F(n + 1/2). Starting from the pair of ToroidalPStart or
// ToroidalQStart, steps n = 1, 2, 3, ... in turn.
void AdvanceToroidal(HalfDegreePair& f, Extended n, Extended q);

// ---------------------------------------------------------------------------------
// The toroid of outer diameter D and tube diameter d (metres, in this order).
// ---------------------------------------------------------------------------------

// The window's switches that add or hold back the routines' own Report lines.
struct ToroidSwitches {
  bool CBdetails = false;  // "List details": the intermediate values
  bool CBtabela = false;   // "Save a table": no count-of-terms lines
};

// The intermediate values a series lists with CBdetails (empty otherwise).
struct ToroidDetails {
  Extended a = 0, R = 0;   // tube radius, radius of the circle of the tube's centres
  Extended q = 0;          // R/a, the argument of the Legendre functions
  Extended firstTerms = 0; // the capacitance of the terms n = 0 and 1, farads
  // P(n - 1/2)(q) and (capacitance only) Q(n - 1/2)(q) for n = 0, 1, ... as listed.
  std::vector<Extended> P, Q;
  // Field only: the partial sums of the series as listed, and each step's last term
  // over its sum (from n = 1).
  std::vector<Extended> sums, errors;
};

// The outcome of one series.
struct ToroidSeries {
  Extended value = 0;       // the result; 0 when the toroid has no hole
  bool hasHole = false;     // R > (1 + 1e-11) a, a > 0 and R > 0: the series ran
  // The value is the horn torus's (below): a < R <= (1 + 1e-11) a, a hole too small
  // for the series (which does not run), or a series that the step limit stopped
  // short of its sum with q - 1 <= 1e-9.
  bool hornLimit = false;
  std::int32_t steps = 0;   // recurrence steps n run (at most 1 000 001)
  Extended lastRelativeError = 0;  // last term over the sum
  bool failed = false;      // the Q recurrence broke down (capacitance only)
  ToroidDetails details;
};

// As the hole closes (q = cosh(eta) -> 1) the terms at degree n tend to functions of
// n eta alone (Q(n - 1/2)/P(n - 1/2) to K0(n eta)/I0(n eta), 1/P(n - 1/2) to
// 1/I0(n eta), with I0 and K0 the modified Bessel functions of order 0), and each sum
// times eta to an integral: the capacitance of the horn torus of tube radius a,
// 16 eps0 a times the first integral below (8 pi eps0 a times 0.8706901325, the
// horn torus's share of the sphere of the same outer diameter), and its largest field,
// at the outer equator, 2/(pi d) times the second. The series approach these limits as
// 1 + 0.41 (q - 1) and 1 - 0.28 (q - 1) (computed from the series down to
// q - 1 = 1e-11): below the series' margin the limits are right to 5e-12, and where
// the step limit stops a series short of its sum (q - 1 below 3e-10) to 1.3e-10.
inline constexpr Extended kHornCapacitanceIntegral = 1.36767686196716390588e+0L;  // K0/I0
inline constexpr Extended kHornFieldIntegral = 2.08323327711312795218e+0L;        // 1/I0

// Each series stops when its last term changes the sum by less than this, relative.
inline constexpr Extended kToroidSeriesTolerance = 9.99999999999999999975e-15L;
// And after this many recurrence steps at most.
inline constexpr std::int32_t kToroidMaxSteps = 1000001;

// Capacitance in farads: 8 eps0 c sum_n eps_n Q(n - 1/2)/P(n - 1/2), eps_0 = 1 and
// eps_n = 2 for n >= 1: the potential 1 on the surface eta0 expanded in toroidal
// harmonics, its charge read from the harmonic of the point at infinity. With
// CBdetails the circle and centre radii, the starting values and the first steps are
// reported; a breakdown of the Q recurrence is reported and ends the sum with the
// terms so far; unless CBtabela, a line gives the number of terms and the last
// relative error. A hole within the margin, or one so small that the step limit stops
// the series short of its sum, gives the horn torus's value, and unless CBtabela the
// line "Capacitance: horn torus limit (a hole too small for the series)" instead of
// the count of terms.
ToroidSeries ExactToroidCapacitanceSeries(Extended D, Extended d, Extended e0,
                                          const ToroidSwitches& switches, ReportSink& report);
Extended ExactToroidCapacitance(Extended D, Extended d, Extended e0,
                                const ToroidSwitches& switches, ReportSink& report);

// Largest surface field for 1 V on the toroid, V/m per V: the field at the outer
// equator (theta = 0), 2 sqrt(2)/(pi d) sqrt(q - 1)/(q + 1) sum_n eps_n/P(n - 1/2).
// Same reporting rules as the capacitance ("Electric field: horn torus limit ...").
// Upper bounds of the recurrence steps of the two series above (ToroidSeries::steps)
// for the toroid D x d, found without running them; both 0 without a hole.
//
// With eta = acosh(q) the toroidal coordinate of the surface, P(n - 1/2) grows like
// e^(n eta)/sqrt(2 pi n sinh eta) and Q(n - 1/2) falls like sqrt(pi/(2 n sinh eta))
// e^(-n eta) (Abramowitz & Stegun 8.10.5, 8.10.6 at large degree): the capacitance terms
// fall like pi e^(-2 n eta), the field terms like e^(-n eta) times sqrt(n). A series
// stops when its term is the tolerance of its sum, near n = ln(1/tol)/(2 eta) and
// n = ln(1/tol)/eta. As the hole closes (eta -> 0) the sums themselves grow like 1/eta,
// which ends them sooner by ln(2 eta) and ln(eta) in the numerator. The margins on top
// (measured from q - 1 = 1e-11 to q = 1e7) keep each bound 0 to 10 % above the true
// count plus a few steps; both stop at kToroidMaxSteps as the series do. The cost of a
// table is the sum of these over its cells, known before anything is computed.
struct ToroidStepBounds {
  std::int32_t capacitance = 0;
  std::int32_t field = 0;
};
ToroidStepBounds ToroidSeriesStepBounds(Extended D, Extended d);

ToroidSeries ExactToroidMaxFieldSeries(Extended D, Extended d, const ToroidSwitches& switches,
                                       ReportSink& report);
Extended ExactToroidMaxField(Extended D, Extended d, const ToroidSwitches& switches,
                             ReportSink& report);

// The toroid as a thin ring of wire: 2 pi^2 eps0 L/K(k) with L = sqrt(a^2 + (2R)^2) and
// k = 2R/L (the potential of a charged ring at distance a from its wire, by
// Smythe 5.07); tends to 4 pi^2 eps0 R/ln(8R/a) as a/R -> 0. Farads.
Extended ThinToroidCapacitance(Extended D, Extended d, Extended e0);

// An empirical two-range formula in farads: 1.8e-10 (D - d)/ln(8 (D - d)/d) for
// d/D < 0.25, else (0.37 D + 0.23 d) 1e-10.
Extended ApproxToroidCapacitance(Extended D, Extended d);

}  // namespace quor::electrostatics
