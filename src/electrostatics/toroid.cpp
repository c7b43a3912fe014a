#include "electrostatics/toroid.h"

#include <cmath>
#include <string>

#include "numerics/elliptic.h"
#include "numerics/format.h"

namespace quor::electrostatics {
using namespace quor::numerics;

Extended ToroidalModulus(Extended q) { return std::sqrt(2.0L / (q + 1.0L)); }

HalfDegreePair ToroidalPStart(Extended k) {
  const Extended kp = std::sqrt(1.0L - k * k);
  const EllipticResult c = EllipticKE(kp);
  HalfDegreePair p;
  p.lower = kToroidalTwoOverPi * k * c.EllK;
  p.upper = kToroidalTwoOverPi * (2.0L * c.EllE / k - k * c.EllK);
  return p;
}

HalfDegreePair ToroidalQStart(Extended k) {
  const EllipticResult c = EllipticKE(k);
  HalfDegreePair q;
  q.lower = k * c.EllK;
  q.upper = 2.0L * (c.EllK - c.EllE) / k - k * c.EllK;
  return q;
}

Extended ToroidalRecurrence(Extended n, Extended q, Extended lower, Extended upper) {
  return (1.0L / (n + 0.5L)) * (2.0L * n * q * upper - (n - 0.5L) * lower);
}

void AdvanceToroidal(HalfDegreePair& f, Extended n, Extended q) {
  const Extended next = ToroidalRecurrence(n, q, f.lower, f.upper);
  f.lower = f.upper;
  f.upper = next;
}

namespace {

// A torus whose tube reaches the axis (R <= a) has no toroidal coordinates of its own:
// the surface would be cosh(eta0) <= 1. The margin keeps q visibly above 1: there the
// series take some 10^6 steps, and closer to 1 ever more (10^7 at q - 1 = 3e-13).
// Below it the horn torus's value, which they approach, stands in for them.
constexpr Extended kHoleMargin = 1.00000000001L;

struct TubeGeometry {
  Extended a = 0;  // tube (circle) radius
  Extended R = 0;  // radius of the circle through the tube centres
  bool hasHole = false;
  bool nearHorn = false;  // a hole, but within the margin
};

TubeGeometry Tube(Extended D, Extended d) {
  TubeGeometry g;
  g.a = d / 2.0L;
  g.R = D / 2.0L - g.a;
  g.hasHole = g.R > kHoleMargin * g.a && g.a > 0 && g.R > 0;
  g.nearHorn = !g.hasHole && g.a > 0 && g.R > g.a;
  return g;
}

constexpr const char* kHornLimitText = "horn torus limit (a hole too small for the series)";

// A series that the step limit stops before its sum is in reach, next to the horn
// torus: its terms fall by only e^(-2 eta) a step, and the part left out exceeds the
// difference from the horn torus's value, 0.41 (q - 1) at most, by far (at q - 1 = 7e-11
// the capacitance lacks 1e-7 of itself, the field 1e-3). The limit stands in for it up
// to this q - 1, where it is right to 4e-10; the series end within their steps from
// q - 1 = 3e-10 up.
constexpr Extended kHornRange = 1e-9L;

Extended HornCapacitance(const TubeGeometry& g, Extended e0) {
  return g.a * (e0 * 16.0L) * kHornCapacitanceIntegral;
}
// 2/(pi d) times the integral.
Extended HornMaxField(const TubeGeometry& g) { return kHornFieldIntegral / (kPi * g.a); }

// sqrt(2a/(R + a)) = sqrt(2/(q + 1)), formed from the tube.
Extended TubeModulus(const TubeGeometry& g) { return std::sqrt(2.0L * g.a / (g.R + g.a)); }

std::string Half(Extended n) { return FixedStr(n + 0.5L, 3, 1); }

}  // namespace

ToroidSeries ExactToroidCapacitanceSeries(Extended D, Extended d, Extended e0,
                                          const ToroidSwitches& switches, ReportSink& report) {
  const TubeGeometry g = Tube(D, d);
  const bool details = switches.CBdetails;
  ToroidSeries out;
  if (details) {
    ReportLine(report, "e0: " + FixedStr(e0, 30, -1));
    ReportLine(report, "Circle radius: " + FixedStr(g.a, 15, 10) + " m");
    ReportLine(report, "Center radius: " + FixedStr(g.R, 15, 10) + " m");
    out.details.a = g.a;
    out.details.R = g.R;
  }
  if (g.nearHorn) {
    out.hornLimit = true;
    out.value = HornCapacitance(g, e0);
    if (!switches.CBtabela) ReportLine(report, std::string("Capacitance: ") + kHornLimitText);
  }
  if (!g.hasHole) return out;
  out.hasHole = true;

  const Extended q = g.R / g.a;
  const Extended k = TubeModulus(g);
  HalfDegreePair Q = ToroidalQStart(k);
  HalfDegreePair P = ToroidalPStart(k);
  if (details) {
    ReportLine(report, "Capacitance calculation:");
    ReportLine(report, "Argument for Legendre functions: " + FixedStr(q, 15, 10));
    ReportLine(report, "P-0.5: " + FixedStr(P.lower, 15, 10) + " Q-0.5: " + FixedStr(Q.lower, 15, 10));
    ReportLine(report, "P+0.5: " + FixedStr(P.upper, 15, 10) + " Q+0.5: " + FixedStr(Q.upper, 15, 10));
    out.details.q = q;
    out.details.P = {P.lower, P.upper};
    out.details.Q = {Q.lower, Q.upper};
  }

  // Half the sum of eps_n Q/P: the n = 0 term counts once, the others twice.
  Extended S = Q.lower / (2.0L * P.lower) + Q.upper / P.upper;
  const Extended focal = std::sqrt(g.R * g.R - g.a * g.a);
  if (details) {
    ReportLine(report, "Using the first terms: C=" + FixedStr(focal * (16e12L * e0) * S, 25, 17) +
                           " pF");
    out.details.firstTerms = focal * (16.0L * e0) * S;
  }

  std::int32_t n = 0;
  Extended r = 0;
  bool failure = false;
  do {
    ++n;
    AdvanceToroidal(P, n, q);
    AdvanceToroidal(Q, n, q);
    const Extended t = Q.upper / P.upper;
    failure = Q.upper < 0;
    if (details && n < 10) {
      ReportLine(report, "P+" + Half(n) + ": " + FixedStr(P.upper, 15, 10) + " Q+" + Half(n) +
                             ": " + FixedStr(Q.upper, 15, 10));
      out.details.P.push_back(P.upper);
      out.details.Q.push_back(Q.upper);
    }
    S = S + t;  // the term of a failing step counts too
    r = t / S;
  } while (std::fabs(r) >= kToroidSeriesTolerance && n <= kToroidMaxSteps - 1 && !failure);

  if (failure) ReportLine(report, "Failure in the calculation of Qn+1/2 for n=" + IntStr(n));
  out.steps = n;
  out.lastRelativeError = r;
  out.failed = failure;
  if (!failure && std::fabs(r) >= kToroidSeriesTolerance && q - 1.0L <= kHornRange) {
    out.hornLimit = true;
    out.value = HornCapacitance(g, e0);
    if (!switches.CBtabela) ReportLine(report, std::string("Capacitance: ") + kHornLimitText);
    return out;
  }
  if (!switches.CBtabela)
    ReportLine(report, "Capacitance: Used " + FixedStr(n + 2, 3, 0) +
                           " terms of the series. Last relative error: " + FixedStr(r, 10, -1));
  out.value = focal * (e0 * 16.0L) * S;
  return out;
}

Extended ExactToroidCapacitance(Extended D, Extended d, Extended e0,
                                const ToroidSwitches& switches, ReportSink& report) {
  return ExactToroidCapacitanceSeries(D, d, e0, switches, report).value;
}

ToroidSeries ExactToroidMaxFieldSeries(Extended D, Extended d, const ToroidSwitches& switches,
                                       ReportSink& report) {
  const TubeGeometry g = Tube(D, d);
  ToroidSeries out;
  if (g.nearHorn) {
    out.hornLimit = true;
    out.value = HornMaxField(g);
    if (!switches.CBtabela) ReportLine(report, std::string("Electric field: ") + kHornLimitText);
  }
  if (!g.hasHole) return out;
  out.hasHole = true;

  const bool details = switches.CBdetails;
  const Extended q = g.R / g.a;
  HalfDegreePair P = ToroidalPStart(TubeModulus(g));
  // The surface field is 2 sqrt(2) (q - cos theta)^(3/2)/(pi d (q^2 - 1)) times the
  // series in cos(n theta); at the outer equator, theta = 0, the factor is this.
  const Extended f = 2.0L * std::sqrt(2.0L) / kPi / d * std::sqrt(q - 1.0L) / (q + 1.0L);

  Extended S = 1.0L / P.lower;
  if (details) {
    ReportLine(report, "Maximum electric field calculation (better formula):");
    ReportLine(report, "Argument for Legendre functions: " + FixedStr(q, 15, 10));
    ReportLine(report, "P-0.5: " + FixedStr(P.lower, 6, 4));
    ReportLine(report, "P+0.5: " + FixedStr(P.upper, 6, 4) + " Emax: " + FixedStr(S, 8, 6));
    out.details.q = q;
    out.details.P = {P.lower, P.upper};
    out.details.sums = {S};
  }

  Extended n = 0;
  Extended r = 0;
  do {
    n = n + 1.0L;
    AdvanceToroidal(P, n, q);
    const Extended t = 2.0L / P.lower;  // 2/P(n - 1/2)
    S = S + t;
    r = t / S;
    if (details && n < 20) {
      ReportLine(report, "P+" + Half(n) + ": " + FixedStr(P.upper, 6, 4) + " Emax: " +
                             FixedStr(S, 8, 6) + "+/-" + FixedStr(r, 6, -1));
      out.details.P.push_back(P.upper);
      out.details.sums.push_back(S);
      out.details.errors.push_back(r);
    }
  } while (!(std::fabs(r) < kToroidSeriesTolerance || n > kToroidMaxSteps - 1));

  out.steps = static_cast<std::int32_t>(n);
  out.lastRelativeError = r;
  if (std::fabs(r) >= kToroidSeriesTolerance && q - 1.0L <= kHornRange) {
    out.hornLimit = true;
    out.value = HornMaxField(g);
    if (!switches.CBtabela)
      ReportLine(report, std::string("Electric field: ") + kHornLimitText);
    return out;
  }
  if (!switches.CBtabela)
    ReportLine(report, "Electric field: Used " + FixedStr(n + 1.0L, 3, 0) +
                           " terms of the series. Last relative error: " + FixedStr(r, 10, -1));
  out.value = f * S;
  return out;
}

Extended ExactToroidMaxField(Extended D, Extended d, const ToroidSwitches& switches,
                             ReportSink& report) {
  return ExactToroidMaxFieldSeries(D, d, switches, report).value;
}

ToroidStepBounds ToroidSeriesStepBounds(Extended D, Extended d) {
  const TubeGeometry g = Tube(D, d);
  ToroidStepBounds out;
  if (!g.hasHole) return out;
  const Extended eta = std::acosh(g.R / g.a);
  const Extended digits = -std::log(kToroidSeriesTolerance);  // ln(1/tol), about 32.2
  // A step count beyond the limit, or a q the bound cannot judge (not a number), is
  // the limit: the series never run longer.
  auto limited = [](Extended steps) {
    return steps < static_cast<Extended>(kToroidMaxSteps)
               ? static_cast<std::int32_t>(std::ceil(steps))
               : kToroidMaxSteps;
  };
  if (!(eta > 0)) {
    out.capacitance = out.field = kToroidMaxSteps;
    return out;
  }
  // ln(2 eta) and ln(eta) count only where they are negative.
  const Extended shorterC = 2.0L * eta < 1.0L ? std::log(2.0L * eta) : 0.0L;
  const Extended shorterE = eta < 1.0L ? std::log(eta) : 0.0L;
  out.capacitance = limited((digits + 1.5L + shorterC) / (2.0L * eta) + 3.0L);
  out.field = limited((digits + 4.0L + shorterE) / eta + 4.0L);
  return out;
}

Extended ThinToroidCapacitance(Extended D, Extended d, Extended e0) {
  const Extended a = d / 2.0L;
  const Extended R = D / 2.0L - a;
  const Extended L = std::sqrt(a * a + (2.0L * R) * (2.0L * R));
  const Extended k = 2.0L * R / L;
  return kPi * kPi * 2.0L * e0 * L / EllipticKE(k).EllK;
}

Extended ApproxToroidCapacitance(Extended D, Extended d) {
  if (d / D < 0.25L) return 1.8e-10L * (D - d) / std::log(8.0L * (D - d) / d);
  return (0.37L * D + 0.23L * d) * 1e-10L;
}

}  // namespace quor::electrostatics
