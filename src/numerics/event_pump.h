#pragma once
// The long loops (true-spiral Maxwell sums, colour plots) call the pump once per
// outer step so that the window stays alive and a Stop click can arrive. The GUI
// passes the toolkit's event processing; quor-cli and tests pass a no-op or a double.
#include <chrono>
#include <functional>

using EventPump = std::function<void()>;

inline void PumpEvents(const EventPump& pump) {
  if (pump) pump();
}

// A pump that passes on at most one call per interval to inner. The long loops call
// their pump millions of times (2.3 million outer segments for a 1152-turn helix at
// 2000 segments per turn), while the toolkit's event processing costs microseconds
// even when nothing is pending. The clock is read on every 16th call only; a Stop
// click then waits at most about one interval before it is handled, and the loop
// ends at its check right after the call that handled it.
inline EventPump ThrottledPump(EventPump inner,
                               std::chrono::milliseconds interval = std::chrono::milliseconds(10)) {
  using Clock = std::chrono::steady_clock;
  return [inner = std::move(inner), interval, last = Clock::now(), calls = 0u]() mutable {
    if ((++calls & 15u) != 0) return;
    const Clock::time_point now = Clock::now();
    if (now - last < interval) return;
    last = now;
    if (inner) inner();
  };
}
