#pragma once
// Arithmetic faults of a calculation. A division by zero, an invalid operation (0/0,
// the square root of a negative number, infinity minus infinity, a NaN where a number
// was expected) or an overflow ends the command that caused it with a message, instead
// of a Report line that shows "Nan" or "+Inf" as if it were a result; the lines
// already written stay.
//
// Faults are found from the floating-point status flags of the calculating thread:
// a command clears them when it starts, and each Report line is checked before it is
// written. Code that may raise a flag without a fault in the calculation (formatting,
// the window toolkit) keeps the flags as they were with a FaultFlagsKeeper.
#include <cfenv>
#include <stdexcept>
#include <string>
#include <string_view>

#include "numerics/report.h"

namespace quor::numerics {

class ArithmeticFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Forgets earlier faults of this thread.
void ClearArithmeticFaults();
// Throws ArithmeticFault ("Floating point division by zero", "Invalid floating point
// operation" or "Floating point overflow") when such a fault has happened since the
// last clear.
void CheckArithmeticFaults();

// Restores the status flags of this thread, as they were at its construction, when it
// goes out of scope.
class FaultFlagsKeeper {
 public:
  FaultFlagsKeeper() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
  ~FaultFlagsKeeper() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
  FaultFlagsKeeper(const FaultFlagsKeeper&) = delete;
  FaultFlagsKeeper& operator=(const FaultFlagsKeeper&) = delete;

 private:
  std::fexcept_t saved_{};
};

// A Report that checks for faults before each line it passes on.
class FaultCheckingReport : public ReportSink {
 public:
  explicit FaultCheckingReport(ReportSink& inner) : inner_(inner) {}
  void Append(std::string_view line) override {
    CheckArithmeticFaults();
    inner_.Append(line);
  }

 private:
  ReportSink& inner_;
};

}  // namespace quor::numerics
