#include "transformer/driver.h"

#include <cmath>
#include <optional>
#include <string>

#include "numerics/arithmetic_fault.h"
#include "numerics/canvas.h"
#include "numerics/format.h"
#include "transformer/classical.h"
#include "transformer/drawing.h"
#include "transformer/jones.h"
#include "transformer/maxwell.h"
#include "transformer/mutual.h"
#include "transformer/parallel.h"
#include "transformer/turn_overlap.h"
#include "transformer/validation.h"

namespace quor::transformer {
using namespace quor::numerics;

namespace {

// How a part of the calculation ended: go on with the next, the command is done, or
// it ended on a line that refuses (or a stop).
enum class Outcome { Go, Done, Refused };

Outcome Calculate(TransformerContext& ctx, const FieldValues& fields);

// Inductances are listed in millihenries.
inline Extended mH(Extended henries) { return henries / 0.001L; }

// The values of one coil, so that the primary and the secondary run the same code.
struct CoilView {
  Extended N, h, rmin, rmax, b, wd;
};

struct CoilTexts {
  const char* n;  // "n1=" ...
  const char* h;
  const char* r1;
  const char* r2;
  const char* b;
  const char* d;
  const char* wheeler;
  const char* lundin;
  const char* lorenz;
  const char* snow;
  const char* kirchhoff;
  const char* grover1;
  const char* maxwell1;
  const char* aip1;
  const char* russell1;
  const char* maxwell;
};

const CoilTexts kPrimaryTexts{
    "n1=", "; h1=", "; r11=", "; r12=", "; b1=", "; d1=",
    "Wheeler primary inductance L1: ",
    "Lundin    primary inductance L1: ",
    "Lorenz    primary inductance L1: ",
    "Snow      primary inductance L1: ",
    "Kirchhoff primary inductance L1: ",
    "Grover  1 turn inductance L1: ",
    "Maxwell 1 turn inductance L1: ",
    "AIP Hand. 1 turn inductance L1: ",
    "Russell 1 turn inductance L1: ",
    "Maxwell primary inductance: L1: ",
};

const CoilTexts kSecondaryTexts{
    "n2=", "; h2=", "; r21=", "; r22=", "; b2=", "; d2=",
    "Wheeler secondary inductance L2: ",
    "Lundin    secondary inductance L2: ",
    "Lorenz    secondary inductance L2: ",
    "Snow      secondary inductance L2: ",
    "Kirchhoff secondary inductance L2: ",
    "Grover  1 turn inductance L2: ",
    "Maxwell 1 turn inductance L2: ",
    "AIP Hand. 1 turn inductance L2: ",
    "Russell 1 turn inductance L2: ",
    "Maxwell secondary inductance: L2: ",
};

// The line of a formula's value, kept as "L" + the coil's digit + tail ("L1_Lundin").
void InductanceLine(TransformerContext& ctx, const char* label, const char* tail, Extended L) {
  ctx.Line(label + FixedStr(mH(L), 15, 10) + " mH");
  ctx.Value(ctx.CoilKey("L", tail), "H", L);
}

// One coil's block of Branch B: description, Wheeler (the default value), the
// solenoid and single-loop formulas for comparison, and Maxwell's ring or spiral sum
// when asked for. Returns the coil's inductance, or nothing when the Maxwell routine
// was refused or stopped.
std::optional<Extended> CoilInductance(TransformerContext& ctx, const CoilView& c,
                                       const CoilTexts& t, bool maxwell, bool circular) {
  Extended L = WheelerInductance(c.N, c.h, c.rmin, c.rmax);

  ctx.Line(t.n + FixedStr(c.N, 5, 2) + t.h + FixedStr(c.h, 7, 4) + t.r1 +
           FixedStr(c.rmin, 5, 2) + t.r2 + FixedStr(c.rmax, 5, 2) + t.b + FixedStr(c.b, 7, 4) +
           t.d + FixedStr(c.wd, 6, 4));
  ctx.Line(t.wheeler + FixedStr(mH(L), 15, 10) + (maxwell ? " mH" : " mH <- used"));
  ctx.Value(ctx.CoilKey("L", "_Wheeler"), "H", L);

  if (c.rmin == c.rmax && c.h > 0) {
    InductanceLine(ctx, t.lundin, "_Lundin", LundinInductance(c.N, c.h, c.rmin));
    InductanceLine(ctx, t.lorenz, "_Lorenz", LorenzInductance(c.N, c.h, c.rmin));
    // Snow's and Kirchhoff's sums take whole turns ("Turns rounded to").
    ctx.Value(ctx.CoilKey("n"), "1", RoundAtLeastOne(c.N));
    InductanceLine(ctx, t.snow, "_Snow", SnowInductance(*ctx.report, c.rmin, c.h, c.wd, c.N));
    InductanceLine(ctx, t.kirchhoff, "_Kirchhoff",
                   KirchhoffInductance(*ctx.report, c.rmin, c.h, c.wd, c.N));
  }
  if (c.N == 1 && c.h == 0 && c.rmin == c.rmax) {
    InductanceLine(ctx, t.grover1, "_Grover_1turn", GroverOneTurn(c.rmin, c.wd));
    InductanceLine(ctx, t.maxwell1, "_Maxwell_1turn", MaxwellOneTurn(c.rmin, c.wd));
    InductanceLine(ctx, t.aip1, "_AIP_1turn", AIPOneTurn(c.rmin, c.wd));
    InductanceLine(ctx, t.russell1, "_Russell_1turn", RussellOneTurn(c.rmin, c.wd));
  }

  if (maxwell) {
    Extended value;
    if (circular) {
      value = c.rmin == c.rmax
                  ? MaxwellSolenoidCircular(ctx, c.N, c.h, c.rmin, c.rmax, c.b, c.wd)
                  : MaxwellGeneralCircular(ctx, c.N, c.h, c.rmin, c.rmax, c.b, c.wd);
    } else {
      // The reduced helix sum needs whole turns; a fractional coil takes the full
      // double sum over the true spiral.
      const bool whole = c.N == std::rint(c.N);
      value = c.rmin == c.rmax && whole
                  ? MaxwellSolenoid(ctx, ctx.coils.nsm, c.N, c.h, c.rmin, c.rmax, c.b, c.wd)
                  : MaxwellGeneralCoil(ctx, ctx.coils.nsm, c.N, c.h, c.rmin, c.rmax, c.b, c.wd);
    }
    if (!ctx.StopFlag) return std::nullopt;
    L = value;
    ctx.Line(t.maxwell + FixedStr(mH(L), 15, 10) + " mH <- used");
    ctx.Value(ctx.CoilKey("L", "_Maxwell"), "H", L);
  }
  return L;
}

void MutualLine(TransformerContext& ctx, const char* label, const char* key, Extended M) {
  ctx.Line(label + FixedStr(mH(M), 19, 14) + " mH");
  ctx.Value(key, "H", M);
}

// Closed-form mutual inductances of special arrangements, listed for comparison.
void ComparisonValues(TransformerContext& ctx) {
  const CoilPair& c = ctx.coils;
  const bool sol1 = c.rmin1 == c.rmax1;
  const bool sol2 = c.rmin2 == c.rmax2;

  if (sol1 && sol2 && c.h2 == 0 && c.N2 == 1 && c.b1 == c.b2)
    MutualLine(ctx, "J. Viriamu Jones 1 turn M (common base): ", "M_Jones_base",
               JonesEndCircleMutual(c.rmin1, c.rmin2, c.h1, c.N1));

  if (c.N2 == 1 && c.h2 == 0 && sol2 && c.h1 != 0) {
    // The solenoid is cut at the plane of the loop; each part ends in that plane and
    // carries turns in proportion to its signed length.
    const Extended u = c.b1 + c.h1 - c.b2;
    const Extended w = c.b1 - c.b2;
    auto split = [&](Extended (*F)(Extended, Extended, Extended, Extended)) {
      return F(c.rmin1, c.rmin2, u, c.N1 * u / c.h1) - F(c.rmin1, c.rmin2, w, c.N1 * w / c.h1);
    };
    MutualLine(ctx, "J. Viriamu Jones 1 turn M: ", "M_Jones_1turn", split(JonesEndCircleMutual));
    MutualLine(ctx, "Garrett 1 turn M: ", "M_Garrett_1turn", split(GarrettEndCircleMutual));
    MutualLine(ctx, "Snow 1 turn M: ", "M_Snow_1turn", split(SnowEndCircleMutual));
  }

  if (sol1 && sol2 && c.h1 != 0 && c.h2 != 0) {
    MutualLine(ctx, "Snow M (two current-sheet solenoids): ", "M_Snow_sheets",
               SnowSheetMutual(c));
    const Extended S = SnowSheetMutual(c);
    const Extended k =
        S / std::sqrt(LorenzInductance(c.N2, c.h2, c.rmin2) * LorenzInductance(c.N1, c.h1, c.rmin1));
    ctx.Line("Turns-independent k from Lorenz L and Snow M: " + FixedStr(k, 19, 14));
    ctx.Value("k_Lorenz_Snow", "1", k);
  }

  if (sol1 && sol2 && c.h1 == 0 && c.h2 == 0 && c.N2 == 1 && c.N1 <= 1)
    MutualLine(ctx, "Maxwell M (n1<=1, #1 (ok)): ", "M_Maxwell_1turn", MaxwellMutualOneTurn(c));

  if (sol1 && sol2 && c.h1 == 0 && c.h2 == 0 && c.N1 <= 1 && c.N1 == c.N2)
    MutualLine(ctx, "Snow M #61: ", "M_Snow61", SnowMutual61(c));
}

// Branch B up to the mutual inductance.
Outcome SeriesPrimary(TransformerContext& ctx, const TransformerOptions& opt) {
  CoilPair& c = ctx.coils;
  ctx.coil = 1;
  const auto L1 = CoilInductance(ctx, {c.N1, c.h1, c.rmin1, c.rmax1, c.b1, c.wd1},
                                 kPrimaryTexts, opt.CBML1, opt.CBel);
  if (!L1) return Outcome::Refused;
  c.L1 = *L1;
  ctx.Value("L1", "H", c.L1);
  ctx.coil = 2;
  const auto L2 = CoilInductance(ctx, {c.N2, c.h2, c.rmin2, c.rmax2, c.b2, c.wd2},
                                 kSecondaryTexts, opt.CBML2, opt.CBel);
  if (!L2) return Outcome::Refused;
  c.L2 = *L2;
  ctx.Value("L2", "H", c.L2);

  if (!opt.CBm) return Outcome::Done;

  const bool jones = opt.CBjvj && c.rmin1 == c.rmax1 && c.h1 != 0;
  if (jones) {
    MutualJones(ctx);
  } else {
    if (opt.CBjvj) ctx.Line("Jones M requires a solenoidal primary coil");
    if (opt.CBel) {
      MutualCircularTurns(ctx);
      if (!ctx.StopFlag) return Outcome::Refused;
    } else {
      ctx.Line("Segments per turn: L1=" + IntStr(c.ns1) + "; L2=" + IntStr(c.ns2));
      if (c.rmin1 == c.rmax1 && c.rmin2 == c.rmax2)
        MutualSolenoids(ctx, c.ns1, c.ns2);
      else
        MutualGeneralCoils(ctx, c.ns1, c.ns2);
    }
  }
  ctx.Line("Mutual Inductance M: " + FixedStr(mH(c.M), 19, 14) + " mH <-used");
  ctx.Value("M", "H", c.M);

  ComparisonValues(ctx);
  return Outcome::Go;
}

// Branch A: the primary loops in parallel, against the secondary's ring-sum
// inductance.
Outcome ParallelLoops(TransformerContext& ctx) {
  CoilPair& c = ctx.coils;
  ctx.coil = 2;
  c.L2 = c.rmin2 == c.rmax2
             ? MaxwellSolenoidCircular(ctx, c.N2, c.h2, c.rmin2, c.rmax2, c.b2, c.wd2)
             : MaxwellGeneralCircular(ctx, c.N2, c.h2, c.rmin2, c.rmax2, c.b2, c.wd2);
  if (!ctx.StopFlag) return Outcome::Refused;
  ctx.Line("Original secondary inductance: L2: " + FixedStr(mH(c.L2), 15, 10) + " mH");
  ctx.Value("L2_original", "H", c.L2);

  ctx.coil = 1;
  const Extended L1 = ParallelPrimary(ctx, c.N1, c.h1, c.rmin1, c.rmax1, c.b1, c.wd1);
  if (!ctx.StopFlag) return Outcome::Refused;
  c.L1 = L1;
  ctx.Line("Primary inductance L1:   " + FixedStr(mH(c.L1), 15, 10) + " mH <- used");
  ctx.Line("Secondary inductance L2: " + FixedStr(mH(c.L2), 15, 10) + " mH <- used");
  ctx.Line("Mutual inductance: " + FixedStr(mH(c.M), 15, 10) + " mH");
  ctx.Value("L1", "H", c.L1);
  ctx.Value("L2", "H", c.L2);
  ctx.Value("M", "H", c.M);
  return Outcome::Go;
}


std::string ModePair(Extended x) { return FixedStr(x - 1, 4, 1) + ":" + FixedStr(x, 4, 1); }

// The mode (x - 1):x of a coupling k as the values stem + "mode_lower" and "mode_upper".
void AddMode(Result* values, const std::string& stem, Extended x) {
  if (!values) return;
  values->Add(stem + "mode_lower", "1", x - 1);
  values->Add(stem + "mode_upper", "1", x);
}

// One connection's lines; its values under stem ("oudin_", "oudin_rev_").
void OudinLines(ReportSink& report, const char* label, Extended keq, Extended Meq,
                Extended L2eq, Result* values, const std::string& stem) {
  const Extended x = ModeRatio(keq);
  ReportLine(report, label + FixedStr(keq, 12, 10) + "; Mode: " + ModePair(x));
  ReportLine(report, "Eqv. M: " + FixedStr(mH(Meq), 15, 10) + " mH; Eqv. L2: " +
                         FixedStr(mH(L2eq), 15, 10) + " mH");
  if (!values) return;
  values->Add(stem + "k", "1", keq);
  AddMode(values, stem, x);
  values->Add(stem + "M", "H", Meq);
  values->Add(stem + "L2", "H", L2eq);
}

}  // namespace

Extended ModeRatio(Extended k) {
  return (1 + k + std::sqrt((1 + k) * (1 - k))) / (2 * k);
}

std::string ModeText(Extended k) { return "Mode: " + ModePair(ModeRatio(k)); }

void WriteCoupling(ReportSink& report, Extended L1, Extended L2, Extended M, bool oudin,
                   Result* values) {
  const Extended k = M / std::sqrt(L1 * L2);
  ReportLine(report, "Coupling coefficient k: " + FixedStr(k, 19, 14));
  if (values) values->Add("k", "1", k);
  if (k >= 1) {
    ReportLine(report, "This result (k>1) is impossible");
    return;
  }
  const Extended x = ModeRatio(k);
  ReportLine(report, "Mode: " + ModePair(x));
  AddMode(values, "", x);
  if (oudin) {
    // Secondary joined to the primary's end: the primary current also flows through
    // the secondary, aiding (normal) or opposing (reverse) its flux.
    Extended Meq = L1 + M;
    Extended L2eq = L1 + L2 + 2 * M;
    OudinLines(report, "Normal Oudin coil: Eqv. k=", Meq / std::sqrt(L1 * L2eq), Meq, L2eq,
               values, "oudin_");
    Meq = L1 - M;
    L2eq = L1 + L2 - 2 * M;
    OudinLines(report, "Reverse Oudin coil: Eqv. k=", std::fabs(Meq) / std::sqrt(L1 * L2eq), Meq,
               L2eq, values, "oudin_rev_");
  }
}

namespace {

Outcome Calculate(TransformerContext& ctx, const FieldValues& fields) {
  ReadTransformerInputs(fields, ctx.coils);
  const TransformerOptions opt = ReadTransformerOptions(fields);
  ctx.Line("");
  if (auto message = CheckTransformerInputs(ctx.coils)) {
    ctx.Line(*message);
    return Outcome::Refused;
  }
  if (auto message = CheckTransformerWork(ctx.coils, opt)) {
    ctx.Line(*message);
    return Outcome::Refused;
  }
  if (!ctx.stoppable)
    if (auto message = CheckUnstoppableWork(ctx.coils, opt)) {
      ctx.Line(*message);
      return Outcome::Refused;
    }
  if (auto message = CheckWireDiameters(ctx.coils, opt)) {
    ctx.Line(*message);
    return Outcome::Refused;
  }
  // Turns of the two coils in each other's wire make the mutual-inductance sums meet
  // (nearly) coincident turns: refused before anything is computed.
  if (auto message = CheckTurnOverlap(ctx.coils, opt)) {
    ctx.Line(*message);
    return Outcome::Refused;
  }
  PaintArrangement(*ctx.canvas, ctx.coils, ctx.map);

  const Outcome outcome = opt.CBparalelo ? ParallelLoops(ctx) : SeriesPrimary(ctx, opt);
  if (outcome != Outcome::Go) return outcome;

  WriteCoupling(*ctx.report, ctx.coils.L1, ctx.coils.L2, ctx.coils.M, opt.CBOudin, ctx.values);
  return Outcome::Done;
}

// Puts the mapping of the arrangement drawn into the environment and ends the running
// state, on every way out of the command.
class EndOfCalculate {
 public:
  EndOfCalculate(TransformerContext& ctx, CommandEnv& env) : ctx_(ctx), env_(env) {}
  ~EndOfCalculate() {
    if (env_.mapping) *env_.mapping = ctx_.map;
    ctx_.SetRunning(false);
  }
  EndOfCalculate(const EndOfCalculate&) = delete;
  EndOfCalculate& operator=(const EndOfCalculate&) = delete;

 private:
  TransformerContext& ctx_;
  CommandEnv& env_;
};

}  // namespace

Result TransformerCommand(const FieldValues& fields, CommandEnv& env) {
  LastLineReport report(env.Report());
  Result result;
  TransformerContext ctx(env);
  ctx.report = &report;
  ctx.values = &result;
  const EndOfCalculate end(ctx, env);
  if (Calculate(ctx, fields) == Outcome::Refused) {
    // The values computed before the refusal stand.
    result.status = CommandStatus::Refused;
    result.message = report.last;
  }
  return result;
}

}  // namespace quor::transformer
