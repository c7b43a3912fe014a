#pragma once
// Tables of the elliptic integrals for the test window: the complete integrals K, E
// and Pi by the arithmetic-geometric mean beside Simpson's rule and the power series,
// with a check of the derivatives dK/dk and dE/dk, and the incomplete integrals F, E
// with Heuman's Lambda. Each table is a plain function of the window's field texts
// that writes its lines to the Report.
#include <cstdint>
#include <vector>

#include "numerics/command.h"
#include "numerics/extended.h"
#include "numerics/fields.h"
#include "numerics/report.h"

namespace quor::elliptic_test {
using namespace quor::numerics;

// The upper panel: k and c ranges, what to compute (RG123: 0 "K and E",
// 1 "K, E, and II(k,c)", 2 "II(k,c) only") and the methods.
const std::vector<FieldDef>& CompleteIntegralsFieldDefs();
// The lower panel: ranges of the modular angle arcsin k and of the amplitude phi,
// in degrees, and what to print.
const std::vector<FieldDef>& IncompleteIntegralsFieldDefs();

// A table runs to its end without a Stop, so its size is bounded: rows by the fast
// methods (10000 rows take a fraction of a second), and rows that need Simpson's rule
// with its 100000 intervals, about 10 ms each here (300 rows: a 17 x 17 grid).
inline constexpr std::int64_t kMaxTableRows = 10000;
inline constexpr std::int64_t kMaxIntegratedRows = 300;

// The items of RG123.
enum class CompleteItems : std::int32_t { KE = 0, KEPi = 1, PiOnly = 2 };

// The n values a, a + d, a + 2d, ... of a table, d = (z - a)/(n - 1) (0 when n = 1),
// each the previous one plus d, as the tables step through them.
class ArgumentRange {
 public:
  ArgumentRange(Extended a, Extended z, std::int32_t n);
  std::int32_t Count() const { return n_; }
  Extended First() const { return a_; }
  Extended Step() const { return d_; }

 private:
  Extended a_, d_;
  std::int32_t n_;
};

// "Compute complete integrals". Arguments out of range, negative counts and tables
// beyond the bounds above are refused before the first row.
// Values: one list per kind of number of the lines (CompleteIntegralsValueDefs).
Result CompleteIntegralsCommand(const FieldValues& fields, CommandEnv& env);
// "Compute incomplete integrals", likewise (IncompleteIntegralsValueDefs).
Result IncompleteIntegralsCommand(const FieldValues& fields, CommandEnv& env);
const std::vector<ValueDef>& CompleteIntegralsValueDefs();
const std::vector<ValueDef>& IncompleteIntegralsValueDefs();

}  // namespace quor::elliptic_test
