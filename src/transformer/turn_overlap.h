#pragma once
// Whether the wires of the primary and the secondary overlap. Both coils share the axis,
// so the question is one of the meridian (r, z) half plane: cut at an azimuth phi, each
// coil leaves one wire section per turn there, and two turns overlap when the centres of
// their sections come closer than the sum of the wire radii. Along a true spiral the
// section of each turn slides as phi turns (r and z grow linearly with the winding
// angle), so each turn's centre runs along a short straight track over one revolution;
// a closed circular turn stays where it is. The distance of two centres is then linear
// in phi, and its least value over a revolution is that of a point from a segment:
// exact, and cheap enough to test every pair of turns that can come near each other.
//
// Two coils whose wires overlap make the mutual-inductance sums meet (nearly) coincident
// turns: the default primary raised to 0.12 m against a 5-turn secondary on its
// cylinder, 0.01 m above its base, gives M = 1.1e12 mH.
#include <cstdint>
#include <optional>
#include <string>

#include "numerics/extended.h"
#include "transformer/coil_pair.h"

namespace quor::transformer {
using namespace quor::numerics;

// The wire-section centres of one coil in the meridian half plane, turn by turn: turn
// m (from 0) is at (r0, z0) + m (stepR, stepZ) when phi = 0 and moves by
// (moveR, moveZ) per radian of phi, for phi from 0 to 2 pi (the last turn of a
// fractional coil to lastSpan).
struct TurnTracks {
  Extended r0 = 0, z0 = 0;
  Extended stepR = 0, stepZ = 0;
  Extended moveR = 0, moveZ = 0;
  std::int64_t count = 0;
  Extended lastSpan = 0;
  Extended wireRadius = 0;
};

// A true spiral of N turns (any N > 0) from radius rmin at height b to rmax at b + h.
TurnTracks SpiralTracks(Extended N, Extended h, Extended rmin, Extended rmax, Extended b,
                        Extended wd);
// The closed circular turns the ring sums put in its place: RoundAtLeastOne(N) rings at
// the middle of their shares of the winding.
TurnTracks CircularTurnTracks(Extended N, Extended h, Extended rmin, Extended rmax,
                              Extended b, Extended wd);
// The loops of a primary with its turns in parallel: RoundAtLeastOne(N) rings from
// (rmin, b) to (rmax, b + h), the ends included.
TurnTracks ParallelLoopTracks(Extended N, Extended h, Extended rmin, Extended rmax,
                              Extended b, Extended wd);

// The first pair of overlapping turns (primary turn, secondary turn, from 1), or
// nothing. Turns that touch do not overlap (the comparison allows the rounding of the
// decimal sizes).
struct TurnPair {
  std::int64_t primary = 0, secondary = 0;
};
std::optional<TurnPair> FirstOverlap(const TurnTracks& primary, const TurnTracks& secondary);

// The check of Calculate for the coil models the options ask M of: the circular turns
// of both coils, both true spirals, the spiral of a solenoidal primary against the
// circular turns of the secondary (J. V. Jones), or the loops of a primary in parallel
// against the spiral of the secondary. Nothing when no mutual inductance is computed
// or the wires keep apart; otherwise the line "The wires of the coils overlap (primary
// turn i, secondary turn j)".
std::optional<std::string> CheckTurnOverlap(const CoilPair& c, const TransformerOptions& opt);

}  // namespace quor::transformer
