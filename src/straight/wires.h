#pragma once
// Inductances of straight round wires and the mutual inductance of parallel straight
// filaments, in henries (lengths in metres).
//
// The mutual inductance of two filaments follows from Neumann's formula,
//   M = mu0/(4 pi) * integral integral dx1 dx2 / distance,
// which for parallel filaments integrates in closed form (Grover, "Inductance
// Calculations", chapter 5; Rosa, Bull. Bureau of Standards 4, 1908). The
// self-inductance of a wire is Maxwell's: the mutual inductance of the wire's axis with
// a parallel copy at the geometric mean distance of its cross-section.
#include <cstdint>

#include "numerics/extended.h"

namespace quor::straight {
using namespace quor::numerics;

// mu0/(2 pi) and mu0/(4 pi), H/m.
inline constexpr Extended kMu0Over2Pi = 2e-7L;
inline constexpr Extended kMu0Over4Pi = 1e-7L;
// The distance that stands in for 0 when two filaments lie on one line.
inline constexpr Extended kInLineDistance = 1e-12L;

// Low-frequency self-inductance of a straight round wire of length l and radius r
// (uniform current, internal inductance mu0/(8 pi) per metre included):
// 2e-7*|l|*(ln(2|l|/r) - 3/4) (Grover, for l >> r).
Extended WireSelfLowFreq(Extended l, Extended r);
// Snow's form, kept exact in r/l: 2e-7*(l*ln((r + sqrt(l^2 + r^2))/r) - sqrt(l^2 + r^2)
// + l/4 + r).
Extended WireSelfSnow(Extended l, Extended r);
// Two equal parallel filaments of length l side by side at distance d (Grover's
// exact formula): 2e-7*(l*ln((l + sqrt(l^2 + d^2))/d) - sqrt(l^2 + d^2) + d).
Extended EqualWiresMutual(Extended l, Extended d);
// The same in Lee's first-order form: 2e-7*l*(ln(2l/d) - 1 + d/l).
Extended EqualWiresMutualLee(Extended l, Extended d);
// Parallel filaments of lengths l1 and l2 at distance d whose centres are shifted by c
// along their common direction. Filaments on one line (d = 0) are taken at the tiny
// distance kInLineDistance, which changes nothing visible when they do not overlap.
Extended ParallelFilamentMutual(Extended l1, Extended l2, Extended d, Extended c);

// The same mutual inductance by Neumann's double sum with the midpoint rule on n
// segments of each filament: filament 1 on [0, l1], filament 2 centred at l1/2 + c.
// Every one of the n*n segment pairs is a term, summed in the order of the segments
// of filament 1, each against filament 2 from its start.
Extended NumericalParallelMutual(std::int32_t n, Extended l1, Extended l2, Extended d,
                                 Extended c);
// The same sum for filaments of equal length, whose segment pairs depend only on the
// index difference m = j - i: n - |m| pairs share each of the 2n - 1 differences, so
// 2n - 1 terms replace n*n. Equal to NumericalParallelMutual(n, l, l, d, c) up to
// rounding in the last digits.
Extended NumericalEqualMutual(std::int32_t n, Extended l, Extended d, Extended c);

}  // namespace quor::straight
