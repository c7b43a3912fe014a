#include "straight/spiral.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "numerics/format.h"
#include "numerics/number_reading.h"
#include "straight/wires.h"

namespace quor::straight {
using namespace quor::numerics;

const std::vector<FieldDef>& SpiralFieldDefs() {
  static const std::vector<FieldDef> defs = {
      {"Esunit", "Turns spacing", "20e-6", "The wires can't overlap"},
      {"Esinner", "First turn", "1", "The wires can't overlap", false, FieldKind::Count},
      {"Esn", "Turns", "2", "The wires can't overlap", false, FieldKind::Count},
      {"Esd", "Wire diameter", "10e-6", "The wires can't overlap"},
      {"CBflat", "Flat wire", "0", "", true},
      {"CBdet", "List details", "0", "", true},
  };
  return defs;
}

const std::vector<ValueDef>& SpiralValueDefs() {
  static const std::vector<ValueDef> defs = {
      {"L", "H", "Maxwell's inductance of the spiral"},
      {"Do", "m", "outer diameter (side of the outer square turn)"},
      {"L_square", "H", "inductance of one square turn of diameter Do"},
      {"Di", "m", "inner diameter"},
      {"L_Mohan", "H", "Mohan's approximation for a square coil of flat wire"},
      {"L_Lee", "H", "Lee's approximation"},
      {"GMD", "m", "List details: g.m.d. of the wire section"},
      {"turn", "1", "List details, list of the turns k listed"},
      {"lA", "m", "List details, list per turn: length of sides A and B"},
      {"LA", "H", "List details, list per turn: self-inductance of side A (and B)"},
      {"lC", "m", "List details, list per turn: length of sides C and D"},
      {"LC", "H", "List details, list per turn: self-inductance of side C (and D)"},
      {"M_AA", "H",
       "List details, n x n matrix (row turn k, column turn j): M of sides AA,BB (0 for "
       "k = j)"},
      {"M_CC", "H", "List details, n x n: M of sides CC,DD (0 for k = j)"},
      {"M_AC", "H", "List details, n x n: M of sides AC as listed (negative)"},
      {"M_BD", "H", "List details, n x n: M of sides BD as listed (negative)"},
      {"d_AA", "m", "List details, n x n: distance of the sides AA,BB and CC,DD"},
      {"d_AC", "m", "List details, n x n: distance of the sides AC"},
      {"d_BD", "m", "List details, n x n: distance of the sides BD"},
      {"c_AC", "m", "List details: axial shift of the sides AC and BD, s/2"},
  };
  return defs;
}

namespace {

double ReadDouble(const FieldValues& fields, const char* name) {
  const Extended v = ReadNumber(FieldText(fields, SpiralFieldDefs(), name));
  return std::fabs(v) <= DBL_MAX ? static_cast<double>(v) : 0.0;
}

// The turns and their spacing: what the drawing needs.
std::optional<std::string> CheckSpiralTurns(const SpiralInputs& in) {
  if (in.kA < 1) return "The first turn must be 1 or more.";
  if (in.kB < in.kA) return "The last turn can't be before the first.";
  if (static_cast<std::int64_t>(in.kB) - in.kA + 1 > kMaxSpiralTurns)
    return "Too many turns (max=" + IntStr(kMaxSpiralTurns) + ").";
  if (!(in.s > 0)) return "The turns spacing must be positive.";
  return std::nullopt;
}

std::optional<std::string> CheckSpiral(const SpiralInputs& in) {
  if (auto message = CheckSpiralTurns(in)) return message;
  if (!(in.w > 0)) return "The wire diameter must be positive.";
  if (2 * in.w > in.s) return "The wire is too thick or wide.";
  return std::nullopt;
}

// A pixel coordinate, held inside the range the canvas can take: the overlay uses the
// scale of the last paint, which may belong to a spiral of quite another size.
int Pixel(Extended v) {
  constexpr Extended kFar = 1e6L;
  return static_cast<int>(std::llrint(std::clamp(v, -kFar, kFar)));
}
int PixelX(const ScreenMapping& map, double x) { return Pixel(map.KX * x + map.OX); }
int PixelY(const ScreenMapping& map, double y) { return Pixel(map.KY * y + map.OY); }

// Micrometres 4:1 and nanohenries 15:10.
std::string Um(Extended metres) { return FixedStr(metres / 1e-6L, 4, 1); }
std::string NH(Extended henries) { return FixedStr(henries / 1e-9L, 15, 10); }

// 2.34*mu0 and 9.375*mu0 (Mohan et al., "Simple accurate expressions for planar
// spiral inductances", IEEE JSSC 34, 1999: the modified Wheeler formula; and Lee's
// square-coil formula).
constexpr Extended kMohanK1 = 2.940530723760046471e-6L;
constexpr Extended kLeeK2 = 1.178097245096172464e-5L;

Result Calculate(const FieldValues& fields, ReportSink& report, Canvas& canvas,
                 const ScreenMapping& map) {
  const SpiralInputs in = ReadSpiralInputs(fields);
  ReportLine(report, "");
  ReportLine(report, "Square spiral, turns " + IntStr(in.kA) + "-" + IntStr(in.kB));
  if (auto message = CheckSpiral(in)) return Refusal(report, *message);
  const Extended s = in.s;
  const Extended w = in.w;
  canvas.SetPenColor(kRed);
  canvas.SetPenStyle(PenStyle::Solid);
  const SpiralSide first = SpiralTurnSides(in.kA, in.s)[0];
  canvas.MoveTo(PixelX(map, first.x0), PixelY(map, first.y0));
  if (in.details) ReportLine(report, "Segments indentified as A, B, C, and D in each turn.");
  // Geometric mean distance of the section from itself: a thin strip of width 2w,
  // 2w*e^(-3/2); a round wire of radius w, w*e^(-1/4) (Maxwell).
  const Extended g = in.flat ? std::exp(-1.5L) * 2 * w : std::exp(-0.25L) * w;
  if (in.details) ReportLine(report, "GMD = " + FixedStr(g / 1e-6L, 10, 8) + " um");
  Result result;
  // The listed details: per turn, and per pair of turns as n x n tables (row the
  // turn k, column the turn j; a turn has no AA or CC pair with itself: 0).
  const auto turns = static_cast<std::size_t>(in.kB - in.kA + 1);
  struct Details {
    std::vector<Extended> turn, lA, LA, lC, LC;
    std::vector<Extended> MAA, MCC, MAC, MBD, dAA, dAC, dBD;
  } listed;
  if (in.details)
    for (auto* table : {&listed.MAA, &listed.MCC, &listed.MAC, &listed.MBD, &listed.dAA,
                        &listed.dAC, &listed.dBD})
      table->assign(turns * turns, 0);

  // Sides A and B of a turn have one length, C and D the other; all sides A are
  // centred at y = -s/2, B at x = s/2, C at y = 0 and D at x = 0. Parallel sides of
  // two turns therefore lie side by side, unshifted, except A against C and B against
  // D (opposite currents), shifted by s/2.
  Extended L = 0;
  for (std::int64_t k = in.kA; k <= in.kB; ++k) {
    for (const SpiralSide& side : SpiralTurnSides(k, in.s))
      canvas.LineTo(PixelX(map, side.x1), PixelY(map, side.y1));
    const Extended lA = static_cast<Extended>(2 * k - 1) * s;
    const Extended lC = static_cast<Extended>(2 * k) * s;
    const Extended LA = ParallelFilamentMutual(lA, lA, g, 0);
    const Extended LC = ParallelFilamentMutual(lC, lC, g, 0);
    L = L + 2 * LA + 2 * LC;
    const std::string kText = IntStr(static_cast<std::int32_t>(k));
    const std::size_t row = static_cast<std::size_t>(k - in.kA) * turns;
    if (in.details) {
      listed.turn.push_back(static_cast<Extended>(k));
      listed.lA.push_back(lA);
      listed.LA.push_back(LA);
      listed.lC.push_back(lC);
      listed.LC.push_back(LC);
      ReportLine(report, "Self-inductances, turn " + kText + ": LA,LB,l=" + Um(lA) + " um= " +
                             NH(LA) + " nH; LC,LD,l=" + Um(lC) + " um= " + NH(LC) + " nH");
      ReportLine(report, "Mutual inductances, turn " + kText + ":");
    }
    for (std::int64_t j = in.kA; j <= in.kB; ++j) {
      const std::size_t cell = row + static_cast<std::size_t>(j - in.kA);
      auto pair = [&](const char* name, Extended l1, Extended l2, Extended d, Extended c,
                      Extended shown, std::vector<Extended>& Ms, std::vector<Extended>& ds) {
        if (!in.details) return;
        ReportLine(report, name + kText + "," + IntStr(static_cast<std::int32_t>(j)) +
                               "): l1=" + Um(l1) + " l2=" + Um(l2) + " d=" + Um(d) +
                               " c=" + Um(c) + " um, M=" + NH(shown) + " nH");
        Ms[cell] = shown;
        ds[cell] = d;
      };
      const Extended l2A = static_cast<Extended>(2 * j - 1) * s;
      const Extended l2C = static_cast<Extended>(2 * j) * s;
      if (j != k) {
        const Extended d = static_cast<Extended>(j > k ? j - k : k - j) * s;
        Extended M = ParallelFilamentMutual(lA, l2A, d, 0);
        pair("AA,BB(", lA, l2A, d, 0, M, listed.MAA, listed.dAA);
        L = L + 2 * M;
        M = ParallelFilamentMutual(lC, l2C, d, 0);
        pair("CC,DD(", lC, l2C, d, 0, M, listed.MCC, listed.dAA);
        L = L + 2 * M;
      }
      Extended d = static_cast<Extended>(k + j - 1) * s;
      Extended M = ParallelFilamentMutual(lA, l2C, d, s / 2);
      pair("AC,2x(", lA, l2C, d, s / 2, -M, listed.MAC, listed.dAC);
      L = L - 2 * M;
      d = static_cast<Extended>(k + j) * s;
      M = ParallelFilamentMutual(lA, l2C, d, s / 2);
      pair("BD,2x(", lA, l2C, d, s / 2, -M, listed.MBD, listed.dBD);
      L = L - 2 * M;
    }
  }
  ReportLine(report, "Maxwell inductance: " + NH(L) + " nH");
  if (in.details) {
    result.Add("GMD", "m", g);
    result.Add("c_AC", "m", s / 2);
    result.AddList("turn", "1", std::move(listed.turn));
    result.AddList("lA", "m", std::move(listed.lA));
    result.AddList("LA", "H", std::move(listed.LA));
    result.AddList("lC", "m", std::move(listed.lC));
    result.AddList("LC", "H", std::move(listed.LC));
    const std::pair<const char*, std::vector<Extended>*> tables[] = {
        {"M_AA", &listed.MAA}, {"M_CC", &listed.MCC}, {"M_AC", &listed.MAC},
        {"M_BD", &listed.MBD}, {"d_AA", &listed.dAA}, {"d_AC", &listed.dAC},
        {"d_BD", &listed.dBD}};
    for (const auto& [key, table] : tables)
      result.AddMatrix(key, key[0] == 'M' ? "H" : "m", turns, turns, std::move(*table));
  }
  result.Add("L", "H", L);

  // One square turn of side Do: four sides, each with its own inductance, less the
  // mutual inductances of the two pairs of opposite sides (each counted twice); the
  // perpendicular sides do not couple.
  const Extended Do = static_cast<Extended>(2 * static_cast<std::int64_t>(in.kB)) * s;
  const Extended Lsq = 4 * ParallelFilamentMutual(Do, Do, g, 0) -
                       4 * ParallelFilamentMutual(Do, Do, Do, 0);
  ReportLine(report, "Inductance of a square turn with diameter " + Um(Do) + " um: " + NH(Lsq) +
                         " nH");
  result.Add("Do", "m", Do);
  result.Add("L_square", "H", Lsq);

  const Extended Di = static_cast<Extended>(2 * static_cast<std::int64_t>(in.kA)) * s;
  const Extended rho = (Do - Di) / (Do + Di);
  const Extended Davg = (Do + Di) / 2;
  const std::int32_t n = in.kB - in.kA + 1;
  const Extended n2 = static_cast<Extended>(n * n);
  const Extended mohan = n2 * kMohanK1 * Davg / (1 + 2.75L * rho);
  const Extended lee = n2 * kLeeK2 * (Davg * Davg) / (11 * Do - 7 * Davg);
  const std::string diameters =
      "Approx. inductance of a square coil of flat wire with diameters " + Um(Do) + " um and " +
      Um(Di);
  ReportLine(report, diameters + " um (Mohan): " + NH(mohan) + " nH");
  ReportLine(report, diameters + " um (Lee): " + NH(lee) + " nH");
  result.Add("Di", "m", Di);
  result.Add("L_Mohan", "H", mohan);
  result.Add("L_Lee", "H", lee);
  return result;
}

}  // namespace

SpiralInputs ReadSpiralInputs(const FieldValues& fields) {
  SpiralInputs in;
  in.kB = ReadInteger(FieldText(fields, SpiralFieldDefs(), "Esn"));
  in.kA = ReadInteger(FieldText(fields, SpiralFieldDefs(), "Esinner"));
  in.s = ReadDouble(fields, "Esunit");
  in.w = ReadDouble(fields, "Esd") / 2;
  in.flat = FieldChecked(fields, SpiralFieldDefs(), "CBflat");
  in.details = FieldChecked(fields, SpiralFieldDefs(), "CBdet");
  return in;
}

std::array<SpiralSide, 4> SpiralTurnSides(std::int64_t k, double s) {
  const double in = static_cast<double>(k - 1) * s;  // (k - 1)s
  const double out = static_cast<double>(k) * s;     // ks
  return {{{-in, in, -in, -out},
           {-in, -out, out, -out},
           {out, -out, out, out},
           {out, out, -out, out}}};
}

void PaintSpiral(Canvas& canvas, const SpiralInputs& in, ScreenMapping& map) {
  const int W = canvas.Width();
  const int H = canvas.Height();
  canvas.SetPenColor(kBlack);
  canvas.SetPenStyle(PenStyle::Solid);
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.Rectangle(0, 0, W, H);

  // A wire too thick for the spacing is drawn all the same: the picture shows why.
  if (CheckSpiralTurns(in)) return;
  // Margins of 30 pixels, y up; the scale and offsets are doubles.
  const double OX = W / 2.0;
  const double OY = H / 2.0;
  const Extended size = in.kB * static_cast<Extended>(in.s);
  const Extended SX = ((W - 30) - OX) / size;
  const Extended SY = (30 - OY) / size;
  if (!(std::fabs(SX) <= DBL_MAX && std::fabs(SY) <= DBL_MAX)) return;
  map.KX = static_cast<double>(SX);
  map.OX = OX;
  map.KY = static_cast<double>(SY);
  map.OY = OY;

  canvas.SetPenColor(kLime);
  canvas.SetBrushColor(kLime);
  // Half the wire's width in pixels, at least one.
  const int t = std::max(1, Pixel(map.KX * in.w));
  for (std::int64_t k = in.kA; k <= in.kB; ++k) {
    for (const SpiralSide& side : SpiralTurnSides(k, in.s)) {
      const int x0 = PixelX(map, side.x0), y0 = PixelY(map, side.y0);
      const int x1 = PixelX(map, side.x1), y1 = PixelY(map, side.y1);
      canvas.Rectangle(std::min(x0, x1) - t, std::min(y0, y1) - t, std::max(x0, x1) + t,
                       std::max(y0, y1) + t);
    }
  }
}

Result SpiralCommand(const FieldValues& fields, CommandEnv& env) {
  NullCanvas blank(kSpiralBoxSize, kSpiralBoxSize);
  Canvas& canvas = env.canvas ? *env.canvas : blank;
  // Over the drawing of the last paint; without one, the spiral is drawn first, as a
  // window just opened shows it.
  ScreenMapping fresh;
  const ScreenMapping* map = env.canvas ? env.mapping : nullptr;
  if (!map) {
    PaintSpiral(canvas, ReadSpiralInputs(fields), fresh);
    map = &fresh;
  }
  return Calculate(fields, env.Report(), canvas, *map);
}

}  // namespace quor::straight
