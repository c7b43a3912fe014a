#include <gtest/gtest.h>

#include <boost/math/special_functions/ellint_1.hpp>
#include <boost/math/special_functions/ellint_2.hpp>
#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "literal_reference.h"
#include "numerics/canvas.h"
#include "numerics/format.h"
#include "numerics/report.h"
#include "numerics/rings.h"
#include "transformer/context.h"
#include "transformer/maxwell.h"
#include "transformer/spiral_progress.h"
#include "numerics/library_namespaces.h"

namespace {

struct Rig {
  VectorReport report;
  RecordingCanvas canvas{kArrangementSize, kArrangementSize};
  TransformerContext ctx{report, canvas};
  bool stop = false;  // a Stop click
  Rig() {
    ctx.stopRequested = [this] { return stop; };
    ReadTransformerInputs(TransformerDefaults(), ctx.coils);
    NullCanvas paint(kArrangementSize, kArrangementSize);
    PaintArrangement(paint, ctx.coils, ctx.map);
  }
  // The drawn path as polylines: a new one at each MoveTo, points without repeats
  // (a line to the pen position draws nothing).
  std::vector<std::vector<CanvasPoint>> Path() const {
    std::vector<std::vector<CanvasPoint>> out;
    for (const std::string& s : canvas.calls) {
      std::istringstream in(s);
      std::string op;
      CanvasPoint p;
      in >> op >> p.x >> p.y;
      if (op == "MoveTo") out.push_back({p});
      if (op == "LineTo" && !out.empty() && !(out.back().back() == p)) out.back().push_back(p);
    }
    return out;
  }
};

std::vector<std::vector<CanvasPoint>> WithoutRepeats(std::vector<std::vector<CanvasPoint>> path) {
  for (auto& line : path) {
    std::vector<CanvasPoint> kept;
    for (const CanvasPoint& p : line)
      if (kept.empty() || !(kept.back() == p)) kept.push_back(p);
    line = kept;
  }
  return path;
}

// Where two drawn paths first differ, or "same".
std::string FirstDifference(const std::vector<std::vector<CanvasPoint>>& a,
                            const std::vector<std::vector<CanvasPoint>>& b) {
  std::ostringstream out;
  if (a.size() != b.size()) out << "polylines " << a.size() << " vs " << b.size() << "; ";
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (a[i] == b[i]) continue;
    out << "polyline " << i << " of " << a[i].size() << " vs " << b[i].size() << " points";
    for (std::size_t j = 0; j < std::min(a[i].size(), b[i].size()); ++j)
      if (!(a[i][j] == b[i][j])) {
        out << ", point " << j << ": (" << a[i][j].x << "," << a[i][j].y << ") vs (" << b[i][j].x
            << "," << b[i][j].y << ")";
        break;
      }
    return out.str();
  }
  return a.size() == b.size() ? "same" : out.str();
}

double Rel(Extended a, Extended b) { return static_cast<double>(std::fabs(a / b - 1)); }

// Current-sheet inductance of a solenoid of radius a, length len and N turns:
// Lorenz's formula, L = mu0*pi*a^2*N^2/len * K, with Nagaoka's coefficient
// K = 4/(3 pi k') * ((k'^2/k^2)(K(k) - E(k)) + E(k) - k), k = 2a/sqrt(4a^2 + len^2),
// elliptic integrals from Boost.Math.
long double SheetInductance(long double a, long double len, long double N) {
  const long double k = 2 * a / std::sqrt(4 * a * a + len * len);
  const long double kp = len / std::sqrt(4 * a * a + len * len);
  const long double K = boost::math::ellint_1(k), E = boost::math::ellint_2(k);
  const long double nagaoka =
      4 / (3 * kPi * kp) * ((kp * kp) / (k * k) * (K - E) + E - k);
  return kMu0 * kPi * a * a * N * N / len * nagaoka;
}

// Rosa's correction of the current sheet for round wire (Rosa, Bull. Bureau of
// Standards 2 (1906) 161; Grover, Inductance Calculations, ch. 16):
// L = Ls - mu0*a*N*(A + B), A = 5/4 - ln(2p/d) for the self-inductance of each turn,
// B for the mutual inductances of the turns, from the g.m.d. of two strips of width p
// at centre distance k*p.
long double RosaInductance(long double a, long double len, long double N, long double wd) {
  const int n = static_cast<int>(N);
  const long double p = len / N;
  const long double A = 1.25L - std::log(2 * p / wd);
  auto lnStripGmd = [p](int k) {  // ln of the g.m.d. of two strips of width p
    auto term = [p](int m) { return m == 0 ? 0.0L : m * m * std::log(m * p); };
    return 0.5L * term(k + 1) + 0.5L * term(k - 1) - term(k) - 1.5L;
  };
  long double B = 0;
  for (int k = 1; k < n; ++k) B += (n - k) * (std::log(k * p) - lnStripGmd(k));
  B *= 2.0L / n;
  return SheetInductance(a, len, N) - kMu0 * a * N * (A + B);
}

}  // namespace

TEST(MaxwellSolenoid, ReducedSumEqualsDirectDoubleSum) {
  struct Row {
    int nsm;
    Extended N, h, r, wd;
  };
  const std::vector<Row> rows = {
      {1, 1, 0.01L, 0.05L, 0.001L},   {1, 6, 0.05L, 0.05L, 0.001L},
      {7, 1, 0.02L, 0.1L, 0.002L},    {40, 3, 0.01L, 0.03L, 0.0005L},
      {64, 10, 0.1L, 0.1L, 0.001L},   {150, 20, 0.06L, 0.044L, 0.0002L},
      {33, 12.4L, 0.1L, 0.1L, 0.001L},
  };
  for (const Row& r : rows) {
    Rig rig;
    const Extended fast = MaxwellSolenoid(rig.ctx, r.nsm, r.N, r.h, r.r, r.r, 0.01L, r.wd);
    ASSERT_TRUE(rig.ctx.StopFlag);
    std::vector<std::vector<CanvasPoint>> path;
    const Extended direct =
        literal::MaxwellSolenoid(r.nsm, r.N, r.h, r.r, 0.01L, r.wd, &rig.ctx.map, &path);
    EXPECT_LT(Rel(fast, direct), 1e-12) << r.nsm << " " << static_cast<double>(r.N);
    // The same picture: one polyline per turn through the segment ends.
    EXPECT_EQ(FirstDifference(rig.Path(), WithoutRepeats(path)), "same") << r.nsm;
  }
}

TEST(MaxwellSolenoid, LinesAndRefusal) {
  Rig rig;
  MaxwellSolenoid(rig.ctx, 2000, 12.4L, 0.1L, 0.1L, 0.1L, 0, 0.001L);
  ASSERT_EQ(rig.report.lines.size(), 4u);
  EXPECT_EQ(rig.report.lines[0], "Calculating Maxwell inductance of a solenoid...");
  EXPECT_EQ(rig.report.lines[1], "Turns rounded to 12");
  // g = exp(-1/4)*0.0005; the turn rises h/12, so s = g*sqrt(1 + (p/(2 pi r))^2).
  const Extended g = std::exp(-0.25L) * 0.0005L;
  const Extended ell = std::sqrt(std::pow(kTwoPi * 0.1L, 2) + std::pow(0.1L / 12, 2));
  EXPECT_EQ(rig.report.lines[2], "G. m. d.: " + FixedStr(g, 17, 15) +
                                     "; Vertical spacing: " + FixedStr(g * ell / (kTwoPi * 0.1L), 17, 15));
  EXPECT_EQ(rig.report.lines[3], "Segments: high precision: 1614 used: 2000");
  EXPECT_EQ(rig.Path().size(), 12u);  // 12 whole turns integrated
  EXPECT_TRUE(rig.ctx.Running());

  Rig flat;
  EXPECT_EQ(MaxwellSolenoid(flat.ctx, 100, 5, 0, 0.1L, 0.2L, 0, 0.001L), 0);
  EXPECT_EQ(flat.report.lines, (std::vector<std::string>{
                                   "Calculating Maxwell inductance of a solenoid...",
                                   "The coil must be solenoidal"}));
  EXPECT_FALSE(flat.ctx.StopFlag);

  Rig circ;
  MaxwellSolenoidCircular(circ.ctx, 5, 0, 0.1L, 0.2L, 0, 0.001L);
  EXPECT_EQ(circ.report.lines, std::vector<std::string>{"The coil must be solenoidal"});
  EXPECT_FALSE(circ.ctx.StopFlag);
}

TEST(MaxwellGeneralCoil, AgreesWithDirectSumAndWithSolenoidRoutine) {
  struct Row {
    int nsm;
    Extended N, h, rmin, rmax, b, wd;
  };
  const std::vector<Row> rows = {
      {1, 1, 0, 0.1L, 0.1L, 0, 0.001L},            // a single closed circle
      {10, 2.5L, 0.02L, 0.05L, 0.05L, 0.01L, 0.001L},  // solenoid, half turn over
      {60, 12.5L, 0.1L, 0.1L, 0.1L, 0, 0.001L},
      {20, 4, 0, 0.02L, 0.1L, 0, 0.002L},           // flat spiral
      {25, 3.3L, 0.05L, 0.1L, 0.06L, 0.02L, 0.001L},  // cone narrowing upwards
      {500, 4, 0, 0.05L, 0.15L, 0, 0.001L},         // large enough for worker threads
  };
  for (const Row& r : rows) {
    Rig rig;
    const Extended v = MaxwellGeneralCoil(rig.ctx, r.nsm, r.N, r.h, r.rmin, r.rmax, r.b, r.wd);
    ASSERT_TRUE(rig.ctx.StopFlag);
    const Extended direct = literal::MaxwellGeneralCoil(r.nsm, r.N, r.h, r.rmin, r.rmax, r.b, r.wd);
    EXPECT_LT(Rel(v, direct), 1e-12) << r.nsm << " " << static_cast<double>(r.N);
    const auto drawn =
        literal::GeneralCoilPath(r.nsm, r.N, r.h, r.rmin, r.rmax, r.b, rig.ctx.map);
    EXPECT_EQ(FirstDifference(rig.Path(), WithoutRepeats(drawn)), "same") << r.nsm;
    EXPECT_EQ(rig.report.lines[0], "Calculating Maxwell inductance of a general coil...");
    EXPECT_EQ(rig.report.lines.size(), 3u);  // no rounding line for noninteger N
  }
  // Whole turns on a solenoid: the full double sum adds the same terms as the
  // reduced helix sum.
  for (int nsm : {1, 50, 300}) {
    Rig a, b;
    const Extended general = MaxwellGeneralCoil(a.ctx, nsm, 8, 0.05L, 0.07L, 0.07L, 0, 0.001L);
    const Extended helix = MaxwellSolenoid(b.ctx, nsm, 8, 0.05L, 0.07L, 0.07L, 0, 0.001L);
    EXPECT_LT(Rel(general, helix), 1e-12) << nsm;
    EXPECT_EQ(a.Path().back().back(), b.Path().back().back());  // both end in the same pixel
  }
}

TEST(SpiralPixel, DrawsWhereTheAccumulatedAngleFalls) {
  // The table cosine stands for indexAngle, the point lies at the accumulated angle:
  // after many steps the two differ by their rounding drift. A point that the drift
  // moves across a pixel boundary takes the pixel of the accumulated angle, which is
  // where the direct formula draws it.
  ScreenMapping map;
  map.KX = 1000;
  map.KY = -1000;
  map.OY = 100;
  struct Row {
    Extended drift;     // accumulated angle minus indexAngle
    Extended boundary;  // OX - 0.5: where x = 0 falls relative to a pixel boundary
  };
  for (const Row& r : {Row{1e-7L, 5e-5L}, Row{-1e-7L, -5e-5L}, Row{3e-10L, 1e-7L},
                       Row{1e-7L, 0}, Row{0, 0}}) {
    map.OX = 0.5L + r.boundary;
    const Extended indexAngle = kHalfPi;  // x = cos(angle) near 0
    const Extended angle = indexAngle + r.drift;
    auto at = [](Extended cs, Extended sn) { return std::pair{cs, 0.5L * sn}; };
    const CanvasPoint p = SpiralPixel(map, angle, indexAngle, std::cos(indexAngle),
                                      std::sin(indexAngle), 1, at);
    EXPECT_EQ(p.x, ToScreenX(map, static_cast<double>(std::cos(angle))))
        << static_cast<double>(r.drift) << " " << static_cast<double>(r.boundary);
    EXPECT_EQ(p.y, ToScreenY(map, static_cast<double>(0.5L * std::sin(angle))));
  }
}

TEST(MaxwellStop, ClickEndsTheSumWithinOneOuterSegment) {
  // A pump that plays the user's click on the k-th call: the window, seeing the sum
  // running, asks it to stop.
  struct Case {
    const char* name;
    std::function<Extended(TransformerContext&)> run;
  };
  const std::vector<Case> cases = {
      {"helix", [](TransformerContext& c) { return MaxwellSolenoid(c, 50, 6, 0.05L, 0.05L, 0.05L, 0, 0.001L); }},
      {"solenoid spiral", [](TransformerContext& c) { return MaxwellGeneralCoil(c, 50, 6, 0.05L, 0.05L, 0.05L, 0, 0.001L); }},
      {"flat spiral", [](TransformerContext& c) { return MaxwellGeneralCoil(c, 600, 8, 0, 0.02L, 0.1L, 0, 0.001L); }},
  };
  for (const Case& tc : cases) {
    Rig full;
    tc.run(full.ctx);
    const auto fullPath = full.Path();
    for (int clickAt : {1, 77, 130}) {
      Rig rig;
      int calls = 0;
      bool wasRunning = true;
      rig.ctx.pump = [&] {
        wasRunning = wasRunning && rig.ctx.Running();
        if (++calls == clickAt && rig.ctx.Running()) rig.stop = true;
      };
      EXPECT_EQ(tc.run(rig.ctx), 0);
      EXPECT_EQ(calls, clickAt) << tc.name;
      EXPECT_TRUE(wasRunning) << tc.name;
      EXPECT_FALSE(rig.ctx.StopFlag);
      EXPECT_EQ(rig.report.lines.back(), "Interrupted") << tc.name;
      // Exactly the segments done so far are drawn: a prefix of the whole picture
      // (one point per segment, repeats dropped).
      const auto path = rig.Path();
      ASSERT_FALSE(path.empty());
      const auto& last = path.back();
      const auto& same = fullPath[path.size() - 1];
      ASSERT_LE(last.size(), same.size());
      EXPECT_TRUE(std::equal(last.begin(), last.end(), same.begin())) << tc.name << " " << clickAt;
    }
  }
}

TEST(MaxwellStop, ClickDuringTheLastStepsIsTakenBeforeTheSumEnds) {
  // The window's pump serves it only now and then and may skip the last steps; a click
  // made then is taken by the final serving, while the caption still reads "Stop".
  for (int kind = 0; kind < 2; ++kind) {
    Rig rig;
    int served = 0;
    rig.ctx.pump = [] {};
    rig.ctx.pumpNow = [&] {
      ++served;
      if (rig.ctx.Running()) rig.stop = true;
    };
    const Extended L = kind == 0 ? MaxwellSolenoid(rig.ctx, 40, 5, 0.05L, 0.05L, 0.05L, 0, 0.001L)
                                 : MaxwellGeneralCoil(rig.ctx, 40, 5, 0, 0.02L, 0.1L, 0, 0.001L);
    EXPECT_EQ(L, 0) << kind;
    EXPECT_EQ(served, 1) << kind;
    EXPECT_FALSE(rig.ctx.StopFlag);
    EXPECT_EQ(rig.report.lines.back(), "Interrupted") << kind;
  }
  // Without such a click the sum ends as usual.
  Rig rig;
  int served = 0;
  rig.ctx.pumpNow = [&] { ++served; };
  EXPECT_GT(MaxwellSolenoid(rig.ctx, 40, 5, 0.05L, 0.05L, 0.05L, 0, 0.001L), 0);
  EXPECT_EQ(served, 1);
  EXPECT_TRUE(rig.ctx.StopFlag);
}

TEST(MaxwellStop, ThrottledPumpServesTheWindowOncePerIntervalWhateverTheStepLength) {
  // The window's pump goes through ThrottledPump, here on a clock the test moves.
  using std::chrono::microseconds;
  using std::chrono::milliseconds;
  microseconds clock{0};
  auto now = [&clock] { return std::chrono::nanoseconds(clock); };
  int passed = 0;
  microseconds inToolkit{0};  // time the window's event processing takes
  EventPump pump = ThrottledPump(
      [&] {
        ++passed;
        clock += inToolkit;
      },
      milliseconds(10), now);

  // Fast steps: one pass per 10 ms.
  for (int i = 0; i < 1000; ++i) {
    clock += microseconds(100);
    pump();
  }
  EXPECT_EQ(passed, 10);  // 100 ms of steps
  // Slow steps, after the fast ones: each step is served at its end, not every
  // 16th step only, so a Stop click waits for one step.
  passed = 0;
  for (int i = 0; i < 5; ++i) {
    clock += milliseconds(300);
    pump();
  }
  EXPECT_EQ(passed, 5);
  // The interval counts from the end of the event processing: a slow repaint does not
  // make every following step serve the window.
  passed = 0;
  inToolkit = milliseconds(50);
  for (int i = 0; i < 150; ++i) {
    clock += microseconds(100);
    pump();
  }
  EXPECT_EQ(passed, 1);
}

TEST(MaxwellCircular, SingleTurnIsTheSingleLoopValue) {
  Rig rig;
  const Extended L = MaxwellSolenoidCircular(rig.ctx, 1, 0, 0.1L, 0.1L, 0, 0.001L);
  EXPECT_TRUE(rig.ctx.StopFlag);
  EXPECT_TRUE(rig.report.lines.empty());
  EXPECT_EQ(L, -kMu0 * RingPairTerm(0.1L, 0.1L, -std::exp(-0.25L) * 0.0005L));
  EXPECT_NEAR(static_cast<double>(L), 7.0720765e-07, 1e-14);
  // The closed one-turn true spiral converges to it as the segments shrink.
  Extended previous = 1;
  for (int nsm : {500, 2000, 8000}) {
    Rig s;
    const Extended err = std::fabs(MaxwellGeneralCoil(s.ctx, nsm, 1, 0, 0.1L, 0.1L, 0, 0.001L) / L - 1);
    EXPECT_LT(err, previous) << nsm;
    previous = err;
  }
  EXPECT_LT(previous, 1e-5);
}

TEST(MaxwellCircular, RingSumsMatchNeumannIntegral) {
  // A 3-turn solenoid of radius 0.05 m and wire 2 mm: every turn of the coil against
  // every turn of its copy raised by the g.m.d.
  const Extended g = std::exp(-0.25L) * 0.001L;
  Extended expected = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) expected += literal::NeumannRings(0.05L, 0.05L, (i - j) * 0.01L - g, 40000);
  Rig rig;
  const Extended L = MaxwellSolenoidCircular(rig.ctx, 3, 0.03L, 0.05L, 0.05L, 0, 0.002L);
  EXPECT_LT(Rel(L, expected), 1e-12);

  // The general routine sums the same pairs in full and writes one line per pair:
  // minus the pair and minus the running total, in microhenries.
  Rig gen;
  const Extended Lg = MaxwellGeneralCircular(gen.ctx, 3, 0.03L, 0.05L, 0.05L, 0, 0.002L);
  EXPECT_LT(Rel(Lg, L), 1e-15);
  ASSERT_EQ(gen.report.lines.size(), 9u);
  const Extended t11 = RingPairTerm(0.05L, 0.05L, -g);
  EXPECT_EQ(gen.report.lines[0], "Termo=" + FixedStr(t11 * 0.4L * kPi, 10, 6) +
                                     " Integral=" + FixedStr(t11 * 0.4L * kPi, 10, 6));
  EXPECT_EQ(gen.report.lines[8].substr(gen.report.lines[8].find(" Integral=")),
            " Integral=" + FixedStr(-Lg * 1e6L, 10, 6));
  EXPECT_EQ(gen.Path().size(), 0u);
  int arcs = 0;
  for (const std::string& s : gen.canvas.calls) arcs += s.rfind("Arc ", 0) == 0;
  EXPECT_EQ(arcs, 3);
  EXPECT_EQ(gen.canvas.calls.front(), "PenColor FFFF00");
}

TEST(MaxwellDefaults, CoilsAgreeWithRosaCorrectedCurrentSheet) {
  struct Row {
    const char* name;
    Extended N, h, r, wd;
    double circularTol, helixTol;
  };
  // Rosa's A and B treat each turn as a straight wire and the turns as strips; the
  // coil shifted by g places every pair of distinct turns at k*p - g and k*p + g
  // instead of k*p, which adds about mu0*a*N*(g/p)^2*pi^2/6 (3e-4 of L for the
  // secondary, whose wire fills 72% of its pitch). Curvature adds terms of order
  // (p/a)^2 of the correction. The helix also differs from rings by the pitch.
  const std::vector<Row> rows = {
      {"primary", 12, 0.1L, 0.1L, 0.001L, 2e-4, 2e-4},
      {"secondary", 1152, 0.32L, 0.044L, 0.0002L, 5e-4, 5e-4},
  };
  for (const Row& r : rows) {
    const long double rosa = RosaInductance(r.r, r.h, r.N, r.wd);
    Rig rig;
    const Extended circular = MaxwellSolenoidCircular(rig.ctx, r.N, r.h, r.r, r.r, 0, r.wd);
    EXPECT_LT(Rel(circular, rosa), r.circularTol) << r.name;
    const Extended helix = MaxwellSolenoid(rig.ctx, 2000, r.N, r.h, r.r, r.r, 0, r.wd);
    EXPECT_LT(Rel(helix, rosa), r.helixTol) << r.name;
  }
}
