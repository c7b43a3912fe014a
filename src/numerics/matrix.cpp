// In-place inversion by the exchange (sweep) form of Gauss-Jordan elimination: each
// pivot step exchanges the roles of one unknown and one right-hand side, so after all n
// steps the block holds the inverse without any extra storage. There is no pivot search;
// the matrices of the program (inductance and potential-coefficient matrices) are
// symmetric positive definite, for which elimination in the natural order is stable.
//
// For each pivot k, with p = A(k, k):
//   A(k, k) = 1/p;  A(k, j) = -A(k, j)/p  (j != k);
//   for every row i != k, with t = A(i, k):  A(i, k) = t/p;  A(i, j) = A(k, j) t + A(i, j).
// Pivots are taken two at a time: every element of the other rows then goes through
// both updates while it is held in a register, in the same operations and order as one
// pivot after the other (so the results are bit for bit the same), at half the 80-bit
// loads and stores that bound the speed of the elimination.
#include "numerics/matrix.h"

#include <cassert>
#include <cmath>
#include <string>

#include "numerics/format.h"

namespace quor::numerics {

namespace {

// Absolute threshold: the matrices are of inductances in henries or of potential
// coefficients in metres per farad, never scaled to unit size.
constexpr Extended kPivotTolerance = 1e-12L;

Extended* Row(ExtMatrix& A, int i) { return &A(i, 1); }  // Row(A, i)[j - 1] is A(i, j)

// The pivot row of step k (0-based column index c = k - 1).
void ScalePivotRow(int n, Extended* rowK, int c, Extended p) {
  rowK[c] = 1.0L / p;
  for (int j = 0; j < n; ++j)
    if (j != c) rowK[j] = -rowK[j] / p;
}

// Step k on one other row.
void UpdateRow(int n, Extended* rowI, const Extended* rowK, int c, Extended p) {
  const Extended t = rowI[c];
  rowI[c] = t / p;
  for (int j = 0; j < c; ++j) rowI[j] = rowK[j] * t + rowI[j];
  for (int j = c + 1; j < n; ++j) rowI[j] = rowK[j] * t + rowI[j];
}

// Steps k and k + 1 on one other row (columns c and c + 1), rowK and rowK2 the two
// pivot rows once scaled.
void UpdateRowTwice(int n, Extended* rowI, const Extended* rowK, const Extended* rowK2, int c,
                    Extended p, Extended p2) {
  const int c2 = c + 1;
  const Extended t = rowI[c];
  const Extended t2 = rowK[c2] * t + rowI[c2];  // A(i, k + 1) after step k
  for (int j = 0; j < c; ++j) {
    const Extended x = rowK[j] * t + rowI[j];
    rowI[j] = rowK2[j] * t2 + x;
  }
  rowI[c] = rowK2[c] * t2 + t / p;
  rowI[c2] = t2 / p2;
  for (int j = c2 + 1; j < n; ++j) {
    const Extended x = rowK[j] * t + rowI[j];
    rowI[j] = rowK2[j] * t2 + x;
  }
}

bool Fail(ReportSink& report, int k, std::string_view matrixName) {
  ReportLine(report, "Something wrong (line " + IntStr(k) + "). The " + std::string(matrixName) +
                         " matrix can't be inverted.");
  return false;
}

}  // namespace

bool InvertMatrix(int n, ExtMatrix& A, ReportSink& report, std::string_view matrixName) {
  assert(n <= A.Capacity());
  int k = 1;
  for (; k + 1 <= n; k += 2) {
    const int c = k - 1;
    const Extended p = A(k, k);
    if (std::fabs(p) < kPivotTolerance) return Fail(report, k, matrixName);
    Extended* rowK = Row(A, k);
    Extended* rowK2 = Row(A, k + 1);
    ScalePivotRow(n, rowK, c, p);
    UpdateRow(n, rowK2, rowK, c, p);
    const Extended p2 = rowK2[c + 1];
    if (std::fabs(p2) < kPivotTolerance) {
      // Pivot k completed on the other rows, as one step after the other leaves it.
      for (int i = 1; i <= n; ++i)
        if (i != k && i != k + 1) UpdateRow(n, Row(A, i), rowK, c, p);
      return Fail(report, k + 1, matrixName);
    }
    ScalePivotRow(n, rowK2, c + 1, p2);
    for (int i = 1; i <= n; ++i)
      if (i != k && i != k + 1) UpdateRowTwice(n, Row(A, i), rowK, rowK2, c, p, p2);
    // Row k takes step k + 1 last: the other rows needed it as step k left it.
    UpdateRow(n, rowK, rowK2, c + 1, p2);
  }
  if (k == n) {
    const Extended p = A(k, k);
    if (std::fabs(p) < kPivotTolerance) return Fail(report, k, matrixName);
    Extended* rowK = Row(A, k);
    ScalePivotRow(n, rowK, k - 1, p);
    for (int i = 1; i < n; ++i) UpdateRow(n, Row(A, i), rowK, k - 1, p);
  }
  return true;
}

}  // namespace quor::numerics
