#pragma once
// Neumann's double sum between a true spiral r = rmin + a*theta, z = b + p*theta, cut
// into segs segments of equal angle dtheta, and its copy raised by s, one row (one
// segment of the first copy against every segment of the second) at a time.
#include <cstdint>
#include <vector>

#include "numerics/extended.h"
#include "transformer/spiral_tables.h"

namespace quor::transformer {
using namespace quor::numerics;

class GeneralSpiralRows {
 public:
  // Above this many segments the midpoints (about 100 bytes a segment) are not
  // tabled: every row walks the second copy anew, with memory for one turn only.
  static constexpr std::int64_t kMaxTabledSegments = std::int64_t{1} << 21;

  GeneralSpiralRows(std::int64_t segs, std::int32_t nsm, Extended rmin, Extended a, Extended p,
                    Extended b, Extended s, bool tabled);
  GeneralSpiralRows(std::int64_t segs, std::int32_t nsm, Extended rmin, Extended a, Extended p,
                    Extended b, Extended s)
      : GeneralSpiralRows(segs, nsm, rmin, a, p, b, s, segs <= kMaxTabledSegments) {}

  // Sum over j of (tA . tB) / |PA(i) - PB(j)| (the p*p term of the tangents included).
  Extended Row(std::int64_t i) const;
  bool Tabled() const { return tabled_; }

 private:
  Extended TabledRow(std::int64_t i) const;
  Extended WalkedRow(std::int64_t i) const;

  std::int64_t segs_;
  std::int32_t nsm_;
  Extended rmin_, a_, p_, dt_, b_, s_;
  bool tabled_;
  MidpointTable mid_;
  // Midpoints and tangents, theta advanced from dtheta/2 by repeated addition; zA on
  // the first copy, zB on the second.
  std::vector<Extended> x_, y_, zA_, zB_, tx_, ty_;
};

}  // namespace quor::transformer
