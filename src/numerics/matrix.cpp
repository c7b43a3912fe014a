// In-place inversion by the exchange (sweep) form of Gauss-Jordan elimination: each
// pivot step exchanges the roles of one unknown and one right-hand side, so after all n
// steps the block holds the inverse without any extra storage. There is no pivot search;
// the matrices of the program (inductance and potential-coefficient matrices) are
// symmetric positive definite, for which elimination in the natural order is stable.
#include "numerics/matrix.h"

#include <cassert>
#include <cmath>
#include <string>

#include "numerics/format.h"

namespace {

// Absolute threshold: the matrices are of inductances in henries or of potential
// coefficients in metres per farad, never scaled to unit size.
constexpr Extended kPivotTolerance = 1e-12L;

}  // namespace

bool InvertMatrix(int n, ExtMatrix& A, ReportSink& report, std::string_view matrixName) {
  assert(n <= A.Capacity());
  for (int k = 1; k <= n; ++k) {
    const Extended p = A(k, k);
    if (std::fabs(p) < kPivotTolerance) {
      ReportLine(report, "Something wrong (line " + IntStr(k) + "). The " +
                             std::string(matrixName) + " matrix can't be inverted.");
      return false;
    }
    Extended* rowK = &A(k, 1);  // rowK[j - 1] is A(k, j)
    rowK[k - 1] = 1.0L / p;
    for (int j = 1; j <= n; ++j) {
      if (j != k) rowK[j - 1] = -rowK[j - 1] / p;
    }
    for (int i = 1; i <= n; ++i) {
      if (i == k) continue;
      Extended* rowI = &A(i, 1);
      const Extended t = rowI[k - 1];
      rowI[k - 1] = t / p;
      // Columns other than k: A(i, j) = A(k, j) t + A(i, j), A(k, j) already swept.
      for (int j = 0; j < k - 1; ++j) rowI[j] = rowK[j] * t + rowI[j];
      for (int j = k; j < n; ++j) rowI[j] = rowK[j] * t + rowI[j];
    }
  }
  return true;
}
