#include "electrostatics/ring_set_checks.h"

#include <cmath>

#include "numerics/format.h"
#include "numerics/input_rounding.h"

namespace quor::electrostatics {
using namespace quor::numerics;

namespace {

std::string Ring(std::size_t i) { return IntStr(static_cast<std::int32_t>(i + 1)); }

}  // namespace

std::optional<std::string> RingSetFault(const std::vector<RingPlace>& rings) {
  // The sizes the positions were computed from; a wire radius, however large, does not
  // blur where a ring stands.
  Extended size = 0;
  for (const RingPlace& r : rings) size = RoundingScale(size, r.R, r.Z);
  const Extended zero = kInputRounding * size;

  for (std::size_t i = 0; i < rings.size(); ++i) {
    if (rings[i].R < -zero) return "Invalid structure: ring " + Ring(i) + " has a negative radius";
    if (rings[i].a < -zero)
      return "Invalid structure: ring " + Ring(i) + " has a negative wire radius";
  }
  for (std::size_t i = 0; i < rings.size(); ++i) {
    const RingPlace& p = rings[i];
    for (std::size_t j = i + 1; j < rings.size(); ++j) {
      const RingPlace& q = rings[j];
      const Extended dR = std::fabs(p.R) - std::fabs(q.R);
      const Extended dZ = p.Z - q.Z;
      if (std::fabs(dR) <= zero && std::fabs(dZ) <= zero)
        return "Invalid structure: rings " + Ring(i) + " and " + Ring(j) + " are coincident";
      if (LessBeyondRounding(std::hypot(dR, dZ), p.a + q.a, size))
        return "Invalid structure: rings " + Ring(i) + " and " + Ring(j) + " overlap";
    }
  }
  for (std::size_t i = 0; i < rings.size(); ++i)
    if (rings[i].a <= zero)
      return "Invalid structure: ring " + Ring(i) + " has a wire radius of zero";
  return std::nullopt;
}

}  // namespace quor::electrostatics
