#pragma once
// The long loops (true-spiral Maxwell sums, colour plots) call the pump once per
// outer step so that the window stays alive and a Stop click can arrive. The GUI
// passes the toolkit's event processing; quor-cli and tests pass a no-op or a double.
#include <chrono>
#include <ctime>
#include <functional>

namespace quor::numerics {

using EventPump = std::function<void()>;

inline void PumpEvents(const EventPump& pump) {
  if (pump) pump();
}

// Monotonic time, read cheaply: the kernel's coarse clock where there is one (a few
// nanoseconds a read, advancing by a scheduler tick of some milliseconds), otherwise
// the steady clock.
inline std::chrono::nanoseconds CoarseNow() {
#ifdef CLOCK_MONOTONIC_COARSE
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
  return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
#else
  return std::chrono::steady_clock::now().time_since_epoch();
#endif
}

// A pump that passes on at most one call per interval to inner. The long loops call
// their pump millions of times (2.3 million outer segments for a 1152-turn helix at
// 2000 segments per turn, some 60 ns each), while the toolkit's event processing
// costs microseconds even when nothing is pending. The clock is read on every call,
// so that a loop of slow steps (rows of millions of terms) is served after each step
// once the interval has passed: a Stop click waits about one interval, or one step
// when the steps are longer. The interval counts from the end of the last pass, so
// that the loop always gets its share of the time. now() is the clock, replaceable
// for tests.
template <class Now = std::chrono::nanoseconds (*)()>
EventPump ThrottledPump(EventPump inner,
                        std::chrono::milliseconds interval = std::chrono::milliseconds(10),
                        Now now = &CoarseNow) {
  return [inner = std::move(inner), interval, now, last = now()]() mutable {
    if (now() - last < interval) return;
    if (inner) inner();
    last = now();
  };
}

}  // namespace quor::numerics
