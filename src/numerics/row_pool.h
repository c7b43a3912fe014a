#pragma once
// Rows of a computation done ahead by worker threads and handed out in order to the
// calling (user-interface) thread, which adds them up or paints them, lets the window
// process events and may stop early. A row is one long double of a sum, or a whole
// line of values (a row of a colour plot). Every row is computed by the same code
// whatever thread runs it and the rows come out in order, so the result does not
// depend on thread timing. The arithmetic faults a worker meets in a row (the
// floating-point status flags of division by zero, invalid operation and overflow) are
// raised again on the calling thread when that row is handed out, as if it had
// computed the row.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "numerics/extended.h"

namespace quor::numerics {

// Raises the floating-point status flags a worker met on the calling thread.
void RaiseRowFaults(int faults);

// The scheduling shared by the pools of every row type: which row a worker takes next,
// which row the caller may take, the faults of each row.
class RowScheduler {
 public:
  // The number of workers worth starting here for rows of the given cost.
  static unsigned WorkersFor(std::int64_t rows, std::int64_t termsPerRow);

  RowScheduler(const RowScheduler&) = delete;
  RowScheduler& operator=(const RowScheduler&) = delete;

 protected:
  static constexpr std::int64_t kWindow = 512;  // rows computed ahead at most

  explicit RowScheduler(std::int64_t rows) : rows_(rows) {}
  ~RowScheduler() { Stop(); }

  // Starts the workers; compute(row, slot) stores the row's value in the slot, which
  // belongs to that worker until the row is published.
  void Start(unsigned threads, std::function<void(std::int64_t, std::size_t)> compute);
  // Cancels the rows not yet taken and joins the workers. Derived pools call it
  // before their slots are destroyed.
  void Stop();
  bool Threaded() const { return !workers_.empty(); }
  // The slot of the next row in order once a worker has published it, and the row's
  // fault flags; Release gives the slot back after its value was taken out.
  std::size_t Acquire(int& faults);
  void Release();
  std::int64_t TakeUnthreadedRow() { return consumed_++; }

 private:
  void Work();

  const std::int64_t rows_;
  std::function<void(std::int64_t, std::size_t)> compute_;
  std::mutex mu_;
  std::condition_variable ready_, space_;
  std::int64_t assigned_ = 0;  // next row to hand to a worker
  std::int64_t consumed_ = 0;  // next row to give out
  bool cancel_ = false;
  std::vector<int> faults_;  // status flags raised while computing the row
  std::vector<std::int64_t> rowOf_;
  std::vector<std::thread> workers_;
};

template <class T>
class RowPoolOf : public RowScheduler {
 public:
  using RowFunction = std::function<T(std::int64_t)>;

  // threads = 0 computes each row in Next() on the calling thread.
  RowPoolOf(std::int64_t rows, RowFunction row, unsigned threads)
      : RowScheduler(rows), row_(std::move(row)) {
    if (threads == 0) return;
    value_.resize(kWindow);
    Start(threads, [this](std::int64_t k, std::size_t slot) { value_[slot] = row_(k); });
  }
  ~RowPoolOf() { Stop(); }

  // The value of the next row in order, waiting for it when needed.
  T Next() {
    if (!Threaded()) return row_(TakeUnthreadedRow());
    int faults = 0;
    const std::size_t slot = Acquire(faults);
    T v = std::move(value_[slot]);
    Release();
    if (faults != 0) RaiseRowFaults(faults);
    return v;
  }

 private:
  RowFunction row_;
  std::vector<T> value_;
};

// The long double rows of sums.
using RowPool = RowPoolOf<Extended>;

}  // namespace quor::numerics
