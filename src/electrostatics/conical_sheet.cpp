#include "electrostatics/conical_sheet.h"

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
      {"Eidiameter", "Inner diameter", "0.3", "Diameter of the lower edge (m)"},
      {"Eodiameter", "Outer diameter", "0.9", "Diameter of the upper edge (m)"},
      {"Eheight", "Height", "0.5", "Height of the upper edge above the lower (m)"},
      {"Ensheet", "Number of rings", "20", "Rings replacing the sheet (1 to 200)", false,
       FieldKind::Count},
      {"Edivisor", "Divisor for maximum radius", "3.141592654",
       "Wire radius = half strip width / divisor"},
      {"CBssheet", "Save a table", "0", "", true},
      {"CBlsheet", "List ring capacitances and total fields", "0", "", true},
  };
}

int Round(Extended v) { return static_cast<int>(std::llrint(v)); }

}  // namespace

const std::vector<FieldDef>& SheetFieldDefs() {
  static const std::vector<FieldDef> defs = BuildDefs();
  return defs;
}

const std::vector<ValueDef>& SheetValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"C", "F", "capacitance of the sheet (the sum of the ring charges at 1 V)"},
      {"E_max", "1/m", "maximum sum of the fields on both faces per volt (V/m per V)"},
      {"E_min", "1/m", "minimum sum of the fields on both faces per volt"},
      {"ring_r", "m", "List: radius of each ring"},
      {"ring_z", "m", "List: height of each ring"},
      {"ring_C", "F", "List: capacitance (charge at 1 V) of each ring"},
      {"ring_E", "1/m", "List: sum of the fields on both faces at each ring per volt"},
  };
  return defs;
}

SheetGeometry ReadSheetInputs(const FieldValues& fields) {
  const auto& defs = SheetFieldDefs();
  auto real = [&](const char* name) { return ReadNumber(FieldText(fields, defs, name)); };
  SheetGeometry g;
  g.Di = real("Eidiameter");
  g.Do = real("Eodiameter");
  g.h = real("Eheight");
  g.n = ReadInteger(FieldText(fields, defs, "Ensheet"));
  g.alfa = real("Edivisor");
  g.CBssheet = FieldChecked(fields, defs, "CBssheet");
  g.CBlsheet = FieldChecked(fields, defs, "CBlsheet");
  g.RingsDefined = g.n >= 1;
  if (g.RingsDefined) {
    g.dr = (g.Do - g.Di) / (2.0L * g.n);
    g.dz = g.h / g.n;
    g.r1 = g.Di / 2 + g.dr / 2;
    g.z1 = g.dz / 2;
    // Half the strip width (the slant length over n) over the divisor: with the
    // divisor pi the wire's perimeter equals the strip width.
    const Extended half = (g.Do - g.Di) / 2;
    // No divisor leaves no wire (the calculation refuses it), and no fault in a repaint.
    g.rr = g.alfa != 0 ? (std::sqrt(g.h * g.h + half * half) / g.n / 2) / g.alfa : 0;
  }
  return g;
}

void DrawSheet(const SheetGeometry& g, Canvas& canvas) {
  // Nothing drawn here is a fault of the calculation: degenerate inputs only leave
  // the picture empty.
  const FaultFlagsKeeper keepFlags;
  const int W = canvas.Width(), H = canvas.Height();
  canvas.SetPenColor(kBlack);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetBrushColor(kWhite);
  canvas.Rectangle(0, 0, W, H);

  const Extended Xmax = g.Do / 2 + g.rr;
  const Extended Zbot = -g.Di / 8;
  const Extended Ztop = g.h + g.Do / 8;
  Extended SX = (W - 40) / (2 * Xmax);
  Extended SY = (40 - H) / (Ztop - Zbot);
  if (std::fabs(SX) <= std::fabs(SY))
    SY = -SX;
  else
    SX = -SY;
  const Extended OX = W / 2.0L;
  const Extended OY = H / 2.0L - SY * (Ztop + Zbot) / 2;
  if (!(std::isfinite(SX) && std::isfinite(SY) && SX != 0 && std::isfinite(OY) &&
        std::isfinite(Xmax)))
    return;
  auto X = [&](Extended x) { return Round(SX * x + OX); };
  auto Y = [&](Extended z) { return Round(SY * z + OY); };

  canvas.SetPenColor(kGray);
  canvas.SetPenStyle(PenStyle::Dot);
  canvas.MoveTo(X(-Xmax), Y(0));
  canvas.LineTo(X(Xmax), Y(0));
  canvas.MoveTo(X(0), Y(Zbot));
  canvas.LineTo(X(0), Y(Ztop));

  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetPenColor(kRed);
  canvas.MoveTo(X(g.Di / 2), Y(0));
  canvas.LineTo(X(g.Do / 2), Y(g.h));
  canvas.MoveTo(X(-g.Di / 2), Y(0));
  canvas.LineTo(X(-g.Do / 2), Y(g.h));
  DrawArc(canvas, X(-g.Di / 2), Y(g.Di / 8), X(g.Di / 2), Y(-g.Di / 8), 0, 360);
  DrawArc(canvas, X(-g.Do / 2), Y(g.h + g.Do / 8), X(g.Do / 2), Y(g.h - g.Do / 8), 0, 360);

  if (!g.RingsDefined) {
    canvas.TextOut(3, 3, kTooFewRings);
    return;
  }
  if (g.n > kSheetMaxRings) {
    canvas.TextOut(3, 3, "Too many rings");
    return;
  }
  canvas.SetBrushColor(kYellow);
  const int radius = Round(SX * g.rr);
  for (int i = 1; i <= g.n; ++i) {
    const Extended rho = g.Rho(i), z = g.Z(i);
    canvas.SetPenColor(0xC0C0C0);  // silver: the ring seen in perspective
    DrawArc(canvas, X(-rho), Y(z + rho / 4), X(rho), Y(z - rho / 4), 0, 180);
    canvas.SetPenColor(kGreen);
    DrawCircle(canvas, X(-rho), Y(z), radius);
    canvas.SetPenColor(kBlue);
    DrawCircle(canvas, X(rho), Y(z), radius);
  }
  canvas.SetBrushColor(kWhite);
}

void PaintSheet(const FieldValues& fields, Canvas& canvas) {
  // A repaint is no command: whatever its inputs, it leaves no fault behind.
  const FaultFlagsKeeper keepFlags;
  DrawSheet(ReadSheetInputs(fields), canvas);
}

Result SheetCommand(const FieldValues& fields, CommandEnv& env) {
  LastLineReport report(env.Report());
  NullCanvas blank(kPBsheetWidth, kPBsheetHeight);
  Canvas& canvas = env.canvas ? *env.canvas : blank;
  const Extended eps0 = Eps0();
  const SheetGeometry g = ReadSheetInputs(fields);
  ReportLine(report, "");
  DrawSheet(g, canvas);
  if (g.n > kSheetMaxRings) return Refusal(report, "Too many rings");
  if (!g.RingsDefined) return Refusal(report, kTooFewRings);
  ReportLine(report, "Thin sheet: id: " + FixedStr(g.Di, 4, 2) + " od: " + FixedStr(g.Do, 4, 2) +
                         " h: " + FixedStr(g.h, 4, 2) + " decomposed in " + IntStr(g.n) +
                         " thin rings:");
  // A negative diameter folds the sheet through the axis, and a ring there has no
  // strip area for its field.
  if (g.Di < 0 || g.Do < 0)
    return Refusal(report, "Invalid structure: the diameters must not be negative");
  // Equal diameters and no height leave a circle, not a sheet: its strips have no
  // width (and the field over their area would divide by zero).
  if (g.Di == g.Do && g.h == 0)
    return Refusal(report,
                   "Invalid structure: the sheet has zero length (equal diameters and height 0)");
  if (!(g.alfa > 0)) return Refusal(report, "The divisor for maximum radius must be positive");
  std::vector<ChargedRing> rings;
  for (int i = 1; i <= g.n; ++i) {
    if (EqualWithinRounding(g.Rho(i), 0, g.Di + g.Do))
      return Refusal(report, "Invalid structure: ring " + IntStr(i) + " has radius zero");
    rings.push_back({g.Rho(i), g.Z(i), g.rr});
  }
  const auto charges = RingChargesAtOneVolt(rings, eps0, report);
  if (!charges) return Result::Refused(report.last);

  const std::string fileName = "sheet" + IntStr(g.n) + ".tab";
  std::string table;
  if (g.CBlsheet)
    ReportLine(report, "Capacitances and total surface electric fields at the rings (pF,(V/m)/V)");
  const Extended s = std::sqrt(g.dr * g.dr + g.dz * g.dz);
  Extended Q = 0, Emaxring = 0, Eminring = 1e30L;
  std::vector<Extended> ringR, ringZ, ringC, ringE;  // the listed lines' values
  for (int i = 1; i <= g.n; ++i) {
    const Extended qi = (*charges)[i - 1];
    const Extended rho = g.Rho(i), z = g.Z(i);
    // The charge over the strip's area 2 pi rho s, over eps0: for a sheet the sum of
    // the fields on its two faces (Gauss).
    const Extended Ei = qi / (eps0 * 2 * kPi * rho * s);
    if (std::fabs(Ei) > Emaxring) Emaxring = std::fabs(Ei);
    if (std::fabs(Ei) < Eminring) Eminring = std::fabs(Ei);
    if (g.CBlsheet) {
      ReportLine(report, IntStr(i) + " " + FixedStr(rho, 12, 5) + " " + FixedStr(z, 12, 5) + " " +
                             FixedStr(qi / kPico, 15, 10) + " " + FixedStr(Ei, 15, 10));
      ringR.push_back(rho);
      ringZ.push_back(z);
      ringC.push_back(qi);
      ringE.push_back(Ei);
    }
    if (g.CBssheet)
      table += FixedStr(rho, 12, 10) + " " + FixedStr(z, 12, 10) + " " +
               FixedStr(qi / kPico, 15, 10) + " " + FixedStr(Ei, 15, 10) + "\r\n";
    Q = Q + qi;
  }
  if (g.CBssheet) {
    WriteFileAtomically(env.TablePath(fileName), table);
    ReportLine(report, "Ring capacitances and total surface fields saved in file \"" + fileName + "\"");
  }
  ReportLine(report, "Capacitance: " + FixedStr(Q / kPico, 15, 10) + " pF");
  ReportLine(report, "Maximum sum of electric fields at both surfaces: " + FixedStr(Emaxring, 12, 10) +
                         " V/m/V");
  ReportLine(report, "Minimum sum of electric fields at both surfaces: " + FixedStr(Eminring, 12, 10) +
                         " V/m/V");
  Result result;
  if (g.CBlsheet) {
    result.AddList("ring_r", "m", std::move(ringR));
    result.AddList("ring_z", "m", std::move(ringZ));
    result.AddList("ring_C", "F", std::move(ringC));
    result.AddList("ring_E", "1/m", std::move(ringE));
  }
  result.Add("C", "F", Q);
  result.Add("E_max", "1/m", Emaxring);
  result.Add("E_min", "1/m", Eminring);
  return result;
}

}  // namespace quor::electrostatics
