#pragma once
// The checks Calculate makes on a freshly read coil pair before anything is computed.
#include <optional>
#include <string>

#include "transformer/coil_pair.h"

inline constexpr int kMaxSegmentsPerTurn = 10000;

// The message of the first check the coil pair fails, in the order: negative
// dimensions, same bottom turn, wire fit (primary, then secondary), too few turns for
// the segment counts, segment counts out of 1..10000. Nothing when all pass.
std::optional<std::string> CheckTransformerInputs(const CoilPair& c);

// Widest wire that fits a coil: twice the length of its slanted side per turn, with
// the turns rounded up (12.5 turns count 13 pitches).
Extended MaxWireDiameter(Extended N, Extended h, Extended rmin, Extended rmax);
