#pragma once
// The long loops (true-spiral Maxwell sums, colour plots) call the pump once per
// outer step so that the window stays alive and a Stop click can arrive. The GUI
// passes the toolkit's event processing; quor-cli and tests pass a no-op or a double.
#include <functional>

using EventPump = std::function<void()>;

inline void PumpEvents(const EventPump& pump) {
  if (pump) pump();
}
