#include "transformer/general_spiral.h"

#include <cmath>

namespace quor::transformer {
using namespace quor::numerics;

GeneralSpiralRows::GeneralSpiralRows(std::int64_t segs, std::int32_t nsm, Extended rmin,
                                     Extended a, Extended p, Extended b, Extended s, bool tabled)
    : segs_(segs), nsm_(nsm), rmin_(rmin), a_(a), p_(p), dt_(kTwoPi / nsm), b_(b), s_(s),
      tabled_(tabled), mid_(nsm) {
  if (!tabled_ || segs_ <= 0) return;
  x_.resize(segs_);
  y_.resize(segs_);
  zA_.resize(segs_);
  zB_.resize(segs_);
  tx_.resize(segs_);
  ty_.resize(segs_);
  Extended theta = dt_ / 2;
  std::int32_t m = 0;
  for (std::int64_t i = 0; i < segs_; ++i) {
    const Extended C = mid_.cos[m];
    const Extended S = mid_.sin[m];
    const Extended r = rmin_ + theta * a_;
    x_[i] = C * r;
    y_[i] = S * r;
    zA_[i] = b_ + theta * p_;
    zB_[i] = (b_ + s_) + theta * p_;
    tx_[i] = C * a_ - y_[i];
    ty_[i] = S * a_ + x_[i];
    theta = theta + dt_;
    if (++m == nsm_) m = 0;
  }
}

Extended GeneralSpiralRows::Row(std::int64_t i) const {
  return tabled_ ? TabledRow(i) : WalkedRow(i);
}

Extended GeneralSpiralRows::TabledRow(std::int64_t i) const {
  const Extended pp = p_ * p_;
  const Extended xA = x_[i], yA = y_[i], zA = zA_[i];
  const Extended txA = tx_[i], tyA = ty_[i];
  Extended row = 0;
  for (std::int64_t j = 0; j < segs_; ++j) {
    const Extended dx = xA - x_[j];
    const Extended dy = yA - y_[j];
    const Extended dz = zA - zB_[j];
    row = row + (pp + tyA * ty_[j] + txA * tx_[j]) / std::sqrt(dx * dx + dy * dy + dz * dz);
  }
  return row;
}

Extended GeneralSpiralRows::WalkedRow(std::int64_t i) const {
  const Extended pp = p_ * p_;
  // Segment i of the first copy, its angle reached by the same repeated addition.
  Extended thetaA = dt_ / 2;
  for (std::int64_t k = 0; k < i; ++k) thetaA = thetaA + dt_;
  const std::int32_t mA = static_cast<std::int32_t>(i % nsm_);
  const Extended rA = rmin_ + thetaA * a_;
  const Extended xA = mid_.cos[mA] * rA;
  const Extended yA = mid_.sin[mA] * rA;
  const Extended zA = b_ + thetaA * p_;
  const Extended txA = mid_.cos[mA] * a_ - yA;
  const Extended tyA = mid_.sin[mA] * a_ + xA;

  Extended row = 0;
  Extended thetaB = dt_ / 2;
  std::int32_t mB = 0;
  for (std::int64_t j = 0; j < segs_; ++j) {
    const Extended C = mid_.cos[mB];
    const Extended S = mid_.sin[mB];
    const Extended rB = rmin_ + thetaB * a_;
    const Extended xB = C * rB;
    const Extended yB = S * rB;
    const Extended zB = (b_ + s_) + thetaB * p_;
    const Extended dx = xA - xB;
    const Extended dy = yA - yB;
    const Extended dz = zA - zB;
    row = row + (pp + tyA * (S * a_ + xB) + txA * (C * a_ - yB)) /
                    std::sqrt(dx * dx + dy * dy + dz * dz);
    thetaB = thetaB + dt_;
    if (++mB == nsm_) mB = 0;
  }
  return row;
}

}  // namespace quor::transformer
