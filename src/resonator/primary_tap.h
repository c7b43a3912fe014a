#pragma once
// Tuning the primary to the secondary's quarter-wave mode: the tap, counted in turns
// from the primary's start, at which the primary's inductance resonates with its
// capacitor at the secondary's frequency.
//
// The tapped primary keeps its pitch: its first n turns, its height and radius grown
// in proportion (n/N of the whole). Turns sit where the whole primary has them (turn i
// at height b + (i - 1/2) h/N, radius rmin + (i - 1/2)(rmax - rmin)/N). A tap part of
// the way round turn m + 1 counts that turn with the weight f = n - m of the current
// that goes round it: L1 and M are then continuous, piecewise quadratic and linear in n,
// and equal the ring sums of whole turns at whole n.
#include <cstdint>
#include <optional>
#include <vector>

#include "numerics/extended.h"
#include "resonator/resonator_model.h"

namespace quor::resonator {

// Primary of the main window (coil 1): conical in general, flat when h = 0.
struct PrimaryCoil {
  Extended N = 0, h = 0, rmin = 0, rmax = 0, b = 0, wd = 0;
};

// The whole turns the tap model sums: the turns of the primary counted up (a partial
// last turn counts as one).
std::int64_t PrimaryTapTurns(Extended N);

class PrimaryTapModel {
 public:
  // Over the ground plane each turn of both coils has its mirror turn with the opposite
  // current, whose mutual inductance is subtracted, as in the secondary's model.
  PrimaryTapModel(const PrimaryCoil& primary, const ResonatorCoil& secondary, bool ground);

  // Inductance (henries) of the first n turns, 0 <= n <= N, by Maxwell's sum of the
  // turns' rings with the self terms at the wire's g.m.d.
  Extended L1(Extended n) const;
  // Their mutual inductance with the whole secondary (henries).
  Extended M(Extended n) const;
  Extended Turns() const { return N_; }

 private:
  Extended N_;
  std::vector<Extended> Lcum_;    // Lcum_[m]: inductance of the first m whole turns
  std::vector<Extended> rowSum_;  // rowSum_[p]: turn p with turns 1 ... p - 1
  std::vector<Extended> self_;    // self_[p]: turn p alone
  std::vector<Extended> Mcum_;    // Mcum_[m]: first m turns with the secondary
  std::vector<Extended> Mturn_;   // Mturn_[p]: turn p with the secondary
};

struct PrimaryTap {
  bool reachable = false;  // the whole primary has at least the inductance needed
  Extended needed = 0;     // L1 that resonates with C1 at the frequency, henries
  Extended whole = 0;      // L1 of the whole primary
  Extended turns = 0;      // the tap
  Extended L1 = 0;         // at the tap
  Extended M = 0;          // at the tap
  Extended k = 0;          // M/sqrt(L1 L2)
};

// The tap where 1/(2 pi sqrt(L1 C1)) = frequency, by bisection on the continuous turn
// count (L1 grows with n). C1 in farads; L2 the secondary's inductance for k.
PrimaryTap SolvePrimaryTap(const PrimaryTapModel& model, Extended frequency, Extended C1,
                           Extended L2);

}  // namespace quor::resonator
