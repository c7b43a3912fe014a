// The toroid series against toroidal Legendre functions evaluated another way
// (quadrature of their integral representations), against Gauss's law over the
// surface field, and against the thin-ring and horn-torus limits.
#include <gtest/gtest.h>

#include <boost/math/quadrature/exp_sinh.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <cmath>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "electrostatics/other_shapes.h"
#include "electrostatics/ring_kernel.h"
#include "electrostatics/toroid.h"
#include "command_run.h"
#include "electrostatics/toroid_command.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "numerics/library_namespaces.h"

namespace {

const Extended kE0 = Eps0();

// Laplace's first integral: P_(n-1/2)(q) = (1/pi) int_0^pi (q + sqrt(q^2-1) cos t)^(n-1/2) dt.
Extended LaplaceP(int n, Extended q) {
  const Extended s = std::sqrt(q * q - 1);
  auto f = [&](Extended t) { return std::pow(q + s * std::cos(t), n - 0.5L); };
  return boost::math::quadrature::gauss_kronrod<Extended, 61>::integrate(f, 0.0L, kPi, 12,
                                                                          1e-18L) /
         kPi;
}

// Heine's integral: Q_(n-1/2)(q) = int_0^inf (q + sqrt(q^2-1) cosh t)^(-n-1/2) dt.
Extended HeineQ(int n, Extended q) {
  const Extended s = std::sqrt(q * q - 1);
  auto f = [&](Extended t) { return std::pow(q + s * std::cosh(t), -n - 0.5L); };
  static boost::math::quadrature::exp_sinh<Extended> integrator;
  return integrator.integrate(f, 1e-18L);
}

Extended Rel(Extended x, Extended ref) { return std::fabs(x / ref - 1); }

struct Tube {
  Extended D, d, a, R, q, c;
};
// The toroid whose surface is cosh(eta0) = q, tube diameter 0.3.
Tube TubeFor(Extended q) {
  Tube t;
  t.d = 0.3L;
  t.D = t.d * (q + 1);
  t.a = t.d / 2;
  t.R = t.D / 2 - t.a;
  t.q = t.R / t.a;
  t.c = std::sqrt(t.R * t.R - t.a * t.a);
  return t;
}

const Extended kArguments[] = {1.05L, 1.3L, 2.0L, 5.0L, 40.0L};

}  // namespace

TEST(ToroidalLegendre, StartingValuesAndRecurrenceMatchTheIntegrals) {
  for (Extended q : kArguments) {
    const Extended k = ToroidalModulus(q);
    HalfDegreePair P = ToroidalPStart(k);
    HalfDegreePair Q = ToroidalQStart(k);
    // EllipticKE stops its AGM at an absolute 1e-15: a few hundred ulps.
    EXPECT_LT(Rel(P.lower, LaplaceP(0, q)), 5e-16L) << q;
    EXPECT_LT(Rel(P.upper, LaplaceP(1, q)), 5e-16L) << q;
    EXPECT_LT(Rel(Q.lower, HeineQ(0, q)), 5e-16L) << q;
    // Q(1/2) = 2(K - E)/k - kK cancels about 1/k^2 = (q + 1)/2 of its digits.
    EXPECT_LT(Rel(Q.upper, HeineQ(1, q)), 5e-16L * (q + 1)) << q;
    // P grows: the forward recurrence keeps the digits of its starting values. Q decays
    // as fast as P grows, and its errors grow like P: what stays bounded is the
    // absolute error of the series term Q/P, far below 1e-17 of the first term whatever
    // the degree.
    const Extended firstTerm = Q.lower / P.lower;
    for (int n = 1; n <= 12; ++n) {
      AdvanceToroidal(P, n, q);
      AdvanceToroidal(Q, n, q);
      const Extended Pn = LaplaceP(n + 1, q);
      EXPECT_LT(Rel(P.upper, Pn), 5e-16L) << q << " n=" << n;
      EXPECT_LT(std::fabs(Q.upper / P.upper - HeineQ(n + 1, q) / Pn), 1e-17L * firstTerm)
          << q << " n=" << n;
    }
  }
}

// The series stop once a term is below 1e-14 of the sum; the terms fall by rho each
// degree, so the neglected tail is up to 1e-14 rho/(1 - rho) of the sum.
Extended TailBound(Extended rho) { return 2e-15L + 1e-14L * rho / (1 - rho); }
// q - sqrt(q^2 - 1) = e^(-eta0): the ratio of successive 1/P terms.
Extended Decay(Extended q) { return q - std::sqrt(q * q - 1); }

TEST(ExactToroid, CapacitanceIsTheSeriesOfIndependentLegendreFunctions) {
  // C = 8 eps0 c sum eps_n Q_(n-1/2)(q)/P_(n-1/2)(q), the terms falling like
  // (q + sqrt(q^2 - 1))^(-2n).
  VectorReport none;
  for (Extended q : kArguments) {
    const Tube t = TubeFor(q);
    Extended sum = HeineQ(0, t.q) / LaplaceP(0, t.q);
    for (int n = 1; n < 400; ++n) {
      const Extended term = 2 * HeineQ(n, t.q) / LaplaceP(n, t.q);
      sum += term;
      if (term < 1e-22L * sum) break;
    }
    const Extended expected = 8 * kE0 * t.c * sum;
    const ToroidSeries C = ExactToroidCapacitanceSeries(t.D, t.d, kE0, {false, true}, none);
    EXPECT_TRUE(C.hasHole);
    EXPECT_FALSE(C.failed);
    EXPECT_LT(Rel(C.value, expected), TailBound(Decay(t.q) * Decay(t.q))) << q;
    EXPECT_LT(std::fabs(C.lastRelativeError), kToroidSeriesTolerance);
  }
  EXPECT_TRUE(none.lines.empty());  // neither details nor counts in table mode
}

TEST(ExactToroid, GaussLawOverTheSurfaceFieldGivesTheCapacitance) {
  // The normal field at 1 V on the surface eta0, with h = c/(q - cos theta) the scale
  // factor and r = c sinh(eta0)/(q - cos theta) the distance from the axis:
  //   E(theta) = 2 sqrt(2) (q - cos theta)^(3/2)/(pi d (q^2 - 1)) sum eps_n cos(n theta)/P_(n-1/2)(q).
  // Its largest value is at theta = 0, and eps0 times its flux is the charge C.
  VectorReport none;
  for (Extended q : {1.3L, 2.0L, 5.0L}) {
    const Tube t = TubeFor(q);
    std::vector<Extended> invP;
    for (int n = 0; n < 200; ++n) {
      invP.push_back((n ? 2 : 1) / LaplaceP(n, t.q));
      if (invP.back() < 1e-24L) break;
    }
    auto field = [&](Extended theta) {
      Extended s = 0;
      for (std::size_t n = 0; n < invP.size(); ++n) s += invP[n] * std::cos(n * theta);
      const Extended w = t.q - std::cos(theta);
      return 2 * std::sqrt(2.0L) * std::pow(w, 1.5L) / (kPi * t.d * (t.q * t.q - 1)) * s;
    };
    const Extended Emax = ExactToroidMaxField(t.D, t.d, {false, true}, none);
    EXPECT_LT(Rel(Emax, field(0)), TailBound(Decay(t.q))) << q;
    // The periodic trapezoidal rule converges geometrically for this smooth integrand.
    const int m = 2000;
    Extended flux = 0, largest = 0;
    for (int i = 0; i < m; ++i) {
      const Extended theta = -kPi + 2 * kPi * i / m;
      const Extended w = t.q - std::cos(theta);
      const Extended E = field(theta);
      largest = std::max(largest, E);
      flux += E * (t.c / w) * 2 * kPi * (t.c * std::sqrt(t.q * t.q - 1) / w);
    }
    flux *= 2 * kPi / m;
    EXPECT_LE(largest, Emax * (1 + TailBound(Decay(t.q)))) << q;
    EXPECT_LT(Rel(kE0 * flux, ExactToroidCapacitance(t.D, t.d, kE0, {false, true}, none)),
              1e-14L)
        << q;
  }
}

TEST(ExactToroid, ThinAndHornLimits) {
  VectorReport none;
  // A thin ring of wire: 4 pi^2 eps0 R/ln(8R/a), with an error of order (a/R)^2 ln(R/a).
  for (Extended d : {1e-2L, 1e-3L, 1e-4L, 1e-5L}) {
    const Extended a = d / 2, R = 0.5L - a;
    const Extended ring = 4 * kPi * kPi * kE0 * R / std::log(8 * R / a);
    const Extended bound = (a / R) * (a / R) * std::log(8 * R / a);
    EXPECT_LT(Rel(ExactToroidCapacitance(1, d, kE0, {false, true}, none), ring), bound) << d;
    EXPECT_LT(Rel(ThinToroidCapacitance(1, d, kE0), ring), bound) << d;
  }
  // Toward the horn torus (D -> 2d) the terms fall ever more slowly; the sum tends to the
  // horn torus's 0.87069013 of the sphere of the same outer diameter.
  std::int32_t previousSteps = 0;
  for (Extended eps : {1e-3L, 1e-5L, 1e-7L}) {
    const Extended D = 0.6L * (1 + eps);
    const ToroidSeries C = ExactToroidCapacitanceSeries(D, 0.3L, kE0, {false, true}, none);
    EXPECT_LT(Rel(C.value, 2 * kPi * kE0 * 0.6L * 0.87069013L), 2e-8L + 10 * eps) << eps;
    EXPECT_GT(C.steps, 2 * previousSteps);
    previousSteps = C.steps;
  }
}

TEST(ExactToroid, NoHoleGivesZeroAndOnlyTheCapacitanceDetailsBeforeTheTest) {
  for (const auto& [D, d] : {std::pair{0.6L, 0.3L}, {0.9L, 0.0L}, {0.9L, -0.3L}, {-1.0L, 0.1L}}) {
    VectorReport lines;
    EXPECT_EQ(ExactToroidCapacitance(D, d, kE0, {true, false}, lines), 0) << D << " " << d;
    EXPECT_EQ(lines.lines.size(), 3u);  // e0, circle radius, centre radius
    EXPECT_EQ(ExactToroidMaxField(D, d, {true, false}, lines), 0);
    EXPECT_EQ(lines.lines.size(), 3u);
  }
}

TEST(ExactToroid, DetailLinesForTheDefaultToroid) {
  VectorReport r;
  const Extended C = ExactToroidCapacitance(0.9L, 0.3L, kE0, {true, false}, r);
  const Extended E = ExactToroidMaxField(0.9L, 0.3L, {true, false}, r);
  EXPECT_NEAR(static_cast<double>(C / 1e-12L), 40.584, 0.001);
  EXPECT_NEAR(static_cast<double>(E), 3.534, 0.001);
  const std::vector<std::string> head = {
      "e0:      8.85418781762038985E-0012",
      "Circle radius:    0.1500000000 m",
      "Center radius:    0.3000000000 m",
      "Capacitance calculation:",
      "Argument for Legendre functions:    2.0000000000",
      "P-0.5:    0.9012862994 Q-0.5:    1.6566381702",
      "P+0.5:    1.3291381622 Q+0.5:    0.2240142928",
  };
  ASSERT_GT(r.lines.size(), 40u);
  EXPECT_EQ(std::vector<std::string>(r.lines.begin(), r.lines.begin() + 7), head);
  // Steps 1 to 9 of the capacitance, 1 to 19 of the field, each with its count line.
  EXPECT_EQ(r.lines[8], "P+1.5:    3.2439396660 Q+1.5:    0.0451587242");
  EXPECT_EQ(r.lines[16], "P+9.5: 50988.7255016176 Q+9.5:    0.0000005664");
  EXPECT_EQ(r.lines[17],
            "Capacitance: Used  14 terms of the series. Last relative error:  3.8E-0015");
  EXPECT_EQ(r.lines[18], "Maximum electric field calculation (better formula):");
  EXPECT_EQ(r.lines[21], "P+0.5: 1.3291 Emax: 1.109525");
  EXPECT_EQ(r.lines[22], "P+1.5: 3.2439 Emax: 2.614260+/- 5.8E-0001");
  EXPECT_EQ(r.lines.size(), 18u + 4 + 19 + 1);
  EXPECT_EQ(r.lines.back(),
            "Electric field: Used  28 terms of the series. Last relative error:  3.5E-0015");
}

TEST(ExactToroid, BrokenQRecurrenceIsReportedAndTheSumSoFarKept) {
  // A very thin tube (q ~ 1e8): Q(1/2) comes from a difference of nearly equal elliptic
  // terms and the first recurrence step turns it negative.
  VectorReport r;
  const ToroidSeries C = ExactToroidCapacitanceSeries(1, 1e-8L, kE0, {false, false}, r);
  EXPECT_TRUE(C.failed);
  EXPECT_EQ(C.steps, 1);
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[0], "Failure in the calculation of Qn+1/2 for n=1");
  EXPECT_EQ(r.lines[1].rfind("Capacitance: Used   3 terms of the series.", 0), 0u);
  const Extended a = 0.5e-8L, R = 0.5L - a;
  EXPECT_LT(Rel(C.value, 4 * kPi * kPi * kE0 * R / std::log(8 * R / a)), 1e-12L);
}

// ---------------------------------------------------------------------------------
// The window's command in single and table mode.
// ---------------------------------------------------------------------------------
namespace {

using Lines = std::vector<std::string>;

// A directory of its own for each table.
struct TableDir {
  std::string path;
  TableDir() {
    std::string templ = ::testing::TempDir() + "toroid_XXXXXX";
    path = ::mkdtemp(templ.data());
  }
  ~TableDir() {
    std::remove(File().c_str());
    ::rmdir(path.c_str());
  }
  std::string File() const { return path + "/toroid.dat"; }
  std::string Text() const {
    std::ifstream f(File(), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
};

Lines Toroid(const FieldValues& fields, const std::string& dir = "", Extended Emax = 3000) {
  CommandEnv env = command_run::WithBreakdown(Emax);
  env.directory = dir;
  return command_run::LinesOf(ToroidFieldDefs(), &ToroidCommand, fields, env);
}

Extended Number(const std::string& line, const std::string& unit) {
  const std::size_t end = line.rfind(unit);
  const std::size_t start = line.find_last_of(" :", end - 1) + 1;
  return std::stold(line.substr(start, end - start));
}

}  // namespace

TEST(ToroidCommand, SingleModeDefaults) {
  const Lines r = Toroid({});
  ASSERT_EQ(r.size(), 2u + 7 + 18);
  EXPECT_EQ(r[0], "");
  EXPECT_EQ(r[1], "");
  EXPECT_EQ(r[2], "Capacitance: Used  14 terms of the series. Last relative error:  3.8E-0015");
  EXPECT_EQ(r[3].substr(0, 42), "Exact capacitance of a  0.90x 0.30 toroid:");
  EXPECT_NEAR(static_cast<double>(Number(r[3], " pF")), 40.584, 0.0005);
  EXPECT_EQ(r[4].rfind("Electric field: Used  28 terms", 0), 0u);
  EXPECT_EQ(r[5].substr(0, 38), "Exact maximum surface electric field: ");
  EXPECT_NEAR(static_cast<double>(Number(r[5], " V/m/V")), 3.534, 0.0005);
  EXPECT_EQ(r[6], "Exact breakdown voltage:   848.8456kV");
  EXPECT_EQ(r[7], "Thin toroid capacitance:   38.1918284124 pF");
  EXPECT_EQ(r[8], "Approximate toroid capacitance:   40.2000000000 pF");
  VectorReport shapes;
  ListOtherShapes(0.9L, 0.3L, Eps0(), shapes);
  EXPECT_EQ(Lines(r.begin() + 9, r.end()), shapes.lines);
  // The breakdown voltage follows the program-wide setting.
  EXPECT_EQ(Toroid({}, "", 1500)[6], "Exact breakdown voltage:   424.4228kV");
  // Details: the capacitance's own lines come before its result line.
  const Lines details = Toroid({{"CBdetails", "1"}});
  EXPECT_EQ(details.size(), r.size() + 3 + 4 + 1 + 9 + 4 + 19);
  EXPECT_EQ(details[2].rfind("e0: ", 0), 0u);
}

TEST(ToroidCommand, WithoutAHole) {
  // D = 2d: the message instead of the five toroid lines, then the other shapes.
  const Lines r = Toroid({{"Emajor", "0.6"}});
  ASSERT_EQ(r.size(), 3u + 16);
  EXPECT_EQ(r[2], "A toroid must have a hole in the center for the exact calculation.");
  EXPECT_EQ(Toroid({{"Eminor", "0"}})[2], r[2]);
}

TEST(ToroidCommand, TableFileAndItsTenReportLines) {
  TableDir dir;
  // One value: one report line, no "...", one value on the header's second line.
  const Lines one = Toroid({{"CBtabela", "1"}}, dir.path);
  EXPECT_EQ(one, (Lines{"", "", "Table of exact toroid capacitances:",
                        " 0.900x 0.300:     40.58397331080407890 pF",
                        "Table saved in file toroid.dat"}));
  EXPECT_EQ(dir.Text(),
            "Exact toroid capacitances (diameters in meters, capacitances in pF)\r\n"
            "Minor d.   0.300\r\n"
            "Major d.\r\n"
            "   0.900  40.584\r\n");

  // Ten values exactly: no "..."; eleven: the "..." line. Values from their index.
  const FieldValues ten = {{"CBtabela", "1"}, {"En1", "2"}, {"En2", "5"}, {"Emajorto", "1.3"},
                           {"Eminor", "0.1"}, {"Eminorto", "0.5"}};
  const Lines r10 = Toroid(ten, dir.path);
  EXPECT_EQ(r10.size(), 3u + 10 + 1);
  EXPECT_EQ(r10[3].substr(0, 15), " 0.900x 0.100: ");
  EXPECT_EQ(r10[12].substr(0, 15), " 1.300x 0.500: ");
  EXPECT_EQ(r10.back(), "Table saved in file toroid.dat");
  FieldValues eleven = ten;
  eleven["En1"] = "11";
  eleven["En2"] = "1";
  const Lines r11 = Toroid(eleven, dir.path);
  EXPECT_EQ(r11.size(), 3u + 10 + 2);
  EXPECT_EQ(r11[r11.size() - 2], "...");
  // The last D is the end of the range (computed from its index, not accumulated).
  const std::string last = dir.Text().substr(dir.Text().size() - 18);
  EXPECT_EQ(last.substr(0, 9), "   1.300 ");
  VectorReport none;
  EXPECT_NEAR(std::stod(last.substr(9)),
              static_cast<double>(ExactToroidCapacitance(1.3L, 0.1L, Eps0(), {}, none) / 1e-12L),
              0.0005);

  // No rows at all: the three header lines.
  Toroid({{"CBtabela", "1"}, {"En1", "0"}, {"En2", "3"}}, dir.path);
  EXPECT_EQ(dir.Text(),
            "Exact toroid capacitances (diameters in meters, capacitances in pF)\r\n"
            "Minor d.   0.300   0.300   0.300\r\n"
            "Major d.\r\n");
}

TEST(ToroidCommand, VoltagesShareTheReportBudgetAndCellsWithoutAHole) {
  TableDir dir;
  const FieldValues f = {{"CBtabela", "1"}, {"CBvolt", "1"}, {"En1", "2"}, {"En2", "3"},
                         {"Emajor", "0.5"}, {"Emajorto", "0.9"}, {"Eminor", "0.2"},
                         {"Eminorto", "0.3"}};
  const Lines r = Toroid(f, dir.path, 1500);
  // Capacitances of row 1, its voltages, capacitances of row 2, the first voltage of row 2.
  ASSERT_EQ(r.size(), 3u + 10 + 1);  // 6 values: no "..."
  EXPECT_EQ(r[3].substr(0, 15), " 0.500x 0.200: ");
  EXPECT_EQ(r[4], " 0.500x 0.250:      0.00000000000000000 pF");  // D = 2d: no hole
  EXPECT_EQ(r[7], " 0.500x 0.250:      0.00000000000000000 kV");
  EXPECT_EQ(r[12].substr(0, 15), " 0.900x 0.200: ");
  EXPECT_EQ(r[12].substr(r[12].size() - 3), " kV");
  VectorReport none;
  EXPECT_NEAR(static_cast<double>(Number(r[6], " kV") * ExactToroidMaxField(0.5L, 0.2L, {}, none)),
              1500.0, 1e-9);
  const std::string text = dir.Text();
  EXPECT_EQ(text.substr(0, 85),
            "Exact toroid capacitances (diameters in meters, capacitances in pF, voltages in kV)\r\n");
  EXPECT_NE(text.find("\r\n   0.500  23.265 ------- -------\r\n          256.25 ------- -------\r\n"),
            std::string::npos)
      << text;
  // Details are not written in table mode, whatever the check box holds.
  EXPECT_EQ(Toroid({{"CBtabela", "1"}, {"CBdetails", "1"}}, dir.path).size(), 5u);
}

TEST(ToroidCommand, UnwritableTableIsAnErrorNamingTheFileAfterTheLinesSoFar) {
  CommandEnv env;
  env.directory = ::testing::TempDir() + "no/such/dir";
  const Result r = command_run::Run(ToroidFieldDefs(), &ToroidCommand, {{"CBtabela", "1"}}, env);
  EXPECT_EQ(r.status, CommandStatus::Fault);
  EXPECT_NE(r.message.find("toroid.dat"), std::string::npos) << r.message;
  EXPECT_EQ(r.lines.size(), 4u);  // the computed value stays; nothing claims a save
  // A table too large to hold is refused before anything is computed.
  for (const auto& [I, J] : {std::pair{"100000", "100"}, {"0", "2000000000"}, {"2000000000", "0"}}) {
    const Lines big = Toroid({{"CBtabela", "1"}, {"En1", I}, {"En2", J}});
    EXPECT_EQ(big.back(), "Too large table (max=10000000 values)") << I << " " << J;
    EXPECT_EQ(command_run::Run(ToroidFieldDefs(), &ToroidCommand,
                               {{"CBtabela", "1"}, {"En1", I}, {"En2", J}})
                  .status,
              CommandStatus::Refused);
    EXPECT_EQ(big.size(), 4u);
  }
}

// The step bounds that price a table against the steps the series really take, from a
// hole just inside the margin (q - 1 = 1.3e-11, both series at the step limit) to a
// thin ring (q = 1e7): never below, and close enough (10 % and a few steps) that a
// table is not refused for work it would not do.
TEST(ToroidStepBounds, BoundTheStepsOfBothSeriesFromTheHornToTheThinRing) {
  VectorReport none;
  const ToroidSwitches quiet{false, true};
  for (Extended lg = -10.9L; lg <= 7.0L; lg += 0.25L) {
    const Tube t = TubeFor(1 + std::pow(10.0L, lg));
    const ToroidStepBounds b = ToroidSeriesStepBounds(t.D, t.d);
    const ToroidSeries C = ExactToroidCapacitanceSeries(t.D, t.d, kE0, quiet, none);
    const ToroidSeries E = ExactToroidMaxFieldSeries(t.D, t.d, quiet, none);
    ASSERT_TRUE(C.hasHole) << static_cast<double>(lg);
    EXPECT_GE(b.capacitance, C.steps) << static_cast<double>(lg);
    EXPECT_LE(b.capacitance, 1.1L * C.steps + 8) << static_cast<double>(lg);
    EXPECT_GE(b.field, E.steps) << static_cast<double>(lg);
    EXPECT_LE(b.field, 1.1L * E.steps + 8) << static_cast<double>(lg);
  }
  // No hole, no tube, nonsense: no series runs.
  for (const auto& [D, d] : {std::pair{0.6L, 0.3L}, {0.6000000000001L, 0.3L}, {0.9L, 0.0L},
                             {-0.9L, 0.3L}, {0.9L, -0.3L}}) {
    const ToroidStepBounds b = ToroidSeriesStepBounds(D, d);
    EXPECT_EQ(b.capacitance + b.field, 0) << static_cast<double>(D) << " " << static_cast<double>(d);
  }
}

// The series work of a table: refused past its budget with one line after the title,
// nothing computed and no file written; ordinary tables of the largest size, and even a
// fine grid up to the horn torus, stay far inside it.
TEST(ToroidCommand, TableWorkBound) {
  const std::string kRefused = "Too many series terms for the table (max=500000000)";
  struct Row {
    FieldValues fields;
    bool refused;
  };
  // Cells with D = 0.6 m (1 + 1.7e-11 ... 2.5e-11), d = 0.3 m: both series of every
  // cell at the step limit, 2 000 002 steps a cell with the voltages.
  const FieldValues horn = {{"CBtabela", "1"}, {"Emajor", "0.60000000001"},
                            {"Emajorto", "0.600000000015"}, {"Eminor", "0.3"},
                            {"Eminorto", "0.3"}, {"En2", "1"}};
  auto with = [](FieldValues f, std::initializer_list<std::pair<const char*, const char*>> set) {
    for (const auto& [name, text] : set) f[name] = text;
    return f;
  };
  const Row rows[] = {
      {with(horn, {{"En1", "3000"}, {"En2", "3000"}}), true},  // days of work before
      {with(horn, {{"En1", "251"}, {"CBvolt", "1"}}), true},   // 5.02e8 terms
      {with(horn, {{"En1", "501"}}), true},                    // capacitances alone
      {with(horn, {{"En1", "2"}, {"CBvolt", "1"}}), false},
  };
  for (const Row& row : rows) {
    TableDir dir;
    const Lines r = Toroid(row.fields, dir.path);
    if (row.refused) {
      EXPECT_EQ(r, (Lines{"", "", "Table of exact toroid capacitances:", kRefused}));
      EXPECT_FALSE(std::ifstream(dir.File()).good()) << "a refused table wrote its file";
    } else {
      EXPECT_EQ(r.back(), "Table saved in file toroid.dat");
    }
  }
  // Tables of the largest size the file admits over ordinary toroids, and 10^6 cells
  // crowding D = 2d (d/D from 0.475 to 0.5).
  const ToroidTableRanges ordinary{0.5L, 2.0L, 0.05L, 0.5L, 2236, 2236, true};
  const ToroidTableRanges crowded{0.6L, 0.61L, 0.29L, 0.3L, 1000, 1000, true};
  for (const ToroidTableRanges& t : {ordinary, crowded})
    EXPECT_LT(ToroidTableTerms(t), kToroidTableMaxTerms / 2) << t.I;
}
