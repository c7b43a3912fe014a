#pragma once
// Dense in-place matrix inversion by the sweep form of Gauss-Jordan elimination.
#include <string_view>
#include <vector>

#include "numerics/extended.h"
#include "numerics/report.h"

namespace quor::numerics {

// A square Extended matrix of fixed capacity, indexed from 1 (element (i, j) is row i,
// column j). Callers use its leading n x n block.
class ExtMatrix {
 public:
  explicit ExtMatrix(int capacity = 200)
      : cap_(capacity), a_(static_cast<std::size_t>(capacity) * capacity, 0.0L) {}
  int Capacity() const { return cap_; }
  Extended& operator()(int i, int j) {
    return a_[static_cast<std::size_t>(i - 1) * cap_ + (j - 1)];
  }
  Extended operator()(int i, int j) const {
    return a_[static_cast<std::size_t>(i - 1) * cap_ + (j - 1)];
  }

 private:
  int cap_;
  std::vector<Extended> a_;
};

// Inverts the leading n x n block in place, without pivot search. Returns true on
// success (the run flag set); on a pivot below 1e-12 in magnitude writes
// "Something wrong (line k). The L matrix can't be inverted." (the letter is
// matrixName: L for inductances, n for the potential coefficients of general
// structures) and returns false, leaving the block partly transformed.
bool InvertMatrix(int n, ExtMatrix& A, ReportSink& report, std::string_view matrixName = "L");

}  // namespace quor::numerics
