#include "numerics/row_pool.h"

#include <cfenv>

namespace {
constexpr int kFaultFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
}  // namespace

RowPool::RowPool(std::int64_t rows, RowFunction row, unsigned threads)
    : rows_(rows), row_(std::move(row)) {
  if (threads == 0) return;
  value_.assign(kWindow, 0);
  faults_.assign(kWindow, 0);
  rowOf_.assign(kWindow, -1);
  workers_.reserve(threads);
  for (unsigned t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
}

RowPool::~RowPool() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    cancel_ = true;
  }
  space_.notify_all();
  for (std::thread& w : workers_) w.join();
}

unsigned RowPool::WorkersFor(std::int64_t rows, std::int64_t termsPerRow) {
  // Below a few million terms the whole sum takes milliseconds: not worth threads.
  if (rows < 2 || static_cast<double>(rows) * static_cast<double>(termsPerRow) < 4e6) return 0;
  const unsigned hw = std::thread::hardware_concurrency();
  return hw == 0 ? 1 : hw;
}

void RowPool::Work() {
  for (;;) {
    std::int64_t k;
    {
      std::unique_lock<std::mutex> lock(mu_);
      space_.wait(lock, [this] {
        return cancel_ || assigned_ >= rows_ || assigned_ < consumed_ + kWindow;
      });
      if (cancel_ || assigned_ >= rows_) return;
      k = assigned_++;
    }
    std::feclearexcept(kFaultFlags);
    const Extended v = row_(k);
    const int faults = std::fetestexcept(kFaultFlags);
    {
      std::lock_guard<std::mutex> lock(mu_);
      value_[k % kWindow] = v;
      faults_[k % kWindow] = faults;
      rowOf_[k % kWindow] = k;
    }
    ready_.notify_one();
  }
}

Extended RowPool::Next() {
  if (workers_.empty()) return row_(consumed_++);
  Extended v;
  int faults;
  {
    std::unique_lock<std::mutex> lock(mu_);
    const std::int64_t slot = consumed_ % kWindow;
    ready_.wait(lock, [&] { return rowOf_[slot] == consumed_; });
    v = value_[slot];
    faults = faults_[slot];
    ++consumed_;
  }
  space_.notify_all();
  if (faults != 0) std::feraiseexcept(faults);
  return v;
}
