#include "electrostatics/partial_toroid.h"

#include <cmath>

#include "electrostatics/ring_charges.h"
#include "electrostatics/ring_kernel.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "numerics/format.h"
#include "numerics/input_rounding.h"
#include "numerics/number_reading.h"
#include "numerics/screen_mapping.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

constexpr Extended kPico = 1e-12L;
constexpr const char* kTooFewRings = "The number of rings must be at least 1";

std::vector<FieldDef> BuildDefs() {
  return {
      {"Epmajor", "Toroid major diameter", "0.9", "Outer diameter of the toroid (m)"},
      {"Epminor", "Toroid minor diameter", "0.3", "Diameter of the tube (m)"},
      {"Eiangle", "Initial azimutal angle", "0",
       "Where the band begins, degrees around the tube from the outer equator"},
      {"Efangle", "Final azimutal angle", "360", "Where the band ends (degrees)"},
      {"Enrings", "Number of rings", "20", "Rings replacing the band (1 to 200)", false,
       FieldKind::Count},
      {"Efracao", "% of tube radius out of circle radius", "100",
       "100 puts the ring centres on the tube surface"},
      {"Ealfa", "Divisor for maximum radius", "3.141592654",
       "Wire radius = half chord between ring centres / divisor"},
      {"Ea", "A factor", "0", "Wire radius correction: v = rr (B + A rr/radius)"},
      {"Eb", "B factor", "1", "Wire radius correction: v = rr (B + A rr/radius)"},
      {"CBlistar", "List ring capacitances and surface fields", "0", "", true},
      {"CBsalvar", "Save a table", "0", "", true},
  };
}

std::vector<ValueDef> BuildValueDefs() {
  return {
      {"C", "F", "capacitance of the band (the sum of the ring charges at 1 V)"},
      {"E_max", "1/m", "maximum surface field at the rings per volt (V/m per V)"},
      {"E_min", "1/m", "minimum surface field at the rings per volt"},
      {"E_ratio", "1", "minimum field over maximum field"},
      {"Vb", "V", "maximum breakdown voltage for the breakdown field of air"},
      {"ring_angle", "rad", "List: angle of each ring around the tube from the outer equator"},
      {"ring_C", "F", "List: capacitance (charge at 1 V) of each ring"},
      {"ring_E", "1/m", "List: surface field at each ring per volt"},
      {"probeN_r", "m", "probe N (1, 2, ... in the order given): radius of the point"},
      {"probeN_z", "m", "probe N: height of the point"},
      {"probeN_ring", "1", "probe N: the ring whose centre line the point lies on (only then)"},
      {"probeN_V", "1", "probe N: potential of the rings per volt (V per V)"},
      {"probeN_Er", "1/m", "probe N: radial field of the rings per volt"},
      {"probeN_Ez", "1/m", "probe N: axial field of the rings per volt"},
      {"probeN_E", "1/m", "probe N: magnitude of the field per volt"},
      {"probeN_V_exact", "1", "probe N: exact potential of the complete toroid per volt"},
      {"probeN_terms", "1", "probe N: terms of the exact series"},
      {"probeN_Eeta_exact", "1/m", "probe N: exact field, surface or horizontal axis, per volt"},
      {"probeN_Es_exact", "1/m", "probe N: exact field, surface only, per volt"},
  };
}

// The drawing's 40-pixel margins leave the extents Xmax, Zmax of the rings.
Extended DrawnA(const PartialState& s) { return s.RingsDefined ? s.a : s.a0; }

}  // namespace

const std::vector<FieldDef>& PartialFieldDefs() {
  static const std::vector<FieldDef> defs = BuildDefs();
  return defs;
}

const std::vector<ValueDef>& PartialValueDefs() {
  static const std::vector<ValueDef> defs = BuildValueDefs();
  return defs;
}

PartialRing PartialRingAt(const PartialState& s, int i) {
  PartialRing g;
  g.theta = s.theta1 + (i - 1) * s.dtheta;
  g.rho = s.R + s.a * std::cos(g.theta);
  g.z = s.a * std::sin(g.theta);
  // With A = 0 the correction is exactly 0, also for a ring on the axis (where the
  // quotient alone would be 0/0).
  const Extended correction = s.A == 0 ? 0.0L : s.A * s.rr / g.rho;
  g.v = s.rr * (s.B + correction);
  return g;
}

void ReadPartialInputs(const FieldValues& fields, PartialState& s) {
  const auto& defs = PartialFieldDefs();
  auto real = [&](const char* name) { return ReadNumber(FieldText(fields, defs, name)); };
  s.D = real("Epmajor");
  s.d = real("Epminor");
  const Extended degA = real("Eiangle");
  const Extended degB = real("Efangle");
  s.n = ReadInteger(FieldText(fields, defs, "Enrings"));
  s.f = real("Efracao");
  s.alfa = real("Ealfa");
  s.A = real("Ea");
  s.B = real("Eb");
  s.CBlistar = FieldChecked(fields, defs, "CBlistar");
  s.CBsalvar = FieldChecked(fields, defs, "CBsalvar");

  s.a0 = s.d / 2;
  s.R = s.D / 2 - s.a0;
  s.thetaA = degA * kPi / 180;
  s.thetaB = degB * kPi / 180;
  s.RingsDefined = s.n >= 1;
  if (s.RingsDefined) {
    s.dtheta = (degB - degA) / s.n * kPi / 180;
    const Extended half = std::sin(s.dtheta / 2);
    s.amin = s.a0 / (s.alfa * half + 1);
    s.a = (s.f / 100) * (s.a0 - s.amin) + s.amin;
    // No divisor leaves no wire (the calculation refuses it), and no fault in a repaint.
    s.rr = s.alfa != 0 ? std::fabs(half) * s.a / s.alfa : 0;
    s.theta1 = s.thetaA + s.dtheta / 2;
  } else {
    s.dtheta = s.amin = s.a = s.rr = s.theta1 = 0;
  }
  s.PartialSolved = false;
}

int PartialScreenX(const PartialState& s, Extended x) {
  return static_cast<int>(std::llrint(s.SX * x + s.OX));
}

int PartialScreenY(const PartialState& s, Extended z) {
  return static_cast<int>(std::llrint(s.SY * z + s.OY));
}

void DrawPartial(PartialState& s, Canvas& canvas) {
  // Nothing drawn here is a fault of the calculation: degenerate inputs only leave
  // the picture empty.
  const FaultFlagsKeeper keepFlags;
  const int W = canvas.Width(), H = canvas.Height();
  canvas.SetPenColor(kBlack);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetBrushColor(kWhite);
  canvas.Rectangle(0, 0, W, H);

  const Extended a = DrawnA(s);
  const Extended rr = s.RingsDefined ? s.rr : 0.0L;
  const Extended Xmax = s.R + a + rr;
  const Extended Zmax = a + rr;
  s.SX = (W - 80) / (2 * Xmax);
  s.SY = (80 - H) / (2 * Zmax);
  if (std::fabs(s.SX) <= std::fabs(s.SY))
    s.SY = -s.SX;
  else
    s.SX = -s.SY;
  s.OX = W / 2.0L;
  s.OY = H / 2.0L;
  s.ScaleDefined = std::isfinite(s.SX) && std::isfinite(s.SY) && s.SX != 0 &&
                   std::isfinite(Xmax) && std::isfinite(Zmax);
  if (!s.ScaleDefined) return;
  auto X = [&](Extended x) { return PartialScreenX(s, x); };
  auto Y = [&](Extended z) { return PartialScreenY(s, z); };

  canvas.SetPenColor(kGray);
  canvas.SetPenStyle(PenStyle::Dot);
  canvas.MoveTo(X(-Xmax), Y(0));
  canvas.LineTo(X(Xmax), Y(0));
  canvas.MoveTo(X(0), Y(-Zmax));
  canvas.LineTo(X(0), Y(Zmax));

  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetPenColor(kRed);
  DrawArc(canvas, X(s.R - s.a0), Y(s.a0), X(s.R + s.a0), Y(-s.a0), 0, 360);
  DrawArc(canvas, X(-s.R - s.a0), Y(s.a0), X(-s.R + s.a0), Y(-s.a0), 0, 360);

  if (!s.RingsDefined) {
    canvas.TextOut(3, 3, kTooFewRings);
    return;
  }
  if (s.n > kPartialMaxRings) {
    canvas.TextOut(3, 3, "Too many rings");
    return;
  }
  canvas.SetBrushColor(kYellow);
  for (int i = 1; i <= s.n; ++i) {
    const PartialRing g = PartialRingAt(s, i);
    canvas.SetPenColor(0xC0C0C0);  // silver: the ring seen in perspective
    DrawArc(canvas, X(-g.rho), Y(g.z + g.rho / 4), X(g.rho), Y(g.z - g.rho / 4), 0, 180);
    const int radius = static_cast<int>(std::llrint(s.SX * g.v));
    canvas.SetPenColor(kBlue);
    DrawCircle(canvas, X(g.rho), Y(g.z), radius);
    canvas.SetPenColor(kGreen);
    DrawCircle(canvas, X(-g.rho), Y(g.z), radius);
  }
  canvas.SetBrushColor(kWhite);
}

void PaintPartial(const FieldValues& fields, PartialState& s, Canvas& canvas) {
  // A repaint is no command: whatever its inputs, it leaves no fault behind.
  const FaultFlagsKeeper keepFlags;
  ReadPartialInputs(fields, s);
  DrawPartial(s, canvas);
}

Result CalculatePartial(const FieldValues& fields, PartialState& s, CommandEnv& env) {
  LastLineReport report(env.Report());
  NullCanvas blank(kPBpartialWidth, kPBpartialHeight);
  Canvas& canvas = env.canvas ? *env.canvas : blank;
  const Extended eps0 = Eps0();
  ReadPartialInputs(fields, s);
  ReportLine(report, "");
  ReportLine(report, "Partial " + FixedStr(s.D, 4, 2) + "x" + FixedStr(s.d, 4, 2) +
                         " toroid decomposed in " + IntStr(s.n) + " thin rings:");
  DrawPartial(s, canvas);
  if (s.n > kPartialMaxRings) return Refusal(report, "Too many rings");
  if (!s.RingsDefined) return Refusal(report, kTooFewRings);
  // A tube needs a size, and the divisor makes the wire radius of the rings: with
  // none or a negative one the rings have no wire, or a wire turned inside out. Rings
  // that come out on the other side of the axis, or whose wires overlap, are refused
  // with the ring set.
  if (!(s.D > 0 && s.d > 0)) return Refusal(report, "The diameters must be positive");
  if (!(s.alfa > 0)) return Refusal(report, "The divisor for maximum radius must be positive");

  std::vector<ChargedRing> rings;
  for (int i = 1; i <= s.n; ++i) {
    const PartialRing g = PartialRingAt(s, i);
    rings.push_back({g.rho, g.z, g.v});
  }
  const auto charges = RingChargesAtOneVolt(rings, eps0, report);
  if (!charges) return Result::Refused(report.last);

  const std::string fileName = "torus" + IntStr(s.n) + ".tab";
  std::string table;
  if (s.CBlistar)
    ReportLine(report, "Capacitances and surface electric fields at the rings (pF,(V/m)/V)");
  Extended Q = 0, Emaxring = 0, Eminring = 1e30L;
  std::vector<Extended> angles, ringC, ringE;  // the listed lines' values
  for (int i = 1; i <= s.n; ++i) {
    const Extended qi = (*charges)[i - 1];
    const Extended theta = s.theta1 + (i - 1) * s.dtheta;
    const Extended rho = s.R + s.a * std::cos(theta);
    Extended Ei = 0;
    // On the axis within the rounding of the sizes (a band through the axis of a horn
    // torus), not only at an exact zero.
    if (EqualWithinRounding(rho, 0, std::fabs(s.R) + std::fabs(s.a))) {
      ReportLine(report, "Warning: ring of radius zero. Electric field ignored");
    } else {
      // The charge over the area of the band strip 2 pi rho a0 dtheta on the tube,
      // over eps0 (Gauss).
      Ei = qi / (eps0 * 2 * kPi * rho * s.a0 * s.dtheta);
    }
    if (std::fabs(Ei) > Emaxring) Emaxring = std::fabs(Ei);
    if (std::fabs(Ei) < Eminring) Eminring = std::fabs(Ei);
    if (s.CBlistar) {
      ReportLine(report, IntStr(i) + " " + FixedStr(theta * 180 / kPi, 12, 5) + " " +
                             FixedStr(qi / kPico, 15, 10) + " " + FixedStr(Ei, 15, 10));
      angles.push_back(theta);
      ringC.push_back(qi);
      ringE.push_back(Ei);
    }
    if (s.CBsalvar)
      table += FixedStr(theta, 12, 10) + " " + FixedStr(qi / kPico, 15, 10) + " " +
               FixedStr(Ei, 15, 10) + "\r\n";
    Q = Q + qi;
  }
  if (s.CBsalvar) {
    WriteFileAtomically(env.TablePath(fileName), table);
    ReportLine(report, "Ring capacitances and total surface fields saved in file \"" + fileName + "\"");
  }
  ReportLine(report, "Capacitance: " + FixedStr(Q / kPico, 15, 10) + " pF");
  ReportLine(report, "Maximum electric field at the surface: " + FixedStr(Emaxring, 12, 10) + " V/m/V");
  ReportLine(report, "Minimum electric field at the surface: " + FixedStr(Eminring, 12, 10) + " V/m/V");
  ReportLine(report, "Minimum field/maximum field: " + FixedStr(Eminring / Emaxring, 12, 10));
  ReportLine(report, "Maximum breakdown voltage: " +
                         FixedStr(env.breakdown.Emax / Emaxring, 10, 5) + " kV");
  Result result;
  if (s.CBlistar) {
    result.AddList("ring_angle", "rad", std::move(angles));
    result.AddList("ring_C", "F", std::move(ringC));
    result.AddList("ring_E", "1/m", std::move(ringE));
  }
  result.Add("C", "F", Q);
  result.Add("E_max", "1/m", Emaxring);
  result.Add("E_min", "1/m", Eminring);
  result.Add("E_ratio", "1", Eminring / Emaxring);
  result.Add("Vb", "V", env.breakdown.Emax / Emaxring * 1000);
  if (std::fabs(std::fabs(s.thetaA - s.thetaB) - kTwoPi) > 1e-6L)
    ReportLine(report, "Warning: the electric fields are not at a single side in an open object");

  canvas.TextOut(3, 3, "Click to measure potential and electric field");
  s.rho.clear();
  s.z.clear();
  for (const ChargedRing& r : rings) {
    s.rho.push_back(r.rho);
    s.z.push_back(r.z);
  }
  s.q = *charges;
  s.eps0 = eps0;
  s.PartialSolved = true;
  return result;
}

}  // namespace quor::electrostatics
