// The probe of the partial toroid window: potential and field of the ring charges at
// a clicked point, and the exact values of the complete toroid there.
#include <cmath>
#include <string>

#include "electrostatics/partial_toroid.h"
#include "electrostatics/ring_kernel.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/format.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

// The ring whose centre line passes through (r, z) (modulus 1: its potential and
// field are infinite there), or 0.
int RingThrough(const PartialState& s, Extended r, Extended z) {
  for (std::size_t i = 0; i < s.q.size(); ++i)
    if (RingGeometryAt(s.rho[i], s.z[i], r, z).k >= 1) return static_cast<int>(i) + 1;
  return 0;
}

// Adds the probe's values under "probe<number>_<name>".
struct ProbeValues {
  Result* values;
  std::string prefix;
  void Add(const char* name, const char* unit, Extended v) const {
    if (values) values->Add(prefix + name, unit, v);
  }
};

void ReportRingSums(const PartialState& s, Extended r, Extended z, ReportSink& report,
                    const ProbeValues& out) {
  const std::string where = "r: " + FixedStr(r, 5, 3) + " z: " + FixedStr(z, 5, 3);
  out.Add("r", "m", r);
  out.Add("z", "m", z);
  if (const int ring = RingThrough(s, r, z)) {
    ReportLine(report, where + " lies on ring " + IntStr(ring) +
                           ": the ring sums are infinite there");
    out.Add("ring", "1", ring);
    return;
  }
  Extended V = 0, Er = 0, Ez = 0;
  for (std::size_t i = 0; i < s.q.size(); ++i) {
    V += s.q[i] * RingPotentialCoefficient(s.rho[i], s.z[i], r, z, s.eps0);
    if (r == 0) {
      // On the axis the radial field vanishes by symmetry (the radial term alone
      // would divide by the modulus 0).
      Ez += RingFieldAxialTerm(s.rho[i], s.z[i], s.q[i], r, z, s.eps0);
    } else {
      const RingFieldTerms t = RingField(s.rho[i], s.z[i], s.q[i], r, z, s.eps0);
      Er -= t.erTerm;
      Ez += t.ezTerm;
    }
  }
  if (r < 0) Er = -Er;
  const Extended E = std::sqrt(Er * Er + Ez * Ez);
  ReportLine(report, where + " V: " + FixedStr(V, 8, 6) + " Er: " + FixedStr(Er, 8, 6) +
                         " Ez: " + FixedStr(Ez, 8, 6) + " |E|: " + FixedStr(E, 8, 6));
  out.Add("V", "1", V);
  out.Add("Er", "1/m", Er);
  out.Add("Ez", "1/m", Ez);
  out.Add("E", "1/m", E);
}

}  // namespace

void ProbePartial(const PartialState& s, int X, int Y, ReportSink& report, Result* values,
                  int number) {
  if (!s.PartialSolved) return;
  ProbePartialAt(s, (X - s.OX) / s.SX, (Y - s.OY) / s.SY, report, values, number);
}

void ProbePartialAt(const PartialState& s, Extended r, Extended z, ReportSink& plainReport,
                    Result* values, int number) {
  if (!s.PartialSolved) return;
  FaultCheckingReport report(plainReport);
  ClearArithmeticFaults();
  const ProbeValues out{values, "probe" + std::to_string(number) + "_"};
  ReportRingSums(s, r, z, report, out);

  // A horn torus (D = 2 d) has no focal circle and a spindle torus none at all: the
  // toroidal coordinates need a hole.
  if (s.D <= 2 * s.d || s.d <= 0) {
    ReportLine(report, "This is not a toroid.");
    return;
  }
  ReportLine(report, "For complete toroid, valid at the outer side:");
  ExactToroidPoint e;
  {
    // Inside the tube the series may overflow: that ends in a line of its own below,
    // not in a fault.
    const FaultFlagsKeeper keepFlags;
    e = ExactToroidAt(s.D, s.d, r, z);
  }
  if (!e.defined) {
    ReportLine(report, r == 0 ? "Exact values are not defined on the axis"
                              : "Exact values are not defined on the focal circle");
    return;
  }
  if (!(std::isfinite(e.V) && std::isfinite(e.Eeta) && std::isfinite(e.Es))) {
    ReportLine(report, "The exact series overflow at this point (inside the tube)");
    return;
  }
  if (e.terms > 1000)
    ReportLine(report, "Convergence not reached after " + IntStr(e.terms) + " terms");
  ReportLine(report, "Exact potential: " + FixedStr(e.V, 15, 10) + " (" + IntStr(e.terms) + " terms)");
  ReportLine(report, "Exact electric field (surface or horizontal axis): " + FixedStr(e.Eeta, 15, 10) +
                         " V/m/V");
  ReportLine(report, "Exact electric field (surface only): " + FixedStr(e.Es, 15, 10) + " V/m/V");
  out.Add("V_exact", "1", e.V);
  out.Add("terms", "1", e.terms);
  out.Add("Eeta_exact", "1/m", e.Eeta);
  out.Add("Es_exact", "1/m", e.Es);
}

Result PartialCommand(const FieldValues& fields, CommandEnv& env) {
  PartialState s;
  Result result = CalculatePartial(fields, s, env);
  int number = 0;
  for (const ProbePoint& p : env.probes) {
    if (p.inMetres)
      ProbePartialAt(s, p.r, p.z, env.Report(), &result, ++number);
    else
      ProbePartial(s, p.x, p.y, env.Report(), &result, ++number);
  }
  return result;
}

}  // namespace quor::electrostatics
