// The tables of the elliptic-integrals window: whole lines where the text is fixed,
// the printed values against Boost.Math, and what the window does with entries it
// cannot tabulate.
#include "elliptic_test/elliptic_tables.h"

#include <gtest/gtest.h>

#include <boost/math/special_functions/ellint_1.hpp>
#include <boost/math/special_functions/ellint_2.hpp>
#include <boost/math/special_functions/heuman_lambda.hpp>
#include <cmath>

#include "command_run.h"
#include "transformer/report_match.h"
#include "numerics/library_namespaces.h"

using report_match::ExpectLayout;
using Lines = std::vector<std::string>;

namespace {

Lines Complete(const FieldValues& f) {
  return command_run::LinesOf(CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand, f);
}

Lines Incomplete(const FieldValues& f) {
  return command_run::LinesOf(IncompleteIntegralsFieldDefs(), &IncompleteIntegralsCommand, f);
}

// The number after label in line (which must start with it).
long double After(const std::string& line, const std::string& label) {
  EXPECT_EQ(line.rfind(label, 0), 0u) << line;
  return std::stold(line.substr(label.size()));
}

// The two values of an "E(k)=... F(k)=..." line after its method letter.
std::pair<long double, long double> EandK(const std::string& line) {
  const std::size_t f = line.find(" F(k)=");
  return {std::stold(line.substr(line.find("E(k)=") + 5)), std::stold(line.substr(f + 6))};
}

const char kHeading[] = "Testing evaluation methods for complete elliptic integrals:";
const char kIncompleteHeading[] = "Testing incomplete elliptic integrals (numerical integration):";
const char kAtZero[] = "a)E(k)=1.570796326794897 F(k)=1.570796326794897 (1 cycles)";

}  // namespace

TEST(CompleteTable, DefaultsTabulateThreeModuliAgainstBoost) {
  const Lines lines = Complete({});
  ExpectLayout(lines, {kHeading, "k=0.0000000000", kAtZero, "k=0.4500000000",
                       "a)E(k)={17.15} F(k)={17.15} ({I} cycles)", "k=0.9000000000",
                       "a)E(k)={17.15} F(k)={17.15} ({I} cycles)"});
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[2], kAtZero);
  // 15 decimals of values near 1.5: the AGM's absolute 1e-15 tolerance plus the
  // printing's half unit in the last place.
  for (const auto& [i, k] : {std::pair{4, 0.45L}, std::pair{6, 0.9L}}) {
    const auto [E, K] = EandK(lines[i]);
    EXPECT_NEAR(E, boost::math::ellint_2(k), 2e-15L) << k;
    EXPECT_NEAR(K, boost::math::ellint_1(k), 2e-15L) << k;
  }
}

TEST(CompleteTable, MethodsAndCounts) {
  // Simpson and the series beside the AGM at k = 0.5; the series stops at a term below
  // 1e-7, so it agrees to about 8 digits only.
  const Lines lines =
      Complete({{"Ek1", "0.5"}, {"Enk", "1"}, {"CBSimpson", "1"}, {"CBserie", "1"}});
  ExpectLayout(lines, {kHeading, "k=0.5000000000",
                       "a)E(k)=1.467462209339427 F(k)=1.685750354812596 (4 cycles)",
                       "b)E(k)={17.15} F(k)={17.15} (100000 intervals)",
                       "c)E(k)={17.15} F(k)={17.15} (10 terms)"});
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[2], "a)E(k)=1.467462209339427 F(k)=1.685750354812596 (4 cycles)");
  const auto [Es, Ks] = EandK(lines[3]);
  EXPECT_NEAR(Es, 1.467462209339427L, 3e-15L);
  EXPECT_NEAR(Ks, 1.685750354812596L, 3e-15L);
  const auto [Ec, Kc] = EandK(lines[4]);
  EXPECT_NEAR(Ec, 1.4674622100L, 1e-10L);
  EXPECT_NEAR(Kc, 1.6857503411L, 1e-10L);

  // One value tabulates the first entry only, none writes the heading alone, and a
  // negative count says so.
  EXPECT_EQ(Complete({{"Enk", "0"}}), Lines{kHeading});
  EXPECT_EQ(Complete({{"Enk", "1"}, {"Ek2", "0.5"}}), (Lines{kHeading, "k=0.0000000000", kAtZero}));
  EXPECT_EQ(Complete({{"Enk", "-2"}}),
            (Lines{kHeading, "The numbers of values must not be negative"}));
  // The c count matters only where c is tabulated.
  EXPECT_EQ(Complete({{"Enk", "1"}, {"Enc", "-1"}}), (Lines{kHeading, "k=0.0000000000", kAtZero}));
  EXPECT_EQ(Complete({{"RG123", "2"}, {"Enc", "-1"}}),
            (Lines{kHeading, "The numbers of values must not be negative"}));
}

TEST(CompleteTable, ThirdKind) {
  const FieldValues one{{"Ek1", "0.5"}, {"Enk", "1"}, {"Ec1", "0.3"}, {"Enc", "1"},
                        {"CBSimpson", "1"}, {"CBserie", "1"}};
  FieldValues both = one;
  both["RG123"] = "1";
  const Lines lines = Complete(both);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1], "k=0.5000000000 c=0.3000000000");
  EXPECT_EQ(lines[2], "a)E(k)=1.467462209339427 F(k)=1.685750354812596 (4 cycles, K, E only)");
  EXPECT_EQ(lines[3], "a)E(k)=1.467462209339427 F(k)=1.685750354812596 (4 cycles, K, E, II)");
  EXPECT_EQ(lines[4], "a)II(k,c)=1.770143145144356 (4 cycles)");
  ExpectLayout({lines[5]}, {"b)II(k,c)={17.15} (100000 intervals)"});
  EXPECT_NEAR(After(lines[5], "b)II(k,c)="), 1.770143145144356L, 3e-15L);

  // Pi alone: no K and E lines, and the series (greyed out there) adds nothing.
  FieldValues only = one;
  only["RG123"] = "2";
  EXPECT_EQ(Complete(only), (Lines{kHeading, lines[1], lines[4], lines[5]}));
  // A characteristic near 1 takes the p sequence longer than K and E need. The value is
  // 3.6162828520451179176 (Boost.Math's ellint_3(0.1, 0.81)): ...118 to 15 decimals.
  EXPECT_EQ(Complete({{"RG123", "2"}, {"Ek1", "0.1"}, {"Enk", "1"}, {"Ec1", "0.9"}, {"Enc", "1"}}),
            (Lines{kHeading, "k=0.1000000000 c=0.9000000000",
                   "a)II(k,c)=3.616282852045118 (6 cycles)"}));
}

TEST(CompleteTable, SquaredEntriesTabulateTheirRoots) {
  // 0.25 entered as k*k is the modulus 0.5, printed as entered.
  const Lines squared = Complete({{"CBk2c2", "1"}, {"Ek1", "0.25"}, {"Enk", "1"}});
  const Lines plain = Complete({{"Ek1", "0.5"}, {"Enk", "1"}});
  EXPECT_EQ(squared, (Lines{kHeading, "k=0.2500000000", plain[2]}));
  const Lines squaredPi = Complete({{"CBk2c2", "1"}, {"RG123", "2"}, {"Ek1", "0.25"},
                                    {"Enk", "1"}, {"Ec1", "0.09"}, {"Enc", "1"}});
  const Lines plainPi =
      Complete({{"RG123", "2"}, {"Ek1", "0.5"}, {"Enk", "1"}, {"Ec1", "0.3"}, {"Enc", "1"}});
  EXPECT_EQ(squaredPi, (Lines{kHeading, "k=0.2500000000 c=0.0900000000", plainPi[2]}));

  // A range falling to 0 overshoots it by rounding (0.01 - 5 * 0.002 < 0): that last
  // entry is the modulus 0, not the square root of a negative number.
  const Lines down = Complete(
      {{"CBk2c2", "1"}, {"CBdt", "1"}, {"Ek1", "0.01"}, {"Ek2", "0"}, {"Enk", "6"}});
  ASSERT_EQ(down.size(), 1u + 5 * 6 + 3);
  EXPECT_EQ(down[down.size() - 3], "k=-0.0000000000");
  EXPECT_EQ(down[down.size() - 2], kAtZero);
  EXPECT_EQ(down.back(), "Invalid modulus for derivatives");
}

TEST(CompleteTable, EntriesItRefuses) {
  const std::pair<FieldValues, Lines> cases[] = {
      {{{"Ek2", "1"}}, {"The arguments must be smaller than 1"}},
      {{{"Ek1", "-1.5"}}, {"The arguments must be smaller than 1"}},
      {{{"Ec2", "-1"}}, {"The arguments must be smaller than 1"}},
      {{{"CBk2c2", "1"}, {"Ek1", "1"}}, {"The arguments must be smaller than 1"}},
      {{{"CBk2c2", "1"}, {"Ek1", "-0.25"}}, {"The arguments k^2 and c^2 must not be negative"}},
      {{{"CBk2c2", "1"}, {"Ec2", "-0.5"}}, {"The arguments k^2 and c^2 must not be negative"}},
      // Table sizes: rows of k alone, or of k and c pairs, and fewer with Simpson's rule.
      {{{"Enk", "10001"}},
       {kHeading, "Too many values in the table (max=10000)"}},
      {{{"Enk", "2147483647"}, {"Enc", "2147483647"}, {"RG123", "1"}},
       {kHeading, "Too many values in the table (max=10000)"}},
      {{{"Enk", "20"}, {"Enc", "16"}, {"RG123", "2"}, {"CBSimpson", "1"}},
       {kHeading, "Too many values for numerical integration (max=300)"}},
  };
  for (const auto& [fields, expected] : cases) EXPECT_EQ(Complete(fields), expected);
}

TEST(CompleteTable, DerivativesAgreeWithDifferencesAndBoost) {
  const Lines lines = Complete({{"CBdt", "1"}, {"Ek1", "0"}, {"Ek2", "0.9"}, {"Enk", "4"}});
  ASSERT_EQ(lines.size(), 1u + 3 + 3 * 6);
  EXPECT_EQ(lines[3], "Invalid modulus for derivatives");
  for (int i = 1; i <= 3; ++i) {
    const long double k = 0.3L * i;
    const std::size_t at = 4 + 6 * (i - 1);
    ExpectLayout(Lines(lines.begin() + at, lines.begin() + at + 6),
                 {"k={12.10}", "a)E(k)={17.15} F(k)={17.15} ({I} cycles)", "a) dK/dk={17.15}",
                  "a) dE/dk={17.15}", "dK/dk=~{17.15}", "dE/dk=~{17.15}"});
    const long double dK = After(lines[at + 2], "a) dK/dk=");
    const long double dE = After(lines[at + 3], "a) dE/dk=");
    // Central differences of Boost's integrals, step 1e-5: truncation h^2 f'''/6, below
    // 1e-8 relative up to k = 0.9.
    const long double h = 1e-5L;
    using boost::math::ellint_1;
    using boost::math::ellint_2;
    EXPECT_NEAR(dK, (ellint_1(k + h) - ellint_1(k - h)) / (2 * h), 1e-8L * std::fabs(dK)) << k;
    EXPECT_NEAR(dE, (ellint_2(k + h) - ellint_2(k - h)) / (2 * h), 1e-8L * std::fabs(dE)) << k;
    // The forward differences: truncation h*f''/2 with h = 1e-8, and the AGM's 1e-15
    // over 1e-8.
    EXPECT_NEAR(After(lines[at + 4], "dK/dk=~"), dK, 1e-6L * std::fabs(dK)) << k;
    EXPECT_NEAR(After(lines[at + 5], "dE/dk=~"), dE, 1e-6L * std::fabs(dE)) << k;
  }
  // Within 1e-8 of 1 there is no K to difference with.
  const Lines edge = Complete({{"CBdt", "1"}, {"Ek1", "0.999999995"}, {"Enk", "1"}});
  ASSERT_EQ(edge.size(), 6u);
  EXPECT_EQ(edge[5], "No forward difference: k+1e-8 is not smaller than 1");
}

TEST(IncompleteTable, DefaultsAgainstBoostAndIdentities) {
  const Lines lines = Incomplete({});
  const std::string values = "F(k,phi)={19.17}; E(k,phi)={19.17}";
  ExpectLayout(lines, {kIncompleteHeading, "arcsin(k)= 0.00; phi= 0.00 (degrees):", values,
                       "A(k,phi)={19.17}", "arcsin(k)= 0.00; phi=80.00 (degrees):", values,
                       "A(k,phi)={19.17}", "arcsin(k)=80.00; phi= 0.00 (degrees):", values,
                       "A(k,phi)={19.17}", "arcsin(k)=80.00; phi=80.00 (degrees):", values,
                       "A(k,phi)={19.17}"});
  ASSERT_EQ(lines.size(), 13u);
  const std::string zeros = "F(k,phi)=0.00000000000000000; E(k,phi)=0.00000000000000000";
  EXPECT_EQ(lines[2], zeros);
  EXPECT_EQ(lines[3], "A(k,phi)=0.00000000000000000");
  EXPECT_EQ(lines[8], zeros);
  EXPECT_EQ(lines[9], "A(k,phi)=0.00000000000000000");

  const long double phi = 80 * 3.14159265358979323846L / 180;
  const long double k = std::sin(phi);
  auto F = [](const std::string& l) { return std::stold(l.substr(9)); };
  auto E = [](const std::string& l) { return std::stold(l.substr(l.find("E(k,phi)=") + 9)); };
  // k = 0: F = E = phi and Lambda0 = sin phi. 17 decimals of the Simpson sums: a few
  // 1e-15 (see the incomplete-integral tests).
  EXPECT_NEAR(F(lines[5]), phi, 1e-15L);
  EXPECT_NEAR(E(lines[5]), phi, 1e-15L);
  EXPECT_NEAR(After(lines[6], "A(k,phi)="), std::sin(phi), 1e-15L);
  EXPECT_NEAR(F(lines[11]), boost::math::ellint_1(k, phi), 1e-14L);
  EXPECT_NEAR(E(lines[11]), boost::math::ellint_2(k, phi), 1e-14L);
  EXPECT_NEAR(After(lines[12], "A(k,phi)="), boost::math::heuman_lambda(k, phi), 1e-14L);
}

TEST(IncompleteTable, RefusalsCountsAndChoices) {
  const Lines refused{kIncompleteHeading, "The angles must be smaller than 90 degrees"};
  EXPECT_EQ(Incomplete({{"Ephi2", "90"}}), refused);
  EXPECT_EQ(Incomplete({{"Eask1", "-90"}}), refused);
  EXPECT_EQ(Incomplete({{"Ephi1", "1e9"}}), refused);
  EXPECT_EQ(Incomplete({{"Enp", "0"}}), Lines{kIncompleteHeading});
  EXPECT_EQ(Incomplete({{"Enask", "-1"}}),
            (Lines{kIncompleteHeading, "The numbers of values must not be negative"}));
  // Tables of integrations bounded; the argument lines alone are cheap.
  EXPECT_EQ(Incomplete({{"Enask", "20"}, {"Enp", "16"}}),
            (Lines{kIncompleteHeading, "Too many values for numerical integration (max=300)"}));
  EXPECT_EQ(Incomplete({{"Enask", "2147483647"}, {"Enp", "2147483647"}, {"CBFeE", "0"},
                        {"CBh", "0"}}),
            (Lines{kIncompleteHeading, "Too many values in the table (max=10000)"}));
  // Neither box: the argument lines alone. Negative angles are tabulated (odd in phi).
  EXPECT_EQ(Incomplete({{"CBFeE", "0"}, {"CBh", "0"}, {"Enask", "1"}, {"Enp", "1"}}),
            (Lines{kIncompleteHeading, "arcsin(k)= 0.00; phi= 0.00 (degrees):"}));
  const Lines minus = Incomplete({{"CBh", "0"}, {"Eask1", "30"}, {"Enask", "1"},
                                  {"Ephi1", "-45"}, {"Enp", "1"}});
  const Lines plus = Incomplete({{"CBh", "0"}, {"Eask1", "30"}, {"Enask", "1"},
                                 {"Ephi1", "45"}, {"Enp", "1"}});
  ASSERT_EQ(minus.size(), 3u);
  EXPECT_EQ(minus[1], "arcsin(k)=30.00; phi=-45.00 (degrees):");
  EXPECT_EQ(minus[2], "F(k,phi)=-" + plus[2].substr(9, 19) + "; E(k,phi)=-" + plus[2].substr(39));
}

// A stop asked for ends a table before its next row (or pair of c and k): the rows
// before it are those of the whole table, then "Interrupted", a refusal.
TEST(Tables, StopEndsATableBetweenRows) {
  struct Row {
    const char* name;
    const std::vector<FieldDef>& defs;
    CommandFunction command;
    FieldValues fields;
    int rowsBeforeStop;
    std::size_t linesPerRow;
  };
  const Row rows[] = {
      {"K and E", CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand, {{"Enk", "6"}}, 2, 2},
      {"Pi of k and c", CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand,
       {{"Enk", "3"}, {"Enc", "4"}, {"RG123", "2"}}, 3, 0},
      {"incomplete", IncompleteIntegralsFieldDefs(), &IncompleteIntegralsCommand,
       {{"Enask", "3"}, {"Enp", "3"}}, 4, 3},
  };
  for (const Row& row : rows) {
    const Lines full = command_run::LinesOf(row.defs, row.command, row.fields);
    int asked = 0;
    CommandEnv env;
    env.stopRequested = [&] { return ++asked > row.rowsBeforeStop; };
    const Result stopped = command_run::Run(row.defs, row.command, row.fields, env);
    EXPECT_EQ(stopped.status, CommandStatus::Refused) << row.name;
    ASSERT_GE(stopped.lines.size(), 2u) << row.name;
    EXPECT_EQ(stopped.lines.back(), "Interrupted") << row.name;
    EXPECT_LT(stopped.lines.size(), full.size()) << row.name;
    EXPECT_TRUE(std::equal(stopped.lines.begin(), stopped.lines.end() - 1, full.begin()))
        << row.name;
    if (row.linesPerRow > 0) {  // the heading, then whole rows
      EXPECT_EQ(stopped.lines.size() - 2, row.rowsBeforeStop * row.linesPerRow) << row.name;
    }
  }
}
