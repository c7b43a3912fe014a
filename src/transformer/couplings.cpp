#include "transformer/couplings.h"

#include <cstdint>
#include <string>

#include "numerics/format.h"

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
  for (std::int32_t a = 1; a <= 15; ++a) {
    const std::int32_t b = a + 1;
    ReportLine(report, "Mode " + IntStr(a) + ":" + IntStr(b) + ", energy transfer in " +
                           FixedStr(static_cast<Extended>(b) / 2, 4, 1) +
                           " cycles: k=" + FixedStr(OptimalCoupling(a), 13, 10));
  }
  return {};
}

const std::vector<FieldDef>& CouplingsFieldDefs() {
  static const std::vector<FieldDef> none;
  return none;
}
