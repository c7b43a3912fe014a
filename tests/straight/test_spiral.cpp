// The square spiral: its report against references computed apart, its Maxwell sum
// against the sides' pairs found from the coordinates alone, the single turn against
// Grover's formula, the refusals, and the drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "command_run.h"
#include "numerics/canvas.h"
#include "straight/spiral.h"
#include "straight/wires.h"
#include "numerics/library_namespaces.h"

namespace {

std::vector<std::string> SpiralLines(const FieldValues& fields) {
  return command_run::LinesOf(SpiralFieldDefs(), &SpiralCommand, fields);
}

// The last number of a line ("...: value nH", "... M= value nH").
Extended Value(const std::string& line) {
  const std::size_t colon = line.rfind(": "), equals = line.rfind("M=");
  const std::size_t at = equals != std::string::npos && (colon == std::string::npos || equals > colon)
                             ? equals + 2
                             : colon + 2;
  return std::stold(line.substr(at));
}

const char* const kMohan =
    "Approx. inductance of a square coil of flat wire with diameters 80.0 um and 40.0 um "
    "(Mohan):    0.3682055863 nH";
const char* const kLee =
    "Approx. inductance of a square coil of flat wire with diameters 80.0 um and 40.0 um "
    "(Lee):    0.3687956593 nH";

// The spiral's inductance from its sides as coordinates: every ordered pair of
// parallel sides through their distance and the shift of their centres, with the sign
// of the product of their directions; each side with itself at the distance g.
Extended InductanceFromCoordinates(std::int32_t kA, std::int32_t kB, double s, Extended g) {
  std::vector<SpiralSide> sides;
  for (std::int32_t k = kA; k <= kB; ++k)
    for (const SpiralSide& side : SpiralTurnSides(k, s)) sides.push_back(side);
  Extended L = 0;
  for (const SpiralSide& p : sides) {
    for (const SpiralSide& q : sides) {
      const bool pVertical = p.x0 == p.x1, qVertical = q.x0 == q.x1;
      if (pVertical != qVertical) continue;  // perpendicular sides do not couple
      const Extended lp = std::fabs((p.x1 - p.x0) + (p.y1 - p.y0));
      const Extended lq = std::fabs((q.x1 - q.x0) + (q.y1 - q.y0));
      const Extended along = pVertical ? (q.y0 + q.y1) / 2.0L - (p.y0 + p.y1) / 2.0L
                                       : (q.x0 + q.x1) / 2.0L - (p.x0 + p.x1) / 2.0L;
      const Extended across = pVertical ? std::fabs(Extended(q.x0) - p.x0)
                                        : std::fabs(Extended(q.y0) - p.y0);
      const bool same = (pVertical ? (p.y1 - p.y0) * (q.y1 - q.y0)
                                   : (p.x1 - p.x0) * (q.x1 - q.x0)) > 0;
      const bool itself = &p == &q;
      const Extended M = ParallelFilamentMutual(lp, lq, itself ? g : across, along);
      L += same ? M : -M;
    }
  }
  return L;
}

}  // namespace

TEST(SquareSpiralReport, DefaultsRoundAndFlat) {
  // References from 30-digit arithmetic: every pair of sides by quadrature of
  // Neumann's integral, the approximations from their formulas.
  EXPECT_EQ(SpiralLines({}),
            (std::vector<std::string>{
                "", "Square spiral, turns 1-2", "Maxwell inductance:    0.1921703258 nH",
                "Inductance of a square turn with diameter 80.0 um:    0.1469861624 nH", kMohan,
                kLee}));
  // A flat strip changes the geometric mean distance only: not the approximations.
  EXPECT_EQ(SpiralLines({{"CBflat", "1"}}),
            (std::vector<std::string>{
                "", "Square spiral, turns 1-2", "Maxwell inductance:    0.2341639438 nH",
                "Inductance of a square turn with diameter 80.0 um:    0.1813200324 nH", kMohan,
                kLee}));
}

TEST(SquareSpiralReport, DetailsListEveryPairOnce) {
  const std::vector<std::string> lines = SpiralLines({{"CBdet", "1"}});
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines[2], "Segments indentified as A, B, C, and D in each turn.");
  EXPECT_EQ(lines[3], "GMD = 3.89400392 um");
  EXPECT_EQ(lines[4],
            "Self-inductances, turn 1: LA,LB,l=20.0 um=    0.0060588362 nH; LC,LD,l=40.0 um=    "
            "0.0169405789 nH");
  EXPECT_EQ(lines[5], "Mutual inductances, turn 1:");
  EXPECT_EQ(lines[6], "AC,2x(1,1): l1=20.0 l2=40.0 d=20.0 c=10.0 um, M=  -0.0033024059 nH");
  EXPECT_EQ(lines[7], "BD,2x(1,1): l1=20.0 l2=40.0 d=40.0 c=10.0 um, M=  -0.0018686401 nH");
  EXPECT_EQ(lines[8], "AA,BB(1,2): l1=20.0 l2=60.0 d=20.0 c= 0.0 um, M=   0.0047361718 nH");
  // Sides of one direction only between different turns; A against C and B against D
  // for every pair of turns, written negative (opposite currents).
  const std::vector<std::string> order = {
      "CC,DD(1,2)", "AC,2x(1,2)", "BD,2x(1,2)", "Self-inductances, turn 2",
      "Mutual inductances, turn 2:", "AA,BB(2,1)", "CC,DD(2,1)", "AC,2x(2,1)", "BD,2x(2,1)",
      "AC,2x(2,2)", "BD,2x(2,2)", "Maxwell inductance:"};
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(lines[9 + i].rfind(order[i], 0), 0u) << lines[9 + i];
    const bool opposite = order[i].rfind("AC", 0) == 0 || order[i].rfind("BD", 0) == 0;
    if (order[i].find(',') == 2) {
      EXPECT_EQ(Value(lines[9 + i]) < 0, opposite) << lines[9 + i];
    }
  }
}

TEST(SquareSpiralReport, MaxwellSumEqualsThePairsOfSidesFromTheirCoordinates) {
  struct Row {
    const char *kA, *kB, *s, *d;
    bool flat;
  };
  for (const Row& r : {Row{"1", "2", "20e-6", "10e-6", false}, Row{"3", "7", "1e-3", "1e-3", true},
                       Row{"1", "5", "1e-3", "1e-4", false}}) {
    const std::vector<std::string> lines = SpiralLines(
        {{"Esinner", r.kA}, {"Esn", r.kB}, {"Esunit", r.s}, {"Esd", r.d}, {"CBflat", r.flat ? "1" : "0"}});
    const Extended w = std::stod(r.d) / 2;
    const Extended g = r.flat ? std::exp(-1.5L) * 2 * w : std::exp(-0.25L) * w;
    const Extended L = InductanceFromCoordinates(std::stoi(r.kA), std::stoi(r.kB), std::stod(r.s), g);
    EXPECT_NEAR(static_cast<double>(Value(lines[2]) / (L / 1e-9L)), 1, 1e-9) << lines[2];
  }
}

TEST(SquareSpiralReport, SingleTurnAgreesWithGrover) {
  // A square of side a of round wire of radius rho (Grover, "Inductance
  // Calculations", the square; Rosa 1908): L = 8e-7 a (ln(a/rho) - 0.52401) H, to
  // order rho/a. Side 0.1 m of 1 um wire: the neglected terms are below 1e-6.
  const std::vector<std::string> lines =
      SpiralLines({{"Esinner", "50"}, {"Esn", "50"}, {"Esunit", "1e-3"}, {"Esd", "1e-6"}});
  const Extended a = 0.1L, rho = 5e-7L;
  const Extended grover = 8e-7L * a * (std::log(a / rho) - 0.52401L);
  EXPECT_EQ(lines[3].rfind("Inductance of a square turn with diameter 100000.0 um: ", 0), 0u);
  EXPECT_NEAR(static_cast<double>(Value(lines[3]) / (grover / 1e-9L)), 1, 2e-6);
}

TEST(SquareSpiralReport, InputsThatDescribeNoSpiralAreRefused) {
  const std::pair<FieldValues, std::vector<std::string>> rows[] = {
      {{{"Esinner", "0"}}, {"Square spiral, turns 0-2", "The first turn must be 1 or more."}},
      {{{"Esinner", "-1"}}, {"Square spiral, turns -1-2", "The first turn must be 1 or more."}},
      {{{"Esinner", "3"}}, {"Square spiral, turns 3-2", "The last turn can't be before the first."}},
      {{{"Esn", "1001"}}, {"Square spiral, turns 1-1001", "Too many turns (max=1000)."}},
      {{{"Esunit", "0"}}, {"Square spiral, turns 1-2", "The turns spacing must be positive."}},
      {{{"Esunit", "-2e-5"}}, {"Square spiral, turns 1-2", "The turns spacing must be positive."}},
      {{{"Esunit", "1e400"}}, {"Square spiral, turns 1-2", "The turns spacing must be positive."}},
      {{{"Esd", "0"}}, {"Square spiral, turns 1-2", "The wire diameter must be positive."}},
      {{{"Esd", "20.1e-6"}}, {"Square spiral, turns 1-2", "The wire is too thick or wide."}},
  };
  for (const auto& [fields, tail] : rows) {
    std::vector<std::string> expected{""};
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(SpiralLines(fields), expected) << tail.back();
  }
  // A wire as wide as the spacing is accepted.
  EXPECT_EQ(SpiralLines({{"Esd", "20e-6"}}).size(), 6u);
}

TEST(SquareSpiralDrawing, SidesToScaleAndTheCentreLineOverThem) {
  // Spacing 0.25 and turns 1-2: 290 pixels per unit from the centre (175, 175), half
  // the wire 0.0625 -> 18 pixels; coordinates ending in .5 round to even.
  const FieldValues fields = {{"Esunit", "0.25"}, {"Esd", "0.125"}};
  RecordingCanvas canvas(kSpiralBoxSize, kSpiralBoxSize);
  ScreenMapping map;
  PaintSpiral(canvas, ReadSpiralInputs(fields), map);
  const std::vector<std::string> painted = {
      "PenColor 000000", "PenStyle Solid", "PenWidth 1", "BrushColor FFFFFF",
      "BrushStyle Solid", "Rectangle 0 0 350 350", "PenColor 00FF00", "BrushColor 00FF00",
      "Rectangle 157 157 193 266", "Rectangle 157 230 266 266", "Rectangle 230 84 266 266",
      "Rectangle 84 84 266 120", "Rectangle 84 84 120 338", "Rectangle 84 302 338 338",
      "Rectangle 302 12 338 338", "Rectangle 12 12 338 48"};
  EXPECT_EQ(canvas.calls, painted);

  CommandEnv env;
  env.canvas = &canvas;
  env.mapping = &map;
  command_run::Run(SpiralFieldDefs(), &SpiralCommand, fields, env);
  std::vector<std::string> overlay = painted;
  for (const char* call : {"PenColor 0000FF", "PenStyle Solid", "MoveTo 175 175", "LineTo 175 248",
                           "LineTo 248 248", "LineTo 248 102", "LineTo 102 102", "LineTo 102 320",
                           "LineTo 320 320", "LineTo 320 30", "LineTo 30 30"})
    overlay.push_back(call);
  EXPECT_EQ(canvas.calls, overlay);

  // A refused spiral draws nothing over the picture; one without valid turns is blank.
  EXPECT_EQ(command_run::Run(SpiralFieldDefs(), &SpiralCommand, {{"Esd", "1"}}, env).status,
            CommandStatus::Refused);
  EXPECT_EQ(canvas.calls, overlay);
  RecordingCanvas blank(kSpiralBoxSize, kSpiralBoxSize);
  PaintSpiral(blank, ReadSpiralInputs({{"Esinner", "0"}}), map);
  EXPECT_EQ(blank.calls.back(), "Rectangle 0 0 350 350");
}
