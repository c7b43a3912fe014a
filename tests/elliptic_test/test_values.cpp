// The named values of the elliptic-integral tables: every printed number is a
// documented list entry, one per row, and the entries hold Boost.Math's values to
// the precision of the methods rather than to the digits printed.
#include <gtest/gtest.h>

#include <boost/math/special_functions/ellint_1.hpp>
#include <boost/math/special_functions/ellint_2.hpp>
#include <boost/math/special_functions/ellint_3.hpp>
#include <boost/math/special_functions/heuman_lambda.hpp>
#include <cmath>
#include <string>
#include <vector>

#include "command_run.h"
#include "elliptic_test/elliptic_tables.h"
#include "support/value_coverage.h"
#include "numerics/library_namespaces.h"

namespace {

using namespace value_coverage;

const std::vector<Extended>& List(const Result& r, const char* key) {
  static const std::vector<Extended> none;
  const NamedValue* v = r.Find(key);
  EXPECT_NE(v, nullptr) << key;
  return v ? v->numbers : none;
}

}  // namespace

TEST(EllipticValues, CompleteTablesRowByRow) {
  const FieldValues cases[] = {
      {{"CBSimpson", "1"}, {"CBserie", "1"}, {"CBdt", "1"}, {"Enk", "4"}},
      {{"RG123", "1"}, {"CBSimpson", "1"}},
      {{"RG123", "2"}, {"CBk2c2", "1"}, {"Enc", "2"}},
  };
  for (const FieldValues& f : cases) {
    const Result r =
        command_run::Run(CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand, f);
    ASSERT_TRUE(r.Ok());
    ExpectDocumented(r, CompleteIntegralsValueDefs());
    ExpectEveryNumberHasAValue(r.lines, r, FieldNumbers(CompleteIntegralsFieldDefs(), f),
                               {"No forward difference"});
    const bool squared = f.count("CBk2c2") != 0;
    const std::vector<Extended>& k = List(r, "k");
    for (std::size_t i = 0; i < k.size(); ++i) {
      const long double kk = squared ? std::sqrt(k[i]) : k[i];
      // The AGM stops on an absolute 1e-15.
      if (r.Find("K_agm")) {
        EXPECT_NEAR(List(r, "K_agm")[i], boost::math::ellint_1(kk), 2e-15L) << kk;
        EXPECT_NEAR(List(r, "E_agm")[i], boost::math::ellint_2(kk), 2e-15L) << kk;
      }
      if (r.Find("Pi_agm")) {
        const long double c = squared ? std::sqrt(List(r, "c")[i]) : List(r, "c")[i];
        const long double Pi = boost::math::ellint_3(kk, c * c);
        EXPECT_NEAR(List(r, "Pi_agm")[i], Pi, 2e-15L / (1 - c * c)) << kk;
      }
    }
    // The derivatives, for the rows of 0 < k < 1 only, listed with their k.
    if (!r.Find("dK_dk")) continue;
    const std::vector<Extended>& kd = List(r, "k_derivatives");
    EXPECT_EQ(kd.size(), k.size() - 1);  // the first row is k = 0
    for (std::size_t i = 0; i < kd.size(); ++i) {
      const long double K = boost::math::ellint_1(kd[i]), E = boost::math::ellint_2(kd[i]);
      EXPECT_NEAR(List(r, "dE_dk")[i], (E - K) / kd[i], 1e-15L);
    }
  }
}

TEST(EllipticValues, IncompleteTableRowByRow) {
  const FieldValues f{{"Enask", "3"}, {"Enp", "4"}};
  const Result r =
      command_run::Run(IncompleteIntegralsFieldDefs(), &IncompleteIntegralsCommand, f);
  ASSERT_TRUE(r.Ok());
  ExpectDocumented(r, IncompleteIntegralsValueDefs());
  ExpectEveryNumberHasAValue(r.lines, r, FieldNumbers(IncompleteIntegralsFieldDefs(), f));
  const std::vector<Extended>& alpha = List(r, "arcsin_k");
  ASSERT_EQ(alpha.size(), 12u);
  const long double degree = 3.14159265358979323846264338327950288L / 180;
  for (std::size_t i = 0; i < alpha.size(); ++i) {
    const long double k = std::sin(alpha[i] * degree), phi = List(r, "phi")[i] * degree;
    EXPECT_NEAR(List(r, "F")[i], boost::math::ellint_1(k, phi), 1e-15L) << i;
    EXPECT_NEAR(List(r, "E")[i], boost::math::ellint_2(k, phi), 1e-15L) << i;
    EXPECT_NEAR(List(r, "Lambda")[i], boost::math::heuman_lambda(k, phi), 1e-15L) << i;
  }
  EXPECT_EQ(List(r, "phi")[1], 80.0L / 3);
}
