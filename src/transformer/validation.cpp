#include "transformer/validation.h"

#include <cmath>

#include "numerics/format.h"
#include "numerics/input_rounding.h"

namespace quor::transformer {
using namespace quor::numerics;

Extended MaxWireDiameter(Extended N, Extended h, Extended rmin, Extended rmax) {
  const Extended T = TruncWithinRounding(N + 0.999L);
  const Extended dr = rmax - rmin;
  const Extended p = std::sqrt(dr * dr + h * h) / T;
  return 2 * p;
}

namespace {

// Only a coil of more than one turn has a pitch to compare the wire with.
std::optional<std::string> WireFit(const char* which, Extended N, Extended h, Extended rmin,
                                   Extended rmax, Extended wd) {
  if (!(N > 1)) return std::nullopt;
  const Extended limit = MaxWireDiameter(N, h, rmin, rmax);
  // A wire exactly as thick as the pitch fits, also when the pitch is a decimal height
  // over the turns.
  if (GreaterBeyondRounding(wd, limit))
    return std::string("The ") + which + " wire is too thick (max=~" + FixedStr(limit, 7, 5) +
           ")";
  return std::nullopt;
}

bool SegmentsOk(std::int32_t ns) { return ns >= 1 && ns <= kMaxSegmentsPerTurn; }

}  // namespace

std::optional<std::string> CheckTransformerInputs(const CoilPair& c) {
  if (c.h1 < 0 || c.h2 < 0 || c.rmin1 < 0 || c.rmin2 < 0 || c.rmax1 < 0 || c.rmax2 < 0)
    return "The dimensions must be positive";

  // Two coils starting on the same circle would share a turn; any other overlap is
  // left to the user.
  if (c.rmin1 == c.rmin2 && c.b1 == c.b2) return "The coils can't intercept";

  if (auto m = WireFit("primary", c.N1, c.h1, c.rmin1, c.rmax1, c.wd1)) return m;
  if (auto m = WireFit("secondary", c.N2, c.h2, c.rmin2, c.rmax2, c.wd2)) return m;

  // Fewer than one integration segment on a whole coil; a count below 1 is judged by
  // the next check instead.
  const bool few1 = c.ns1 >= 1 && LessBeyondRounding(c.N1, 1.0L / static_cast<Extended>(c.ns1));
  const bool few2 = c.ns2 >= 1 && LessBeyondRounding(c.N2, 1.0L / static_cast<Extended>(c.ns2));
  if (few1 || few2) return "Too small turns number for the numbers of segments";

  if (!SegmentsOk(c.ns1) || !SegmentsOk(c.ns2) || !SegmentsOk(c.nsm))
    return "Too large or invalid number of segments (max=" + IntStr(kMaxSegmentsPerTurn) + ")";
  return std::nullopt;
}

std::optional<std::string> CheckTransformerWork(const CoilPair& c, const TransformerOptions& opt) {
  // The checks before have made N1 and N2 positive (at least 1/ns each).
  if (c.N1 > kMaxTurns || c.N2 > kMaxTurns) return "Too many turns (max=" + IntStr(kMaxTurns) + ")";
  const std::int64_t n1 = RoundAtLeastOne(c.N1), n2 = RoundAtLeastOne(c.N2);

  // Coils whose Maxwell L is the ring-by-ring sum of a conical or flat coil.
  const bool listed1 = !opt.CBparalelo && opt.CBML1 && opt.CBel && c.rmin1 != c.rmax1;
  const bool listed2 = (opt.CBparalelo || (opt.CBML2 && opt.CBel)) && c.rmin2 != c.rmax2;
  if ((listed1 && n1 > kMaxListedRingSumTurns) || (listed2 && n2 > kMaxListedRingSumTurns))
    return "Too many turns for the ring sum of a conical or flat coil (max=" +
           IntStr(kMaxListedRingSumTurns) + ")";

  const bool jones = opt.CBjvj && c.rmin1 == c.rmax1 && c.h1 != 0;
  if (opt.CBparalelo || !opt.CBm || jones) return std::nullopt;
  if (opt.CBel && n1 * n2 > kMaxRingPairs)
    return "Too many turn pairs for M (max=" + IntStr(kMaxRingPairs) + ")";
  if (!opt.CBel && c.N1 * c.ns1 * (c.N2 * c.ns2) > static_cast<Extended>(kMaxSegmentPairs))
    return "Too many segment pairs for M (max=" + IntStr(kMaxSegmentPairs) + ")";
  return std::nullopt;
}

std::optional<std::string> CheckWireDiameters(const CoilPair& c, const TransformerOptions& opt) {
  struct Coil {
    const char* which;
    bool maxwell;
    Extended N, h, rmin, rmax, wd;
  };
  for (const Coil& coil : {Coil{"primary", opt.CBparalelo || opt.CBML1, c.N1, c.h1, c.rmin1,
                                c.rmax1, c.wd1},
                           Coil{"secondary", opt.CBparalelo || opt.CBML2, c.N2, c.h2, c.rmin2,
                                c.rmax2, c.wd2}}) {
    const bool solenoid = coil.rmin == coil.rmax && coil.h > 0;
    const bool loop = coil.N == 1 && coil.h == 0 && coil.rmin == coil.rmax;
    if ((coil.maxwell || solenoid || loop) && !(coil.wd > 0))
      return std::string("The ") + coil.which + " wire diameter must be positive";
  }
  return std::nullopt;
}

std::optional<std::string> CheckUnstoppableWork(const CoilPair& c, const TransformerOptions& opt) {
  // Only Maxwell L in series (not with the primary turns in parallel) by true spirals.
  if (opt.CBparalelo || opt.CBel) return std::nullopt;
  struct Coil {
    bool maxwell;
    Extended N, rmin, rmax;
  };
  for (const Coil& coil : {Coil{opt.CBML1, c.N1, c.rmin1, c.rmax1},
                           Coil{opt.CBML2, c.N2, c.rmin2, c.rmax2}}) {
    if (!coil.maxwell) continue;
    // The checks before have made N positive and at most kMaxTurns, nsm 1 ... 10000.
    const Extended segments = coil.N * static_cast<Extended>(c.nsm);
    if (coil.rmin == coil.rmax) {
      if (segments > static_cast<Extended>(kMaxSpiralSegments))
        return "Too many segments for L (max=" + IntStr(kMaxSpiralSegments) + ")";
    } else if (segments * segments > static_cast<Extended>(kMaxSpiralSegmentPairs)) {
      return "Too many segment pairs for L (max=" + IntStr(kMaxSpiralSegmentPairs) + ")";
    }
  }
  return std::nullopt;
}

}  // namespace quor::transformer
