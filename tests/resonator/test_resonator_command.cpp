// The primary's tap against the main window's own inductance routines, and the command:
// its refusals, its Report lines and its drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "numerics/canvas.h"
#include "numerics/number_reading.h"
#include "resonator/resonator_command.h"
#include "transformer/context.h"
#include "transformer/maxwell.h"
#include "transformer/mutual.h"
#include "numerics/library_namespaces.h"

namespace {

Extended RelErr(Extended a, Extended b) { return std::fabs(a / b - 1); }

const ResonatorCoil kSecondary{1152, 0.32L, 0.044L, 0, 0.0002L};

// The number after a line's label, from the Report (NaN when the line is missing).
Extended Value(const std::vector<std::string>& lines, const std::string& label) {
  for (const std::string& l : lines)
    if (l.rfind(label, 0) == 0) {
      const std::string rest = l.substr(label.size());
      return ReadNumber(rest.substr(0, rest.find(' ')));
    }
  return NAN;
}

// Calculate through the common run path, as the window and quor-cli run it.
std::vector<std::string> Calculate(const FieldValues& fields, ResonatorOutcome* outcome = nullptr) {
  ResonatorOutcome o;
  CommandEnv env;
  const Result result = RunCommand(
      ResonatorFieldDefs(),
      [&o](const FieldValues& f, CommandEnv& e) { return CalculateResonator(f, e, o); }, fields,
      env);
  if (outcome) *outcome = std::move(o);
  return result.lines;
}

}  // namespace

// At a whole number of turns the tapped primary is the main window's coil of that many
// turns, its height and radius grown in proportion: the same L1 by Maxwell's ring sum and
// the same M by the turn-by-turn sum, for a solenoid and a flat spiral.
TEST(PrimaryTap, WholeTurnsAreTheMainWindowsTruncatedPrimary) {
  const struct {
    PrimaryCoil primary;
    int m;
  } rows[] = {{{12, 0.1L, 0.1L, 0.1L, 0, 0.001L}, 7},
              {{8, 0, 0.06L, 0.15L, 0.05L, 0.004L}, 5},
              {{6.5L, 0.05L, 0.09L, 0.12L, 0.01L, 0.002L}, 4}};
  for (const auto& [p, m] : rows) {
    const PrimaryTapModel model(p, kSecondary, false);
    VectorReport lines;
    NullCanvas none(kArrangementSize, kArrangementSize);
    TransformerContext ctx(lines, none);
    const Extended f = m / p.N;
    CoilPair& c = ctx.coils;
    c = {Extended(m), p.h * f, p.rmin, p.rmin + (p.rmax - p.rmin) * f, p.b, p.wd,
         kSecondary.N, kSecondary.h, kSecondary.r, kSecondary.r, kSecondary.b, kSecondary.wd};
    const Extended L1 = MaxwellGeneralCircular(ctx, c.N1, c.h1, c.rmin1, c.rmax1, c.b1, c.wd1);
    MutualCircularTurns(ctx);
    EXPECT_LT(RelErr(model.L1(m), L1), 1e-13L) << p.N;
    EXPECT_LT(RelErr(model.M(m), c.M), 1e-13L) << p.N;

    // Tuned with the capacitor that resonates that L1 at 300 kHz, the tap is m turns.
    const Extended w = kTwoPi * 300e3L;
    const PrimaryTap tap = SolvePrimaryTap(model, 300e3L, 1 / (w * w * L1), 0.028L);
    ASSERT_TRUE(tap.reachable);
    EXPECT_NEAR(tap.turns, m, 1e-9L);
    EXPECT_LT(RelErr(tap.k, c.M / std::sqrt(L1 * 0.028L)), 1e-9L);
  }
}

// L1 and M rise steadily with the tap, without a jump where a turn is completed.
TEST(PrimaryTap, ContinuousAndRisingAcrossWholeTurns) {
  const PrimaryTapModel model({12, 0.1L, 0.1L, 0.1L, 0.02L, 0.001L}, kSecondary, true);
  for (int m = 1; m < 12; ++m) {
    EXPECT_LT(RelErr(model.L1(m - 1e-12L), model.L1(m)), 1e-9L) << m;
    EXPECT_LT(RelErr(model.M(m - 1e-12L), model.M(m)), 1e-9L) << m;
  }
  Extended last = 0;
  for (Extended n = 0.05L; n <= 12; n += 0.05L) {
    EXPECT_GT(model.L1(n), last) << n;
    last = model.L1(n);
  }
}

// Each meaningless input is refused with one line, nothing computed.
TEST(ResonatorCommand, RefusesWithOneLine) {
  const struct {
    FieldValues fields;
    const char* line;
  } rows[] = {
      {{{"Esections", "0"}}, "Too large or invalid number of sections (max=400)"},
      {{{"Esections", "401"}}, "Too large or invalid number of sections (max=400)"},
      {{{"Esections", "20.5"}}, "Too large or invalid number of sections (max=400)"},
      {{{"Er2", "-0.044"}}, "The dimensions must be positive"},
      {{{"Es2", "0.05"}}, "The secondary coil must be a solenoid (equal radii and a height)"},
      {{{"Eh2", "0"}}, "The secondary coil must be a solenoid (equal radii and a height)"},
      {{{"Ewd2", "0"}}, "The secondary needs a radius, a wire diameter and at least one turn"},
      {{{"En2", "0.4"}}, "The secondary needs a radius, a wire diameter and at least one turn"},
      {{{"En2", "200000"}}, "Too many turns (max=100000)"},
      {{{"Ewd2", "0.001"}}, "The secondary wire is too thick (max=~0.00056)"},
      {{{"Eb2", "-0.01"}}, "The secondary coil is below the ground plane"},
      {{{"RGtopload", "3"}}, "Invalid top load (0 none, 1 toroid, 2 sphere)"},
      {{{"RGtopload", "1"}, {"Etminor", "0"}}, "The top load's dimensions must be positive"},
      {{{"RGtopload", "2"}, {"Esphere", "-0.2"}}, "The top load's dimensions must be positive"},
      {{{"RGtopload", "1"}, {"Etmajor", "0.16"}}, "The toroid must have a hole in the center"},
      {{{"RGtopload", "2"}}, "The top load overlaps the secondary coil"},
      {{{"RGtopload", "1"}, {"Etmajor", "0.12"}, {"Etminor", "0.03"}, {"Etheight", "-0.1"}},
       "The top load overlaps the secondary coil"},
      {{{"RGtopload", "1"}, {"Etheight", "-0.5"}}, "The top load reaches below the ground plane"},
      {{{"Ecprimary", "-1"}}, "The primary capacitor must be positive (0: no tuning)"},
      {{{"Ecprimary", "10"}, {"En1", "0"}}, "The primary needs turns, a radius and a wire diameter"},
      {{{"Ecprimary", "10"}, {"Er1", "0.044"}, {"Es1", "0.044"}}, "The coils can't intercept"},
      {{{"Ecprimary", "10"}, {"Ewd1", "0.02"}}, "The primary wire is too thick (max=~0.01667)"},
      {{{"Ecprimary", "10"}, {"Eb1", "-0.1"}}, "The primary coil is below the ground plane"},
      {{{"Ecprimary", "10"}, {"En1", "5000"}, {"Ewd1", "1e-5"}, {"En2", "3000"}, {"Eh2", "1"}},
       "Too many turn pairs for the tap (max=10000000)"},
  };
  for (const auto& row : rows) {
    ResonatorOutcome outcome;
    const std::vector<std::string> lines = Calculate(row.fields, &outcome);
    EXPECT_EQ(lines, (std::vector<std::string>{"", row.line})) << row.line;
    EXPECT_FALSE(outcome.computed);
  }
  // Sections beyond the turns are reduced to them, with a line that says so.
  ResonatorOutcome few;
  const std::vector<std::string> fewLines = Calculate({{"En2", "50.2"}, {"Esections", "60"}}, &few);
  ASSERT_GE(fewLines.size(), 5u);
  EXPECT_EQ(fewLines[1], "Secondary resonance, 50 sections, ground plane, no top load");
  EXPECT_EQ(fewLines[2], "Turns rounded to 50");
  EXPECT_EQ(fewLines[3], "Sections reduced to the turns of the secondary: 50");
  EXPECT_EQ(few.model.inductances.L.n, 50);
  // Without the plane nothing is below it; a primary that is not tuned is not judged.
  EXPECT_GT(Calculate({{"Eb2", "-0.01"}, {"CBground", "0"}, {"Esections", "20"}}).size(), 5u);
  EXPECT_GT(Calculate({{"Ewd1", "0.02"}, {"Esections", "20"}}).size(), 5u);
}

// The lines in their order, each number as the outcome holds it, and the tap tuned to
// mode 1 as the printed L1 and the capacitor show it.
TEST(ResonatorCommand, ReportLinesAndTheTunedTap) {
  ResonatorOutcome o;
  const std::vector<std::string> lines =
      Calculate({{"RGtopload", "1"}, {"Ecprimary", "20"}, {"Esections", "50"}}, &o);
  const char* const starts[] = {"",
                                "Secondary resonance, 50 sections, ground plane, toroid",
                                "Mode 1 (1/4 wave): ",
                                "Mode 2 (3/4 wave): ",
                                "Mode 3 (5/4 wave): ",
                                "L2 (Maxwell, low frequency): ",
                                "L2 over the ground plane: ",
                                "Les at mode 1: ",
                                "Ces at mode 1: ",
                                "Top load isolated (exact): ",
                                "Top load in place at mode 1: ",
                                "Medhurst self-capacitance: ",
                                "Lumped estimate (L2, Medhurst + top load isolated): ",
                                "Primary tap: ",
                                "L1 at the tap: ",
                                "Coupling k at the tap: ",
                                "Primary resonance at the tap: "};
  ASSERT_EQ(lines.size(), std::size(starts));
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(starts[i], 0), 0u) << lines[i];
  ASSERT_TRUE(o.computed && o.tuned && o.tap.reachable);
  for (int m = 0; m < 3; ++m) {
    EXPECT_EQ(lines[2 + m].substr(lines[2 + m].size() - 4), " kHz");
    EXPECT_NEAR(Value(lines, starts[2 + m]) * 1e3L / o.model.modes[m].frequency, 1, 1e-6);
  }
  EXPECT_NEAR(Value(lines, "Ces at mode 1: ") * 1e-12L / o.model.Ces, 1, 1e-4);
  EXPECT_EQ(lines[13].substr(lines[13].size() - 6), " turns");
  const Extended F1 = Value(lines, starts[2]) * 1e3L;
  const Extended L1 = Value(lines, "L1 at the tap: ") * 1e-3L;
  EXPECT_LT(RelErr(1 / (kTwoPi * std::sqrt(L1 * 20e-9L)), F1), 0.001L);
  EXPECT_GT(o.tap.turns, 0);
  EXPECT_LE(o.tap.turns, 12);

  // A capacitor too small for the whole primary: the line says what is missing.
  const std::vector<std::string> short_ = Calculate({{"Ecprimary", "0.001"}, {"Esections", "20"}});
  EXPECT_EQ(short_.back().rfind("No tap reaches mode 1: the whole primary has ", 0), 0u);
}

// The drawing: the arrangement before a calculation; after it, the voltage of mode 1
// in blue rising from the base to the top and the current in green falling.
TEST(ResonatorCommand, DrawingShowsTheModeAlongTheWinding) {
  auto profile = [](const std::vector<std::string>& calls, const char* colour) {
    std::vector<std::pair<int, int>> pts;
    bool on = false;
    for (const std::string& c : calls) {
      if (c.rfind("PenColor ", 0) == 0) on = c == std::string("PenColor ") + colour;
      int x, y;
      if (on && (std::sscanf(c.c_str(), "LineTo %d %d", &x, &y) == 2 ||
                 std::sscanf(c.c_str(), "MoveTo %d %d", &x, &y) == 2))
        pts.emplace_back(x, y);
    }
    return pts;
  };
  const FieldValues fields = {{"RGtopload", "2"}, {"Etheight", "0.15"}, {"Esections", "30"}};
  RecordingCanvas before(400, 360);
  DrawResonator(ResonatorArrangement(fields), before);
  EXPECT_TRUE(profile(before.calls, "FF0000").empty());
  EXPECT_FALSE(profile(before.calls, "0000FF").empty());  // the winding
  EXPECT_EQ(std::count_if(before.calls.begin(), before.calls.end(),
                          [](const std::string& c) { return c.rfind("Ellipse", 0) == 0; }),
            1);  // the sphere

  RecordingCanvas after(400, 360);
  ResonatorOutcome outcome;
  Calculate(fields, &outcome);
  DrawResonator(outcome, after);
  const auto voltage = profile(after.calls, "FF0000");
  const auto current = profile(after.calls, "008000");
  ASSERT_EQ(voltage.size(), 31u);  // the nodes
  ASSERT_EQ(current.size(), 30u);  // the sections' middles
  for (std::size_t i = 1; i < voltage.size(); ++i) {
    EXPECT_LT(voltage[i].second, voltage[i - 1].second);  // upwards
    EXPECT_GE(voltage[i].first, voltage[i - 1].first);
  }
  EXPECT_GT(current.front().first, current.back().first);
  EXPECT_GT(voltage.back().first, voltage.front().first);

  RecordingCanvas refused(400, 360);
  DrawResonator(ResonatorArrangement({{"Esections", "0"}}), refused);
  EXPECT_TRUE(profile(refused.calls, "0000FF").empty());
}
