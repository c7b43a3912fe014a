#include "resonator/primary_tap.h"

#include <algorithm>
#include <cmath>

#include "numerics/format.h"
#include "numerics/rings.h"

namespace quor::resonator {

std::int64_t PrimaryTapTurns(Extended N) {
  return static_cast<std::int64_t>(std::ceil(N));
}

PrimaryTapModel::PrimaryTapModel(const PrimaryCoil& p, const ResonatorCoil& s, bool ground)
    : N_(p.N) {
  const std::int64_t turns = PrimaryTapTurns(p.N);
  const auto size = static_cast<std::size_t>(turns) + 1;
  std::vector<Extended> z(size), r(size);
  for (std::int64_t i = 1; i <= turns; ++i) {
    const Extended at = i - 0.5L;  // the turn's middle, in turns from the start
    z[static_cast<std::size_t>(i)] = p.b + at * (p.h / p.N);
    r[static_cast<std::size_t>(i)] = p.rmin + at * ((p.rmax - p.rmin) / p.N);
  }
  const Extended g = WireGmd(p.wd);
  // Turn i with turn j in Maxwell's sum: the coil against its copy raised by g, both
  // orders of the pair averaged; less the mirror turn's share over the ground plane.
  auto pair = [&](std::size_t i, std::size_t j) {
    Extended m = i == j ? RingPairMutual(r[i], r[i], g)
                        : (RingPairMutual(r[i], r[j], z[i] - z[j] - g) +
                           RingPairMutual(r[i], r[j], z[i] - z[j] + g)) / 2;
    if (ground) m -= RingPairMutual(r[i], r[j], z[i] + z[j]);
    return m;
  };
  Lcum_.assign(size, 0.0L);
  rowSum_.assign(size, 0.0L);
  self_.assign(size, 0.0L);
  Mcum_.assign(size, 0.0L);
  Mturn_.assign(size, 0.0L);

  const std::int32_t n2 = RoundAtLeastOne(s.N);
  const Extended dz2 = s.h / n2;
  for (std::size_t i = 1; i < size; ++i) {
    Extended row = 0;
    for (std::size_t j = 1; j < i; ++j) row += pair(i, j);
    rowSum_[i] = row;
    self_[i] = pair(i, i);
    Lcum_[i] = Lcum_[i - 1] + 2 * row + self_[i];

    Extended m = 0;
    Extended zs = s.b + dz2 / 2;
    for (std::int32_t t = 1; t <= n2; ++t) {
      m += RingPairMutual(r[i], s.r, z[i] - zs);
      if (ground) m -= RingPairMutual(r[i], s.r, z[i] + zs);
      zs += dz2;
    }
    Mturn_[i] = m;
    Mcum_[i] = Mcum_[i - 1] + m;
  }
}

Extended PrimaryTapModel::L1(Extended n) const {
  const auto m = static_cast<std::size_t>(std::floor(n));
  const Extended f = n - static_cast<Extended>(m);
  if (f == 0 || m + 1 >= Lcum_.size()) return Lcum_[std::min(m, Lcum_.size() - 1)];
  return Lcum_[m] + 2 * f * rowSum_[m + 1] + f * f * self_[m + 1];
}

Extended PrimaryTapModel::M(Extended n) const {
  const auto m = static_cast<std::size_t>(std::floor(n));
  const Extended f = n - static_cast<Extended>(m);
  if (f == 0 || m + 1 >= Mcum_.size()) return Mcum_[std::min(m, Mcum_.size() - 1)];
  return Mcum_[m] + f * Mturn_[m + 1];
}

PrimaryTap SolvePrimaryTap(const PrimaryTapModel& model, Extended frequency, Extended C1,
                           Extended L2) {
  PrimaryTap tap;
  const Extended w = kTwoPi * frequency;
  tap.needed = 1 / (w * w * C1);
  tap.whole = model.L1(model.Turns());
  if (!(tap.whole >= tap.needed)) return tap;
  tap.reachable = true;
  Extended lo = 0, hi = model.Turns();
  for (int step = 0; step < 128 && hi - lo > 0; ++step) {
    const Extended mid = (lo + hi) / 2;
    if (mid == lo || mid == hi) break;
    (model.L1(mid) < tap.needed ? lo : hi) = mid;
  }
  tap.turns = hi;
  tap.L1 = model.L1(hi);
  tap.M = model.M(hi);
  tap.k = tap.M / std::sqrt(tap.L1 * L2);
  return tap;
}

}  // namespace quor::resonator
