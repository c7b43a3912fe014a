#include "electrostatics/spheres.h"

#include <cmath>
#include <string>

#include "electrostatics/ring_kernel.h"
#include "numerics/format.h"
#include "numerics/input_rounding.h"
#include "numerics/number_reading.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

// 4 pi: four times the stored pi, itself the nearest Extended to 4 pi.
constexpr Extended kFourPi = 4.0L * kPi;

Extended Sqr(Extended x) { return x * x; }

std::string PicoFarads(Extended C) { return FixedStr(C / 1e-12L, 15, 10); }

}  // namespace

const std::vector<FieldDef>& SpheresFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"Elarger", "Diameter of the larger sphere (m)", "0.03", "2 ra", false},
      {"Esmaller", "Diameter of the smaller sphere (m)", "0.03", "2 rb", false},
      {"Edistance", "Distance between surfaces (m)", "0.03",
       "Gap between the surfaces along the line of centres", false},
      {"Ev2", "Potential of the larger sphere (V)", "-1", "V2", false},
      {"Ev1", "Potential of the smaller sphere (V)", "1", "V1", false},
  };
  return defs;
}

// In bispherical coordinates each sphere is a surface eta = constant: alpha for the
// smaller, cosh alpha = (d^2 + rb^2 - ra^2)/(2 d rb), beta for the larger, and the
// limiting points stand Delta/(2 d) from the plane eta = 0. The images of one sphere's
// charge in the other sum, for two separate spheres, to
//   -k12 = 4 pi eps0 (Delta/d) sum_n 1/(exp((2n + 1)(alpha + beta)) - 1),
// written below with e = exp(-(n + 1/2) gamma), gamma = 2 (alpha + beta). For the
// smaller sphere inside the larger one both surfaces lie on the same side of that
// plane and the terms become exp(-(2n + 1) alpha)/(1 - exp(-(2n + 1)(alpha - beta))).
SphereMutualResult SphereMutualCapacitanceValue(Extended d, Extended ra, Extended rb) {
  const Extended eps0 = Eps0();
  SphereMutualResult result;
  // The stop rule of both series: the count first, then the relative size of the term.
  auto done = [](std::int32_t count, Extended term, Extended S) {
    return count >= kSphereSeriesLimit || std::fabs(term / S) < kSphereSeriesTolerance;
  };

  // The centre distance is the gap plus both radii, each a decimal input: spheres
  // that touch, or sit one in the other with a common centre, are placed so within
  // the rounding of those sums.
  if (GreaterBeyondRounding(d, ra + rb)) {
    // A gap below the resolution of the numbers leaves no positive Delta or gamma:
    // such spheres touch, and are classified so below.
    const Extended delta2 = (d * d - Sqr(rb - ra)) * (d * d - Sqr(rb + ra));
    if (delta2 > 0) {
      const Extended delta = std::sqrt(delta2);
      const Extended alpha = std::log((d * d + rb * rb - ra * ra + delta) / (2.0L * rb * d));
      const Extended beta = std::log((ra * ra + d * d - rb * rb + delta) / (2.0L * ra * d));
      const Extended gamma = 2.0L * (alpha + beta);
      if (gamma > 0) {
        Extended S = 0;
        for (std::int32_t n = 0;; ++n) {
          const Extended e = std::exp(-(static_cast<Extended>(n) + 0.5L) * gamma);
          const Extended term = e / (1.0L - e);
          S = S + term;
          result.terms = n + 1;
          if (done(result.terms, term, S)) break;
        }
        result.placement = SpherePlacement::Adjacent;
        result.C = (delta / d) * S * 4.0L * kPi * eps0;
        return result;
      }
    }
  } else if (GreaterBeyondRounding(d, 0, ra) && LessBeyondRounding(d, ra - rb, ra)) {
    const Extended delta2 = (Sqr(ra - rb) - d * d) * (Sqr(ra + rb) - d * d);
    if (delta2 > 0) {
      const Extended delta = std::sqrt(delta2);
      const Extended alpha = std::log((ra * ra - d * d - rb * rb + delta) / (2.0L * rb * d));
      const Extended beta = std::log((ra * ra + d * d - rb * rb + delta) / (2.0L * ra * d));
      if (alpha > 0 && alpha - beta > 0) {
        Extended S = 0;
        for (std::int32_t n = 0;; ++n) {
          const Extended m = 2.0L * static_cast<Extended>(n) + 1.0L;
          const Extended term = std::exp(-m * alpha) / (1.0L - std::exp(-m * (alpha - beta)));
          S = S + term;
          result.terms = n + 1;
          if (done(result.terms, term, S)) break;
        }
        result.placement = SpherePlacement::Nested;
        result.C = (delta / d) * S * 4.0L * kPi * eps0;
        return result;
      }
    }
  } else if (EqualWithinRounding(d, 0, ra) && ra != rb) {
    // The spherical capacitor.
    result.placement = SpherePlacement::Concentric;
    result.C = kFourPi * eps0 * rb * ra / (ra - rb);
    return result;
  }
  // Touching (inside or outside), cutting each other, or one sphere twice: one
  // conductor, no mutual capacitance to speak of.
  result.placement = SpherePlacement::Overlapping;
  result.C = 0;
  result.terms = 0;
  return result;
}

SphereMutualResult SphereMutualCapacitance(Extended d, Extended ra, Extended rb,
                                           ReportSink& report) {
  const SphereMutualResult m = SphereMutualCapacitanceValue(d, ra, rb);
  switch (m.placement) {
    case SpherePlacement::Adjacent: ReportLine(report, "Adjacent spheres:"); break;
    case SpherePlacement::Nested: ReportLine(report, "One sphere is inside the other:"); break;
    case SpherePlacement::Overlapping: ReportLine(report, "The spheres overlap:"); break;
    case SpherePlacement::Concentric: ReportLine(report, "Concentrical spheres:"); break;
  }
  ReportLine(report, "Capacitance (-k12): " + PicoFarads(m.C) + " pF");
  if (m.terms > 0) ReportLine(report, IntStr(m.terms) + " terms of the series used");
  if (m.terms >= kSphereSeriesLimit) ReportLine(report, "Convergence not reached");
  return m;
}

// A. Russell's series for the surface field of the smaller sphere on the line of
// centres, facing the other sphere: the images of each sphere's charge in the other
// form two geometric progressions in mu, summed term by term. Both spheres must stand
// apart (d > ra + rb), which keeps 0 < mu < 1 and 0 < p < 1.
SphereFieldResult RussellMaximumField(Extended d, Extended ra, Extended rb, Extended V1,
                                      Extended V2) {
  const Extended d2 = d * d, ra2 = ra * ra, rb2 = rb * rb;
  // sqrt((d^2 - (ra + rb)^2)(d^2 - (ra - rb)^2)), expanded.
  const Extended delta =
      std::sqrt(d2 * d2 + ra2 * ra2 + rb2 * rb2 - 2.0L * rb2 * (d2 + ra2) - 2.0L * ra2 * d2);
  const Extended mu = -(ra2 + rb2 + delta - d2) / (2.0L * ra * rb);
  const Extended p = (ra * mu + rb) / d;
  const Extended q = (rb * mu + ra) / d;

  Extended t = 1, S = 0;
  std::int32_t n = 0;
  for (;;) {
    const Extended t2 = t * t;
    const Extended term = V1 * t * (1.0L - p * t2) / Sqr(1.0L + p * t2) -
                          V2 * q * t * (1.0L - mu * q * t2) / Sqr(1.0L + mu * q * t2);
    t = t * mu;
    n = n + 1;
    S = S + term;
    // Both spheres at 0 V sum nothing but zeros: stop there rather than divide 0 by 0.
    if (n >= kSphereSeriesLimit || term == 0) break;
    if (S != 0 && std::fabs(term / S) < kSphereSeriesTolerance) break;
  }
  return {Sqr(1.0L + p) * S / ((1.0L - p) * rb), n};
}

// Peek, Dielectric Phenomena in High-Voltage Engineering: the field at the sparking
// points of two equal spheres, with x the gap over the radius (plus one for the
// symmetric case), and Kirchhoff's expansion in powers of that ratio.
Extended DeanPeekField(Extended s, Extended r, Extended V1, Extended V2) {
  const Extended x = s / r + 1.0L;
  return (std::sqrt(x * x + 8.0L) + x) * (V1 - V2) / (4.0L * s);
}

Extended PeekField(Extended s, Extended r, Extended V1, Extended V2) {
  const Extended x = s / r;
  return (std::sqrt(x * x + 4.0L) + x) * (V1 - V2) / (2.0L * s);
}

Extended KirchhoffField(Extended s, Extended r, Extended V1, Extended V2) {
  return (1.0L + s / (3.0L * r) + s * s / (45.0L * (r * r)) +
          73.0L * (s * s * s) / (53760.0L * (r * r * r))) *
         (V1 - V2) / s;
}

// Kirchhoff's coefficients of two spheres: with h the half distance between the
// limiting points of the bispherical system, the image ratios u = exp(-alpha)
// (smaller sphere), v = exp(-beta) (larger) and w = u v (one round trip) give
//   k11 = 8 pi eps0 h sum u w^n/(1 - u^2 w^2n),  k22 the same with v,
//   k12 = -8 pi eps0 h sum_{n>=1} w^n/(1 - w^2n).
// Since sinh alpha = h/rb, u = sqrt((h/rb)^2 + 1) - h/rb; written as the reciprocal
// of the sum it keeps its digits for spheres far apart, where the difference (and
// w = (d u - rb)/ra after it) would lose (d/r)^2 ulps: at a thousand radii apart the
// ninth digit of k22 and k12, at a million radii no digit at all.
SphereCapacitanceMatrix SphereCapacitances(Extended d, Extended ra, Extended rb) {
  const Extended eps0 = Eps0();
  const Extended h =
      std::sqrt((d + rb + ra) * (d - rb - ra) * (d + rb - ra) * (d - rb + ra)) / (2.0L * d);
  const Extended hr = h / rb;
  const Extended hR = h / ra;
  const Extended u = 1.0L / (std::sqrt(hr * hr + 1.0L) + hr);
  const Extended v = 1.0L / (std::sqrt(hR * hR + 1.0L) + hR);
  const Extended w = u * v;

  // One series: next(t) gives this term's x and advances t; terms x/(1 - x^2).
  struct Sum {
    Extended value = 0;
    std::int32_t n = 0;
  };
  auto series = [](auto next) {
    Sum s;
    Extended t = 1;
    for (;;) {
      const Extended x = next(t);
      const Extended term = x / (1.0L - x * x);
      s.value = s.value + term;
      s.n = s.n + 1;
      if (term / s.value < kSphereSeriesTolerance || s.n >= kSphereSeriesLimit) break;
    }
    return s;
  };
  const Sum s11 = series([&](Extended& t) {
    const Extended x = t * u;
    t = t * w;
    return x;
  });
  const Sum s22 = series([&](Extended& t) {
    const Extended x = t * v;
    t = t * w;
    return x;
  });
  const Sum s12 = series([&](Extended& t) {
    const Extended x = t * w;
    t = x;
    return x;
  });

  SphereCapacitanceMatrix k;
  k.k11 = kFourPi * eps0 * 2.0L * h * s11.value;
  k.k22 = kFourPi * eps0 * 2.0L * h * s22.value;
  k.k12 = -kFourPi * eps0 * 2.0L * h * s12.value;
  k.n11 = s11.n;
  k.n22 = s22.n;
  k.n12 = s12.n;
  return k;
}

namespace {

// A field line: the field and its breakdown voltage, returned as key and "Vb_" key.
void WriteField(ReportSink& report, const std::string& label, Extended E, Extended dV,
                Extended Emax, Result& values, const std::string& key) {
  ReportLine(report, label + FixedStr(E, 15, 10) + " V/m; Vbreakdown: " +
                         FixedStr(dV * Emax / E, 6, 2) + " kV");
  values.Add("E_" + key, "V/m", E);
  values.Add("Vb_" + key, "V", dV * Emax / E * 1000);
}

// A capacitance line: "label ... pF", returned in farads.
void WriteCapacitance(ReportSink& report, const std::string& label, Extended C, Result& values,
                      const char* key) {
  ReportLine(report, label + PicoFarads(C) + " pF");
  values.Add(key, "F", C);
}

void WriteMatrix(ReportSink& report, Extended d, Extended ra, Extended rb, Result& values) {
  ReportLine(report, "Exact capacitance matrix (Kirchhoff/Russel):");
  const SphereCapacitanceMatrix m = SphereCapacitances(d, ra, rb);
  const Extended k11 = m.k11, k22 = m.k22, k12 = m.k12;
  const Extended det = k11 * k22 - k12 * k12;
  ReportLine(report, "k11(small)=" + PicoFarads(k11) + " pF (" + IntStr(m.n11) +
                         " terms in the series)");
  ReportLine(report, "k22(large)=" + PicoFarads(k22) + " pF (" + IntStr(m.n22) +
                         " terms in the series)");
  ReportLine(report, "k12=k21=" + PicoFarads(k12) + " pF (" + IntStr(m.n12) +
                         " terms in the series)");
  values.AddMatrix("k", "F", 2, 2, {k11, k12, k12, k22});
  values.AddMatrix("k_terms", "1", 2, 2,
                   {Extended(m.n11), Extended(m.n12), Extended(m.n12), Extended(m.n22)});
  WriteCapacitance(report, "Capacitance small sphere - infinity: ", k11 + k12, values,
                   "C_small_infinity");
  WriteCapacitance(report, "Capacitance large sphere - infinity: ", k22 + k12, values,
                   "C_large_infinity");
  WriteCapacitance(report, "Capacitance large sphere - small sphere: ", -k12, values,
                   "C_large_small");
  WriteCapacitance(report, "Cap. between the spheres with opposite charges: ",
                   det / (2.0L * k12 + (k11 + k22)), values, "C_opposite");
  WriteCapacitance(report, "Cap. large sphere - infinity with small sphere floating: ",
                   det / k11, values, "C_large_floating_small");
  WriteCapacitance(report, "Cap. small sphere - infinity with large sphere floating: ",
                   det / k22, values, "C_small_floating_large");
  WriteCapacitance(report, "Cap. of both spheres - infinity: ", 2.0L * k12 + (k11 + k22), values,
                   "C_both");
}

Result Calculate(const FieldValues& fields, Extended Emax, ReportSink& report) {
  Result values;
  ReportLine(report, "");
  const std::vector<FieldDef>& defs = SpheresFieldDefs();
  const Extended ra = ReadNumber(FieldText(fields, defs, "Elarger")) / 2.0L;
  const Extended rb = ReadNumber(FieldText(fields, defs, "Esmaller")) / 2.0L;
  const Extended gap = ReadNumber(FieldText(fields, defs, "Edistance"));
  const Extended V2 = ReadNumber(FieldText(fields, defs, "Ev2"));
  const Extended V1 = ReadNumber(FieldText(fields, defs, "Ev1"));
  const Extended d = gap + rb + ra;

  // A sphere of no size has no image series (its logarithms divide by zero).
  if (!(ra > 0 && rb > 0)) return Refusal(report, "The diameters must be positive");
  if (ra < rb) return Refusal(report, "The smaller sphere is larger than the other");
  const SphereMutualResult mutual = SphereMutualCapacitance(d, ra, rb, report);
  values.Add("C_mutual", "F", mutual.C);
  if (mutual.terms > 0) values.Add("C_mutual_terms", "1", mutual.terms);
  if (mutual.placement != SpherePlacement::Adjacent) return values;

  ReportLine(report, "Maximum electric field and breakdown voltage between two spheres");
  // Russell writes a for the smaller radius and b for the larger.
  ReportLine(report, "ra: " + FixedStr(rb, 6, 4) + "; rb: " + FixedStr(ra, 6, 4) +
                         "; distance: " + FixedStr(d - rb - ra, 6, 4) +
                         "; between centers: " + FixedStr(d, 6, 4));
  values.Add("r_small", "m", rb);
  values.Add("r_large", "m", ra);
  values.Add("gap", "m", d - rb - ra);
  values.Add("d_centres", "m", d);
  const SphereFieldResult russell = RussellMaximumField(d, ra, rb, V1, V2);
  ReportLine(report, "Russel's formula (exact), at the small sphere: " +
                         FixedStr(russell.E, 15, 10) + " V/m (" + IntStr(russell.terms) +
                         " terms)");
  values.Add("E_russell", "V/m", russell.E);
  values.Add("E_russell_terms", "1", russell.terms);
  if (V1 == V2) {
    // No difference of potential, nothing to break down; the approximations only
    // scale V1 - V2.
    ReportLine(report, "Equal potentials: no breakdown voltage between the spheres");
  } else {
    const Extended dV = V1 - V2;
    // The breakdown voltage is meaningful where the field scales with V1 - V2 alone:
    // one sphere earthed, or the two at opposite potentials.
    if (V2 == 0 || V1 == 0 || V1 == -V2) {
      ReportLine(report, "Vbreakdown: " + FixedStr(dV * Emax / russell.E, 6, 2) + " kV");
      values.Add("Vb_russell", "V", dV * Emax / russell.E * 1000);
    }
    const Extended s = d - rb - ra;
    if (ra == rb && V1 == -V2)
      WriteField(report, "Dean-Peek's formula (approx.): ", DeanPeekField(s, rb, V1, V2), dV,
                 Emax, values, "dean_peek");
    if (ra == rb && (V1 == 0 || V2 == 0)) {
      WriteField(report, "Peek's formula (approx.): ", PeekField(s, rb, V1, V2), dV, Emax,
                 values, "peek");
      WriteField(report, "Kirchhoff's formula (approx.): ", KirchhoffField(s, rb, V1, V2), dV,
                 Emax, values, "kirchhoff");
    }
  }
  WriteMatrix(report, d, ra, rb, values);
  return values;
}

}  // namespace

const std::vector<ValueDef>& SpheresValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"C_mutual", "F", "mutual capacitance -k12 by the bispherical images (0 overlapping)"},
      {"C_mutual_terms", "1", "terms of its series (when a series was summed)"},
      {"r_small", "m", "radius of the smaller sphere (Russell's ra)"},
      {"r_large", "m", "radius of the larger sphere (Russell's rb)"},
      {"gap", "m", "distance between the surfaces"},
      {"d_centres", "m", "distance between the centres"},
      {"E_russell", "V/m", "exact field at the smaller sphere (Russell)"},
      {"E_russell_terms", "1", "terms of Russell's series"},
      {"Vb_russell", "V", "breakdown voltage from it (one sphere earthed or opposite potentials)"},
      {"E_dean_peek", "V/m", "Dean-Peek's field (equal spheres, opposite potentials)"},
      {"Vb_dean_peek", "V", "breakdown voltage from it"},
      {"E_peek", "V/m", "Peek's field (equal spheres, one earthed)"},
      {"Vb_peek", "V", "breakdown voltage from it"},
      {"E_kirchhoff", "V/m", "Kirchhoff's field (equal spheres, one earthed)"},
      {"Vb_kirchhoff", "V", "breakdown voltage from it"},
      {"k", "F", "capacitance matrix, 2 x 2: 1 the smaller sphere, 2 the larger"},
      {"k_terms", "1", "terms of the series of each element of k"},
      {"C_small_infinity", "F", "capacitance small sphere - infinity, k11 + k12"},
      {"C_large_infinity", "F", "capacitance large sphere - infinity, k22 + k12"},
      {"C_large_small", "F", "capacitance large sphere - small sphere, -k12"},
      {"C_opposite", "F", "capacitance between the spheres with opposite charges"},
      {"C_large_floating_small", "F", "large sphere - infinity, small sphere floating"},
      {"C_small_floating_large", "F", "small sphere - infinity, large sphere floating"},
      {"C_both", "F", "both spheres together - infinity"},
  };
  return defs;
}

Result SpheresCommand(const FieldValues& fields, CommandEnv& env) {
  return Calculate(fields, env.breakdown.Emax, env.Report());
}

}  // namespace quor::electrostatics
