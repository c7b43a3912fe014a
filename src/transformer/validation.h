#pragma once
// The checks Calculate makes on a freshly read coil pair before anything is computed.
#include <optional>
#include <string>

#include "transformer/coil_pair.h"

namespace quor::transformer {
using namespace quor::numerics;

inline constexpr int kMaxSegmentsPerTurn = 10000;

// Bounds on the work of one Calculate. The circular-turn sums and the segment sums of
// M cannot be stopped from the window, so a count far beyond any real coil is refused
// before it starts instead of freezing the program for hours:
//  - turns per coil: a real single-layer coil has at most a few thousand;
//  - ring pairs of M by circular turns, n1 n2 (about 3 s here);
//  - segment pairs of M by true spirals, N1 ns1 N2 ns2 (about 15 to 30 s here; the
//    default coils with 20 segments per turn need 5.5e6);
//  - turns of a conical or flat coil whose Maxwell L is summed ring by ring, which
//    writes one Report line per ring pair (n^2 lines).
inline constexpr int kMaxTurns = 100000;
inline constexpr std::int64_t kMaxRingPairs = 10000000;
inline constexpr std::int64_t kMaxSegmentPairs = 1000000000;
inline constexpr int kMaxListedRingSumTurns = 2000;

// The true-spiral Maxwell L (circular turns off) pumps events and ends on a Stop click
// in the main window, which therefore lets it run as long as the user waits. Where no
// one can click Stop (quor-cli, the tests) it is bounded like the sums above:
//  - segments N nsm of a solenoid, whose helix sum needs one term per segment (about
//    11 s here at the bound; the default secondary with 2000 segments per turn has
//    2.3e6);
//  - segment pairs (N nsm)^2 of a conical or flat coil, summed pair by pair (about 12 s
//    of processor time at the bound, shared by the worker threads).
inline constexpr std::int64_t kMaxSpiralSegments = 100000000;
inline constexpr std::int64_t kMaxSpiralSegmentPairs = 1000000000;

// The message of the first check the coil pair fails, in the order: negative
// dimensions, same bottom turn, wire fit (primary, then secondary), too few turns for
// the segment counts, segment counts out of 1..10000. Nothing when all pass.
std::optional<std::string> CheckTransformerInputs(const CoilPair& c);

// After the checks above, the bounds on the work that the options ask for: the first
// one exceeded as a message ("Too many turns (max=100000)", ...), or nothing.
std::optional<std::string> CheckTransformerWork(const CoilPair& c, const TransformerOptions& opt);

// After those, for a Calculate that cannot be stopped: the bounds on the true-spiral
// Maxwell L of each coil the options ask it for ("Too many segments for L (max=...)"
// for a solenoid, "Too many segment pairs for L (max=...)" otherwise), or nothing.
std::optional<std::string> CheckUnstoppableWork(const CoilPair& c, const TransformerOptions& opt);

// After those, the wires of the coils where a line of the calculation needs them: the
// Maxwell sums (the two copies of a coil one geometric mean distance of the wire apart),
// Snow's and Kirchhoff's solenoid formulas and the single-loop formulas. A diameter of
// zero or less gives "The primary wire diameter must be positive" (or secondary):
// zero made a flat coil's L some 10^7 times too large, a negative one was used as if
// positive.
std::optional<std::string> CheckWireDiameters(const CoilPair& c, const TransformerOptions& opt);

// Widest wire that fits a coil: twice the length of its slanted side per turn, with
// the turns rounded up (12.5 turns count 13 pitches).
Extended MaxWireDiameter(Extended N, Extended h, Extended rmin, Extended rmax);

}  // namespace quor::transformer
