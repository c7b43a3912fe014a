#include "numerics/arithmetic_fault.h"

namespace quor::numerics {

namespace {
constexpr int kFaults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
}

void ClearArithmeticFaults() { std::feclearexcept(kFaults); }

void CheckArithmeticFaults() {
  const int raised = std::fetestexcept(kFaults);
  if (raised == 0) return;
  // Several flags can be up after one bad input; a division by zero usually comes
  // first and the invalid operations follow from its infinity.
  if (raised & FE_DIVBYZERO) throw ArithmeticFault("Floating point division by zero");
  if (raised & FE_INVALID) throw ArithmeticFault("Invalid floating point operation");
  throw ArithmeticFault("Floating point overflow");
}

}  // namespace quor::numerics
