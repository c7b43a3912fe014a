#include "numerics/row_pool.h"

#include <cfenv>

namespace quor::numerics {

namespace {
constexpr int kFaultFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
}  // namespace

void RaiseRowFaults(int faults) { std::feraiseexcept(faults); }

unsigned RowScheduler::WorkersFor(std::int64_t rows, std::int64_t termsPerRow) {
  // Below a few million terms the whole sum takes milliseconds: not worth threads.
  if (rows < 2 || static_cast<double>(rows) * static_cast<double>(termsPerRow) < 4e6) return 0;
  const unsigned hw = std::thread::hardware_concurrency();
  return hw == 0 ? 1 : hw;
}

void RowScheduler::Start(unsigned threads,
                         std::function<void(std::int64_t, std::size_t)> compute) {
  compute_ = std::move(compute);
  faults_.assign(kWindow, 0);
  rowOf_.assign(kWindow, -1);
  workers_.reserve(threads);
  for (unsigned t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
}

void RowScheduler::Stop() {
  if (workers_.empty()) return;
  {
    std::lock_guard<std::mutex> lock(mu_);
    cancel_ = true;
  }
  space_.notify_all();
  for (std::thread& w : workers_) w.join();
  workers_.clear();
}

void RowScheduler::Work() {
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
    const std::size_t slot = static_cast<std::size_t>(k % kWindow);
    std::feclearexcept(kFaultFlags);
    compute_(k, slot);
    const int faults = std::fetestexcept(kFaultFlags);
    {
      std::lock_guard<std::mutex> lock(mu_);
      faults_[slot] = faults;
      rowOf_[slot] = k;
    }
    ready_.notify_one();
  }
}

std::size_t RowScheduler::Acquire(int& faults) {
  std::unique_lock<std::mutex> lock(mu_);
  const std::size_t slot = static_cast<std::size_t>(consumed_ % kWindow);
  ready_.wait(lock, [&] { return rowOf_[slot] == consumed_; });
  faults = faults_[slot];
  return slot;
}

void RowScheduler::Release() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    ++consumed_;
  }
  space_.notify_all();
}

}  // namespace quor::numerics
