#pragma once
// Rows of a long double sum computed ahead by worker threads and handed out in order
// to the calling (user-interface) thread, which adds them up, draws, lets the window
// process events and may stop early. Every row is computed by the same code whatever
// thread runs it and the rows are added in order, so the total does not depend on
// thread timing. The arithmetic faults a worker meets in a row (the floating-point
// status flags of division by zero, invalid operation and overflow) are raised again
// on the calling thread when that row is handed out, as if it had computed the row.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "numerics/extended.h"

class RowPool {
 public:
  using RowFunction = std::function<Extended(std::int64_t)>;

  // threads = 0 computes each row in Next() on the calling thread.
  RowPool(std::int64_t rows, RowFunction row, unsigned threads);
  ~RowPool();
  RowPool(const RowPool&) = delete;
  RowPool& operator=(const RowPool&) = delete;

  // The value of the next row in order, waiting for it when needed.
  Extended Next();

  // The number of workers worth starting here for rows of the given cost.
  static unsigned WorkersFor(std::int64_t rows, std::int64_t termsPerRow);

 private:
  void Work();

  static constexpr std::int64_t kWindow = 512;  // rows computed ahead at most
  const std::int64_t rows_;
  RowFunction row_;
  std::mutex mu_;
  std::condition_variable ready_, space_;
  std::int64_t assigned_ = 0;  // next row to hand to a worker
  std::int64_t consumed_ = 0;  // next row to give out
  bool cancel_ = false;
  std::vector<Extended> value_;
  std::vector<int> faults_;  // status flags raised while computing the row
  std::vector<std::int64_t> rowOf_;
  std::vector<std::thread> workers_;
};
