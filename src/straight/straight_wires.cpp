#include "straight/straight_wires.h"

#include <cmath>
#include <optional>
#include <string>

#include "numerics/format.h"
#include "numerics/input_rounding.h"
#include "numerics/number_reading.h"
#include "straight/wires.h"

namespace quor::straight {
using namespace quor::numerics;

const std::vector<FieldDef>& StraightFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"Elength1", "Length 1", "1", "Sizes in meters or inches (convert)"},
      {"Eradius1", "Diameter 1", "0.001", "In meters or AWG gauge"},
      {"Elength2", "Length 2", "1", ""},
      {"Eradius2", "Diameter 2", "0.001", ""},
      {"Esegments", "Segments", "1000", "For the numerical calculation", false, FieldKind::Count},
      {"Edistance", "Radial distance between wires", "0.1", "Distance between centers"},
      {"Eoffset", "Axial distance between centers", "0", "The wires can't overlap"},
  };
  return defs;
}

const std::vector<ValueDef>& StraightValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"L1", "H", "low-frequency inductance of wire 1"},
      {"L2", "H", "low-frequency inductance of wire 2"},
      {"M", "H", "mutual inductance of the two wires (closed form)"},
      {"M_numerical", "H", "the same by the numerical sum over segments"},
      {"k", "1", "coupling coefficient M/sqrt(L1 L2)"},
      {"M_equal", "H", "equal wires side by side: M"},
      {"M_equal_Lee", "H", "equal wires side by side: M by Lee's formula"},
      {"L_whole", "H", "aligned wires: low-frequency inductance of the whole wire"},
      {"L_sum", "H", "aligned wires: L1 + L2 + 2M"},
      {"L_whole_Snow", "H", "aligned wires: Snow's inductance of the whole wire"},
      {"L_sum_Snow", "H", "aligned wires: the same sum with Snow's L1 and L2"},
      {"L1_Maxwell", "H", "Maxwell's inductance of wire 1 (round)"},
      {"L2_Maxwell", "H", "Maxwell's inductance of wire 2 (round)"},
      {"L1_Maxwell_flat", "H", "Maxwell's inductance of wire 1 as a flat strip"},
      {"L2_Maxwell_flat", "H", "Maxwell's inductance of wire 2 as a flat strip"},
  };
  return defs;
}

namespace {

struct WirePair {
  Extended l1, r1, l2, r2, d, c;
  std::int32_t n;
};

WirePair ReadWirePair(const FieldValues& fields) {
  auto number = [&](const char* name) {
    return ReadNumber(FieldText(fields, StraightFieldDefs(), name));
  };
  WirePair w;
  w.l1 = number("Elength1");
  w.r1 = number("Eradius1") / 2;
  w.l2 = number("Elength2");
  w.r2 = number("Eradius2") / 2;
  w.n = ReadInteger(FieldText(fields, StraightFieldDefs(), "Esegments"));
  w.d = number("Edistance");
  w.c = number("Eoffset");
  return w;
}

// The checks that keep every formula of the panel finite: the logarithms need positive
// lengths, radii and distances, the low-frequency inductance is positive only for a
// wire longer than about half its diameter, and the numerical sum meets a zero
// distance where two overlapping filaments share a midpoint.
std::optional<std::string> CheckWirePair(const WirePair& w) {
  if (!(w.l1 > 0 && w.l2 > 0)) return "The lengths must be positive";
  if (!(w.r1 > 0 && w.r2 > 0)) return "The diameters must be positive";
  if (!(w.l1 > 2 * w.r1 && w.l2 > 2 * w.r2)) return "The wires must be longer than their diameters";
  if (w.d < 0) return "The radial distance can't be negative";
  // The conductors meet when their round sections intersect along a common stretch.
  // Wires that touch (side by side, or end to end as 0.3 and 0.4 m wires 0.35 m apart)
  // do not, whatever the last bits of the decimal sizes say.
  if (LessBeyondRounding(w.d, w.r1 + w.r2) && LessBeyondRounding(std::fabs(w.c), (w.l1 + w.l2) / 2))
    return "The wires can't overlap";
  if (w.n <= 0) return "The number of segments must be positive";
  const std::int32_t max = w.l1 == w.l2 ? kMaxEqualWireSegments : kMaxSegments;
  if (w.n > max)
    return "Too many segments for the numerical calculation (max=" + IntStr(max) + ")";
  return std::nullopt;
}

// Henries to the microhenries of the report, 15:10.
std::string MicroHenries(Extended henries) { return FixedStr(henries / 1e-6L, 15, 10) + " uH"; }

}  // namespace

Result StraightCommand(const FieldValues& fields, CommandEnv& env) {
  ReportSink& report = env.Report();
  const WirePair w = ReadWirePair(fields);
  ReportLine(report, "");
  ReportLine(report, "Inductances of round straight wires");
  if (auto message = CheckWirePair(w)) return Refusal(report, *message);
  const Extended L1 = WireSelfLowFreq(w.l1, w.r1);
  const Extended L2 = WireSelfLowFreq(w.l2, w.r2);
  const Extended M = ParallelFilamentMutual(w.l1, w.l2, w.d, w.c);
  Result result;
  // An inductance's line and its value in henries.
  auto line = [&](const std::string& label, const char* key, Extended v) {
    ReportLine(report, label + MicroHenries(v));
    result.Add(key, "H", v);
  };
  line("Low-frequency inductance L1: ", "L1", L1);
  line("Low-frequency inductance L2: ", "L2", L2);
  line("Mutual inductance M: ", "M", M);
  // Equal wires beyond the count of the full sum go through their segment differences.
  const Extended numerical = w.n <= kMaxSegments
                                 ? NumericalParallelMutual(w.n, w.l1, w.l2, w.d, w.c)
                                 : NumericalEqualMutual(w.n, w.l1, w.d, w.c);
  line("Mutual inductance M (numerical): ", "M_numerical", numerical);
  const Extended k = M / std::sqrt(L1 * L2);
  ReportLine(report, "Coupling coefficient k: " + FixedStr(k, 15, 10));
  result.Add("k", "1", k);
  if (w.l1 == w.l2 && w.c == 0) {
    line("M for equal // wires: ", "M_equal", EqualWiresMutual(w.l1, w.d));
    line("M for equal // wires (Lee): ", "M_equal_Lee", EqualWiresMutualLee(w.l1, w.d));
  }
  if (w.d == 0 && EqualWithinRounding(w.c, (w.l1 + w.l2) / 2) && w.r1 == w.r2) {
    // One wire cut in two: the whole against the sum of its parts.
    const Extended l = w.l1 + w.l2;
    ReportLine(report, "The segments are aligned");
    line("Inductance of the complete segment (Lowf): ", "L_whole", WireSelfLowFreq(l, w.r1));
    line("L1+L2+2*M: ", "L_sum", L1 + L2 + 2 * M);
    line("Inductance of the complete segment (Snow): ", "L_whole_Snow",
         WireSelfSnow(l, w.r1));
    line("L1+L2+2*M: ", "L_sum_Snow",
         WireSelfSnow(w.l1, w.r1) + WireSelfSnow(w.l2, w.r2) + 2 * M);
  }
  // Maxwell: the geometric mean distance of a round section from itself is
  // r*e^(-1/4); of a thin strip of width a, a*e^(-3/2).
  const Extended round = std::exp(-0.25L);
  const Extended flat = std::exp(-1.5L);
  line("Maxwell inductance L1: ", "L1_Maxwell",
       ParallelFilamentMutual(w.l1, w.l1, round * w.r1, 0));
  line("Maxwell inductance L2: ", "L2_Maxwell",
       ParallelFilamentMutual(w.l2, w.l2, round * w.r2, 0));
  line("Maxwell inductance L1 (flat wire): ", "L1_Maxwell_flat",
       ParallelFilamentMutual(w.l1, w.l1, flat * 2 * w.r1, 0));
  line("Maxwell inductance L2 (flat wire): ", "L2_Maxwell_flat",
       ParallelFilamentMutual(w.l2, w.l2, flat * 2 * w.r2, 0));
  return result;
}

}  // namespace quor::straight
