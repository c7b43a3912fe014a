// Sweep Gauss-Jordan inversion: small closed forms, the pivot test and its message, and
// A * inverse(A) = I for well-conditioned matrices up to the full capacity.
#include "numerics/matrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "numerics/rings.h"
#include "numerics/library_namespaces.h"

namespace {

const std::string kLine1 = "Something wrong (line 1). The L matrix can't be inverted.";

// Largest |(A X - I)(i, j)| over the leading n x n block.
long double ResidualMax(int n, const ExtMatrix& A, const ExtMatrix& X) {
  long double worst = 0.0L;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) {
      long double s = 0.0L;
      for (int m = 1; m <= n; ++m) s += A(i, m) * X(m, j);
      worst = std::max(worst, std::fabs(s - (i == j ? 1.0L : 0.0L)));
    }
  }
  return worst;
}

// Random entries in [-1, 1] with n + 1 added on the diagonal: strictly diagonally
// dominant, so every pivot stays large and the condition number stays small.
void FillDominant(int n, ExtMatrix& A, unsigned seed) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<long double> u(-1.0L, 1.0L);
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) A(i, j) = u(gen) + (i == j ? n + 1.0L : 0.0L);
  }
}

}  // namespace

TEST(InvertMatrix, OneByOne) {
  for (long double p : {4.0L, -3.0L, 1e-12L, 7.5e8L}) {
    ExtMatrix A;
    A(1, 1) = p;
    VectorReport report;
    EXPECT_TRUE(InvertMatrix(1, A, report)) << p;
    EXPECT_EQ(A(1, 1), 1.0L / p);
    EXPECT_TRUE(report.lines.empty());
  }
}

TEST(InvertMatrix, TwoByTwoClosedForm) {
  struct Row {
    long double a, b, c, d;
  };
  for (const Row& r : {Row{2, 1, 1, 3}, Row{1, 2, 3, 4}, Row{-5, 0.5L, 7, 0.25L},
                       Row{1e-12L, 0, 0, 2}, Row{3e-7L, 1e-7L, 1e-7L, 2e-7L}}) {
    ExtMatrix A;
    A(1, 1) = r.a, A(1, 2) = r.b, A(2, 1) = r.c, A(2, 2) = r.d;
    VectorReport report;
    ASSERT_TRUE(InvertMatrix(2, A, report));
    const long double det = r.a * r.d - r.b * r.c;
    const long double expected[2][2] = {{r.d / det, -r.b / det}, {-r.c / det, r.a / det}};
    long double scale = 0.0L;
    for (const auto& row : expected)
      for (long double e : row) scale = std::max(scale, std::fabs(e));
    for (int i = 1; i <= 2; ++i)
      for (int j = 1; j <= 2; ++j)
        EXPECT_NEAR(A(i, j), expected[i - 1][j - 1], 1e-18L * scale) << i << "," << j;
    EXPECT_TRUE(report.lines.empty());
  }
}

TEST(InvertMatrix, PivotBelowThresholdReportsItsLine) {
  struct Case {
    int n;
    long double a[3][3];
    std::string line;
  };
  const Case cases[] = {
      // Invertible, but the first pivot is 0 and rows are never exchanged.
      {2, {{0, 1, 0}, {1, 0, 0}}, kLine1},
      {1, {{9.9e-13L}}, kLine1},
      {3, {{-5e-13L, 1, 1}, {1, 1, 0}, {1, 0, 1}}, kLine1},
      // The second pivot becomes 4 - 2*2 = 0 after the first sweep.
      {3, {{1, 2, 3}, {2, 4, 5}, {3, 5, 6}},
       "Something wrong (line 2). The L matrix can't be inverted."},
      // Singular: the third pivot vanishes.
      {3, {{2, 1, 1}, {1, 3, 4}, {3, 4, 5}},
       "Something wrong (line 3). The L matrix can't be inverted."},
  };
  for (const Case& c : cases) {
    ExtMatrix A;
    for (int i = 1; i <= c.n; ++i)
      for (int j = 1; j <= c.n; ++j) A(i, j) = c.a[i - 1][j - 1];
    VectorReport report;
    EXPECT_FALSE(InvertMatrix(c.n, A, report));
    ASSERT_EQ(report.lines.size(), 1u);
    EXPECT_EQ(report.lines[0], c.line);
  }
}

TEST(InvertMatrix, InverseTimesMatrixIsIdentity) {
  struct Case {
    int capacity, n;
  };
  for (const Case& c : {Case{200, 1}, Case{200, 2}, Case{200, 3}, Case{200, 17},
                        Case{200, 64}, Case{200, 200}, Case{500, 500}}) {
    ExtMatrix A(c.capacity);
    FillDominant(c.n, A, 1234u + c.n);
    // Sentinels outside the leading block must survive untouched.
    if (c.n < c.capacity) {
      A(c.n + 1, 1) = 42.0L;
      A(1, c.n + 1) = -42.0L;
      A(c.capacity, c.capacity) = 7.0L;
    }
    ExtMatrix X = A;
    VectorReport report;
    ASSERT_TRUE(InvertMatrix(c.n, X, report)) << "n = " << c.n;
    EXPECT_TRUE(report.lines.empty());
    // Extended rounding (5e-20) grown by n-term sums and a condition number near 1.
    EXPECT_LT(ResidualMax(c.n, A, X), 1e-17L) << "n = " << c.n;
    if (c.n < c.capacity) {
      EXPECT_EQ(X(c.n + 1, 1), 42.0L);
      EXPECT_EQ(X(1, c.n + 1), -42.0L);
      EXPECT_EQ(X(c.capacity, c.capacity), 7.0L);
    }
  }
}

TEST(InvertMatrix, InductanceMatrixOfCoaxialTurns) {
  // The use the routine was written for: the inductance matrix of a row of turns
  // (henries, elements of order 1e-7), symmetric positive definite; its inverse is
  // symmetric too.
  const int n = 30;
  const long double r = 0.05L, pitch = 0.004L, g = WireGmd(0.001L);
  ExtMatrix L;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j)
      L(i, j) = RingPairMutual(r, r, i == j ? g : pitch * (i - j));
  ExtMatrix X = L;
  VectorReport report;
  ASSERT_TRUE(InvertMatrix(n, X, report));
  EXPECT_LT(ResidualMax(n, L, X), 1e-16L);
  long double scale = 0.0L;
  for (int i = 1; i <= n; ++i) scale = std::max(scale, std::fabs(X(i, i)));
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j < i; ++j) EXPECT_NEAR(X(i, j), X(j, i), 1e-17L * scale);
}

// The sweep one pivot after the other, as written in the books: pairing the pivots
// must not change a single bit, nor the line or the state of a failure.
TEST(InvertMatrix, PairedPivotsMatchOnePivotAtATimeBitForBit) {
  auto reference = [](int n, ExtMatrix& A) {
    for (int k = 1; k <= n; ++k) {
      const long double p = A(k, k);
      if (std::fabs(p) < 1e-12L) return k;
      A(k, k) = 1.0L / p;
      for (int j = 1; j <= n; ++j)
        if (j != k) A(k, j) = -A(k, j) / p;
      for (int i = 1; i <= n; ++i) {
        if (i == k) continue;
        const long double t = A(i, k);
        A(i, k) = t / p;
        for (int j = 1; j <= n; ++j)
          if (j != k) A(i, j) = A(k, j) * t + A(i, j);
      }
    }
    return 0;
  };
  for (int n = 1; n <= 9; ++n) {
    // Copying a row onto the next makes the pivot of the copy vanish: failures on odd
    // and on even lines.
    for (int copied = 0; copied < n; ++copied) {
      ExtMatrix A(12), B(12);
      FillDominant(n, A, 17u + n);
      if (copied > 0)
        for (int j = 1; j <= n; ++j) A(copied + 1, j) = A(copied, j);
      B = A;
      VectorReport report;
      const int failedAt = reference(n, B);
      EXPECT_EQ(InvertMatrix(n, A, report), failedAt == 0) << n << " " << copied;
      if (failedAt != 0) {
        EXPECT_EQ(report.lines, std::vector<std::string>{"Something wrong (line " +
                                                         std::to_string(failedAt) +
                                                         "). The L matrix can't be inverted."});
      }
      for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
          EXPECT_EQ(A(i, j), B(i, j)) << n << " " << copied << " (" << i << "," << j << ")";
    }
  }
}
