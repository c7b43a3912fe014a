#include "resonator/resonator_command.h"

#include <cmath>
#include <string>

#include "electrostatics/ring_kernel.h"
#include "electrostatics/toroid.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/format.h"
#include "numerics/input_rounding.h"
#include "numerics/number_reading.h"
#include "transformer/coil_pair.h"
#include "transformer/context.h"
#include "transformer/maxwell.h"
#include "transformer/self_capacitance.h"
#include "transformer/turn_overlap.h"
#include "transformer/validation.h"

namespace quor::resonator {

namespace {

FieldDef Edit(const char* name, const char* label, const char* def, const char* hint) {
  return FieldDef{name, label, def, hint, false};
}

std::vector<FieldDef> WindowDefs() {
  return {
      FieldDef{"CBground", "Ground plane", "1",
               "A perfectly conducting plane at z = 0: the base elevations are heights above it",
               true},
      Edit("RGtopload", "Top load", "0", "0 none, 1 toroid, 2 sphere"),
      Edit("Etmajor", "Toroid major diameter", "0.3", "Outer diameter of the toroid, metres"),
      Edit("Etminor", "Toroid minor diameter", "0.08", "Diameter of the toroid's tube"),
      Edit("Esphere", "Sphere diameter", "0.2", "Diameter of the sphere"),
      Edit("Etheight", "Top load centre above the winding", "0.05",
           "Height of the top load's centre above the top of the winding"),
      Edit("Esections", "Sections", "100",
           "The winding is cut into this many equal sections (1 to 400)"),
      Edit("Ecprimary", "Primary capacitor (nF)", "0",
           "0: no tuning; otherwise the primary's tap for mode 1 is found"),
  };
}

// Distance from a point (rho, z) of the meridian plane to the winding's centre line,
// the segment rho = r, b <= z <= b + h.
Extended DistanceToWinding(const ResonatorCoil& c, Extended rho, Extended z) {
  const Extended dz = z < c.b ? c.b - z : (z > c.b + c.h ? z - (c.b + c.h) : 0.0L);
  return std::hypot(rho - c.r, dz);
}

std::optional<std::string> CheckTopLoad(const ResonatorInput& in) {
  const TopLoad& t = in.top;
  if (t.kind == TopLoadKind::None) return std::nullopt;
  const ResonatorCoil& c = in.coil;
  const Extended zt = c.b + c.h + t.height;
  Extended rho = 0, radius = 0;  // the outline's circle in the meridian plane
  if (t.kind == TopLoadKind::Toroid) {
    if (!(t.major > 0 && t.minor > 0)) return "The top load's dimensions must be positive";
    if (!(t.major > 2 * t.minor)) return "The toroid must have a hole in the center";
    radius = t.minor / 2;
    rho = t.major / 2 - radius;
  } else {
    if (!(t.sphere > 0)) return "The top load's dimensions must be positive";
    radius = t.sphere / 2;
  }
  if (!(DistanceToWinding(c, rho, zt) > radius + c.wd / 2))
    return "The top load overlaps the secondary coil";
  if (in.ground && !(zt - radius > 0)) return "The top load reaches below the ground plane";
  return std::nullopt;
}

std::optional<std::string> CheckPrimary(const ResonatorSetup& s, const CoilPair& c) {
  const PrimaryCoil& p = s.primary;
  if (p.h < 0 || p.rmin < 0 || p.rmax < 0 || p.wd < 0) return "The dimensions must be positive";
  if (!(p.N > 0 && p.wd > 0 && (p.rmin > 0 || p.rmax > 0)))
    return "The primary needs turns, a radius and a wire diameter";
  if (c.rmin1 == c.rmin2 && c.b1 == c.b2) return "The coils can't intercept";
  if (p.N > 1 && GreaterBeyondRounding(p.wd, MaxWireDiameter(p.N, p.h, p.rmin, p.rmax)))
    return "The primary wire is too thick (max=~" +
           FixedStr(MaxWireDiameter(p.N, p.h, p.rmin, p.rmax), 7, 5) + ")";
  if (s.input.ground && p.b < 0) return "The primary coil is below the ground plane";
  const Extended turns = std::ceil(p.N);
  if (turns * (turns + RoundAtLeastOne(s.input.coil.N)) > static_cast<Extended>(kMaxRingPairs))
    return "Too many turn pairs for the tap (max=" + IntStr(static_cast<std::int32_t>(kMaxRingPairs)) +
           ")";
  // The rings of the tap's sums: the primary's turns at the middle of their pitch (a
  // partial last turn counted whole), the secondary's circular turns.
  TurnTracks rings;
  rings.r0 = p.rmin + 0.5L * ((p.rmax - p.rmin) / p.N);
  rings.z0 = p.b + 0.5L * (p.h / p.N);
  rings.stepR = (p.rmax - p.rmin) / p.N;
  rings.stepZ = p.h / p.N;
  rings.count = PrimaryTapTurns(p.N);
  rings.lastSpan = kTwoPi;
  rings.wireRadius = p.wd / 2;
  const ResonatorCoil& q = s.input.coil;
  if (const auto pair = FirstOverlap(rings, CircularTurnTracks(q.N, q.h, q.r, q.r, q.b, q.wd)))
    return "The wires of the coils overlap (primary turn " + std::to_string(pair->primary) +
           ", secondary turn " + std::to_string(pair->secondary) + ")";
  return std::nullopt;
}

std::string KHz(Extended hz) { return FixedStr(hz / 1000, 1, 4) + " kHz"; }
std::string MilliHenry(Extended h) { return FixedStr(h * 1000, 1, 6) + " mH"; }
std::string PicoFarad(Extended f) { return FixedStr(f * 1e12L, 1, 4) + " pF"; }

const char* const kModeLabels[] = {"Mode 1 (1/4 wave): ", "Mode 2 (3/4 wave): ",
                                   "Mode 3 (5/4 wave): "};

}  // namespace

const std::vector<FieldDef>& ResonatorWindowFieldDefs() {
  static const std::vector<FieldDef> defs = WindowDefs();
  return defs;
}

const std::vector<FieldDef>& ResonatorFieldDefs() {
  static const std::vector<FieldDef> defs = [] {
    std::vector<FieldDef> d;
    for (const FieldDef& f : TransformerFieldDefs()) {
      if (f.isCheckBox || f.name.rfind("Ens", 0) == 0) continue;
      d.push_back(f);
    }
    for (const FieldDef& f : ResonatorWindowFieldDefs()) d.push_back(f);
    return d;
  }();
  return defs;
}

std::optional<std::string> ReadResonatorSetup(const FieldValues& fields, ResonatorSetup& s) {
  CoilPair c;
  ReadTransformerInputs(fields, c);
  const std::vector<FieldDef>& defs = ResonatorFieldDefs();
  auto real = [&](const char* name) { return ReadNumber(FieldText(fields, defs, name)); };
  auto whole = [&](const char* name) { return ReadInteger(FieldText(fields, defs, name)); };

  ResonatorInput& in = s.input;
  in.coil = {c.N2, c.h2, c.rmin2, c.b2, c.wd2};
  in.ground = FieldChecked(fields, defs, "CBground");
  in.sections = whole("Esections");
  const std::int32_t kind = whole("RGtopload");
  in.top.major = real("Etmajor");
  in.top.minor = real("Etminor");
  in.top.sphere = real("Esphere");
  in.top.height = real("Etheight");
  s.primary = {c.N1, c.h1, c.rmin1, c.rmax1, c.b1, c.wd1};
  const Extended nF = real("Ecprimary");
  s.C1 = nF * 1e-9L;

  // The secondary.
  if (c.h2 < 0 || c.rmin2 < 0 || c.rmax2 < 0 || c.wd2 < 0) return "The dimensions must be positive";
  if (c.rmin2 != c.rmax2 || c.h2 == 0)
    return "The secondary coil must be a solenoid (equal radii and a height)";
  if (!(c.rmin2 > 0 && c.wd2 > 0 && c.N2 >= 1))
    return "The secondary needs a radius, a wire diameter and at least one turn";
  if (c.N2 > kMaxTurns) return "Too many turns (max=" + IntStr(kMaxTurns) + ")";
  // A wire as thick as the pitch fits, as in the main window.
  if (c.N2 > 1 && GreaterBeyondRounding(c.wd2, MaxWireDiameter(c.N2, c.h2, c.rmin2, c.rmax2)))
    return "The secondary wire is too thick (max=~" +
           FixedStr(MaxWireDiameter(c.N2, c.h2, c.rmin2, c.rmax2), 7, 5) + ")";
  // The sections.
  if (in.sections < 1 || in.sections > kMaxSections)
    return "Too large or invalid number of sections (max=" + IntStr(kMaxSections) + ")";
  // A section holds one turn at least: sections finer than the turns would carry
  // currents no turn can tell apart (the inductance matrix would be singular).
  const std::int32_t turns = RoundAtLeastOne(c.N2);
  if (in.sections > turns) {
    in.sections = turns;
    s.sectionsReduced = true;
  }
  if (in.ground && c.b2 < 0) return "The secondary coil is below the ground plane";
  // The top load.
  if (kind < 0 || kind > 2) return "Invalid top load (0 none, 1 toroid, 2 sphere)";
  in.top.kind = static_cast<TopLoadKind>(kind);
  if (auto m = CheckTopLoad(in)) return m;
  // The primary, when it is tuned.
  if (nF < 0) return "The primary capacitor must be positive (0: no tuning)";
  if (nF > 0)
    if (auto m = CheckPrimary(s, c)) return m;
  return std::nullopt;
}

ResonatorOutcome ResonatorArrangement(const FieldValues& fields) {
  ResonatorOutcome out;
  out.valid = !ReadResonatorSetup(fields, out.setup);
  return out;
}

const std::vector<ValueDef>& ResonatorValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"sections", "1", "sections of the winding (reduced to the turns when more)"},
      {"turns", "1", "whole turns of the secondary in the model"},
      {"f_mode1", "Hz", "frequency of mode 1 (1/4 wave)"},
      {"f_mode2", "Hz", "frequency of mode 2 (3/4 wave), when there are 2 sections or more"},
      {"f_mode3", "Hz", "frequency of mode 3 (5/4 wave), when there are 3 sections or more"},
      {"L2", "H", "L2 (Maxwell, low frequency)"},
      {"L2_ground", "H", "L2 over the ground plane"},
      {"Les", "H", "effective series inductance at mode 1"},
      {"Ces", "F", "effective series capacitance at mode 1"},
      {"C_top", "F", "top load isolated (exact)"},
      {"C_top_in_place", "F", "top load in place at mode 1"},
      {"C_medhurst", "F", "Medhurst self-capacitance of the secondary"},
      {"f_lumped", "Hz", "lumped estimate of the resonance"},
      {"L1_whole", "H", "no tap reaches mode 1: L1 of the whole primary"},
      {"L1_needed", "H", "no tap reaches mode 1: the L1 needed"},
      {"tap_turns", "1", "primary tap, turns from the primary's start"},
      {"L1_tap", "H", "L1 at the tap"},
      {"M_tap", "H", "mutual inductance of the primary at the tap with the secondary"},
      {"k_tap", "1", "coupling k at the tap"},
      {"f_tap", "Hz", "primary resonance at the tap"},
  };
  return defs;
}

Result CalculateResonator(const FieldValues& fields, CommandEnv& env, ResonatorOutcome& out) {
  ReportSink& report = env.Report();
  out = ResonatorOutcome();
  ReportLine(report, "");
  if (auto refused = ReadResonatorSetup(fields, out.setup)) return Refusal(report, *refused);
  out.valid = true;
  const ResonatorInput& in = out.setup.input;
  const ResonatorCoil& coil = in.coil;
  Result values;
  static const char* const kTopNames[] = {"no top load", "toroid", "sphere"};
  ReportLine(report, "Secondary resonance, " + IntStr(in.sections) +
                         (in.sections == 1 ? " section, " : " sections, ") +
                         (in.ground ? "ground plane, " : "no ground plane, ") +
                         kTopNames[static_cast<int>(in.top.kind)]);
  const std::int32_t turns = RoundAtLeastOne(coil.N);
  if (coil.N != turns) ReportLine(report, "Turns rounded to " + IntStr(turns));
  if (out.setup.sectionsReduced)
    ReportLine(report, "Sections reduced to the turns of the secondary: " + IntStr(turns));
  values.Add("sections", "1", in.sections);
  values.Add("turns", "1", turns);

  std::string failure;
  std::optional<ResonatorResult> model = SolveResonator(in, &failure);
  if (!model) {
    Result refused = Refusal(report, failure);
    refused.values = std::move(values.values);
    return refused;
  }
  out.model = std::move(*model);
  out.computed = true;
  const ResonatorResult& m = out.model;
  for (std::size_t i = 0; i < m.modes.size(); ++i) {
    ReportLine(report, kModeLabels[i] + KHz(m.modes[i].frequency));
    values.Add("f_mode" + std::to_string(i + 1), "Hz", m.modes[i].frequency);
  }

  // The main window's Maxwell value and Medhurst's capacitance, from their own routines.
  VectorReport scratch;
  NullCanvas none(kArrangementSize, kArrangementSize);
  TransformerContext ctx(scratch, none);
  out.L2 = MaxwellSolenoidCircular(ctx, coil.N, coil.h, coil.r, coil.r, coil.b, coil.wd);
  out.medhurst = MedhurstCapacitance(ctx, coil.h, coil.r, coil.r);
  ReportLine(report, "L2 (Maxwell, low frequency): " + MilliHenry(out.L2));
  values.Add("L2", "H", out.L2);
  if (in.ground) {
    ReportLine(report, "L2 over the ground plane: " + MilliHenry(m.Lground));
    values.Add("L2_ground", "H", m.Lground);
  }
  ReportLine(report, "Les at mode 1: " + MilliHenry(m.Les));
  ReportLine(report, "Ces at mode 1: " + PicoFarad(m.Ces));
  values.Add("Les", "H", m.Les);
  values.Add("Ces", "F", m.Ces);

  if (in.top.kind == TopLoadKind::Toroid) {
    out.topIsolated = ExactToroidCapacitance(in.top.major, in.top.minor, Eps0(),
                                             ToroidSwitches{false, true}, scratch);
  } else if (in.top.kind == TopLoadKind::Sphere) {
    out.topIsolated = 2 * kTwoPi * Eps0() * (in.top.sphere / 2);  // 4 pi eps0 r
  }
  if (in.top.kind != TopLoadKind::None) {
    ReportLine(report, "Top load isolated (exact): " + PicoFarad(out.topIsolated));
    ReportLine(report, "Top load in place at mode 1: " + PicoFarad(m.topInPlace));
    values.Add("C_top", "F", out.topIsolated);
    values.Add("C_top_in_place", "F", m.topInPlace);
  }
  ReportLine(report, "Medhurst self-capacitance: " + PicoFarad(out.medhurst));
  values.Add("C_medhurst", "F", out.medhurst);
  const Extended lumpedC = out.medhurst + out.topIsolated;
  out.lumpedFrequency = 1 / (kTwoPi * std::sqrt(out.L2 * lumpedC));
  ReportLine(report, std::string(in.top.kind == TopLoadKind::None
                                     ? "Lumped estimate (L2, Medhurst): "
                                     : "Lumped estimate (L2, Medhurst + top load isolated): ") +
                         KHz(out.lumpedFrequency));
  values.Add("f_lumped", "Hz", out.lumpedFrequency);

  if (out.setup.C1 > 0) {
    out.tuned = true;
    const PrimaryTapModel tapModel(out.setup.primary, coil, in.ground);
    const Extended F1 = m.modes.front().frequency;
    out.tap = SolvePrimaryTap(tapModel, F1, out.setup.C1, m.Lground);
    if (!out.tap.reachable) {
      ReportLine(report, "No tap reaches mode 1: the whole primary has " +
                             MilliHenry(out.tap.whole) + ", " + MilliHenry(out.tap.needed) +
                             " needed");
      values.Add("L1_whole", "H", out.tap.whole);
      values.Add("L1_needed", "H", out.tap.needed);
    } else {
      out.tapFrequency = 1 / (kTwoPi * std::sqrt(out.tap.L1 * out.setup.C1));
      ReportLine(report, "Primary tap: " + FixedStr(out.tap.turns, 1, 4) + " turns");
      ReportLine(report, "L1 at the tap: " + MilliHenry(out.tap.L1));
      ReportLine(report, "Coupling k at the tap: " + FixedStr(out.tap.k, 1, 6));
      ReportLine(report, "Primary resonance at the tap: " + KHz(out.tapFrequency));
      values.Add("tap_turns", "1", out.tap.turns);
      values.Add("L1_tap", "H", out.tap.L1);
      values.Add("M_tap", "H", out.tap.M);
      values.Add("k_tap", "1", out.tap.k);
      values.Add("f_tap", "Hz", out.tapFrequency);
    }
  }
  return values;
}

Result ResonatorCommand(const FieldValues& fields, CommandEnv& env) {
  ResonatorOutcome out;
  return CalculateResonator(fields, env, out);
}

}  // namespace quor::resonator
