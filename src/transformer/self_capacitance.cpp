#include "transformer/self_capacitance.h"

#include <cmath>

#include "numerics/canvas.h"
#include "numerics/format.h"
#include "transformer/maxwell.h"
#include "transformer/validation.h"

namespace quor::transformer {
using namespace quor::numerics;

// R. G. Medhurst, "H.F. resistance and self-capacitance of single-layer solenoids",
// Wireless Engineer 24 (1947), pp. 35-43 and 80-92: from his measurements,
//   C = 0.1126 l + 0.08 D + 0.27 sqrt(D^3/l)  pF, lengths in centimetres,
// for a solenoid of length l and diameter D. In metres with D = 2r the bracket below
// is the same number of picofarads (0.27 sqrt(8e6/100) = 76.4).
Extended MedhurstCapacitance(TransformerContext& ctx, Extended h, Extended rmax, Extended rmin) {
  if (rmax != rmin || h == 0) {
    ctx.Line("The coil must be solenoidal.");
    ctx.StopFlag = false;
    return 0;
  }
  ctx.StopFlag = true;
  const Extended r = rmin;
  constexpr Extended kPicofarad = 9.9999999999999997989e-13L;
  return (76.4L * std::sqrt(r * r * r / h) + (11.26L * h + 16.0L * r)) * kPicofarad;
}

namespace {

struct Coil {
  Extended N, h, rmin, rmax, b, wd;
};

// Thomson's frequency of the coil's inductance with its own capacitance. Adds the
// coil's values under the suffix ("1" primary, "2" secondary); false when the coil
// was refused.
bool SelfResonance(TransformerContext& ctx, const Coil& c, const char* suffix, Result& result) {
  // A solenoid needs a height, a radius, a wire and turns: Medhurst's root of r^3/h and
  // the ring sum's wire distance mean nothing otherwise (a wire of no diameter gave an
  // inductance of 1e14 mH). A count below 1/2 is one turn, as the ring sums round it.
  if (c.rmax == c.rmin && c.h != 0) {
    const char* refused = nullptr;
    if (c.h < 0 || !(c.rmin > 0)) refused = "The dimensions must be positive";
    else if (!(c.wd > 0)) refused = "The wire diameter must be positive";
    else if (c.N < 0) refused = "The number of turns must not be negative";
    if (refused) {
      ctx.Line(refused);
      ctx.StopFlag = false;
      return false;
    }
  }
  const Extended C = MedhurstCapacitance(ctx, c.h, c.rmax, c.rmin);
  if (!ctx.StopFlag) return false;
  // The ring sum below is one term per turn; beyond any real coil it would only hang.
  if (c.N > kMaxTurns) {
    ctx.Line("Too many turns (max=" + IntStr(kMaxTurns) + ")");
    return false;
  }
  const Extended L = MaxwellSolenoidCircular(ctx, c.N, c.h, c.rmin, c.rmax, c.b, c.wd);
  if (!ctx.StopFlag) return false;
  ctx.Line("Length:" + NumberText(c.h) + "; radius:" + NumberText(c.rmin) +
           "; Medhurst self-capacitance:" + FixedStr(C * 1e12L, 8, 4) + " pF");
  ctx.Line("Inductance: " + FixedStr(L * 1000, 10, 4) + " mH");
  // Computed after the lines before it, so that a fault here leaves them standing.
  const Extended f = 1 / (kTwoPi * std::sqrt(L * C));
  ctx.Line("Self-resonance frequency: " + FixedStr(f / 1000, 10, 4) + " kHz");
  result.Add(std::string("C") + suffix, "F", C);
  result.Add(std::string("L") + suffix, "H", L);
  result.Add(std::string("f") + suffix, "Hz", f);
  return true;
}


}  // namespace

Result SelfCapacitanceCommand(const FieldValues& fields, CommandEnv& env) {
  LastLineReport report(env.Report());
  TransformerContext ctx(env);
  ctx.report = &report;
  Result result;
  ctx.values = &result;
  ReadTransformerInputs(fields, ctx.coils);
  const CoilPair& p = ctx.coils;
  ctx.Line("");
  ctx.Line("Primary:");
  ctx.coil = 1;
  SelfResonance(ctx, {p.N1, p.h1, p.rmin1, p.rmax1, p.b1, p.wd1}, "1", result);
  ctx.Line("Secondary:");
  ctx.coil = 2;
  // Refused when the command ends on the secondary's refusal; the primary's values
  // stand.
  if (!SelfResonance(ctx, {p.N2, p.h2, p.rmin2, p.rmax2, p.b2, p.wd2}, "2", result)) {
    result.status = CommandStatus::Refused;
    result.message = report.last;
  }
  return result;
}

}  // namespace quor::transformer
