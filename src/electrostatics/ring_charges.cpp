#include "electrostatics/ring_charges.h"

#include "electrostatics/ring_kernel.h"
#include "electrostatics/ring_set_checks.h"
#include "numerics/format.h"
#include "numerics/matrix.h"

namespace quor::electrostatics {
using namespace quor::numerics;

std::optional<std::vector<Extended>> RingChargesAtOneVolt(const std::vector<ChargedRing>& rings,
                                                          Extended eps0, ReportSink& report) {
  const int n = static_cast<int>(rings.size());
  std::vector<RingPlace> places;
  for (const ChargedRing& r : rings) places.push_back({r.rho, r.z, r.v});
  if (const auto fault = RingSetFault(places)) {
    ReportLine(report, *fault);
    return std::nullopt;
  }
  ExtMatrix P(200);
  for (int i = 1; i <= n; ++i) {
    const ChargedRing& ri = rings[i - 1];
    for (int j = i; j <= n; ++j) {
      const ChargedRing& rj = rings[j - 1];
      // The diagonal: the ring's own surface, one wire radius above its centre line.
      const RingCoefficient c = j == i ? RingSelfCoefficientK(ri.rho, ri.z, ri.v, eps0)
                                       : RingPotentialCoefficientK(rj.rho, rj.z, ri.rho, ri.z, eps0);
      // Two distinct rings give k < 1; rings at the same place give k = 1 exactly
      // (sqrt(rho*rho) is rho in binary arithmetic), or above 1 by rounding.
      if (j == i ? c.k > 1.0L : c.k >= 1.0L) {
        ReportLine(report, "Invalid structure: rings " + IntStr(i) + " and " + IntStr(j) +
                               " are coincident");
        return std::nullopt;
      }
      P(i, j) = c.P;
      P(j, i) = c.P;
    }
  }
  if (!InvertMatrix(n, P, report)) return std::nullopt;
  std::vector<Extended> q(rings.size());
  for (int i = 1; i <= n; ++i) {
    Extended sum = 0;
    for (int j = 1; j <= n; ++j) sum += P(i, j);
    q[i - 1] = sum;
  }
  return q;
}

}  // namespace quor::electrostatics
