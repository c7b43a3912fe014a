// The sections' mutual inductance matrix of a uniform solenoid, with circular turns.
#include <algorithm>
#include <cstdlib>

#include "numerics/format.h"
#include "numerics/rings.h"
#include "resonator/resonator_model.h"

namespace quor::resonator {

Extended SquareMatrix::Sum() const {
  Extended s = 0;
  for (const Extended x : a) s += x;
  return s;
}

std::vector<TurnRun> SectionTurns(std::int32_t turns, std::int32_t sections, std::int32_t s) {
  // Lengths in 1/S of a turn, exactly: the section spans [s n, (s + 1) n), turn i spans
  // [(i - 1) S, i S).
  const std::int64_t S = sections, n = turns;
  const std::int64_t end = (s + 1) * n;
  std::vector<TurnRun> runs;
  for (std::int64_t at = s * n; at < end;) {
    const std::int64_t i = at / S + 1;
    const std::int64_t stop = std::min(end, i * S);
    if (at == (i - 1) * S && stop == i * S) {
      // A whole turn: it extends the run of whole turns, or starts one.
      if (!runs.empty() && runs.back().w == 1 && runs.back().i2 == i - 1)
        runs.back().i2 = static_cast<std::int32_t>(i);
      else
        runs.push_back({static_cast<std::int32_t>(i), static_cast<std::int32_t>(i), 1});
    } else {
      runs.push_back({static_cast<std::int32_t>(i), static_cast<std::int32_t>(i),
                      static_cast<Extended>(stop - at) / S});
    }
    at = stop;
  }
  return runs;
}

namespace {

// Turns d apart (d >= 0) in Maxwell's sum: the coil against its copy raised and
// lowered by the g.m.d. g.
Extended FreeTerm(Extended r, Extended dz, Extended g, std::int32_t d) {
  if (d == 0) return RingPairMutual(r, r, g);
  const Extended s = d * dz;
  return (RingPairMutual(r, r, s - g) + RingPairMutual(r, r, s + g)) / 2;
}

// Turn i with the mirror of turn j, sum = i + j: the mirror of a turn at height z lies
// at -z, so the planes are zi + zj = 2b + (i + j - 1) dz apart.
Extended MirrorTerm(Extended r, Extended b, Extended dz, std::int32_t sum) {
  return RingPairMutual(r, r, 2 * b + (sum - 1) * dz);
}

}  // namespace

SectionInductances BuildSectionInductances(const ResonatorCoil& coil, bool ground,
                                           std::int32_t sections) {
  SectionInductances out;
  const std::int32_t n = RoundAtLeastOne(coil.N);
  const std::int32_t S = sections;
  const Extended dz = coil.h / n;
  const Extended g = WireGmd(coil.wd);
  out.turns = n;
  out.nodeZ.resize(static_cast<std::size_t>(S) + 1);
  for (std::int32_t k = 0; k <= S; ++k) out.nodeZ[static_cast<std::size_t>(k)] = coil.b + coil.h * k / S;

  // Twice-cumulated sums of the free term over the index difference x = i - j, from
  // x = -(n - 1); F2(x) = 0 below that. Index x + n of the table.
  std::vector<Extended> f(static_cast<std::size_t>(n));
  for (std::int32_t d = 0; d < n; ++d) f[static_cast<std::size_t>(d)] = FreeTerm(coil.r, dz, g, d);
  std::vector<Extended> F2(2 * static_cast<std::size_t>(n));
  {
    Extended F1 = 0, sum = 0;
    for (std::int32_t x = -(n - 1); x <= n - 1; ++x) {
      F1 += f[static_cast<std::size_t>(std::abs(x))];
      sum += F1;
      F2[static_cast<std::size_t>(x + n)] = sum;
    }
  }
  auto F2at = [&](std::int64_t x) -> Extended {
    return x < -(n - 1) ? 0.0L : F2[static_cast<std::size_t>(x + n)];
  };
  // The same over the index sum s = i + j, from s = 2; G2(s) = 0 below that.
  std::vector<Extended> G2(2 * static_cast<std::size_t>(n) + 1, 0.0L);
  if (ground) {
    Extended G1 = 0, sum = 0;
    for (std::int32_t s = 2; s <= 2 * n; ++s) {
      G1 += MirrorTerm(coil.r, coil.b, dz, s);
      sum += G1;
      G2[static_cast<std::size_t>(s)] = sum;
    }
  }
  auto G2at = [&](std::int64_t s) -> Extended {
    return s < 2 ? 0.0L : G2[static_cast<std::size_t>(s)];
  };

  // Sum over turns i1..i2 and j1..j2 of f(i - j) - g(i + j).
  auto block = [&](std::int64_t i1, std::int64_t i2, std::int64_t j1, std::int64_t j2) {
    Extended m = (F2at(i2 - j1) - F2at(i1 - 1 - j1)) - (F2at(i2 - j2 - 1) - F2at(i1 - 2 - j2));
    if (ground)
      m -= (G2at(i2 + j2) - G2at(i1 - 1 + j2)) - (G2at(i2 + j1 - 1) - G2at(i1 + j1 - 2));
    return m;
  };
  std::vector<std::vector<TurnRun>> runs(static_cast<std::size_t>(S));
  for (std::int32_t k = 0; k < S; ++k) runs[static_cast<std::size_t>(k)] = SectionTurns(n, S, k);
  out.L = SquareMatrix(S);
  for (std::int32_t s = 0; s < S; ++s)
    for (std::int32_t t = s; t < S; ++t) {
      Extended m = 0;
      for (const TurnRun& p : runs[static_cast<std::size_t>(s)])
        for (const TurnRun& q : runs[static_cast<std::size_t>(t)])
          m += p.w * q.w * block(p.i1, p.i2, q.i1, q.i2);
      out.L(s, t) = m;
      out.L(t, s) = m;
    }
  return out;
}

}  // namespace quor::resonator
