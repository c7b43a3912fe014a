#include "transformer/couplings.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "numerics/format.h"

namespace quor::transformer {
using namespace quor::numerics;

// Two equal resonances coupled by k split into f0/sqrt(1 + k) and f0/sqrt(1 - k). For
// mode a:b the two stand as b:a, so (1 + k)/(1 - k) = (b/a)^2 and
// k = (b^2 - a^2)/(b^2 + a^2); this is the k for which the mode line of Calculate
// reads exactly a:b. The energy has moved wholly into the secondary after half a beat
// period, 1/(2 (f+ - f-)): b/(2 (b - a)) = b/2 cycles of the faster oscillation.
Extended OptimalCoupling(int a) {
  const std::int32_t b = a + 1;
  const std::int32_t diff = b * b - a * a;
  const std::int32_t sum = b * b + a * a;
  return static_cast<Extended>(diff) / static_cast<Extended>(sum);
}

Result CouplingsCommand(const FieldValues&, CommandEnv& env) {
  ReportSink& report = env.Report();
  ReportLine(report, "");
  ReportLine(report, "Optimal couplings for a Tesla coil:");
  std::vector<Extended> lower, upper, cycles, k;
  for (std::int32_t a = 1; a <= 15; ++a) {
    const std::int32_t b = a + 1;
    lower.push_back(a);
    upper.push_back(b);
    cycles.push_back(static_cast<Extended>(b) / 2);
    k.push_back(OptimalCoupling(a));
    ReportLine(report, "Mode " + IntStr(a) + ":" + IntStr(b) + ", energy transfer in " +
                           FixedStr(cycles.back(), 4, 1) +
                           " cycles: k=" + FixedStr(k.back(), 13, 10));
  }
  Result result;
  result.AddList("mode_lower", "1", std::move(lower));
  result.AddList("mode_upper", "1", std::move(upper));
  result.AddList("cycles", "1", std::move(cycles));
  result.AddList("k", "1", std::move(k));
  return result;
}

const std::vector<FieldDef>& CouplingsFieldDefs() {
  static const std::vector<FieldDef> none;
  return none;
}

}  // namespace quor::transformer
